#include "game/data/game_player.h"

#include <pugixml.hpp>

#include <algorithm>

#include "game/data/binary_fields.h"
#include "game/data/profile_numbers.h"

using namespace Game;

namespace {

// value + amount and value - amount on 32 bits, wrapping around without signed overflow.
int32_t WrappingAdd(int32_t value, int32_t amount) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(amount));
}

int32_t WrappingSub(int32_t value, int32_t amount) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) - static_cast<uint32_t>(amount));
}

}  // namespace

gcPlayer::gcPlayer() : health(*this) { SetDefaultStatistics(); }

gcPlayer::gcPlayer(const gcPlayer& other)
    : JCPlayer(other), statistic(other.statistic), health(*this), inappBought(other.inappBought) {
    health.CopyValuesFrom(other.health);
}

gcPlayer& gcPlayer::operator=(const gcPlayer& other) {
    if (this != &other) {
        JCPlayer::operator=(other);
        statistic = other.statistic;
        health.CopyValuesFrom(other.health);
        inappBought = other.inappBought;
    }
    return *this;
}

bool gcPlayer::LoadXml(const pugi::xml_node& node) {
    const bool whole = JCPlayer::LoadXml(node);
    inappBought = ParseProfileBool(node.attribute("inapp_bought").as_string());
    health.LoadXml(node.child("health"));
    statistic.Load(node.child("statistic"));
    return KeysDistinct(node.child("statistic"), "key") && whole;
}

bool gcPlayer::IsFormChild(const std::string& childName) const {
    return childName == "health" || childName == "statistic" || JCPlayer::IsFormChild(childName);
}

void gcPlayer::SaveXml(pugi::xml_node node) const {
    JCPlayer::SaveXml(node);
    node.append_attribute("inapp_bought").set_value(ProfileBoolText(inappBought));
    health.SaveXml(node.append_child("health"));
    statistic.Save(node.append_child("statistic"));
}

void gcPlayer::ReadBinary(std::istream& in) {
    JCPlayer::ReadBinary(in);
    uint8_t flag = 0;
    if (BinaryFields::ReadU8(in, flag)) inappBought = flag != 0;
    health.ReadBinary(in);
}

void gcPlayer::WriteBinary(std::ostream& out) const {
    JCPlayer::WriteBinary(out);
    BinaryFields::WriteU8(out, inappBought ? 1 : 0);
    health.WriteBinary(out);
}

void gcPlayer::SetDefaultStatistics() {
    for (const char* name :
         {"money", "money_max", "hint_use", "without_hint_in_row_max", "without_hint_in_row",
          "without_error_in_row_max", "without_error_in_row", "fail_level_in_row_max", "fail_level_in_row"}) {
        statistic.SetUInt(name, 0);
    }
    statistic.SetFloat("level_time_min", 9999.0f);
}

JSProperty& gcPlayer::Statistic(const std::string& name) {
    if (statistic.Find(name) == nullptr) statistic.SetInt(name, 0);
    return *statistic.Find(name);
}

void gcPlayer::ResetStatistic(const std::string& name) {
    Statistic(name).SetInt(0);
    if (JSProperty* best = statistic.Find(name + "_max")) best->SetInt(std::max(best->intValue, 0));
}

void gcPlayer::IncrementStatistic(const std::string& name, int32_t amount) {
    JSProperty& value = Statistic(name);
    const int32_t result = WrappingAdd(value.intValue, amount);
    value.SetInt(result);
    if (JSProperty* best = statistic.Find(name + "_max")) best->SetInt(std::max(best->intValue, result));
}

void gcPlayer::DecrementStatistic(const std::string& name, int32_t amount) {
    JSProperty& value = Statistic(name);
    value.SetInt(WrappingSub(value.intValue, amount));
}

void gcPlayer::SetStatisticFloat(const std::string& name, float value) { statistic.SetFloat(name, value); }

const JSProperty* gcPlayer::GetStatistic(const std::string& name) const { return statistic.Find(name); }
