#include "engine/graphics/particles.h"

#include "engine/graphics/named_texture.h"

namespace QRV {

G_PARTICLES::G_PARTICLES() : system(NoTexture()) {}

G_PARTICLES::G_PARTICLES(const G_PARTICLES& from) : textureName(from.textureName), system(NoTexture()) {
    system.CopySettings(from.system);
    // A shared handle would be released twice but counted once.
    if (from.system.IsBound()) BindTexture();
}

G_PARTICLES::~G_PARTICLES() { ReleaseTexture(); }

bool G_PARTICLES::Load(const pugi::xml_node& element) {
    if (!element) return false;
    const bool described = static_cast<bool>(element.attribute("texture"));
    // Loading unbinds the system; the reference it held must not be lost with it.
    if (described) ReleaseTexture();
    system.LoadDescription(element);
    textureName = element.attribute("texture").as_string();
    return described;
}

void G_PARTICLES::BindTexture() {
    if (system.IsBound() || textureName.empty()) return;
    JS_TEXTURE* texture = AcquireNamedTexture(textureName);
    if (texture != nullptr) system.SetTexture(texture);
}

void G_PARTICLES::ReleaseTexture() {
    if (!system.IsBound()) return;
    ReleaseNamedTexture(system.texture);
    system.SetTexture(NoTexture());
}

}  // namespace QRV
