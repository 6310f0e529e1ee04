#pragma once
// A particle system: emits particles from an area at a frequency, moves them under gravity, fades
// their colour from a start through a middle to an end colour over their life and retires them.
// Driven once per frame on the main thread with the global frame time.

#include <cstdint>

#include <pugixml.hpp>

#include "engine/core/transform.h"
#include "engine/core/value_types.h"
#include "engine/graphics/particle.h"
#include "engine/graphics/texture.h"

namespace QRV {

class JC_PARTICLE_SYSTEM {
public:
    // Default settings; the template particle's size is the texture's pixel height (0 for null).
    explicit JC_PARTICLE_SYSTEM(JS_TEXTURE* texture);
    virtual ~JC_PARTICLE_SYSTEM();
    // The particle lists are owned: copy settings with CopySettings instead.
    JC_PARTICLE_SYSTEM(const JC_PARTICLE_SYSTEM&) = delete;
    JC_PARTICLE_SYSTEM& operator=(const JC_PARTICLE_SYSTEM&) = delete;

    // Reads a description only when the element has the attribute "texture"; the texture becomes
    // the no-texture record (the owner binds the real one by name). Absent keys keep their values.
    // False when nothing was read.
    bool LoadDescription(const pugi::xml_node& element);

    // One frame with the global frame time.
    virtual void Update();
    // Called for each new particle before it joins the live list.
    virtual void InitParticle(JS_PARTICLE* particle);
    // Called for each live particle after it has moved.
    virtual void UpdateParticle(JS_PARTICLE* particle, float frameTime);

    // One frame of frameTime seconds: moves, colours and retires the particles, runs the emitter
    // once, deletes the retired particles, and counts the emission time down.
    void Advance(float frameTime);
    // Draws every live particle through the absolute transform. An unbound system draws nothing.
    void Draw();

    // Emits for this many seconds (0 or less: until Stop).
    void Start(float seconds = 0.0f);
    // No more emission; live particles run out their lives.
    void Stop();
    // Drops every particle and stops emitting.
    void Reset();
    // Moves the emission area so that its centre is (x, y) in the system's own space. Live
    // particles stay where they are, so a moving emitter leaves a trail; the transform, by
    // contrast, moves the whole cloud.
    void SetPosition(float x, float y);

    // Binds a texture record as it is (nothing counted); the pixel height follows it.
    void SetTexture(JS_TEXTURE* texture);
    // frequency per second; the interval between emissions is its inverse (never for 0 or less).
    void SetFrequency(float perSecond);
    // Every setting of other, the transform pointer included; the particles and the texture stay.
    void CopySettings(const JC_PARTICLE_SYSTEM& other);

    bool IsBound() const;
    JS_PARTICLE* FirstParticle() const { return live; }

    int32_t particleCount = 0;
    int32_t maxCount = 8096;
    float gravityX = 0.0f, gravityY = 140.0f, gravityZ = 0.0f;
    float velocityX = 0.0f, velocityY = 150.0f, velocityZ = 0.0f;
    // Radians; new particles leave within half of it either side of the velocity.
    float spreadAngle = 0.0f;
    JS_COLORf startColor{1.0f, 1.0f, 1.0f, 1.0f};
    JS_COLORf middleColor{0.0f, 1.0f, 0.0f, 1.0f};
    JS_COLORf endColor{1.0f, 247.0f / 255.0f, 0.0f, 136.0f / 255.0f};
    // Alpha blend, additive, point filter, textured, point sprites.
    uint32_t renderState = 0x3416;
    // What every new particle starts as.
    JS_PARTICLE templateParticle;
    // Not owned; null places the particles in screen space.
    JS_TRANSFORM3* transform = nullptr;
    // Seconds of emission left; 0 emits until stopped.
    float emissionTimeLeft = 0.0f;
    uint8_t emitting = 0;
    float frequency = 1.0f;
    float interval = 1.0f;
    float emissionTimer = 0.0f;
    JS_TEXTURE* texture = nullptr;
    int32_t textureHeight = 0;
    // A rectangle, or with right = 0 a disc of the radius around (left, top).
    float areaLeft = 0.0f, areaTop = 0.0f, areaRight = 0.0f, areaBottom = 0.0f;
    float areaRadius = 0.0f;

private:
    // At most one particle per frame, when emitting, below maxCount and the interval has passed.
    void Emit();
    // Moves a live particle to the list deleted at the end of the frame.
    void Retire(JS_PARTICLE* particle);
    void DeleteList(JS_PARTICLE*& first);

    JS_PARTICLE* live = nullptr;
    JS_PARTICLE* retired = nullptr;
};

}  // namespace QRV
