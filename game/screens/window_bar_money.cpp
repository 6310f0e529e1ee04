#include "game/screens/window_bar_money.h"

#include "engine/core/conversions.h"
#include "engine/gui/gui_label.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/game_player.h"

namespace {

const gcPlayer* CurrentPlayer() {
    const gcContext* context = gcGlobal::Instance().GetContext();
    if (context == nullptr) return nullptr;
    return dynamic_cast<const gcPlayer*>(context->playerManager.GetCurrentPlayer());
}

}  // namespace

gcWindow_BarMoney::gcWindow_BarMoney() {
    Subscribe<&gcWindow_BarMoney::OnPlayerValue>(kEventPlayerValue, this);
    if (gcContext* context = gcGlobal::Instance().GetContext()) dispatcher = context->eventDispatcher;
    if (dispatcher != nullptr) dispatcher->AddListener(this);
}

gcWindow_BarMoney::~gcWindow_BarMoney() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
}

void gcWindow_BarMoney::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    if (rootObject == nullptr) return;
    starsLabel = dynamic_cast<QRV::JC_GUI_WLABEL*>(rootObject->FindChildById(kStarsLabel));
    moneyLabel = dynamic_cast<QRV::JC_GUI_WLABEL*>(rootObject->FindChildById(kMoneyLabel));
}

void gcWindow_BarMoney::OnShowBegin() {
    const gcContext* context = gcGlobal::Instance().GetContext();
    if (context == nullptr || CurrentPlayer() == nullptr) return;
    if (starsLabel != nullptr) starsLabel->SetText(QRV::UIntToString(context->packs.GetStarsAll()));
    ShowMoney();
}

void gcWindow_BarMoney::OnButton(int32_t) {}

void gcWindow_BarMoney::OnPlayerValue(std::string name) {
    if (name == "money") ShowMoney();
}

void gcWindow_BarMoney::ShowMoney() {
    const gcPlayer* player = CurrentPlayer();
    if (player == nullptr || moneyLabel == nullptr) return;
    const JSProperty* money = player->GetStatistic("money");
    moneyLabel->SetText(money != nullptr ? money->text : std::string("0"));
}
