#pragma once
// Which sound a window event plays. The window manager reports "open.<window>", "close.<window>",
// "click.<window>.<id>" and, for a clicked control, the sound its window's "sounds" map gives it
// ("" for none); each is played as the entry of that name of the sound group "sounds". Two entries
// of the catalogue stand in for what a window does not name itself, so that every window sounds
// alike without a line of its own: a window opening without an "open.<window>" entry plays the
// paper swish, and a clicked control without a sound of its own plays the soft click.

#include <functional>
#include <string>
#include <string_view>

namespace Game {

inline constexpr std::string_view kDefaultClickSound = "click.*";
inline constexpr std::string_view kDefaultOpenSound = "open.*";

// The entry to play for the event, or "" for none: the event's own entry when hasEntry knows it;
// otherwise the default open sound for "open.<window>" and the default click for "" (a control
// without a sound of its own), when those entries exist.
std::string InterfaceSoundEntry(const std::string& event, const std::function<bool(const std::string&)>& hasEntry);

}  // namespace Game
