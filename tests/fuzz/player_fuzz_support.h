#pragma once
// What the profile fuzz targets share: a fixed calendar clock, and the checks that a loaded
// profile saves and loads again to the same text and bytes.
#include <algorithm>
#include <pugixml.hpp>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "game/config/save_file.h"
#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"

namespace QRV::Fuzz {

inline int64_t PlayerFuzzClock() { return 1'900'000'000; }

inline void UsePlayerFuzzClock() {
    static const bool set = (Game::SetCalendarClock(&PlayerFuzzClock), true);
    (void)set;
}

inline std::string PlayerXmlText(const gcPlayer& player) {
    pugi::xml_document document;
    player.SaveXml(document.append_child("player"));
    return Game::SaveXmlText(document);
}

inline std::string PlayerBinary(const gcPlayer& player) {
    std::ostringstream out;
    player.WriteBinary(out);
    if (!out) std::abort();
    return out.str();
}

inline std::string PlayerXmlReadBack(const std::string& xml) {
    pugi::xml_document document;
    if (!Game::ParseSaveXml(xml, document)) std::abort();
    gcPlayer player;
    player.LoadXml(document.document_element());
    return PlayerXmlText(player);
}

// A profile as read from anything: its XML and binary forms read back to themselves, and its
// hearts catch up and count down without trouble. A profile read from binary may hold a
// countdown that the XML form (a float) cannot, so its XML text settles after one read.
inline void CheckPlayerForms(gcPlayer& player, bool readFromXml) {
    const std::string xml = PlayerXmlText(player);
    const std::string again = PlayerXmlReadBack(xml);
    if (readFromXml ? again != xml : PlayerXmlReadBack(again) != again) std::abort();

    const std::string bytes = PlayerBinary(player);
    std::istringstream in(bytes);
    gcPlayer fromBinary;
    fromBinary.ReadBinary(in);
    if (in.fail() || in.peek() != std::char_traits<char>::eof() || PlayerBinary(fromBinary) != bytes) std::abort();

    gcPlayerHealth& health = player.GetHealth();
    health.Update();
    health.StepCountdown(1.0f);
    const int32_t life = std::min(player.GetItemCount("life"), gcPlayerHealth::kMostHearts);
    if (health.GetCount() < life && health.GetCount() >= 0 && !health.IsIncrementing() && health.GetLost().empty()) {
        std::abort();  // hearts below the maximum without a refill: stuck
    }
}

}  // namespace QRV::Fuzz
