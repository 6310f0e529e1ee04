#pragma once
// The sound catalogue: named sound groups read from XML, group volumes and the playlist tick.

#include <map>
#include <string>

#include "engine/sound/sound_group.h"

namespace pugi {
class xml_node;
}

// Player volumes are 0..100; OpenAL gains 0..1. The conversion happens here and nowhere else.
float SoundVolumeToGain(float volume);

class JCSoundGroups {
public:
    using Groups = std::map<std::string, JCSoundGroup*>;

    JCSoundGroups() = default;
    ~JCSoundGroups();
    JCSoundGroups(const JCSoundGroups&) = delete;
    JCSoundGroups& operator=(const JCSoundGroups&) = delete;

    // Reads every group element under the root (a later group of a name replaces the earlier): 1.
    int Load(const pugi::xml_node& root);
    JCSoundGroup* FindGroup(const std::string& name) const;

    // Sets the group's gain from a 0..100 volume, running sources included. A null group or an
    // unknown name changes nothing.
    void SetGroupGain(JCSoundGroup* group, float volume);
    void SetGroupGain(const std::string& name, float volume);

    // Plays the entry of that name of the group "sounds": 1, or -1 when the group, the entry or
    // its sound is missing.
    int PlaySound(const std::string& name);
    // The total play time in seconds of the entry's sound in that group (its stream's length); 0
    // when the group, the entry or its sound is missing.
    double TotalTime(const std::string& group, const std::string& name) const;

    // The per-frame playlist tick.
    void Update();
    // Deletes every group and its entries.
    void Clear();

    Groups groups;
    uint8_t active = 0;
    float interval = 1.0f;
    float elapsed = 0.0f;
};
