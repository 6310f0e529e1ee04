#pragma once
// The board screen: one object for the whole run, owned by the game root. It starts a level (the
// level file onto the layout, the board and the decoration), turns mouse input into selections and
// moves, counts what the moves earn and cost (sunime, errors, hints, time), owns the decoration,
// the in-game controls and the effects, answers the "gameplay" messages and ends the level in a win
// or a loss with its dialogs.
//
// Configuration: the gameplay configuration map names one file per key: "settings" (the base
// values), "effects" (animations, selection font, effect settings, hint fly, bonus fly), "numbers"
// (the clue style), "ambient" (the decoration) and the five control layouts. A file that cannot be
// had stops the program with the load error "gameplay." + key.
//
// Events: the screen hears 18 to 22 after the clue checker and the board process (it joins the
// dispatcher after them), so the solved fraction it reads already counts the cell or move at hand.
// It sends 4 (level started), 5 (level finished), 6 (finish window due), 9 and 10 (cursor entered
// and left the board), 11 (item bought, std::string), 23 (hint started), and posts 7 (paused),
// 8 (resumed) and 24 (hint applied).
//
// Message vocabulary (tokens after "gameplay"): pause, resume, close, restart, buy::<item>,
// add_money::<n>, control::..., ambient::..., process::..., tutorial::next_step, max_hint::<n>.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/bots/bot_list.h"
#include "engine/bots/effect_sequencer.h"
#include "engine/core/event_dispatcher.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/particles.h"
#include "engine/graphics/sprite.h"
#include "game/gameplay/ambient.h"
#include "game/gameplay/control_delegate.h"
#include "game/gameplay/control_set.h"
#include "game/gameplay/elements_layout.h"
#include "game/gameplay/fly_effect.h"
#include "game/gameplay/gameplay_host.h"
#include "game/gameplay/gameplay_result.h"
#include "game/gameplay/process.h"

class JCIgpManager;
class JCPack;
class JCLevel;
class JCPacks;
class JCPlayerManager;
class JCPropertyMap;
class JCSoundGroups;
class JCWindow;
class JCWindowManager;
class gcPlayer;
class gcTutorialController;
namespace QRV {
class JCFontCatalogue;
class JC_STRING_TABLE;
}  // namespace QRV

// The shared objects the screen works with, all owned elsewhere and living longer than the screen.
// Any pointer may be null: what needs it is then skipped (no event, no window, no sound, no
// player, no purchase).
struct gcGameplayServices {
    QRV::gEventDispatcher* dispatcher = nullptr;
    JCWindowManager* windows = nullptr;
    JCSoundGroups* sounds = nullptr;
    JCPlayerManager* players = nullptr;
    JCPacks* packs = nullptr;
    const QRV::JCFontCatalogue* fonts = nullptr;
    const QRV::JC_STRING_TABLE* strings = nullptr;
    // The gameplay configuration: file keys.
    const JCPropertyMap* configuration = nullptr;
    // The edition: "inapp", "free", "pack_logic_stars", "heart".
    const JCPropertyMap* edition = nullptr;
    gcTutorialController* tutorials = nullptr;
    // The in-app store ("second_chance").
    JCIgpManager* purchases = nullptr;
};

class gcGameplay : public gcControl_Delegate, public QRV::gListener {
public:
    // Events of the screen beside the board's own (command_open.h).
    static constexpr int32_t kEventLevelFinished = 5;
    static constexpr int32_t kEventFinishWindowDue = 6;
    static constexpr int32_t kEventPaused = 7;
    static constexpr int32_t kEventResumed = 8;
    static constexpr int32_t kEventCursorEntered = 9;
    static constexpr int32_t kEventCursorLeft = 10;
    static constexpr int32_t kEventItemBought = 11;
    static constexpr int32_t kEventHintStarted = 23;
    static constexpr int32_t kEventHintApplied = 24;

    // The seconds a loss dialog waits before it shows, and the music gain of the win's duck.
    static constexpr float kDialogDelay = 2.0f;
    static constexpr float kDuckVolume = 10.0f;
    // Seconds the finish window waits after the end animation's time: the last cells' shine
    // settles, then the window comes (the sweep and this wait stay within about two seconds).
    static constexpr float kFinishExtraTime = 1.0f;

    explicit gcGameplay(const gcGameplayServices& services);
    ~gcGameplay() override;
    gcGameplay(const gcGameplay&) = delete;
    gcGameplay& operator=(const gcGameplay&) = delete;

    // Null: the root calls are skipped.
    void SetHost(gcGameplayHost* newHost) { host = newHost; }
    gcGameplayHost* GetHost() const { return host; }

    // Start-up, once: the settings file (base values) and the effects file. The purchase switch
    // is read from the edition here.
    bool LoadSettings();
    bool LoadEffects();
    // The five control layouts.
    bool LoadControls() { return controls.LoadAll(); }

    // The whole level start; false when there is no current player or the level is refused (the
    // screen is then not running, with no level path). A level file that cannot be had stops the
    // program with the load error naming it.
    bool StartLevel(const std::string& levelPath);
    // False when no level runs; otherwise the level state is reset and the tutorial step window
    // closed.
    bool Close();
    // The same level again, from its start; nothing without a level path.
    void Restart();
    // Everything that runs during play started or stopped.
    void Activate();
    void Deactivate();
    // Only while running: counters back to 0, the board emptied, the hint flight, the bonus flies
    // and the end timers dropped, modal cleared, a pending music duck undone. Paused stays.
    void ResetLevelState();

    // -1 when not running or paused (the own timers still tick), else 0.
    int32_t Update();
    void Render();

    // Input from the root: a press (0, or -109 when consumed), a move (-1), and the release,
    // which commits the selection only for buttons 1 and 2 (0, or -109 when a control took it).
    int32_t OnMouseDown(int32_t button);
    int32_t OnMouseMove();
    int32_t OnMouseUp(int32_t button);

    void Pause();
    void Resume();

    // Splits at "::" and handles the tokens.
    void SendMessage(const std::string& message);
    void HandleMessage(const std::vector<std::string>& tokens);

    // The hint button's action.
    void UseHint();
    void OnHintApplied(gcElement* cell);
    // A current player with no hints left and a "hint_start" of at least 1.
    bool CanRefillHints() const;
    // The cell the last hint opened, kept until the next hint opens one, a move holding it is
    // undone or the level is left; null when none. Its move reports a frame or two after event 24.
    const gcElement* LastHintCell() const { return hintCell; }
    // True for the move a hint made: its only cell is LastHintCell.
    bool IsHintMove(const std::vector<gcElement*>& cells) const;

    // The level's end, once: won or lost.
    void Finish(bool won);
    // "Confirm_SecondChance" (false when that window does not exist).
    bool OfferSecondChance();
    // The "secondchance" purchase arrived: the level goes on with 0 errors.
    void OnSecondChanceBought();

    void OnControl(int32_t controlId) override;

    // The marks of a press and of a drag, by the tool switch.
    int32_t GetMarkMode(int32_t button) const;
    int32_t GetDragMarkMode() const;
    void SetCursorInField(bool inField);

    bool IsRunning() const { return running != 0; }
    bool IsPaused() const { return paused != 0; }
    bool IsModal() const { return modal != 0; }
    bool IsFinished() const { return finishedOnce != 0; }
    bool IsCursorInField() const { return cursorInField != 0; }
    bool IsMusicDucked() const { return musicDucked != 0; }
    bool IsSecondChanceOfferPending() const { return secondChanceOfferPending != 0; }
    bool IsHintFlying() const { return hintFlight != nullptr; }
    bool InappEnabled() const { return result.inapp != 0; }
    // Revealed picture cells / picture cells (NaN on a board without picture cells).
    float GetSolvedFraction() const { return process.GetSolvedFraction(); }
    // The level's counters (the finish window's record).
    const gcLevelResult& Result() const { return result; }
    const std::string& LevelPath() const { return levelPath; }

    int32_t AllowedErrors() const { return allowedErrors; }
    int32_t MaxHints() const { return maxHints; }
    int32_t SunimeOne() const { return sunimeOne; }
    int32_t SunimeBonus() const { return sunimeBonus; }
    int32_t BaseAllowedErrors() const { return baseAllowedErrors; }
    int32_t BaseMaxHints() const { return baseMaxHints; }

    gcElementsLayout& Layout() { return layout; }
    gcProcess& Process() { return process; }
    gcAmbient& Ambient() { return ambient; }
    gcControlSet& Controls() { return controls; }
    QRV::JC_BOT_LIST& Bots() { return bots; }
    const std::vector<std::unique_ptr<gcFlyEffect>>& BonusFlies() const { return bonusFlies; }
    const QRV::G_ANIMATION& HintAnimation() const { return hintAnimation; }
    const gcGameplayServices& Services() const { return services; }

private:
    // Event handlers (18 to 22).
    void OnElementOpened(gcElement* cell);
    void OnElementError(gcElement* cell);
    void OnOpenSucceeded(const std::vector<gcElement*>* cells);
    void OnOpenFailed(const std::vector<gcElement*>* cells);
    void OnOpenUndone(const std::vector<gcElement*>* cells);
    // A hint for progress, after a revealed picture cell.
    void TryEarnHint();
    void ShowHintCount();
    void OnBonusArrived(int32_t amount);
    // With the trace on: "level bonus cells c r|c r|..." (picture order) for the level just loaded.
    void TraceBonusCells() const;
    static void UseHintCallback(uintptr_t self);
    // Ends the hint flight, if one runs: the sequence dropped, the animation hidden, the
    // particles stopped.
    void EndHintFlight();
    // The hint flight, the particles and the bonus flies, one frame.
    void UpdateEffects();

    // The level's end (gameplay_outcome.cpp).
    void OnLevelWon();
    void OnLevelLost();
    void UnlockAfterWin(JCPack* pack, JCLevel* level);
    void ShowFinishWindow();
    void RestoreMusic();
    void OnSecondChanceAnswer(int32_t answer);
    void OnSecondChanceBuyAnswer(int32_t answer);
    void OnHealthEmptyAnswer(int32_t answer);
    void OnRestartFinishAnswer(int32_t answer);
    void RestartOrLeave(bool restartNow, bool toShop);
    void ShowLevels();
    void GoShop();
    // Shows a confirm window after the delay with Pause as its shown callback, modal set; the
    // answer goes to the first callback, or the second when asked. Null when it is missing.
    JCWindow* ShowDialog(const std::string& name, Closure<void(int32_t)> answer, bool secondCallback,
                         float delay = kDialogDelay);
    // "second_chance" can be bought now: purchases on, the product known and available.
    bool CanBuySecondChance() const;
    void ShowRestartDialogs();
    // Offers the second chance again once "Confirm_SecondChance" has closed: an answer arrives
    // while the dialog is still on screen, and a show of a shown window is lost.
    void OfferSecondChanceLater() { secondChanceOfferPending = 1; }
    void ShowPendingOffer();

    // Shared look-ups.
    gcPlayer* CurrentPlayer() const;
    JCPack* CurrentPack() const;
    JCLevel* SelectedLevel() const;
    bool InTutorialPack() const;
    bool NoHeartLeft() const;
    int32_t EditionInt(const char* key) const;
    void PlaySound(const char* name) const;
    void SendEvent(int32_t id) const;
    void PostEvent(int32_t id) const;
    // The document of a gameplay configuration key; stops the program when it cannot be had.
    const pugi::xml_document* AcquireConfigDocument(const std::string& key) const;

    gcGameplayServices services;
    gcGameplayHost* host = nullptr;

    int32_t baseAllowedErrors = 6;
    int32_t baseMaxHints = 4;
    int32_t baseSunimeOne = 0;
    int32_t baseSunimeBonus = 0;
    int32_t allowedErrors = 6;
    int32_t maxHints = 4;
    int32_t sunimeOne = 0;
    int32_t sunimeBonus = 0;
    std::string levelPath;
    gcLevelResult result;

    gcElementsLayout layout;
    gcProcess process;
    gcAmbient ambient;
    gcControlSet controls;
    QRV::G_SPRITE background;

    // Timers and effects of the level's end.
    QRV::JC_BOT_LIST bots;
    QRV::G_PARTICLES particlesFinish;
    QRV::G_PARTICLES particlesFollow;
    int32_t hintDeflection1 = 0;
    int32_t hintDeflection2 = 0;
    float hintSpeed = 0.0f;
    QRV::G_ANIMATION hintAnimation;
    float hintRestX = 0.0f, hintRestY = 0.0f;
    uint8_t hintRestTaken = 0;
    uint8_t hintVisible = 0;
    // Seconds left of the arrival burst.
    float finishBurstLeft = 0.0f;
    std::unique_ptr<QRV::G_EFFECT_T<gcElement*>> hintFlight;
    // Set when the flight ends while its own step runs (the sequence is then dropped afterwards).
    uint8_t hintFlightCancelled = 0;
    uint8_t hintFlightRunning = 0;
    // The flight took a hint from the count (given back when its cell cannot be opened).
    uint8_t hintCharged = 0;
    // Not owned: a cell of the board (see LastHintCell).
    gcElement* hintCell = nullptr;
    gcFlyEffect bonusTemplate;
    std::vector<std::unique_ptr<gcFlyEffect>> bonusFlies;

    uint8_t cursorInField = 0;
    uint8_t running = 0;
    uint8_t paused = 0;
    uint8_t finishedOnce = 0;
    uint8_t modal = 0;
    uint8_t musicDucked = 0;
    uint8_t secondChanceOfferPending = 0;
    uint8_t active = 0;
};
