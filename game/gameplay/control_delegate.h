#pragma once
// What the in-game controls tell their owner (the board screen): a control was used. Ids: 0 the
// tool switch changed, 4 the reset-selection button was clicked; the board acts on 4 only.

#include <cstdint>

class gcControl_Delegate {
public:
    virtual ~gcControl_Delegate() = default;
    virtual void OnControl(int32_t controlId) = 0;
};
