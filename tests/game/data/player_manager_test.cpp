#include "game/data/player_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "game/config/save_file.h"
#include "game/config/unreadable_file.h"
#include "game/data/game_player.h"
#include "tests/test_kit/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Writes down every call of the listener, with the manager's current player at that moment.
class PlayerManagerTestLog : public JIPlayerManagerDelegate {
public:
    void OnPlayerSelected(JCPlayerManager* manager, JCPlayer* player) override {
        calls += "selected:" + player->GetNameUtf8() + Current(manager) + " ";
    }
    void OnPlayerChanging(JCPlayerManager* manager, JCPlayer* outgoing) override {
        calls += "changing:" + outgoing->GetNameUtf8() + Current(manager) + " ";
    }
    void OnPlayersLoaded(JCPlayerManager* manager) override { calls += "loaded" + Current(manager) + " "; }
    std::string calls;

private:
    static std::string Current(JCPlayerManager* manager) {
        return manager->GetCurrentPlayer() ? "(" + manager->GetCurrentPlayer()->GetNameUtf8() + ")" : "()";
    }
};

std::string PlayerManagerTestFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Names(const JCPlayerManager& manager) {
    std::string names;
    for (const std::wstring& name : manager.GetNames()) names += QRV::WideToUtf8(name) + ",";
    return names;
}

TEST(PlayerManagerTest, LoadRules) {
    // What becomes of the file: nothing, moved aside unread, or copied before the first save.
    enum class Kept { kNothing, kMoved, kCopied };
    struct Case {
        const char* name;
        const char* file;  // null: no file
        const char* names;
        const char* calls;
        Kept kept;  // as "players.xml.bad", byte for byte
    };
    const char* const notPlayers = "";
    const char* const loadedOnly = "loaded() ";
    const Case cases[] = {
        {"duplicates, current empty",
         "<Players current=\"\"><player name=\"A\"><playeritems><item name=\"x\" count=\"1\"/><other count=\"2\"/>"
         "<item name=\"y\" count=\"3\"/></playeritems></player><player name=\"A\" sound_volume=\"9\"/></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"current names the second",
         "<Players current=\"B\"><player name=\"A\"/><!-- note --><player name=\"B\"/></Players>", "A,B,",
         "selected:A(A) loaded(A) changing:A(A) selected:B(B) ", Kept::kNothing},
        {"current names nobody", "<Players current=\"C\"><player name=\"A\"/><player name=\"B\"/></Players>",
         "A,B,", "selected:A(A) loaded(A) ", Kept::kNothing},
        {"current is the first", "<Players current=\"A\"><player name=\"A\"/></Players>", "A,",
         "selected:A(A) loaded(A) selected:A(A) ", Kept::kNothing},
        {"no file", nullptr, "", loadedOnly, Kept::kNothing},
        {"an empty list", "<Players current=\"\"/>", "", loadedOnly, Kept::kNothing},
        {"a cut-off file", "<Players current=\"A\"><player name=\"A\"/><pla", notPlayers, loadedOnly, Kept::kMoved},
        {"garbage", "\x89PNG\r\n", notPlayers, loadedOnly, Kept::kMoved},
        // Well-formed files of another shape are not player lists.
        {"an HTML page", "<html><body><p>Not found</p></body></html>", notPlayers, loadedOnly, Kept::kMoved},
        {"another root", "<players current=\"A\"><player name=\"A\"/></players>", notPlayers, loadedOnly,
         Kept::kMoved},
        {"an unknown element among the players",
         "<Players current=\"C\"><player name=\"A\"/><x name=\"B\"/></Players>", notPlayers, loadedOnly, Kept::kMoved},
        {"text among the players", "<Players current=\"A\"><player name=\"A\"/>stray text</Players>", notPlayers,
         loadedOnly, Kept::kMoved},
        // Read in part: the first of each name is kept, and so is a copy of the whole file.
        {"an unknown element in a profile",
         "<Players current=\"A\"><player name=\"A\"><future_progress stars=\"9\"/></player></Players>", "A,",
         "selected:A(A) loaded(A) selected:A(A) ", Kept::kCopied},
        {"two lists of items in a profile",
         "<Players current=\"\"><player name=\"A\"><playeritems/><playeritems><item name=\"x\" count=\"1\"/>"
         "</playeritems></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"an element before the first item",
         "<Players current=\"\"><player name=\"A\"><playeritems><gem count=\"4\"/><item name=\"x\" count=\"1\"/>"
         "</playeritems></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"an item twice",
         "<Players current=\"\"><player name=\"A\"><playeritems><item name=\"x\" count=\"1\"/>"
         "<item name=\"x\" count=\"7\"/></playeritems></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"a level record twice",
         "<Players current=\"\"><player name=\"A\"><levels><level name=\"p.l1\"/><level name=\"p.l1\">"
         "<param key=\"stars\" value=\"3\"/></level></levels></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"a record entry twice",
         "<Players current=\"\"><player name=\"A\"><packs><pack name=\"p\"><param key=\"is_lock\" value=\"1\"/>"
         "<param key=\"is_lock\" value=\"0\"/></pack></packs></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
        {"a statistic twice",
         "<Players current=\"\"><player name=\"A\"><statistic><param key=\"money\" value=\"5\"/>"
         "<param key=\"money\" value=\"9\"/></statistic></player></Players>",
         "A,", "selected:A(A) loaded(A) ", Kept::kCopied},
    };
    for (const Case& c : cases) {
        QRV::TestKit::TempFolder temp("quorvel-players");
        if (c.file != nullptr) temp.Write("players.xml", c.file);
        JCPlayerManager manager;
        PlayerManagerTestLog log;
        manager.SetListener(&log);
        testing::internal::CaptureStderr();
        manager.Load(temp.String() + "/");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Names(manager), c.names) << c.name;
        EXPECT_EQ(log.calls, c.calls) << c.name;
        if (c.kept != Kept::kNothing) {
            EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml.bad"), c.file) << c.name;
            EXPECT_NE(said.find("players.xml.bad"), std::string::npos) << c.name;
            // A copy leaves the file in place until the save; a file moved aside is gone.
            EXPECT_EQ(fs::exists(temp / "players.xml"), c.kept == Kept::kCopied) << c.name;
        } else {
            EXPECT_FALSE(fs::exists(temp / "players.xml.bad")) << c.name;
            EXPECT_EQ(said, "") << c.name;
        }
        // The next save writes a new list beside the kept copy.
        EXPECT_TRUE(manager.Save(temp.String() + "/")) << c.name;
        if (c.kept != Kept::kNothing) {
            EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml.bad"), c.file) << c.name;
        }
        EXPECT_FALSE(fs::exists(temp / "players.xml.bad.1")) << c.name;
        Game::TakeSetAsideFiles();
    }
    // Items: every element from the first "item" on, "other" with an empty name.
    QRV::TestKit::TempFolder temp("quorvel-players");
    temp.Write("players.xml", cases[0].file);
    JCPlayerManager manager;
    manager.Load(temp.String() + "/");
    const JCPlayer* a = manager.FindPlayer(L"A");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetItems(), (std::map<std::string, int32_t>{{"", 2}, {"x", 1}, {"y", 3}}));
    EXPECT_EQ(a->GetSoundVolume(), 0.0f);  // the first "A", whose volume is missing
    EXPECT_FALSE(a->GetGameCursor());
}

// Two rich profiles; the second is current.
void FillPlayerManagerTestList(JCPlayerManager& manager) {
    const wchar_t* names[] = {L"Zo\u00eb", L"\u73a9\u5bb6\U0001F600"};
    for (int i = 0; i < 2; ++i) {
        auto player = std::make_unique<gcPlayer>();
        player->SetName(names[i]);
        player->SetSoundVolume(i == 0 ? 33.5f : 0.0f);
        player->SetMusicVolume(i == 0 ? 0.0f : 100.0f);
        player->SetPassedTutorial(i == 0);
        player->SetGameCursor(i != 0);
        player->SetInappBought(i != 0);
        player->SetItemCount("life", 5);
        player->SetItemCount("error", 3 + i);
        JCPropertyMap level;
        level.SetInt("stars", 2 + i);
        level.SetFloat("time", 61.25f);
        player->SetLevelRecord("pack1.level1", level);
        player->SetLevelRecord("pack1.level2", JCPropertyMap());
        JCPropertyMap pack;
        pack.SetBool("is_lock", 0);
        player->SetPackRecord("pack1", pack);
        player->IncrementStatistic("money", 40 + i);
        player->GetHealth().AddHeart();
        manager.AddPlayer(std::move(player));
    }
    manager.SelectPlayerByName(names[1]);
}

std::string PlayerXml(const JCPlayer& player) {
    pugi::xml_document document;
    player.SaveXml(document.append_child("player"));
    return Game::SaveXmlText(document);
}

TEST(PlayerManagerTest, RoundTripThroughTheFile) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    const std::string folder = temp.String() + "/";
    JCPlayerManager first;
    first.Load(folder);
    FillPlayerManagerTestList(first);
    ASSERT_TRUE(first.Save(folder));

    const std::string text = PlayerManagerTestFile(temp / "players.xml");
    EXPECT_EQ(
        text.rfind(
            "<?xml version=\"1.0\"?>\n<Players current=\"\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80\">\n\t<player ", 0),
        0u)
        << text;
    EXPECT_NE(text.find("\n\t\t<playeritems>\n\t\t\t<item name=\"error\" count=\"3\" />"), std::string::npos) << text;
    EXPECT_NE(text.find("sound_volume=\"33.5\" music_volume=\"0\" passed_tutorial=\"true\" game_cursor=\"false\""),
              std::string::npos)
        << text;

    JCPlayerManager second;
    PlayerManagerTestLog log;
    second.SetListener(&log);
    second.Load(folder);
    ASSERT_EQ(second.GetPlayerCount(), 2u);
    EXPECT_EQ(second.GetCurrentPlayer(), second.FindPlayer(L"\u73a9\u5bb6\U0001F600"));
    for (const std::wstring& name : first.GetNames()) {
        ASSERT_NE(second.FindPlayer(name), nullptr);
        EXPECT_EQ(PlayerXml(*second.FindPlayer(name)), PlayerXml(*first.FindPlayer(name)));
    }
    const auto* zoe = dynamic_cast<const gcPlayer*>(second.FindPlayer(L"Zo\u00eb"));
    ASSERT_NE(zoe, nullptr);
    EXPECT_EQ(zoe->GetSoundVolume(), 33.5f);
    EXPECT_TRUE(zoe->GetPassedTutorial());
    EXPECT_FALSE(zoe->IsInappBought());
    EXPECT_EQ(zoe->GetItemCount("error"), 3);
    EXPECT_EQ(zoe->FindLevelRecord("pack1.level1")->Find("time")->text, "61.25");
    EXPECT_EQ(zoe->FindPackRecord("pack1")->Find("is_lock")->text, "0");
    EXPECT_EQ(zoe->GetStatistic("money_max")->intValue, 40);
    EXPECT_EQ(zoe->GetHealth().GetCount(), 1);
    EXPECT_EQ(second.Save(folder), true);
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml"), text);
}

TEST(PlayerManagerTest, SavesNothingBeforeLoadingOrAfterClearing) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    const std::string folder = temp.String() + "/";
    temp.Write("players.xml", "<Players current=\"\"><player name=\"kept\"/></Players>");
    const std::string before = PlayerManagerTestFile(temp / "players.xml");
    JCPlayerManager manager;
    FillPlayerManagerTestList(manager);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(manager.Save(folder));
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml"), before);

    manager.Load(folder);
    EXPECT_EQ(manager.GetPlayerCount(), 3u);
    manager.Clear();
    EXPECT_EQ(manager.GetCurrentPlayer(), nullptr);
    EXPECT_FALSE(manager.Save(folder));
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml"), before);
    EXPECT_FALSE(manager.Save(""));  // no save folder
    testing::internal::GetCapturedStderr();
}

TEST(PlayerManagerTest, SelectionAndRemoval) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    const std::string folder = temp.String() + "/";
    JCPlayerManager manager;
    manager.Load(folder);
    FillPlayerManagerTestList(manager);
    PlayerManagerTestLog log;
    manager.SetListener(&log);

    EXPECT_TRUE(manager.SelectPlayerByName(L"Zo\u00eb"));
    EXPECT_TRUE(manager.SelectPlayerByName(L"Zo\u00eb"));   // no change: no "changing"
    EXPECT_FALSE(manager.SelectPlayerByName(L"zo\u00eb"));  // names compare exactly
    EXPECT_FALSE(manager.SelectPlayerByName(L"Zo\u00eb "));
    EXPECT_EQ(log.calls,
              "changing:\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80(\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80) "
              "selected:Zo\xc3\xab(Zo\xc3\xab) selected:Zo\xc3\xab(Zo\xc3\xab) ");

    log.calls.clear();
    EXPECT_FALSE(manager.RemovePlayer(L"nobody"));
    EXPECT_TRUE(manager.RemovePlayer(L"Zo\u00eb"));
    EXPECT_EQ(manager.GetCurrentPlayer(), nullptr);
    EXPECT_EQ(log.calls, "");
    EXPECT_EQ(Names(manager), "\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80,");
    ASSERT_TRUE(manager.Save(folder));
    EXPECT_NE(PlayerManagerTestFile(temp / "players.xml").find("<Players current=\"\">"), std::string::npos);
    // From no current player, a selection is not a change.
    EXPECT_TRUE(manager.SelectPlayer(manager.FindPlayer(L"\u73a9\u5bb6\U0001F600")));
    EXPECT_EQ(log.calls,
              "selected:\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80(\xe7\x8e\xa9\xe5\xae\xb6\xf0\x9f\x98\x80) ");
}

TEST(PlayerManagerTest, InvalidUtf8NamesBecomeReplacementCharacters) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    temp.Write("players.xml", "<Players current=\"a\xff\"><player name=\"a\xff\"/><player name=\"\xc3\"/></Players>");
    JCPlayerManager manager;
    manager.Load(temp.String() + "/");
    EXPECT_EQ(manager.GetNames(), (std::vector<std::wstring>{L"a\uFFFD", L"\uFFFD"}));
    EXPECT_EQ(manager.GetCurrentPlayer(), manager.FindPlayer(L"a\uFFFD"));
}

// Earlier copies are never replaced: each load that leaves something out keeps the next name.
TEST(PlayerManagerTest, CopiesOfFilesReadInPartTakeTheNextFreeName) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    const std::string folder = temp.String() + "/";
    temp.Write("players.xml.bad", "an old copy");
    const std::string twice = "<Players current=\"\"><player name=\"A\"/><player name=\"A\"/></Players>";
    const std::string shape = "<html/>";
    temp.Write("players.xml", twice);
    testing::internal::CaptureStderr();
    JCPlayerManager first;
    first.Load(folder);
    ASSERT_TRUE(first.Save(folder));
    temp.Write("players.xml", shape);
    JCPlayerManager second;
    second.Load(folder);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml.bad"), "an old copy");
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml.bad.1"), twice);
    EXPECT_EQ(PlayerManagerTestFile(temp / "players.xml.bad.2"), shape);
    // Only the file moved aside is told to the player; the copy left the profiles in place.
    const std::vector<Game::SetAsideFile> told = Game::TakeSetAsideFiles();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].path, folder + "players.xml");
    EXPECT_EQ(told[0].keptAs, folder + "players.xml.bad.2");
}

// A save written by the game reads back whole: no copy is kept.
TEST(PlayerManagerTest, SavedListsReadWhole) {
    QRV::TestKit::TempFolder temp("quorvel-players");
    const std::string folder = temp.String() + "/";
    JCPlayerManager first;
    first.Load(folder);
    FillPlayerManagerTestList(first);
    ASSERT_TRUE(first.Save(folder));
    pugi::xml_document document;
    first.WriteDocument(document);
    JCPlayerManager second;
    EXPECT_EQ(second.ReadDocument(document), JCPlayerManager::ProfilesRead::kWhole);
    testing::internal::CaptureStderr();
    JCPlayerManager third;
    third.Load(folder);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(fs::exists(temp / "players.xml.bad"));
}

}  // namespace
