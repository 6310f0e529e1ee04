// The authored level set: one folder per pack below content/levels/, named "tutorialNN" or
// "packNN", holding the pack's properties ("pack.txt"), its pictures "NN-name.txt" ('#' a
// picture cell, '.' an empty cell, one row per line) and, in a tutorial pack, the steps of its
// levels ("steps.txt", tutorial_steps.h). Reading checks the naming rules the game imposes, the
// properties, the pictures' sizes, that line logic alone solves every picture and that the steps
// name levels and cells that exist.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/content_builder/line_solver.h"
#include "tools/content_builder/tutorial_steps.h"

namespace ContentBuilder {

struct LevelSource {
    int number = 0;    // NN of the source file: the level file is levelNN.xml
    std::string name;  // the picture's name ("cat")
    std::filesystem::path source;
    LinePicture picture;
};

// The values of "pack.txt". Keys: title (a string key), theme (a name of Theme::kPackThemes),
// condition_to_pass (stars), is_lock (true or false), price (money), inapp (a product name or
// nothing) and, optionally, cover (the number of the picture whose shape, blurred into a mist, the
// pack's cover shows; 1 when absent).
struct PackProperties {
    std::string title, theme, inapp;
    unsigned conditionToPass = 0;
    bool isLock = false;
    int price = 0;
    int cover = 1;
};

struct PackSource {
    std::string folder;  // "tutorial01", "pack01": the folder below Resources/ too
    int kind = 0;        // 0 ordinary ("pack..."), 1 tutorial ("tutorial...")
    PackProperties properties;
    std::vector<LevelSource> levels;  // in number order
    std::vector<TutorialStep> steps;  // tutorial packs: "steps.txt", level by level
    int Size() const { return levels.empty() ? 0 : levels.front().picture.cols; }
};

// Every fault of the level sources, one line each ("<file>: <what>"; pictures that line logic
// cannot solve are followed by the solver's view of them, '?' for undecided cells).
class LevelSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "levelNN" for level number NN: the level's name in its pack; its file is "levelNN.xml" and its
// tutorial steps lie in "<pack>/tutorial/levelNN".
std::string LevelBaseName(int number);
std::string LevelFileName(int number);

// A picture's text; an empty fault means it parsed.
LinePicture ParsePicture(std::string_view text, std::string& fault);

// The text of "pack.txt": "key = value" lines, '#' comments and blank lines. Each fault is
// appended to `faults` as "line <n>: <what>".
PackProperties ParsePackProperties(std::string_view text, std::vector<std::string>& faults);

// Reads and checks every pack below the folder, in folder name order.
// Throws LevelSourceError listing every fault.
std::vector<PackSource> ReadPackSources(const std::filesystem::path& levelsDir);

}  // namespace ContentBuilder
