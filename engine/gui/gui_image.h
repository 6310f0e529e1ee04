#pragma once
// A widget that shows a sprite or a frame animation (layout element "IMAGE"). It reports no input
// of its own: a code that other code stores in its event record is returned by every press and
// release until that code is reset to 0. The animation plays only once something starts it (an
// animation bot).

#include <string>

#include "engine/gui/gui_object.h"

namespace pugi {
class xml_node;
}

namespace QRV {

class G_ANIMATION;

class JC_GUI_IMAGE : public JC_GUI_OBJECT {
public:
    // Id from "ID" (0 when absent); the sprite reads the same element (FILE or TEXTURE, HOT_SPOT,
    // POS, TRANSFORM, SIZE, COLOR, TEXEL, ANIMATION) on the widget's transform; an attribute
    // "HOT_SPOT" (a hot-spot name), when present, then anchors the sprite.
    explicit JC_GUI_IMAGE(const pugi::xml_node& element);
    ~JC_GUI_IMAGE() override;

    // Advances the animation; null.
    JS_GUI_EVENT* Update() override;
    void Draw() override;
    // The record while its code is not 0, else null.
    JS_GUI_EVENT* OnMouseUp() override;
    JS_GUI_EVENT* OnMouseDown() override;
    float GetWidth() const override;
    float GetHeight() const override;
    JS_TEXTURE* GetTexture() const override;
    // Binds the sprite's texture, then shows the stored alpha.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // A bound sprite changes its texture at once; an unbound one only takes the name.
    void SetTexture(const std::string& name);

    // Owned; shares the widget's transform.
    G_ANIMATION* sprite = nullptr;
};

}  // namespace QRV
