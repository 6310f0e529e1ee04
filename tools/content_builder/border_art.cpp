#include "tools/content_builder/border_art.h"

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/purchase_overlay.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {

TextureImage DrawBorderTile() {
    const Theme::BorderArtTheme& t = Theme::kBorderArt;
    Canvas canvas(t.tileSide, t.tileSide);
    canvas.FillShape([&](float, float) { return -1.0f; }, t.band, 1.0f);
    // Each dot sits inside its own cell, so nothing crosses the tile's edge and the tile repeats.
    const float cell = static_cast<float>(t.tileSide) / static_cast<float>(t.cells);
    const float half = t.dotSide * 0.5f;
    for (int row = 0; row < t.cells; ++row) {
        for (int column = row % 2; column < t.cells; column += 2) {
            const float cx = (static_cast<float>(column) + 0.5f) * cell, cy = (static_cast<float>(row) + 0.5f) * cell;
            canvas.FillShape(
                [&](float x, float y) {
                    return RoundedRectDistance(x, y, cx - half, cy - half, cx + half, cy + half, t.dotRadius);
                },
                t.dot, t.dotAlpha);
        }
    }
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

TextureImage DrawBorderLine() {
    const Theme::BorderArtTheme& t = Theme::kBorderArt;
    Canvas canvas(t.lineSide, t.lineSide);
    canvas.FillShape([&](float, float) { return -1.0f; }, t.line, 1.0f);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

std::string DataDescriptionsXml() {
    const Theme::BorderArtTheme& t = Theme::kBorderArt;
    auto sprite = [&](std::string_view element, std::string_view file) {
        return "    <" + std::string(element) + ">\n      <FILE>" + XmlEscape(ResourceKey(t.folder, file)) +
               "</FILE>\n      <HOT_SPOT>HS_UL</HOT_SPOT>\n    </" + std::string(element) + ">\n";
    };
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<data>\n  <ear>\n" + sprite("ear_tile", t.tileFile) +
           sprite("ear_line", t.lineFile) + "  </ear>\n" + PurchaseOverlayXml() + "</data>\n";
}

void BuildBorderArt(OutputTree& out) {
    const Theme::BorderArtTheme& t = Theme::kBorderArt;
    out.Write(RunPath(t.folder, t.tileFile), EncodeTexture(DrawBorderTile()));
    out.Write(RunPath(t.folder, t.lineFile), EncodeTexture(DrawBorderLine()));
    out.Write(RunPath(Theme::kDataFolder, Theme::kDataDescriptions), DataDescriptionsXml());
}

}  // namespace ContentBuilder
