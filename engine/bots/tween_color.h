#pragma once
// Colour tweens: every vertex colour of a sprite's quad (JC_BOT_COLOR) or one ARGB word
// (JC_BOT_COLOR_JS) goes channel by channel from the colour it has when the delay ends to a
// target colour; the last tick writes the target exactly.

#include <cstdint>

#include "engine/bots/tween_base.h"

namespace QRV {

class G_SPRITE;

// The channel arithmetic both colour tweens share.
class JC_BOT_COLOR_TWEEN : public JC_BOT_TWEEN {
public:
    uint32_t startColor = 0;
    uint32_t targetColor = 0;
    // Target minus start per channel: alpha, red, green, blue.
    int32_t delta[4] = {0, 0, 0, 0};
    float delay = 0.0f;
    float duration = 0.0f;
    float remaining = 0.0f;
    float elapsed = 0.0f;

protected:
    JC_BOT_COLOR_TWEEN(uint32_t targetColor, float delay, float duration);
    // Called by the constructors once the target is stored.
    void CaptureStartIfNoDelay();

    // The target's colour now (0 without a target), and writing one to it.
    virtual uint32_t ReadColor() const = 0;
    virtual void WriteColor(uint32_t argb) = 0;

    int32_t Tick(float dt) override;
    void FinishNow() override;

private:
    void CaptureStart();
};

class JC_BOT_COLOR : public JC_BOT_COLOR_TWEEN {
public:
    JC_BOT_COLOR(G_SPRITE* sprite, uint32_t targetColor, float delay, float duration);

    // Mind the order: duration before delay here. Null when the allocation fails.
    static JC_BOT_COLOR* Create(G_SPRITE* sprite, uint32_t targetColor, float duration, float delay);

    G_SPRITE* sprite = nullptr;  // not owned

protected:
    uint32_t ReadColor() const override;
    void WriteColor(uint32_t argb) override;
};

class JC_BOT_COLOR_JS : public JC_BOT_COLOR_TWEEN {
public:
    JC_BOT_COLOR_JS(uint32_t* word, uint32_t targetColor, float delay, float duration);

    uint32_t* word = nullptr;  // not owned

protected:
    uint32_t ReadColor() const override;
    void WriteColor(uint32_t argb) override;
};

}  // namespace QRV
