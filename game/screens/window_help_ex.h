#pragma once
// The help hub and its sections ("TWindow_HelpEx"): a help window whose buttons are named by its
// settings ("param" entries with "key" and "value"): "gui_solving", "gui_gameplay" and "gui_tips"
// lead to the three sections, "gui_close" back to the options, "gui_back" back to the hub. A key
// the settings lack matches no button. A page clicked in "Help_Solving" leaves the menus (and a
// running level, which costs no heart) for the tutorial packs.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/core/property_map.h"
#include "game/screens/window_help.h"

class gcWindow_HelpEx : public gcWindow_Help {
public:
    gcWindow_HelpEx();
    ~gcWindow_HelpEx() override;

    void LoadSettings(const pugi::xml_node& settings) override;
    void OnButton(int32_t id) override;
    void OnItemClick(JCPagesItem* item) override;

    // The button id a settings key names; none when the key is absent or not a number.
    std::optional<int32_t> ButtonId(const std::string& key) const;

private:
    void Go(const char* windowName);
    static void OnFadeShown(void* self);

    JCPropertyMap settings;
};
