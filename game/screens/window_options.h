#pragma once
// The options window ("GG_WINDOW_OPTIONS"): the current player's sound and music volumes, the game
// cursor flag and the fullscreen setting, with OK (keep and save) and Cancel (put back what the
// player had when the window opened, and apply it); it also leads to the help and the credits.
//
// Controls: 3 OK, 4 Cancel, 5 Help, 6 Credits, 7 fullscreen switch with its label 11, 8 game-cursor
// switch, 9 sound slider, 10 music slider (both 0 to 100: the slider value is the stored volume).
// Without a current player the controls change nothing.

#include <cstdint>
#include <memory>

#include "engine/windows/window.h"

class gcPlayer;

class gcWindow_Options : public JCWindow {
public:
    static constexpr int32_t kOk = 3;
    static constexpr int32_t kCancel = 4;
    static constexpr int32_t kHelp = 5;
    static constexpr int32_t kCredits = 6;
    static constexpr int32_t kFullscreen = 7;
    static constexpr int32_t kGameCursor = 8;
    static constexpr int32_t kSound = 9;
    static constexpr int32_t kMusic = 10;
    static constexpr int32_t kFullscreenLabel = 11;
    // A desktop smaller than this cannot show the game in a window, so fullscreen is not offered.
    static constexpr int32_t kMinWindowedWidth = 1024;
    static constexpr int32_t kMinWindowedHeight = 768;

    gcWindow_Options();
    ~gcWindow_Options() override;

    void OnGuiLoaded(QRV::JC_GUI_OBJECT* rootObject) override;
    void OnShowBegin() override;
    void OnHidden() override;
    // The volumes follow a dragged slider.
    QRV::JS_GUI_EVENT* OnMouseMove() override;
    // A slider's step buttons change its value on the release, which is no click: applied here.
    QRV::JS_GUI_EVENT* OnMouseUp(int32_t button) override;
    void OnButton(int32_t id) override;

    // Puts back the cursor flag, the fullscreen setting and both volumes as they were at the last
    // show and applies them.
    void Cancel();

    // The player copy taken at the last show (null without a player).
    const gcPlayer* Backup() const { return backup.get(); }

private:
    // Sets the held player's volume from slider 9 or 10 and sends its event.
    void ApplySlider(int32_t id);
    void OnCreditsClick(int32_t id);

    // Not owned: the current player at the last show.
    gcPlayer* player = nullptr;
    std::unique_ptr<gcPlayer> backup;
    bool fullscreenAtShow = false;
};
