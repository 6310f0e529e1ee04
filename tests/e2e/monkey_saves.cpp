// The save folder after a run of the real game, for monkey_e2e.sh: reads "players.xml" and
// "game.xml" with the game's own loaders, without changing the folder.
// Usage: e2e_monkey_saves FOLDER
// Checks that both files exist and parse; that the profile list holds at least one profile and a
// current one, and that writing the loaded list again gives the file's bytes (nothing was lost
// or misread); that the user settings have the root "game" with parameters, "fullscreen" among
// them, and that they too write back to the same bytes; and that no file was ever set aside as
// unreadable (".bad"). Prints what it read; exit status 0 when all holds, every problem printed.

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "game/config/save_file.h"
#include "game/config/user_settings.h"
#include "game/data/player_manager.h"

namespace {

int g_problems = 0;

void Problem(const std::string& text) {
    std::printf("problem: %s\n", text.c_str());
    ++g_problems;
}

// The file's bytes parsed as the game parses them; false (and a problem) when missing or unreadable.
bool ReadXml(const std::string& path, std::string& bytes, pugi::xml_document& document) {
    if (Game::ReadSaveBytes(path, bytes) != Game::SaveRead::kRead) {
        Problem(path + " is missing or cannot be read");
        return false;
    }
    if (!Game::ParseSaveXml(bytes, document)) {
        Problem(path + " does not parse");
        return false;
    }
    return true;
}

void CheckPlayers(const std::string& folder) {
    std::string bytes;
    pugi::xml_document document;
    if (!ReadXml(folder + JCPlayerManager::kFileName, bytes, document)) return;
    JCPlayerManager players;
    players.ReadDocument(document);
    const JCPlayer* current = players.GetCurrentPlayer();
    std::printf("players.xml: %zu profile(s), current \"%s\"\n", players.GetPlayerCount(),
                current != nullptr ? QRV::WideToUtf8(current->GetName()).c_str() : "");
    if (players.GetPlayerCount() == 0) Problem("players.xml holds no profile");
    if (current == nullptr) Problem("players.xml names no current profile");
    pugi::xml_document again;
    players.WriteDocument(again);
    if (Game::SaveXmlText(again) != bytes) Problem("players.xml does not write back to the same bytes");
}

void CheckSettings(const std::string& folder) {
    std::string bytes;
    pugi::xml_document document;
    if (!ReadXml(folder + Game::kUserSettingsFile, bytes, document)) return;
    const pugi::xml_node root = document.document_element();
    JCPropertyMap settings;
    settings.Load(root);
    JCPropertyMap fullscreen;
    const bool hasFullscreen = Game::CopyUserFullscreen(root, fullscreen);
    std::printf("game.xml: root \"%s\"%s\n", root.name(), hasFullscreen ? ", fullscreen kept" : "");
    if (std::string(root.name()) != "game") Problem("game.xml's root is not \"game\"");
    if (!hasFullscreen) Problem("game.xml has no \"fullscreen\"");
    pugi::xml_document again;
    Game::FillUserSettingsDocument(settings, again);
    if (Game::SaveXmlText(again) != bytes) Problem("game.xml does not write back to the same bytes");
}

void CheckNothingSetAside(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".bad") != std::string::npos) Problem(name + ": a save was set aside as unreadable");
    }
    if (error) Problem("cannot list " + folder);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    CheckPlayers(folder);
    CheckSettings(folder);
    CheckNothingSetAside(folder);
    return g_problems == 0 ? 0 : 1;
}
