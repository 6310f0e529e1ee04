#include "game/gameplay/element.h"

#include "engine/bots/actor_tick.h"
#include "engine/bots/bot_list.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/mark_mode.h"

namespace {

// A copy of a shared sprite placed under the cell: a borrowed transform would move someone
// else's sprite, so the copy gets its own first.
template <class Sprite>
void AttachTo(Sprite& sprite, QRV::JS_TRANSFORM3& parent) {
    if (!sprite.ownsTransform) sprite.SetTransform(nullptr);
    sprite.transform->parent = &parent;
    sprite.worldCache.valid = false;
}

}  // namespace

static_assert(gcElement::kPictureType == Game::kMarkSquare);

void gcStartAnimation(QRV::G_ANIMATION& animation) {
    animation.step = animation.direction ? 1 : -1;
    animation.SetFrame(animation.direction ? 0 : animation.LastFrame());
    animation.accumulator = 0.0f;
    animation.playing = 1;
}

gcElement::gcElement(int32_t type, int32_t row, int32_t column) : column(column), row(row), type(type) {}

gcElement::~gcElement() { QRV::JC_BOT_LIST::ClearQueue(bots); }

void gcElement::Place(int32_t cellWidth, int32_t cellHeight, float centreX, float centreY) {
    width = cellWidth;
    height = cellHeight;
    transform.positionX = centreX;
    transform.positionY = centreY;
    transform.positionZ = 0.0f;
    left = centreX - static_cast<float>(cellWidth) * 0.5f;
    top = centreY - static_cast<float>(cellHeight) * 0.5f;
}

void gcElement::LoadMarkSprites(const gcElementsLayout& layout) {
    const QRV::G_ANIMATION* squareSource = layout.FindAnimation("square");
    const QRV::G_ANIMATION* crossSource = layout.FindAnimation("cross");
    square = squareSource != nullptr ? *squareSource : QRV::G_ANIMATION();
    cross = crossSource != nullptr ? *crossSource : QRV::G_ANIMATION();
    selectionYes = layout.SelectionYesSprite();
    selectionNo = layout.SelectionNoSprite();
    AttachTo(square, transform);
    AttachTo(cross, transform);
    AttachTo(selectionYes, transform);
    AttachTo(selectionNo, transform);
    // A copy of a bound source is bound already; these bind the rest.
    square.RestoreResources();
    cross.RestoreResources();
    selectionYes.RestoreResources();
    selectionNo.RestoreResources();
}

void gcElement::ReleaseResources() {
    square.ReleaseResources();
    cross.ReleaseResources();
    selectionYes.ReleaseResources();
    selectionNo.ReleaseResources();
    effect.ReleaseResources();
}

bool gcElement::Open(int32_t assertedType, DoneCallback callback, float delay) {
    if (opened || IsBusy()) return false;
    auto* timer = new QRV::JCBot_Tick(delay, 0.0f);
    timer->completion = Closure<void()>(this, [](void* self) { static_cast<gcElement*>(self)->OnOpenDone(); });
    bots.push_back(timer);
    claimRight = type == assertedType ? 1 : 0;
    done = callback;
    return true;
}

void gcElement::OnOpenDone() {
    opened = 1;
    if (type == Game::kMarkSquare) {
        gcStartAnimation(square);
    } else if (type == Game::kMarkCross) {
        gcStartAnimation(cross);
    }
    const DoneCallback callback = done;
    const bool right = claimRight != 0;
    if (callback) callback(this, right);
}

void gcElement::SetEffectAnimation(const QRV::G_ANIMATION& animation) {
    effect = animation;
    AttachTo(effect, transform);
    effect.RestoreResources();
    gcStartAnimation(effect);
    effectRunning = 1;
    effectFrames = 0;
    effectTimer = 0.0f;
}

void gcElement::Update() {
    // Most cells are idle most frames: an empty queue and stopped animations have nothing to do.
    if (!bots.empty()) QRV::JC_BOT_LIST::UpdateQueue(bots);
    if (square.playing) square.Update();
    if (cross.playing) cross.Update();
    if (effect.playing) effect.Update();
}
