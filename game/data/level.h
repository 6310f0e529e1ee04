#pragma once
// One level of a pack: an item of the pack's level grid (pages.xml) with the level's progress
// properties, and the step windows of a tutorial level.
//
// Properties, replaced after the grid item has read its element:
//   "name"        "empty"  pack folder + "." + the level file's name up to its first "."
//   "path"        ""       resource key of the level file: pack folder + " " + file name
//   "is_open"     false    bool
//   "score"       0        integer
//   "stars"       0        integer, 0 to 3
//   "number"      0        unsigned: 1-based place in the pack
//   "time"        9999.0   float: the best time in seconds
//   "play_count"  0        integer
// "name", "path", "number" and "is_open" are set by the pack for the items it matched with a level
// file; an item without a file keeps the defaults.

#include <cstdint>
#include <set>
#include <string>

#include "engine/windows/pages_item.h"

// The best time of a level that was never won.
inline constexpr float kLevelNoTime = 9999.0f;
// The most stars a level gives.
inline constexpr uint32_t kLevelMostStars = 3;

class JCLevel : public JCPagesItem {
public:
    // The shared default level (default properties, no layout).
    JCLevel();
    // The grid item of the element (its labels localised with the table when one is given), then
    // the default properties.
    JCLevel(const pugi::xml_node& element, int32_t index, const QRV::JC_STRING_TABLE* table);
    ~JCLevel() override = default;

    // The level that look-ups return when they find nothing. Read it, never write into it.
    static JCLevel* Default();
    static bool IsDefault(const JCLevel* level) { return level == Default(); }

    // Gives back the repository of the tutorial folder, when the level has one.
    void Unload();

    // Registers the folder (resource-folder relative) as a repository and keeps its files' keys
    // ("folder file", in byte order) as the tutorial keys.
    void SetTutorialFolder(const std::string& folder);

    const std::string& GetTutorialFolder() const { return tutorialFolder; }
    const std::set<std::string>& GetTutorialKeys() const { return tutorialKeys; }

    // The text of a property ("" when the level does not hold it).
    std::string GetName() const;

private:
    void SetDefaults();

    // "pack/tutorial/base", or empty without step windows.
    std::string tutorialFolder;
    std::set<std::string> tutorialKeys;
};

// The stars a level (or any grid item with "stars") was won with: the integer form held to 0..3,
// 0 without the property. Every count of stars goes through it: a level tile draws it, a pack card
// and every total sum it.
uint32_t LevelStars(const JCPagesItem& level);
