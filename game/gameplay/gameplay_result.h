#pragma once
// The counters of the level being played, in the order the finish window reads them. The board
// screen owns the record and keeps it current; the finish window keeps a pointer to it. Also the
// one rule of the stars a win earns, which the level's record and the finish window both follow.

#include <cstdint>

struct gcLevelResult {
    // Purchases go through the in-app store: the hint bookkeeping is off.
    uint8_t inapp = 0;
    // Seconds played while running and not paused.
    float playTime = 0.0f;
    // Wrong cells of this level, never below 0.
    int32_t errors = 0;
    // Hints won by progress in this level.
    uint32_t hintsEarned = 0;
    // Hints at hand.
    uint32_t hints = 0;
    int32_t hintsUsed = 0;
    // The in-level currency earned ("sunime"), paid into the player's money on a win.
    int32_t sunime = 0;
};

// Three stars without an error, two with one, one otherwise.
constexpr int32_t gcStarsForErrors(int32_t errors) {
    if (errors == 0) return 3;
    return errors == 1 ? 2 : 1;
}
