#include "game/data/player_health.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <sstream>
#include <string>

#include "game/data/calendar_clock.h"
#include "game/data/game_player.h"
#include "game/data/player_manager.h"
#include "tests/test_kit/parsed_xml.h"
#include "tests/test_kit/temp_folder.h"

namespace {

int64_t g_healthTestNow = 0;
int64_t HealthTestClock() { return g_healthTestNow; }

// Every test here runs on the injected calendar clock, set to T.
class PlayerHealthTest : public testing::Test {
protected:
    static constexpr int64_t T = 1'700'000'000;
    void SetUp() override {
        g_healthTestNow = T;
        Game::SetCalendarClock(&HealthTestClock);
    }
    void TearDown() override { Game::SetCalendarClock(nullptr); }

    // A player with "life" and a hearts record read from the attributes and lost entries given.
    static void LoadHealth(gcPlayer& player, int32_t life, const std::string& health) {
        player.SetItemCount("life", life);
        QRV::TestKit::ParsedXml xml("<player>" + health + "</player>");
        player.GetHealth().LoadXml(xml.Root().child("health"));
    }
};

TEST_F(PlayerHealthTest, LossesQueueUpAndComeBackOnePeriodApart) {
    struct Step {
        int64_t at;       // clock, seconds after T
        const char* act;  // "lose", "update" or "frame:<seconds>"
        int32_t count;
        bool increment;
        double countdown;
        std::deque<int64_t> lost;  // seconds after T
    };
    const Step steps[] = {
        {0, "lose", 4, true, 600.0, {0}},
        {10, "update", 4, true, 590.0, {0}},
        {5, "lose", 3, true, 595.0, {0, 600}},
        {599, "update", 3, true, 1.0, {0, 600}},
        {600, "update", 4, true, 600.0, {600}},
        // Queued behind the one due at 1200; the catch-up then gives back the one due at 1200.
        {1300, "lose", 4, true, 500.0, {1200}},
    };
    gcPlayer player;
    LoadHealth(player, 5, "<health count=\"5\" time_refill_heart=\"600\"/>");
    gcPlayerHealth& health = player.GetHealth();
    for (const Step& s : steps) {
        g_healthTestNow = T + s.at;
        if (std::string(s.act) == "lose") EXPECT_TRUE(health.LoseHeart());
        else health.Update();
        std::deque<int64_t> lost;
        for (int64_t at : s.lost) lost.push_back(T + at);
        EXPECT_EQ(health.GetCount(), s.count) << "at " << s.at;
        EXPECT_EQ(health.IsIncrementing(), s.increment) << "at " << s.at;
        EXPECT_DOUBLE_EQ(health.GetCountdown(), s.countdown) << "at " << s.at;
        EXPECT_EQ(health.GetLost(), lost) << "at " << s.at;
    }
}

TEST_F(PlayerHealthTest, CatchesUpInOneCallAfterTwoLosses) {
    gcPlayer player;
    LoadHealth(player, 5, "<health count=\"5\" time_refill_heart=\"600\"/>");
    gcPlayerHealth& health = player.GetHealth();
    health.LoseHeart();
    g_healthTestNow = T + 5;
    health.LoseHeart();
    g_healthTestNow = T + 1300;
    EXPECT_FALSE(health.Update());
    EXPECT_EQ(health.GetCount(), 5);
    EXPECT_FALSE(health.IsIncrementing());
    EXPECT_EQ(health.GetCountdown(), 0.0);
    EXPECT_TRUE(health.GetLost().empty());
    EXPECT_FALSE(health.AddHeart());
}

TEST_F(PlayerHealthTest, NeverStuck) {
    struct Case {
        const char* name;
        int32_t life;
        std::string health;
        int64_t wait;        // seconds after T for the second Update
        int32_t afterFirst;  // count after an Update at T
        int32_t afterWait;
    };
    std::string tenThousand = "<health count=\"0\" time_refill_heart=\"60\">";
    for (int i = 0; i < 10000; ++i)
        tenThousand += "<lost_name value=\"" + std::to_string(T - 700'000 + 60 * i) + "\"/>";
    tenThousand += "</health>";
    const Case cases[] = {
        // Without lost entries the missing hearts refill one period apart, starting now.
        {"count below life, no entries", 5, "<health count=\"2\" time_refill_heart=\"1800\"/>", 1800, 2, 3},
        {"count below life, too few entries", 5,
         "<health count=\"2\" time_refill_heart=\"1800\"><lost_name value=\"" + std::to_string(T - 1000) +
             "\"/></health>",
         1800 + 800, 2, 4},
        // A profile without "health" has count 0 and period 0: everything comes back at once.
        {"no health at all", 5, "", 0, 5, 5},
        // A supply never holds more than kMostHearts, nor fewer than 0 hearts.
        {"10,000 expired entries", 10000, tenThousand, 0, gcPlayerHealth::kMostHearts, gcPlayerHealth::kMostHearts},
        {"a life beyond the most hearts", 200000, "<health count=\"0\" time_refill_heart=\"0\"/>", 0,
         gcPlayerHealth::kMostHearts, gcPlayerHealth::kMostHearts},
        {"a heart count below 0", 3, "<health count=\"-2147483648\" time_refill_heart=\"0\"/>", 0, 3, 3},
    };
    for (const Case& c : cases) {
        g_healthTestNow = T;
        gcPlayer player;
        LoadHealth(player, c.life, c.health);
        player.GetHealth().Update();
        EXPECT_EQ(player.GetHealth().GetCount(), c.afterFirst) << c.name;
        g_healthTestNow = T + c.wait;
        player.GetHealth().Update();
        EXPECT_EQ(player.GetHealth().GetCount(), c.afterWait) << c.name;
        // Below the maximum a refill always runs.
        EXPECT_EQ(player.GetHealth().IsIncrementing(), c.afterWait < std::min(c.life, gcPlayerHealth::kMostHearts))
            << c.name;
    }
}

TEST_F(PlayerHealthTest, HeartsDueWhileTheGameWasClosedComeBackWithAnUpdateAfterLoading) {
    QRV::TestKit::TempFolder temp("quorvel-health");
    temp.Write("players.xml",
               "<Players current=\"p\"><player name=\"p\"><playeritems><item name=\"life\" count=\"5\"/>"
               "</playeritems><health increment=\"true\" count=\"3\" countdown=\"100\" time_refill_heart=\"600\">"
               "<lost_name value=\"" +
                   std::to_string(T - 1000) + "\"/><lost_name value=\"" + std::to_string(T - 400) +
                   "\"/></health></player></Players>");
    JCPlayerManager manager;
    manager.Load(temp.String() + "/");
    auto* player = dynamic_cast<gcPlayer*>(manager.GetCurrentPlayer());
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->GetHealth().GetCount(), 3);  // loading alone changes nothing
    EXPECT_TRUE(player->GetHealth().Update());
    EXPECT_EQ(player->GetHealth().GetCount(), 4);
    EXPECT_DOUBLE_EQ(player->GetHealth().GetCountdown(), 200.0);
}

TEST_F(PlayerHealthTest, RunningCountdownGivesTheHeartBack) {
    gcPlayer player;
    LoadHealth(player, 3, "<health count=\"3\" time_refill_heart=\"2\"/>");
    gcPlayerHealth& health = player.GetHealth();
    health.LoseHeart();
    health.StepCountdown(1.5f);
    EXPECT_EQ(health.GetCount(), 2);
    EXPECT_DOUBLE_EQ(health.GetCountdown(), 0.5);
    health.StepCountdown(0.5f);
    EXPECT_EQ(health.GetCount(), 3);
    EXPECT_FALSE(health.IsIncrementing());
    health.StepCountdown(100.0f);  // nothing runs
    EXPECT_EQ(health.GetCount(), 3);
}

TEST_F(PlayerHealthTest, TimesKeepSixtyFourBitsAndOldFilesReadTheSame) {
    struct Case {
        const char* name;
        std::string health;
        int64_t period;
        std::deque<int64_t> lost;
        const char* written;  // the lost entries and period as saved again
    };
    const Case cases[] = {
        {"after 2038",
         "<health count=\"4\" time_refill_heart=\"1800\"><lost_name value=\"2147483653\"/></health>",
         1800,
         {2147483653LL},
         "time_refill_heart=\"1800\"><lost_name value=\"2147483653\""},
        {"an old 32-bit file",
         "<health count=\"3\" time_refill_heart=\"600\"><lost_name value=\"1699999000\"/><lost_name "
         "value=\"-5\"/></health>",
         600,
         {1699999000LL, -5},
         "time_refill_heart=\"600\"><lost_name value=\"1699999000\""},
        {"a period in a double's form",
         "<health time_refill_heart=\"1800.75\"/>",
         1800,
         {},
         "time_refill_heart=\"1800\""},
        {"a period beyond 64 bits",
         "<health time_refill_heart=\"1e300\"/>",
         std::numeric_limits<int64_t>::max(),
         {},
         "time_refill_heart=\"9223372036854775807\""},
        {"a period that is no number", "<health time_refill_heart=\"nan\"/>", 0, {}, "time_refill_heart=\"0\""},
        {"the largest period",
         "<health time_refill_heart=\"9223372036854775807\"/>",
         std::numeric_limits<int64_t>::max(),
         {},
         "time_refill_heart=\"9223372036854775807\""},
    };
    for (const Case& c : cases) {
        gcPlayer player;
        // A supply of 5: the lost entries stand for hearts that are missing.
        QRV::TestKit::ParsedXml xml("<player><playeritems><item name=\"life\" count=\"5\"/></playeritems>" +
                                    c.health + "</player>");
        player.LoadXml(xml.Root());
        EXPECT_EQ(player.GetHealth().GetRefillPeriod(), c.period) << c.name;
        EXPECT_EQ(player.GetHealth().GetLost(), c.lost) << c.name;

        pugi::xml_document saved;
        player.SaveXml(saved.append_child("player"));
        std::ostringstream text;
        saved.save(text, "", pugi::format_raw);
        EXPECT_NE(text.str().find(c.written), std::string::npos) << c.name << ": " << text.str();
        gcPlayer again;
        again.LoadXml(saved.document_element());
        EXPECT_EQ(again.GetHealth().GetLost(), c.lost) << c.name;
        EXPECT_EQ(again.GetHealth().GetRefillPeriod(), c.period) << c.name;
    }
}

TEST_F(PlayerHealthTest, ExtremeTimesSaturate) {
    gcPlayer player;
    const int64_t top = std::numeric_limits<int64_t>::max();
    LoadHealth(player, 3,
               "<health count=\"1\" time_refill_heart=\"" + std::to_string(top) + "\"><lost_name value=\"" +
                   std::to_string(top - 1) + "\"/></health>");
    gcPlayerHealth& health = player.GetHealth();
    EXPECT_TRUE(health.Update());  // the queued entry ends at the top of the range, never wraps
    EXPECT_EQ(health.GetLost().back(), top);
    EXPECT_GT(health.GetCountdown(), 0.0);
    EXPECT_TRUE(health.LoseHeart());
    EXPECT_EQ(health.GetLost().back(), top);
    g_healthTestNow = std::numeric_limits<int64_t>::min();
    EXPECT_TRUE(health.Update());
    EXPECT_EQ(health.GetCount(), 0);
}

// Numbers out of their range are brought to its nearest end as they are read, in the XML and the
// binary form alike: hearts to 0 .. the supply, refill entries to the hearts missing, so that a
// damaged number can neither empty the hearts nor make the save grow.
TEST_F(PlayerHealthTest, NumbersOutOfRangeAreClampedWhenRead) {
    struct Case {
        const char* name;
        const char* life;  // the item's count as written
        std::string health;
        int32_t count;
        size_t lost;
    };
    const std::string three = "<lost_name value=\"1\"/><lost_name value=\"2\"/><lost_name value=\"3\"/>";
    const Case cases[] = {
        {"a count of 10^12", "5", "<health count=\"1000000000000\" time_refill_heart=\"60\"/>", 5, 0},
        {"a count beyond the supply", "5", "<health count=\"9\" time_refill_heart=\"60\"/>", 5, 0},
        {"the lowest count", "5", "<health count=\"-2147483648\" time_refill_heart=\"60\"/>", 0, 0},
        {"a count below -2^31", "5", "<health count=\"-99999999999\" time_refill_heart=\"60\"/>", 0, 0},
        {"more entries than hearts missing", "5", "<health count=\"4\" time_refill_heart=\"60\">" + three + "</health>",
         4, 1},
        {"entries with a full supply", "5", "<health count=\"5\">" + three + "</health>", 5, 0},
        {"the largest life", "2147483647", "<health count=\"5\" time_refill_heart=\"60\"/>", 5, 0},
        {"a life beyond 32 bits", "99999999999", "<health count=\"99999999999\" time_refill_heart=\"60\"/>",
         gcPlayerHealth::kMostHearts, 0},
        {"a life below 0", "-3", "<health count=\"2\">" + three + "</health>", 0, 0},
        {"a save as the game writes it", "5",
         "<health increment=\"true\" count=\"3\" time_refill_heart=\"60\"><lost_name value=\"1\"/>"
         "<lost_name value=\"2\"/></health>",
         3, 2},
    };
    for (const Case& c : cases) {
        QRV::TestKit::ParsedXml xml(std::string("<player><playeritems><item name=\"life\" count=\"") + c.life +
                                    "\"/></playeritems>" + c.health + "</player>");
        gcPlayer player;
        player.LoadXml(xml.Root());
        EXPECT_EQ(player.GetHealth().GetCount(), c.count) << c.name;
        EXPECT_EQ(player.GetHealth().GetLost().size(), c.lost) << c.name;

        // After catching up the refill entries never outnumber the hearts missing: the save stays small.
        player.GetHealth().Update();
        const auto missing = static_cast<size_t>(
            std::clamp(player.GetItemCount("life"), 0, gcPlayerHealth::kMostHearts) - player.GetHealth().GetCount());
        EXPECT_LE(player.GetHealth().GetLost().size(), missing) << c.name;
    }

    // The binary form: a supply of 4 with 2 hearts and 3 entries written, then a supply of 1.
    gcPlayer source;
    LoadHealth(source, 4, "<health count=\"2\">" + three + "</health>");
    EXPECT_EQ(source.GetHealth().GetLost().size(), 2u);
    source.SetItemCount("life", 1);
    std::stringstream bytes;
    source.WriteBinary(bytes);
    gcPlayer again;
    again.ReadBinary(bytes);
    EXPECT_EQ(again.GetHealth().GetCount(), 1);
    EXPECT_TRUE(again.GetHealth().GetLost().empty());
}

}  // namespace
