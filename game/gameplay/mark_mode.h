#pragma once
// Which mark a press or a drag makes: filled ("square", 100) or empty ("cross", 101), from the
// tool switch and the mouse buttons.

#include <cstdint>

namespace Game {

constexpr int32_t kMarkSquare = 100;
constexpr int32_t kMarkCross = 101;

// "cross" names the cross; every other name the square.
int32_t ToolTypeFromName(const char* name);

// The mark of a press: the left button (1) makes the switch's tool, the right button (2) the other
// kind, anything else a square.
int32_t MarkModeForButton(int32_t button, bool squareTool);

// The mark while dragging, from the two buttons' state bytes (0 up, 1 pressed this frame, 2 to 125
// frames held, 255 released this frame): a released left button gives the right's kind, both up
// the left's, a released right button the left's; otherwise the button held longer wins, the
// right one on a tie (both pressed in the same frame).
int32_t DragMarkMode(uint8_t left, uint8_t right, bool squareTool);

}  // namespace Game
