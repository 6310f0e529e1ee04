// Feeds arbitrary bytes to one profile's XML reader, as the default player file is read: the
// document's first element is the profile.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "game/config/save_file.h"
#include "tests/fuzz/player_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QRV::Fuzz::UsePlayerFuzzClock();
    pugi::xml_document document;
    if (!Game::ParseSaveXml(std::string_view(reinterpret_cast<const char*>(data), size), document)) return 0;
    gcPlayer player;
    player.LoadXml(document.document_element());
    QRV::Fuzz::CheckPlayerForms(player, true);
    return 0;
}
