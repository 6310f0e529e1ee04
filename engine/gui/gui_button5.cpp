#include "engine/gui/gui_button5.h"

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/hit_shape.h"
#include "engine/gui/widget_quad.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"

namespace QRV {

namespace {

constexpr int32_t kFrames = 5;
constexpr int32_t kDisabled = 4;
constexpr float kHoverRetest = 0.1f;

}  // namespace

JC_GUI_BUTTON5::JC_GUI_BUTTON5(int32_t id, const std::string& name) : JC_GUI_OBJECT(id), textureName(name) {
    kind = GUI_KIND::Button5;
}

JC_GUI_BUTTON5::~JC_GUI_BUTTON5() = default;

void JC_GUI_BUTTON5::SetState(int32_t newState) {
    state = newState;
    if (HasQuad()) quad->SetFrame(kFrames, state);
}

bool JC_GUI_BUTTON5::PointerInside() const {
    if (!HasQuad() || g_input == nullptr) return false;
    return QuadContains(*quad, static_cast<float>(g_input->mouseX), static_cast<float>(g_input->mouseY));
}

bool JC_GUI_BUTTON5::HoverTest() {
    if (!HasQuad()) return false;
    if (PointerInside()) {
        if (state == 0) {
            SetState(1);
            CallCallback(enterCallback);
            event.code = GUI_EVENT::Enter;
            active = 1;
            return true;
        }
        // Still over it: whatever a walk did to the flag, the button has the pointer.
        if (state == 1 || state == 2) active = 1;
        return false;
    }
    if (state == 1 || state == 2) {
        SetState(0);
        CallCallback(leaveCallback);
        event.code = GUI_EVENT::Leave;
        active = 0;
        return true;
    }
    return false;
}

JS_GUI_EVENT* JC_GUI_BUTTON5::Update() {
    hoverTimer += g_frameTime.load(std::memory_order_relaxed);
    if (hoverTimer >= kHoverRetest) {
        hoverTimer = 0.0f;
        HoverTest();
    }
    return nullptr;
}

JS_GUI_EVENT* JC_GUI_BUTTON5::OnMouseMove() {
    event.code = GUI_EVENT::None;
    return HoverTest() ? &event : nullptr;
}

JS_GUI_EVENT* JC_GUI_BUTTON5::OnMouseDown() {
    if (!HasQuad()) return nullptr;
    event.code = GUI_EVENT::None;
    if (state != 1 || g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    if (active == 0 && !PointerInside()) return nullptr;
    SetState(2);
    CallCallback(pressCallback);
    return Report(GUI_EVENT::Press);
}

JS_GUI_EVENT* JC_GUI_BUTTON5::OnMouseUp() {
    if (!HasQuad()) return nullptr;
    event.code = GUI_EVENT::None;
    if (state != 2 || g_input == nullptr || !g_input->WasReleased(VK_LBUTTON)) return nullptr;
    const bool inside = PointerInside();
    if (active == 0 && !inside) return nullptr;
    SetState(inside ? 1 : 0);
    CallCallback(clickCallback);
    return Report(GUI_EVENT::Click);
}

void JC_GUI_BUTTON5::SetEnabled(bool on) {
    JC_GUI_OBJECT::SetEnabled(on);
    SetState(on ? 0 : kDisabled);
}

void JC_GUI_BUTTON5::ResetState() { SetState(0); }

void JC_GUI_BUTTON5::Draw() {
    if (visible == 0 || !HasQuad()) return;
    quad->Draw();
}

void JC_GUI_BUTTON5::RestoreResources() {
    if (!quad) {
        quad.emplace();
        built = 1;
        BuildStripQuad(*quad, AcquireNamedTexture(textureName), kFrames, state, transform);
    } else {
        RestoreQuadTexture(*quad, textureName);
    }
    SetAlpha(alpha);
}

void JC_GUI_BUTTON5::ReleaseResources() {
    if (quad) ReleaseQuadTexture(*quad);
}

void JC_GUI_BUTTON5::SetAlpha(float a) {
    if (quad) SetMeshAlpha(&*quad, AlphaByte(a));
}

}  // namespace QRV
