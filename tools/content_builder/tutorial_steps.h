// Tutorial steps: the windows that lead the player through a tutorial level, one after another.
// Authored per tutorial pack in "steps.txt"; each step becomes a window of type
// "TWindow_TutorialStep" at <pack>/tutorial/levelNN/stepSS.xml, named "<pack>-levelNN-stepSS"
// (unique in the game, no ".", zero-padded so that name order is step order).
//
// steps.txt: "[NN SS]" opens step SS of level NN (both numbered from 01 without gaps), then
// "key = value" lines; '#' comments and blank lines are skipped.
//   text = <string key>                 the step's explanation (required)
//   button = next | start_game          a button that goes to the next step, or leaves the
//                                        tutorial for the first level of the first pack
//   cells = <col row>|<col row>|...     cells the player must mark with right moves
//   action = <name>                     use_reset, use_hint, use_store, close_store,
//                                        level_did_complete or buy::<item> (repeatable)
//   start = <seconds> <command>         a text command sent when the step shows, after the delay
//                                        ("gameplay::tutorial::next_step" ends the step by itself)
//   end = <seconds> <command>           a text command sent when the step hides (repeatable)
//   stack = true | false                wait in the window manager's queue instead of showing
//   point = switch | hint | store | reset | pause
//                                        an arrow at the control the text speaks of
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/content_builder/theme.h"

namespace ContentBuilder {

struct TutorialMessage {
    float delay = 0.0f;
    std::string command;
};

struct TutorialStep {
    int level = 0, step = 0;
    int line = 0;  // of its "[NN SS]" in steps.txt
    std::string text, button, cells;
    std::vector<std::string> actions;
    std::vector<TutorialMessage> start, end;
    bool stack = false;
    std::string point;  // the control the arrow points at, "" for none
};

// The steps in source order; each fault is appended as "line <n>: <what>".
std::vector<TutorialStep> ParseTutorialSteps(std::string_view text, std::vector<std::string>& faults);

// Every cell a step names, in its cell list and in its commands' cell tokens (a token of two
// integers, or such pairs joined by "|"), as (column, row).
std::vector<std::pair<int, int>> CellsOfStep(const TutorialStep& step);

// The cells a step shows the player as it opens, each sorted: those its demonstration drags over
// ("gameplay::process::selection::<from>::<to>::..." and "...::fill::..."), and those it frees
// with an effect on them ("...::block::<cells>::false::<effect>"). A step that waits for cells
// must show exactly those, by either means it uses.
struct DemonstratedCells {
    std::vector<std::pair<int, int>> dragged, pulsed;
};
DemonstratedCells CellsDemonstrated(const TutorialStep& step);

// The cell effects (animation names of the effects file) a board command names:
// "gameplay::process::effect_start::...::<name>", "...::block::<cells>::<bool>::<name>" and
// "...::is_block::<bool>::<name>" (the name is optional in the last two).
std::vector<std::string> EffectsOfCommand(std::string_view command);
// Those of every command a step sends.
std::vector<std::string> EffectsOfStep(const TutorialStep& step);

// The cells the step names that its panel would cover on that board, as (column, row).
std::vector<std::pair<int, int>> CellsUnderPanel(const TutorialStep& step, const Theme::BoardGeometry& board);

// "<pack>-levelNN-stepSS" and "stepSS.xml".
std::string StepWindowName(std::string_view folder, int level, int step);
std::string StepFileName(int step);

// The step's window: a panel beside the board with the pack's title, the step's text, its button
// and the image that flashes when a move is taken back; its settings and script.
std::string TutorialStepXml(const TutorialStep& step, std::string_view windowName, std::string_view title);

}  // namespace ContentBuilder
