#pragma once
// One square of the board: its place, its true kind, what the player has done to it and what it
// shows. The process owns the cells (its list of all cells); moves, clues and effects point at them.
//
// A cell opens through Open: a timer bot in the cell's own queue fires after the delay, the cell
// becomes opened, shows its true kind ("square" for a picture cell, "cross" for an empty one) and
// reports to the opener whether the asserted kind was right. The cell is busy while its queue holds
// a bot.

#include <cstdint>
#include <deque>
#include <memory>

#include "engine/bots/object_base.h"
#include "engine/core/closure.h"
#include "engine/core/transform.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/sprite.h"

class gcElementsLayout;

// A board position: column, then row.
struct gcCell {
    int32_t column = 0;
    int32_t row = 0;

    friend bool operator==(const gcCell&, const gcCell&) = default;
};

class gcElement {
public:
    // The type of a picture cell (the square mark's number).
    static constexpr int32_t kPictureType = 100;

    // The answer of an open: the cell and whether the asserted kind was its true kind.
    using DoneCallback = Closure<void(gcElement*, bool)>;

    gcElement(int32_t type, int32_t row, int32_t column);
    // Deletes what is left in the bot queue (an open that never fired calls nobody).
    ~gcElement();
    gcElement(const gcElement&) = delete;
    gcElement& operator=(const gcElement&) = delete;

    // The cell size and the centre (depth 0); the top-left corner follows.
    void Place(int32_t cellWidth, int32_t cellHeight, float centreX, float centreY);

    // Takes the mark of the cell's true kind from the layout's animation table ("square" for a
    // picture cell, "cross" for any other; an absent one stays empty) and parents it to the cell.
    // The selection sprites are copied from this layout when first asked for.
    void LoadMarkSprites(const gcElementsLayout& layout);
    // Gives back the textures of the cell's sprites and animations.
    void ReleaseResources();

    // The layout's selection sprite ("yes" for square marking, "no" for cross marking) as the
    // cell's own copy under the cell, made at the first call after LoadMarkSprites. A cell that
    // never took a layout gets a plain sprite.
    QRV::G_SPRITE& SelectionYes() { return Selection(selectionYes, true); }
    QRV::G_SPRITE& SelectionNo() { return Selection(selectionNo, false); }

    // False, doing nothing, when the cell is opened or busy. Otherwise queues a timer that calls
    // OnOpenDone after `delay` seconds, sets the claim flag and stores the callback.
    bool Open(int32_t assertedType, DoneCallback callback, float delay);
    // The timer's end: opened, the true kind's animation started, then the callback.
    void OnOpenDone();

    // Copies the animation into the effect slot, parents it to the cell and starts it from its
    // first frame (the last when it runs backward); the effect runs with its timer at 0.
    void SetEffectAnimation(const QRV::G_ANIMATION& animation);

    // The bot queue, then the mark and effect animations.
    void Update();

    bool IsBusy() const { return !bots.empty(); }
    bool IsPicture() const { return type == kPictureType; }
    gcCell Position() const { return {column, row}; }
    float CentreX() const { return transform.positionX; }
    float CentreY() const { return transform.positionY; }

    int32_t column = 0;
    int32_t row = 0;
    // 100 picture cell, 101 empty cell, anything else a cell of no kind.
    int32_t type = 0;
    // The flags sit with the type: the board's draw reads them for every cell each frame.
    uint8_t blocked = 0;
    uint8_t bonus = 0;
    uint8_t opened = 0;
    // The last Open asserted the cell's true kind.
    uint8_t claimRight = 0;
    // The effect slot is running.
    uint8_t effectRunning = 0;
    // Scale 1, at the centre; parent of the cell's sprites and animations.
    QRV::JS_TRANSFORM3 transform;
    DoneCallback done;
    // Owned; run one after another.
    std::deque<QRV::JC_BASE*> bots;
    int32_t width = 0;
    int32_t height = 0;
    float left = 0.0f;
    float top = 0.0f;
    int32_t effectFrames = 0;
    float effectTimer = 0.0f;
    // The mark of the cell's true kind: "square" for a picture cell, "cross" for any other. It
    // follows the cell's transform in memory, as the board's draw reads both.
    QRV::G_ANIMATION mark;
    // One effect slot (the board effects drive it); made by the first SetEffectAnimation, so an
    // idle cell holds no copy. Set whenever effectRunning is.
    std::unique_ptr<QRV::G_ANIMATION> effect;
    // Made by SelectionYes / SelectionNo; dropped by LoadMarkSprites.
    std::unique_ptr<QRV::G_SPRITE> selectionYes;
    std::unique_ptr<QRV::G_SPRITE> selectionNo;

private:
    QRV::G_SPRITE& Selection(std::unique_ptr<QRV::G_SPRITE>& slot, bool yes);

    // The layout of the last LoadMarkSprites (the selection sprites' source); not owned.
    const gcElementsLayout* layout = nullptr;
};

// Starts an animation from its first frame (its last when it runs backward), timer at 0.
void gcStartAnimation(QRV::G_ANIMATION& animation);
