#include "engine/sound/sound_groups.h"

#include <pugixml.hpp>

#include <algorithm>

#include "engine/core/conversions.h"
#include "engine/platform/clock.h"
#include "engine/sound/sound.h"

namespace {

// True when the first character is 1, t, T, y or Y.
bool AttributeFlag(const pugi::xml_node& node, const char* name) {
    return QRV::IsTrueText(node.attribute(name).value());
}

}  // namespace

float SoundVolumeToGain(float volume) {
    if (!(volume > 0.0f)) return 0.0f;  // NaN included
    return std::min(volume / 100.0f, 1.0f);
}

JCSoundGroups::~JCSoundGroups() { Clear(); }

int JCSoundGroups::Load(const pugi::xml_node& root) {
    for (pugi::xml_node groupNode = root.first_child(); groupNode; groupNode = groupNode.next_sibling()) {
        if (groupNode.type() != pugi::node_element) continue;
        auto* group = new JCSoundGroup();
        auto [it, inserted] = groups.try_emplace(groupNode.attribute("name").value(), group);
        if (!inserted) {
            delete it->second;
            it->second = group;
        }
        for (pugi::xml_node soundNode = groupNode.first_child(); soundNode; soundNode = soundNode.next_sibling()) {
            if (soundNode.type() != pugi::node_element) continue;
            auto* entry = new JCSoundEntry();
            entry->name = soundNode.attribute("name").value();
            entry->path = soundNode.attribute("path").value();
            entry->looped = AttributeFlag(soundNode, "looped") ? 1 : 0;
            entry->streamed = AttributeFlag(soundNode, "streamed") ? 1 : 0;
            entry->cntBuffers = QRV::AsciiToInt(soundNode.attribute("cnt_buffers").value());
            group->AddEntry(entry);
        }
    }
    return 1;
}

JCSoundGroup* JCSoundGroups::FindGroup(const std::string& name) const {
    if (groups.empty()) return nullptr;
    auto it = groups.find(name);
    return it == groups.end() ? nullptr : it->second;
}

void JCSoundGroups::SetGroupGain(JCSoundGroup* group, float volume) {
    if (group == nullptr) return;
    group->gain = SoundVolumeToGain(volume);
    group->ApplyGain();
}

void JCSoundGroups::SetGroupGain(const std::string& name, float volume) { SetGroupGain(FindGroup(name), volume); }

int JCSoundGroups::PlaySound(const std::string& name) {
    JCSoundGroup* group = FindGroup("sounds");
    if (group == nullptr) return -1;
    return group->PlayEntry(group->FindSound(name));
}

double JCSoundGroups::TotalTime(const std::string& group, const std::string& name) const {
    const JCSoundGroup* found = FindGroup(group);
    if (found == nullptr) return 0.0;
    const JCSoundEntry* entry = found->FindSound(name);
    if (entry == nullptr || entry->sound == nullptr) return 0.0;
    return entry->sound->TotalTime();
}

void JCSoundGroups::Update() {
    if (!active) return;
    elapsed += QRV::g_frameTime.load();
    if (elapsed < interval) return;
    elapsed = 0.0f;
    for (auto& [name, group] : groups) {
        if (!group->playing || group->entries.empty()) continue;
        auto& current = group->current;
        if (current != group->entries.end() && current->second->sound != nullptr &&
            current->second->sound->IsPlaying()) {
            continue;
        }
        if (current == group->entries.end() || ++current == group->entries.end()) {
            current = group->entries.begin();
        }
        group->PlayEntry(current->second);
    }
}

void JCSoundGroups::Clear() {
    for (auto& [name, group] : groups) delete group;
    groups.clear();
}
