#pragma once
// The application singleton: the three configuration maps (the user settings, the gameplay
// configuration and the selected edition), the game context, the border art around the logical
// screen and the display layout, and the start-up and teardown that fill and empty them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "game/config/display_layout.h"

namespace QRV {
class G_SPRITE;
}
class gcContext;

class gcGlobal {
public:
    // The one instance, made on first use and destroyed at process exit.
    static gcGlobal& Instance();

    // A fresh singleton: empty maps and a new context, whose window manager plays its sounds
    // (window events and control sounds) from the context's group "sounds". Tests make their own.
    gcGlobal();
    // Frees the border sprites and any context that Shutdown did not.
    ~gcGlobal();
    gcGlobal(const gcGlobal&) = delete;
    gcGlobal& operator=(const gcGlobal&) = delete;

    // Repositories, settings, edition, language, border art, the user's settings and the display
    // mode. False stops the game; a missing required file ends the process with the load-error
    // message naming it.
    bool Startup();
    // With the test trace on (game/config/trace.h), the engine's reports become trace lines, drawn
    // texts checked against this singleton's string table; Shutdown takes the hook out again.
    // Startup calls it first.
    void InstallEngineTrace();
    // Walks the editions to the one the settings name and reads the gameplay configuration (a
    // missing file ends the process); true when the edition was found.
    bool LoadEdition();
    // Reads "fullscreen" from the user's "game.xml" in the save folder; true when it was read.
    // A file that cannot be read is moved aside and the shipped settings stay.
    bool LoadUserSettings();
    // Writes the whole user settings map to the user's "game.xml" (safely, creating the save
    // folder). False when nothing was written: before LoadUserSettings ran, without a save
    // folder, when the user's file could not be moved aside, or when the write failed.
    bool SaveSettings();
    // The save folder with its trailing "/", or "" when there is none (nothing is then saved).
    std::string GetSaveFolder() const;

    // The platform letter of the edition's "platform" (0 to 3), and whether it is 2 or 3.
    int32_t GetPlatformLetter() const;
    bool CheckPlatform() const;

    void SetFullscreenSetting(bool fullscreen);
    // Forces fullscreen on a desktop smaller than the logical screen, switches the engine's mode
    // and classifies the desktop for the borders.
    void ApplyDisplayMode();
    // The border art outside the logical screen (every frame, in fullscreen or on platforms 2 and 3).
    void DrawBorders();

    // Gains of "music" and "sounds" from the current player's volumes, or volume 80 without one.
    void ApplyVolumes();
    // Gain 0 for "music" and "sounds".
    void MuteSoundGroups();

    // Tears down what Startup made, in reverse; copes with a partial start. The context is gone
    // afterwards.
    void Shutdown();

    JCPropertyMap& UserSettings() { return userSettings; }
    JCPropertyMap& GameplayConfig() { return gameplayConfig; }
    JCPropertyMap& EditionConfig() { return editionConfig; }
    // Typed reads: a key the map does not hold reads as 0 or as empty text.
    int32_t UserInt(const std::string& key) const;
    std::string UserText(const std::string& key) const;
    int32_t GameplayInt(const std::string& key) const;
    std::string GameplayText(const std::string& key) const;
    int32_t EditionInt(const std::string& key) const;
    std::string EditionText(const std::string& key) const;

    // Null after Shutdown.
    gcContext* GetContext() const { return context.get(); }
    const Game::DisplayLayout& Layout() const { return layout; }

private:
    // Steps of Startup.
    void LoadRepositories();
    bool LoadLanguage();
    bool LoadBorderSprites();
    void ReleaseBorderSprites();

    JCPropertyMap userSettings;
    JCPropertyMap gameplayConfig;
    JCPropertyMap editionConfig;
    std::unique_ptr<gcContext> context;

    std::unique_ptr<QRV::G_SPRITE> borderTile;
    std::unique_ptr<QRV::G_SPRITE> borderLine;
    Game::DisplayLayout layout;

    // Named repositories that start-up registered below "data/share", unloaded at teardown.
    std::vector<std::string> shareRepositories;
    // LoadUserSettings has run: saving may replace the user's file from now on.
    bool userSettingsLoaded = false;
};
