#pragma once
// The board's five in-game controls, by id: 0 tool switch, 1 hint, 2 pause, 3 store, 4 reset
// selection. Every operation walks them in id order, except drawing (RenderAll: 1, 3, 4, 0, 2).
// The board hands it input, frames, activation, the hint count and the tokens of its "control"
// messages:
//   is_block::<b>                     every control blocked or unblocked
//   <name>::is_block::<b>             one control
//   <name>::visible::<b>              one control drawn or not (hint, store, reset selection)
//   check_mode::tool::<b>             the tool switch set, with its slide
//   reset_selection::focus::<b>       the reset button lit as hovered or not
//   reset_selection::reset            as if the lit reset button had been clicked
// A boolean token is "true", "false" or a number (non-zero is true). Other messages do nothing.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/gameplay/control_base.h"
#include "game/gameplay/control_check_mode.h"
#include "game/gameplay/control_hint.h"
#include "game/gameplay/control_pause.h"
#include "game/gameplay/control_reset_selection.h"
#include "game/gameplay/control_store.h"

class gcControlSet {
public:
    // The pair is the hint button's action (the board passes itself and its use-hint function).
    gcControlSet(const gcControlServices& services, uintptr_t useHintArgument, gcUseHintFunction useHint);
    ~gcControlSet();
    gcControlSet(const gcControlSet&) = delete;
    gcControlSet& operator=(const gcControlSet&) = delete;

    // Load of each control in id order; false at the first that refuses.
    bool LoadAll();
    // The first non-zero answer in id order, else 0.
    int32_t Update();
    int32_t OnMouseDown(int32_t button);
    int32_t OnMouseUp(int32_t button);
    // Every control, no early stop.
    void OnMouseMove();
    void ActivateAll();
    void DeactivateAll();
    // Drawing order: hint, store, reset selection, tool switch, pause.
    void RenderAll();
    // The tokens after "control".
    void HandleMessage(const std::vector<std::string>& tokens);
    // The tool switch's state: true for the "square" tool, and without a switch.
    bool GetCheckModeState() const;
    // To the hint button and the store button.
    void SetHintCount(int32_t count);
    // Added to every control once; null is ignored.
    void SetDelegate(gcControl_Delegate* delegate);

    gcControl_Base* Find(int32_t id) const;
    const std::map<int32_t, std::unique_ptr<gcControl_Base>>& Controls() const { return controls; }
    gcControl_CheckMode& CheckMode() const { return *checkMode; }
    gcControl_ButtonHint& Hint() const { return *hint; }
    gcControl_ButtonPause& Pause() const { return *pause; }
    gcControl_ButtonStore& Store() const { return *store; }
    gcControl_ButtonResetSelection& ResetSelection() const { return *resetSelection; }

private:
    std::map<int32_t, std::unique_ptr<gcControl_Base>> controls;
    gcControl_CheckMode* checkMode = nullptr;
    gcControl_ButtonHint* hint = nullptr;
    gcControl_ButtonPause* pause = nullptr;
    gcControl_ButtonStore* store = nullptr;
    gcControl_ButtonResetSelection* resetSelection = nullptr;
};
