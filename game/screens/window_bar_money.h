#pragma once
// The money bar (type "GG_WINDOW_SUNIME"): label 2 the current player's money, label 1 the stars
// earned over the ordinary packs. "Sumie" carries only the money label, "Stars" only the stars
// label; a label the layout lacks is skipped. Both labels are filled when the bar begins to show;
// the money label follows every change of the player's "money" (game event 28) while the bar
// exists. Without a current player nothing changes.

#include <cstdint>
#include <string>

#include "engine/core/event_dispatcher.h"
#include "engine/windows/window.h"

namespace QRV {
class JC_GUI_WLABEL;
}

class gcWindow_BarMoney : public JCWindow, private QRV::gListener {
public:
    static constexpr int32_t kStarsLabel = 1;
    static constexpr int32_t kMoneyLabel = 2;

    // Joins the game's event dispatcher (when there is one) until destroyed.
    gcWindow_BarMoney();
    ~gcWindow_BarMoney() override;

    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnButton(int32_t id) override;

private:
    void OnPlayerValue(std::string name);
    void ShowMoney();

    QRV::gEventDispatcher* dispatcher = nullptr;
    QRV::JC_GUI_WLABEL* starsLabel = nullptr;
    QRV::JC_GUI_WLABEL* moneyLabel = nullptr;
};
