#include <memory>

#include "engine/windows/window.h"
#include "engine/windows/window_confirm.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/config/trace.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/store_catalogue.h"
#include "game/data/tutorial_controller.h"

namespace {

constexpr const char* kTutorialQuestion = "GP_Tutorial_Question";
constexpr const char* kStartWindow = "GP_Start";

// The pack a level name selects: the text before its first ".", among the ordinary packs first.
JCPack* PackOfLevel(const JCPacks& packs, const std::string& levelName) {
    const std::string packName = levelName.substr(0, levelName.find('.'));
    if (JCPack* pack = packs.FindPack(packName, kPackOrdinary)) return pack;
    return packs.FindPack(packName, kPackTutorial);
}

std::string LevelText(const JCLevel* level, const char* key) {
    const JSProperty* property = level->GetProperty(key);
    return property != nullptr ? property->text : std::string();
}

}  // namespace

bool gcGame::IsTutorialPack() const {
    const JCPack* pack = context.packs.GetCurrentPack();
    return pack != nullptr && pack->GetKind() == kPackTutorial;
}

bool gcGame::StartLevel(const std::string& levelName) {
    JCPacks& packs = context.packs;
    const JCPack* named = PackOfLevel(packs, levelName);
    if (named == nullptr || JCLevel::IsDefault(named->FindLevel(levelName))) return false;
    packs.SelectLevel(levelName);
    JCPack* pack = packs.GetCurrentPack();
    JCLevel* level = pack != nullptr ? pack->GetSelectedLevel() : nullptr;
    if (level == nullptr || JCLevel::IsDefault(level)) return false;

    if (!gameplay.StartLevel(LevelText(level, "path"))) return false;
    gameplay.Activate();
    Game::Trace("level started " + levelName);
    if (global.EditionInt("gameplay_ad") == 0) HideBanners();
    context.windowManager.ClearQueue();

    const bool tutorialPack = pack->GetKind() == kPackTutorial;
    if (!tutorialPack) {
        const JCPacks::PackList& ordinary = packs.GetKindList(kPackOrdinary);
        bool noTutorialPassed = true;
        for (const JCPack* tutorial : packs.GetKindList(kPackTutorial)) {
            // A pack without levels counts as not passed.
            if (tutorial->GetLevelCount() != 0 && tutorial->GetPassedFraction() != 0.0f) noTutorialPassed = false;
        }
        auto* question = dynamic_cast<JCWindow_Confirm*>(FindWindow(kTutorialQuestion));
        if (!ordinary.empty() && ordinary.front() == pack && pack->GetFirstLevel() == level && noTutorialPassed &&
            question != nullptr) {
            ExecuteCommand("gameplay::pause");
            // The question answers through the second callback only.
            question->cbAnswer = {};
            context.windowManager.ShowConfirm(kTutorialQuestion, MakeClosure<&gcGame::OnTutorialQuestionAnswer>(this));
            return true;
        }
        if (FindWindow(kStartWindow) != nullptr) context.windowManager.QueueWindow(kStartWindow);
    } else {
        gcTutorialController::Instance().ShowStep(LevelText(level, "name"), 0);
    }
    context.soundGroups.PlaySound("levelshow");
    return true;
}

void gcGame::OnTutorialQuestionAnswer(int32_t answer) {
    if (answer == 1) {
        ShowTutorialList();
        return;
    }
    // The question paused the level; only the start window would resume it.
    if (FindWindow(kStartWindow) != nullptr) {
        context.windowManager.QueueWindow(kStartWindow);
    } else {
        ExecuteCommand("gameplay::resume");
    }
    context.soundGroups.PlaySound("levelshow");
}

gcPlayer* gcGame::CreatePlayer(const std::wstring& name) {
    JCPlayerManager& players = context.playerManager;
    if (players.FindPlayer(name) != nullptr) return nullptr;
    auto copy = std::make_unique<gcPlayer>(defaultPlayer);
    copy->SetName(name);
    auto* player = static_cast<gcPlayer*>(players.AddPlayer(std::move(copy)));
    if (players.GetPlayerCount() == 1) players.SelectPlayer(player);
    return player;
}

void gcGame::LoseHeart() {
    gcPlayer* player = CurrentPlayer();
    if (global.EditionInt("heart") == 0 || player == nullptr || IsTutorialPack()) return;
    if (player->GetHealth().LoseHeart()) Save();
}

void gcGame::RefillAllHearts() {
    gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return;
    gcPlayerHealth& health = player->GetHealth();
    health.ClearLost();
    while (health.AddHeart()) {}
}

void gcGame::Save() {
    context.packs.StorePlayerProgress(context.playerManager.GetCurrentPlayer());
    const std::string folder = global.GetSaveFolder();
    if (!folder.empty() && context.playerManager.Save(folder)) Game::Trace("save written " + folder + "players.xml");
    global.SaveSettings();
}

JCStoreItem* gcGame::FindStoreItem(const std::string& name) const {
    const gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return nullptr;
    return context.store.FindItem(name, player->GetItemCount(name));
}
