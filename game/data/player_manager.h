#pragma once
// The list of player profiles and the current one, kept in "players.xml" in the save folder.

#include <pugixml.hpp>

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "game/data/player.h"
#include "game/data/player_manager_delegate.h"

class JCPlayerManager {
public:
    // The profile file in the save folder.
    static constexpr const char* kFileName = "players.xml";

    JCPlayerManager() = default;
    JCPlayerManager(const JCPlayerManager&) = delete;
    JCPlayerManager& operator=(const JCPlayerManager&) = delete;
    ~JCPlayerManager() = default;

    // The first listed player of exactly that name, or null.
    JCPlayer* FindPlayer(const std::wstring& name) const;
    // Makes the player of that name current and tells the listener (first OnPlayerChanging when
    // another player was current); false, with the current player kept, when there is none.
    bool SelectPlayerByName(const std::wstring& name);
    // The same for the listed player with the given player's name.
    bool SelectPlayer(const JCPlayer* player);
    // Deletes the first player of that name (the listener is not told); when it was current, no
    // player is current afterwards. False when there is none.
    bool RemovePlayer(const std::wstring& name);
    std::vector<std::wstring> GetNames() const;

    // Appends a created player (the list owns it) and returns it.
    JCPlayer* AddPlayer(std::unique_ptr<JCPlayer> player);
    JCPlayer* GetCurrentPlayer() const { return current; }
    size_t GetPlayerCount() const { return players.size(); }
    void SetListener(JIPlayerManagerDelegate* delegate) { listener = delegate; }

    // Writes the list to folder + "players.xml" (folder ends with "/") with the safe write.
    // Nothing is written, and the result is false, until Load has run, and after Clear.
    bool Save(const std::string& folder);
    // Reads folder + "players.xml". A missing file leaves the list empty; a file that cannot be
    // read, does not parse or is not a player list (ProfilesRead::kNotPlayerList) is moved aside
    // first and leaves the list empty too. When reading leaves something of the file out
    // (kPartly), a byte-identical copy of the file is kept beside it before the list is taken
    // in. Selects the first player read, tells the listener that the list is loaded, then
    // selects the player named as current.
    void Load(const std::string& folder);
    // The list as the document Save writes.
    void WriteDocument(pugi::xml_document& document) const;

    enum class ProfilesRead {
        kWhole,         // every element of the document was read (an empty document too)
        kPartly,        // a profile of a name listed before, or something of a profile, was left out
        kNotPlayerList  // the root is not "Players" or holds more than "player" elements: nothing read
    };
    // The steps of Load after the file has been parsed (an empty document gives an empty list).
    ProfilesRead ReadDocument(const pugi::xml_document& document);
    // Deletes every player (teardown). Saving is refused afterwards.
    void Clear();

private:
    void Notify(JCPlayer* player);
    // The profiles of the document, each name once (the first wins), nobody told.
    static ProfilesRead ReadProfiles(const pugi::xml_document& document,
                                     std::vector<std::unique_ptr<JCPlayer>>& read, std::wstring& wanted);
    // Appends the profiles read, selecting the first of the list, and tells the listener.
    void TakeProfiles(std::vector<std::unique_ptr<JCPlayer>> read, const std::wstring& wanted);

    JCPlayer* current = nullptr;
    std::vector<std::unique_ptr<JCPlayer>> players;
    JIPlayerManagerDelegate* listener = nullptr;
    std::atomic<bool> loaded{false};
};
