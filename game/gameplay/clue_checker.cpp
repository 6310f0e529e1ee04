#include "game/gameplay/clue_checker.h"

#include <algorithm>
#include <cstdlib>

#include "game/gameplay/command_open.h"

namespace {

int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

void Uncross(gcClue& clue) {
    clue.crossed = 0;
    clue.strike.playing = 0;
}

}  // namespace

bool SegmentContainsCell(const gcClue& segment, gcCell cell) {
    const gcCell start{segment.startColumn, segment.startRow};
    const gcCell end{segment.endColumn, segment.endRow};
    if (start == end) return cell == start;
    const int32_t stepColumn = Sign(end.column - start.column);
    const int32_t stepRow = Sign(end.row - start.row);
    // Bounded by the longer axis, so a segment that is not straight cannot walk for ever.
    const int32_t steps = std::max(std::abs(end.column - start.column), std::abs(end.row - start.row));
    gcCell at = start;
    for (int32_t i = 0; i <= steps; ++i) {
        if (at == cell) return true;
        at.column += stepColumn;
        at.row += stepRow;
    }
    return false;
}

gcClueChecker::gcClueChecker() = default;

gcClueChecker::~gcClueChecker() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
}

void gcClueChecker::Attach(QRV::gEventDispatcher* events) {
    if (events == nullptr) return;
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
    dispatcher = events;
    Subscribe<&gcClueChecker::OnCellAnswered>(gcBoardEvent::CellRight, this);
    Subscribe<&gcClueChecker::OnCellAnswered>(gcBoardEvent::CellWrong, this);
    Subscribe<&gcClueChecker::OnCommandUndone>(gcBoardEvent::MoveUndone, this);
    dispatcher->AddListener(this);
}

void gcClueChecker::Reset() {
    rowClues.clear();
    columnClues.clear();
    cols = 0;
    rows = 0;
    cells = nullptr;
}

const gcElement* gcClueChecker::At(int32_t column, int32_t row) const {
    return (*cells)[static_cast<size_t>(row) * static_cast<size_t>(cols) + static_cast<size_t>(column)];
}

namespace {

// The runs of one line of picture flags (`count` of them, `stride` apart) as clues, the line's
// first cell at (column, row) and each next one `step` further; a line without picture cells gets
// the single 0 clue spanning it. The runs are counted first, so that every clue is made once in
// its place: a clue carries a whole animation, and copies of it cost as much as making it.
void ComputeLine(gcClueLine& line, const uint8_t* picture, size_t stride, int32_t count, gcCell first, gcCell step) {
    size_t runs = 0;
    for (int32_t i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i) * stride;
        if (picture[at] != 0 && (i == 0 || picture[at - stride] == 0)) ++runs;
    }
    line.reserve(runs == 0 ? 1 : runs);
    if (runs == 0) {
        gcClue& clue = line.emplace_back();
        clue.startColumn = first.column;
        clue.startRow = first.row;
        clue.endColumn = first.column + step.column * (count - 1);
        clue.endRow = first.row + step.row * (count - 1);
        return;
    }
    for (int32_t i = 0; i < count;) {
        if (picture[static_cast<size_t>(i) * stride] == 0) {
            ++i;
            continue;
        }
        int32_t end = i;
        while (end + 1 < count && picture[static_cast<size_t>(end + 1) * stride] != 0) ++end;
        gcClue& clue = line.emplace_back();
        clue.startColumn = first.column + step.column * i;
        clue.startRow = first.row + step.row * i;
        clue.endColumn = first.column + step.column * end;
        clue.endRow = first.row + step.row * end;
        clue.length = static_cast<uint32_t>(end - i + 1);
        i = end + 1;
    }
}

}  // namespace

void gcClueChecker::Compute(const std::vector<gcElement*>* source, int32_t columns, int32_t lineCount) {
    Reset();
    if (source == nullptr || columns <= 0 || lineCount <= 0 ||
        source->size() < static_cast<size_t>(columns) * static_cast<size_t>(lineCount))
        return;
    cells = source;
    cols = columns;
    rows = lineCount;

    // The cells' kinds read once, row-major.
    const size_t width = static_cast<size_t>(cols);
    std::vector<uint8_t> picture(width * static_cast<size_t>(rows));
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = (*source)[i]->IsPicture() ? 1 : 0;

    rowClues.resize(static_cast<size_t>(rows));
    for (int32_t r = 0; r < rows; ++r)
        ComputeLine(rowClues[static_cast<size_t>(r)], picture.data() + static_cast<size_t>(r) * width, 1, cols, {0, r},
                    {1, 0});
    columnClues.resize(width);
    for (int32_t c = 0; c < cols; ++c)
        ComputeLine(columnClues[static_cast<size_t>(c)], picture.data() + static_cast<size_t>(c), width, rows, {c, 0},
                    {0, 1});
}

bool gcClueChecker::IsRowSpanSolved(int32_t row, int32_t first, int32_t last) const {
    if (first == last + 1) return true;
    if (first > last || cells == nullptr || row < 0 || row >= rows || first < 0 || last >= cols) return false;
    bool anyPicture = false;
    bool allOpened = true;
    for (int32_t c = first; c <= last; ++c) {
        const gcElement* cell = At(c, row);
        if (cell->IsPicture()) {
            if (!cell->opened) return false;
            anyPicture = true;
        }
        if (!cell->opened) allOpened = false;
    }
    return anyPicture || allOpened;
}

bool gcClueChecker::IsColumnSpanSolved(int32_t column, int32_t first, int32_t last) const {
    if (first == last + 1) return true;
    if (first > last || cells == nullptr || column < 0 || column >= cols || first < 0 || last >= rows) return false;
    bool anyPicture = false;
    bool allOpened = true;
    for (int32_t r = first; r <= last; ++r) {
        const gcElement* cell = At(column, r);
        if (cell->IsPicture()) {
            if (!cell->opened) return false;
            anyPicture = true;
        }
        if (!cell->opened) allOpened = false;
    }
    return anyPicture || allOpened;
}

int32_t gcClueChecker::LongestRoom(int32_t c0, int32_t r0, int32_t c1, int32_t r1) const {
    if (cells == nullptr) return 0;
    int32_t count = 0;
    int32_t best = 0;
    for (int32_t r = std::max(r0, 0); r <= std::min(r1, rows - 1); ++r) {
        for (int32_t c = std::max(c0, 0); c <= std::min(c1, cols - 1); ++c) {
            const gcElement* cell = At(c, r);
            if (!cell->opened) {
                ++count;
            } else if (cell->IsPicture()) {
                // A neighbouring run needs a gap before it.
                best = std::max(best, count - 1);
                count = -1;
            } else {
                best = std::max(best, count);
                count = 0;
            }
        }
    }
    return std::max(best, count);
}

bool gcClueChecker::IsRowCluePinned(const gcClue& clue) const {
    const int32_t length = static_cast<int32_t>(clue.length);
    const bool right = clue.endColumn + 2 <= cols - 1;
    const bool left = clue.startColumn - 2 >= 0;
    if (!right || !left) return true;
    const bool roomRight = LongestRoom(clue.endColumn + 2, clue.startRow, cols - 1, clue.startRow) >= length;
    const bool roomLeft = LongestRoom(0, clue.startRow, clue.startColumn - 2, clue.startRow) >= length;
    return !(roomRight && roomLeft);
}

bool gcClueChecker::IsColumnCluePinned(const gcClue& clue) const {
    const int32_t length = static_cast<int32_t>(clue.length);
    const bool below = clue.endRow + 2 <= rows - 1;
    const bool above = clue.startRow - 2 >= 0;
    if (!below || !above) return true;
    const bool roomBelow = LongestRoom(clue.startColumn, clue.endRow + 2, clue.startColumn, rows - 1) >= length;
    const bool roomAbove = LongestRoom(clue.startColumn, 0, clue.startColumn, clue.startRow - 2) >= length;
    return !(roomBelow && roomAbove);
}

const gcClue* gcClueChecker::UniqueLongestClue(const gcClueLine& line) {
    const gcClue* longest = nullptr;
    for (const gcClue& clue : line) {
        if (longest == nullptr || clue.length > longest->length) longest = &clue;
    }
    if (longest == nullptr) return nullptr;
    for (const gcClue& clue : line) {
        if (&clue != longest && clue.length == longest->length) return nullptr;
    }
    return longest;
}

void gcClueChecker::CrossOutClue(gcClue& clue) {
    if (clue.crossed) return;
    clue.crossed = 1;
    gcStartAnimation(clue.strike);
}

namespace {

// The rules of one line whose span test and pin test are given.
template <class SpanSolved, class Pinned>
bool PassLine(gcClueLine& line, bool wholeSolved, SpanSolved spanSolved, Pinned pinned) {
    if (wholeSolved) {
        for (gcClue& clue : line) gcClueChecker::CrossOutClue(clue);
        return false;
    }
    bool changed = false;
    const gcClue* longest = gcClueChecker::UniqueLongestClue(line);
    for (size_t k = 0; k < line.size(); ++k) {
        gcClue& clue = line[k];
        if (clue.crossed || !spanSolved(clue)) continue;
        const bool p = pinned(clue);
        const gcClue* previous = k > 0 ? &line[k - 1] : nullptr;
        const gcClue* next = k + 1 < line.size() ? &line[k + 1] : nullptr;
        const bool cross = &clue == longest || (previous == nullptr && p) || (next == nullptr && p) ||
                           (previous != nullptr && previous->crossed) || (next != nullptr && next->crossed) ||
                           (previous != nullptr && previous->length < clue.length && p) ||
                           (next != nullptr && next->length < clue.length && p);
        if (cross) {
            gcClueChecker::CrossOutClue(clue);
            changed = true;
        }
    }
    return changed;
}

}  // namespace

bool gcClueChecker::PassRow(int32_t row) {
    return PassLine(
        rowClues[static_cast<size_t>(row)], IsRowSpanSolved(row, 0, cols - 1),
        [&](const gcClue& clue) { return IsRowSpanSolved(row, clue.startColumn, clue.endColumn); },
        [&](const gcClue& clue) { return IsRowCluePinned(clue); });
}

bool gcClueChecker::PassColumn(int32_t column) {
    return PassLine(
        columnClues[static_cast<size_t>(column)], IsColumnSpanSolved(column, 0, rows - 1),
        [&](const gcClue& clue) { return IsColumnSpanSolved(column, clue.startRow, clue.endRow); },
        [&](const gcClue& clue) { return IsColumnCluePinned(clue); });
}

void gcClueChecker::OnCellAnswered(gcElement* cell) {
    if (cell == nullptr || cells == nullptr) return;
    if (cell->row < 0 || cell->row >= rows || cell->column < 0 || cell->column >= cols) return;
    bool changed = true;
    while (changed) {
        const bool rowChanged = PassRow(cell->row);
        const bool columnChanged = PassColumn(cell->column);
        changed = rowChanged || columnChanged;
    }
}

void gcClueChecker::OnCommandUndone(const std::vector<gcElement*>* undone) {
    if (undone == nullptr) return;
    for (const gcElement* cell : *undone) {
        const gcCell at = cell->Position();
        // Only the cell's own row and column hold segments that can contain it.
        if (at.row >= 0 && at.row < static_cast<int32_t>(rowClues.size())) {
            for (gcClue& clue : rowClues[static_cast<size_t>(at.row)])
                if (clue.crossed && SegmentContainsCell(clue, at)) Uncross(clue);
        }
        if (at.column >= 0 && at.column < static_cast<int32_t>(columnClues.size())) {
            for (gcClue& clue : columnClues[static_cast<size_t>(at.column)])
                if (clue.crossed && SegmentContainsCell(clue, at)) Uncross(clue);
        }
    }
}
