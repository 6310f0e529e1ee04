#pragma once
// The game root: owns the gameplay screen, the default player, the game cursor and the purchase
// overlay; runs the start sequence (on the loader thread), the per-frame work and the input of the
// running game; routes text commands; starts levels; creates players; saves. It answers the
// purchase, advertising, player-list and achievements services, and serves the gameplay screen
// through gcGameplayHost.
//
// Services (scene switches, advertising, purchases, players, trophies) are in game_*.cpp beside
// this file, one concern each.

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/sprite.h"
#include "engine/graphics/sprite_holder.h"
#include "game/data/ad_delegate.h"
#include "game/data/game_player.h"
#include "game/data/igp_wrapper.h"
#include "game/data/player_manager_delegate.h"
#include "game/gameplay/gameplay.h"
#include "game/gameplay/gameplay_host.h"

class gcGlobal;
class gcContext;
class JCStoreItem;
class JCWindow;
struct JSIgpItem;

// The achievements service's answers (the desktop has none; nothing calls them but tests).
class JCGameCenter_Delegate {
public:
    virtual ~JCGameCenter_Delegate() = default;
    virtual void OnServiceEvent1() = 0;
    virtual void OnServiceEvent2() = 0;
};

// Game events outside the board.
inline constexpr int32_t kEventSoundVolume = 0;
inline constexpr int32_t kEventMusicVolume = 1;
inline constexpr int32_t kEventFullscreen = 2;
inline constexpr int32_t kEventGameCursor = 3;
inline constexpr int32_t kEventPlayerValue = 28;

// Advertising networks the game names.
inline constexpr int32_t kAdNet0 = 0;
inline constexpr int32_t kAdNet1 = 1;
inline constexpr int32_t kAdNet2 = 2;
inline constexpr int32_t kAdNet3 = 3;
inline constexpr int32_t kAdNet5 = 5;

class gcGame : public QRV::JC_IGP_DELEGATE,
               public JIAdDelegate,
               public JIPlayerManagerDelegate,
               public JCGameCenter_Delegate,
               public gcGameplayHost,
               private QRV::gListener {
public:
    // Subscribes events 3, 2, 1 and 0 with the context's dispatcher and fills the board's command
    // hook with ExecuteCommand.
    explicit gcGame(gcGlobal& global);
    // Leaves the dispatcher, empties the command hook.
    ~gcGame() override;
    gcGame(const gcGame&) = delete;
    gcGame& operator=(const gcGame&) = delete;

    // --- start, frames, input (game.cpp)
    // The start sequence, on the loader thread. False when packs, trophies, fonts, the cursor,
    // the window list or the purchase overlay fail; missing required files end the program.
    bool Start();
    bool PreloadWindows();
    void UnloadWindows();
    bool LoadPurchaseOverlay();
    void Update();
    void Draw();
    int32_t OnMouseDown(int32_t code);
    int32_t OnMouseUp(int32_t code);
    int32_t OnMouseMove();
    // Copes with a start that stopped early. Saves last.
    void Shutdown();

    // --- commands (game_commands.cpp)
    // Tokens split at "::" (two characters); a lone ':' stays inside its token.
    static std::vector<std::string> SplitCommand(const std::string& command);
    void ExecuteCommand(const std::string& command) override;
    void ExecuteWindowCommand(const std::vector<std::string>& tokens);

    // --- levels and players (game_levels.cpp)
    // False, with nothing changed, for a name that selects no real level.
    bool StartLevel(const std::string& levelName);
    void OnTutorialQuestionAnswer(int32_t answer);
    gcPlayer* CreatePlayer(const std::wstring& name);
    void LoseHeart() override;
    void Save() override;
    // Empties the current player's refill queue and gives hearts back up to the maximum.
    void RefillAllHearts();
    JCStoreItem* FindStoreItem(const std::string& name) const;

    // --- scene switches (game_scenes.cpp)
    void StartGame();
    void ShowLevels(bool instant) override;
    void ShowTrophies();
    void ShowTutorialList();
    void CloseGameplay();
    void HideListScreensExcept(const std::string& listName);
    void HideMenuBars();
    // Runs the callback once after the hides: as the after-hide callback of the first shown bar
    // ("Sumie", "Stars", "Heart", "Sidebar"), or at once when none was shown. The window that got
    // it (null when run at once), so that the caller clears only its callback.
    JCWindow* HideLevelScreens(Closure<void()> callback);

    // --- advertising (game_ads.cpp)
    void ShowAd(const std::string& placement);
    void ShowBanner();
    void HideBanners();
    // The engine the network lists are shuffled with; tests seed it.
    std::mt19937& AdShuffleEngine() { return adShuffle; }

    // --- purchases (game_purchases.cpp)
    void OnProductsReceived() override;
    void OnPurchaseStarted() override;
    void OnPurchaseFinished(JSIgpItem* item, bool success) override;
    void OnPurchaseSucceeded(JSIgpItem* item) override;
    // Applies the remembered item (the answer of "purchase_success", any code), then saves.
    void OnItemBought(int32_t answer);

    // --- advertising callbacks (game_ads.cpp)
    void OnReward(int32_t amount) override;
    void OnAdOpened(int32_t network) override;
    void OnAdEvent3(int32_t network) override;
    void OnAdClosed(int32_t network) override;
    void OnAdEvent5(int32_t network, int32_t adType) override;
    void OnOfferwall(int32_t value) override;
    void OnServiceEvent1() override;
    void OnServiceEvent2() override;

    // --- players and game events (game_players.cpp)
    void OnPlayerSelected(JCPlayerManager* manager, JCPlayer* player) override;
    void OnPlayerChanging(JCPlayerManager* manager, JCPlayer* outgoing) override;
    void OnPlayersLoaded(JCPlayerManager* manager) override;
    void OnPropertyChanged(const std::string& name);
    // Event 3: the game cursor follows the current player's choice (platforms 0 and 1).
    void UpdateCursor();

    // --- trophies (game_trophies.cpp)
    void CheckAllTrophies(const std::string& name) override;
    void CheckLevelTrophies() override;
    bool CheckTrophy(const std::string& name) override;
    void RecheckTrophies(JCPlayer* player);
    bool AllOtherTrophiesAchieved() const;
    void SubmitLeaderboards();

    // --- state
    gcGameplay& Gameplay() { return gameplay; }
    gcPlayer& DefaultPlayer() { return defaultPlayer; }
    bool IsPurchasePending() const { return purchasePending; }
    bool IsPurchaseSucceeded() const { return purchaseSucceeded; }
    bool IsStartAdPending() const { return startAdPending; }
    bool IsCursorShown() const { return cursorShown; }
    bool HasCursorSprite() const { return cursor.sprite != nullptr; }
    const std::vector<int32_t>& InterstitialList() const { return interstitials; }
    const std::vector<int32_t>& BannerList() const { return banners; }
    QRV::G_ANIMATION& OverlayAnimation() { return overlayAnimation; }

private:
    static gcGameplayServices MakeServices(gcGlobal& global);
    // The current player as the game's own kind (null without one).
    gcPlayer* CurrentPlayer() const;
    // The window of that name, or null.
    JCWindow* FindWindow(const std::string& name) const;
    // Hides the window when it is shown.
    void HideShown(const std::string& name, bool instant);
    // Shows the system cursor when the game cursor is off and the other way round.
    void ApplyCursorChoice(bool gameCursor);
    bool IsTutorialPack() const;
    // The probe of a trophy: the value the trophy's condition names.
    // Tests (award false) or awards the trophy for the player's values; false without a player.
    bool ProbeTrophy(const std::string& trophy, bool award, const gcPlayer* player);
    // Appends the trophy to "Trophy_Get" and queues it; pays its bonus.
    void AnnounceTrophy(const std::string& name);
    void TakeFromNetworkList(std::vector<int32_t>& list, int32_t adType, const std::string& placement);

    void OnSoundVolumeEvent();
    void OnMusicVolumeEvent();
    void OnFullscreenEvent();
    void OnCursorEvent();
    static void OnPlayerValueChanged(uintptr_t game, const std::string& key, JSProperty* property);

    gcGlobal& global;
    gcContext& context;

    gcGameplay gameplay;
    bool cursorShown = true;
    QRV::JS_SPRITE_HOLDER cursor;
    gcPlayer defaultPlayer;

    bool purchasePending = false;
    bool purchaseSucceeded = false;
    bool serviceAnswered = false;
    bool startAdPending = false;
    QRV::G_ANIMATION overlayAnimation;
    QRV::G_SPRITE overlayBackground;
    bool overlayLoaded = false;
    std::vector<int32_t> interstitials;
    std::vector<int32_t> banners;
    JSIgpItem* boughtItem = nullptr;
    std::mt19937 adShuffle;
    // The sound groups Start loaded (released at shutdown).
    bool soundsLoaded = false;
    bool fontsLoaded = false;
};
