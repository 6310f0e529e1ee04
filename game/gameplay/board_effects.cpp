#include "game/gameplay/board_effects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kDefaultSweepTime = 5.0f;

void ClearEffectFlags(const std::vector<gcElement*>& cells) {
    for (gcElement* cell : cells) cell->effectRunning = 0;
}

// (b - a) x (c - a)
float Cross(const QRV::JS_VECTOR2& a, const QRV::JS_VECTOR2& b, const QRV::JS_VECTOR2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

}  // namespace

float gcAnimationLength(const QRV::G_ANIMATION& animation) {
    if (!(animation.fps > 0.0f)) return 0.0f;
    return static_cast<float>(animation.frameCount) / animation.fps;
}

// ---- every cell at once ----

gcBot_ElementsEffect_Cell::gcBot_ElementsEffect_Cell(const std::vector<gcElement*>& cells,
                                                     const QRV::G_ANIMATION& animation, float first, float delay,
                                                     float third)
    : JCBot(delay), cells(cells), animation(animation) {
    length = gcAnimationLength(animation);
    looping = first <= 0.0f ? 1 : 0;
    period = length + third;
}

void gcBot_ElementsEffect_Cell::StartAll() {
    for (gcElement* cell : cells) cell->SetEffectAnimation(animation);
}

void gcBot_ElementsEffect_Cell::OnStart() {
    timer = 0.0f;
    StartAll();
}

int32_t gcBot_ElementsEffect_Cell::OnTick(float dt) {
    if (stopped) return QRV::MSG_RESULT::Finished;
    timer += dt;
    if (looping) {
        if (timer >= period) {
            // At most one restart a frame, however short the period.
            timer = period > 0.0f ? std::fmod(timer, period) : 0.0f;
            StartAll();
        }
        return QRV::MSG_RESULT::GoOn;
    }
    if (timer >= length) {
        OnStop();
        return QRV::MSG_RESULT::Finished;
    }
    return QRV::MSG_RESULT::GoOn;
}

void gcBot_ElementsEffect_Cell::OnStop() {
    if (stopped) return;
    stopped = true;
    ClearEffectFlags(cells);
    CallCompletion();
}

// ---- the diagonal sweep ----

gcBot_ElementsEffect_Line::gcBot_ElementsEffect_Line(const std::vector<gcElement*>& cells,
                                                     const QRV::G_ANIMATION& animation, float time, float delay)
    : JCBot(delay), cells(cells), animation(animation), time(time > 0.0f ? time : kDefaultSweepTime) {
    if (delay <= 0.0f && !cells.empty()) Lay();
}

bool gcBot_ElementsEffect_Line::SegmentsCross(const QRV::JS_VECTOR2& a, const QRV::JS_VECTOR2& b,
                                              const QRV::JS_VECTOR2& c, const QRV::JS_VECTOR2& d) {
    const float c1 = Cross(a, b, c);
    const float c2 = Cross(a, b, d);
    const float c3 = Cross(c, d, a);
    const float c4 = Cross(c, d, b);
    return ((c1 > 0.0f && c2 < 0.0f) || (c1 < 0.0f && c2 > 0.0f)) &&
           ((c3 > 0.0f && c4 < 0.0f) || (c3 < 0.0f && c4 > 0.0f));
}

void gcBot_ElementsEffect_Line::OnStart() {
    if (cells.empty()) {
        End();
        return;
    }
    if (!laid) Lay();
}

void gcBot_ElementsEffect_Line::Lay() {
    laid = true;
    waiting = cells;
    // The bounding box of the centres: with the first cell top-left and the last bottom-right this
    // is the sweep from the first to the last; otherwise no cell lies outside it.
    float x0 = cells.front()->CentreX(), y0 = cells.front()->CentreY();
    float x1 = x0, y1 = y0;
    for (const gcElement* cell : cells) {
        x0 = std::min(x0, cell->CentreX());
        y0 = std::min(y0, cell->CentreY());
        x1 = std::max(x1, cell->CentreX());
        y1 = std::max(y1, cell->CentreY());
    }
    const float d = std::trunc(std::max(x1 - x0, y1 - y0));
    segmentStart = {x0 - d, y0 + d};
    segmentEnd = {x0 + d, y0 - d};
    const QRV::JS_VECTOR2 shift{d, d};
    tweensRunning = 2;
    auto* first = new QRV::JCBot_LerpTick<QRV::JS_VECTOR2>(
        segmentStart, {segmentStart.x + shift.x, segmentStart.y + shift.y}, 0.0f, this, &MoveStart, time);
    auto* second = new QRV::JCBot_LerpTick<QRV::JS_VECTOR2>(
        segmentEnd, {segmentEnd.x + shift.x, segmentEnd.y + shift.y}, 0.0f, this, &MoveEnd, time);
    first->completion = MakeClosure<&gcBot_ElementsEffect_Line::TweenEnded>(this);
    second->completion = MakeClosure<&gcBot_ElementsEffect_Line::TweenEnded>(this);
    children.Add(first);
    children.Add(second);
    LightCrossed();
}

void gcBot_ElementsEffect_Line::MoveStart(void* self, const QRV::JS_VECTOR2& point) {
    static_cast<gcBot_ElementsEffect_Line*>(self)->segmentStart = point;
}

void gcBot_ElementsEffect_Line::MoveEnd(void* self, const QRV::JS_VECTOR2& point) {
    static_cast<gcBot_ElementsEffect_Line*>(self)->segmentEnd = point;
}

void gcBot_ElementsEffect_Line::TweenEnded() {
    if (tweensRunning > 0) --tweensRunning;
}

void gcBot_ElementsEffect_Line::LightCrossed() {
    auto lit = std::remove_if(waiting.begin(), waiting.end(), [this](gcElement* cell) {
        const QRV::JS_VECTOR2 topLeft{cell->left, cell->top};
        const QRV::JS_VECTOR2 bottomRight{cell->left + static_cast<float>(cell->width),
                                          cell->top + static_cast<float>(cell->height)};
        if (!SegmentsCross(segmentStart, segmentEnd, topLeft, bottomRight)) return false;
        cell->SetEffectAnimation(animation);
        return true;
    });
    waiting.erase(lit, waiting.end());
}

void gcBot_ElementsEffect_Line::LightAllWaiting() {
    for (gcElement* cell : waiting) cell->SetEffectAnimation(animation);
    waiting.clear();
}

void gcBot_ElementsEffect_Line::End() {
    if (stopped) return;
    stopped = true;
    CallCompletion();
}

int32_t gcBot_ElementsEffect_Line::OnTick(float) {
    if (stopped) return QRV::MSG_RESULT::Finished;
    LightCrossed();
    if (tweensRunning > 0) return QRV::MSG_RESULT::GoOn;
    // A frame long enough to jump over a cell, or cells beside the sweep, still get the effect.
    LightAllWaiting();
    End();
    return QRV::MSG_RESULT::Finished;
}

void gcBot_ElementsEffect_Line::OnStop() {
    if (stopped) return;
    children.Clear();
    ClearEffectFlags(cells);
    End();
}

// ---- one cell after another ----

gcBot_ElementsEffect_Random::gcBot_ElementsEffect_Random(const std::vector<gcElement*>& cells,
                                                         const QRV::G_ANIMATION& animation, float duration, float delay,
                                                         float interval, std::mt19937& engine)
    : JCBot(delay), cells(cells), animation(animation), duration(duration), interval(interval), engine(&engine) {}

void gcBot_ElementsEffect_Random::Reshuffle() {
    shuffled = cells;
    std::shuffle(shuffled.begin(), shuffled.end(), *engine);
}

void gcBot_ElementsEffect_Random::OnStart() {
    if (cells.empty()) {
        OnStop();
        return;
    }
    Reshuffle();
}

int32_t gcBot_ElementsEffect_Random::OnTick(float dt) {
    if (stopped) return QRV::MSG_RESULT::Finished;
    timer += dt;
    if (timer < interval) return QRV::MSG_RESULT::GoOn;
    // At most one cell a frame, however short the interval.
    timer = interval > 0.0f ? std::fmod(timer, interval) : 0.0f;
    if (shuffled.empty()) {
        if (duration > 0.0f && elapsed > duration) {
            OnStop();
            return QRV::MSG_RESULT::Finished;
        }
        Reshuffle();
    }
    gcElement* cell = shuffled.back();
    shuffled.pop_back();
    cell->SetEffectAnimation(animation);
    elapsed += interval;
    return QRV::MSG_RESULT::GoOn;
}

void gcBot_ElementsEffect_Random::OnStop() {
    if (stopped) return;
    stopped = true;
    ClearEffectFlags(cells);
    CallCompletion();
}
