#pragma once
// The hearts bar ("Heart", type "GG_WINDOW_HEALTH"): label 1 the current player's hearts, label 2
// the time until the next heart comes back ("mm:ss"), or the idle text while no heart is on its
// way. Refreshed when it begins to show and then once a second. The layout's text of label 2 is the
// string key of the idle text. Any button of the bar shows the notice "FeedBack_Heart", which hides
// again as soon as it has shown (its hide delay keeps it readable). Without a current player the
// labels keep what they show.

#include <cstdint>
#include <string>

#include "engine/windows/window.h"

namespace QRV {
class JC_GUI_WLABEL;
}

class gcWindow_BarHealth : public JCWindow {
public:
    static constexpr int32_t kCountLabel = 1;
    static constexpr int32_t kCountdownLabel = 2;

    gcWindow_BarHealth() = default;

    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnUpdate() override;
    void OnShowBegin() override;
    void OnButton(int32_t id) override;

    const std::wstring& IdleText() const { return idleText; }

private:
    // The labels from the current player's hearts; nothing without one.
    void ShowHearts();
    // The notice's shown callback: hides it (after its hide delay) and clears itself.
    void HideNotice();

    float accumulator = 0.0f;
    std::wstring idleText;
    QRV::JC_GUI_WLABEL* countLabel = nullptr;
    QRV::JC_GUI_WLABEL* countdownLabel = nullptr;
};
