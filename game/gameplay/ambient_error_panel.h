#pragma once
// The error panel of the decoration: one mark per wrong cell, up to the level's allowance, on a
// grid of slots; the slots past the allowance show the locked-slot animation.
//
// Element (any name; the decoration file's "error_panel"), every part required:
//   "pos" "x y" floats (first slot), "grid" "columns rows" (both at least 1), "interval" "x y",
//   "ping" seconds; animation children "sprite" (the mark), "sprite_lock", "background".
// Slot n lies at pos + (n mod columns) (interval.x + mark width, 0)
//                     + (n div columns) (0, interval.y + mark height).
//
// Events: 19 (a wrong cell, gcElement*) counts a mark and places it "ping" seconds later, unless
// the count would pass the allowance; 22 (a move undone, the move's cells) takes one mark back for
// each undone wrong cell: a pending one first, else the last placed one. The count never drops
// below 0.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/bots/bot_list.h"
#include "engine/core/event_dispatcher.h"
#include "engine/graphics/animation.h"
#include "game/gameplay/element.h"

class gcErrorPanel : public QRV::gListener {
public:
    // Subscribes to 19 and 22 on the dispatcher (none when null) and leaves it on destruction.
    explicit gcErrorPanel(QRV::gEventDispatcher* dispatcher);
    ~gcErrorPanel() override;
    gcErrorPanel(const gcErrorPanel&) = delete;
    gcErrorPanel& operator=(const gcErrorPanel&) = delete;

    // False at the first missing part (the panel is then unusable until a later load succeeds).
    // Marks and pending marks are dropped; the three animations are bound.
    bool Load(const pugi::xml_node& element);
    void RestoreResources();
    void ReleaseResources();

    // The level's allowed errors.
    void SetAllowance(int32_t allowance);
    int32_t Allowance() const { return allowance; }
    // Deletes every mark and pending mark; the count goes back to 0.
    void Reset();

    // The tokens after "errors": "is_visible" and a boolean. False for anything else.
    bool HandleMessage(const std::vector<std::string>& tokens);

    // Event handlers.
    void OnCellWrong(gcElement* cell);
    void OnMoveUndone(const std::vector<gcElement*>* cells);

    // The pending timers, then the animations.
    void Update();
    // Only while visible: background, the placed marks, the locked slots.
    void Draw();

    // Where slot n lies.
    void SlotPosition(int32_t n, float& x, float& y) const;

    int32_t MarksShown() const { return marksShown; }
    int32_t MarksPlaced() const { return static_cast<int32_t>(marks.size()); }
    int32_t MarksPending() const { return static_cast<int32_t>(pending.Count()); }
    int32_t LockedSlots() const;
    bool IsVisible() const { return visible != 0; }
    const QRV::G_ANIMATION& Mark(int32_t index) const { return *marks[static_cast<size_t>(index)]; }

private:
    // A pending timer has run out: the next mark appears.
    void PlaceMark();
    void CancelPending();

    float posX = 0.0f, posY = 0.0f;
    int32_t allowance = 0;
    int32_t marksShown = 0;
    float ping = 0.0f;
    int32_t columns = 1, rows = 0;
    int32_t intervalX = 0, intervalY = 0;
    QRV::G_ANIMATION mark;
    QRV::G_ANIMATION lock;
    QRV::G_ANIMATION background;
    std::vector<std::unique_ptr<QRV::G_ANIMATION>> marks;
    // Timers, one per mark still waiting for its ping.
    QRV::JC_BOT_LIST pending;
    uint8_t visible = 1;
    QRV::gEventDispatcher* dispatcher = nullptr;
};
