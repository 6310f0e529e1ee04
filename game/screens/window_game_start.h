#pragma once
// The level-start window ("GP_Start"): pauses the level while shown and shows the level number
// and a tip picked at random from its settings; hiding it resumes the level and starts the
// level's tutorial, if it has one.
//
// Layout: button 1 closes; label 2 holds a template with one integer (the level number); label 3
// shows the tip. Settings: "param" entries keyed "0" to "n-1", each a string key of one tip.

#include <cstdint>
#include <string>

#include "engine/core/property_map.h"
#include "engine/windows/window.h"

class gcWindow_GameStart : public JCWindow {
public:
    void LoadSettings(const pugi::xml_node& settings) override;
    void OnShowBegin() override;
    void OnHidden() override;
    void OnButton(int32_t id) override;

    // The string key of the tip for a random value: entry (value mod n) of n entries; empty when
    // there is none.
    std::string TipKeyFor(uint32_t randomValue) const;

    // Label 2's own text, taken on the first show.
    std::wstring numberFormat;
    bool numberFormatTaken = false;
    JCPropertyMap settings;
};
