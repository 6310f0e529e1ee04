#pragma once
// The store button (control 3, "store"): the node's "BUTTON5" push button, live only while the
// hint count is 0 or less. It then slides in to where its layout put it (taken once, at load) and
// otherwise slides out, one button height lower, over "speed" seconds. A press on it opens the
// window "Shop" (on the press, not the release).

#include "engine/bots/bot_list.h"
#include "engine/gui/gui_button5.h"
#include "game/gameplay/control_base.h"

class gcControl_ButtonStore : public gcControl_Base {
public:
    static constexpr int32_t kId = 3;

    explicit gcControl_ButtonStore(const gcControlServices& services);
    ~gcControl_ButtonStore() override;

    // 0 or less slides the button in, anything else out.
    void SetHintCount(int32_t count);
    int32_t HintCount() const { return hintCount; }
    bool IsLive() const { return !blocked && hintCount <= 0; }

    void Render() override;
    int32_t Update() override;
    int32_t OnMouseMove() override;
    int32_t OnMouseDown(int32_t button) override;
    int32_t OnMouseUp(int32_t button) override;
    void Activate() override;
    void Deactivate() override;

    QRV::JC_GUI_BUTTON5* Button() const { return button.get(); }
    float Speed() const { return speed; }
    gcPoint ShownPosition() const { return shown; }
    gcPoint HiddenPosition() const { return hidden; }

protected:
    // Without a "BUTTON5" child the control loads but shows and does nothing.
    bool LoadOwn(const pugi::xml_node& node) override;

private:
    void SlideTo(const gcPoint& target);

    int32_t hintCount = 0;
    float speed = 1.0f;
    std::unique_ptr<QRV::JC_GUI_BUTTON5> button;
    gcPoint shown;
    gcPoint hidden;
    QRV::JC_BOT_LIST bots;
};
