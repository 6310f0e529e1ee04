#include "engine/resources/leaderboard_table.h"

#include <gtest/gtest.h>

#include "engine/resources/load_error.h"
#include "engine/resources/repository_manager.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/parsed_xml.h"

TEST(CatalogueLeaderboard, SkipsChildrenLackingAnAttribute) {
    QRV::TestKit::ParsedXml xml(
        "<leaderboards>"
        "  <board name=\"Score\" leaderboard_id=\"lb.score\"/>"
        "  <anything name=\"Stars\" leaderboard_id=\"lb.stars\"/>"
        "  <board name=\"NoId\"/>"
        "  <board leaderboard_id=\"lb.nameless\"/>"
        "  <board name=\"Empty\" leaderboard_id=\"\"/>"
        "</leaderboards>");
    ASSERT_TRUE(xml);
    JCLeaderboardTable table;
    table.LoadDocument(xml.document);
    EXPECT_EQ(table.Ids().size(), 3u);
    EXPECT_EQ(table.GetId("Score"), "lb.score");
    EXPECT_EQ(table.GetId("Stars"), "lb.stars");
    EXPECT_EQ(table.GetId("Empty"), "");
    EXPECT_EQ(table.GetId("NoId"), "");
    EXPECT_EQ(table.GetId("score"), "");
}

TEST(CatalogueLeaderboardDeathTest, MissingFileEndsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("QUORVEL_NO_MESSAGEBOX", "1", 1);
    EXPECT_EXIT(
        {
            QRV::TestKit::GlobalGuard globals;
            globals.Set(QRV::g_repositoryManager, nullptr);  // nothing registered: every key is missing
            JCLeaderboardTable table;
            table.Load("leaderboard.xml");
        },
        ::testing::ExitedWithCode(kLoadErrorExitCode), "\\[leaderboard\\.xml\\] Ошибка загрузки");
}
