// The interface's sounds: which entry a window event plays, the soft click and the paper swish as
// the builder makes them, and the shipped catalogue and windows together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "engine/sound/sound_groups.h"
#include "game/config/interface_sounds.h"
#include "tests/game/screens/screen_scene.h"
#include "tools/content_builder/interface_sounds.h"
#include "tools/content_builder/synth.h"

namespace {

namespace CB = ContentBuilder;

TEST(KitInterfaceSounds, AnEventPlaysItsOwnEntryElseTheDefaultOfItsKind) {
    const std::set<std::string> all = {"click.*", "open.*", "emptytileclick", "open.Shop", "click.Shop.3"};
    const std::set<std::string> noDefaults = {"emptytileclick", "open.Shop"};
    const struct {
        const char* event;
        const std::set<std::string>* entries;
        const char* played;
    } cases[] = {
        {"", &all, "click.*"},                       // a control without a sound of its own
        {"emptytileclick", &all, "emptytileclick"},  // a control's own sound
        {"nosuchsound", &all, ""},                   // a control's own sound the catalogue lacks: silence
        {"open.Title", &all, "open.*"},
        {"open.Shop", &all, "open.Shop"},  // a window's own opening sound
        {"open.", &all, ""},
        {"close.Title", &all, ""},
        {"click.Title.1", &all, ""},  // the manager's click report: its own entry only
        {"click.Shop.3", &all, "click.Shop.3"},
        {"", &noDefaults, ""},
        {"open.Title", &noDefaults, ""},
        {"open.Shop", &noDefaults, "open.Shop"},
    };
    for (const auto& c : cases) {
        const auto has = [&](const std::string& name) { return c.entries->count(name) != 0; };
        EXPECT_EQ(Game::InterfaceSoundEntry(c.event, has), c.played) << "\"" << c.event << "\"";
    }
    EXPECT_EQ(Game::InterfaceSoundEntry("", nullptr), "");
}

// Mean absolute level of a slice, and zero crossings per second (a rough pitch of noise).
float Level(const std::vector<float>& s, size_t from, size_t to) {
    float sum = 0.0f;
    for (size_t i = from; i < to; ++i) sum += std::fabs(s[i]);
    return to > from ? sum / static_cast<float>(to - from) : 0.0f;
}
float CrossingsPerSecond(const std::vector<float>& s, size_t from, size_t to, int rate) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i) crossings += (s[i - 1] < 0.0f) != (s[i] < 0.0f) ? 1 : 0;
    return static_cast<float>(crossings) * static_cast<float>(rate) / static_cast<float>(to - from);
}

TEST(KitInterfaceSounds, TheSwishSwellsAndSweepsUpAndBackWithoutClicks) {
    const int rate = CB::Theme::kSampleRate;
    const CB::Theme::SwishRecipe& recipe = CB::Theme::kPaperSwish;
    const std::vector<float> swish = CB::SynthesiseSwish(recipe, rate, 7);
    ASSERT_EQ(swish.size(), static_cast<size_t>(std::lround(recipe.lengthSeconds * rate)));
    const size_t tenth = swish.size() / 10;
    const auto peakAt = static_cast<size_t>(recipe.peakFraction * static_cast<float>(swish.size()));
    const float middle = Level(swish, peakAt - tenth / 2, peakAt + tenth / 2);
    // Silent at both ends, loudest around the peak.
    EXPECT_EQ(swish.front(), 0.0f);
    EXPECT_LT(std::fabs(swish.back()), 0.02f * CB::Peak(swish));
    EXPECT_LT(Level(swish, 0, tenth / 2), 0.2f * middle);
    EXPECT_LT(Level(swish, swish.size() - tenth / 2, swish.size()), 0.2f * middle);
    // Brighter at the peak than on the way in or out.
    const float start = CrossingsPerSecond(swish, tenth, 2 * tenth, rate);
    const float top = CrossingsPerSecond(swish, peakAt - tenth / 2, peakAt + tenth / 2, rate);
    const float end = CrossingsPerSecond(swish, swish.size() - 2 * tenth, swish.size() - tenth, rate);
    EXPECT_GT(top, 1.2f * start);
    EXPECT_GT(top, 1.2f * end);
    EXPECT_EQ(swish, CB::SynthesiseSwish(recipe, rate, 7)) << "a build repeats";
}

TEST(KitInterfaceSounds, ClickAndSwishAreShortQuietAndCataloguedUnderTheGamesDefaults) {
    const int rate = CB::Theme::kSampleRate;
    const std::vector<CB::EffectSound> sounds = CB::InterfaceSounds(rate);
    ASSERT_EQ(sounds.size(), 2u);
    const struct {
        std::string_view entry;
        float peak;
        float maxSeconds;
    } expected[] = {
        {Game::kDefaultClickSound, CB::Theme::kButtonClickPeak, 0.1f},
        {Game::kDefaultOpenSound, CB::Theme::kPaperSwishPeak, 0.35f},
    };
    for (size_t i = 0; i < sounds.size(); ++i) {
        SCOPED_TRACE(expected[i].entry);
        EXPECT_EQ(sounds[i].entry, expected[i].entry);
        EXPECT_NEAR(CB::Peak(sounds[i].samples), expected[i].peak, 1e-4f);
        EXPECT_LE(static_cast<float>(sounds[i].samples.size()) / static_cast<float>(rate), expected[i].maxSeconds);
        // Quieter than every sound of the board.
        for (const float boardPeak : {CB::Theme::kEffectPeaks.fullTile, CB::Theme::kEffectPeaks.emptyTile})
            EXPECT_LT(expected[i].peak, boardPeak);
    }
    // Both end up in the effects the catalogue is written from.
    const std::vector<CB::EffectSound> effects = CB::SynthesiseEffects(rate);
    for (const auto& e : expected) {
        EXPECT_EQ(
            std::count_if(effects.begin(), effects.end(), [&](const CB::EffectSound& s) { return s.entry == e.entry; }),
            1);
    }
}

// The shipped game: the catalogue holds both defaults with real files, and the shipped windows
// sound through them unless they name their own.
class KitSoundsSceneTest : public ScreenTest::ScreenScene {
protected:
    // What the window manager's sound callback plays for the event with the shipped catalogue.
    std::string Played(const std::string& event) {
        const JCSoundGroup* group = Context().soundGroups.FindGroup("sounds");
        return Game::InterfaceSoundEntry(
            event, [group](const std::string& n) { return group != nullptr && group->FindSound(n) != nullptr; });
    }
};

TEST_F(KitSoundsSceneTest, EveryWindowOpensWithTheSwishAndEveryControlClicks) {
    const JCSoundGroup* group = Context().soundGroups.FindGroup("sounds");
    ASSERT_NE(group, nullptr);
    for (const std::string_view name : {Game::kDefaultClickSound, Game::kDefaultOpenSound}) {
        const JCSoundEntry* entry = group->FindSound(std::string(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_FALSE(entry->path.empty());
    }
    // Every window opens with a sound; every control a window names a sound for plays one.
    for (const JCWindow* window : Windows().Windows()) {
        SCOPED_TRACE(window->name);
        EXPECT_FALSE(Played("open." + window->name).empty());
        for (const auto& [id, sound] : window->sounds) EXPECT_FALSE(Played(sound).empty()) << id << " " << sound;
    }
    EXPECT_EQ(Played(""), Game::kDefaultClickSound);

    // Through the manager: a click on a control reports the control's own sound, or none.
    std::vector<std::string> heard;
    const Closure<void(std::string)> previous = Windows().controlSound;
    for (JCWindow* window : Windows().Windows())
        window->cbControlSound = Closure<void(std::string)>(&heard, [](void* list, std::string sound) {
            static_cast<std::vector<std::string>*>(list)->push_back(sound);
        });
    Windows().ShowWindow("Confirm_Exit", false);
    Seconds(1.0f);
    ASSERT_TRUE(ClickControl("Confirm_Exit", 4));
    for (JCWindow* window : Windows().Windows()) window->cbControlSound = previous;
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(Played(heard[0]), heard[0].empty() ? std::string(Game::kDefaultClickSound) : heard[0]);
}

}  // namespace
