#include "engine/gui/gui_progress_bar.h"

#include <cmath>

#include "engine/gui/gui_alpha.h"

namespace QRV {

namespace {

constexpr int32_t kMiddleLeft = 3;

// Hands the sprite's placement over to the widget: the sprite keeps its pivot (its hot spot) and
// sits at the widget's origin.
void HangOff(G_SPRITE& sprite, JS_TRANSFORM3* widget) {
    JS_TRANSFORM3& t = *sprite.transform;
    t.positionX = t.positionY = t.positionZ = 0.0f;
    t.rotationX = t.rotationY = t.rotationZ = 0.0f;
    t.scaleX = t.scaleY = t.scaleZ = 1.0f;
    t.parent = widget;
}

}  // namespace

JC_GUI_PROGRESS_BAR::JC_GUI_PROGRESS_BAR() : JC_BASEPROGRESS(-1) {
    kind = GUI_KIND::ProgressBar;
    background.transform->parent = transform;
    fill.transform->parent = transform;
}

JC_GUI_PROGRESS_BAR::~JC_GUI_PROGRESS_BAR() { delete completionCallback; }

bool JC_GUI_PROGRESS_BAR::Load(const pugi::xml_node& element) {
    const pugi::xml_attribute id = element.attribute("ID");
    if (!id) return false;
    event.id = id.as_int();
    background.Load(element);
    fill.Load(element);
    // The element's placement is the widget's.
    const JS_TRANSFORM3& loaded = *background.transform;
    transform->positionX = loaded.positionX;
    transform->positionY = loaded.positionY;
    transform->positionZ = loaded.positionZ;
    transform->rotationX = loaded.rotationX;
    transform->rotationY = loaded.rotationY;
    transform->rotationZ = loaded.rotationZ;
    transform->scaleX = loaded.scaleX;
    transform->scaleY = loaded.scaleY;
    transform->scaleZ = loaded.scaleZ;
    HangOff(background, transform);
    HangOff(fill, transform);
    // The bar places the fill's anchor itself.
    fill.hotSpot = -1;
    if (fullWidth >= 0.0f) PlaceFill();
    return true;
}

void JC_GUI_PROGRESS_BAR::PlaceFill() {
    const float full = fullWidth > 0.0f ? fullWidth : 0.0f;
    const float tall = height > 0.0f ? height : 0.0f;
    fill.SetSize(value * full, tall);
    fill.SetUVs(0.5f, 0.0f, 0.5f + value * 0.5f, 1.0f);
    fill.SetPivotFromHotSpot(kMiddleLeft, full * 0.5f, 0.0f);
}

void JC_GUI_PROGRESS_BAR::ApplyValue() {
    if (std::isnan(value) || value < 0.0f) value = 0.0f;
    if (value > 1.0f) value = 1.0f;
    PlaceFill();
    if (complete != 0) {
        if (armed != 0) {
            armed = 0;
            CallCallback(completionCallback);
        }
    } else {
        armed = 1;
    }
}

void JC_GUI_PROGRESS_BAR::Draw() {
    if (visible == 0) return;
    background.Draw();
    fill.Draw();
}

void JC_GUI_PROGRESS_BAR::RestoreResources() {
    // A size the element gave ("SIZE") stands; otherwise the first bind sizes the sprite.
    const bool sized = background.width != -1.0f && background.height != -1.0f;
    background.RestoreResources();
    fill.RestoreResources();
    if (fullWidth == -1.0f && background.HasTexture()) {
        fullWidth = sized ? background.width : static_cast<float>(background.texture->width) * 0.5f;
        height = sized ? background.height : static_cast<float>(background.texture->height);
        background.SetSize(fullWidth, height);
        background.SetUVs(0.0f, 0.0f, 0.5f, 1.0f);
    }
    PlaceFill();
    SetAlpha(alpha);
}

void JC_GUI_PROGRESS_BAR::ReleaseResources() {
    background.ReleaseResources();
    fill.ReleaseResources();
}

void JC_GUI_PROGRESS_BAR::SetAlpha(float a) {
    const uint8_t byte = AlphaByte(a);
    SetSpriteAlpha(&background, byte);
    SetSpriteAlpha(&fill, byte);
}

}  // namespace QRV
