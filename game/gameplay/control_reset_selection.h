#pragma once
// The reset-selection button (control 4, "reset_selection"): the "sprite" animation, tinted by
// three colours ("begin_color", "mid_color", "end_color"; "a r g b" in decimal, opaque white when
// absent) over "time" seconds. It lights up (mid) when a selection begins (event 13); the pointer
// over a lit button focuses it (end). A release over a lit, focused button resets the selection:
// every delegate hears OnControl(4) and the button goes back to unlit (begin). A release over the
// unlit button shows the short notice "GP_FeedBack_Reset". Every level start leaves it unlit.
// Without its animation the button is unusable: never drawn, never reacting.

#include "engine/bots/bot_list.h"
#include "engine/graphics/animation.h"
#include "game/gameplay/control_base.h"

class gcElement;

class gcControl_ButtonResetSelection : public gcControl_Base {
public:
    static constexpr int32_t kId = 4;

    explicit gcControl_ButtonResetSelection(const gcControlServices& services);
    ~gcControl_ButtonResetSelection() override;

    // OnControl(4) on every delegate, the tint back to begin, unlit.
    void Reset();
    // Lit or not as hovered, with the tint of either.
    void SetFocus(bool focus);

    void Render() override;
    int32_t Update() override;
    int32_t OnMouseMove() override;
    int32_t OnMouseUp(int32_t button) override;
    void Activate() override;
    void Deactivate() override;
    // Also "reset_selection::focus::<boolean>" and "reset_selection::reset".
    void OnMessageTokens(const std::vector<std::string>& tokens) override;
    void OnMessage(const std::string& /*message*/) override {}
    void OnLevelStarted() override;

    bool IsUsable() const { return usable; }
    bool IsLit() const { return lit; }
    bool IsFocused() const { return focused; }
    float Time() const { return time; }
    uint32_t BeginColor() const { return beginColor; }
    uint32_t MidColor() const { return midColor; }
    uint32_t EndColor() const { return endColor; }
    const QRV::G_ANIMATION& Sprite() const { return sprite; }

protected:
    bool LoadOwn(const pugi::xml_node& node) override;

private:
    void OnFirstCellSelected(gcElement* cell, int32_t mark);
    void TintTo(uint32_t argb);

    bool usable = true;
    bool lit = false;
    bool focused = false;
    QRV::G_ANIMATION sprite;
    float time = 0.0f;
    uint32_t beginColor = 0xFFFFFFFFu;
    uint32_t midColor = 0xFFFFFFFFu;
    uint32_t endColor = 0xFFFFFFFFu;
    QRV::JC_BOT_LIST bots;
};
