#include "engine/bots/tween_color.h"

#include <new>

#include "engine/graphics/sprite.h"

namespace QRV {

namespace {

// Channel i of an ARGB word: 0 alpha, 1 red, 2 green, 3 blue.
int32_t Channel(uint32_t argb, int i) { return static_cast<int32_t>((argb >> (24 - 8 * i)) & 0xFFu); }

}  // namespace

JC_BOT_COLOR_TWEEN::JC_BOT_COLOR_TWEEN(uint32_t targetColor, float delay, float duration)
    : JC_BOT_TWEEN("bot_color"), targetColor(targetColor), delay(delay), duration(duration), remaining(duration) {}

void JC_BOT_COLOR_TWEEN::CaptureStartIfNoDelay() {
    if (delay <= 0.0f) CaptureStart();
}

void JC_BOT_COLOR_TWEEN::CaptureStart() {
    startColor = ReadColor();
    for (int i = 0; i < 4; ++i) delta[i] = Channel(targetColor, i) - Channel(startColor, i);
}

int32_t JC_BOT_COLOR_TWEEN::Tick(float dt) {
    if (delay > 0.0f) {
        delay -= dt;
        if (delay <= 0.0f) CaptureStart();
        return MSG_RESULT::GoOn;
    }
    // remaining > 0 implies duration > 0.
    if (remaining > 0.0f) {
        uint32_t argb = 0;
        for (int i = 0; i < 4; ++i) {
            const float value =
                static_cast<float>(Channel(startColor, i)) + static_cast<float>(delta[i]) * elapsed / duration;
            argb |= (static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFu) << (24 - 8 * i);
        }
        WriteColor(argb);
        elapsed += dt;
        remaining -= dt;
        return MSG_RESULT::GoOn;
    }
    FinishNow();
    return MSG_RESULT::Finished;
}

void JC_BOT_COLOR_TWEEN::FinishNow() {
    remaining = 0.0f;
    WriteColor(targetColor);
    End();
}

JC_BOT_COLOR::JC_BOT_COLOR(G_SPRITE* sprite, uint32_t targetColor, float delay, float duration)
    : JC_BOT_COLOR_TWEEN(targetColor, delay, duration), sprite(sprite) {
    CaptureStartIfNoDelay();
}

JC_BOT_COLOR* JC_BOT_COLOR::Create(G_SPRITE* sprite, uint32_t targetColor, float duration, float delay) {
    return new (std::nothrow) JC_BOT_COLOR(sprite, targetColor, delay, duration);
}

uint32_t JC_BOT_COLOR::ReadColor() const {
    if (sprite == nullptr || sprite->vertices == nullptr || sprite->vertexCount == 0) return 0;
    return sprite->vertices[0].color;
}

void JC_BOT_COLOR::WriteColor(uint32_t argb) {
    if (sprite != nullptr) SetMeshColor(sprite, argb);
}

JC_BOT_COLOR_JS::JC_BOT_COLOR_JS(uint32_t* word, uint32_t targetColor, float delay, float duration)
    : JC_BOT_COLOR_TWEEN(targetColor, delay, duration), word(word) {
    CaptureStartIfNoDelay();
}

uint32_t JC_BOT_COLOR_JS::ReadColor() const { return word != nullptr ? *word : 0; }

void JC_BOT_COLOR_JS::WriteColor(uint32_t argb) {
    if (word != nullptr) *word = argb;
}

}  // namespace QRV
