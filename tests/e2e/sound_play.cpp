// End-to-end sound program, run by sound_e2e.sh with OpenAL Soft writing what it mixes to a WAV
// file instead of a sound card.
//
//   e2e_sound_play play WORK_DIR      builds a Resources tree of generated Ogg pieces and a sound
//                                     catalogue in WORK_DIR and plays through it (see Play)
//   e2e_sound_play analyze WAV_FILE   finds the sounding stretches of the recording and checks
//                                     them against what Play did
//   e2e_sound_play nodevice WORK_DIR  the same start-up with no sound device: everything must
//                                     run on
//   e2e_sound_play balance WAV_FILE   plays mono and stereo pieces of the same samples into the
//                                     recording WAV_FILE, then measures each channel's level
//
// Exit status 0 when every check held; each failed check prints a "FAIL" line.

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/platform/thread.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/sound/sound_groups.h"
#include "engine/sound/sound_manager.h"
#include "engine/sound/sound_thread.h"
#include "tests/sound/ogg_tone.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// What Play records, and what analyze expects to hear, in this order.
constexpr double kMusicSeconds = 2.0;   // "01", 440 Hz, streamed
constexpr double kSecondSeconds = 0.6;  // "02", 660 Hz, streamed
constexpr double kEffectSeconds = 0.3;  // "blip", 880 Hz, decoded whole
constexpr double kVoiceSeconds = 1.5;   // each of the 17 voices
constexpr double kPause = 0.6;          // silence between the steps
constexpr double kLengthTolerance = 0.05;

int g_failures = 0;

void Check(bool condition, const std::string& what) {
    std::printf("%s: %s\n", condition ? "ok" : "FAIL", what.c_str());
    if (!condition) ++g_failures;
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

double Since(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// Waits (advancing the frame clock) until the condition holds; false after `limit` seconds.
bool WaitUntil(const std::function<bool()>& condition, double limit) {
    const auto start = SteadyClock::now();
    while (!condition()) {
        if (Since(start) > limit) return false;
        Sleep(0.002);
        if (QRV::g_clock != nullptr) QRV::g_clock->Update();
    }
    return true;
}

bool Playing(QRV::JC_SOUND* sound) {
    QRV::JC_SOUND_LOCK lock;
    return sound->playing != 0;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteOgg(const std::filesystem::path& path, int channels, double seconds, double frequency, float amplitude) {
    const auto bytes = QRV::Test::EncodeToneOgg(channels, 44100, seconds, frequency, amplitude);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The Resources tree of this run, with its own catalogue.
void BuildResources(const std::filesystem::path& work) {
    const auto resources = work / "Resources";
    WriteOgg(resources / "data/music/01.ogg", 2, kMusicSeconds, 440.0, 0.5f);
    WriteOgg(resources / "data/music/02.ogg", 2, kSecondSeconds, 660.0, 0.5f);
    WriteOgg(resources / "data/sounds/blip.ogg", 1, kEffectSeconds, 880.0, 0.5f);
    // Entries out of name order on purpose: the playlist goes by name.
    WriteFile(resources / "data/share/main/other/sound.xml",
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
              "<sound>\n"
              "  <group name=\"music\">\n"
              "    <sound name=\"02\" path=\"data/music 02.ogg\" streamed=\"false\"/>\n"
              "    <sound name=\"01\" path=\"data/music 01.ogg\" streamed=\"false\"/>\n"
              "  </group>\n"
              "  <group name=\"sounds\">\n"
              "    <sound name=\"blip\" path=\"data/sounds blip.ogg\" streamed=\"true\"/>\n"
              "  </group>\n"
              "</sound>\n");
}

// Engine-like start-up: sound manager and device, resources, catalogue and the sound thread.
struct Session {
    JCSoundGroups groups;
    QRV::JS_THREAD* thread = nullptr;
    int deviceResult = 0;

    explicit Session(const std::filesystem::path& work) {
        QRV::g_clock = new QRV::JC_CLOCK();
        QRV::g_soundManager = new QRV::JC_SOUND_MANAGER();
        deviceResult = QRV::g_soundManager->OpenDevice();
        std::filesystem::current_path(work);
        QRV::JC_PATHS::Instance();
        QRV::g_repositoryManager = new QRV::JC_REPOSITORY_MANAGER();
        QRV::LoadRepository("");
        QRV::LoadRepository("data/share/main/other");
        QRV::LoadRepository("data/music");
        QRV::LoadRepository("data/sounds");
        if (pugi::xml_document* catalogue = QRV::AcquireXmlResource("data/share/main/other sound.xml")) {
            groups.Load(catalogue->document_element());
            QRV::ReleaseXml(catalogue);
        }
        for (const char* name : {"music", "sounds"}) {
            if (JCSoundGroup* group = groups.FindGroup(name)) group->LoadSounds();
        }
        thread = QRV::StartThread(QRV::SoundStreamThread, 0);
    }

    ~Session() {
        QRV::StopAndJoinThread(thread);
        QRV::RemoveThread(thread);
        for (auto& [name, group] : groups.groups) group->ReleaseSounds();
        groups.Clear();
        QRV::g_repositoryManager->Destroy();
        delete QRV::g_repositoryManager;
        QRV::g_repositoryManager = nullptr;
        QRV::g_soundManager->CloseDevice();  // the WAV file is completed here
        delete QRV::g_soundManager;
        QRV::g_soundManager = nullptr;
        delete QRV::g_clock;
        QRV::g_clock = nullptr;
    }
};

int Play(const std::filesystem::path& work) {
    BuildResources(work);
    Session session(work);
    Check(session.deviceResult == 1, "the wave-file device opens");
    if (session.deviceResult != 1) return 1;
    JCSoundGroup* music = session.groups.FindGroup("music");
    Check(music != nullptr && music->entries.size() == 2, "group music holds two pieces");
    if (music == nullptr || music->entries.size() != 2) return 1;
    QRV::JC_SOUND* first = music->FindSound("01")->sound;
    QRV::JC_SOUND* second = music->FindSound("02")->sound;
    Check(first != nullptr && second != nullptr, "the music pieces load through the resource cache");
    if (first == nullptr || second == nullptr) return 1;
    Check(std::fabs(first->TotalTime() - kMusicSeconds) < 0.001, "total time of 01 is its length");

    // 1. A streamed piece plays to its very end and stops by itself.
    Sleep(kPause);
    auto start = SteadyClock::now();
    Check(music->PlayEntry(music->FindSound("01")) == 1 && first->IsPlaying(), "01 starts");
    Check(WaitUntil([&] { return !Playing(first); }, kMusicSeconds + 2.0), "01 stops at its end");
    const double played = Since(start);
    std::printf("01 played %.3f s of %.3f s\n", played, kMusicSeconds);
    Check(played > kMusicSeconds - kLengthTolerance, "01 is not cut short");

    // 2. A sound decoded whole.
    Sleep(kPause);
    Check(session.groups.PlaySound("blip") == 1, "PlaySound(blip) gives 1");
    QRV::JC_SOUND* blip = session.groups.FindGroup("sounds")->FindSound("blip")->sound;
    Check(blip != nullptr && blip->IsPlaying(), "blip plays");
    Check(session.groups.PlaySound("nope") == -1, "PlaySound(nope) gives -1");
    Check(WaitUntil([&] { return !Playing(blip); }, kEffectSeconds + 2.0), "blip ends");

    // 3. Sixteen voices at once; the seventeenth waits for a free source.
    Sleep(kPause);
    const auto voice = QRV::Test::EncodeToneOgg(1, 44100, kVoiceSeconds, 330.0, 0.04f);
    std::vector<QRV::JC_SOUND*> voices;
    for (int i = 0; i < QRV::kMaxSoundSources + 1; ++i) {
        voices.push_back(
            QRV::g_soundManager->CreateSound(voice.data(), static_cast<uint32_t>(voice.size()), 1, i % 2 == 0));
        if (voices.back() == nullptr) {
            Check(false, "a voice is created");
            return 1;
        }
    }
    for (int i = 0; i < QRV::kMaxSoundSources; ++i) voices[static_cast<size_t>(i)]->Play();
    int sounding = 0;
    for (int i = 0; i < QRV::kMaxSoundSources; ++i) sounding += voices[static_cast<size_t>(i)]->IsPlaying() ? 1 : 0;
    Check(sounding == QRV::kMaxSoundSources, "sixteen voices play at once");
    QRV::JC_SOUND* extra = voices.back();
    extra->Play();
    Check(!extra->IsPlaying() && extra->Source() == 0, "the seventeenth play is refused");
    Sleep(0.2);
    voices[5]->Stop();
    extra->Play();
    Check(extra->IsPlaying(), "the seventeenth plays once a voice was stopped");
    Check(QRV::g_soundSourcesInUse.load() == QRV::kMaxSoundSources, "sixteen sources in use");
    Check(WaitUntil([&] { return !Playing(extra); }, kVoiceSeconds + 2.0), "the voices end");
    for (QRV::JC_SOUND* sound : voices) QRV::g_soundManager->ReleaseSound(sound);
    Check(QRV::g_soundSourcesInUse.load() == 0, "no source left after the voices");

    // 4. The playlist of "music" moves from 01 to 02 once 01 has ended.
    Sleep(kPause);
    session.groups.active = 1;
    Check(music->Start() == 1 && music->current->first == "01" && first->IsPlaying(), "playlist starts with 01");
    start = SteadyClock::now();
    const bool moved = WaitUntil(
        [&] {
            session.groups.Update();
            return music->current->first == "02";
        },
        kMusicSeconds + 3.0);
    std::printf("playlist moved to %s after %.3f s\n", music->current->first.c_str(), Since(start));
    Check(moved && second->IsPlaying(), "playlist moves on to 02 and plays it");
    session.groups.active = 0;  // no wrap to 01 in the recording
    Check(WaitUntil([&] { return !Playing(second); }, kSecondSeconds + 2.0), "02 ends");
    Sleep(kPause);
    return g_failures == 0 ? 0 : 1;
}

int NoDevice(const std::filesystem::path& work) {
    BuildResources(work);
    Session session(work);
    Check(session.deviceResult == -1, "OpenDevice gives -1 without a device");
    Check(!QRV::g_soundManager->HasDevice(), "the manager has no device");
    JCSoundGroup* music = session.groups.FindGroup("music");
    Check(music != nullptr && music->FindSound("01")->sound == nullptr, "no sound is created");
    Check(music != nullptr && music->Start() == 1, "the playlist starts (silently)");
    Check(session.groups.PlaySound("blip") == -1, "PlaySound gives -1 without sounds");
    session.groups.active = 1;
    WaitUntil(
        [&] {
            session.groups.Update();
            return false;
        },
        0.3);
    std::printf("ran on without audio\n");
    return g_failures == 0 ? 0 : 1;
}

// --- Recording analysis --------------------------------------------------------------------

struct Wave {
    int channels = 0;
    int rate = 0;
    std::vector<float> frames;   // the peak of the channels per frame, 0..1
    std::vector<float> samples;  // every channel, signed, interleaved

    float Sample(size_t frame, int channel) const {
        return samples[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)];
    }
};

uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + static_cast<size_t>(i)])) << (8 * i);
    return v;
}

bool ReadWave(const std::string& path, Wave& wave) {
    std::ifstream in(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
    int format = 0, bits = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        size_t size = Le(b, at + 4, 4);
        const size_t body = at + 8;
        if (id == "fmt " && body + 16 <= b.size()) {
            format = static_cast<int>(Le(b, body, 2));
            wave.channels = static_cast<int>(Le(b, body + 2, 2));
            wave.rate = static_cast<int>(Le(b, body + 4, 4));
            bits = static_cast<int>(Le(b, body + 14, 2));
            if (format == 0xFFFE && body + 26 <= b.size()) format = static_cast<int>(Le(b, body + 24, 2));
        } else if (id == "data") {
            // A recording cut off before its header was completed runs to the end of the file.
            if (size == 0 || body + size > b.size()) size = b.size() - body;
            const int bytes = bits / 8;
            if (wave.channels <= 0 || bytes <= 0 || !(format == 1 || format == 3)) return false;
            const size_t frameBytes = static_cast<size_t>(bytes * wave.channels);
            for (size_t f = body; f + frameBytes <= body + size; f += frameBytes) {
                float peak = 0.0f;
                for (int c = 0; c < wave.channels; ++c) {
                    const size_t s = f + static_cast<size_t>(c * bytes);
                    float v = 0.0f;
                    if (format == 3 && bits == 32) {
                        const uint32_t raw = Le(b, s, 4);
                        std::memcpy(&v, &raw, 4);
                    } else if (bits == 16) {
                        v = static_cast<float>(static_cast<int16_t>(Le(b, s, 2))) / 32768.0f;
                    } else if (bits == 8) {
                        v = (static_cast<float>(static_cast<uint8_t>(b[s])) - 128.0f) / 128.0f;
                    } else {
                        return false;
                    }
                    peak = std::max(peak, std::fabs(v));
                    wave.samples.push_back(v);
                }
                wave.frames.push_back(peak);
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

struct Stretch {
    double start = 0.0;
    double end = 0.0;
    double frequency = 0.0;  // estimated from the rises through zero
};

// Sounding stretches: runs of 5 ms windows whose peak is above the silence threshold.
std::vector<Stretch> FindStretches(const Wave& wave) {
    const size_t window = static_cast<size_t>(wave.rate) / 200;
    std::vector<Stretch> stretches;
    bool inside = false;
    for (size_t w = 0; w * window < wave.frames.size(); ++w) {
        float peak = 0.0f;
        for (size_t i = w * window; i < std::min(wave.frames.size(), (w + 1) * window); ++i)
            peak = std::max(peak, wave.frames[i]);
        const double t = static_cast<double>(w * window) / wave.rate;
        if (peak > 0.005f && !inside) {
            stretches.push_back({t, t, 0.0});
            inside = true;
        } else if (peak <= 0.005f && inside) {
            stretches.back().end = t;
            inside = false;
        }
    }
    if (inside) stretches.back().end = static_cast<double>(wave.frames.size()) / wave.rate;
    for (Stretch& s : stretches) {
        const size_t from = static_cast<size_t>(s.start * wave.rate);
        const size_t to = std::min(wave.frames.size(), static_cast<size_t>(s.end * wave.rate));
        // Rises from clearly below zero to clearly above it, so that noise at the crossings
        // does not count twice.
        // Periods counted between the first and the last rise.
        int rises = 0;
        size_t firstRise = 0, lastRise = 0;
        bool low = false;
        for (size_t i = from; i < to; ++i) {
            const float v = wave.Sample(i, 0);
            if (v < -0.02f) {
                low = true;
            } else if (v > 0.02f && low) {
                if (rises++ == 0) firstRise = i;
                lastRise = i;
                low = false;
            }
        }
        s.frequency = lastRise > firstRise
                          ? (rises - 1) * static_cast<double>(wave.rate) / static_cast<double>(lastRise - firstRise)
                          : 0.0;
    }
    return stretches;
}

int Analyze(const std::string& path) {
    Wave wave;
    if (!ReadWave(path, wave) || wave.rate <= 0) {
        Check(false, "the recording " + path + " reads as a WAV file");
        return 1;
    }
    const std::vector<Stretch> s = FindStretches(wave);
    std::printf("recording: %d Hz, %d channels, %.3f s\n", wave.rate, wave.channels,
                static_cast<double>(wave.frames.size()) / wave.rate);
    for (const Stretch& one : s) {
        std::printf("  sound from %.3f s to %.3f s (%.3f s, about %.0f Hz)\n", one.start, one.end, one.end - one.start,
                    one.frequency);
    }
    Check(s.size() == 5, "five sounding stretches: music, effect, voices, playlist 01, playlist 02");
    if (s.size() != 5) return 1;
    auto length = [](const Stretch& x) { return x.end - x.start; };
    auto near = [](double value, double wanted, double tolerance) { return std::fabs(value - wanted) <= tolerance; };
    Check(near(length(s[0]), kMusicSeconds, kLengthTolerance), "the streamed music sounds its full length");
    Check(s[1].start - s[0].end > kPause - 0.1, "silence after the music's end");
    Check(near(s[0].frequency, 440.0, 15.0), "the music is the 440 Hz piece");
    Check(near(length(s[1]), kEffectSeconds, kLengthTolerance), "the whole sound sounds its full length");
    Check(near(s[1].frequency, 880.0, 15.0), "the effect is the 880 Hz sound");
    Check(length(s[2]) > kVoiceSeconds, "the voices sound");
    Check(near(length(s[3]), kMusicSeconds, kLengthTolerance) && near(s[3].frequency, 440.0, 15.0),
          "the playlist plays 01 first");
    Check(near(length(s[4]), kSecondSeconds, kLengthTolerance) && near(s[4].frequency, 660.0, 15.0), "then 02");
    Check(s[4].start - s[3].end <= 1.1, "02 follows within the playlist's interval");
    return g_failures == 0 ? 0 : 1;
}

// --- Mono against stereo ----------------------------------------------------------------

// Level in dB of full scale of one channel over the middle half of a stretch (away from its edges).
double ChannelLevel(const Wave& wave, const Stretch& stretch, int channel) {
    const double quarter = (stretch.end - stretch.start) / 4.0;
    const size_t from = static_cast<size_t>((stretch.start + quarter) * wave.rate);
    const size_t to = std::min(wave.frames.size(), static_cast<size_t>((stretch.end - quarter) * wave.rate));
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(wave.Sample(i, channel)) * wave.Sample(i, channel);
    const double rms = to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
    return rms > 0.0 ? 20.0 * std::log10(rms) : -200.0;
}

// The same tone as one channel and as two equal ones, each decoded whole and streamed: every one
// must sound centred, at the tone's own level.
int Balance(const std::string& wavPath) {
    constexpr double kSeconds = 0.8;
    constexpr float kAmplitude = 0.5f;
    constexpr double kToleranceDb = 0.5;
    struct Piece {
        const char* name;
        int channels;
        bool whole;
    };
    const Piece pieces[] = {{"mono, whole", 1, true},
                            {"stereo, whole", 2, true},
                            {"mono, streamed", 1, false},
                            {"stereo, streamed", 2, false}};
    {
        QRV::JC_SOUND_MANAGER manager;
        Check(manager.OpenDevice() == 1, "the wave-file device opens");
        if (!manager.HasDevice()) return 1;
        QRV::JS_THREAD* thread = QRV::StartThread(QRV::SoundStreamThread, reinterpret_cast<uintptr_t>(&manager));
        std::vector<std::vector<uint8_t>> data;
        data.reserve(std::size(pieces));  // the sounds read these bytes in place
        for (const Piece& piece : pieces) {
            data.push_back(QRV::Test::EncodeToneOgg(piece.channels, 44100, kSeconds, 440.0, kAmplitude));
            QRV::JC_SOUND* sound =
                manager.CreateSound(data.back().data(), static_cast<uint32_t>(data.back().size()), 1, piece.whole);
            Check(sound != nullptr, std::string("the ") + piece.name + " piece is created");
            if (sound == nullptr) continue;
            Sleep(kPause);
            sound->Play();
            Check(WaitUntil([&] { return !Playing(sound); }, kSeconds + 2.0),
                  std::string("the ") + piece.name + " piece ends");
        }
        Sleep(kPause);
        QRV::StopAndJoinThread(thread);
        QRV::RemoveThread(thread);
        for (QRV::JC_SOUND* sound : std::vector<QRV::JC_SOUND*>(manager.sounds)) manager.ReleaseSound(sound);
        manager.CloseDevice();  // the WAV file is completed here
    }

    Wave wave;
    if (!ReadWave(wavPath, wave) || wave.rate <= 0 || wave.channels != 2) {
        Check(false, "the recording " + wavPath + " reads as a stereo WAV file");
        return 1;
    }
    const std::vector<Stretch> stretches = FindStretches(wave);
    Check(stretches.size() == std::size(pieces), "four sounding stretches, one for each piece");
    if (stretches.size() != std::size(pieces)) return 1;
    const double ownLevel = 20.0 * std::log10(kAmplitude / std::sqrt(2.0));
    double levels[std::size(pieces)][2] = {};
    for (size_t i = 0; i < std::size(pieces); ++i) {
        const std::string name = pieces[i].name;
        levels[i][0] = ChannelLevel(wave, stretches[i], 0);
        levels[i][1] = ChannelLevel(wave, stretches[i], 1);
        std::printf("%-16s left %6.2f dBFS, right %6.2f dBFS (the tone: %.2f dBFS)\n", name.c_str(), levels[i][0],
                    levels[i][1], ownLevel);
        Check(std::fabs(levels[i][0] - levels[i][1]) <= kToleranceDb, name + " sounds equally in both channels");
        Check(std::fabs(levels[i][0] - ownLevel) <= kToleranceDb && std::fabs(levels[i][1] - ownLevel) <= kToleranceDb,
              name + " sounds at its own level");
    }
    for (size_t i = 0; i < std::size(pieces); i += 2) {
        for (int c = 0; c < 2; ++c) {
            Check(std::fabs(levels[i][c] - levels[i + 1][c]) <= kToleranceDb,
                  std::string(pieces[i].name) + " is as loud as " + pieces[i + 1].name +
                      (c == 0 ? " on the left" : " on the right"));
        }
    }
    return g_failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s play|nodevice WORK_DIR | analyze|balance WAV_FILE\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "analyze") return Analyze(argv[2]);
    if (mode == "balance") return Balance(argv[2]);
    const std::filesystem::path work = std::filesystem::absolute(argv[2]);
    std::filesystem::create_directories(work);
    if (mode == "play") return Play(work);
    if (mode == "nodevice") return NoDevice(work);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
