#include "game/screens/window_game_start.h"

#include "engine/core/format_wide_checked.h"
#include "engine/core/random.h"
#include "engine/gui/gui_label.h"
#include "engine/platform/clock.h"
#include "engine/windows/window_manager.h"
#include "game/data/level.h"
#include "game/data/tutorial_controller.h"
#include "game/screens/ingame_support.h"
#include "game/screens/pausing_windows.h"

namespace {

constexpr int32_t kCloseButton = 1;
constexpr int32_t kNumberLabel = 2;
constexpr int32_t kTipLabel = 3;
constexpr size_t kTextCapacity = 512;

}  // namespace

void gcWindow_GameStart::LoadSettings(const pugi::xml_node& node) { settings.Load(node); }

std::string gcWindow_GameStart::TipKeyFor(uint32_t randomValue) const {
    const size_t count = settings.Entries().size();
    if (count == 0) return {};
    const JSProperty* key = settings.Find(std::to_string(randomValue % count));
    return key != nullptr ? key->text : std::string();
}

void gcWindow_GameStart::OnShowBegin() {
    Ingame::Command("gameplay::pause");
    if (QRV::JC_GUI_WLABEL* number = Ingame::Label(this, kNumberLabel)) {
        if (!numberFormatTaken) {
            numberFormat = number->GetText();
            numberFormatTaken = true;
        }
        const uint32_t value = Ingame::LevelNumber(Ingame::CurrentLevel());
        number->SetText(QRV::FormatWideChecked(numberFormat, {static_cast<int32_t>(value)}, kTextCapacity));
    }
    QRV::JC_GUI_WLABEL* tip = Ingame::Label(this, kTipLabel);
    if (tip == nullptr || settings.Entries().empty()) return;
    if (QRV::g_clock != nullptr) QRV::JC_RANDOM::Seed(QRV::g_clock->nowMs);
    const std::string key = TipKeyFor(QRV::JC_RANDOM::Next());
    if (!key.empty()) tip->SetText(Ingame::Localised(key));
}

void gcWindow_GameStart::OnHidden() {
    // Another window that pauses the level (the pause menu, a trophy, the finish) keeps it paused.
    if (manager == nullptr || !OtherPausingWindowShown(*manager, this)) Ingame::Command("gameplay::resume");
    const JCLevel* level = Ingame::CurrentLevel();
    const JSProperty* name = level != nullptr ? level->GetProperty("name") : nullptr;
    if (name != nullptr) gcTutorialController::Instance().ShowStep(name->text, 0);
}

void gcWindow_GameStart::OnButton(int32_t id) {
    if (id == kCloseButton) Hide(false);
}
