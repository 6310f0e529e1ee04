#pragma once
// The level-complete window ("GP_Finish", and "Tutorial_Finish" in tutorial packs): the won
// level's time, hints, errors, money and best time, and its stars popping in one after another.
// Next level (1), restart (2), back to the level list (3).
//
// Layout: labels 4 play time, 5 hints used, 6 errors, 7 money earned, 8 best time, 9 a template
// with one integer (the level number), 10 the player's money. Settings ("param" entries):
// "star_one", "star_two", "star_three" name the star images (their texture holds the empty star
// in its left half and the filled one in its right half); "star_image_1" to "star_image_3" the
// banners for one, two and three stars; "star_time" (seconds between two stars, and one star's
// pop), "star_frequency", "star_decay", "star_amplitude" shape the pop.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/property_map.h"
#include "engine/windows/window.h"
#include "game/gameplay/gameplay_windows.h"

namespace QRV {
class JC_GUI_OBJECT;
}

class gcWindow_GameFinish : public JCWindow, public gcGameFinishTarget {
public:
    void LoadSettings(const pugi::xml_node& settings) override;
    void SetResult(const gcLevelResult* result) override;
    void OnShowBegin() override;
    void OnShown() override;
    void OnButton(int32_t id) override;

    // The star's pop: a ringing scale and its appearance after the delay, in the window's bots.
    void AnimateStar(QRV::JC_GUI_OBJECT* star, float delay);

    // Label 9's own text, taken on first use.
    std::wstring numberFormat;
    bool numberFormatTaken = false;
    // The board's record; not owned.
    const gcLevelResult* result = nullptr;
    JCPropertyMap settings;
    // Empty unless all three star images exist. Not owned.
    std::vector<QRV::JC_GUI_OBJECT*> stars;

private:
    float SettingFloat(const char* key) const;
    QRV::JC_GUI_OBJECT* SettingControl(const char* key) const;
    void FillMoney();
    void OnRestartAnswer(int32_t answer);
    // While the screen is dark.
    void LeaveToLevels();
    void LeaveToPacks();
};
