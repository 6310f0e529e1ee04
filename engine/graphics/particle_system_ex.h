#pragma once
// A particle system whose particles also grow or shrink over their life and are pushed along
// (radial) and across (tangent) their own direction of travel.

#include "engine/graphics/particle_system.h"

namespace QRV {

class JC_PARTICLE_SYSTEM_EX : public JC_PARTICLE_SYSTEM {
public:
    explicit JC_PARTICLE_SYSTEM_EX(JS_TEXTURE* texture) : JC_PARTICLE_SYSTEM(texture) {}

    // The base description, then "startSize", "endSize", "tangent" and "radial" (child texts).
    bool LoadDescription(const pugi::xml_node& element);

    // size = startSize.
    void InitParticle(JS_PARTICLE* particle) override;
    // The size moves linearly towards endSize over the lifetime; radial acceleration along the
    // particle's direction and tangential across it.
    void UpdateParticle(JS_PARTICLE* particle, float frameTime) override;

    void CopySettings(const JC_PARTICLE_SYSTEM_EX& other);

    float startSize = 0.0f;
    float endSize = 0.0f;
    float tangent = 0.0f;
    float radial = 0.0f;
};

}  // namespace QRV
