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

void gcElement::LoadMarkSprites(const gcElementsLayout& source) {
    layout = &source;
    const QRV::G_ANIMATION* markSource = source.FindAnimation(IsPicture() ? "square" : "cross");
    mark = markSource != nullptr ? *markSource : QRV::G_ANIMATION();
    AttachTo(mark, transform);
    // A copy of a bound source is bound already; this binds the rest.
    mark.RestoreResources();
    selectionYes.reset();
    selectionNo.reset();
}

QRV::G_SPRITE& gcElement::Selection(std::unique_ptr<QRV::G_SPRITE>& slot, bool yes) {
    if (slot) return *slot;
    slot = std::make_unique<QRV::G_SPRITE>();
    if (layout != nullptr) {
        *slot = yes ? layout->SelectionYesSprite() : layout->SelectionNoSprite();
        AttachTo(*slot, transform);
        slot->RestoreResources();
    }
    return *slot;
}

void gcElement::ReleaseResources() {
    mark.ReleaseResources();
    if (selectionYes) selectionYes->ReleaseResources();
    if (selectionNo) selectionNo->ReleaseResources();
    if (effect) effect->ReleaseResources();
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
    // A cell of no kind keeps its mark still.
    if (type == Game::kMarkSquare || type == Game::kMarkCross) gcStartAnimation(mark);
    const DoneCallback callback = done;
    const bool right = claimRight != 0;
    if (callback) callback(this, right);
}

void gcElement::SetEffectAnimation(const QRV::G_ANIMATION& animation) {
    if (!effect) effect = std::make_unique<QRV::G_ANIMATION>();
    *effect = animation;
    AttachTo(*effect, transform);
    effect->RestoreResources();
    gcStartAnimation(*effect);
    effectRunning = 1;
    effectFrames = 0;
    effectTimer = 0.0f;
}

void gcElement::Update() {
    // Most cells are idle most frames: an empty queue and stopped animations have nothing to do.
    if (!bots.empty()) QRV::JC_BOT_LIST::UpdateQueue(bots);
    if (mark.playing) mark.Update();
    if (effect && effect->playing) effect->Update();
}
