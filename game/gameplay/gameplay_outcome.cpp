// The level's end: the win (stars, best time, statistics, money, unlocking, the finish window)
// and the loss with its dialogs (second chance, restart, back to the level list).
#include "engine/bots/bot_timer.h"
#include "engine/core/property_map.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/string_table.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "game/config/trace.h"
#include "game/data/game_player.h"
#include "game/data/igp_manager.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/packs.h"
#include "game/data/purchase_switch.h"
#include "game/gameplay/board_effects.h"
#include "game/gameplay/gameplay.h"
#include "game/gameplay/gameplay_windows.h"

namespace {

constexpr const char* kSecondChanceProduct = "second_chance";
// Control ids of the second-chance dialogs.
constexpr int32_t kBuyButton = 4;
constexpr int32_t kPriceLabel = 1;
// The second-chance dialog's text and the buy button's caption: their words follow whether a
// second chance can be bought here.
constexpr int32_t kSecondChanceText = 2;
constexpr int32_t kBuyCaption = 104;

void SetOpen(JCPagesItem* item, const char* key, bool value) {
    if (item == nullptr) return;
    if (JSProperty* property = item->GetProperty(key)) property->SetBool(value ? 1 : 0);
}

}  // namespace

void gcGameplay::Finish(bool won) {
    if (finishedOnce) return;
    finishedOnce = 1;
    Game::Trace(Game::LevelEndTraceLine(won, result.errors, result.playTime));
    SendEvent(kEventLevelFinished);
    if (won) {
        OnLevelWon();
    } else {
        OnLevelLost();
    }
}

void gcGameplay::OnLevelWon() {
    modal = 1;
    const JCPropertyMap& settings = layout.EffectSettings();
    const JSProperty* endTime = settings.Find("end_level_time");
    const float endLevelTime = endTime != nullptr ? endTime->floatValue : 0.0f;
    const JSProperty* endName = settings.Find("end_level");
    if (endName != nullptr) {
        if (const QRV::G_ANIMATION* animation = layout.FindAnimation(endName->text)) {
            process.AddEffect(
                new gcBot_ElementsEffect_Line(process.List(gcProcess::kListPicture), *animation, endLevelTime, 0.0f));
        }
    }
    bots.Add(new QRV::JCTimer(endLevelTime + kFinishExtraTime, MakeClosure<&gcGameplay::ShowFinishWindow>(this)));

    gcPlayer* player = CurrentPlayer();
    if (player != nullptr && services.sounds != nullptr && player->GetMusicVolume() > kDuckVolume) {
        services.sounds->SetGroupGain("music", kDuckVolume);
        musicDucked = 1;
        const auto length = static_cast<float>(services.sounds->TotalTime("sounds", "levelwin"));
        bots.Add(new QRV::JCTimer(length, MakeClosure<&gcGameplay::RestoreMusic>(this)));
    }
    PlaySound("levelwin");

    if (player != nullptr) {
        if (!InTutorialPack()) {
            if (result.hintsUsed == 0) {
                player->IncrementStatistic("without_hint_in_row", 1);
            } else {
                player->ResetStatistic("without_hint_in_row");
            }
            if (result.errors == 0) {
                player->IncrementStatistic("without_error_in_row", 1);
            } else {
                player->ResetStatistic("without_error_in_row");
            }
            player->ResetStatistic("fail_level_in_row");
            const JSProperty* best = player->GetStatistic("level_time_min");
            if (best == nullptr || result.playTime < best->floatValue) {
                player->SetStatisticFloat("level_time_min", result.playTime);
            }
        }
        player->IncrementStatistic("money", result.sunime);
    }

    JCPack* pack = CurrentPack();
    JCLevel* level = SelectedLevel();
    if (level != nullptr) {
        const int32_t stars = gcStarsForErrors(result.errors);
        if (JSProperty* record = level->GetProperty("stars"); record != nullptr && record->intValue < stars) {
            record->SetInt(stars);
        }
        if (JSProperty* record = level->GetProperty("time");
            record != nullptr && record->floatValue > result.playTime) {
            record->SetFloat(result.playTime);
        }
        UnlockAfterWin(pack, level);
    }

    if (services.windows != nullptr) {
        JCWindow* window = services.windows->FindWindow(InTutorialPack() ? "Tutorial_Finish" : "GP_Finish");
        if (auto* finish = dynamic_cast<gcGameFinishTarget*>(window)) finish->SetResult(&result);
    }
    if (host != nullptr) host->Save();
}

void gcGameplay::UnlockAfterWin(JCPack* pack, JCLevel* level) {
    if (pack == nullptr) return;
    const JSProperty* number = level->GetProperty("number");
    const bool lastLevel = number != nullptr && number->uintValue == pack->GetLevelCount();
    if (!lastLevel) {
        JCLevel* next = pack->GetNextLevel();
        if (!JCLevel::IsDefault(next)) SetOpen(next, "is_open", true);
    }
    if (services.packs == nullptr) return;
    const bool free = EditionInt("free") != 0;
    if (EditionInt("pack_logic_stars") == 0) {
        if (lastLevel && services.packs->HasNextPack()) {
            JCPack* next = services.packs->GetNextPack();
            if (next == nullptr || JCPack::IsDefault(next)) return;
            SetOpen(next, "is_open", true);
            if (!free) SetOpen(next, "is_lock", false);
            JCLevel* first = next->GetFirstLevel();
            if (!JCLevel::IsDefault(first)) SetOpen(first, "is_open", true);
        }
        return;
    }
    uint32_t stars = 0;
    for (const JCPack* ordinary : services.packs->GetKindList(kPackOrdinary)) stars += ordinary->GetStars();
    for (JCPack* ordinary : services.packs->GetKindList(kPackOrdinary)) {
        if (ordinary->TryOpen(stars) && !free) SetOpen(ordinary, "is_lock", false);
    }
}

void gcGameplay::ShowFinishWindow() {
    if (host != nullptr) host->CheckLevelTrophies();
    SendEvent(kEventFinishWindowDue);
    if (services.windows == nullptr) return;
    const char* name = InTutorialPack() ? "Tutorial_Finish" : "GP_Finish";
    if (services.windows->FindWindow(name) != nullptr) services.windows->QueueWindow(name);
}

void gcGameplay::RestoreMusic() {
    musicDucked = 0;
    if (services.sounds == nullptr) return;
    const gcPlayer* player = CurrentPlayer();
    services.sounds->SetGroupGain("music", player != nullptr ? player->GetMusicVolume() : kDuckVolume);
}

void gcGameplay::OnLevelLost() {
    PlaySound("levelloose");
    if (gcPlayer* player = CurrentPlayer()) {
        player->IncrementStatistic("fail_level_in_row", 1);
        player->ResetStatistic("without_error_in_row");
        player->ResetStatistic("without_hint_in_row");
    }
    if (host != nullptr) host->LoseHeart();
    if (!OfferSecondChance()) ShowRestartDialogs();
}

void gcGameplay::ShowRestartDialogs() {
    if (NoHeartLeft()) {
        ShowDialog("confirm_restart_health_is_empty", MakeClosure<&gcGameplay::OnHealthEmptyAnswer>(this), false);
    } else {
        ShowDialog("Confirm_Restart_Finish", MakeClosure<&gcGameplay::OnRestartFinishAnswer>(this), false);
    }
    modal = 1;
}

JCWindow* gcGameplay::ShowDialog(const std::string& name, Closure<void(int32_t)> answer, bool secondCallback,
                                 float delay) {
    JCWindow* window = services.windows != nullptr ? services.windows->FindWindow(name) : nullptr;
    if (window == nullptr) return nullptr;
    if (auto* confirm = dynamic_cast<JCWindow_Confirm*>(window)) {
        // Only this asker hears the answer.
        confirm->cbAnswer = secondCallback ? Closure<void(int32_t)>() : answer;
        confirm->cbSecondAnswer = secondCallback ? answer : Closure<void(int32_t)>();
    }
    window->cbShown = MakeClosure<&gcGameplay::Pause>(this);
    window->showDelay = delay;
    modal = 1;
    services.windows->ShowWindow(name, false);
    return window;
}

bool gcGameplay::CanBuySecondChance() const {
    if (!result.inapp || services.purchases == nullptr || services.purchases->GetWrapper() == nullptr) return false;
    const JSIgpItem* item = services.purchases->FindByName(kSecondChanceProduct);
    return item != nullptr && item->available;
}

bool gcGameplay::OfferSecondChance() {
    JCWindow* window = ShowDialog("Confirm_SecondChance", MakeClosure<&gcGameplay::OnSecondChanceAnswer>(this), true);
    if (window == nullptr) return false;
    if (window->gui != nullptr && window->gui->rootObject != nullptr) {
        const bool canBuy = CanBuySecondChance();
        QRV::JC_GUI_OBJECT* root = window->gui->rootObject;
        if (QRV::JC_GUI_OBJECT* buy = root->FindChildById(kBuyButton)) buy->SetEnabled(canBuy);
        const auto say = [&](int32_t id, const char* key) {
            auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(root->FindChildById(id));
            if (label != nullptr && services.strings != nullptr) label->SetText(services.strings->GetWide(key));
        };
        say(kSecondChanceText, canBuy ? "confirm_secondchance_txt" : "confirm_secondchance_txt_unsold");
        say(kBuyCaption, canBuy ? "confirm_secondchance_buy" : "confirm_secondchance_buy_unsold");
    }
    return true;
}

void gcGameplay::OnSecondChanceAnswer(int32_t answer) {
    if (answer == 1) {
        if (NoHeartLeft()) {
            ShowDialog("confirm_restart_health_is_empty", MakeClosure<&gcGameplay::OnHealthEmptyAnswer>(this), false);
        } else {
            Restart();
        }
        return;
    }
    if (answer == 0) {
        RestartOrLeave(false, false);
        return;
    }
    // The buy choice: it is disabled when nothing can be bought, yet an answer may still come.
    if (!CanBuySecondChance()) {
        OfferSecondChanceLater();
        return;
    }
    JCWindow* window =
        ShowDialog("Confirm_SecondChanceBuy", MakeClosure<&gcGameplay::OnSecondChanceBuyAnswer>(this), false, 0.0f);
    if (window == nullptr) {
        OfferSecondChanceLater();
        return;
    }
    if (window->gui != nullptr && window->gui->rootObject != nullptr) {
        auto* label = dynamic_cast<QRV::JC_GUI_WLABEL*>(window->gui->rootObject->FindChildById(kPriceLabel));
        const JSIgpItem* item = services.purchases->FindByName(kSecondChanceProduct);
        if (label != nullptr && item != nullptr) label->SetText(item->priceText);
    }
}

void gcGameplay::OnSecondChanceBuyAnswer(int32_t answer) {
    if (answer != 1 || !CanBuySecondChance()) {
        OfferSecondChanceLater();
        return;
    }
    const JSIgpItem* item = services.purchases->FindByName(kSecondChanceProduct);
    // The store answers later: "gameplay::buy::secondchance" on success, or the root offers the
    // second chance again when the purchase fails.
    services.purchases->GetWrapper()->Purchase(item->productId);
}

void gcGameplay::ShowPendingOffer() {
    if (!secondChanceOfferPending) return;
    JCWindow* window = services.windows != nullptr ? services.windows->FindWindow("Confirm_SecondChance") : nullptr;
    if (window != nullptr && window->shown != 0) return;
    secondChanceOfferPending = 0;
    if (!OfferSecondChance()) ShowRestartDialogs();
}

void gcGameplay::OnHealthEmptyAnswer(int32_t answer) { RestartOrLeave(false, answer != 0); }

void gcGameplay::OnRestartFinishAnswer(int32_t answer) { RestartOrLeave(answer != 0, false); }

void gcGameplay::RestartOrLeave(bool restartNow, bool toShop) {
    if (restartNow) {
        Restart();
        return;
    }
    JCWindow* fade = services.windows != nullptr ? services.windows->FindWindow("Fade_Transition") : nullptr;
    const bool shop = result.inapp && toShop;
    if (fade == nullptr) {
        // Without the fade the switch happens at once.
        if (shop) {
            GoShop();
        } else {
            ShowLevels();
        }
        return;
    }
    fade->cbShown = shop ? MakeClosure<&gcGameplay::GoShop>(this) : MakeClosure<&gcGameplay::ShowLevels>(this);
    services.windows->ShowWindow("Fade_Transition", false);
}

void gcGameplay::ShowLevels() {
    if (host != nullptr) host->ShowLevels(true);
    JCWindow* fade = services.windows != nullptr ? services.windows->FindWindow("Fade_Transition") : nullptr;
    if (fade != nullptr) {
        fade->Hide(false);
        fade->cbShown = {};
    }
}

void gcGameplay::GoShop() {
    if (host != nullptr) host->ShowLevels(true);
    if (services.windows != nullptr) services.windows->ShowWindow("Shop", false);
    JCWindow* fade = services.windows != nullptr ? services.windows->FindWindow("Fade_Transition") : nullptr;
    if (fade != nullptr) {
        fade->Hide(false);
        fade->cbShown = {};
    }
}

void gcGameplay::OnSecondChanceBought() {
    finishedOnce = 0;
    modal = 0;
    secondChanceOfferPending = 0;
    ambient.ErrorPanel().Reset();
    Resume();
    result.errors = 0;
    if (GetSolvedFraction() >= 1.0f) Finish(true);
}

bool gcGameplay::NoHeartLeft() const {
    // Without hearts in the edition no heart is ever missing.
    if (EditionInt("heart") == 0) return false;
    const gcPlayer* player = CurrentPlayer();
    return player != nullptr && player->GetHealth().GetCount() < 1;
}
