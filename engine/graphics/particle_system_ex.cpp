#include "engine/graphics/particle_system_ex.h"

#include <cmath>

#include "engine/core/conversions.h"

namespace QRV {

bool JC_PARTICLE_SYSTEM_EX::LoadDescription(const pugi::xml_node& element) {
    if (!JC_PARTICLE_SYSTEM::LoadDescription(element)) return false;
    if (const auto c = element.child("startSize")) startSize = AsciiToFloat(c.child_value());
    if (const auto c = element.child("endSize")) endSize = AsciiToFloat(c.child_value());
    if (const auto c = element.child("tangent")) tangent = AsciiToFloat(c.child_value());
    if (const auto c = element.child("radial")) radial = AsciiToFloat(c.child_value());
    return true;
}

void JC_PARTICLE_SYSTEM_EX::InitParticle(JS_PARTICLE* p) { p->size = startSize; }

void JC_PARTICLE_SYSTEM_EX::UpdateParticle(JS_PARTICLE* p, float dt) {
    // The base system never hands over a particle whose lifetime is 0 or less.
    p->size += (endSize - startSize) * dt / p->lifetime;

    float nx = p->velocityX, ny = p->velocityY, nz = p->velocityZ;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length != 0.0f) {
        nx /= length;
        ny /= length;
        nz /= length;
    }
    p->velocityX += nx * radial * dt;
    p->velocityY += ny * radial * dt;
    p->velocityZ += nz * radial * dt;
    p->velocityX += -ny * tangent * dt;
    p->velocityY += nx * tangent * dt;
    p->velocityZ += nz * tangent * dt;
}

void JC_PARTICLE_SYSTEM_EX::CopySettings(const JC_PARTICLE_SYSTEM_EX& other) {
    JC_PARTICLE_SYSTEM::CopySettings(other);
    startSize = other.startSize;
    endSize = other.endSize;
    tangent = other.tangent;
    radial = other.radial;
}

}  // namespace QRV
