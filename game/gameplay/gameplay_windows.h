#pragma once
// The three things the board screen and the game root hand to windows they find by name. A window
// class of the screens implements the interface beside JCWindow; a window found by name that does
// not implement it is skipped (dynamic_cast).

#include <cstdint>

#include "game/gameplay/gameplay_result.h"

namespace QRV {
class G_TROPHY;
}

// "GP_Finish" and "Tutorial_Finish": the won level's counters, handed over before the window shows.
class gcGameFinishTarget {
public:
    virtual ~gcGameFinishTarget() = default;
    // The record stays the board screen's; the window keeps the pointer.
    virtual void SetResult(const gcLevelResult* result) = 0;
};

// "Trophy_Get": trophies waiting to be announced, appended before the window is queued.
class gcTrophyAnnouncer {
public:
    virtual ~gcTrophyAnnouncer() = default;
    // Not owned: the trophy list keeps its trophies.
    virtual void AddPendingTrophy(QRV::G_TROPHY* trophy) = 0;
};

// "Offerwall": an advertising service that has an offer now.
class gcOfferTarget {
public:
    virtual ~gcOfferTarget() = default;
    virtual void AddOffer(int32_t serviceId) = 0;
};
