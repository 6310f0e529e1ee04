#include "tools/content_builder/purchase_overlay.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

const Theme::PurchaseOverlayTheme& T() { return Theme::kPurchaseOverlay; }

std::string Colour(uint8_t alpha, Theme::Rgb rgb) {
    return XmlNumber(int{alpha}) + " " + XmlNumber(int{rgb.r}) + " " + XmlNumber(int{rgb.g}) + " " +
           XmlNumber(int{rgb.b});
}

}  // namespace

TextureImage DrawPurchaseSpinner() {
    const int frames = T().frames, cell = T().cell;
    Canvas sheet(frames * cell, cell);
    for (int frame = 0; frame < frames; ++frame) {
        const float cx = static_cast<float>(frame * cell) + cell * 0.5f, cy = cell * 0.5f;
        for (int dot = 0; dot < frames; ++dot) {
            // Clockwise from the top; the lit dot is `frame`, each one behind it a little fainter.
            const int behind = (frame - dot + frames) % frames;
            const float alpha = std::max(T().minAlpha, std::pow(T().tailFade, static_cast<float>(behind)));
            const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(dot) / frames;
            const float x = cx + T().ringRadius * std::sin(angle), y = cy - T().ringRadius * std::cos(angle);
            sheet.FillShape([&](float px, float py) { return CircleDistance(px, py, x, y, T().dotRadius); }, T().dot,
                            alpha);
        }
    }
    return {sheet.Width(), sheet.Height(), sheet.ToRgba8()};
}

std::string PurchaseOverlayXml() {
    const std::string pos = "      <POS>" + XmlNumber(T().x) + " " + XmlNumber(T().y) + "</POS>\n";
    return "  <purchase>\n"
           "    <background>\n      <FILE>" +
           XmlEscape(ResourceKey(Theme::kGuiFolder, Theme::kBackdropFile)) +
           "</FILE>\n      <HOT_SPOT>HS_MID</HOT_SPOT>\n" + pos + "      <SIZE>1024 768</SIZE>\n      <COLOR>" +
           Colour(T().dimAlpha, T().dim) +
           "</COLOR>\n    </background>\n"
           "    <animation>\n      <FILE>" +
           XmlEscape(ResourceKey(T().folder, T().spinnerFile)) + "</FILE>\n      <HOT_SPOT>HS_MID</HOT_SPOT>\n" + pos +
           "      <ANIMATION grid=\"" + XmlNumber(T().frames) + " 1\" frames=\"" + XmlNumber(T().frames) + "\" fps=\"" +
           XmlNumber(T().fps) +
           "\" loop=\"true\" flip=\"false\" ping_pong=\"false\" reverese=\"true\"/>\n"
           "    </animation>\n  </purchase>\n";
}

void BuildPurchaseOverlay(OutputTree& out) {
    out.Write(RunPath(T().folder, T().spinnerFile), EncodeTexture(DrawPurchaseSpinner()));
}

}  // namespace ContentBuilder
