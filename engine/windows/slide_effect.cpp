#include "engine/windows/slide_effect.h"

#include <cmath>

#include "engine/bots/tween_transform.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/platform/time_source.h"

using namespace QRV;

namespace {

// The engine's millisecond clock: the game clock's counter, the time source before there is one.
uint32_t ClockMs() { return g_clock != nullptr ? g_clock->nowMs : Platform::NowMs(); }

int32_t MouseX() { return g_mousePos != nullptr ? g_mousePos[0] : 0; }
int32_t MouseY() { return g_mousePos != nullptr ? g_mousePos[1] : 0; }

}  // namespace

int32_t ParseSlideType(std::string_view text) {
    if (text == "SLIDE_HORIZONTAL") return SLIDE_TYPE::Horizontal;
    if (text == "SLIDE_VERTICAL") return SLIDE_TYPE::Vertical;
    return SLIDE_TYPE::Momental;
}

JCSlideEffect::JCSlideEffect() {
    finishRecord.argument = reinterpret_cast<uintptr_t>(this);
    finishRecord.name = "slide_finished";
    finishRecord.fn = &JCSlideEffect::OnSlideFinished;
    LayoutPages();
    UpdateDragLimits();
}

int32_t JCSlideEffect::Message(int32_t messageId, float, float, float, void*) {
    switch (messageId) {
        case MSG::Tick: bots.Update(); return 0;
        case MSG::PointerPressed: BeginDrag(); return 0;
        case MSG::PointerReleased: return Release();
        case MSG::PointerDragged: DragStep(); return 0;
        default: return 0;
    }
}

void JCSlideEffect::LayoutPages() {
    if (strip == nullptr) return;
    if (!haveOrigin) {
        origin = *strip;
        origin.parent = nullptr;
        haveOrigin = true;
    }
    pageTargets.clear();
    for (int32_t i = 0; i < pageCount; ++i) {
        JS_TRANSFORM3 target = origin;
        target.positionX -= static_cast<float>(i) * pageStepX;
        pageTargets.push_back(target);
    }
}

void JCSlideEffect::LayoutPagesFromStrip() {
    haveOrigin = false;
    LayoutPages();
}

void JCSlideEffect::UpdateDragLimits() {
    const float margin = std::fabs(viewX1 - viewX2) / 4.0f;
    switch (type) {
        case SLIDE_TYPE::Horizontal:
            dragMinX = viewX1 + margin;
            dragMinY = viewY1;
            dragMaxX = viewX2 - margin;
            dragMaxY = viewY2;
            break;
        case SLIDE_TYPE::Vertical:
            dragMinX = viewX1;
            dragMinY = viewY1 + margin;
            dragMaxX = viewX2;
            dragMaxY = viewY2 - margin;
            break;
        default: dragMinX = dragMinY = dragMaxX = dragMaxY = 0.0f; break;
    }
}

bool JCSlideEffect::SlideToPage(int32_t page) {
    if (page < 0 || page >= pageCount || static_cast<size_t>(page) >= pageTargets.size() || strip == nullptr) {
        return false;
    }
    targetPage = page;
    const JS_TRANSFORM3& target = pageTargets[static_cast<size_t>(page)];
    float distance = 0.0f;
    if (type == SLIDE_TYPE::Horizontal) distance = std::fabs(target.positionX - strip->positionX);
    if (type == SLIDE_TYPE::Vertical) distance = std::fabs(target.positionY - strip->positionY);
    const float duration = speed > 0.0f ? distance / speed : 0.0f;
    // A slide still under way would go on carrying the strip to its own page after this one ends.
    bots.Clear();
    auto* tween = new JC_BOT_TRANSFORM(strip, target, 0.0f, duration);
    tween->Message(MSG::SetCallback, 0.0f, 0.0f, 0.0f, &finishRecord);
    bots.Add(tween);
    return true;
}

int JCSlideEffect::OnSlideFinished(uintptr_t self) {
    auto* effect = reinterpret_cast<JCSlideEffect*>(self);
    effect->currentPage = effect->targetPage;
    if (effect->delegate != nullptr) effect->delegate->OnPageChanged(effect->currentPage);
    return 0;
}

void JCSlideEffect::BeginDrag() {
    // Without pages there is nothing to drag to or back to.
    if (enabled == 0 || type == SLIDE_TYPE::Momental || pageCount < 1) return;
    const int32_t x = MouseX();
    const int32_t y = MouseY();
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    if (!(viewX1 < fx && fx < viewX2 && viewY1 < fy && fy < viewY2)) return;
    dragging = 1;
    lastMouseX = x;
    lastMouseY = y;
    dragStartMs = ClockMs();
    bots.Clear();
    if (delegate != nullptr) delegate->OnSlideBegin();
}

void JCSlideEffect::DragStep() {
    if (dragging == 0 || strip == nullptr) return;
    const int32_t x = MouseX();
    const int32_t y = MouseY();
    if (type == SLIDE_TYPE::Horizontal) {
        strip->positionX += static_cast<float>(x - lastMouseX);
    } else {
        strip->positionY += static_cast<float>(y - lastMouseY);
    }
    lastMouseX = x;
    lastMouseY = y;
}

int32_t JCSlideEffect::Release() {
    if (dragging == 0) return 0;
    dragging = 0;
    if (IsSliding()) return 0;
    // The page count may have dropped during the drag: no target, no slide.
    const int32_t current = currentPage;
    if (strip == nullptr || current < 0 || static_cast<size_t>(current) >= pageTargets.size()) return 0;

    const JS_TRANSFORM3& target = pageTargets[static_cast<size_t>(current)];
    const float dx = strip->positionX - target.positionX;
    const float dy = std::fabs(strip->positionY - target.positionY);
    int32_t page = current;
    if (type == SLIDE_TYPE::Horizontal && std::fabs(dx) >= kTurnDistance) {
        const double seconds = static_cast<double>(ClockMs() - dragStartMs) / 1000.0;
        if (seconds <= kFlickSeconds) {
            page = dx < 0.0f ? current + 1 : current - 1;
        } else {
            const float x = static_cast<float>(MouseX());
            if (x < dragMinX) {
                page = current + 1;
            } else if (x > dragMaxX) {
                page = current - 1;
            }
        }
    }
    if (!SlideToPage(page)) SlideToPage(current);

    const float moved = type == SLIDE_TYPE::Horizontal ? std::fabs(dx) : dy;
    return moved >= kDragThreshold ? MSG_RESULT::Stop : 0;
}
