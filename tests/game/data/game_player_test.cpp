#include "game/data/game_player.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "game/data/calendar_clock.h"

namespace {

int32_t StatOf(const gcPlayer& player, const std::string& name) {
    const JSProperty* property = player.GetStatistic(name);
    return property != nullptr ? property->intValue : -12345;
}

TEST(GamePlayerTest, StatisticsKeepTheirMaximum) {
    struct Case {
        const char* op;  // "inc", "dec" or "reset"
        const char* name;
        int32_t amount;
        int32_t value;
        int32_t max;  // of name + "_max"; -12345 when there is none
    };
    const Case cases[] = {
        {"inc", "money", 50, 50, 50},
        {"dec", "money", 40, 10, 50},
        {"inc", "money", 20, 30, 50},  // below the old maximum: it stays
        {"inc", "money", 50, 80, 80},
        {"dec", "money", 70, 10, 80},
        {"dec", "money", 15, -5, 80},  // the shop checks first; the count does not stop at 0
        {"inc", "without_error_in_row", 3, 3, 3},
        {"reset", "without_error_in_row", 0, 0, 3},
        {"inc", "new_counter", 7, 7, -12345},  // an unknown name starts at 0
        {"inc", "hint_use", std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), -12345},
        {"inc", "hint_use", 1, std::numeric_limits<int32_t>::min(), -12345},  // wraps around at 32 bits
        {"dec", "fail_level_in_row", 1, -1, 0},
        {"reset", "fail_level_in_row", 0, 0, 0},
    };
    gcPlayer player;
    for (const char* name :
         {"money", "money_max", "hint_use", "without_hint_in_row", "without_hint_in_row_max", "without_error_in_row",
          "without_error_in_row_max", "fail_level_in_row", "fail_level_in_row_max"}) {
        EXPECT_EQ(StatOf(player, name), 0) << name;
    }
    EXPECT_FLOAT_EQ(player.GetStatistic("level_time_min")->floatValue, 9999.0f);
    for (const Case& c : cases) {
        const std::string op = c.op;
        if (op == "inc") player.IncrementStatistic(c.name, c.amount);
        else if (op == "dec") player.DecrementStatistic(c.name, c.amount);
        else player.ResetStatistic(c.name);
        EXPECT_EQ(StatOf(player, c.name), c.value) << op << " " << c.name << " " << c.amount;
        EXPECT_EQ(StatOf(player, std::string(c.name) + "_max"), c.max) << op << " " << c.name << " " << c.amount;
    }
    player.SetStatisticFloat("level_time_min", 42.5f);
    EXPECT_FLOAT_EQ(player.GetStatistic("level_time_min")->floatValue, 42.5f);
}

std::vector<std::string> g_gamePlayerChanges;
void GamePlayerTestListener(uintptr_t context, const std::string& key, JSProperty* property) {
    g_gamePlayerChanges.push_back(std::to_string(context) + " " + key + "=" + property->text);
}

TEST(GamePlayerTest, TheChangeCallbackHearsEveryStatisticChange) {
    g_gamePlayerChanges.clear();
    gcPlayer player;
    player.SetChangeCallback(7, &GamePlayerTestListener);
    player.IncrementStatistic("money", 5);
    player.DecrementStatistic("money", 2);
    EXPECT_EQ(g_gamePlayerChanges, (std::vector<std::string>{"7 money=5", "7 money_max=5", "7 money=3"}));
}

TEST(GamePlayerTest, CopiesOwnTheirHearts) {
    gcPlayer original;
    EXPECT_EQ(original.GetHealth().GetRefillPeriod(), 1800);  // a new profile's refill period
    original.SetItemCount("life", 5);
    original.GetHealth().AddHeart();
    original.GetHealth().AddHeart();
    original.IncrementStatistic("money", 9);
    original.SetInappBought(true);

    gcPlayer copy(original);
    gcPlayer assigned;
    assigned = original;
    for (gcPlayer* other : {&copy, &assigned}) {
        EXPECT_EQ(other->GetHealth().GetCount(), 2);
        EXPECT_EQ(StatOf(*other, "money"), 9);
        EXPECT_TRUE(other->IsInappBought());
        // The maximum is the other's own "life": raising it lets only the other refill further.
        other->SetItemCount("life", 3);
        EXPECT_TRUE(other->GetHealth().AddHeart());
        EXPECT_FALSE(other->GetHealth().AddHeart());
        other->IncrementStatistic("money", 1);
    }
    original.SetItemCount("life", 2);
    EXPECT_FALSE(original.GetHealth().AddHeart());
    EXPECT_EQ(original.GetHealth().GetCount(), 2);
    EXPECT_EQ(StatOf(original, "money"), 9);
}

TEST(GamePlayerTest, BinaryFormKeepsNameVolumesFlagsItemsAndHearts) {
    gcPlayer player;
    player.SetName(L"Zo\u00eb \u73a9\u5bb6");
    player.SetSoundVolume(33.5f);
    player.SetMusicVolume(0.0f);
    player.SetPassedTutorial(true);
    player.SetGameCursor(false);
    player.SetItemCount("life", 5);
    player.SetItemCount("error", -3);
    player.SetInappBought(true);
    player.SetLevelRecord("pack1.level1", JCPropertyMap());
    player.IncrementStatistic("money", 12);
    pugi::xml_document health;
    health.append_child("health").append_attribute("count").set_value("2");
    health.first_child().append_attribute("time_refill_heart").set_value("900");
    health.first_child().append_child("lost_name").append_attribute("value").set_value("4294967296");
    player.GetHealth().LoadXml(health.first_child());

    std::stringstream stream;
    player.WriteBinary(stream);
    const std::string bytes = stream.str();
    gcPlayer read;
    read.ReadBinary(stream);
    EXPECT_FALSE(stream.fail());
    EXPECT_EQ(read.GetName(), player.GetName());
    EXPECT_EQ(read.GetSoundVolume(), 33.5f);
    EXPECT_EQ(read.GetMusicVolume(), 0.0f);
    EXPECT_TRUE(read.GetPassedTutorial());
    EXPECT_FALSE(read.GetGameCursor());
    EXPECT_EQ(read.GetItems(), player.GetItems());
    EXPECT_TRUE(read.IsInappBought());
    EXPECT_EQ(read.GetHealth().GetCount(), 2);
    EXPECT_EQ(read.GetHealth().GetLost(), std::deque<int64_t>{4294967296LL});
    EXPECT_EQ(read.GetHealth().GetRefillPeriod(), 900);
    // Records and statistics stay out of the binary form.
    EXPECT_TRUE(read.GetLevelRecords().empty());
    EXPECT_EQ(StatOf(read, "money"), 0);

    // Every cut-off stream stops cleanly and fails; items come in whole or not at all.
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        std::istringstream in(bytes.substr(0, cut));
        gcPlayer partial;
        partial.ReadBinary(in);
        EXPECT_TRUE(in.fail()) << "cut at " << cut;
        for (const auto& [name, count] : partial.GetItems()) EXPECT_EQ(count, player.GetItemCount(name)) << cut;
    }
}

TEST(GamePlayerTest, BinaryLengthsAndCountsAreNotTrusted) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string head = std::string(
                                 "\x01\x00\x00\x00"
                                 "A",
                                 5) +
                             std::string(8, '\0') + std::string("\x01\x01", 2);
    const Case cases[] = {
        {"name length 0xFFFFFFFF", std::string("\xff\xff\xff\xff"
                                               "abc",
                                               7)},
        {"name length just past the cap", std::string("\x01\x00\x10\x00", 4) + std::string(64, 'x')},
        {"item count 0xFFFFFFFF with one item", head + std::string("\xff\xff\xff\xff\x01\x00\x00\x00"
                                                                   "e\x02\x00\x00\x00",
                                                                   13)},
        {"item name length 0xFFFFFFFF", head + std::string("\x01\x00\x00\x00\xff\xff\xff\xff", 8)},
        {"lost count 0xFFFFFFFF", head + std::string(4, '\0') + std::string(1 + 1 + 4 + 8 + 8, '\0') +
                                      std::string("\xff\xff\xff\xff", 4) + std::string(16, '\0')},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.bytes);
        gcPlayer player;
        player.ReadBinary(in);
        EXPECT_TRUE(in.fail()) << c.name;
        EXPECT_LE(player.GetItems().size(), 1u) << c.name;
        EXPECT_LE(player.GetHealth().GetLost().size(), 2u) << c.name;
    }
}

}  // namespace
