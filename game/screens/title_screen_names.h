#pragma once
// The window names and string keys the title and profile screens ask for, by name. Each one is
// also listed in game/config/ui_names.h, which the content test walks.

#include <string_view>

namespace Game::ui {

inline constexpr std::string_view kTitle = "Title";
inline constexpr std::string_view kTitleTop = "Title_Top";
inline constexpr std::string_view kPlayers = "Players";
inline constexpr std::string_view kPlayersEditBox = "Players_EditBox";
inline constexpr std::string_view kPlayersConfirmDel = "Players_Confirm_Del";
inline constexpr std::string_view kConfirmExit = "Confirm_Exit";
inline constexpr std::string_view kOptions = "Options";
inline constexpr std::string_view kFadeTransition = "Fade_Transition";

inline constexpr std::string_view kHelloProfileKey = "title_txt_hello_profile";
inline constexpr std::string_view kHelloKey = "title_txt_hello";
inline constexpr std::string_view kProfileChangeKey = "title_txt_profile_change";

}  // namespace Game::ui
