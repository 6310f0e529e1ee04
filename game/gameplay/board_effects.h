#pragma once
// Board effects that play an animation on cells, as bots of the process's effect list:
//   gcBot_ElementsEffect_Cell    every cell at once, once or over and over
//   gcBot_ElementsEffect_Line    a diagonal sweep from the top-left to the bottom-right of the cells
//   gcBot_ElementsEffect_Random  one cell after another in shuffled order
// Each starts after its delay, ends by answering Finished (its list deletes it) and ends at once on
// message 45: the cells' effect flags are cleared and the completion callback runs, once however
// the bot ends. The cells must outlive the bot (the process empties its effect list before it
// deletes cells); a bot deleted without a stop touches no cell.

#include <cstdint>
#include <random>
#include <vector>

#include "engine/bots/actor_bot.h"
#include "engine/bots/actor_lerp.h"
#include "engine/core/value_types.h"
#include "engine/graphics/animation.h"
#include "game/gameplay/element.h"

// Seconds one run of the animation lasts: frame count / fps, 0 when fps is not above 0.
float gcAnimationLength(const QRV::G_ANIMATION& animation);

class gcBot_ElementsEffect_Cell : public QRV::JCBot {
public:
    // first > 0 plays once and ends after one animation length; first <= 0 starts again every
    // length + third seconds until stopped.
    gcBot_ElementsEffect_Cell(const std::vector<gcElement*>& cells, const QRV::G_ANIMATION& animation, float first,
                              float delay, float third);

    void OnStart() override;
    int32_t OnTick(float dt) override;
    void OnStop() override;

    std::vector<gcElement*> cells;
    QRV::G_ANIMATION animation;
    float length = 0.0f;
    uint8_t looping = 0;
    float period = 0.0f;
    float timer = 0.0f;

private:
    void StartAll();
    bool stopped = false;
};

class gcBot_ElementsEffect_Line : public QRV::JCBot {
public:
    // The sweep lasts `time` seconds (5 when time is not above 0). Without a delay it starts as it
    // is made, so the first cells light on the frame that made it (a bot list first ticks a new
    // bot on the next frame).
    gcBot_ElementsEffect_Line(const std::vector<gcElement*>& cells, const QRV::G_ANIMATION& animation, float time,
                              float delay);

    // Lays the segment over the bounding box of the cells' centres, starts the two tweens and
    // lights the cells it crosses already (unless the constructor did); an empty list ends at once.
    void OnStart() override;
    // Lights every waiting cell whose diagonal the segment crosses; when both tweens have ended the
    // cells still waiting are lit and the bot finishes.
    int32_t OnTick(float dt) override;
    void OnStop() override;

    // Whether the segment a-b strictly crosses the segment c-d (each one's ends lie strictly on
    // both sides of the other).
    static bool SegmentsCross(const QRV::JS_VECTOR2& a, const QRV::JS_VECTOR2& b, const QRV::JS_VECTOR2& c,
                              const QRV::JS_VECTOR2& d);

    std::vector<gcElement*> cells;
    std::vector<gcElement*> waiting;
    QRV::G_ANIMATION animation;
    float time = 5.0f;
    // The segment's ends, moved by the tweens.
    QRV::JS_VECTOR2 segmentStart;
    QRV::JS_VECTOR2 segmentEnd;
    int32_t tweensRunning = 0;

private:
    void Lay();
    bool laid = false;
    static void MoveStart(void* self, const QRV::JS_VECTOR2& point);
    static void MoveEnd(void* self, const QRV::JS_VECTOR2& point);
    void TweenEnded();
    // Lights the waiting cells the segment crosses now.
    void LightCrossed();
    void LightAllWaiting();
    void End();

    bool stopped = false;
};

class gcBot_ElementsEffect_Random : public QRV::JCBot {
public:
    // Every `interval` seconds the next cell of a shuffled copy lights; when the copy is used up it
    // is shuffled again while duration is not above 0 (for ever) or the lit time is still within
    // the duration, else the bot ends. The engine is the caller's (the board's, seedable) and must
    // outlive the bot.
    gcBot_ElementsEffect_Random(const std::vector<gcElement*>& cells, const QRV::G_ANIMATION& animation, float duration,
                                float delay, float interval, std::mt19937& engine);

    // An empty list ends at once.
    void OnStart() override;
    int32_t OnTick(float dt) override;
    void OnStop() override;

    std::vector<gcElement*> cells;
    std::vector<gcElement*> shuffled;
    QRV::G_ANIMATION animation;
    float duration = 0.0f;
    float interval = 0.0f;
    float timer = 0.0f;
    // Intervals lit so far, in seconds.
    float elapsed = 0.0f;

private:
    void Reshuffle();
    std::mt19937* engine = nullptr;
    bool stopped = false;
};
