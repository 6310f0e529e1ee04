#include "engine/sound/sound_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "engine/platform/thread.h"
#include "engine/sound/sound_manager.h"
#include "tests/sound/sound_fixture.h"

namespace QRV::Test {
namespace {

class SoundStreamThreaded : public SoundFixture {};

TEST_F(SoundStreamThreaded, StopsOnRequestWithOrWithoutSounds) {
    JS_THREAD* idle = StartThread(SoundStreamThread, reinterpret_cast<uintptr_t>(&manager_));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    StopAndJoinThread(idle);
    EXPECT_EQ(idle->result.load(), 0);
    RemoveThread(idle);

    // No device at all: the thread idles and still stops.
    JC_SOUND_MANAGER closed;
    JS_THREAD* thread = StartThread(SoundStreamThread, reinterpret_cast<uintptr_t>(&closed));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    StopAndJoinThread(thread);
    RemoveThread(thread);
}

// The main thread plays, stops, releases, recreates and changes gains while the sound thread
// refills; a long piece nobody touches must keep playing throughout.
TEST_F(SoundStreamThreaded, MainThreadWorkDoesNotDisturbStreaming) {
    const auto longPiece = EncodeToneOgg(2, 44100, 20.0);
    const auto shortStream = EncodeToneOgg(2, 44100, 0.4);
    const auto blip = EncodeToneOgg(1, 22050, 0.1);

    JC_SOUND* anchor = Create(longPiece, false);
    ASSERT_NE(anchor, nullptr);
    std::vector<JC_SOUND*> sounds;
    for (int i = 0; i < 8; ++i) {
        sounds.push_back(Create(i % 2 == 0 ? shortStream : blip, i % 2 != 0));
        ASSERT_NE(sounds.back(), nullptr);
    }

    JS_THREAD* thread = StartThread(SoundStreamThread, reinterpret_cast<uintptr_t>(&manager_));
    anchor->Play();
    ASSERT_TRUE(anchor->IsPlaying());

    std::mt19937 random(12345);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int iterations = 0;
    while (std::chrono::steady_clock::now() < end) {
        const size_t index = random() % sounds.size();
        JC_SOUND*& sound = sounds[index];
        switch (random() % 6) {
            case 0:
            case 1: sound->Play(); break;
            case 2: sound->Stop(); break;
            case 3: sound->SetGain(static_cast<float>(random() % 101) / 100.0f); break;
            case 4: sound->IsPlaying(); break;
            case 5:
                ASSERT_EQ(manager_.ReleaseSound(sound), 1);
                sound = Create(index % 2 == 0 ? shortStream : blip, index % 2 != 0);
                ASSERT_NE(sound, nullptr);
                break;
        }
        const int32_t inUse = g_soundSourcesInUse.load();
        ASSERT_GE(inUse, 0);
        ASSERT_LE(inUse, kMaxSoundSources);
        ++iterations;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    EXPECT_TRUE(anchor->IsPlaying());
    EXPECT_GT(iterations, 100);

    StopAndJoinThread(thread);
    RemoveThread(thread);
    int32_t live = anchor->Source() != 0 ? 1 : 0;
    for (JC_SOUND* sound : sounds) live += sound->Source() != 0 ? 1 : 0;
    EXPECT_EQ(g_soundSourcesInUse.load(), live);
}

}  // namespace
}  // namespace QRV::Test
