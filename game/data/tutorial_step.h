#pragma once
// What the tutorial controller needs from a step window (the game's tutorial step windows
// implement it beside JCWindow): whether the step waits in the window manager's queue, running
// the step again, and the controller the step reports to.

class gcTutorialController;

class JITutorialStep {
public:
    virtual ~JITutorialStep() = default;

    // The step's setting "is_in_stack": it is queued behind the windows before it instead of
    // shown at once.
    virtual bool IsInStack() const = 0;
    // The controller asked for the step that is already shown: start it over, without hiding it.
    virtual void RestartStep() = 0;

    void SetTutorialController(gcTutorialController* owner) { controller = owner; }
    gcTutorialController* GetTutorialController() const { return controller; }

protected:
    JITutorialStep() = default;
    JITutorialStep(const JITutorialStep&) = default;
    JITutorialStep& operator=(const JITutorialStep&) = default;

    // Not owned; set when the controller loads the step.
    gcTutorialController* controller = nullptr;
};
