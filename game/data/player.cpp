#include "game/data/player.h"

#include <pugixml.hpp>

#include <istream>
#include <ostream>
#include <set>

#include "engine/core/conversions.h"
#include "game/data/binary_fields.h"
#include "game/data/profile_numbers.h"

namespace {

using namespace Game;

void SaveRecords(pugi::xml_node list, const char* elementName, const std::map<std::string, JCPropertyMap>& records) {
    for (const auto& [key, record] : records) {
        pugi::xml_node element = list.append_child(elementName);
        element.append_attribute("name").set_value(key.c_str());
        record.Save(element);
    }
}

constexpr const char* kFormChildren[] = {"playeritems", "levels", "packs"};

}  // namespace

bool JCPlayer::KeysDistinct(const pugi::xml_node& list, const char* attribute) {
    std::set<std::string> seen;
    for (pugi::xml_node element = list.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element) continue;
        if (!seen.insert(element.attribute(attribute).as_string()).second) return false;
    }
    return true;
}

bool JCPlayer::IsFormChild(const std::string& childName) const {
    for (const char* known : kFormChildren) {
        if (childName == known) return true;
    }
    return false;
}

namespace {

void LoadRecords(const pugi::xml_node& list, std::map<std::string, JCPropertyMap>& records) {
    for (pugi::xml_node element = list.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element) continue;
        JCPropertyMap record;
        record.Load(element);
        records[element.attribute("name").as_string()] = record;
    }
}

}  // namespace

bool JCPlayer::LoadXml(const pugi::xml_node& node) {
    name = QRV::Utf8ToWide(node.attribute("name").as_string());
    soundVolume = ParseProfileFloat(node.attribute("sound_volume").as_string());
    musicVolume = ParseProfileFloat(node.attribute("music_volume").as_string());
    passedTutorial = ParseProfileBool(node.attribute("passed_tutorial").as_string());
    gameCursor = ParseProfileBool(node.attribute("game_cursor").as_string());

    bool whole = true;
    std::set<std::string> children;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (!IsFormChild(child.name()) || !children.insert(child.name()).second) whole = false;
    }

    // From the first "item" on, every following element is an item, whatever its name.
    const pugi::xml_node list = node.child("playeritems");
    const pugi::xml_node first = list.child("item");
    for (pugi::xml_node before = list.first_child(); before != first; before = before.next_sibling()) {
        if (before.type() == pugi::node_element) whole = false;
    }
    std::set<std::string> names;
    for (pugi::xml_node item = first; item; item = item.next_sibling()) {
        if (item.type() != pugi::node_element) continue;
        const std::string itemName = item.attribute("name").as_string();
        if (!names.insert(itemName).second) whole = false;
        items[itemName] = ParseProfileInt32(item.attribute("count").as_string());
    }
    for (const char* listName : {"levels", "packs"}) {
        const pugi::xml_node records = node.child(listName);
        if (!KeysDistinct(records, "name")) whole = false;
        for (pugi::xml_node record = records.first_child(); record; record = record.next_sibling()) {
            if (record.type() == pugi::node_element && !KeysDistinct(record, "key")) whole = false;
        }
    }
    LoadRecords(node.child("levels"), levelRecords);
    LoadRecords(node.child("packs"), packRecords);
    return whole;
}

void JCPlayer::SaveXml(pugi::xml_node node) const {
    node.append_attribute("name").set_value(GetNameUtf8().c_str());
    node.append_attribute("sound_volume").set_value(ProfileFloatText(soundVolume).c_str());
    node.append_attribute("music_volume").set_value(ProfileFloatText(musicVolume).c_str());
    node.append_attribute("passed_tutorial").set_value(ProfileBoolText(passedTutorial));
    node.append_attribute("game_cursor").set_value(ProfileBoolText(gameCursor));

    pugi::xml_node list = node.append_child("playeritems");
    for (const auto& [key, count] : items) {
        pugi::xml_node item = list.append_child("item");
        item.append_attribute("name").set_value(key.c_str());
        item.append_attribute("count").set_value(QRV::IntToString(count).c_str());
    }
    SaveRecords(node.append_child("levels"), "level", levelRecords);
    SaveRecords(node.append_child("packs"), "pack", packRecords);
}

void JCPlayer::ReadBinary(std::istream& in) {
    using namespace Game::BinaryFields;
    std::string nameUtf8;
    if (!ReadText(in, nameUtf8)) return;
    ReadF32(in, soundVolume);
    ReadF32(in, musicVolume);
    uint8_t flag = 0;
    if (ReadU8(in, flag)) passedTutorial = flag != 0;
    if (ReadU8(in, flag)) gameCursor = flag != 0;
    name = QRV::Utf8ToWide(nameUtf8);

    // The count is not trusted: each item is taken only once all of its bytes have been read.
    uint32_t count = 0;
    if (!ReadU32(in, count)) return;
    for (uint32_t i = 0; i < count; ++i) {
        std::string key;
        int32_t value = 0;
        if (!ReadText(in, key) || !ReadI32(in, value)) return;
        items[key] = value;
    }
}

void JCPlayer::WriteBinary(std::ostream& out) const {
    using namespace Game::BinaryFields;
    WriteText(out, GetNameUtf8());
    WriteF32(out, soundVolume);
    WriteF32(out, musicVolume);
    WriteU8(out, passedTutorial ? 1 : 0);
    WriteU8(out, gameCursor ? 1 : 0);
    WriteU32(out, static_cast<uint32_t>(items.size()));
    for (const auto& [key, count] : items) {
        WriteText(out, key);
        WriteI32(out, count);
    }
}

int32_t JCPlayer::GetItemCount(const std::string& item) const {
    const auto found = items.find(item);
    return found == items.end() ? 0 : found->second;
}

void JCPlayer::SetItemCount(const std::string& item, int32_t count) { items[item] = count; }

void JCPlayer::SetPackRecord(const std::string& pack, const JCPropertyMap& record) { packRecords[pack] = record; }

void JCPlayer::SetLevelRecord(const std::string& level, const JCPropertyMap& record) { levelRecords[level] = record; }

const JCPropertyMap* JCPlayer::FindPackRecord(const std::string& pack) const {
    const auto found = packRecords.find(pack);
    return found == packRecords.end() ? nullptr : &found->second;
}

const JCPropertyMap* JCPlayer::FindLevelRecord(const std::string& level) const {
    const auto found = levelRecords.find(level);
    return found == levelRecords.end() ? nullptr : &found->second;
}

std::string JCPlayer::GetNameUtf8() const { return QRV::WideToUtf8(name); }
