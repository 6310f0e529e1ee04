#pragma once
// A sound manager on OpenAL Soft's null backend (real-time mixing, no hardware).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <thread>

#include "engine/sound/sound_manager.h"
#include "tests/sound/ogg_tone.h"

namespace QRV::Test {

class SoundFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // CTest sets this already; a run by hand gets the same backend.
        setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_EQ(manager_.OpenDevice(), 1);
        ASSERT_EQ(g_soundSourcesInUse.load(), 0);
    }

    void TearDown() override {
        for (JC_SOUND* sound : std::vector<JC_SOUND*>(manager_.sounds)) manager_.ReleaseSound(sound);
        manager_.CloseDevice();
        EXPECT_EQ(g_soundSourcesInUse.load(), 0);
    }

    // The sound plays from a copy that lives as long as the fixture.
    JC_SOUND* Create(const std::vector<uint8_t>& bytes, bool whole) {
        const std::vector<uint8_t>& kept = data_.emplace_back(bytes);
        return manager_.CreateSound(kept.data(), static_cast<uint32_t>(kept.size()), 1, whole);
    }

    // Polls until the condition holds or the time is up; true when it held.
    static bool WaitFor(const std::function<bool()>& condition, double seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return condition();
    }

    std::deque<std::vector<uint8_t>> data_;  // declared first: destroyed after the manager
    JC_SOUND_MANAGER manager_;
};

}  // namespace QRV::Test
