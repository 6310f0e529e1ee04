#include "tools/content_builder/level_files.h"

#include <algorithm>
#include <cstdio>

#include "tools/content_builder/board_files.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

std::string Pair(int a, int b) { return XmlNumber(a) + " " + XmlNumber(b); }
std::string Pair(float a, float b) { return XmlNumber(a) + " " + XmlNumber(b); }

std::string Hex(Theme::Rgb colour) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Theme::Argb(colour, 0xFF)));
    return text;
}

std::string Attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + XmlEscape(value) + "\"";
}

// A sprite description: the texture, anchored at the hot spot, drawn at the given size.
std::string Sprite(std::string_view element, std::string_view file, std::string_view hotSpot, int width, int height) {
    const std::string e(element);
    return "    <" + e + ">\n      <FILE>" + XmlEscape(ResourceKey(Theme::kBoardFolder, file)) +
           "</FILE>\n      <HOT_SPOT>" + std::string(hotSpot) + "</HOT_SPOT>\n      <SIZE>" + Pair(width, height) +
           "</SIZE>\n    </" + e + ">\n";
}

std::string FontKey(std::string_view font, std::string_view extension) {
    return ResourceKey(Theme::kFontFolder, std::string(font) + std::string(extension));
}

// A label centred at (x, y) of its parent, in ink.
std::string Label(std::string_view indent, int id, std::string_view font, std::string_view text, int x, int y) {
    return std::string(indent) + "<WLABEL" + Attr("ID", XmlNumber(id)) + Attr("FONT", FontKey(font, ".xml")) +
           Attr("FONT_TEXTURE", FontKey(font, ".png")) + Attr("TEXT", text) + Attr("HOT_SPOT", "4") +
           Attr("FONT_COLOR", Hex(Theme::kInk)) + "><POSITION>" + Pair(x, y) + "</POSITION></WLABEL>\n";
}

// An image of a texture, centred at (x, y) of its parent; the children go into its CONTEXT.
std::string Image(std::string_view indent, int id, std::string_view texture, int x, int y, bool visible,
                  std::string_view extra = "", std::string_view children = "") {
    std::string xml = std::string(indent) + "<IMAGE" + Attr("ID", XmlNumber(id)) + Attr("TEXTURE", texture) +
                      Attr("HOT_SPOT", "HS_MID") + Attr("VISIBLE", visible ? "true" : "false") + "><POSITION>" +
                      Pair(x, y) + "</POSITION>" + std::string(extra);
    if (!children.empty())
        xml += "\n" + std::string(indent) + "  <CONTEXT>\n" + std::string(children) + std::string(indent) +
               "  </CONTEXT>\n" + std::string(indent);
    return xml + "</IMAGE>\n";
}

std::string Param(std::string_view key, std::string_view value) {
    return "    <param" + Attr("key", key) + Attr("value", value) + "/>\n";
}

// The left half of the star pair (an empty star), at the tile's star size.
std::string EmptyStar(int side) { return "<SIZE>" + Pair(side, side) + "</SIZE><TEXEL>0 0 0.5 1</TEXEL>"; }
std::string FullStar(int side) { return "<SIZE>" + Pair(side, side) + "</SIZE><TEXEL>0.5 0 1 1</TEXEL>"; }

}  // namespace

const Theme::BoardGeometry* BoardFor(int size) {
    for (const Theme::BoardGeometry& b : Theme::kBoards)
        if (b.size == size) return &b;
    return nullptr;
}

int BonusCount(const Theme::BoardGeometry& board, const LinePicture& picture) {
    const int filled = static_cast<int>(std::count(picture.filled.begin(), picture.filled.end(), true));
    return std::clamp(board.bonuses, 0, filled);
}

std::string BlockFile(const Theme::BoardGeometry& board) { return "block_" + XmlNumber(board.cell) + ".png"; }

std::string PackMainRepository(std::string_view folder) { return std::string(folder) + "/main"; }
std::string PackImageRepository(std::string_view folder) { return std::string(folder) + "/image"; }

std::string LevelFileXml(const LinePicture& picture, const Theme::BoardGeometry& b) {
    return LevelFileXml(picture, b, 0, 0, "");
}

std::string LevelFileXml(const LinePicture& picture, const Theme::BoardGeometry& b, int earLeft, int earUp,
                         std::string_view lookXml) {
    const bool own = !lookXml.empty();
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level>\n";
    xml += "  <settings" + Attr("elSize", Pair(b.cell, b.cell)) + Attr("grid", Pair(picture.cols, picture.rows)) +
           Attr("block", Pair(b.block, b.block)) + Attr("shiftBlock", Pair(b.shift, b.shift)) +
           Attr("position", Pair(b.x, b.y)) + Attr("bonuses", XmlNumber(BonusCount(b, picture)));
    if (own) xml += Attr("ears", Pair(earLeft, earUp));
    xml += ">\n";
    // The block sprite is laid from the field's upper-left corner at the block pitch, so it is
    // anchored there; the selection marks sit on the cells' centres.
    const int block = b.cell * b.block - 2 * b.shift;
    xml += Sprite("block", BlockFile(b), "HS_UL", block, block);
    xml += Sprite("selection_yes", own ? SizedArtFile(kSelectionYesFile, b.cell) : std::string(kSelectionYesFile),
                  "HS_MID", b.cell, b.cell);
    xml += Sprite("selection_no", own ? SizedArtFile(kSelectionNoFile, b.cell) : std::string(kSelectionNoFile),
                  "HS_MID", b.cell, b.cell);
    xml += std::string(lookXml);
    xml += "  </settings>\n  <gElements>\n";
    for (int r = 0; r < picture.rows; ++r) {
        xml += "    ";
        for (int c = 0; c < picture.cols; ++c)
            xml += std::string("<cell type=\"") + (picture.At(c, r) ? "100" : "101") + "\"/>";
        xml += "\n";
    }
    return xml + "  </gElements>\n</level>\n";
}

std::string PackItemXml(const PackSource& pack) {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    const PackProperties& p = pack.properties;
    const std::string art(Theme::kPackArtFolder), image = PackImageRepository(pack.folder);
    // The cover near the card's top; below it the title, then the stars won (open) or the stars it
    // needs (closed), placed in the cover's context so that they show and hide with it.
    const int coverY = -t.height / 2 + t.coverTop + t.coverHeight / 2;
    const int titleY = coverY + t.coverHeight / 2 + 22;
    const int rowY = titleY + 32 - coverY;
    const int stars = 3 * static_cast<int>(pack.levels.size());
    const std::string star = ResourceKey(art, Theme::kLevelTile.starFile);
    const int side = Theme::kLevelTile.star;

    std::string open = Image("          ", t.idStar, star, -34, rowY, true, FullStar(side));
    open += Label("          ", t.idScore, "body18", "0/" + XmlNumber(stars), 8, rowY);
    std::string closed = Image("          ", t.idStar + 1, star, -22, rowY, true, FullStar(side));
    closed += Label("          ", t.idRequired, "body18", XmlNumber(static_cast<int>(p.conditionToPass)), 8, rowY);
    std::string card = Image("      ", t.idOpen, ResourceKey(image, Theme::kPackCoverFile), 0, coverY, true, "", open);
    card += Image("      ", t.idClose, ResourceKey(image, Theme::kPackCoverClosedFile), 0, coverY, false, "", closed);
    card += Label("      ", t.idTitle, "bold22", p.title, 0, titleY);

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<!-- " + pack.folder + ": its card in the pack list and its properties. Made by the content builder. -->\n";
    xml += "<pack" + Attr("size", Pair(t.width, t.height)) + ">\n  <GUI>\n";
    xml += Image("    ", t.idActive, ResourceKey(art, t.activeFile), 0, 0, false);
    xml += Image("    ", t.idCard, ResourceKey(art, t.cardFile), 0, 0, true, "", card);
    xml += "  </GUI>\n  <property>\n";
    xml += Param("gui_open", XmlNumber(t.idOpen));
    xml += Param("gui_close", XmlNumber(t.idClose));
    xml += Param("gui_active", XmlNumber(t.idActive));
    xml += Param("gui_score", XmlNumber(t.idScore));
    xml += Param("gui_required", XmlNumber(t.idRequired));
    xml += Param("background", ResourceKey(image, Theme::kPackBackgroundFile));
    xml += Param("title", p.title);
    xml += Param("theme", p.theme);
    xml += Param("condition_to_pass", XmlNumber(static_cast<int>(p.conditionToPass)));
    xml += Param("is_lock", p.isLock ? "true" : "false");
    xml += Param("price", XmlNumber(p.price));
    xml += Param("inapp", p.inapp);
    return xml + "  </property>\n</pack>\n";
}

std::string PackPagesXml(const PackSource& pack) {
    const Theme::LevelTileTheme& t = Theme::kLevelTile;
    const std::string art(Theme::kPackArtFolder);
    const int pageWidth = t.cols * t.width + (t.cols - 1) * t.interval;
    const int pageHeight = t.rows * t.height + (t.rows - 1) * t.interval;
    const float left = t.x - pageWidth / 2.0f, top = t.y - pageHeight / 2.0f;

    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<!-- " + pack.folder +
           ": the level grid, one item per level file in the same order. Made by the content builder. -->\n";
    xml += "<pages" + Attr("cols", XmlNumber(t.cols)) + Attr("rows", XmlNumber(t.rows)) +
           Attr("interval_x", XmlNumber(t.interval)) + Attr("interval_y", XmlNumber(t.interval)) +
           Attr("turn_type", "SLIDE_HORIZONTAL") + Attr("turn_offset", "1024 768") + Attr("pos", Pair(t.x, t.y)) +
           Attr("slide_rect", Pair(left, top) + " " + Pair(left + pageWidth, top + pageHeight)) +
           Attr("turn_speed", "3000") + ">\n";
    const std::string star = ResourceKey(art, t.starFile);
    for (const LevelSource& level : pack.levels) {
        std::string tile = Label("          ", t.idNumber, "title32", "%d", 0, -12);
        for (int s = 0; s < 3; ++s)
            tile += Image("          ", t.idStar + s, star, (s - 1) * (t.star + 4), t.height / 2 - t.star / 2 - 16,
                          true, EmptyStar(t.star));
        xml += "  <level" + Attr("size", Pair(t.width, t.height)) + ">\n    <GUI>\n";
        xml += Image("      ", t.idActive, ResourceKey(art, t.activeFile), 0, 0, false);
        xml += Image("      ", t.idOpen, ResourceKey(art, t.openFile), 0, 0, true, "", tile);
        xml += Image("      ", t.idClose, ResourceKey(art, t.closedFile), 0, 0, false);
        xml += "    </GUI>\n    <property>\n";
        xml += "  " + Param("gui_open", XmlNumber(t.idOpen));
        xml += "  " + Param("gui_close", XmlNumber(t.idClose));
        xml += "  " + Param("gui_active", XmlNumber(t.idActive));
        xml += "  " + Param("gui_number", XmlNumber(t.idNumber));
        xml += "  " + Param("gui_star", XmlNumber(t.idStar));
        xml += "  " + Param("picture", level.name);
        xml += "  " + Param("file", LevelFileName(level.number));
        xml += "    </property>\n  </level>\n";
    }
    return xml + "</pages>\n";
}

}  // namespace ContentBuilder
