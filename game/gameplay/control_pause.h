#pragma once
// The pause button (control 2, "pause"): the node's "BUTTON5" push button, placed on the control.
// A click opens the window "GP_Menu". It ignores "blocked", so a script that blocks every
// control still leaves the player the menu, and draws only the button.

#include "engine/gui/gui_button5.h"
#include "game/gameplay/control_base.h"

class gcControl_ButtonPause : public gcControl_Base {
public:
    static constexpr int32_t kId = 2;

    explicit gcControl_ButtonPause(const gcControlServices& services);
    ~gcControl_ButtonPause() override;

    void Render() override;
    int32_t Update() override;
    int32_t OnMouseMove() override;
    int32_t OnMouseDown(int32_t button) override;
    int32_t OnMouseUp(int32_t button) override;
    void Activate() override;
    void Deactivate() override;

    QRV::JC_GUI_BUTTON5* Button() const { return button.get(); }

protected:
    // False without a "BUTTON5" child.
    bool LoadOwn(const pugi::xml_node& node) override;

private:
    std::unique_ptr<QRV::JC_GUI_BUTTON5> button;
};

// A "BUTTON5" element built as a push button, or null.
std::unique_ptr<QRV::JC_GUI_BUTTON5> gcBuildControlButton(const pugi::xml_node& element);
