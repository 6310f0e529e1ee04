// What the moves earn and cost: sunime, bonus flies, errors, hints for progress, and using a hint.
#include <algorithm>

#include "engine/bots/tween_bezier.h"
#include "game/data/game_player.h"
#include "game/gameplay/gameplay.h"

namespace {

// Wrong claims among the cells.
int32_t CountWrong(const std::vector<gcElement*>* cells) {
    int32_t wrong = 0;
    if (cells == nullptr) return 0;
    for (const gcElement* cell : *cells) {
        if (cell != nullptr && !cell->claimRight) ++wrong;
    }
    return wrong;
}

// The name of the trophy for used hints.
constexpr const char* kHintTrophy = "achievements_txt_hints01_name";

}  // namespace

void gcGameplay::OnElementOpened(gcElement* cell) {
    if (cell == nullptr) return;
    if (!cell->IsPicture()) {
        PlaySound("emptytileclick");
        return;
    }
    PlaySound("fulltileclick");
    result.sunime += sunimeOne;
    ambient.AddSunime(sunimeOne);
    if (cell->bonus) {
        // The bonus is the level's at once: a win before the coin lands still pays it. The flight
        // only shows it reaching the counter.
        result.sunime += sunimeBonus;
        auto fly = bonusTemplate.Launch(*cell, sunimeBonus, MakeClosure<&gcGameplay::OnBonusArrived>(this));
        if (fly != nullptr) {
            bonusFlies.push_back(std::move(fly));
        } else {
            ambient.AddSunime(sunimeBonus);
        }
    }
    TryEarnHint();
}

void gcGameplay::OnBonusArrived(int32_t amount) { ambient.AddSunime(amount); }

void gcGameplay::TryEarnHint() {
    if (maxHints < 0 || result.hints >= static_cast<uint32_t>(maxHints)) return;
    const float threshold = (1.0f / static_cast<float>(maxHints + 1)) * static_cast<float>(result.hintsEarned + 1);
    if (!(GetSolvedFraction() > threshold)) return;
    if (!result.inapp) {
        result.hintsEarned += 1;
        result.hints += 1;
    }
    ShowHintCount();
}

void gcGameplay::ShowHintCount() { controls.SetHintCount(static_cast<int32_t>(result.hints)); }

void gcGameplay::OnElementError(gcElement* cell) {
    PlaySound("errorclick");
    if (cell == nullptr || InTutorialPack() || !cell->IsPicture()) return;
    // A picture cell crossed out still pays: the player has found it.
    result.sunime += sunimeOne;
    ambient.AddSunime(sunimeOne);
}

void gcGameplay::OnOpenSucceeded(const std::vector<gcElement*>*) {
    if (GetSolvedFraction() >= 1.0f) Finish(true);
}

void gcGameplay::OnOpenFailed(const std::vector<gcElement*>* cells) {
    const bool tutorial = InTutorialPack();
    if (!tutorial) result.errors += CountWrong(cells);
    if (result.errors >= allowedErrors) {
        Finish(false);
    } else if (!tutorial && GetSolvedFraction() >= 1.0f) {
        Finish(true);
    }
}

void gcGameplay::OnOpenUndone(const std::vector<gcElement*>* cells) {
    if (cells != nullptr && std::find(cells->begin(), cells->end(), hintCell) != cells->end()) hintCell = nullptr;
    if (InTutorialPack()) return;
    result.errors -= CountWrong(cells);
    if (result.errors < 0) result.errors = 0;
}

bool gcGameplay::IsHintMove(const std::vector<gcElement*>& cells) const {
    return hintCell != nullptr && cells.size() == 1 && cells.front() == hintCell;
}

void gcGameplay::UseHintCallback(uintptr_t self) { reinterpret_cast<gcGameplay*>(self)->UseHint(); }

void gcGameplay::UseHint() {
    gcElement* cell = process.PickHintCell();
    if (cell == nullptr) {
        // The button hid itself for the flight: it comes back with the same count.
        ShowHintCount();
        return;
    }
    SendEvent(kEventHintStarted);
    modal = 1;

    EndHintFlight();
    QRV::JS_TRANSFORM3* target = hintAnimation.transform;
    if (!hintRestTaken) {
        hintRestX = target->positionX;
        hintRestY = target->positionY;
        hintRestTaken = 1;
    }
    target->positionX = hintRestX;
    target->positionY = hintRestY;
    hintAnimation.SetColor(0xFFFFFFFFu);
    hintVisible = 1;
    const float dx = cell->CentreX() - hintRestX, dy = cell->CentreY() - hintRestY;
    const QRV::JS_VECTOR3 control1{hintRestX + 0.33f * dx, hintRestY + 0.33f * dy + static_cast<float>(hintDeflection1),
                                   0.0f};
    const QRV::JS_VECTOR3 control2{hintRestX + 0.66f * dx, hintRestY + 0.66f * dy + static_cast<float>(hintDeflection2),
                                   0.0f};
    hintFlight = std::make_unique<QRV::G_EFFECT_T<gcElement*>>();
    hintFlight->Add(new QRV::JC_BOT_MOVE_CUBEBEZIER(target, control1, control2,
                                                    {cell->CentreX(), cell->CentreY(), 0.0f}, 0.0f, hintSpeed, 0.0f),
                    MakeClosure<&gcGameplay::OnHintApplied>(this), cell);
    particlesFollow.system.Reset();
    particlesFollow.system.SetPosition(hintRestX, hintRestY);
    particlesFollow.system.Start();

    hintCharged = 0;
    if (!result.inapp && result.hints != 0) {
        result.hintsUsed += 1;
        result.hints -= 1;
        hintCharged = 1;
    }
    ShowHintCount();
}

void gcGameplay::EndHintFlight() {
    if (hintFlight == nullptr && !hintFlightRunning) return;
    hintFlight.reset();
    if (hintFlightRunning) hintFlightCancelled = 1;
    hintVisible = 0;
    particlesFollow.system.Stop();
    particlesFinish.system.Stop();
    finishBurstLeft = 0.0f;
}

void gcGameplay::OnHintApplied(gcElement* cell) {
    // A level that ended meanwhile keeps its board closed.
    if (!finishedOnce) modal = 0;
    const QRV::JS_TRANSFORM3* at = hintAnimation.transform;
    particlesFinish.system.Reset();
    particlesFinish.system.SetPosition(at->positionX, at->positionY);
    particlesFinish.system.Start(0.5f);
    finishBurstLeft = 0.5f;
    particlesFollow.system.Stop();
    hintVisible = 0;

    // Known before the open: its move may report at once.
    gcElement* const previousHint = hintCell;
    hintCell = cell;
    if (cell == nullptr || !process.OpenCell(cell->Position())) {
        hintCell = previousHint;
        // The cell went meanwhile: the hint is given back, and nothing is counted.
        if (hintCharged) {
            result.hints += 1;
            result.hintsUsed -= 1;
            hintCharged = 0;
            ShowHintCount();
        }
        return;
    }
    hintCharged = 0;
    if (gcPlayer* player = CurrentPlayer()) player->IncrementStatistic("hint_use", 1);
    if (host != nullptr && host->CheckTrophy(kHintTrophy)) host->CheckAllTrophies(kHintTrophy);
    PostEvent(kEventHintApplied);
    process.ResetSelection(true);
}
