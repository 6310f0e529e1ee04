#include "game/data/player_manager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/core/conversions.h"
#include "game/config/save_file.h"
#include "game/config/unreadable_file.h"
#include "game/data/game_player.h"

JCPlayer* JCPlayerManager::FindPlayer(const std::wstring& name) const {
    for (const auto& player : players) {
        if (player->GetName() == name) return player.get();
    }
    return nullptr;
}

void JCPlayerManager::Notify(JCPlayer* player) {
    if (listener != nullptr && current != nullptr && current != player) listener->OnPlayerChanging(this, current);
    current = player;
    if (listener != nullptr) listener->OnPlayerSelected(this, player);
}

bool JCPlayerManager::SelectPlayerByName(const std::wstring& name) {
    JCPlayer* player = FindPlayer(name);
    if (player == nullptr) return false;
    Notify(player);
    return true;
}

bool JCPlayerManager::SelectPlayer(const JCPlayer* player) {
    return player != nullptr && SelectPlayerByName(player->GetName());
}

bool JCPlayerManager::RemovePlayer(const std::wstring& name) {
    const auto found =
        std::find_if(players.begin(), players.end(), [&name](const auto& player) { return player->GetName() == name; });
    if (found == players.end()) return false;
    if (found->get() == current) current = nullptr;
    players.erase(found);
    return true;
}

std::vector<std::wstring> JCPlayerManager::GetNames() const {
    std::vector<std::wstring> names;
    names.reserve(players.size());
    for (const auto& player : players) names.push_back(player->GetName());
    return names;
}

JCPlayer* JCPlayerManager::AddPlayer(std::unique_ptr<JCPlayer> player) {
    players.push_back(std::move(player));
    return players.back().get();
}

void JCPlayerManager::WriteDocument(pugi::xml_document& document) const {
    document.reset();
    pugi::xml_node root = document.append_child("Players");
    root.append_attribute("current").set_value(current != nullptr ? current->GetNameUtf8().c_str() : "");
    for (const auto& player : players) player->SaveXml(root.append_child("player"));
}

bool JCPlayerManager::Save(const std::string& folder) {
    if (!loaded) {
        std::fprintf(stderr, "quorvel: %s not saved: the player list has not been loaded\n", kFileName);
        return false;
    }
    // No save folder: the run says so once, when the folder is looked for.
    if (folder.empty()) return false;
    pugi::xml_document document;
    WriteDocument(document);
    return Game::SaveXmlFile(folder + kFileName, document);
}

JCPlayerManager::ProfilesRead JCPlayerManager::ReadProfiles(const pugi::xml_document& document,
                                                            std::vector<std::unique_ptr<JCPlayer>>& read,
                                                            std::wstring& wanted) {
    read.clear();
    const pugi::xml_node root = document.document_element();
    if (!root) return ProfilesRead::kWhole;
    if (std::strcmp(root.name(), "Players") != 0) return ProfilesRead::kNotPlayerList;
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        const bool player = child.type() == pugi::node_element && std::strcmp(child.name(), "player") == 0;
        if (!player) return ProfilesRead::kNotPlayerList;
    }
    wanted = QRV::Utf8ToWide(root.attribute("current").as_string());
    ProfilesRead result = ProfilesRead::kWhole;
    for (pugi::xml_node element = root.first_child(); element; element = element.next_sibling()) {
        auto player = std::make_unique<gcPlayer>();
        if (!player->LoadXml(element)) result = ProfilesRead::kPartly;
        // Of several profiles with one name the first wins.
        const bool listed = std::any_of(read.begin(), read.end(),
                                        [&player](const auto& other) { return other->GetName() == player->GetName(); });
        if (listed) {
            result = ProfilesRead::kPartly;
            continue;
        }
        read.push_back(std::move(player));
    }
    return result;
}

void JCPlayerManager::TakeProfiles(std::vector<std::unique_ptr<JCPlayer>> read, const std::wstring& wanted) {
    for (auto& player : read) {
        // A profile of a name already in the list (one created before the load) is not taken.
        if (FindPlayer(player->GetName()) != nullptr) continue;
        JCPlayer* added = AddPlayer(std::move(player));
        if (players.size() == 1) SelectPlayer(added);
    }
    if (listener != nullptr) listener->OnPlayersLoaded(this);
    if (!wanted.empty()) SelectPlayerByName(wanted);
}

JCPlayerManager::ProfilesRead JCPlayerManager::ReadDocument(const pugi::xml_document& document) {
    std::vector<std::unique_ptr<JCPlayer>> read;
    std::wstring wanted;
    const ProfilesRead result = ReadProfiles(document, read, wanted);
    TakeProfiles(std::move(read), wanted);
    return result;
}

void JCPlayerManager::Load(const std::string& folder) {
    std::vector<std::unique_ptr<JCPlayer>> read;
    std::wstring wanted;
    if (!folder.empty()) {
        const std::string path = folder + kFileName;
        std::string bytes;
        pugi::xml_document document;
        if (Game::ReadSaveBytes(path, bytes) == Game::SaveRead::kRead) {
            const bool parsed = Game::ParseSaveXml(bytes, document);
            const ProfilesRead result = parsed ? ReadProfiles(document, read, wanted) : ProfilesRead::kNotPlayerList;
            if (result == ProfilesRead::kNotPlayerList) {
                read.clear();
                wanted.clear();
                Game::SetAsideUnreadable(path);
            } else if (result == ProfilesRead::kPartly) {
                Game::KeepCopyOfPartlyRead(path, bytes);
            }
        }
    }
    // From here on a save cannot replace a file that was never read whole: it was read, or it is
    // absent, or it has been moved aside or copied (or is refused for the run).
    loaded = true;
    TakeProfiles(std::move(read), wanted);
}

void JCPlayerManager::Clear() {
    loaded = false;
    current = nullptr;
    players.clear();
}
