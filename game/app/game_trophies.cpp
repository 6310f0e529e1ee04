#include <algorithm>

#include "engine/windows/window.h"
#include "engine/windows/window_manager.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/pack.h"
#include "game/data/trophy.h"
#include "game/gameplay/gameplay_windows.h"

namespace {

constexpr const char* kAllTrophies = "achievements_txt_alltrophies_name";
constexpr const char* kTraining = "achievements_txt_training01_name";
constexpr const char* kAnnounceWindow = "Trophy_Get";
// Probe names of the values that are not player statistics.
constexpr const char* kProbePerfectLevels = "perfect_levels";
constexpr const char* kProbeLife = "life";
constexpr const char* kProbePassedFraction = "passed_fraction";
constexpr const char* kProbeAllOther = "all_other_trophies";
// Tested after every level, each against its statistic, in this order.
constexpr const char* kLevelTrophies[] = {
    "achievements_txt_hints01_no_name", "achievements_txt_noerrors01_name", "achievements_txt_intime01_name",
    "achievements_txt_stars01_name",    "achievements_txt_stars02_name",    "achievements_txt_stars03_name",
    "achievements_txt_currency01_name", "achievements_txt_currency02_name", "achievements_txt_currency03_name"};

std::string PackTrophyName(const JCPack* pack) { return "achievements_txt_" + pack->GetName() + "_name"; }

QRV::JS_TROPHY_PROBE NumberProbe(const std::string& name, double value) {
    QRV::JS_TROPHY_PROBE probe;
    probe.name = name;
    probe.floatValue = static_cast<float>(value);
    probe.intValue = static_cast<int32_t>(value);
    probe.uintValue = value > 0.0 ? static_cast<uint32_t>(value) : 0u;
    probe.boolValue = value != 0.0 ? 1 : 0;
    return probe;
}

// The smallest passed fraction of the tutorial packs (1.0 without any).
float TutorialFraction(const JCPacks& packs) {
    float fraction = 1.0f;
    for (const JCPack* pack : packs.GetKindList(kPackTutorial))
        fraction = std::min(fraction, pack->GetPassedFraction());
    return fraction;
}

}  // namespace

bool gcGame::ProbeTrophy(const std::string& name, bool award, const gcPlayer* player) {
    QRV::G_TROPHY* trophy = context.trophies.FindTrophy(name);
    if (trophy == nullptr || player == nullptr || trophy->ConditionCount() != 1) return false;
    const std::string& value = trophy->conditions.front().name;
    QRV::JS_TROPHY_PROBE probe;
    if (value == kProbePerfectLevels) {
        probe = NumberProbe(value, context.packs.CountPerfectLevelsAll());
    } else if (value == kProbeLife) {
        probe = NumberProbe(value, player->GetItemCount("life"));
    } else if (value == kProbeAllOther) {
        probe = NumberProbe(value, AllOtherTrophiesAchieved() ? 1.0 : 0.0);
    } else if (value == kProbePassedFraction) {
        float fraction = 0.0f;
        if (name == kTraining) fraction = TutorialFraction(context.packs);
        for (const JCPack* pack : context.packs.GetKindList(kPackOrdinary)) {
            if (PackTrophyName(pack) == name) fraction = pack->GetPassedFraction();
        }
        probe = NumberProbe(value, fraction);
    } else if (const JSProperty* statistic = player->GetStatistic(value)) {
        probe = QRV::MakeTrophyProbe(value, *statistic);
    } else {
        return false;
    }
    if (!award) return trophy->IsMet(probe);
    return context.trophies.CheckTrophy(name, probe);
}

bool gcGame::CheckTrophy(const std::string& name) { return ProbeTrophy(name, true, CurrentPlayer()); }

bool gcGame::AllOtherTrophiesAchieved() const {
    for (const QRV::G_TROPHY* trophy : context.trophies.Trophies()) {
        if (trophy->name != kAllTrophies && !trophy->awarded) return false;
    }
    return true;
}

void gcGame::AnnounceTrophy(const std::string& name) {
    QRV::G_TROPHY* trophy = context.trophies.FindTrophy(name);
    gcPlayer* player = CurrentPlayer();
    if (trophy == nullptr || player == nullptr) return;
    player->IncrementStatistic("money", trophy->bonus);
    SubmitLeaderboards();
    if (auto* announcer = dynamic_cast<gcTrophyAnnouncer*>(FindWindow(kAnnounceWindow))) {
        announcer->AddPendingTrophy(trophy);
        context.windowManager.QueueWindow(kAnnounceWindow);
    }
}

void gcGame::CheckAllTrophies(const std::string& name) {
    if (CurrentPlayer() == nullptr || context.trophies.FindTrophy(name) == nullptr) return;
    AnnounceTrophy(name);
    if (name == kAllTrophies) return;
    const QRV::G_TROPHY* all = context.trophies.FindTrophy(kAllTrophies);
    if (all == nullptr || all->awarded || !AllOtherTrophiesAchieved()) return;
    // Marked before it pays: it is awarded at most once.
    if (CheckTrophy(kAllTrophies)) AnnounceTrophy(kAllTrophies);
}

void gcGame::CheckLevelTrophies() {
    gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return;
    const auto awardIfMet = [this](const std::string& name) {
        if (CheckTrophy(name)) CheckAllTrophies(name);
    };
    if (TutorialFraction(context.packs) >= 1.0f) {
        player->SetPassedTutorial(true);
        awardIfMet(kTraining);
    }
    for (const JCPack* pack : context.packs.GetKindList(kPackOrdinary)) {
        if (pack->GetPassedFraction() >= 1.0f) awardIfMet(PackTrophyName(pack));
    }
    for (const char* name : kLevelTrophies) awardIfMet(name);
    SubmitLeaderboards();
}

void gcGame::RecheckTrophies(JCPlayer* player) {
    context.trophies.ClearAwarded();
    const auto* selected = dynamic_cast<const gcPlayer*>(player);
    if (selected == nullptr) return;
    // Silently: no event, no window, no money.
    for (QRV::G_TROPHY* trophy : context.trophies.Trophies()) {
        if (trophy->name != kAllTrophies) trophy->awarded = ProbeTrophy(trophy->name, false, selected);
    }
    if (QRV::G_TROPHY* all = context.trophies.FindTrophy(kAllTrophies))
        all->awarded = ProbeTrophy(kAllTrophies, false, selected);
}

void gcGame::SubmitLeaderboards() {
    const gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return;
    // The desktop has no leaderboard service: the ids are looked up and nothing is sent.
    (void)context.leaderboards.GetId("Score");
    (void)context.leaderboards.GetId("Stars");
}
