#pragma once
// The title screen ("Title", type "GG_WINDOW_TITLE"): Play (1), Options (2) and Exit (3). The
// greeting line above it ("Title_Top") shows and hides with it. Without a current player, Play
// and Options first ask for a name and make that profile current.

#include <cstdint>
#include <string>

#include "engine/windows/window.h"

class gcWindow_Title : public JCWindow {
public:
    ~gcWindow_Title() override;

    // Shows "Title_Top".
    void OnShowBegin() override;
    // Hides "Title_Top" at once.
    void OnHideBegin() override;
    void OnButton(int32_t id) override;

    // The registry's creator.
    static JCWindow* Create();

private:
    // Fades to the pack screens.
    void Play();
    void OnPlayName(int32_t answer, std::wstring name);
    void OnOptionsName(int32_t answer, std::wstring name);
    void OnExitAnswer(int32_t answer);
    // The screen is covered: the title goes, the pack screens come, the cover lifts.
    void OnFadeShown();
};
