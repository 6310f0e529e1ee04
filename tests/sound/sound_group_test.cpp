#include "engine/sound/sound_groups.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

#include "engine/platform/clock.h"
#include "engine/resources/repository_manager.h"
#include "engine/sound/sound_manager.h"
#include "tests/resources/resource_test_support.h"
#include "tests/sound/sound_fixture.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV::Test {
namespace {

std::vector<std::string> EntryNames(const JCSoundGroup& group) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : group.entries) names.push_back(name);
    return names;
}

TEST(SoundGroupCatalogue, ReadsGroupsAndEntriesInNameOrder) {
    const TestKit::ParsedXml document(
        "<sound>"
        "  <group name='music'>"
        "    <s name='c' path='data/m c.ogg'/>"
        "    <s name='a' path='data/m a.ogg' streamed='yes' cnt_buffers='3' looped='T'/>"
        "    <s name='b' path='b.ogg' streamed='false' looped='0'/>"
        "  </group>"
        "  <group name='sounds'><s name='hint'/></group>"
        "  <group name='dup'><s name='old'/></group>"
        "  <group name='dup'><s name='new' path='1'/><s name='new' path='2'/></group>"
        "</sound>");
    ASSERT_TRUE(document);
    JCSoundGroups groups;
    EXPECT_EQ(groups.Load(document.Root()), 1);

    JCSoundGroup* music = groups.FindGroup("music");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(EntryNames(*music), (std::vector<std::string>{"a", "b", "c"}));
    const JCSoundEntry* a = music->FindSound("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->path, "data/m a.ogg");
    EXPECT_EQ(a->streamed, 1);
    EXPECT_EQ(a->cntBuffers, 3);
    EXPECT_EQ(a->looped, 1);
    EXPECT_EQ(music->FindSound("b")->streamed, 0);
    EXPECT_EQ(music->FindSound("b")->looped, 0);

    const JCSoundEntry* hint = groups.FindGroup("sounds")->FindSound("hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->path, "");
    EXPECT_EQ(hint->streamed, 0);
    EXPECT_EQ(hint->cntBuffers, 0);
    EXPECT_EQ(music->FindSound("nope"), nullptr);

    // A later group (and a later entry) of the same name replaces the earlier one.
    JCSoundGroup* dup = groups.FindGroup("dup");
    ASSERT_NE(dup, nullptr);
    EXPECT_EQ(EntryNames(*dup), (std::vector<std::string>{"new"}));
    EXPECT_EQ(dup->FindSound("new")->path, "2");

    EXPECT_EQ(groups.FindGroup("missing"), nullptr);
    groups.Clear();
    EXPECT_EQ(groups.FindGroup("music"), nullptr);
}

TEST(SoundGroupCatalogue, VolumeMapsToGain) {
    const std::pair<float, float> cases[] = {
        {0.0f, 0.0f}, {50.0f, 0.5f}, {80.0f, 0.8f}, {100.0f, 1.0f}, {150.0f, 1.0f}, {-5.0f, 0.0f},
    };
    for (const auto& [volume, gain] : cases) EXPECT_FLOAT_EQ(SoundVolumeToGain(volume), gain) << volume;
}

TEST(SoundGroupCatalogue, MissingGroupsEntriesAndSoundsGiveMinusOne) {
    JCSoundGroups empty;
    EXPECT_EQ(empty.FindGroup("sounds"), nullptr);
    EXPECT_EQ(empty.PlaySound("hint"), -1);

    const TestKit::ParsedXml document(
        "<sound><g name='sounds'><s name='hint' path='x.ogg'/></g>"
        "<g name='empty'/></sound>");
    ASSERT_TRUE(document);
    JCSoundGroups groups;
    groups.Load(document.Root());
    EXPECT_EQ(groups.PlaySound("nope"), -1);
    EXPECT_EQ(groups.PlaySound("hint"), -1);  // its sound was never loaded
    EXPECT_EQ(groups.FindGroup("empty")->Start(), -1);
    EXPECT_EQ(groups.FindGroup("empty")->playing, 0);
    EXPECT_EQ(groups.FindGroup("sounds")->PlayEntry(nullptr), -1);
}

// Groups over real short tones on the null backend; the sounds are handed to the entries directly.
class SoundGroupPlaybackThreaded : public SoundFixture {
protected:
    void SetUp() override {
        SoundFixture::SetUp();
        globals_.Save(g_frameTime);
        const TestKit::ParsedXml document(
            "<sound><g name='music'><s name='c'/><s name='a'/><s name='b'/></g>"
            "<g name='sounds'><s name='hint'/></g></sound>");
        ASSERT_TRUE(document);
        groups_.Load(document.Root());
        music_ = groups_.FindGroup("music");
        const auto tone = EncodeToneOgg(1, 22050, 0.15);
        for (const char* name : {"a", "b", "c"}) {
            music_->FindSound(name)->sound = Create(tone, true);
            ASSERT_NE(music_->FindSound(name)->sound, nullptr);
        }
        groups_.FindGroup("sounds")->FindSound("hint")->sound = Create(tone, true);
    }

    void TearDown() override {
        globals_.Restore();
        SoundFixture::TearDown();
    }

    JC_SOUND* SoundOf(const char* name) { return music_->FindSound(name)->sound; }

    // One frame of `seconds`, as the game frame would run it.
    void Frame(float seconds) {
        g_frameTime.store(seconds);
        groups_.Update();
    }

    JCSoundGroups groups_;
    JCSoundGroup* music_ = nullptr;
    TestKit::GlobalGuard globals_;
};

TEST_F(SoundGroupPlaybackThreaded, TotalTimeOfAnEntryIsItsStreamLengthOrZero) {
    groups_.FindGroup("sounds")->AddEntry(new JCSoundEntry{"unloaded", "x.ogg"});
    const struct {
        const char* group;
        const char* name;
        double seconds;
    } cases[] = {
        {"sounds", "hint", 0.15}, {"music", "b", 0.15},  {"sounds", "unloaded", 0.0},
        {"sounds", "b", 0.0},     {"nope", "hint", 0.0},
    };
    for (const auto& c : cases) EXPECT_NEAR(groups_.TotalTime(c.group, c.name), c.seconds, 1e-3) << c.group << c.name;
}

TEST_F(SoundGroupPlaybackThreaded, PlaylistMovesOnInNameOrderAndWraps) {
    groups_.active = 1;
    ASSERT_EQ(music_->Start(), 1);
    EXPECT_EQ(music_->playing, 1);
    EXPECT_TRUE(SoundOf("a")->IsPlaying());

    for (const char* next : {"b", "c", "a", "b"}) {
        SCOPED_TRACE(next);
        ASSERT_TRUE(WaitFor([&] { return !SoundOf(music_->current->first.c_str())->IsPlaying(); }, 2.0));
        manager_.UpdateSounds();  // the sound thread's tick lets the ended sound go
        Frame(0.5f);
        EXPECT_FALSE(SoundOf(next)->IsPlaying());  // half the interval: no tick yet
        Frame(0.5f);
        EXPECT_EQ(music_->current->first, next);
        EXPECT_TRUE(SoundOf(next)->IsPlaying());
    }
}

TEST_F(SoundGroupPlaybackThreaded, PlaylistWaitsWhilePlayingAndWhileInactive) {
    ASSERT_EQ(music_->Start(), 1);
    Frame(5.0f);  // not active: nothing moves
    EXPECT_EQ(music_->current->first, "a");
    groups_.active = 1;
    Frame(1.0f);  // "a" still plays
    EXPECT_EQ(music_->current->first, "a");
    EXPECT_EQ(groups_.elapsed, 0.0f);
}

TEST_F(SoundGroupPlaybackThreaded, GroupGainReachesRunningAndLaterSources) {
    music_->Start();
    JC_SOUND* a = SoundOf("a");
    groups_.SetGroupGain(music_, 50.0f);
    ALfloat gain = -1.0f;
    alGetSourcef(a->Source(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.5f);

    groups_.SetGroupGain("music", 0.0f);  // silences without stopping
    EXPECT_TRUE(a->IsPlaying());
    alGetSourcef(a->Source(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.0f);

    groups_.SetGroupGain("music", 20.0f);
    EXPECT_EQ(music_->PlayEntry(music_->FindSound("b")), 1);
    alGetSourcef(SoundOf("b")->Source(), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.2f);
    groups_.SetGroupGain("nope", 50.0f);  // unknown: nothing happens
}

TEST_F(SoundGroupPlaybackThreaded, ZeroGainPlaysNothingButThePlaylistStillMoves) {
    groups_.SetGroupGain("music", 0.0f);
    groups_.SetGroupGain("sounds", 0.0f);
    EXPECT_EQ(groups_.PlaySound("hint"), 1);
    EXPECT_FALSE(groups_.FindGroup("sounds")->FindSound("hint")->sound->IsPlaying());
    EXPECT_EQ(music_->Start(), 1);
    EXPECT_FALSE(SoundOf("a")->IsPlaying());
    EXPECT_EQ(g_soundSourcesInUse.load(), 0);

    groups_.active = 1;
    Frame(1.0f);
    EXPECT_EQ(music_->current->first, "b");
    Frame(1.0f);
    EXPECT_EQ(music_->current->first, "c");
    EXPECT_EQ(g_soundSourcesInUse.load(), 0);
}

TEST_F(SoundGroupPlaybackThreaded, PlaySoundRestartsFromTheStart) {
    EXPECT_EQ(groups_.PlaySound("hint"), 1);
    JC_SOUND* hint = groups_.FindGroup("sounds")->FindSound("hint")->sound;
    EXPECT_TRUE(hint->IsPlaying());
    const ALuint first = hint->Source();
    EXPECT_EQ(groups_.PlaySound("hint"), 1);  // stopped and played again: a fresh source
    EXPECT_TRUE(hint->IsPlaying());
    EXPECT_FALSE(first != hint->Source() && alIsSource(first));
    EXPECT_EQ(g_soundSourcesInUse.load(), 1);
}

// Sounds taken through the resource cache.
class SoundGroupResourcesThreaded : public TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_EQ(soundManager_.OpenDevice(), 1);
        globals.Set(g_soundManager, &soundManager_);
    }

    void TearDown() override {
        ResourceTreeTest::TearDown();  // releases the sounds of the records, gives g_soundManager back
        soundManager_.CloseDevice();
    }

    JC_SOUND_MANAGER soundManager_;
};

TEST_F(SoundGroupResourcesThreaded, LoadsCountsAndReleasesReferences) {
    const auto tone = EncodeToneOgg(1, 22050, 0.2);
    Put("data/music/one.ogg", std::string(tone.begin(), tone.end()));
    Put("data/music/bad.ogg", "not an ogg file");
    ASSERT_TRUE(LoadRepository("data/music"));

    const TestKit::ParsedXml document(
        "<sound><g name='music'>"
        "<s name='a' path='data/music one.ogg'/><s name='b' path='data/music one.ogg'/>"
        "<s name='c' path='data/music missing.ogg'/><s name='d' path='data/music bad.ogg'/>"
        "</g></sound>");
    ASSERT_TRUE(document);
    JCSoundGroups groups;
    groups.Load(document.Root());
    JCSoundGroup* music = groups.FindGroup("music");

    EXPECT_EQ(music->LoadSounds(), 1);
    EXPECT_EQ(music->LoadSounds(), 1);  // entries that have their sound are left alone
    JS_RESOURCE* record = manager.GetResource("data/music one.ogg");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->refCount, 2);  // two entries share the one sound
    EXPECT_EQ(music->FindSound("a")->sound, music->FindSound("b")->sound);
    EXPECT_NE(music->FindSound("a")->sound, nullptr);
    EXPECT_EQ(music->FindSound("c")->sound, nullptr);
    EXPECT_EQ(music->FindSound("d")->sound, nullptr);
    EXPECT_EQ(soundManager_.SoundCount(), 1u);

    EXPECT_EQ(music->Start(), 1);
    EXPECT_TRUE(music->FindSound("a")->sound->IsPlaying());

    EXPECT_EQ(music->ReleaseSounds(), 1);
    EXPECT_EQ(record->refCount, 0);
    EXPECT_EQ(music->FindSound("a")->sound, nullptr);
    EXPECT_GE(SweepUnusedResources(), 1);
    EXPECT_EQ(record->loaded, 0);
    EXPECT_EQ(soundManager_.SoundCount(), 0u);  // the sweep released the playing sound
    EXPECT_EQ(g_soundSourcesInUse.load(), 0);
}

}  // namespace
}  // namespace QRV::Test
