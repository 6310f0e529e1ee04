#include "tools/content_builder/test_sprites.h"

#include <array>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kCursorFile = "cursor.png";

TextureImage ToImage(const Canvas& canvas) { return {canvas.Width(), canvas.Height(), canvas.ToRgba8()}; }

TextureImage DrawSquare() {
    const auto& t = Theme::kTestTextures;
    const float s = static_cast<float>(t.squareSide);
    Canvas canvas(t.squareSide, t.squareSide);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, 0, 0, s, s, t.squareRadius); },
                     Theme::kInk, 1.0f);
    return ToImage(canvas);
}

TextureImage DrawBar() {
    const auto& t = Theme::kTestTextures;
    const float w = static_cast<float>(t.barWidth), h = static_cast<float>(t.barHeight);
    Canvas canvas(t.barWidth, t.barHeight);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, 0, 0, w, h, t.barRadius); },
                     Theme::kAccent, 1.0f);
    // The dot shows which way the bar points once it is rotated.
    canvas.FillShape(
        [&](float x, float y) { return CircleDistance(x, y, w - t.barDotInset, h * 0.5f, t.barDotRadius); },
        Theme::kReward, 1.0f);
    return ToImage(canvas);
}

TextureImage DrawDisc() {
    const auto& t = Theme::kTestTextures;
    const float r = t.discSide * 0.5f;
    Canvas canvas(t.discSide, t.discSide);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, r, r, r); }, Theme::kRewardOutline, 1.0f);
    canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, r, r, r - t.discOutline); }, Theme::kReward,
                     1.0f);
    return ToImage(canvas);
}

TextureImage DrawSplit() {
    const auto& t = Theme::kTestTextures;
    const float w = static_cast<float>(t.splitWidth), h = static_cast<float>(t.splitHeight);
    Canvas canvas(t.splitWidth, t.splitHeight);
    // Hard edges: each half is exactly its pixels, so a half picked by texture coordinates is pure.
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, -1, -1, w * 0.5f, h + 1, 0); },
                     Theme::kCross, 1.0f);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, w * 0.5f, -1, w + 1, h + 1, 0); },
                     Theme::kAccent, 1.0f);
    return ToImage(canvas);
}

TextureImage DrawWhite() {
    const int s = Theme::kTestTextures.whiteSide;
    return {s, s, std::vector<uint8_t>(static_cast<size_t>(s) * s * 4, 0xFF)};
}

TextureImage DrawCursor() {
    const auto& t = Theme::kTestTextures;
    // A classic arrow with its tip one pixel in from the upper-left corner.
    static constexpr std::array<Point, 7> kArrow{
        {{0, 0}, {0, 21}, {5, 16.5f}, {9, 25}, {12.5f, 23.5f}, {8.5f, 15}, {15, 15}}};
    std::array<Point, 7> arrow{};
    for (size_t i = 0; i < arrow.size(); ++i)
        arrow[i] = {kArrow[i].x + 1.0f + t.cursorOutline, kArrow[i].y + 1.0f + t.cursorOutline};
    Canvas canvas(t.cursorSide, t.cursorSide);
    canvas.FillShape([&](float x, float y) { return PolygonDistance(x, y, arrow) - t.cursorOutline; },
                     Theme::kTextOnAccent, 1.0f);
    canvas.FillShape([&](float x, float y) { return PolygonDistance(x, y, arrow); }, Theme::kInk, 1.0f);
    return ToImage(canvas);
}

void AppendKey(std::string& xml, std::string_view key, std::string_view text) {
    if (!text.empty()) xml += "    <" + std::string(key) + ">" + XmlEscape(text) + "</" + std::string(key) + ">\n";
}

}  // namespace

std::vector<std::pair<std::string, TextureImage>> DrawTestTextures() {
    return {{"square_ink.png", DrawSquare()}, {"bar_accent.png", DrawBar()}, {"disc_reward.png", DrawDisc()},
            {"split.png", DrawSplit()},       {"white.png", DrawWhite()},    {std::string(kCursorFile), DrawCursor()}};
}

std::string SpriteDescriptionsXml() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<sprites>\n";
    for (const Theme::TestSprite& s : Theme::kTestSprites) {
        const std::string key = XmlEscape(ResourceKey(Theme::kTestFolder, s.texture));
        xml += "  <" + std::string(s.element);
        xml += s.textureAttribute ? " TEXTURE=\"" + key + "\">\n" : ">\n    <FILE>" + key + "</FILE>\n";
        AppendKey(xml, "HOT_SPOT", s.hotSpot);
        AppendKey(xml, "POS", s.pos);
        AppendKey(xml, "TRANSFORM", s.transform);
        AppendKey(xml, "SIZE", s.size);
        AppendKey(xml, "COLOR", s.color);
        AppendKey(xml, "TEXEL", s.texel);
        xml += "  </" + std::string(s.element) + ">\n";
    }
    return xml + "</sprites>\n";
}

std::string CursorDescriptionXml() {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<cursor>\n  <file>" +
           XmlEscape(ResourceKey(Theme::kTestFolder, kCursorFile)) + "</file>\n</cursor>\n";
}

void BuildTestSprites(OutputTree& out) {
    for (auto& [file, image] : DrawTestTextures())
        out.Write(RunPath(Theme::kTestFolder, file), EncodeTexture(std::move(image)));
    out.Write(RunPath(Theme::kTestFolder, Theme::kSpriteDescriptions), SpriteDescriptionsXml());
    out.Write(RunPath(Theme::kTestFolder, Theme::kCursorDescription), CursorDescriptionXml());
}

}  // namespace ContentBuilder
