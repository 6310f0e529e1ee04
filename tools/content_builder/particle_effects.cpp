#include "tools/content_builder/particle_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_number.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

std::string Hex(uint32_t argb) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(argb));
    return text;
}

}  // namespace

TextureImage DrawSoftDot() {
    const int side = Theme::kSoftDotSide;
    const float r = side * 0.5f;
    TextureImage image{side, side, std::vector<uint8_t>(static_cast<size_t>(side) * side * 4, 0xFF)};
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const float d = std::hypot(x + 0.5f - r, y + 0.5f - r) / r;
            const float falloff = std::clamp(1.0f - d * d, 0.0f, 1.0f);
            image.rgba[(static_cast<size_t>(y) * side + x) * 4 + 3] =
                static_cast<uint8_t>(std::lround(255.0f * falloff * falloff));
        }
    }
    return image;
}

std::string ParticleElementXml(const Theme::ParticleRecipe& p, std::string_view textureKey, std::string_view indent) {
    const std::string in(indent), child = in + "  ";
    const auto line = [&](std::string_view name, const std::string& text) {
        return child + "<" + std::string(name) + ">" + XmlEscape(text) + "</" + std::string(name) + ">\n";
    };
    // "multiply" true selects additive blending; these dots blend normally over paper.
    std::string xml = in + "<" + std::string(p.element) + " texture=\"" + XmlEscape(textureKey) + "\" multiply=\"" +
                      (p.additive ? "true" : "false") + "\" maxCount=\"" + XmlNumber(p.maxCount) + "\" spreadAngle=\"" +
                      XmlNumber(p.spreadAngle) + "\" frequency=\"" + XmlNumber(p.frequency) + "\" gravity=\"" +
                      XmlEscape(p.gravity) + "\"";
    if (!p.area.empty()) xml += " area=\"" + XmlEscape(p.area) + "\"";
    xml += ">\n";
    xml += line("lifetime", XmlNumber(p.lifetime));
    xml += line("velocity", std::string(p.velocity));
    xml += line("tangent", XmlNumber(p.tangent));
    xml += line("radial", XmlNumber(p.radial));
    xml += line("startSize", XmlNumber(p.startSize));
    xml += line("endSize", XmlNumber(p.endSize));
    xml += line("startColor", Hex(p.startColor));
    xml += line("averColor", Hex(p.averColor));
    xml += line("endColor", Hex(p.endColor));
    return xml + in + "</" + std::string(p.element) + ">\n";
}

std::string ParticleDescriptionsXml() {
    const std::string texture = ResourceKey(Theme::kTestFolder, Theme::kSoftDotFile);
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<particles>\n";
    for (const Theme::ParticleRecipe& p : Theme::kParticles) xml += ParticleElementXml(p, texture, "  ");
    return xml + "</particles>\n";
}

void BuildParticleEffects(OutputTree& out) {
    out.Write(RunPath(Theme::kTestFolder, Theme::kSoftDotFile), EncodeTexture(DrawSoftDot()));
    out.Write(RunPath(Theme::kTestFolder, Theme::kParticleDescriptions), ParticleDescriptionsXml());
}

}  // namespace ContentBuilder
