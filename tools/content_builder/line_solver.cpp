#include "tools/content_builder/line_solver.h"

namespace ContentBuilder {

std::vector<int> CluesOf(const std::vector<bool>& filled) {
    std::vector<int> clue;
    int run = 0;
    for (const bool f : filled) {
        if (f) {
            ++run;
        } else if (run > 0) {
            clue.push_back(run);
            run = 0;
        }
    }
    if (run > 0) clue.push_back(run);
    return clue;
}

bool SolveLine(const std::vector<int>& rawClue, std::vector<LineCell>& line) {
    std::vector<int> clue;
    for (const int length : rawClue)
        if (length > 0) clue.push_back(length);
    const int n = static_cast<int>(line.size());
    const int k = static_cast<int>(clue.size());

    // emptyBefore[i]: known empty cells among the first i; a run fits where it covers none.
    std::vector<int> emptyBefore(n + 1, 0);
    for (int i = 0; i < n; ++i) emptyBefore[i + 1] = emptyBefore[i] + (line[i] == LineCell::kEmpty ? 1 : 0);
    const auto runFits = [&](int start, int length) {
        return start + length <= n && emptyBefore[start + length] == emptyBefore[start];
    };
    const auto mayBeEmpty = [&](int i) { return line[i] != LineCell::kFilled; };

    // A boundary i is free when cell i - 1 is empty (or i is 0): a run may start there.
    // before[i][j]: cells [0, i) are explained by the first j runs, ending at a free boundary.
    // after[i][j]: cells [i, n) are explained by runs j..k-1, starting at a free boundary.
    const auto index = [k](int i, int j) { return static_cast<size_t>(i) * (k + 1) + j; };
    std::vector<char> before(static_cast<size_t>(n + 1) * (k + 1), 0), after(before.size(), 0);
    before[index(0, 0)] = 1;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= k; ++j) {
            if (!before[index(i, j)]) continue;
            if (mayBeEmpty(i)) before[index(i + 1, j)] = 1;
            if (j == k || !runFits(i, clue[j])) continue;
            const int end = i + clue[j];
            if (end == n) before[index(n, j + 1)] = 1;
            else if (mayBeEmpty(end)) before[index(end + 1, j + 1)] = 1;
        }
    }
    if (!before[index(n, k)]) return false;

    after[index(n, k)] = 1;
    for (int i = n - 1; i >= 0; --i) {
        for (int j = k; j >= 0; --j) {
            bool ok = mayBeEmpty(i) && after[index(i + 1, j)];
            if (!ok && j < k && runFits(i, clue[j])) {
                const int end = i + clue[j];
                ok = end == n ? after[index(n, j + 1)] != 0 : mayBeEmpty(end) && after[index(end + 1, j + 1)];
            }
            after[index(i, j)] = ok ? 1 : 0;
        }
    }

    // Every step of every complete explanation says what its cells may be.
    std::vector<char> canFill(n, 0), canEmpty(n, 0);
    std::vector<int> fillFrom(n + 1, 0);  // difference array of filled spans
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= k; ++j) {
            if (!before[index(i, j)]) continue;
            if (mayBeEmpty(i) && after[index(i + 1, j)]) canEmpty[i] = 1;
            if (j == k || !runFits(i, clue[j])) continue;
            const int end = i + clue[j];
            const bool fits = end == n ? after[index(n, j + 1)] != 0 : mayBeEmpty(end) && after[index(end + 1, j + 1)];
            if (!fits) continue;
            ++fillFrom[i];
            --fillFrom[end];
            if (end < n) canEmpty[end] = 1;
        }
    }
    int covering = 0;
    for (int i = 0; i < n; ++i) {
        covering += fillFrom[i];
        canFill[i] = covering > 0 ? 1 : 0;
    }
    for (int i = 0; i < n; ++i) {
        if (canFill[i] && !canEmpty[i]) line[i] = LineCell::kFilled;
        else if (canEmpty[i] && !canFill[i]) line[i] = LineCell::kEmpty;
    }
    return true;
}

LineSolution SolveByLines(int cols, int rows, const std::vector<std::vector<int>>& rowClues,
                          const std::vector<std::vector<int>>& colClues) {
    LineSolution solution;
    solution.cells.assign(static_cast<size_t>(cols) * rows, LineCell::kUnknown);
    const auto at = [&](int col, int row) -> LineCell& {
        return solution.cells[static_cast<size_t>(row) * cols + col];
    };
    // A line is worth solving again only after one of its cells changed.
    std::vector<char> rowDirty(rows, 1), colDirty(cols, 1);
    bool changed = true;
    std::vector<LineCell> line;
    while (changed && !solution.contradiction) {
        changed = false;
        for (int r = 0; r < rows && !solution.contradiction; ++r) {
            if (!rowDirty[r]) continue;
            rowDirty[r] = 0;
            line.assign(cols, LineCell::kUnknown);
            for (int c = 0; c < cols; ++c) line[c] = at(c, r);
            if (!SolveLine(rowClues[r], line)) {
                solution.contradiction = true;
                break;
            }
            for (int c = 0; c < cols; ++c) {
                if (line[c] == at(c, r)) continue;
                at(c, r) = line[c];
                colDirty[c] = 1;
                changed = true;
            }
        }
        for (int c = 0; c < cols && !solution.contradiction; ++c) {
            if (!colDirty[c]) continue;
            colDirty[c] = 0;
            line.assign(rows, LineCell::kUnknown);
            for (int r = 0; r < rows; ++r) line[r] = at(c, r);
            if (!SolveLine(colClues[c], line)) {
                solution.contradiction = true;
                break;
            }
            for (int r = 0; r < rows; ++r) {
                if (line[r] == at(c, r)) continue;
                at(c, r) = line[r];
                rowDirty[r] = 1;
                changed = true;
            }
        }
    }
    for (const LineCell cell : solution.cells)
        if (cell == LineCell::kUnknown) ++solution.undecided;
    return solution;
}

bool SolvesToPicture(const LinePicture& picture, LineSolution* solution) {
    std::vector<std::vector<int>> rowClues, colClues;
    std::vector<bool> line;
    for (int r = 0; r < picture.rows; ++r) {
        line.assign(picture.cols, false);
        for (int c = 0; c < picture.cols; ++c) line[c] = picture.At(c, r);
        rowClues.push_back(CluesOf(line));
    }
    for (int c = 0; c < picture.cols; ++c) {
        line.assign(picture.rows, false);
        for (int r = 0; r < picture.rows; ++r) line[r] = picture.At(c, r);
        colClues.push_back(CluesOf(line));
    }
    LineSolution solved = SolveByLines(picture.cols, picture.rows, rowClues, colClues);
    bool equal = !solved.contradiction && solved.undecided == 0;
    for (size_t i = 0; equal && i < solved.cells.size(); ++i)
        equal = (solved.cells[i] == LineCell::kFilled) == picture.filled[i];
    if (solution != nullptr) *solution = std::move(solved);
    return equal;
}

std::string DrawSolution(int cols, const LineSolution& solution) {
    std::string text;
    for (size_t i = 0; i < solution.cells.size(); ++i) {
        const LineCell cell = solution.cells[i];
        text += cell == LineCell::kFilled ? '#' : cell == LineCell::kEmpty ? '.' : '?';
        if (cols > 0 && (i + 1) % static_cast<size_t>(cols) == 0) text += '\n';
    }
    return text;
}

}  // namespace ContentBuilder
