#include "game/screens/window_bar_health.h"

#include "engine/core/conversions.h"
#include "engine/gui/gui_label.h"
#include "engine/platform/clock.h"
#include "engine/resources/string_table.h"
#include "engine/resources/time_format.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/global.h"
#include "game/data/game_player.h"

namespace {

constexpr const char* kNoticeWindow = "FeedBack_Heart";

const gcPlayer* CurrentPlayer() {
    const gcContext* context = gcGlobal::Instance().GetContext();
    if (context == nullptr) return nullptr;
    return dynamic_cast<const gcPlayer*>(context->playerManager.GetCurrentPlayer());
}

}  // namespace

void gcWindow_BarHealth::OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) {
    if (rootObject == nullptr) return;
    countLabel = dynamic_cast<QRV::JC_GUI_WLABEL*>(rootObject->FindChildById(kCountLabel));
    countdownLabel = dynamic_cast<QRV::JC_GUI_WLABEL*>(rootObject->FindChildById(kCountdownLabel));
    if (countdownLabel == nullptr) return;
    // The layout's text is still the key here: the manager localises the labels after the load.
    const std::string key = QRV::WideToUtf8(countdownLabel->GetText());
    const gcContext* context = gcGlobal::Instance().GetContext();
    idleText = context != nullptr ? context->stringTable.GetWide(key) : countdownLabel->GetText();
}

void gcWindow_BarHealth::OnUpdate() {
    accumulator += QRV::g_frameTime.load();
    if (accumulator < 1.0f) return;
    accumulator = 0.0f;
    ShowHearts();
}

void gcWindow_BarHealth::OnShowBegin() { ShowHearts(); }

void gcWindow_BarHealth::ShowHearts() {
    const gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return;
    const gcPlayerHealth& health = player->GetHealth();
    if (countLabel != nullptr) countLabel->SetText(QRV::IntToString(health.GetCount()));
    if (countdownLabel == nullptr) return;
    const double countdown = health.GetCountdown();
    if (countdown <= 0.0) {
        countdownLabel->SetText(idleText);
    } else {
        countdownLabel->SetText(FormatTime(static_cast<float>(countdown)));
    }
}

void gcWindow_BarHealth::HideNotice() {
    if (manager == nullptr) return;
    if (JCWindow* notice = manager->FindWindow(kNoticeWindow)) {
        notice->cbShown = {};
        notice->Hide(false);
    }
}

void gcWindow_BarHealth::OnButton(int32_t) {
    if (manager == nullptr) return;
    JCWindow* notice = manager->ShowWindow(kNoticeWindow, false);
    if (notice == nullptr) return;
    notice->cbShown = MakeClosure<&gcWindow_BarHealth::HideNotice>(this);
}
