#include "tools/content_builder/nine_part_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/soft_shadow.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

// Transparent room around the panel for its shadow.
int ShadowMargin() {
    const Theme::SoftShadow& s = Theme::kPanel.shadow;
    return static_cast<int>(std::ceil(std::max(std::abs(s.offsetX), std::abs(s.offsetY)) + 3.0f * s.sigma));
}

}  // namespace

TextureImage CropImage(const TextureImage& image, int x, int y, int width, int height) {
    TextureImage piece{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
    for (int row = 0; row < height; ++row) {
        const auto from = image.rgba.begin() + (static_cast<ptrdiff_t>(y + row) * image.width + x) * 4;
        std::copy(from, from + static_cast<ptrdiff_t>(width) * 4,
                  piece.rgba.begin() + static_cast<ptrdiff_t>(row) * width * 4);
    }
    return piece;
}

int PanelCornerSize() {
    const Theme::PanelTheme& t = Theme::kPanel;
    const float offset = std::max(std::abs(t.shadow.offsetX), std::abs(t.shadow.offsetY));
    return ShadowMargin() + static_cast<int>(std::ceil(t.radius + offset + 3.0f * t.shadow.sigma));
}

TextureImage DrawPanel() { return DrawPanel(Theme::kPanel.strip); }

TextureImage DrawPanel(int middle) {
    const Theme::PanelTheme& t = Theme::kPanel;
    const int side = 2 * PanelCornerSize() + middle;
    const float m = static_cast<float>(ShadowMargin());
    const float far = static_cast<float>(side) - m;
    Canvas canvas(side, side);
    std::vector<float> shadow = CoverageMask(side, side, [&](float x, float y) {
        return RoundedRectDistance(x, y, m + t.shadow.offsetX, m + t.shadow.offsetY, far + t.shadow.offsetX,
                                   far + t.shadow.offsetY, t.radius);
    });
    GaussianBlur(shadow, side, side, t.shadow.sigma);
    canvas.PaintMask(shadow, t.shadow.colour, t.shadow.alpha);
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, m, m, far, far, t.radius); }, t.border,
                     1.0f);
    const float b = m + t.borderWidth, bf = far - t.borderWidth;
    canvas.FillShape(
        [&](float x, float y) { return RoundedRectDistance(x, y, b, b, bf, bf, t.radius - t.borderWidth); }, t.fill,
        1.0f);
    return {side, side, canvas.ToRgba8()};
}

std::array<TextureImage, 9> CutPanel(const TextureImage& panel) {
    return CutPanelAt(panel, PanelCornerSize(), Theme::kPanel.strip);
}

std::array<TextureImage, 9> CutPanelAt(const TextureImage& panel, int c, int s) {
    const int far = c + s;
    return {CropImage(panel, 0, 0, c, c),   CropImage(panel, c, 0, s, c),     CropImage(panel, far, 0, c, c),
            CropImage(panel, far, c, c, s), CropImage(panel, far, far, c, c), CropImage(panel, c, far, s, c),
            CropImage(panel, 0, far, c, c), CropImage(panel, 0, c, c, s),     CropImage(panel, c, c, s, s)};
}

std::string PanelDescriptionXml() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<panel";
    for (const Theme::FramePlace& place : Theme::kPanelPlaces)
        xml += "\n  " + std::string(place.attribute) + "=\"" + XmlEscape(ResourceKey(Theme::kTestFolder, place.file)) +
               "\"";
    return xml + "/>\n";
}

void BuildNinePartPanel(OutputTree& out) {
    std::array<TextureImage, 9> pieces = CutPanel(DrawPanel());
    for (size_t place = 0; place < pieces.size(); ++place)
        out.Write(RunPath(Theme::kTestFolder, Theme::kPanelPlaces[place].file),
                  EncodeTexture(std::move(pieces[place])));
    out.Write(RunPath(Theme::kTestFolder, Theme::kPanelDescription), PanelDescriptionXml());
}

}  // namespace ContentBuilder
