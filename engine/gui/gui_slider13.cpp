#include "engine/gui/gui_slider13.h"

#include <cmath>
#include <numbers>

#include "engine/graphics/mesh.h"
#include "engine/graphics/named_texture.h"
#include "engine/gui/gui_alpha.h"
#include "engine/gui/widget_quad.h"

namespace QRV {

namespace {

// The button size before the texture is known: a frame of the no-texture record.
float UnboundButtonSize() { return TextureWidth(NoTexture()) / static_cast<float>(JC_GUI_SLIDER13::kFrames); }

constexpr int32_t kPartFirstFrame[JC_BASESLIDER::PartCount] = {0, 3, 6};
constexpr int32_t kTrackStartFrame = 9;
constexpr int32_t kTrackBodyFrame = 10;
constexpr int32_t kTrackEndFrame = 11;
constexpr int32_t kFillFrame = 12;

}  // namespace

JC_GUI_SLIDER13::JC_GUI_SLIDER13(int32_t id, const std::string& name, float distance, float min, float max,
                                 float stepSize, float initial, float sx, float sy, float ex, float ey,
                                 float buttonRadius)
    : JC_BASESLIDER(id, distance, min, max, stepSize, initial, sx, sy, ex, ey, buttonRadius, UnboundButtonSize()),
      textureName(name) {
    kind = GUI_KIND::Slider13;
}

JC_GUI_SLIDER13::~JC_GUI_SLIDER13() = default;

void JC_GUI_SLIDER13::SetValue(float v) {
    JC_BASESLIDER::SetValue(v);
    if (built) LayFill();
}

void JC_GUI_SLIDER13::Refresh() {
    if (!built) return;
    for (int32_t i = 0; i < PartCount; ++i) quads[i]->SetFrame(kFrames, kPartFirstFrame[i] + partState[i]);
    LayFill();
}

JS_GUI_EVENT* JC_GUI_SLIDER13::OnMouseMove() {
    JS_GUI_EVENT* record = JC_BASESLIDER::OnMouseMove();
    if (record != nullptr) Refresh();
    return record;
}

JS_GUI_EVENT* JC_GUI_SLIDER13::OnMouseDown() {
    JS_GUI_EVENT* record = JC_BASESLIDER::OnMouseDown();
    if (record != nullptr) Refresh();
    return record;
}

JS_GUI_EVENT* JC_GUI_SLIDER13::OnMouseUp() {
    JS_GUI_EVENT* record = JC_BASESLIDER::OnMouseUp();
    if (record != nullptr) {
        Refresh();
        JS_CALLBACK::Invoke(clickCallback, 0);
    }
    return record;
}

float JC_GUI_SLIDER13::TrackInset() const {
    const float between = std::hypot(parts[Increase].positionX - parts[Decrease].positionX,
                                     parts[Increase].positionY - parts[Decrease].positionY);
    // A track too short for its margins shrinks to its middle.
    return std::fmin(margin, 0.5f * between);
}

void JC_GUI_SLIDER13::LayTrack() {
    const JS_TRANSFORM3& from = parts[Decrease];
    const JS_TRANSFORM3& to = parts[Increase];
    // The track spans the knob's travel, so its ends read as the range's ends.
    const float inset = TrackInset();
    const float length = std::hypot(to.positionX - from.positionX, to.positionY - from.positionY) - 2.0f * inset;
    const float insetX = directionX * inset, insetY = directionY * inset;
    const float angle = std::atan2(directionY, directionX);
    const struct {
        int32_t quad;
        float x, y;
    } pieces[] = {
        {TrackStartQuad, from.positionX + insetX, from.positionY + insetY},
        {TrackBodyQuad, (from.positionX + to.positionX) * 0.5f, (from.positionY + to.positionY) * 0.5f},
        {TrackEndQuad, to.positionX - insetX, to.positionY - insetY},
    };
    for (const auto& piece : pieces) {
        JS_TRANSFORM3& t = *quads[piece.quad]->transform;
        t.positionX = piece.x;
        t.positionY = piece.y;
        t.rotationZ = angle;
    }
    // The body fills the gap between the end pieces' halves that reach into it.
    JC_MESH& body = *quads[TrackBodyQuad];
    body.SetSize(std::fmax(0.0f, length - buttonSize), body.Height());
    body.SetHotSpot(4);
}

void JC_GUI_SLIDER13::LayFill() {
    JC_MESH& fill = *quads[FillQuad];
    const JS_TRANSFORM3& from = parts[Decrease];
    const JS_TRANSFORM3& knob = parts[Knob];
    const float inset = TrackInset();
    // From the knob's place at the minimum (the track's start) to the knob: nothing at the minimum.
    const float along =
        (knob.positionX - from.positionX) * directionX + (knob.positionY - from.positionY) * directionY - inset;
    fill.SetSize(fill.Width(), std::fmax(0.0f, along));
    // Upper middle at the start; the quad's height runs along the track.
    fill.SetHotSpot(1);
    fill.transform->positionX = from.positionX + directionX * inset;
    fill.transform->positionY = from.positionY + directionY * inset;
    fill.transform->rotationZ = std::atan2(directionY, directionX) - std::numbers::pi_v<float> * 0.5f;
}

void JC_GUI_SLIDER13::Draw() {
    if (visible == 0 || !built) return;
    static constexpr int32_t kOrder[QuadCount] = {TrackStartQuad, TrackBodyQuad, TrackEndQuad, FillQuad,
                                                  DecreaseQuad,   IncreaseQuad,  KnobQuad};
    for (int32_t which : kOrder) quads[which]->Draw();
}

void JC_GUI_SLIDER13::RestoreResources() {
    if (built) {
        if (quads[0]->HasTexture()) return;
        JS_TEXTURE* texture = AcquireNamedTexture(textureName);
        if (texture == nullptr) return;
        for (auto& quad : quads) quad->texture = texture;
        return;
    }
    JS_TEXTURE* texture = AcquireNamedTexture(textureName);
    LayOut(TextureWidth(texture) / static_cast<float>(kFrames));
    for (int32_t i = 0; i < PartCount; ++i) {
        quads[i] = std::make_unique<JC_MESH>();
        BuildStripQuad(*quads[i], texture, kFrames, kPartFirstFrame[i] + partState[i], &parts[i]);
    }
    const int32_t trackFrames[] = {kTrackStartFrame, kTrackBodyFrame, kTrackEndFrame, kFillFrame};
    for (int32_t i = TrackStartQuad; i < QuadCount; ++i) {
        quads[i] = std::make_unique<JC_MESH>();
        BuildStripQuad(*quads[i], texture, kFrames, trackFrames[i - TrackStartQuad]);
        quads[i]->transform->parent = transform;
    }
    built = 1;
    LayTrack();
    LayFill();
    SetAlpha(alpha);
}

void JC_GUI_SLIDER13::ReleaseResources() {
    if (!built || !quads[0]->HasTexture()) return;
    // One user for the seven quads.
    ReleaseNamedTexture(quads[0]->texture);
    for (auto& quad : quads) quad->texture = NoTexture();
}

void JC_GUI_SLIDER13::SetAlpha(float a) {
    if (!built) return;
    const uint8_t byte = AlphaByte(a);
    for (auto& quad : quads) SetMeshAlpha(quad.get(), byte);
}

}  // namespace QRV
