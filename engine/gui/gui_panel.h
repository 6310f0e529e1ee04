#pragma once
// A background widget drawn as one texture on one quad, centred on the widget's position. It can
// be hovered, pressed, clicked and, when movable, dragged (gui_panel_base.h).
//
// The quad shares the widget's transform, so the widget's pivot is the quad's centre and the
// children are placed from the panel's centre.
//
// Size: the texture's, unless SetSize gave one; a SetSize before the first RestoreResources is
// kept and used by it.

#include <string>

#include "engine/graphics/sprite.h"
#include "engine/gui/gui_panel_base.h"

namespace QRV {

class JC_GUI_PANEL : public JC_GUI_PANEL_BASE {
public:
    // Movable unless told otherwise.
    JC_GUI_PANEL(int32_t id, const std::string& textureName);

    // The quad, while visible.
    void Draw() override;
    JS_TEXTURE* GetTexture() const override { return quad.texture; }
    // The quad and the rectangle become w x h, the quad centred again.
    void SetSize(int32_t w, int32_t h) override;
    // The first call builds the quad and the rectangle; later calls bind the texture again after
    // a release. Then the stored alpha.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    bool IsBuilt() const { return built != 0; }

    const std::string textureName;
    float width = 0.0f;
    float height = 0.0f;
    G_SPRITE quad;

private:
    uint8_t built = 0;
};

}  // namespace QRV
