#pragma once
// The bonus fly: when a bonus cell is revealed a coin ("money") flies from the cell to the sunime
// counter trailing particles, then the amount rises there as text. The gameplay screen keeps one
// template loaded from the effects file and launches a copy per bonus cell; it updates and draws
// the running copies and drops each one whose Update answers false.
//
// Description (the effects file's "bonus_effect"):
//   <bonus_effect speed="px per second" deflection="px" endpos="x y">
//     <font fntName=".." fntColor=".." fntHotSpot="..">        font reference of the amount text
//       <motion time="seconds" start="x y" endoffset="x y"/>   (any child with "fntName" serves)
//     </font>
//     <text value="+%i"/>                                      wide format of the one amount
//     <particles_follow texture=".." .../>                     particles trailing the coin
//   </bonus_effect>
// The text starts at endpos + start and moves by endoffset over time. Its format is filled by the
// engine's checked formatter with the amount, so a format naming anything but one integer prints
// that conversion as it stands.
//
// A launched fly runs three steps: the flight (a curve from the cell to endpos, bent sideways by
// deflection, at speed), the arrival (the callback gets the amount; the text moves), the removal.

#include <cstdint>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "engine/bots/effect_sequencer.h"
#include "engine/core/closure.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/font_catalogue.h"
#include "engine/graphics/particles.h"
#include "game/gameplay/element.h"

class gcFlyEffect {
public:
    // Called once, on arrival, with the amount.
    using ArrivalCallback = Closure<void(int32_t)>;

    gcFlyEffect() = default;
    ~gcFlyEffect() = default;
    gcFlyEffect(const gcFlyEffect&) = delete;
    gcFlyEffect& operator=(const gcFlyEffect&) = delete;

    // Reads the description; the coin is a copy of `money` (the layout's animation; null draws no
    // coin). False when the element, "endpos", the font reference ("fntName") with its "motion", the "text"
    // "value" or the particles are missing. The particles' texture is bound.
    bool Load(const pugi::xml_node& element, const QRV::G_ANIMATION* money, const QRV::JCFontCatalogue* fonts);
    bool IsLoaded() const { return loaded != 0; }

    // A copy of this template flying from the cell's centre with the amount. Null when the template
    // is not loaded.
    std::unique_ptr<gcFlyEffect> Launch(const gcElement& cell, int32_t amount, ArrivalCallback onArrival) const;

    // One frame: the steps, the coin, the particles. False once all three steps are done.
    bool Update();
    // The particles, then the coin while flying or the text after the arrival.
    void Draw();

    bool IsFlying() const { return phase == kFlying; }
    bool HasArrived() const { return phase != kFlying; }
    bool IsDone() const { return phase == kDone; }
    const std::wstring& Text() const { return text; }
    // Where the amount text stands now.
    QRV::JS_VECTOR2 TextPosition() const { return textPosition; }
    const QRV::G_ANIMATION& Coin() const { return coin; }

    float speed = 0.0f;
    float deflection = 0.0f;
    float endX = 0.0f, endY = 0.0f;
    QRV::JCFontRef font;
    float motionTime = 0.0f;
    float motionStartX = 0.0f, motionStartY = 0.0f;
    float motionEndOffsetX = 0.0f, motionEndOffsetY = 0.0f;
    std::wstring format;
    QRV::G_PARTICLES particles;

private:
    enum Phase : uint8_t { kFlying = 0, kShowing = 1, kDone = 2 };

    // Step callbacks.
    static void Arrived(void* self, gcFlyEffect* fly);
    static void Removed(void* self, gcFlyEffect* fly);
    static void MoveText(void* self, const QRV::JS_VECTOR2& point);

    QRV::G_ANIMATION coin;
    std::wstring text;
    QRV::JS_VECTOR2 textPosition;
    int32_t amount = 0;
    ArrivalCallback onArrival;
    QRV::G_EFFECT_T<gcFlyEffect*> steps;
    uint8_t phase = kFlying;
    uint8_t loaded = 0;
};

// The name the gameplay screen's steps use for the bonus fly.
using GG_EFFECT_BONUS = gcFlyEffect;
