// Feeds arbitrary bytes to the configuration readers: as the shipped settings, as the editions
// (looking for the edition those settings name), as the gameplay configuration and as the user's
// "game.xml"; then saves the settings as the user's file and reads "fullscreen" back.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/core/property_map.h"
#include "game/config/config_values.h"
#include "game/config/edition_select.h"
#include "game/config/save_file.h"
#include "game/config/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The resources are parsed as the resource cache parses them.
    pugi::xml_document resource;
    resource.load_buffer(data, size);
    const pugi::xml_node root = resource.document_element();

    JCPropertyMap settings;
    settings.Load(root);
    std::string wanted = Game::ConfigText(settings, "edition");
    if (wanted.empty()) wanted = "desktop";

    JCPropertyMap edition;
    if (Game::SelectEdition(root, wanted, edition) && Game::ConfigText(edition, "type") != wanted) std::abort();
    const int32_t letter = Game::PlatformLetter(Game::ConfigText(edition, "platform"));
    if (letter < 0 || letter > 3) std::abort();

    JCPropertyMap gameplay;
    gameplay.Load(root);
    (void)Game::ConfigInt(gameplay, "check_mode");

    // The same bytes as the user's copy: it may only change "fullscreen".
    pugi::xml_document user;
    if (Game::ParseSaveXml(bytes, user)) {
        const size_t before = settings.Entries().size();
        const bool copied = Game::CopyUserFullscreen(user.document_element(), settings);
        const size_t after = settings.Entries().size();
        if ((!copied && after != before) || after > before + 1) std::abort();
    }

    // What is saved reads back.
    pugi::xml_document saved;
    Game::FillUserSettingsDocument(settings, saved);
    pugi::xml_document reread;
    if (!Game::ParseSaveXml(Game::SaveXmlText(saved), reread)) std::abort();
    JCPropertyMap restored;
    if (Game::CopyUserFullscreen(reread.document_element(), restored) != (settings.Find("fullscreen") != nullptr))
        std::abort();
    return 0;
}
