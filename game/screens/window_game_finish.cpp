#include "game/screens/window_game_finish.h"

#include <cstdio>

#include "engine/bots/actor_blob.h"
#include "engine/core/format_wide_checked.h"
#include "engine/graphics/animation.h"
#include "engine/gui/bot_gui_fade.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/resources/time_format.h"
#include "engine/windows/window_manager.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/screens/ingame_support.h"

namespace {

constexpr int32_t kNextButton = 1;
constexpr int32_t kRestartButton = 2;
constexpr int32_t kMenuButton = 3;
constexpr int32_t kTimeLabel = 4;
constexpr int32_t kHintsLabel = 5;
constexpr int32_t kErrorsLabel = 6;
constexpr int32_t kMoneyEarnedLabel = 7;
constexpr int32_t kBestTimeLabel = 8;
constexpr int32_t kNumberLabel = 9;
constexpr int32_t kPlayerMoneyLabel = 10;
constexpr size_t kTextCapacity = 512;

constexpr const char* kStarKeys[] = {"star_one", "star_two", "star_three"};
constexpr const char* kBannerKeys[] = {"star_image_1", "star_image_2", "star_image_3"};

void SetLabel(const JCWindow* window, int32_t id, const std::string& text) {
    if (QRV::JC_GUI_WLABEL* label = Ingame::Label(window, id)) label->SetText(text);
}

}  // namespace

float gcWindow_GameFinish::SettingFloat(const char* key) const {
    const JSProperty* value = settings.Find(key);
    return value != nullptr ? value->floatValue : 0.0f;
}

QRV::JC_GUI_OBJECT* gcWindow_GameFinish::SettingControl(const char* key) const {
    // A missing setting names no control (id 0 could be a real one).
    const JSProperty* id = settings.Find(key);
    return id != nullptr && !id->text.empty() ? Ingame::Control(this, id->intValue) : nullptr;
}

void gcWindow_GameFinish::LoadSettings(const pugi::xml_node& node) {
    settings.Load(node);
    stars.clear();
    for (const char* key : kStarKeys) {
        QRV::JC_GUI_OBJECT* star = SettingControl(key);
        if (star == nullptr) {
            stars.clear();
            return;
        }
        stars.push_back(star);
    }
}

void gcWindow_GameFinish::FillMoney() {
    if (result != nullptr) SetLabel(this, kMoneyEarnedLabel, std::to_string(result->sunime));
    if (const gcPlayer* player = Ingame::CurrentPlayer())
        SetLabel(this, kPlayerMoneyLabel, std::to_string(Ingame::PlayerStatistic(player, "money")));
}

void gcWindow_GameFinish::SetResult(const gcLevelResult* record) {
    result = record;
    if (result == nullptr) return;
    const JCLevel* level = Ingame::CurrentLevel();
    SetLabel(this, kTimeLabel, FormatTime(result->playTime));
    SetLabel(this, kHintsLabel, std::to_string(result->hintsUsed));
    SetLabel(this, kErrorsLabel, std::to_string(result->errors));
    SetLabel(this, kBestTimeLabel, FormatTime(Ingame::LevelFloat(level, "time")));
    if (QRV::JC_GUI_WLABEL* number = Ingame::Label(this, kNumberLabel)) {
        if (!numberFormatTaken) {
            numberFormat = number->GetText();
            numberFormatTaken = true;
        }
        const auto value = static_cast<int32_t>(Ingame::LevelNumber(level));
        number->SetText(QRV::FormatWideChecked(numberFormat, {value}, kTextCapacity));
    }
    FillMoney();
    for (QRV::JC_GUI_OBJECT* star : stars) star->SetVisible(false);
    const int32_t count = gcStarsForErrors(result->errors);
    for (int32_t i = 0; i < 3; ++i) {
        if (QRV::JC_GUI_OBJECT* banner = SettingControl(kBannerKeys[i])) banner->SetVisible(i + 1 == count);
    }
}

void gcWindow_GameFinish::OnShowBegin() {
    Ingame::Command("gameplay::pause");
    xmlBots.Clear();
    FillMoney();
}

void gcWindow_GameFinish::OnShown() {
    if (result == nullptr) return;
    const size_t count = std::min(static_cast<size_t>(gcStarsForErrors(result->errors)), stars.size());
    const float step = SettingFloat("star_time");
    float delay = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        if (auto* image = dynamic_cast<QRV::JC_GUI_IMAGE*>(stars[i]); image != nullptr && image->sprite != nullptr)
            image->sprite->SetUVs(0.5f, 0.0f, 1.0f, 1.0f);
        AnimateStar(stars[i], delay);
        delay += step;
    }
}

void gcWindow_GameFinish::AnimateStar(QRV::JC_GUI_OBJECT* star, float delay) {
    if (star == nullptr || star->transform == nullptr) return;
    xmlBots.Add(new QRV::JCBot_Blob(star->transform, SettingFloat("star_frequency"), SettingFloat("star_decay"), 1.0f,
                                    1.0f, delay, SettingFloat("star_time"), SettingFloat("star_amplitude")));
    xmlBots.Add(new QRV::JCBot_GuiShow(star, 0.0f, delay));
}

void gcWindow_GameFinish::OnButton(int32_t id) {
    gcGame* game = Ingame::Game();
    switch (id) {
        case kNextButton: {
            JCPack* pack = Ingame::CurrentPack();
            const JCLevel* level = Ingame::CurrentLevel();
            if (game == nullptr || pack == nullptr || level == nullptr) return;
            // The same last-level test as the board's unlocking after a win.
            if (Ingame::LevelNumber(level) == pack->GetLevelCount()) {
                Ingame::FadeThen(Closure<void()>::Member<&gcWindow_GameFinish::LeaveToPacks>(this));
                return;
            }
            const JCLevel* next = pack->GetNextLevel();
            const JSProperty* name = next != nullptr && !JCLevel::IsDefault(next) ? next->GetProperty("name") : nullptr;
            if (name != nullptr && game->StartLevel(name->text)) {
                Hide(false);
                return;
            }
            std::fprintf(stderr, "level did not start: %s\n", name != nullptr ? name->text.c_str() : "(none)");
            Ingame::FadeThen(Closure<void()>::Member<&gcWindow_GameFinish::LeaveToLevels>(this));
            return;
        }
        case kRestartButton:
            Ingame::AskConfirm("Confirm_Restart_In_Finish",
                               Closure<void(int32_t)>::Member<&gcWindow_GameFinish::OnRestartAnswer>(this));
            return;
        case kMenuButton: Ingame::FadeThen(Closure<void()>::Member<&gcWindow_GameFinish::LeaveToLevels>(this)); return;
        default: return;
    }
}

void gcWindow_GameFinish::OnRestartAnswer(int32_t answer) {
    if (answer != 1) return;
    Ingame::Command("gameplay::restart");
    Hide(false);
}

void gcWindow_GameFinish::LeaveToLevels() {
    Hide(true);
    if (gcGame* game = Ingame::Game()) game->ShowLevels(true);
}

void gcWindow_GameFinish::LeaveToPacks() {
    Hide(true);
    gcGame* game = Ingame::Game();
    if (game == nullptr) return;
    if (Ingame::InTutorialPack()) game->ShowTutorialList();
    else game->StartGame();
}
