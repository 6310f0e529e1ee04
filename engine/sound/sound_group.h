#pragma once
// A sound group: a volume domain over named sounds and, once started, a playlist in name order.

#include <map>
#include <string>

#include "engine/sound/sound_entry.h"

class JCSoundGroup {
public:
    using Entries = std::map<std::string, JCSoundEntry*>;

    JCSoundGroup() = default;
    ~JCSoundGroup();
    JCSoundGroup(const JCSoundGroup&) = delete;
    JCSoundGroup& operator=(const JCSoundGroup&) = delete;

    // Stores the entry under its name; an earlier entry of that name is deleted.
    void AddEntry(JCSoundEntry* entry);
    JCSoundEntry* FindSound(const std::string& name) const;

    // Takes the sound of every entry that has none yet from the resource cache: 1.
    int LoadSounds();
    // Drops the reference of every entry's sound on its resource record: 1.
    int ReleaseSounds();

    // Plays the first entry in name order and marks the playlist running: 1, or -1 when empty.
    int Start();
    // Restarts the entry's sound at the group's gain: 1 (also when the gain is 0 and nothing
    // plays), or -1 when the entry has no sound.
    int PlayEntry(JCSoundEntry* entry);
    // Applies the group's gain to every entry's sound (running sources included).
    void ApplyGain();

    Entries entries;
    float gain = 1.0f;  // OpenAL gain 0..1
    uint8_t playing = 0;
    Entries::iterator current = entries.end();
};
