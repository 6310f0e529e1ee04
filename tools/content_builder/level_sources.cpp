#include "tools/content_builder/level_sources.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "tools/content_builder/level_files.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw LevelSourceError("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole decimal number without sign, below 10^9.
bool ReadCount(std::string_view text, long& out) {
    if (!AllDigits(text) || text.size() > 9) return false;
    out = 0;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return true;
}

// "tutorial" + two digits or "pack" + two digits: the kind and the number, else kind -1.
int FolderKind(std::string_view folder, int& number) {
    for (const auto& [prefix, kind] : {std::pair<std::string_view, int>{"tutorial", 1}, {"pack", 0}}) {
        if (folder.substr(0, prefix.size()) != prefix) continue;
        const std::string_view digits = folder.substr(prefix.size());
        if (digits.size() != 2 || !AllDigits(digits)) return -1;
        number = (digits[0] - '0') * 10 + (digits[1] - '0');
        return kind;
    }
    return -1;
}

bool IsNameChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }

// "NN-name.txt" with name made of lower-case words joined by "-": the number and the name.
bool SplitPictureFile(std::string_view file, int& number, std::string& name) {
    if (file.size() < 8 || file.substr(file.size() - 4) != ".txt" || !AllDigits(file.substr(0, 2)) || file[2] != '-')
        return false;
    const std::string_view base = file.substr(3, file.size() - 7);
    bool lastDash = true;
    for (const char c : base) {
        if (c == '-' && lastDash) return false;
        if (c != '-' && !IsNameChar(c)) return false;
        lastDash = c == '-';
    }
    if (lastDash) return false;
    number = (file[0] - '0') * 10 + (file[1] - '0');
    name = std::string(base);
    return number >= 1;
}

bool IsBoardSize(int size) {
    return std::any_of(Theme::kBoards.begin(), Theme::kBoards.end(),
                       [size](const Theme::BoardGeometry& b) { return b.size == size; });
}

bool IsTheme(std::string_view name) {
    return std::any_of(Theme::kPackThemes.begin(), Theme::kPackThemes.end(),
                       [name](const Theme::PackTheme& t) { return t.name == name; });
}

// A string key or product name: printable, no blanks.
bool IsKey(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c > ' ' && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '&';
    });
}

std::string SolverReport(const LevelSource& level) {
    LineSolution solution;
    if (SolvesToPicture(level.picture, &solution)) return "";
    std::string text = level.source.string() + ": line logic alone does not solve the picture";
    if (solution.contradiction) text += " (its clues contradict each other)";
    else text += " (" + std::to_string(solution.undecided) + " cells undecided, '?'):";
    text += "\n";
    const std::string drawn = DrawSolution(level.picture.cols, solution);
    size_t start = 0;
    while (start < drawn.size()) {
        const size_t end = drawn.find('\n', start);
        text += "    " + drawn.substr(start, end - start) + "\n";
        start = end + 1;
    }
    text.pop_back();
    return text;
}

}  // namespace

std::string LevelBaseName(int number) { return "level" + std::string(number < 10 ? "0" : "") + std::to_string(number); }

std::string LevelFileName(int number) { return LevelBaseName(number) + ".xml"; }

LinePicture ParsePicture(std::string_view text, std::string& fault) {
    LinePicture picture;
    fault.clear();
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (text.empty()) {
        fault = "an empty picture";
        return picture;
    }
    int row = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        ++row;
        if (picture.rows == 0) picture.cols = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != picture.cols) {
            fault = "row " + std::to_string(row) + " is " + std::to_string(line.size()) + " cells wide, row 1 " +
                    std::to_string(picture.cols);
            return picture;
        }
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] != '#' && line[i] != '.') {
                fault = "row " + std::to_string(row) + ", column " + std::to_string(i + 1) +
                        ": only '#' (picture cell) and '.' (empty cell)";
                return picture;
            }
            picture.filled.push_back(line[i] == '#');
        }
        ++picture.rows;
        start = end + 1;
    }
    if (picture.cols == 0) fault = "an empty row";
    return picture;
}

PackProperties ParsePackProperties(std::string_view text, std::vector<std::string>& faults) {
    PackProperties p;
    std::set<std::string, std::less<>> seen;
    const auto fault = [&](int line, const std::string& what) {
        faults.push_back("line " + std::to_string(line) + ": " + what);
    };
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line.front() == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            fault(number, "not \"key = value\"");
            continue;
        }
        const std::string key(Trim(line.substr(0, equals)));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (!seen.insert(key).second) {
            fault(number, "\"" + key + "\" given twice");
            continue;
        }
        long count = 0;
        if (key == "title") {
            if (!IsKey(value)) fault(number, "title: a string key without blanks");
            p.title = value;
        } else if (key == "theme") {
            if (!IsTheme(value)) fault(number, "theme \"" + std::string(value) + "\" is not a pack theme of theme.h");
            p.theme = value;
        } else if (key == "condition_to_pass") {
            if (!ReadCount(value, count)) fault(number, "condition_to_pass: a number of stars");
            p.conditionToPass = static_cast<unsigned>(count);
        } else if (key == "is_lock") {
            if (value != "true" && value != "false") fault(number, "is_lock: true or false");
            p.isLock = value == "true";
        } else if (key == "price") {
            if (!ReadCount(value, count)) fault(number, "price: an amount of money");
            p.price = static_cast<int>(count);
        } else if (key == "inapp") {
            if (!value.empty() && (!IsKey(value) || value.substr(0, 4) != "pack"))
                fault(number, "inapp: empty or a product name beginning with \"pack\"");
            p.inapp = value;
        } else if (key == "cover") {
            if (!ReadCount(value, count) || count < 1) fault(number, "cover: the number of a picture of the pack");
            p.cover = static_cast<int>(count);
        } else if (key == "name") {
            fault(number, "\"name\" is the pack's folder: a description must not set it");
        } else {
            fault(number, "unknown key \"" + key + "\"");
        }
    }
    for (const char* key : {"title", "theme", "condition_to_pass", "is_lock", "price", "inapp"})
        if (seen.count(key) == 0) faults.push_back(std::string("missing \"") + key + "\"");
    if (p.isLock && p.price <= 0) faults.push_back("a locked pack needs a price above 0");
    if (!p.isLock && p.price > 0) faults.push_back("a price without is_lock = true is never asked");
    return p;
}

std::vector<PackSource> ReadPackSources(const fs::path& levelsDir) {
    std::vector<std::string> faults;
    std::vector<PackSource> packs;
    if (!fs::is_directory(levelsDir)) throw LevelSourceError(levelsDir.string() + ": no level folder");

    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry : fs::directory_iterator(levelsDir)) {
        if (entry.is_directory()) folders.push_back(entry.path());
        else faults.push_back(entry.path().string() + ": only pack folders belong here");
    }
    std::sort(folders.begin(), folders.end());
    std::map<int, int> lastNumber;  // per kind
    for (const fs::path& folder : folders) {
        PackSource pack;
        pack.folder = folder.filename().string();
        int number = 0;
        pack.kind = FolderKind(pack.folder, number);
        if (pack.kind < 0) {
            faults.push_back(folder.string() + ": a pack folder is \"tutorial\" or \"pack\" and two digits");
            continue;
        }
        if (number != lastNumber[pack.kind] + 1)
            faults.push_back(folder.string() + ": packs of a kind are numbered 01, 02, ... without gaps");
        lastNumber[pack.kind] = number;

        const fs::path properties = folder / Theme::kPackPropertiesSource;
        if (fs::is_regular_file(properties)) {
            std::vector<std::string> found;
            pack.properties = ParsePackProperties(ReadText(properties), found);
            for (const std::string& f : found) faults.push_back(properties.string() + ": " + f);
        } else {
            faults.push_back(properties.string() + ": missing");
        }

        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const std::string name = file.filename().string();
            if (name == Theme::kPackPropertiesSource) continue;
            if (name == Theme::kTutorialStepsSource && pack.kind == 1) {
                std::vector<std::string> found;
                pack.steps = ParseTutorialSteps(ReadText(file), found);
                for (const std::string& f : found) faults.push_back(file.string() + ": " + f);
                continue;
            }
            LevelSource level;
            if (!fs::is_regular_file(file) || !SplitPictureFile(name, level.number, level.name)) {
                faults.push_back(file.string() + ": a picture is \"NN-name.txt\" (lower-case words joined by '-')");
                continue;
            }
            level.source = file;
            if (level.number != static_cast<int>(pack.levels.size()) + 1)
                faults.push_back(file.string() + ": pictures are numbered 01, 02, ... without gaps or repeats");
            std::string fault;
            level.picture = ParsePicture(ReadText(file), fault);
            if (fault.empty() && (level.picture.cols != level.picture.rows || !IsBoardSize(level.picture.cols)))
                fault = std::to_string(level.picture.cols) + " x " + std::to_string(level.picture.rows) +
                        " is not a board size of theme.h";
            if (fault.empty() && !pack.levels.empty() && level.picture.cols != pack.Size())
                fault = "every picture of a pack has the size of the first (" + std::to_string(pack.Size()) + ")";
            if (fault.empty() &&
                std::none_of(level.picture.filled.begin(), level.picture.filled.end(), [](bool f) { return f; }))
                fault = "a picture without picture cells can never be completed";
            if (!fault.empty()) {
                faults.push_back(file.string() + ": " + fault);
                continue;
            }
            const std::string report = SolverReport(level);
            if (!report.empty()) faults.push_back(report);
            pack.levels.push_back(std::move(level));
        }
        if (pack.levels.empty()) faults.push_back(folder.string() + ": a pack without pictures");
        const fs::path steps = folder / Theme::kTutorialStepsSource;
        for (const TutorialStep& step : pack.steps) {
            const std::string where = steps.string() + ": line " + std::to_string(step.line) + ": ";
            if (step.level > static_cast<int>(pack.levels.size())) {
                faults.push_back(where + "no picture " + std::to_string(step.level) + " in this pack");
                continue;
            }
            const int size = pack.levels[static_cast<size_t>(step.level - 1)].picture.cols;
            for (const auto& [col, row] : CellsOfStep(step))
                if (col < 0 || row < 0 || col >= size || row >= size)
                    faults.push_back(where + "the cell " + std::to_string(col) + " " + std::to_string(row) +
                                     " is off the " + std::to_string(size) + " x " + std::to_string(size) + " board");
            // The step's panel stands beside the board: it may hide no cell the step asks for.
            if (const Theme::BoardGeometry* board = BoardFor(size))
                for (const auto& [col, row] : CellsUnderPanel(step, *board))
                    faults.push_back(where + "the step's panel covers the cell " + std::to_string(col) + " " +
                                     std::to_string(row));
        }
        if (pack.properties.cover > static_cast<int>(pack.levels.size()))
            faults.push_back(properties.string() + ": cover names no picture of the pack");
        packs.push_back(std::move(pack));
    }
    if (!faults.empty()) {
        std::string text = "level faults:";
        for (const std::string& f : faults) text += "\n" + f;
        throw LevelSourceError(text);
    }
    return packs;
}

}  // namespace ContentBuilder
