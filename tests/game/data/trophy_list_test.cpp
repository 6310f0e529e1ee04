#include "game/data/trophy_list.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/core/event_dispatcher.h"
#include "engine/core/property_map.h"
#include "engine/resources/load_error.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace {

using QRV::G_TROPHY;
using QRV::JS_TROPHY_PROBE;
using QRV::TestKit::ParsedXml;

std::string Trophy(const std::string& name, const std::string& conditions, const std::string& attributes = "") {
    return "<trophy name=\"" + name + "\"" + attributes + ">" + conditions + "</trophy>";
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

std::string Condition(const std::string& statistic, const std::string& type, const std::string& value,
                      const std::string& op) {
    return "<condition name=\"" + statistic + "\" value_type=\"" + type + "\" value=\"" + value + "\" operator=\"" +
           Escaped(op) + "\"/>";
}

// The probe the game root makes of a player value given as text.
JS_TROPHY_PROBE Probe(const std::string& name, const std::string& text) {
    JCPropertyMap values;
    values.SetString(name, text);
    return QRV::MakeTrophyProbe(name, *values.Find(name));
}

// Counts the award events and keeps the trophies they carried.
class AwardListener : public QRV::gListener {
public:
    explicit AwardListener(QRV::gEventDispatcher& dispatcher) {
        Subscribe<&AwardListener::OnAward>(kTrophyAwardedEvent, this);
        dispatcher.AddListener(this);
    }
    void OnAward(G_TROPHY* trophy) { awarded.push_back(trophy); }
    std::vector<G_TROPHY*> awarded;
};

// Operators over the four value types, targets of 0 and below included: each row is one trophy
// of its own, tested once with its probe.
TEST(TrophyCheck, OperatorsOverValueTypes) {
    const struct {
        const char* type;
        const char* op;
        const char* target;
        const char* probe;
        bool met;
    } cases[] = {
        // Progress towards the target: integer division, so 99 of 100 is nothing yet.
        {"int", ">=", "100", "99", false},
        {"int", ">=", "100", "100", true},
        {"int", ">=", "100", "250", true},
        {"int", "==", "100", "99", false},
        {"int", "==", "100", "250", true},
        // Targets of 0 and below compare directly (no division by 0, no turned-round measure).
        {"int", ">=", "0", "0", true},
        {"int", ">=", "0", "-1", false},
        {"int", "==", "0", "7", true},
        {"int", ">=", "-5", "-10", false},
        {"int", ">=", "-5", "-1", true},
        {"int", "==", "-5", "-5", true},
        {"uint", ">=", "0", "0", true},
        {"uint", "==", "0", "3", true},
        {"uint", ">=", "3", "2", false},
        {"uint", ">=", "3", "3", true},
        {"uint", ">", "5", "-1", true},
        {"int", ">", "5", "-1", false},
        {"int", ">", "5", "5", false},
        {"int", ">", "5", "6", true},
        {"int", "<", "5", "4", true},
        {"int", "<", "5", "5", false},
        {"int", "!=", "5", "5", false},
        {"int", "!=", "5", "4", true},
        {"int", "<=", "5", "5", true},
        {"int", "<=", "-5", "-4", false},
        {"uint", "<", "5", "4", true},
        {"float", "<=", "60", "60.0", true},
        {"float", "<=", "60", "60.5", false},
        {"float", ">=", "2.5", "2.4", false},
        {"float", ">=", "2.5", "2.5", true},
        {"float", "==", "1", "1.5", true},
        {"float", ">", "0.5", "0.75", true},
        {"float", "<", "0.5", "0.75", false},
        {"float", "!=", "1", "1", false},
        {"float", ">=", "0", "0", true},
        {"float", ">=", "0", "-0.5", false},
        {"float", "==", "0", "3.5", true},
        {"float", ">=", "-5", "-10", false},
        {"float", ">=", "-5", "-1", true},
        {"float", "==", "-2.5", "-2.5", true},
        // Bool: ">" compares the bytes, ">=" and "==" are equality.
        {"bool", ">", "false", "true", true},
        {"bool", ">", "false", "false", false},
        {"bool", ">", "true", "true", false},
        {"bool", ">=", "true", "yes", true},
        {"bool", ">=", "false", "true", false},
        {"bool", "==", "1", "0", false},
        {"bool", "<", "true", "false", true},
        {"bool", "!=", "t", "0", true},
        {"bool", "<=", "0", "1", false},
        // Unknown types are bool, unknown operators ">=".
        {"double", ">=", "true", "true", true},
        {"double", ">=", "true", "4", true},
        {"int", "=>", "10", "10", true},
        {"int", "=>", "10", "9", false},
    };
    std::string file = "<trophies>";
    for (size_t i = 0; i < std::size(cases); ++i)
        file += Trophy("t" + std::to_string(i), Condition("stat", cases[i].type, cases[i].target, cases[i].op));
    file += "</trophies>";
    ParsedXml xml(file);
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(xml.document));
    ASSERT_EQ(list.Trophies().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(std::string(c.type) + " " + c.op + " " + c.target + " with " + c.probe);
        EXPECT_EQ(list.CheckTrophy("t" + std::to_string(i), Probe("stat", c.probe)), c.met);
        EXPECT_EQ(list.Trophies()[i]->awarded, c.met);
    }
}

TEST(TrophyCheck, NotANumberNeverEqualsAndAnotherNameNeverAwards) {
    ParsedXml xml("<trophies>" + Trophy("nan", Condition("time", "float", "1", "!=")) +
                  Trophy("money", Condition("money", "int", "100", ">=")) + "</trophies>");
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(xml.document));
    JS_TROPHY_PROBE probe;
    probe.name = "time";
    probe.floatValue = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(list.CheckTrophy("nan", probe));
    for (const char* other : {"money_max", "Money", "money ", ""}) {
        EXPECT_FALSE(list.CheckTrophy("money", Probe(other, "100000"))) << other;
    }
    EXPECT_FALSE(list.FindTrophy("money")->awarded);
    EXPECT_FALSE(list.CheckTrophy("no such trophy", Probe("money", "100000")));
}

// The award is announced once, at once, with the trophy; clearing the marks lets it be earned again.
TEST(TrophyCheck, AnAwardIsSentOnceWithTheTrophy) {
    ParsedXml xml("<trophies>" + Trophy("money", Condition("money", "int", "100", ">=")) + "</trophies>");
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(xml.document));
    EXPECT_TRUE(list.CheckTrophy("money", Probe("money", "100")));  // no dispatcher: awarded all the same
    list.ClearAwarded();

    QRV::gEventDispatcher dispatcher;
    AwardListener listener(dispatcher);
    list.SetDispatcher(&dispatcher);
    EXPECT_FALSE(list.CheckTrophy("money", Probe("money", "99")));
    EXPECT_TRUE(listener.awarded.empty());
    EXPECT_TRUE(list.CheckTrophy("money", Probe("money", "100")));
    ASSERT_EQ(listener.awarded.size(), 1u);
    EXPECT_EQ(listener.awarded[0], list.FindTrophy("money"));
    EXPECT_EQ(dispatcher.QueuedCount(), 0u);
    EXPECT_FALSE(list.CheckTrophy("money", Probe("money", "500")));
    EXPECT_EQ(listener.awarded.size(), 1u);

    list.ClearAwarded();
    EXPECT_FALSE(list.FindTrophy("money")->awarded);
    EXPECT_TRUE(list.CheckTrophy("money", Probe("money", "100")));
    EXPECT_EQ(listener.awarded.size(), 2u);
    dispatcher.RemoveListener(&listener);
}

// Only a trophy with exactly one condition is met; conditions lacking a key are skipped.
TEST(TrophyCheck, TwoConditionsOrNoneAreNeverMet) {
    const std::string hold = Condition("money", "int", "1", ">=");
    ParsedXml xml("<trophies>" + Trophy("two", hold + hold) +
                  Trophy("skipped",
                         "<condition name=\"money\" value=\"1\" operator=\"&gt;=\"/>"
                         "<condition name=\"money\" value_type=\"int\" operator=\"&gt;=\"/>"
                         "<condition name=\"money\" value_type=\"int\" value=\"1\"/>") +
                  Trophy("after", "<image_open/>" + hold +
                                      "<other name=\"money\" value_type=\"int\" value=\"1\" "
                                      "operator=\"&lt;\"/>") +
                  Trophy("none", "") + "</trophies>");
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(xml.document));
    JCPropertyMap values;
    values.SetInt("money", 1000);
    const struct {
        const char* name;
        size_t conditions;
    } cases[] = {{"two", 2}, {"skipped", 0}, {"after", 2}, {"none", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(list.FindTrophy(c.name)->ConditionCount(), c.conditions);
        EXPECT_FALSE(list.TestTrophy(c.name, values));
        EXPECT_FALSE(list.CheckTrophy(c.name, Probe("money", "1000")));
    }
}

// The test against a map of values awards nothing; the probe is the value named by the condition.
TEST(TrophyCheck, TestAgainstValuesAwardsNothing) {
    ParsedXml xml("<trophies>" + Trophy("all", Condition("all_other_trophies", "bool", "true", "==")) +
                  Trophy("fraction", Condition("passed_fraction", "float", "1", ">=")) + "</trophies>");
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophiesFrom(xml.document));
    QRV::gEventDispatcher dispatcher;
    AwardListener listener(dispatcher);
    list.SetDispatcher(&dispatcher);
    JCPropertyMap values;
    EXPECT_FALSE(list.TestTrophy("all", values));
    values.SetBool("all_other_trophies", 1);
    values.SetFloat("passed_fraction", 0.5f);
    EXPECT_TRUE(list.TestTrophy("all", values));
    EXPECT_FALSE(list.TestTrophy("fraction", values));
    values.SetFloat("passed_fraction", 1.0f);
    EXPECT_TRUE(list.TestTrophy("fraction", values));
    EXPECT_FALSE(list.TestTrophy("unknown", values));
    EXPECT_FALSE(list.FindTrophy("all")->awarded);
    EXPECT_TRUE(listener.awarded.empty());
    // An awarded trophy still tests as holding.
    list.FindTrophy("all")->awarded = true;
    EXPECT_TRUE(list.TestTrophy("all", values));
    dispatcher.RemoveListener(&listener);
}

class TrophyFile : public QRV::TestSupport::ResourceTreeTest {};

// Fields in document order, whatever the element names; pictures from their descriptions with the
// attribute naming the texture; a description without an animation block is one frame.
TEST_F(TrophyFile, ReadsTrophiesInOrderWithTheirPictures) {
    Put("data/trophies/list.xml", R"(<?xml version="1.0"?>
<trophies>
  <trophy name="achievements_txt_stars01_name" gc_id="stars01" desc="achievements_txt_stars01_desc" bonus="150"
          image_open="data/medals stars_open.png">
    <image_open TEXTURE="data/medals ignored.png"><HOT_SPOT>HS_UL</HOT_SPOT>
      <ANIMATION grid="4 2" frames="8" fps="12" loop="false"/></image_open>
    <image_close TEXTURE="data/medals stars_closed.png"><HOT_SPOT>HS_MID</HOT_SPOT></image_close>
    <condition name="perfect_levels" value_type="int" value="5" operator="&gt;="/>
  </trophy>
  <medal name="second"/>
</trophies>)");
    ASSERT_TRUE(manager.LoadNamed("data/trophies"));
    JCTrophyList list;
    ASSERT_TRUE(list.LoadTrophies("data/trophies list.xml"));
    ASSERT_EQ(list.Trophies().size(), 2u);
    const G_TROPHY& stars = *list.Trophies()[0];
    EXPECT_EQ(stars.name, "achievements_txt_stars01_name");
    EXPECT_EQ(stars.gcId, "stars01");
    EXPECT_EQ(stars.desc, "achievements_txt_stars01_desc");
    EXPECT_EQ(stars.bonus, 150);
    EXPECT_FALSE(stars.awarded);
    EXPECT_EQ(stars.openPicture.textureName, "data/medals stars_open.png");
    EXPECT_EQ(stars.openPicture.frameCount, 8);
    EXPECT_EQ(stars.openPicture.columns, 4);
    EXPECT_EQ(stars.openPicture.loop, 0);
    EXPECT_EQ(stars.openPicture.hotSpot, 0);
    EXPECT_EQ(stars.closedPicture.textureName, "data/medals stars_closed.png");
    EXPECT_EQ(stars.closedPicture.frameCount, 1);
    EXPECT_EQ(stars.closedPicture.hotSpot, 4);
    ASSERT_EQ(stars.ConditionCount(), 1u);
    EXPECT_EQ(stars.conditions[0].name, "perfect_levels");
    EXPECT_EQ(stars.conditions[0].valueType, QRV::kTrophyTypeInt);
    EXPECT_EQ(stars.conditions[0].op, QRV::kTrophyAtLeast);
    EXPECT_EQ(stars.conditions[0].intValue, 5);
    const G_TROPHY& second = *list.Trophies()[1];
    EXPECT_EQ(second.name, "second");
    EXPECT_EQ(second.bonus, 0);
    EXPECT_EQ(second.openPicture.textureName, "");
    EXPECT_EQ(list.FindTrophy("second"), &second);

    list.Clear();
    EXPECT_TRUE(list.Trophies().empty());
}

TEST_F(TrophyFile, AFileWithoutTrophiesGivesFalse) {
    Put("data/trophies/other.xml", "<achievements><trophy name=\"x\"/></achievements>");
    ASSERT_TRUE(manager.LoadNamed("data/trophies"));
    JCTrophyList list;
    EXPECT_FALSE(list.LoadTrophies("data/trophies other.xml"));
    EXPECT_TRUE(list.Trophies().empty());
}

using TrophyFileDeathTest = TrophyFile;

TEST_F(TrophyFileDeathTest, AMissingOrBrokenFileEndsTheProgramNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 1);
    Put("data/trophies/broken.xml", "<trophies><trophy name=\"x\">");
    ASSERT_TRUE(manager.LoadNamed("data/trophies"));
    for (const char* key : {"data/trophies missing.xml", "data/trophies broken.xml"}) {
        JCTrophyList list;
        EXPECT_EXIT(list.LoadTrophies(key), ::testing::ExitedWithCode(kLoadErrorExitCode),
                    "\\[" + std::string(key) + "\\]");
    }
}

}  // namespace
