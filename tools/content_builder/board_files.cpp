#include "tools/content_builder/board_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

#include "tools/content_builder/board_animations.h"
#include "tools/content_builder/board_decoration_art.h"
#include "tools/content_builder/particle_effects.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kXmlHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

std::string Attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + XmlEscape(value) + "\"";
}

// Colours as the engine's hexadecimal readers take them: all eight digits of AARRGGBB, so that a
// colour never reads as transparent.
std::string Hex(Theme::Rgb colour, uint8_t alpha = 0xFF) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Theme::Argb(colour, alpha)));
    return text;
}

std::string Pair(int a, int b) { return XmlNumber(a) + " " + XmlNumber(b); }
std::string Pair(float a, float b) { return XmlNumber(a) + " " + XmlNumber(b); }

std::string Board(std::string_view file) { return ResourceKey(Theme::kBoardFolder, file); }

std::string Bool(bool value) { return value ? "true" : "false"; }

// The sprite part of a description: the texture, the hot spot, and optionally a position and size.
std::string SpriteKeys(std::string_view file, std::string_view hotSpot, std::string_view pos = "",
                       std::string_view size = "") {
    std::string xml = "<FILE>" + XmlEscape(Board(file)) + "</FILE><HOT_SPOT>" + std::string(hotSpot) + "</HOT_SPOT>";
    if (!pos.empty()) xml += "<POS>" + std::string(pos) + "</POS>";
    if (!size.empty()) xml += "<SIZE>" + std::string(size) + "</SIZE>";
    return xml;
}

// "reverese" is the direction flag: true plays forward from frame 0.
std::string AnimationKey(const Theme::BoardAnimation& a) {
    return "<ANIMATION" + Attr("grid", Pair(a.frames, 1)) + Attr("frames", XmlNumber(a.frames)) +
           Attr("fps", XmlNumber(a.fps)) + Attr("loop", Bool(a.loop)) + Attr("ping_pong", "false") +
           Attr("reverese", "true") + Attr("flip", "false") + "/>";
}

std::string FontReference(std::string_view font, Theme::Rgb colour, std::string_view hotSpot) {
    return Attr("fntName", font) + Attr("fntColor", Hex(colour)) + Attr("fntHotSpot", hotSpot);
}

std::string Param(std::string_view key, std::string_view value) {
    return "    <param" + Attr("key", key) + Attr("value", value) + "/>\n";
}

}  // namespace

namespace {

// The strike over a number of the clue font: two of its widest digits and a margin.
Theme::BoardAnimation StrikeFor(const ClueFontMetrics& font, const std::string& file) {
    Theme::BoardAnimation a = Theme::kStrikeAnimation;
    a.file = file;
    a.width = 2 * *std::max_element(font.digitAdvance.begin(), font.digitAdvance.end()) + 8;
    a.height = font.digitHeight + 8;
    return a;
}

std::string StrikeFile(const BoardLook& look) { return "clue_strike_" + look.font + ".png"; }

constexpr std::array<const Theme::BoardAnimation*, 4> kCellAnimations{
    &Theme::kSquareAnimation, &Theme::kCrossAnimation, &Theme::kShineAnimation, &Theme::kPulseAnimation};

}  // namespace

std::string SizedArtFile(std::string_view file, int size) {
    const size_t dot = file.rfind('.');
    return std::string(file.substr(0, dot)) + "_" + XmlNumber(size) + std::string(file.substr(dot));
}

std::string LevelLookXml(const BoardLook& look, const ClueFontMetrics& font) {
    const CluePlacement& p = look.clues;
    const std::string strikeFile = StrikeFile(look);
    const Theme::BoardAnimation strike = StrikeFor(font, strikeFile);
    std::string xml = "    <numbers>\n";
    const auto panel = [&](std::string_view element, float interval, float firstX, float firstY) {
        const std::string e(element);
        return "      <" + e + Attr("font", look.font) + Attr("font_color", Hex(Theme::kClueOpen)) +
               Attr("font_cross", Hex(Theme::kClueCrossed)) + Attr("interval", XmlNumber(interval)) +
               Attr("shift_first", Pair(firstX, firstY)) + ">" + SpriteKeys(strike.file, "HS_MID") +
               AnimationKey(strike) + "</" + e + ">\n";
    };
    xml += panel("numbersLeft", p.leftInterval, p.leftFirstX, p.leftFirstY);
    xml += panel("numbersUp", p.upInterval, p.upFirstX, p.upFirstY);
    xml += "    </numbers>\n    <animations>\n";
    for (const Theme::BoardAnimation* shared : kCellAnimations) {
        const std::string file = SizedArtFile(shared->file, look.board.cell);
        Theme::BoardAnimation a = *shared;
        a.file = file;
        a.width = a.height = look.board.cell;
        xml += "      <animation" + Attr("name", a.name) + ">" + SpriteKeys(a.file, "HS_MID") + AnimationKey(a) +
               "</animation>\n";
    }
    return xml + "    </animations>\n";
}

void WriteLevelLookArt(OutputTree& out, const BoardLook& look, const ClueFontMetrics& font,
                       std::set<std::string>& written) {
    const std::string strikeFile = StrikeFile(look);
    if (written.insert(strikeFile).second)
        out.Write(RunPath(Theme::kBoardFolder, strikeFile), EncodeTexture(DrawBoardAnimation(StrikeFor(font, strikeFile))));
    for (const Theme::BoardAnimation* shared : kCellAnimations) {
        const std::string file = SizedArtFile(shared->file, look.board.cell);
        if (!written.insert(file).second) continue;
        Theme::BoardAnimation a = *shared;
        a.file = file;
        a.width = a.height = look.board.cell;
        out.Write(RunPath(Theme::kBoardFolder, file), EncodeTexture(DrawBoardAnimation(a)));
    }
}

std::string GameplayFileKey(std::string_view key) {
    for (const Theme::ConfigValue& v : Theme::kGameplayConfig)
        if (v.key == key) return std::string(v.value);
    throw std::logic_error("the gameplay configuration names no \"" + std::string(key) + "\" file");
}

std::string GameplayFilePath(std::string_view key) {
    const std::string resource = GameplayFileKey(key);
    const size_t blank = resource.find(' ');
    if (blank == std::string::npos) return "Resources/" + resource;
    return RunPath(resource.substr(0, blank), resource.substr(blank + 1));
}

std::string EffectsFileXml() {
    const Theme::BoardEffectsTheme& t = Theme::kBoardEffects;
    const Theme::DecorationTheme& d = Theme::kDecoration;
    const std::string dot = Board(Theme::kBoardDotFile);
    std::string xml = std::string(kXmlHead) + "<!-- The board's effects. Made by the content builder. -->\n<effects>\n";
    xml += "  <animations>\n";
    for (const Theme::BoardAnimation& a : Theme::kEffectAnimations) {
        const bool hint = a.name == Theme::kHintAnimation.name;
        xml += "    <animation" + Attr("name", a.name) + ">" +
               SpriteKeys(a.file, "HS_MID", hint ? t.hintRest : std::string_view()) + AnimationKey(a) +
               "</animation>\n";
    }
    xml += "  </animations>\n";
    xml += "  <font_selected" + FontReference(t.selectionFont, t.selectionColour, "HS_MID") + "/>\n";
    xml += "  <settings>\n" + Param("open_delay", XmlNumber(t.openDelay)) +
           Param("end_level_time", XmlNumber(t.endLevelTime)) + Param("end_level", t.endLevel) + "  </settings>\n";
    xml += "  <hint_fly" + Attr("deflection1", XmlNumber(t.hintDeflection1)) +
           Attr("deflection2", XmlNumber(t.hintDeflection2)) + Attr("speed", XmlNumber(t.hintSpeed)) + ">\n";
    xml += ParticleElementXml(Theme::kHintFinishParticles, dot, "    ");
    xml += ParticleElementXml(Theme::kHintFollowParticles, dot, "    ");
    xml += "  </hint_fly>\n";
    xml += "  <bonus_effect" + Attr("speed", XmlNumber(t.bonusSpeed)) +
           Attr("deflection", XmlNumber(t.bonusDeflection)) + Attr("endpos", Pair(d.sunimeX, d.sunimeY)) + ">\n";
    xml += "    <font" + FontReference(t.bonusFont, Theme::kReward, "HS_MID") + ">\n      <motion" +
           Attr("time", XmlNumber(t.bonusTextTime)) + Attr("start", t.bonusTextStart) +
           Attr("endoffset", t.bonusTextEndOffset) + "/>\n    </font>\n";
    xml += "    <text" + Attr("value", t.bonusText) + "/>\n";
    xml += ParticleElementXml(Theme::kBonusFollowParticles, dot, "    ");
    xml += "  </bonus_effect>\n</effects>\n";
    return xml;
}

std::string ClueStyleFileXml() {
    std::string xml =
        std::string(kXmlHead) + "<!-- The clue panels' style. Made by the content builder. -->\n<numbers>\n";
    for (const Theme::CluePanelStyle& p : Theme::kCluePanels) {
        const std::string e(p.element);
        xml += "  <" + e + Attr("font", p.font) + Attr("font_color", Hex(Theme::kClueOpen)) +
               Attr("font_cross", Hex(Theme::kClueCrossed)) + Attr("interval", XmlNumber(p.interval)) +
               Attr("shift_first", Pair(p.firstX, p.firstY)) + ">" +
               SpriteKeys(Theme::kStrikeAnimation.file, "HS_MID") + AnimationKey(Theme::kStrikeAnimation) + "</" + e +
               ">\n";
    }
    return xml + "</numbers>\n";
}

std::string DecorationFileXml() {
    const Theme::DecorationTheme& d = Theme::kDecoration;
    const int ear = d.earSize, m = ErrorPanelMargin();
    std::string xml = std::string(kXmlHead) + "<!-- The board's decoration. Made by the content builder. -->\n";
    xml += "<ambient" + Attr("size", XmlNumber(ear)) + ">\n  <border";
    // The frame reader's attribute order: "lt" is the right edge, "mid" the lower-right corner,
    // "rt" the lower edge, "dn" the left edge and "dr" the middle (see kPanelPlaces).
    for (size_t place = 0; place < Theme::kPanelPlaces.size(); ++place)
        xml += Attr(Theme::kPanelPlaces[place].attribute, Board(Theme::kBorderFiles[place]));
    xml += "/>\n";
    const auto earXml = [&](std::string_view name, bool vertical) {
        const std::string n(name);
        const std::string across = vertical ? Pair(2, ear) : Pair(ear, 2);
        const std::string_view hot = vertical ? "HS_MU" : "HS_ML";
        return "  <" + n + ">\n    <background>" + SpriteKeys(kEarBandFile, "HS_UL", "", Pair(ear, ear)) +
               "</background>\n    <stick>" +
               SpriteKeys(vertical ? kEarStickColumnFile : kEarStickRowFile, hot, "0 0", across) +
               "</stick>\n    <stickBlock>" +
               SpriteKeys(vertical ? kEarStickColumnBlockFile : kEarStickRowBlockFile, hot, "0 0", across) +
               "</stickBlock>\n  </" + n + ">\n";
    };
    xml += earXml("left_ear", false);
    xml += earXml("up_ear", true);
    xml += "  <highlight" + Attr("vertical", Board(kHighlightColumnFile)) +
           Attr("horisontal", Board(kHighlightRowFile)) + Attr("shift", "0 0") + "/>\n";
    const Theme::BoardAnimation one{"error_panel", kErrorPanelFile, 0, 0, 1, 1.0f, false};
    xml += "  <error_panel" + Attr("pos", Pair(d.errorX, d.errorY)) + Attr("grid", Pair(d.errorCols, d.errorRows)) +
           Attr("interval", Pair(d.errorInterval, d.errorInterval)) + Attr("ping", XmlNumber(d.errorPing)) + ">\n";
    xml += "    <sprite>" + SpriteKeys(Theme::kErrorMarkAnimation.file, "HS_UL") +
           AnimationKey(Theme::kErrorMarkAnimation) + "</sprite>\n";
    xml += "    <sprite_lock>" + SpriteKeys(Theme::kErrorLockAnimation.file, "HS_UL") +
           AnimationKey(Theme::kErrorLockAnimation) + "</sprite_lock>\n";
    xml += "    <background>" +
           SpriteKeys(kErrorPanelFile, "HS_UL",
                      Pair(d.errorX - static_cast<float>(d.errorPad + m),
                           d.errorY - static_cast<float>(d.errorPad + d.errorCaption + m))) +
           AnimationKey(one) + "</background>\n  </error_panel>\n";
    xml += "  <sunime" + FontReference(d.sunimeFont, Theme::kReward, "HS_MID") +
           Attr("pos", Pair(d.sunimeX, d.sunimeY)) + "/>\n";
    return xml + "</ambient>\n";
}

void BuildBoardFiles(const std::string& contentDir, OutputTree& out) {
    const auto write = [&](std::string_view file, TextureImage image) {
        out.Write(RunPath(Theme::kBoardFolder, file), EncodeTexture(std::move(image)));
    };
    for (const Theme::BoardAnimation& a : Theme::kEffectAnimations) write(a.file, DrawBoardAnimation(a));
    for (const Theme::BoardAnimation* a :
         {&Theme::kStrikeAnimation, &Theme::kErrorMarkAnimation, &Theme::kErrorLockAnimation})
        write(a->file, DrawBoardAnimation(*a));
    write(Theme::kBoardDotFile, DrawSoftDot());
    std::array<TextureImage, 9> border = DrawBorderPieces();
    for (size_t place = 0; place < border.size(); ++place) write(Theme::kBorderFiles[place], std::move(border[place]));
    write(kEarBandFile, DrawEarBand());
    write(kEarStickRowFile, DrawEarStick(false, false));
    write(kEarStickRowBlockFile, DrawEarStick(false, true));
    write(kEarStickColumnFile, DrawEarStick(true, false));
    write(kEarStickColumnBlockFile, DrawEarStick(true, true));
    write(kHighlightRowFile, DrawHighlightBar(false));
    write(kHighlightColumnFile, DrawHighlightBar(true));
    write(kErrorPanelFile, DrawErrorPanel(StringOfSource(contentDir, Theme::kDecoration.errorCaptionKey)));
    out.Write(GameplayFilePath("effects"), EffectsFileXml());
    out.Write(GameplayFilePath("numbers"), ClueStyleFileXml());
    out.Write(GameplayFilePath("ambient"), DecorationFileXml());
}

}  // namespace ContentBuilder
