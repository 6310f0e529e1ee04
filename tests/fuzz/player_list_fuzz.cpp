// Feeds arbitrary bytes to the player list's loader as if they were "players.xml".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "game/config/save_file.h"
#include "game/data/player_manager.h"
#include "tests/fuzz/player_fuzz_support.h"

namespace {

std::string ListText(const JCPlayerManager& manager) {
    pugi::xml_document document;
    manager.WriteDocument(document);
    return Game::SaveXmlText(document);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::Fuzz::UsePlayerFuzzClock();
    pugi::xml_document document;
    if (!Game::ParseSaveXml(std::string_view(reinterpret_cast<const char*>(data), size), document)) return 0;
    JCPlayerManager manager;
    manager.ReadDocument(document);

    // Names are unique, and the current player is one of the list.
    const auto names = manager.GetNames();
    if (std::set<std::wstring>(names.begin(), names.end()).size() != names.size()) std::abort();
    if (names.empty() != (manager.GetCurrentPlayer() == nullptr)) std::abort();
    if (manager.GetCurrentPlayer() != nullptr && manager.FindPlayer(manager.GetCurrentPlayer()->GetName()) == nullptr) {
        std::abort();
    }

    // What is saved reads back as the same list.
    const std::string saved = ListText(manager);
    pugi::xml_document again;
    if (!Game::ParseSaveXml(saved, again)) std::abort();
    JCPlayerManager reloaded;
    reloaded.ReadDocument(again);
    if (ListText(reloaded) != saved) std::abort();

    // The game keeps the hearts of the current player going.
    if (auto* current = dynamic_cast<gcPlayer*>(manager.GetCurrentPlayer()))
        QRV::Fuzz::CheckPlayerForms(*current, true);
    return 0;
}
