#pragma once
// Every window name and every string key that the code asks for, in one place: the code uses these
// constants, and the content test checks that each one exists in the built window list and the
// English string table. Keys that data builds (trophy names, store items, tips) are checked
// against the data instead.

#include <string_view>

namespace Game::ui {

// Windows, by "_name".
inline constexpr std::string_view kWindowNames[] = {
    // menus and transitions
    "Fade_Transition",
    "Confirm_Exit",
    "Title",
    "Title_Top",
    "Players",
    "Players_EditBox",
    "Players_Confirm_Del",
    "Back",
    "Sidebar",
    "Pack_Title",
    "Packs",
    "Level_Title",
    "Levels",
    "Tutorial_Title",
    "Tutorial",
    "Trophy_Title",
    "confirm_pack_is_close",
    "confirm_pack_buy",
    "confirm_pack_buy_dont_have_money",
    "confirm_health_is_empty",
    // shop
    "Shop",
    "Offerwall",
    "purchase_success",
    "purchase_fail",
    // options and help
    "Options",
    "Credits",
    "Help",
    "Help_Solving",
    "Help_Gameplay",
    "Help_TipsTricks",
    // trophies
    "Trophy",
    "Trophy_Get",
    // around a level
    "GP_Start",
    "GP_Menu",
    "GP_Finish",
    "Tutorial_Finish",
    "Heart",
    "Sumie",
    "Stars",
    "FeedBack_Heart",
    "Confirm_Restart_Level",
    "Confirm_Restart_Level_Tutor",
    "Confirm_Close_Lvl",
    "Confirm_Close_Lvl_Tutor",
    "Confirm_Restart_In_Finish",
    "GP_Tutorial_Question",
    "GP_FeedBack_Reset",
    "Confirm_SecondChance",
    "Confirm_SecondChanceBuy",
    "Confirm_Restart_Finish",
    "confirm_restart_health_is_empty",
};

// String keys the code reads (texts it formats or sets on labels itself).
inline constexpr std::string_view kStringKeys[] = {
    "loading",
    // title and profiles
    "title_txt_hello_profile",
    "title_txt_hello",
    "title_txt_profile_change",
    // side bar and lists
    "confirm_pack_buy_txt",
};

}  // namespace Game::ui
