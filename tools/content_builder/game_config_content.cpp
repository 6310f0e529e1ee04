#include "tools/content_builder/game_config_content.h"

#include <span>

#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + XmlEscape(value) + "\"";
}

std::string Params(std::span<const Theme::ConfigValue> values, std::string_view indent) {
    std::string xml;
    for (const Theme::ConfigValue& v : values)
        xml += std::string(indent) + "<param" + Attribute("key", v.key) + Attribute("value", v.value) + "/>\n";
    return xml;
}

std::string Flag(bool value) { return value ? "true" : "false"; }

}  // namespace

std::string GameSettingsXml() {
    return std::string(kXmlHead) + "<game>\n" + Params(Theme::kGameSettings, "  ") + "</game>\n";
}

std::string EditionsXml() {
    return std::string(kXmlHead) + "<editions>\n  <edition>\n" + Params(Theme::kBaseEdition, "    ") +
           "  </edition>\n  <edition>\n" + Params(Theme::kDesktopEdition, "    ") + "  </edition>\n</editions>\n";
}

std::string GameplayConfigXml() {
    return std::string(kXmlHead) + "<gameplay>\n" + Params(Theme::kGameplayConfig, "  ") + "</gameplay>\n";
}

std::string DefaultPlayerXml() {
    const Theme::DefaultPlayerTheme& p = Theme::kDefaultPlayer;
    int life = 0;
    std::string items;
    for (const Theme::ItemCount& item : p.items) {
        if (item.name == "life") life = item.count;
        items += "    <item" + Attribute("name", item.name) + Attribute("count", XmlNumber(item.count)) + "/>\n";
    }
    std::string levels;
    for (std::string_view level : p.openLevels) {
        levels += "    <level" + Attribute("name", level) + ">\n      <param" + Attribute("key", "is_open") +
                  Attribute("value", Flag(true)) + "/>\n    </level>\n";
    }
    return std::string(kXmlHead) + "<player" + Attribute("name", p.name) +
           Attribute("sound_volume", XmlNumber(p.soundVolume)) + Attribute("music_volume", XmlNumber(p.musicVolume)) +
           Attribute("passed_tutorial", Flag(p.passedTutorial)) + Attribute("game_cursor", Flag(p.gameCursor)) +
           Attribute("inapp_bought", Flag(p.inappBought)) + ">\n  <playeritems>\n" + items +
           "  </playeritems>\n  <levels>\n" + levels + "  </levels>\n  <packs/>\n  <health" +
           Attribute("increment", Flag(false)) + Attribute("count", XmlNumber(life)) + Attribute("countdown", "0") +
           Attribute("time_refill_heart", XmlNumber(p.refillSeconds)) + "/>\n</player>\n";
}

void BuildGameConfig(OutputTree& out) {
    out.Write("Resources/" + std::string(Theme::kGameSettingsFile), GameSettingsXml());
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kEditionsFile), EditionsXml());
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kGameplayConfigFile), GameplayConfigXml());
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kDefaultPlayer.file), DefaultPlayerXml());
}

}  // namespace ContentBuilder
