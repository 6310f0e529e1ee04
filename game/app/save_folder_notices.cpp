#include "game/app/save_folder_notices.h"

#include "engine/platform/message_box.h"
#include "game/config/save_folder.h"
#include "game/config/save_folder_lock.h"

namespace {

constexpr const char* kCaption = "Quorvel";

}  // namespace

bool ClaimSaveFolder() {
    const std::string folder = Game::FindSaveFolder();
    if (folder.empty()) return true;
    if (Game::LockSaveFolder(folder) != Game::FolderLock::kHeld) return true;
    QRV::Platform::ShowMessageBox("Quorvel is already running with the saves in " + folder +
                                      ".\nOnly one copy of the game can run at a time: this one closes.",
                                  kCaption, QRV::Platform::MessageBoxKind::Warning);
    return false;
}

std::string SetAsideMessage(const std::vector<Game::SetAsideFile>& files) {
    std::string text;
    for (const Game::SetAsideFile& file : files) {
        text += "The save file " + file.path + " could not be read.\n";
        text += file.keptAs.empty() ? "It stays where it is and will not be written over during this run.\n"
                                    : "It was moved to " + file.keptAs + ".\n";
    }
    if (!text.empty()) text += "The game goes on with the default settings and players.";
    return text;
}

void TellSetAsideSaves() {
    const std::string text = SetAsideMessage(Game::TakeSetAsideFiles());
    if (!text.empty()) QRV::Platform::ShowMessageBox(text, kCaption, QRV::Platform::MessageBoxKind::Warning);
}
