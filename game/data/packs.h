#pragma once
// Every pack of the game by kind, the current pack, and the copies of progress between the packs
// and a player's records.
//
// The scan takes every folder at the top of the resource folder whose name begins with
// "tutorial" (a tutorial pack; tested first) or "pack" (an ordinary pack), in name order, and
// numbers the packs of each kind from 1. Folders with neither prefix are left alone.
//
// Progress records (JCPlayer): one per pack "name" holding "is_lock", one per level "name"
// holding "is_open", "stars", "score" and "time", each value the text form of the property.

#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "game/data/pack.h"

class JCPlayer;

class JCPacks {
public:
    using PackList = std::deque<JCPack*>;

    // Not loaded, no current pack, empty lists for both kinds.
    JCPacks();
    // Deletes the packs (without giving back their repositories: see Unload).
    ~JCPacks();
    JCPacks(const JCPacks&) = delete;
    JCPacks& operator=(const JCPacks&) = delete;

    // The start-up scan, once (nothing when already loaded); every pack reads its description
    // from "<folder>/main <descriptionFile>". True. A pack whose description or grid is missing
    // ends the program with the load-error message.
    bool Scan(const std::string& descriptionFile);
    // False when not loaded; else gives back every pack's repositories, deletes the packs,
    // empties the lists and forgets the current pack.
    bool Unload();
    bool IsLoaded() const { return loaded; }

    // The packs of a kind, in scan order (no packs for a kind not in the map).
    const PackList& GetKindList(int32_t kind) const;
    // The first pack of the kind with that "name", or null; the kind is not added to the map.
    JCPack* FindPack(const std::string& name, int32_t kind) const;
    // The same search; a missing kind is added to the map with no packs.
    JCPack* LookupPack(const std::string& name, int32_t kind);
    // The current pack becomes the pack of that name among the ordinary packs, else among the
    // tutorial packs; null when there is none.
    void SelectPack(const std::string& name);
    // Selects the pack named by the text before the first "." and, in it, the level of the whole
    // name (the default level when the pack has none of that name). An unknown pack leaves no
    // current pack and selects no level.
    void SelectLevel(const std::string& levelName);
    JCPack* GetCurrentPack() const { return currentPack; }

    // True when the current pack is in its kind's list and not its last pack; false without a
    // current pack.
    bool HasNextPack() const;
    // The pack after the current one in its kind's list; the default pack without a current pack
    // or after the last pack.
    JCPack* GetNextPack() const;

    // Sums over the ordinary packs of their stars and of their three-star levels.
    uint32_t GetStarsAll() const;
    uint32_t CountPerfectLevelsAll() const;

    // The player's progress into the packs (a null player has no records). A pack with a record
    // holding "is_lock" takes it, any other pack gets back the "is_lock" its description gave.
    // Each level takes "is_open", "stars", "score" and "time" from its record; a missing value
    // (or record) gives the kind's default: open in tutorial packs and closed in ordinary ones,
    // 0 stars, 0 score, no time (9999.0). A pack is open when one of its levels is.
    void ApplyPlayerProgress(const JCPlayer* player);
    // The packs' progress into the player's records (replacing records of the same names);
    // nothing for a null player.
    void StorePlayerProgress(JCPlayer* player) const;

    // Localises the labels of the packs and levels scanned from now on (null: texts stay keys).
    const QRV::JC_STRING_TABLE* stringTable = nullptr;

private:
    void DeletePacks();

    bool loaded = false;
    JCPack* currentPack = nullptr;
    std::map<int32_t, PackList> packsByKind;
};
