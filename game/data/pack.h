#pragma once
// A pack of levels: its card in the pack lists (the description file in the pack's "main" folder)
// and its levels, laid out by the pack's "pages.xml".
//
// Pack folder "Resources/<folder>/": the level files at its top (its only plain files), "main/"
// with the description file and "pages.xml", "image/" with the pictures, and for tutorial levels
// "tutorial/<level file name up to its first '.'>/" with the step windows. The level files and the
// grid's items are matched by place: the n-th file by name with the n-th item.
//
// Properties (the description's "property" children may add more and change these, except "name",
// which is always the folder name):
//   "name" "empty", "is_open" false, "is_lock" false, "inapp" "", "price" 0 (integer),
//   "condition_to_pass" 0 (unsigned: the stars that open the pack), "number" 0 (integer: 1-based
//   place among the packs of its kind).

#include <cstdint>
#include <string>

#include "engine/windows/pages_item.h"
#include "game/data/level_pages.h"

// Pack kinds, by the folder's prefix ("tutorial" is tested first).
inline constexpr int32_t kPackOrdinary = 0;
inline constexpr int32_t kPackTutorial = 1;

class JCPack : public JCPagesItem {
public:
    JCPack();
    ~JCPack() override = default;

    // The pack that look-ups return when they find nothing. Read it, never write into it.
    static JCPack* Default();
    static bool IsDefault(const JCPack* pack) { return pack == Default(); }

    // The grid item's own reading of an element stays reachable beside the pack load.
    using JCPagesItem::Load;
    // Registers the folder and its "main" and "image" folders as repositories, reads the
    // description ("<folder>/main <descriptionFile>") and the level grid ("<folder>/main
    // pages.xml"), then names, numbers and opens the levels from the folder's files. A missing or
    // unparsable description or grid ends the program with the load-error message. Labels are
    // localised with the table when one is given.
    void Load(const std::string& folder, int32_t kind, const std::string& descriptionFile,
              const QRV::JC_STRING_TABLE* table);
    // Gives back the repositories Load registered (the levels' tutorial folders first).
    void Unload();

    // A key without "." is the pack's own property. A key with "." names a level and a property:
    // the text after the last "." is the property, the text before it the level's name; null when
    // no level has that name or the property is absent.
    JSProperty* GetProperty(const std::string& key) override;
    const JSProperty* GetProperty(const std::string& key) const override;

    // The first level of that "name", else the default level.
    JCLevel* FindLevel(const std::string& name) const;
    // The first level, or the default level for a pack without levels.
    JCLevel* GetFirstLevel() const;
    // The level after the selected one (the item at the selected level's "number"); the default
    // level after the last level and without a selected level.
    JCLevel* GetNextLevel() const;
    // Sum of the levels' stars (LevelStars).
    uint32_t GetStars() const;
    // Levels with three stars.
    uint32_t CountPerfectLevels() const;
    // Levels with stars over all levels; 0.0 for a pack without levels.
    float GetPassedFraction() const;
    // False when stars is below "condition_to_pass". Otherwise opens the pack and its first level
    // (only the pack when it has no levels) and returns true.
    bool TryOpen(uint32_t stars);

    int32_t GetKind() const { return kind; }
    size_t GetLevelCount() const { return pages.items.size(); }
    JCLevel* LevelAt(size_t index) const { return pages.LevelAt(index); }
    // The level grid; the level list borrows it to show the levels.
    JCLevelPages& GetPages() { return pages; }
    const JCLevelPages& GetPages() const { return pages; }
    // Null until a level is selected.
    JCLevel* GetSelectedLevel() const { return selectedLevel; }
    void SetSelectedLevel(JCLevel* level) { selectedLevel = level; }
    // The pack's "name" text.
    std::string GetName() const;
    // "is_lock" as the description gave it (the text form), restored for a player without a
    // record of the pack.
    const std::string& GetDescribedLock() const { return describedLock; }

private:
    void SetDefaults();
    // The pack's own property, or one of a level's for a dotted key.
    const JSProperty* Lookup(const std::string& key) const;
    // Names, numbers and opens the items matched with the folder's files: by the file an item names
    // ("file"; a missing one ends the program with the load error naming it), else by place.
    void MatchLevelFiles();

    int32_t kind = kPackOrdinary;
    JCLevel* selectedLevel = nullptr;
    JCLevelPages pages;
    std::string folder;
    std::string describedLock;
};
