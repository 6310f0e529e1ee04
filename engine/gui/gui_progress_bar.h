#pragma once
// A bar that shows a fraction as its filled part, and can tell its owner once each time it
// completes.
//
// The texture holds two halves: the left the empty bar (the background), the right the full bar
// (the fill). Both sprites hang off the widget's transform, so moving the widget moves the bar;
// the placement the element gives them ("POS", "TRANSFORM") goes to the widget. The fill grows
// from the bar's left edge.
//
// The owner writes `value` (a fraction; kept within 0..1) and `complete`, then calls ApplyValue.
// The completion callback (called with the widget) runs on an apply that finds the bar complete
// and armed, and disarms it; an apply that finds it incomplete arms it again. A new bar is armed,
// so one that is complete at its first apply calls back too.

#include <cstdint>

#include <pugixml.hpp>

#include "engine/core/callback.h"
#include "engine/graphics/sprite.h"
#include "engine/gui/gui_object.h"

namespace QRV {

class JC_BASEPROGRESS : public JC_GUI_OBJECT {
public:
    explicit JC_BASEPROGRESS(int32_t id) : JC_GUI_OBJECT(id) {}

    // Shows the value.
    virtual void ApplyValue() = 0;
};

class JC_GUI_PROGRESS_BAR : public JC_BASEPROGRESS {
public:
    // Id -1 until loaded.
    JC_GUI_PROGRESS_BAR();
    // Frees the completion callback.
    ~JC_GUI_PROGRESS_BAR() override;

    // False without "ID"; otherwise the id from "ID" and both sprites from the element's sprite
    // keys ("FILE" or "TEXTURE", "HOT_SPOT", "POS", "TRANSFORM", "SIZE", "COLOR", "TEXEL").
    bool Load(const pugi::xml_node& element);

    // The fill to the value (clamped to 0..1 first), then the completion rule above.
    void ApplyValue() override;
    // The background, then the fill.
    void Draw() override;
    // Binds both sprites; the first bind also sets the bar's size: the element's "SIZE", else
    // half the texture's width by its height.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    uint8_t complete = 0;
    // Kept for the owner: a range in percent and a position in it.
    float rangeMinimum = 0.0f;
    float rangeMaximum = 100.0f;
    float position = 0.0f;
    // The fraction of the bar shown.
    float value = 0.0f;
    // Owned.
    JS_CALLBACK* completionCallback = nullptr;
    uint8_t armed = 1;
    // The bar's size; -1 until the texture is known.
    float fullWidth = -1.0f;
    float height = -1.0f;
    G_SPRITE background;
    G_SPRITE fill;

private:
    // Size, texture coordinates and anchor of the fill for the value.
    void PlaceFill();
};

}  // namespace QRV
