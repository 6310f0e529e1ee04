#include "engine/gui/gui_checkbox5.h"

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/widget_quad.h"
#include "engine/platform/input.h"

namespace QRV {

namespace {

constexpr int32_t kFrames = 5;
constexpr int32_t kChecked = 3;
constexpr int32_t kMark = 3;

}  // namespace

JC_GUI_CHECKBOX5::JC_GUI_CHECKBOX5(int32_t id, const std::string& name)
    : JC_GUI_CHECKBOX_INTERFACE(id), textureName(name) {
    kind = GUI_KIND::Checkbox5;
}

JC_GUI_CHECKBOX5::~JC_GUI_CHECKBOX5() = default;

void JC_GUI_CHECKBOX5::ShowFrame(int32_t frame) {
    // Every move walk asks for a frame; most of the time it is the one shown already.
    if (built == 0 || frame == shownFrame) return;
    quad->SetFrame(kFrames, frame);
    shownFrame = frame;
}

JS_GUI_EVENT* JC_GUI_CHECKBOX5::OnMouseMove() {
    if (!built) return nullptr;
    event.code = GUI_EVENT::None;
    if (!shape->Contains(lastMouseX, lastMouseY)) {
        if (state == kChecked) {
            hovered = 0;
            pressing = 0;
        } else if (state == 1) {
            state = 0;
            pressing = 0;
            CallCallback(leaveCallback);
            event.code = GUI_EVENT::Leave;
            active = 0;
        }
    } else if (state == kChecked) {
        // Reported on every move while over a checked box.
        hovered = 1;
        active = 1;
        CallCallback(enterCallback);
        event.code = GUI_EVENT::Enter;
    } else if (state == 0) {
        state = 1;
        CallCallback(enterCallback);
        event.code = GUI_EVENT::Enter;
        active = 1;
    }
    ShowFrame(state);
    return event.code != GUI_EVENT::None ? &event : nullptr;
}

JS_GUI_EVENT* JC_GUI_CHECKBOX5::OnMouseDown() {
    if (!built) return nullptr;
    event.code = GUI_EVENT::None;
    if (g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    if (state == 1 && active != 0) {
        state = 2;
        ShowFrame(state);
    } else if (state != kChecked || hovered == 0) {
        return nullptr;
    }
    pressing = 1;
    CallCallback(pressCallback);
    return Report(GUI_EVENT::Press);
}

JS_GUI_EVENT* JC_GUI_CHECKBOX5::OnMouseUp() {
    if (!built) return nullptr;
    event.code = GUI_EVENT::None;
    if (pressing == 0 || g_input == nullptr || !g_input->WasReleased(VK_LBUTTON)) return nullptr;
    if (state == kChecked) {
        state = 1;
    } else if (state == 2) {
        state = kChecked;
    } else {
        return nullptr;
    }
    ShowFrame(state);
    pressing = 0;
    CallCallback(clickCallback);
    return Report(GUI_EVENT::Click);
}

void JC_GUI_CHECKBOX5::SetChecked(bool checked, bool) {
    state = checked ? kChecked : 0;
    ShowFrame(state);
}

void JC_GUI_CHECKBOX5::SetSize(int32_t width, int32_t height) {
    storedWidth = width;
    storedHeight = height;
    if (built) ApplySize();
}

void JC_GUI_CHECKBOX5::ApplySize() {
    quad->SetSize(static_cast<float>(storedWidth), static_cast<float>(storedHeight));
    quad->SetHotSpot(4);
    shape->a = static_cast<float>(storedWidth);
    shape->b = static_cast<float>(storedHeight);
}

void JC_GUI_CHECKBOX5::Draw() {
    if (visible == 0 || !built) return;
    if (state == kChecked) {
        ShowFrame(hovered != 0 ? (pressing != 0 ? 2 : 1) : 0);
        quad->Draw();
        ShowFrame(kMark);
    }
    quad->Draw();
}

void JC_GUI_CHECKBOX5::RestoreResources() {
    if (built) {
        RestoreQuadTexture(*quad, textureName);
        return;
    }
    JS_TEXTURE* texture = AcquireNamedTexture(textureName);
    quad.emplace();
    BuildStripQuad(*quad, texture, kFrames, state, transform);
    shownFrame = state;
    shape.emplace();
    shape->kind = HIT_SHAPE::Rectangle;
    shape->a = TextureWidth(texture) * 0.2f;
    shape->b = TextureHeight(texture);
    shape->transform = transform;
    built = 1;
    if (storedWidth != 0 || storedHeight != 0) ApplySize();
    SetAlpha(alpha);
}

void JC_GUI_CHECKBOX5::ReleaseResources() {
    if (quad) ReleaseQuadTexture(*quad);
}

void JC_GUI_CHECKBOX5::SetAlpha(float a) {
    if (quad) SetMeshAlpha(&*quad, AlphaByte(a));
}

}  // namespace QRV
