#include "engine/gui/gui_simple_slider.h"

#include <cmath>

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/widget_quad.h"
#include "engine/platform/input.h"

namespace QRV {

namespace {

// The empty track is the left half of the progress texture, the filled one the right half.
constexpr int32_t kHalves = 2;
constexpr int32_t kEmptyHalf = 0;
constexpr int32_t kFullHalf = 1;

}  // namespace

JC_GUI_SIMPLE_SLIDER::JC_GUI_SIMPLE_SLIDER(int32_t id, const std::string& progressName, const std::string& runnerName)
    : JC_GUI_OBJECT(id), progressTextureName(progressName), runnerTextureName(runnerName) {
    kind = GUI_KIND::Base;
}

JC_GUI_SIMPLE_SLIDER::~JC_GUI_SIMPLE_SLIDER() = default;

JS_GUI_EVENT* JC_GUI_SIMPLE_SLIDER::OnMouseDown() {
    event.code = GUI_EVENT::None;
    if (!shape || g_input == nullptr || !g_input->WasPressed(VK_LBUTTON)) return nullptr;
    if (!shape->Contains(lastMouseX, lastMouseY)) return nullptr;
    pressed = 1;
    return Report(GUI_EVENT::Press);
}

JS_GUI_EVENT* JC_GUI_SIMPLE_SLIDER::OnMouseMove() {
    event.code = GUI_EVENT::None;
    if (pressed == 0) return nullptr;
    // A release that an earlier widget took never reached this one.
    if (g_input == nullptr || g_input->keys[VK_LBUTTON] == 0) {
        pressed = 0;
        return nullptr;
    }
    SetValueFromX(static_cast<int32_t>(std::trunc(lastMouseX)));
    return Report(GUI_EVENT::Drag);
}

JS_GUI_EVENT* JC_GUI_SIMPLE_SLIDER::OnMouseUp() {
    event.code = GUI_EVENT::None;
    if (pressed == 0 || g_input == nullptr || !g_input->WasReleased(VK_LBUTTON)) return nullptr;
    pressed = 0;
    return Report(GUI_EVENT::Click);
}

void JC_GUI_SIMPLE_SLIDER::SetValueFromX(int32_t x) {
    if (!progressQuad || !(trackWidth > 0.0f)) {
        SetValue(0.0f);
        return;
    }
    const JS_TRANSFORM3 placed = GetAbsolute(*progressQuad->transform);
    const float left = std::trunc(placed.positionX - trackWidth * 0.5f);
    const float right = std::trunc(left + trackWidth);
    float at = static_cast<float>(x);
    if (at < left) at = left;
    if (at > right) at = right;
    SetValue((at - left) / trackWidth);
}

void JC_GUI_SIMPLE_SLIDER::SetValue(float v) {
    value = std::isnan(v) ? 0.0f : v;
    if (value < 0.0f) value = 0.0f;
    if (value > 1.0f) value = 1.0f;
    PlaceRunner();
}

void JC_GUI_SIMPLE_SLIDER::PlaceRunner() {
    if (!progressQuad) return;
    runnerQuad->transform->positionX = value * trackWidth - trackWidth * 0.5f;
    runnerQuad->transform->positionY = 0.0f;
    runnerQuad->transform->positionZ = 0.0f;
    // The filled half shown from its left edge up to the value.
    fillQuad->SetFrame(kHalves, kFullHalf);
    const float uLeft = fillQuad->vertices[0].u;
    const float uRight = fillQuad->vertices[1].u;
    fillQuad->vertices[1].u = fillQuad->vertices[2].u = uLeft + (uRight - uLeft) * value;
    fillQuad->SetSize(value * trackWidth, progressQuad->Height());
    fillQuad->SetHotSpot(3);
    fillQuad->transform->positionX = -trackWidth * 0.5f;
}

void JC_GUI_SIMPLE_SLIDER::Draw() {
    if (visible == 0 || !progressQuad) return;
    progressQuad->Draw();
    if (value > 0.0f) fillQuad->Draw();
    runnerQuad->Draw();
}

void JC_GUI_SIMPLE_SLIDER::RestoreResources() {
    if (progressQuad) {
        if (RestoreQuadTexture(*progressQuad, progressTextureName)) fillQuad->texture = progressQuad->texture;
        RestoreQuadTexture(*runnerQuad, runnerTextureName);
        return;
    }
    JS_TEXTURE* progress = AcquireNamedTexture(progressTextureName);
    JS_TEXTURE* runner = AcquireNamedTexture(runnerTextureName);
    progressQuad = std::make_unique<JC_MESH>();
    BuildStripQuad(*progressQuad, progress, kHalves, kEmptyHalf, transform);
    trackWidth = progressQuad->Width();
    fillQuad = std::make_unique<JC_MESH>();
    BuildStripQuad(*fillQuad, progress, kHalves, kFullHalf);
    fillQuad->transform->parent = progressQuad->transform;
    runnerQuad = std::make_unique<JC_MESH>();
    BuildStripQuad(*runnerQuad, runner, 1, 0);
    runnerQuad->transform->parent = progressQuad->transform;
    shape = std::make_unique<JS_HIT_SHAPE>();
    shape->kind = HIT_SHAPE::Rectangle;
    shape->a = trackWidth;
    shape->b = progressQuad->Height();
    shape->transform = progressQuad->transform;
    PlaceRunner();
    SetAlpha(alpha);
}

void JC_GUI_SIMPLE_SLIDER::ReleaseResources() {
    if (!progressQuad) return;
    // The fill shares the track's texture user.
    ReleaseQuadTexture(*progressQuad);
    fillQuad->texture = NoTexture();
    ReleaseQuadTexture(*runnerQuad);
}

void JC_GUI_SIMPLE_SLIDER::SetAlpha(float a) {
    const uint8_t byte = AlphaByte(a);
    for (JC_MESH* quad : {progressQuad.get(), fillQuad.get(), runnerQuad.get()}) {
        if (quad != nullptr) SetMeshAlpha(quad, byte);
    }
}

}  // namespace QRV
