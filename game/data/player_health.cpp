#include "game/data/player_health.h"

#include <pugixml.hpp>

#include <algorithm>
#include <istream>
#include <ostream>
#include <string>

#include "engine/core/conversions.h"
#include "game/data/binary_fields.h"
#include "game/data/calendar_clock.h"
#include "game/data/player.h"
#include "game/data/profile_numbers.h"

using namespace Game;

void gcPlayerHealth::CopyValuesFrom(const gcPlayerHealth& other) {
    increment = other.increment;
    count = other.count;
    timeRefillHeart = other.timeRefillHeart;
    countdown = other.countdown;
    lost = other.lost;
}

int32_t gcPlayerHealth::Maximum() const { return std::clamp(owner->GetItemCount("life"), 0, kMostHearts); }

void gcPlayerHealth::KeepInRange() {
    count = std::clamp(count, 0, Maximum());
    const size_t missing = static_cast<size_t>(Maximum() - count);
    if (lost.size() > missing) lost.resize(missing);
}

bool gcPlayerHealth::LoseHeart() {
    if (count <= 0) return false;
    --count;
    lost.push_back(lost.empty() ? CalendarNow() : SaturatingAdd(lost.back(), timeRefillHeart));
    Update();
    return true;
}

bool gcPlayerHealth::AddHeart() {
    if (count >= Maximum()) return false;
    ++count;
    if (!lost.empty()) lost.pop_front();
    Update();
    return true;
}

void gcPlayerHealth::FillMissingEntries(int64_t firstStart) {
    const int64_t missing = static_cast<int64_t>(Maximum()) - count;
    while (static_cast<int64_t>(lost.size()) < missing && lost.size() < kMaxFilledEntries) {
        lost.push_back(lost.empty() ? firstStart : SaturatingAdd(lost.back(), timeRefillHeart));
    }
}

bool gcPlayerHealth::Update() {
    const int64_t now = CalendarNow();
    if (count < Maximum()) FillMissingEntries(now);
    // Every refill that has run out gives its heart back, oldest first; each later one started
    // where the one before ended, so several can be due at once.
    int64_t lastEnd = now;
    while (count < Maximum() && !lost.empty() && SaturatingSub(now, lost.front()) >= timeRefillHeart) {
        ++count;
        lastEnd = SaturatingAdd(lost.front(), timeRefillHeart);
        lost.pop_front();
    }
    if (count >= Maximum()) {
        increment = false;
        countdown = 0.0;
        return false;
    }
    // Only when more hearts were missing than one fill adds: the next ones follow on.
    if (lost.empty()) FillMissingEntries(lastEnd);
    increment = true;
    countdown = static_cast<double>(SaturatingAdd(SaturatingSub(lost.front(), now), timeRefillHeart));
    return true;
}

void gcPlayerHealth::StepCountdown(float frameTime) {
    if (!increment) return;
    countdown -= static_cast<double>(frameTime);
    if (countdown <= 0.0) AddHeart();
}

void gcPlayerHealth::LoadXml(const pugi::xml_node& node) {
    increment = ParseProfileBool(node.attribute("increment").as_string());
    count = ParseProfileInt32(node.attribute("count").as_string());
    countdown = static_cast<double>(ParseProfileFloat(node.attribute("countdown").as_string()));
    timeRefillHeart = ParseProfileWhole(node.attribute("time_refill_heart").as_string());
    for (pugi::xml_node entry = node.first_child(); entry; entry = entry.next_sibling()) {
        if (entry.type() != pugi::node_element) continue;
        lost.push_back(ParseProfileInt64(entry.attribute("value").as_string()));
    }
    KeepInRange();
}

void gcPlayerHealth::SaveXml(pugi::xml_node node) const {
    node.append_attribute("increment").set_value(ProfileBoolText(increment));
    node.append_attribute("count").set_value(QRV::IntToString(count).c_str());
    node.append_attribute("countdown").set_value(ProfileFloatText(countdown).c_str());
    node.append_attribute("time_refill_heart").set_value(std::to_string(timeRefillHeart).c_str());
    for (const int64_t time : lost) {
        node.append_child("lost_name").append_attribute("value").set_value(std::to_string(time).c_str());
    }
}

void gcPlayerHealth::ReadBinary(std::istream& in) {
    using namespace Game::BinaryFields;
    uint8_t flag = 0;
    if (ReadU8(in, flag)) increment = flag != 0;
    ReadI32(in, count);
    ReadF64(in, countdown);
    ReadI64(in, timeRefillHeart);
    uint32_t entries = 0;
    if (ReadU32(in, entries)) {
        // The count is not trusted: each time is appended only once its bytes have been read.
        for (uint32_t i = 0; i < entries; ++i) {
            int64_t time = 0;
            if (!ReadI64(in, time)) break;
            lost.push_back(time);
        }
    }
    KeepInRange();
}

void gcPlayerHealth::WriteBinary(std::ostream& out) const {
    using namespace Game::BinaryFields;
    WriteU8(out, increment ? 1 : 0);
    WriteI32(out, count);
    WriteF64(out, countdown);
    WriteI64(out, timeRefillHeart);
    WriteU32(out, static_cast<uint32_t>(lost.size()));
    for (const int64_t time : lost) WriteI64(out, time);
}
