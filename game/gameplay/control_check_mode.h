#pragma once
// The tool switch (control 0, "check_mode"): its node is a widget layout built into a GUI root of
// its own, whose widget 0 is the switch (a check box; the shipped layout uses the kind that flips
// on the press). On is the "square" tool. The press the control forwards flips it, and every
// delegate hears OnControl(0). Every level starts with the switch on. Not blocked by "visible";
// drawn without the background.

#include "engine/gui/gui_checkbox_interface.h"
#include "engine/gui/gui_root.h"
#include "game/gameplay/control_base.h"

class gcControl_CheckMode : public gcControl_Base {
public:
    static constexpr int32_t kId = 0;

    explicit gcControl_CheckMode(const gcControlServices& services);
    ~gcControl_CheckMode() override;

    // The switch set at once or with its slide; then OnControl(0) on every delegate.
    void SetState(bool on, bool immediate);
    // The switch's state; true without a switch.
    bool GetState() const;

    void Render() override;
    int32_t Update() override;
    int32_t OnMouseDown(int32_t button) override;
    void Activate() override;
    void Deactivate() override;
    // Also "check_mode::tool::<boolean>": SetState with the slide.
    void OnMessageTokens(const std::vector<std::string>& tokens) override;
    void OnMessage(const std::string& /*message*/) override {}
    void OnLevelStarted() override { SetState(true, true); }

    QRV::JC_GUI_CHECKBOX_INTERFACE* Switch() const { return checkbox; }
    QRV::JC_GUI_ROOT& Gui() { return gui; }

protected:
    // Builds the GUI once; a second load is refused.
    bool LoadOwn(const pugi::xml_node& node) override;

private:
    QRV::JC_GUI_ROOT gui;
    QRV::JC_GUI_CHECKBOX_INTERFACE* checkbox = nullptr;  // inside gui
    bool loaded = false;
    bool guiActive = false;
};
