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

std::string Child(std::string_view name, const std::string& text) {
    return "    <" + std::string(name) + ">" + XmlEscape(text) + "</" + std::string(name) + ">\n";
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

std::string ParticleDescriptionsXml() {
    const std::string texture = XmlEscape(ResourceKey(Theme::kTestFolder, Theme::kSoftDotFile));
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<particles>\n";
    for (const Theme::ParticleRecipe& p : Theme::kParticles) {
        // "multiply" true selects additive blending; these dots blend normally over paper.
        xml += "  <" + std::string(p.element) + " texture=\"" + texture + "\" multiply=\"" +
               (p.additive ? "true" : "false") + "\" maxCount=\"" + XmlNumber(p.maxCount) + "\" spreadAngle=\"" +
               XmlNumber(p.spreadAngle) + "\" frequency=\"" + XmlNumber(p.frequency) + "\" gravity=\"" +
               XmlEscape(p.gravity) + "\"";
        if (!p.area.empty()) xml += " area=\"" + XmlEscape(p.area) + "\"";
        xml += ">\n";
        xml += Child("lifetime", XmlNumber(p.lifetime));
        xml += Child("velocity", std::string(p.velocity));
        xml += Child("tangent", XmlNumber(p.tangent));
        xml += Child("radial", XmlNumber(p.radial));
        xml += Child("startSize", XmlNumber(p.startSize));
        xml += Child("endSize", XmlNumber(p.endSize));
        xml += Child("startColor", Hex(p.startColor));
        xml += Child("averColor", Hex(p.averColor));
        xml += Child("endColor", Hex(p.endColor));
        xml += "  </" + std::string(p.element) + ">\n";
    }
    return xml + "</particles>\n";
}

void BuildParticleEffects(OutputTree& out) {
    out.Write(RunPath(Theme::kTestFolder, Theme::kSoftDotFile), EncodeTexture(DrawSoftDot()));
    out.Write(RunPath(Theme::kTestFolder, Theme::kParticleDescriptions), ParticleDescriptionsXml());
}

}  // namespace ContentBuilder
