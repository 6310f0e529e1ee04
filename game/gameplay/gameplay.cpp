#include "game/gameplay/gameplay.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/core/property_map.h"
#include "engine/platform/clock.h"
#include "engine/platform/input.h"
#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_groups.h"
#include "game/config/trace.h"
#include "game/data/game_player.h"
#include "game/data/level.h"
#include "game/data/pack.h"
#include "game/data/packs.h"
#include "game/data/player_manager.h"
#include "game/data/purchase_switch.h"
#include "game/data/tutorial_controller.h"
#include "game/gameplay/board_load.h"
#include "game/gameplay/mark_mode.h"
#include "game/gameplay/message_tokens.h"

namespace {

gcControlServices ControlServices(const gcGameplayServices& services) {
    gcControlServices controls;
    controls.dispatcher = services.dispatcher;
    controls.windows = services.windows;
    controls.sounds = services.sounds;
    controls.configuration = services.configuration;
    controls.strings = services.strings;
    return controls;
}

// The logical screen's centre, where the board's background sits.
constexpr float kScreenCentreX = 512.0f;
constexpr float kScreenCentreY = 384.0f;

}  // namespace

gcGameplay::gcGameplay(const gcGameplayServices& services)
    : services(services), process(&layout, services.dispatcher), ambient(&layout, services.dispatcher),
      controls(ControlServices(services), reinterpret_cast<uintptr_t>(this), &gcGameplay::UseHintCallback) {
    controls.SetDelegate(this);
    background.transform->positionX = kScreenCentreX;
    background.transform->positionY = kScreenCentreY;
    // After the clue checker and the process, which joined in their constructors.
    if (services.dispatcher != nullptr) {
        Subscribe<&gcGameplay::OnElementOpened>(gcBoardEvent::CellRight, this);
        Subscribe<&gcGameplay::OnElementError>(gcBoardEvent::CellWrong, this);
        Subscribe<&gcGameplay::OnOpenSucceeded>(gcBoardEvent::MoveRight, this);
        Subscribe<&gcGameplay::OnOpenFailed>(gcBoardEvent::MoveWrong, this);
        Subscribe<&gcGameplay::OnOpenUndone>(gcBoardEvent::MoveUndone, this);
        services.dispatcher->AddListener(this);
    }
}

gcGameplay::~gcGameplay() {
    if (services.dispatcher != nullptr) services.dispatcher->RemoveListener(this);
    // The music is never left ducked by a screen that goes.
    if (musicDucked) RestoreMusic();
    EndHintFlight();
    bonusFlies.clear();
    bots.Clear();
    background.ReleaseResources();
    hintAnimation.ReleaseResources();
    particlesFinish.ReleaseTexture();
    particlesFollow.ReleaseTexture();
}

const pugi::xml_document* gcGameplay::AcquireConfigDocument(const std::string& key) const {
    std::string file;
    if (services.configuration != nullptr) {
        if (const JSProperty* entry = services.configuration->Find(key)) file = entry->text;
    }
    const pugi::xml_document* document = file.empty() ? nullptr : QRV::AcquireXmlResource(file);
    if (document == nullptr) ShowLoadErrorAndExit("gameplay." + key, file);
    return document;
}

bool gcGameplay::LoadSettings() {
    result.inapp = services.edition != nullptr && PurchasesEnabled(*services.edition) ? 1 : 0;
    const pugi::xml_document* document = AcquireConfigDocument("settings");
    const pugi::xml_node root = document->document_element();
    baseSunimeOne = QRV::AsciiToInt(root.attribute("sunime_one").as_string());
    baseSunimeBonus = QRV::AsciiToInt(root.attribute("sunime_bonus").as_string());
    uint32_t hints = 0;
    QRV::ParseUInt(root.attribute("max_hints").as_string(), hints);
    baseMaxHints = static_cast<int32_t>(hints);
    QRV::ReleaseXml(document);
    return static_cast<bool>(root);
}

bool gcGameplay::LoadEffects() {
    const pugi::xml_document* document = AcquireConfigDocument("effects");
    const pugi::xml_node root = document->document_element();
    layout.LoadAnimations(root.child("animations"));
    bool loaded = layout.FindAnimation("hint") != nullptr;
    layout.SelectionFont().Load(root.child("font_selected"), services.fonts);
    layout.EffectSettings().Load(root.child("settings"));

    const pugi::xml_node fly = root.child("hint_fly");
    hintDeflection1 = QRV::AsciiToInt(fly.attribute("deflection1").as_string());
    hintDeflection2 = QRV::AsciiToInt(fly.attribute("deflection2").as_string());
    hintSpeed = QRV::AsciiToFloat(fly.attribute("speed").as_string());
    particlesFinish.ReleaseTexture();
    particlesFollow.ReleaseTexture();
    loaded = particlesFinish.Load(fly.child("particles_finish")) && loaded;
    loaded = particlesFollow.Load(fly.child("particles_follow")) && loaded;
    particlesFinish.BindTexture();
    particlesFollow.BindTexture();

    hintAnimation.ReleaseResources();
    if (const QRV::G_ANIMATION* hint = layout.FindAnimation("hint")) hintAnimation = *hint;
    hintRestTaken = 0;
    hintVisible = 0;
    loaded = bonusTemplate.Load(root.child("bonus_effect"), layout.FindAnimation("money"), services.fonts) && loaded;
    QRV::ReleaseXml(document);
    return loaded;
}

bool gcGameplay::StartLevel(const std::string& levelPath) {
    if (!this->levelPath.empty()) Close();
    finishedOnce = 0;
    modal = 0;
    gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return false;

    this->levelPath = levelPath;
    allowedErrors = baseAllowedErrors;
    maxHints = baseMaxHints;
    sunimeOne = baseSunimeOne;
    sunimeBonus = baseSunimeBonus;

    const pugi::xml_document* numbers = AcquireConfigDocument("numbers");
    const pugi::xml_document* decoration = AcquireConfigDocument("ambient");
    const gcBoardLoadResult loaded = gcLoadBoard(
        levelPath, layout, process, numbers->document_element(),
        [&](const pugi::xml_node&) { return ambient.Load(decoration->document_element(), services.fonts); });
    QRV::ReleaseXml(decoration);
    QRV::ReleaseXml(numbers);
    if (loaded == gcBoardLoadResult::MissingFile || loaded == gcBoardLoadResult::TooLarge)
        ShowLoadErrorAndExit(levelPath);
    if (loaded != gcBoardLoadResult::Loaded) {
        // Nothing of the refused level stays behind: a later restart has nothing to restart.
        this->levelPath.clear();
        return false;
    }

    background.ReleaseResources();
    std::string backgroundName;
    if (const JCPack* pack = CurrentPack()) {
        if (const JSProperty* property = pack->GetProperty("background")) backgroundName = property->text;
    }
    background.SetTextureName(backgroundName);
    if (active) background.RestoreResources();

    allowedErrors = player->GetItemCount("error");
    ambient.ErrorPanel().SetAllowance(allowedErrors);

    if (!result.inapp)
        result.hints += InTutorialPack() ? 1u : static_cast<uint32_t>(player->GetItemCount("hint_start"));
    controls.SetHintCount(static_cast<int32_t>(result.hints));
    for (const char* message :
         {"control::hint::visible::true", "control::store::visible::true", "control::reset_selection::visible::true"}) {
        SendMessage(message);
    }
    running = 1;
    paused = 0;
    TraceBonusCells();

    if (JCLevel* level = SelectedLevel()) {
        if (JSProperty* plays = level->GetProperty("play_count")) plays->SetInt(plays->intValue + 1);
    }
    if (InTutorialPack()) SendMessage("process::is_block::true");
    SendEvent(gcBoardEvent::LevelStarted);
    return true;
}

void gcGameplay::TraceBonusCells() const {
    if (!Game::TraceEnabled()) return;
    std::string cells;
    for (const gcElement* cell : process.List(gcProcess::kListPicture)) {
        if (!cell->bonus) continue;
        if (!cells.empty()) cells += '|';
        cells += std::to_string(cell->column) + ' ' + std::to_string(cell->row);
    }
    Game::Trace("level bonus cells " + cells);
}

bool gcGameplay::Close() {
    if (!running) return false;
    ResetLevelState();
    if (services.tutorials != nullptr) services.tutorials->CloseCurrentStep();
    return true;
}

void gcGameplay::ResetLevelState() {
    if (!running) return;
    running = 0;
    levelPath.clear();
    result.playTime = 0.0f;
    result.errors = 0;
    result.hintsEarned = 0;
    result.hints = 0;
    result.hintsUsed = 0;
    result.sunime = 0;
    // The flight, the flies and the hint's cell point at cells that the reset below deletes.
    hintCell = nullptr;
    EndHintFlight();
    bonusFlies.clear();
    process.Reset();
    ambient.ErrorPanel().Reset();
    ambient.SetSunime(0);
    bots.Clear();
    modal = 0;
    secondChanceOfferPending = 0;
    if (musicDucked) RestoreMusic();
}

void gcGameplay::Restart() {
    if (levelPath.empty()) return;
    const std::string path = levelPath;
    ResetLevelState();
    Deactivate();
    StartLevel(path);
    Activate();
    if (const JCLevel* level = SelectedLevel()) Game::Trace("level started " + level->GetName());
    if (services.tutorials != nullptr && !services.tutorials->GetCurrentKey().empty()) {
        services.tutorials->ShowStep(services.tutorials->GetCurrentKey(), 0);
    }
}

void gcGameplay::Activate() {
    active = 1;
    background.RestoreResources();
    hintAnimation.RestoreResources();
    particlesFinish.BindTexture();
    particlesFollow.BindTexture();
    particlesFinish.system.Reset();
    particlesFollow.system.Reset();
    ambient.Activate();
    controls.ActivateAll();
    process.Activate(services.fonts);
}

void gcGameplay::Deactivate() {
    active = 0;
    background.ReleaseResources();
    hintAnimation.ReleaseResources();
    particlesFinish.system.Stop();
    particlesFollow.system.Stop();
    particlesFinish.ReleaseTexture();
    particlesFollow.ReleaseTexture();
    ambient.Deactivate();
    controls.DeactivateAll();
    process.Deactivate();
}

int32_t gcGameplay::Update() {
    bots.Update();
    ShowPendingOffer();
    if (!running || paused) return -1;
    result.playTime += QRV::g_frameTime.load();
    ambient.Update();
    controls.Update();
    process.Update();
    UpdateEffects();
    return 0;
}

void gcGameplay::UpdateEffects() {
    if (hintFlight != nullptr) {
        // The arrival may end the level's state; the sequence is kept out of reach while it runs.
        std::unique_ptr<QRV::G_EFFECT_T<gcElement*>> flight = std::move(hintFlight);
        hintFlightCancelled = 0;
        hintFlightRunning = 1;
        const bool done = flight->Update();
        hintFlightRunning = 0;
        if (!done && !hintFlightCancelled && hintFlight == nullptr) hintFlight = std::move(flight);
    }
    if (hintVisible) hintAnimation.Update();
    if (finishBurstLeft > 0.0f) {
        finishBurstLeft -= QRV::g_frameTime.load();
        if (finishBurstLeft <= 0.0f) particlesFinish.system.Stop();
    }
    if (hintFlight != nullptr) {
        particlesFollow.system.SetPosition(hintAnimation.transform->positionX, hintAnimation.transform->positionY);
    }
    particlesFinish.Update();
    particlesFollow.Update();
    for (size_t i = 0; i < bonusFlies.size();) {
        if (bonusFlies[i]->Update()) {
            ++i;
        } else {
            bonusFlies.erase(bonusFlies.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

void gcGameplay::Render() {
    if (!running) return;
    background.Draw();
    ambient.DrawUnder();
    process.Draw();
    ambient.DrawOver();
    controls.RenderAll();
    if (hintVisible) hintAnimation.Draw();
    particlesFollow.Draw();
    particlesFinish.Draw();
    for (const auto& fly : bonusFlies) fly->Draw();
}

int32_t gcGameplay::OnMouseDown(int32_t button) {
    if (!running || paused || modal) return 0;
    if (QRV::g_input != nullptr && QRV::g_input->IsDown(1) && QRV::g_input->IsDown(2) &&
        process.ResetSelection(false)) {
        return gcControl_Base::kTaken;
    }
    // A press that a control takes begins no selection.
    if (controls.OnMouseDown(button) != 0) return 0;
    if (button == 1 || button == 2) process.BeginSelectionAtCursor(GetMarkMode(button));
    return 0;
}

int32_t gcGameplay::OnMouseMove() {
    if (!running || paused) return -1;
    controls.OnMouseMove();
    if (QRV::g_input != nullptr) {
        const int32_t x = QRV::g_input->mouseX;
        const int32_t y = QRV::g_input->mouseY;
        const float left = layout.CellOriginX(), top = layout.CellOriginY();
        const bool inside = x >= left && x <= left + static_cast<float>(layout.FieldWidth()) && y >= top &&
                            y <= top + static_cast<float>(layout.FieldHeight());
        SetCursorInField(inside);
    }
    process.DragSelectionToCursor(GetDragMarkMode());
    return -1;
}

int32_t gcGameplay::OnMouseUp(int32_t button) {
    if (!running || paused || modal) return 0;
    if (button != 1 && button != 2 && button != 4) return 0;
    if (controls.OnMouseUp(button) != 0) return gcControl_Base::kTaken;
    if (button == 1 || button == 2) process.CommitSelection(GetMarkMode(button), false);
    return 0;
}

void gcGameplay::Pause() {
    if (paused) return;
    paused = 1;
    PostEvent(kEventPaused);
}

void gcGameplay::Resume() {
    if (!running || !paused) return;
    paused = 0;
    PostEvent(kEventResumed);
}

int32_t gcGameplay::GetMarkMode(int32_t button) const {
    return Game::MarkModeForButton(button, controls.GetCheckModeState());
}

int32_t gcGameplay::GetDragMarkMode() const {
    if (QRV::g_input == nullptr) return Game::MarkModeForButton(1, controls.GetCheckModeState());
    return Game::DragMarkMode(QRV::g_input->keys[1], QRV::g_input->keys[2], controls.GetCheckModeState());
}

void gcGameplay::SetCursorInField(bool inField) {
    if ((cursorInField != 0) == inField) return;
    cursorInField = inField ? 1 : 0;
    SendEvent(inField ? kEventCursorEntered : kEventCursorLeft);
}

void gcGameplay::OnControl(int32_t controlId) {
    if (controlId == 4) process.ResetSelection(false);
}

gcPlayer* gcGameplay::CurrentPlayer() const {
    if (services.players == nullptr) return nullptr;
    return dynamic_cast<gcPlayer*>(services.players->GetCurrentPlayer());
}

JCPack* gcGameplay::CurrentPack() const {
    if (services.packs == nullptr) return nullptr;
    JCPack* pack = services.packs->GetCurrentPack();
    return pack == nullptr || JCPack::IsDefault(pack) ? nullptr : pack;
}

JCLevel* gcGameplay::SelectedLevel() const {
    const JCPack* pack = CurrentPack();
    JCLevel* level = pack != nullptr ? pack->GetSelectedLevel() : nullptr;
    return level == nullptr || JCLevel::IsDefault(level) ? nullptr : level;
}

bool gcGameplay::InTutorialPack() const {
    const JCPack* pack = CurrentPack();
    return pack != nullptr && pack->GetKind() == kPackTutorial;
}

int32_t gcGameplay::EditionInt(const char* key) const {
    if (services.edition == nullptr) return 0;
    const JSProperty* entry = services.edition->Find(key);
    return entry != nullptr ? entry->intValue : 0;
}

void gcGameplay::PlaySound(const char* name) const {
    if (services.sounds != nullptr) services.sounds->PlaySound(name);
}

void gcGameplay::SendEvent(int32_t id) const {
    if (services.dispatcher != nullptr) services.dispatcher->Send<>(id);
}

void gcGameplay::PostEvent(int32_t id) const {
    if (services.dispatcher != nullptr) services.dispatcher->Post(id);
}
