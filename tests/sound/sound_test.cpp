#include "engine/sound/sound.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/platform/thread.h"
#include "engine/platform/time_source.h"
#include "engine/sound/sound_manager.h"
#include "engine/sound/sound_thread.h"
#include "tests/sound/ogg_tone.h"
#include "tests/sound/sound_fixture.h"

namespace QRV::Test {
namespace {

using Clock = std::chrono::steady_clock;

class SoundThreaded : public SoundFixture {};

TEST_F(SoundThreaded, TotalTimeAndFormatFollowTheStream) {
    struct Case {
        int channels;
        int rate;
        double seconds;
        ALenum format;
    };
    const Case cases[] = {
        {1, 22050, 0.5, AL_FORMAT_MONO16},
        {2, 44100, 1.25, AL_FORMAT_STEREO16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        const auto bytes = EncodeToneOgg(c.channels, c.rate, c.seconds);
        for (bool whole : {true, false}) {
            JC_SOUND* sound = Create(bytes, whole);
            ASSERT_NE(sound, nullptr);
            EXPECT_NEAR(sound->TotalTime(), c.seconds, 1e-3);
            EXPECT_EQ(sound->format, c.format);
            EXPECT_EQ(sound->rate, c.rate);
            EXPECT_EQ(sound->bufferBytes, whole ? static_cast<int32_t>(std::lround(c.seconds * c.rate)) * c.channels * 2
                                                : JC_SOUND::kStreamBufferBytes);
            // A whole sound's samples are in OpenAL: its decoder is closed; a streamed one keeps it.
            EXPECT_EQ(sound->stream == nullptr, whole);
            EXPECT_EQ(manager_.ReleaseSound(sound), 1);
        }
    }
}

TEST_F(SoundThreaded, BadDataCreatesNothing) {
    const auto good = EncodeToneOgg(1, 22050, 0.5);
    std::vector<uint8_t> garbage(4000);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 131 + 7);
    std::vector<uint8_t> oggMagicOnly = {'O', 'g', 'g', 'S', 0, 2, 0, 0};
    const std::vector<std::vector<uint8_t>> cases = {
        {},
        garbage,
        oggMagicOnly,
        std::vector<uint8_t>(good.begin(), good.begin() + 30),
        std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 3)),
        EncodeToneOgg(3, 22050, 0.2),  // only mono and stereo are playable
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        for (bool whole : {true, false}) {
            EXPECT_EQ(Create(cases[i], whole), nullptr);
        }
    }
    EXPECT_EQ(manager_.SoundCount(), 0u);
}

TEST_F(SoundThreaded, DamagedAudioPagesNeverCrash) {
    // Headers intact, audio scrambled: creation may succeed, decoding must stay in bounds.
    auto bytes = EncodeToneOgg(2, 44100, 0.6);
    for (size_t i = bytes.size() / 2; i < bytes.size(); i += 7) bytes[i] ^= 0x5a;
    for (bool whole : {true, false}) {
        JC_SOUND* sound = Create(bytes, whole);
        if (sound == nullptr) continue;
        sound->Play();
        for (int i = 0; i < 100 && sound->playing; ++i) {
            sound->Update(0.01f);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(manager_.ReleaseSound(sound), 1);
    }
}

TEST_F(SoundThreaded, WholeSoundStopsOnTheTickAfterItEnds) {
    JC_SOUND* sound = Create(EncodeToneOgg(1, 22050, 0.2), true);
    ASSERT_NE(sound, nullptr);
    EXPECT_FALSE(sound->Play());
    EXPECT_TRUE(sound->IsPlaying());
    EXPECT_TRUE(sound->Play());  // already playing
    EXPECT_EQ(g_soundSourcesInUse.load(), 1);

    ASSERT_TRUE(WaitFor([&] { return !sound->IsPlaying(); }, 2.0));
    EXPECT_EQ(sound->playing, 1);  // nobody ticked it yet
    sound->Update(0.01f);
    EXPECT_EQ(sound->playing, 0);
    EXPECT_EQ(sound->Source(), 0u);
    EXPECT_EQ(g_soundSourcesInUse.load(), 0);

    EXPECT_FALSE(sound->Play());  // plays again from its kept buffer
    EXPECT_TRUE(sound->IsPlaying());
    EXPECT_EQ(sound->stream, nullptr);  // without a decoder
    sound->Stop();
    EXPECT_FALSE(sound->Play());
    EXPECT_TRUE(sound->IsPlaying());
}

TEST_F(SoundThreaded, ALateUpdateRefillsEveryBufferThatPlayedOut) {
    // Two stream buffers hold about half a second of stereo; no update for longer than that.
    JC_SOUND* sound = Create(EncodeToneOgg(2, 44100, 3.0), false);
    ASSERT_NE(sound, nullptr);
    sound->Play();
    const ALuint source = sound->Source();
    ASSERT_NE(source, 0u);
    ALint processed = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
            return processed == 2;
        },
        3.0));
    sound->Update(0.7f);
    ALint queued = 0, state = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(queued, 2);
    EXPECT_LE(processed, 1);  // the mixer may have finished one again since
    EXPECT_EQ(state, AL_PLAYING);
    // Four buffers' worth decoded: the first two and both refills (one refill would leave a
    // played-out buffer to be played again).
    EXPECT_EQ(ov_pcm_tell(sound->stream), 4 * JC_SOUND::kStreamBufferBytes / 4);
    EXPECT_EQ(manager_.ReleaseSound(sound), 1);
}

// Plays the stream with the sound thread running; seconds from Play until it stopped by itself.
double PlayToEnd(JC_SOUND_MANAGER& manager, JC_SOUND* sound) {
    JS_THREAD* thread = StartThread(SoundStreamThread, reinterpret_cast<uintptr_t>(&manager));
    const auto start = Clock::now();
    sound->Play();
    while (true) {
        {
            JC_SOUND_LOCK lock;
            if (!sound->playing) break;
        }
        if (Clock::now() - start > std::chrono::seconds(10)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    StopAndJoinThread(thread);
    RemoveThread(thread);
    return seconds;
}

TEST_F(SoundThreaded, StreamedSoundPlaysItsWholeLengthAndRewinds) {
    struct Case {
        int channels;
        int rate;
        double seconds;
    };
    // Stereo spans many refills; the short mono piece fits in the first buffer alone.
    const Case cases[] = {{2, 44100, 1.0}, {1, 22050, 0.3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        JC_SOUND* sound = Create(EncodeToneOgg(c.channels, c.rate, c.seconds), false);
        ASSERT_NE(sound, nullptr);
        for (int round = 0; round < 2; ++round) {
            const double played = PlayToEnd(manager_, sound);
            // Not cut short at the last refill (that would lose a good part of a buffer, 0.27 s
            // of stereo), and stopped soon after the end. A mixer that fell behind catches up at
            // once, so a busy machine may hear the end a little early.
            EXPECT_GE(played, c.seconds - 0.1);
            EXPECT_LE(played, c.seconds + 0.5);
            EXPECT_EQ(sound->Source(), 0u);
            EXPECT_EQ(g_soundSourcesInUse.load(), 0);
        }
        EXPECT_EQ(manager_.ReleaseSound(sound), 1);
    }
}

TEST_F(SoundThreaded, SeventeenthPlayIsRefusedUntilASourceIsFree) {
    const auto bytes = EncodeToneOgg(1, 22050, 5.0);
    std::vector<JC_SOUND*> sounds;
    for (int i = 0; i < kMaxSoundSources + 1; ++i) {
        sounds.push_back(Create(bytes, i % 2 == 0));
        ASSERT_NE(sounds.back(), nullptr);
    }
    for (int i = 0; i < kMaxSoundSources; ++i) sounds[static_cast<size_t>(i)]->Play();
    EXPECT_EQ(g_soundSourcesInUse.load(), kMaxSoundSources);

    JC_SOUND* last = sounds.back();
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(last->Play());
        EXPECT_EQ(last->playing, 0);  // not stuck as playing: a later play retries
        EXPECT_EQ(last->Source(), 0u);
        EXPECT_FALSE(last->IsPlaying());
    }
    EXPECT_EQ(g_soundSourcesInUse.load(), kMaxSoundSources);

    sounds[3]->Stop();
    EXPECT_EQ(g_soundSourcesInUse.load(), kMaxSoundSources - 1);
    EXPECT_FALSE(last->Play());
    EXPECT_TRUE(last->IsPlaying());
    EXPECT_EQ(g_soundSourcesInUse.load(), kMaxSoundSources);
}

TEST_F(SoundThreaded, SourceCounterCountsLiveSourcesOnly) {
    const auto bytes = EncodeToneOgg(1, 22050, 3.0);
    // Each step: 'c' create, 'p' play, 's' stop, 'r' release, on one of three sounds.
    const char* scripts[] = {
        "c0c1c2r0r1r2",          // released without ever playing
        "c0p0s0s0r0",            // double stop
        "c0p0r0c1s1p1p1r1",      // release while playing; stop before play
        "c0c1p0p1s0r1p0r0c2r2",  // interleaved
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        JC_SOUND* sounds[3] = {nullptr, nullptr, nullptr};
        for (const char* step = script; *step != 0; step += 2) {
            JC_SOUND*& sound = sounds[step[1] - '0'];
            switch (step[0]) {
                case 'c':
                    sound = Create(bytes, step[1] != '1');
                    ASSERT_NE(sound, nullptr);
                    break;
                case 'p': sound->Play(); break;
                case 's': sound->Stop(); break;
                case 'r':
                    EXPECT_EQ(manager_.ReleaseSound(sound), 1);
                    sound = nullptr;
                    break;
            }
            int32_t live = 0;
            for (JC_SOUND* s : sounds) live += (s != nullptr && s->Source() != 0) ? 1 : 0;
            EXPECT_EQ(g_soundSourcesInUse.load(), live);
        }
    }
}

TEST_F(SoundThreaded, ReleasingAPlayingSoundDeletesItsSource) {
    const auto bytes = EncodeToneOgg(2, 44100, 3.0);
    for (bool whole : {true, false}) {
        JC_SOUND* sound = Create(bytes, whole);
        ASSERT_NE(sound, nullptr);
        sound->Play();
        const ALuint source = sound->Source();
        ASSERT_NE(source, 0u);
        EXPECT_EQ(manager_.ReleaseSound(sound), 1);
        EXPECT_FALSE(alIsSource(source));
        EXPECT_EQ(g_soundSourcesInUse.load(), 0);
        EXPECT_EQ(manager_.ReleaseSound(sound), -1);  // no longer in the list
    }
    EXPECT_EQ(manager_.ReleaseSound(nullptr), -1);
}

// Simulated milliseconds for the time source, starting just before the counter wraps.
std::atomic<uint32_t> g_simulatedMs{0};
uint32_t SimulatedNow() { return g_simulatedMs.load(); }

// The time source runs on simulated milliseconds while the game runs at `frameTime` a frame.
struct SimulatedTime {
    explicit SimulatedTime(float frameTime) : savedFrameTime(g_frameTime.load()) {
        g_frameTime.store(frameTime);
        g_simulatedMs.store(0xFFFFFF00u);
        Platform::SetTimeSource(SimulatedNow, nullptr);
    }
    ~SimulatedTime() {
        Platform::SetTimeSource(nullptr, nullptr);
        g_frameTime.store(savedFrameTime);
    }
    float savedFrameTime;
};

// A deferred start waits for the time that passed on the sound thread, whatever the game's frame
// time and however often or seldom the thread ticks.
TEST_F(SoundThreaded, DeferredStartWaitsForTheTimeBetweenTicks) {
    SimulatedTime time(1.0f / 60.0f);
    struct Case {
        const char* name;
        std::vector<uint32_t> stepsMs;  // time between ticks, repeated
    };
    const Case cases[] = {
        {"every 10 ms", {10}},     {"every millisecond", {1}},        {"one frame apart", {16, 17, 17}},
        {"stalled thread", {400}}, {"irregular", {3, 250, 9, 1, 40}},
    };
    JC_SOUND* sound = Create(EncodeToneOgg(1, 22050, 1.0), false);
    ASSERT_NE(sound, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager_.UpdateSounds();  // the previous tick, before the start is deferred
        {
            JC_SOUND_LOCK lock;
            sound->delay = 1.0f;
        }
        uint32_t simulated = 0;
        for (size_t tick = 0; simulated < 1500; ++tick) {
            const uint32_t step = c.stepsMs[tick % c.stepsMs.size()];
            simulated += step;
            g_simulatedMs.fetch_add(step);
            manager_.UpdateSounds();
            SCOPED_TRACE(simulated);
            if (simulated < 1000) {
                ASSERT_EQ(sound->playing, 0);
            } else {
                // Starts on the first tick at or after one second.
                ASSERT_EQ(sound->playing, 1);
                EXPECT_EQ(sound->delay, 0.0f);
                EXPECT_TRUE(sound->IsPlaying());
                break;
            }
        }
        EXPECT_EQ(sound->playing, 1);
        sound->Stop();
    }
}

// Nothing is placed in space: whatever the OpenAL renderer's panning, each sound plays from the
// listener's own position, as two channels, with no distance attenuation.
TEST_F(SoundThreaded, EverySoundPlaysCentredOnTheListener) {
    ALfloat position[3] = {-1.0f, -1.0f, -1.0f};
    ALfloat orientation[6] = {};
    alGetListenerfv(AL_POSITION, position);
    alGetListenerfv(AL_ORIENTATION, orientation);
    EXPECT_EQ(std::vector<float>(position, position + 3), std::vector<float>({0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(std::vector<float>(orientation, orientation + 6), std::vector<float>({0, 0, -1, 0, 1, 0}));
    EXPECT_EQ(alGetInteger(AL_DISTANCE_MODEL), AL_NONE);

    for (int channels : {1, 2}) {
        const auto bytes = EncodeToneOgg(channels, 22050, 1.0);
        for (bool whole : {true, false}) {
            SCOPED_TRACE(testing::Message() << channels << (whole ? " whole" : " streamed"));
            JC_SOUND* sound = Create(bytes, whole);
            ASSERT_NE(sound, nullptr);
            sound->Play();
            ALint relative = AL_FALSE;
            ALint bufferChannels = 0;
            alGetSourcei(sound->Source(), AL_SOURCE_RELATIVE, &relative);
            alGetSource3f(sound->Source(), AL_POSITION, &position[0], &position[1], &position[2]);
            alGetBufferi(sound->buffers[0], AL_CHANNELS, &bufferChannels);
            EXPECT_EQ(relative, AL_TRUE);
            EXPECT_EQ(std::vector<float>(position, position + 3), std::vector<float>({0.0f, 0.0f, 0.0f}));
            EXPECT_EQ(bufferChannels, 2);
            EXPECT_EQ(manager_.ReleaseSound(sound), 1);
        }
    }
}

TEST_F(SoundThreaded, GainIsClampedAndReachesTheSource) {
    JC_SOUND* sound = Create(EncodeToneOgg(1, 22050, 1.0), true);
    ASSERT_NE(sound, nullptr);
    sound->SetGain(0.25f);  // before there is a source: applied when one is made
    sound->Play();
    ALfloat gain = -1.0f;
    alGetSourcef(sound->Source(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    sound->SetGain(7.0f);
    alGetSourcef(sound->Source(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 1.0f);
    sound->SetGain(-1.0f);
    EXPECT_FLOAT_EQ(sound->Gain(), 0.0f);
}

TEST(SoundNoDevice, NothingIsCreatedAndNothingBreaks) {
    JC_SOUND_MANAGER manager;  // never opened
    EXPECT_FALSE(manager.HasDevice());
    const auto bytes = EncodeToneOgg(1, 22050, 0.2);
    EXPECT_EQ(manager.CreateSound(bytes.data(), static_cast<uint32_t>(bytes.size()), 1, true), nullptr);
    EXPECT_FALSE(manager.UpdateSounds());
    manager.CloseDevice();

    JC_SOUND orphan;  // a sound with no context plays nothing
    EXPECT_FALSE(orphan.Play());
    orphan.Stop();
    orphan.Update(0.01f);
    EXPECT_FALSE(orphan.IsPlaying());
}

TEST_F(SoundThreaded, CloseDeviceLeavesSoundsReleasable) {
    JC_SOUND* sound = Create(EncodeToneOgg(2, 44100, 2.0), false);
    ASSERT_NE(sound, nullptr);
    sound->Play();
    manager_.CloseDevice();
    EXPECT_EQ(g_soundSourcesInUse.load(), 0);
    EXPECT_FALSE(manager_.HasDevice());
    EXPECT_FALSE(sound->Play());
    EXPECT_EQ(manager_.ReleaseSound(sound), 1);
}

}  // namespace
}  // namespace QRV::Test
