#pragma once
// One particle. It starts with the renderer's point record, so a system's live list can be handed
// to the renderer as it is: the point's next link is the list's forward link.

#include "engine/graphics/render.h"

namespace QRV {

struct JS_PARTICLE : JS_POINT_SPRITE {
    // 1 at birth, falling to 0 over the lifetime; the particle is retired once it is below 0.
    float life = 1.0f;
    // Seconds.
    float lifetime = 2.0f;
    float velocityX = 0.0f, velocityY = 0.0f, velocityZ = 0.0f;
    // Spare values for systems that need them; no system here reads them.
    float extra[3] = {0.0f, 0.0f, 0.0f};
    JS_PARTICLE* previous = nullptr;

    JS_PARTICLE* Next() const { return static_cast<JS_PARTICLE*>(next); }
};

}  // namespace QRV
