#pragma once
// The slide of a paged grid's strip: the player drags the strip inside a view rectangle, the
// release decides between the next page, the previous one and the current one, and a transform
// tween carries the strip to that page's target. The owner hears when a drag begins and when a
// slide has ended on a page.
//
//   message 1   ticks the running slide
//   message 47  a press: starts a drag when it lies strictly inside the view rectangle
//   message 48  a release: ends the drag and starts the slide; Stop when the strip had moved by
//               kDragThreshold pixels or more (the release is then no click), else 0
//   message 49  a move: while dragging, the strip follows the pointer along the slide axis
//
// One slide runs at a time: a new slide (or a drag) replaces the running one, so the strip and
// the current page always agree once it ends.

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/bots/object_base.h"
#include "engine/core/callback.h"
#include "engine/core/transform.h"

namespace SLIDE_TYPE {
constexpr int32_t Horizontal = 0;  // "SLIDE_HORIZONTAL"
constexpr int32_t Vertical = 1;    // "SLIDE_VERTICAL"
constexpr int32_t Momental = 2;    // "MOMENTAL": no drags, slides take no time
}  // namespace SLIDE_TYPE

// Exact names; any other text is Momental.
int32_t ParseSlideType(std::string_view text);

class JCSlideEffectDelegate {
public:
    virtual ~JCSlideEffectDelegate() = default;
    virtual void OnSlideBegin() = 0;
    virtual void OnPageChanged(int32_t page) = 0;
};

class JCSlideEffect : public QRV::JC_BASE {
public:
    // A drag of at least this many pixels along the slide axis is no click.
    static constexpr float kDragThreshold = 4.0f;
    // A horizontal drag of at least this many pixels may turn the page.
    static constexpr float kTurnDistance = 100.0f;
    // A turning drag released within this many seconds of its press is a flick.
    static constexpr double kFlickSeconds = 0.5;

    JCSlideEffect();
    // The running slide is a tween of the bot list; a copy would share the strip's animation.
    JCSlideEffect(const JCSlideEffect&) = delete;
    JCSlideEffect& operator=(const JCSlideEffect&) = delete;

    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    // Starts the tween to the page's target (replacing a running slide); false, and nothing
    // changes, for a page that does not exist.
    bool SlideToPage(int32_t page);
    // One target per page, page i lying i page steps back along x from page 0's placement. Page 0's
    // placement is the strip's as it stood at the first lay-out (or the last
    // LayoutPagesFromStrip), so a strip that shows another page or is being dragged does not
    // shift the targets. Nothing without a strip.
    void LayoutPages();
    // The strip has just been placed: where it stands becomes page 0's placement.
    void LayoutPagesFromStrip();
    // The release zone of a slow drag: the view rectangle less a quarter of its width at either
    // end of the slide axis.
    void UpdateDragLimits();

    bool IsSliding() const { return !bots.IsEmpty(); }
    bool IsDragging() const { return dragging != 0; }

    // The running slide.
    QRV::JC_BOT_LIST bots;
    // Presses start drags only while set.
    uint8_t enabled = 1;
    int32_t type = SLIDE_TYPE::Horizontal;
    int32_t pageCount = 1;
    // Pixels per second.
    float speed = 1500.0f;
    // Where a press may start a drag.
    float viewX1 = 412.0f, viewY1 = 284.0f, viewX2 = 612.0f, viewY2 = 484.0f;
    // The distance from one page target to the next.
    float pageStepX = 1024.0f, pageStepY = 768.0f;
    // Not owned.
    JCSlideEffectDelegate* delegate = nullptr;
    QRV::JS_TRANSFORM3* strip = nullptr;
    // Handed to every slide tween: calls the slide-finished step with this effect.
    QRV::JS_CALLBACK finishRecord;
    uint8_t dragging = 0;
    // The page the last finished slide reached.
    int32_t currentPage = 0;
    // The page of the running (or last started) slide.
    int32_t targetPage = 0;
    int32_t lastMouseX = 0, lastMouseY = 0;
    // The clock's milliseconds at the press; differences are taken unsigned, so a wrapped
    // counter still gives the right drag time.
    uint32_t dragStartMs = 0;
    // Without parents.
    std::vector<QRV::JS_TRANSFORM3> pageTargets;
    float dragMinX = 0.0f, dragMinY = 0.0f, dragMaxX = 0.0f, dragMaxY = 0.0f;

private:
    static int OnSlideFinished(uintptr_t self);
    void BeginDrag();
    void DragStep();
    int32_t Release();

    // Page 0's placement.
    QRV::JS_TRANSFORM3 origin;
    bool haveOrigin = false;
};
