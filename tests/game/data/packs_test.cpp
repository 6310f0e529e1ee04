#include "game/data/packs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/resources/load_error.h"
#include "game/data/player.h"
#include "tests/resources/resource_test_support.h"

namespace {

using QRV::TestSupport::ResourceTreeTest;

// Pack folders written into a temporary Resources tree, scanned by the packs under test.
class PacksScanTest : public ResourceTreeTest {
protected:
    // A pack folder with these plain files (written in reverse, so the listing must sort them),
    // a grid of `items` level items and a description with the extra "param" lines.
    void PutPack(const std::string& folder, const std::vector<std::string>& files, int items,
                 const std::string& params = "") {
        for (auto it = files.rbegin(); it != files.rend(); ++it) Put(folder + "/" + *it, "<level/>");
        Put(folder + "/main/pack_item.xml", "<pack size=\"10 10\"><property>" + params + "</property></pack>");
        std::string grid = "<pages cols=\"4\" rows=\"3\">";
        for (int i = 0; i < items; ++i) grid += "<level size=\"5 5\"/>";
        Put(folder + "/main/pages.xml", grid + "</pages>");
        Put(folder + "/image/cover.png", "png");
    }

    static std::string Text(const JCPagesItem* item, const std::string& key) {
        const JSProperty* value = item->GetProperty(key);
        return value != nullptr ? value->text : "<none>";
    }
    static std::string Names(const JCPacks::PackList& list) {
        std::string names;
        for (const JCPack* pack : list) names += pack->GetName() + "#" + Text(pack, "number") + " ";
        return names;
    }
    // "name|path|number|is_open" of every level of the pack.
    static std::string Levels(const JCPack& pack) {
        std::string out;
        for (size_t i = 0; i < pack.GetLevelCount(); ++i) {
            const JCLevel* level = pack.LevelAt(i);
            out += Text(level, "name") + "|" + Text(level, "path") + "|" + Text(level, "number") + "|" +
                   Text(level, "is_open") + " ";
        }
        return out;
    }
    static void SetLevel(JCPack* pack, size_t index, int open, int stars, int score, float time) {
        JCLevel* level = pack->LevelAt(index);
        level->properties.SetBool("is_open", static_cast<uint8_t>(open));
        level->properties.SetInt("stars", stars);
        level->properties.SetInt("score", score);
        level->properties.SetFloat("time", time);
    }
    // "open/stars/score/time" of every level of the pack, then the pack's is_open and is_lock.
    static std::string Progress(const JCPack* pack) {
        std::string out;
        for (size_t i = 0; i < pack->GetLevelCount(); ++i) {
            const JCLevel* level = pack->LevelAt(i);
            out += Text(level, "is_open") + "/" + Text(level, "stars") + "/" + Text(level, "score") + "/" +
                   Text(level, "time") + " ";
        }
        return out + "pack " + Text(pack, "is_open") + " lock " + Text(pack, "is_lock");
    }

    JCPacks packs;
};

TEST_F(PacksScanTest, FoldersBecomePacksByPrefixInNameOrderNumberedPerKind) {
    PutPack("tutorial_pack1", {"a.xml"}, 1);
    PutPack("packet", {"a.xml"}, 1);
    PutPack("pack02", {"a.xml"}, 1);
    PutPack("pack01", {"a.xml"}, 1);
    PutPack("tutorial2", {"a.xml"}, 1);
    Put("levels/a.xml", "<level/>");  // no prefix: never read, so its missing files do not matter
    Put("Packages/a.xml", "<level/>");

    EXPECT_TRUE(packs.Scan("pack_item.xml"));
    EXPECT_TRUE(packs.IsLoaded());
    EXPECT_EQ(Names(packs.GetKindList(kPackOrdinary)), "pack01#1 pack02#2 packet#3 ");
    EXPECT_EQ(Names(packs.GetKindList(kPackTutorial)), "tutorial2#1 tutorial_pack1#2 ");
    EXPECT_EQ(packs.GetKindList(kPackOrdinary)[0]->GetKind(), kPackOrdinary);
    EXPECT_EQ(packs.GetKindList(kPackTutorial)[1]->GetKind(), kPackTutorial);
    EXPECT_TRUE(packs.GetKindList(7).empty());
    // Each pack registered its folder and its "main" and "image" folders.
    EXPECT_NE(manager.FindRepository("pack01"), nullptr);
    EXPECT_NE(manager.FindRepository("pack01/main"), nullptr);
    EXPECT_NE(manager.FindRepository("pack01/image"), nullptr);

    // A second scan changes nothing.
    EXPECT_TRUE(packs.Scan("pack_item.xml"));
    EXPECT_EQ(packs.GetKindList(kPackOrdinary).size(), 3u);

    EXPECT_TRUE(packs.Unload());
    EXPECT_FALSE(packs.Unload());
    EXPECT_TRUE(packs.GetKindList(kPackOrdinary).empty());
    EXPECT_EQ(manager.FindRepository("pack01/main"), nullptr);
    EXPECT_EQ(manager.FindRepository("tutorial2"), nullptr);
}

TEST_F(PacksScanTest, LevelFilesAndGridItemsMatchByPlace) {
    struct Case {
        const char* folder;
        std::vector<std::string> files;
        int items;
        const char* levels;
    };
    const Case cases[] = {
        {"pack01",
         {"level01.xml", "level02.xml", "level03.xml"},
         5,
         "pack01.level01|pack01 level01.xml|1|0 pack01.level02|pack01 level02.xml|2|0 "
         "pack01.level03|pack01 level03.xml|3|0 empty||0|0 empty||0|0 "},
        {"tutorial01",
         {"level01.xml", "level02.xml", "level03.xml", "notes.txt"},
         2,
         "tutorial01.level01|tutorial01 level01.xml|1|1 tutorial01.level02|tutorial01 level02.xml|2|1 "},
        {"pack02",
         {"b.v2.xml", "A.xml", "noext"},
         3,
         "pack02.A|pack02 A.xml|1|0 pack02.b|pack02 b.v2.xml|2|0 pack02.noext|pack02 noext|3|0 "},
        {"pack03", {}, 2, "empty||0|0 empty||0|0 "},
    };
    for (const Case& c : cases) PutPack(c.folder, c.files, c.items);
    packs.Scan("pack_item.xml");
    for (const Case& c : cases) {
        const JCPack* pack = packs.FindPack(c.folder, c.folder[0] == 't' ? kPackTutorial : kPackOrdinary);
        ASSERT_NE(pack, nullptr) << c.folder;
        EXPECT_EQ(Levels(*pack), c.levels) << c.folder;
    }
}

TEST_F(PacksScanTest, TheDescriptionCannotRenameThePackAndItsLockIsRemembered) {
    PutPack("pack01", {"level01.xml"}, 1,
            "<param key=\"name\" value=\"renamed\"/><param key=\"is_lock\" value=\"true\"/>"
            "<param key=\"price\" value=\"250\"/><param key=\"condition_to_pass\" value=\"12\"/>");
    packs.Scan("pack_item.xml");
    JCPack* pack = packs.FindPack("pack01", kPackOrdinary);
    ASSERT_NE(pack, nullptr);
    EXPECT_EQ(Text(pack, "name"), "pack01");
    EXPECT_EQ(pack->GetDescribedLock(), "1");
    EXPECT_EQ(Text(pack, "price"), "250");
    EXPECT_EQ(Text(pack, "inapp"), "");
    EXPECT_EQ(packs.FindPack("renamed", kPackOrdinary), nullptr);
    packs.SelectLevel("pack01.level01");
    EXPECT_EQ(packs.GetCurrentPack(), pack);
}

TEST_F(PacksScanTest, ATutorialLevelKeepsTheKeysOfItsStepFiles) {
    PutPack("tutorial01", {"level01.xml", "level02.xml"}, 2);
    Put("tutorial01/tutorial/level01/step02.xml", "<window/>");
    Put("tutorial01/tutorial/level01/step01_pc.xml", "<window/>");
    packs.Scan("pack_item.xml");
    const JCPack* pack = packs.FindPack("tutorial01", kPackTutorial);
    ASSERT_NE(pack, nullptr);
    const JCLevel* first = pack->LevelAt(0);
    EXPECT_EQ(first->GetTutorialFolder(), "tutorial01/tutorial/level01");
    EXPECT_EQ(std::vector<std::string>(first->GetTutorialKeys().begin(), first->GetTutorialKeys().end()),
              (std::vector<std::string>{"tutorial01/tutorial/level01 step01_pc.xml",
                                        "tutorial01/tutorial/level01 step02.xml"}));
    EXPECT_NE(manager.FindRepository("tutorial01/tutorial/level01"), nullptr);
    EXPECT_EQ(pack->LevelAt(1)->GetTutorialFolder(), "");
    EXPECT_TRUE(pack->LevelAt(1)->GetTutorialKeys().empty());
    packs.Unload();
    EXPECT_EQ(manager.FindRepository("tutorial01/tutorial/level01"), nullptr);
}

using PacksScanDeathTest = PacksScanTest;

TEST_F(PacksScanDeathTest, AMissingDescriptionOrGridEndsTheProgram) {
    Put("pack01/main/pack_item.xml", "<pack/>");
    EXPECT_EXIT(packs.Scan("pack_item.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode), "pack01/main pages\\.xml");
    EXPECT_EXIT(packs.Scan("other.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode), "pack01/main other\\.xml");
}

// Grid items that name their level files are matched by name, whatever else the folder holds;
// one whose file is missing stops the program naming it, rather than moving later levels on.
TEST_F(PacksScanTest, ItemsThatNameTheirFilesMatchByName) {
    PutPack("pack01", {"a-notes.xml", "level01.xml", "level03.xml"}, 0);
    std::string grid = "<pages cols=\"4\" rows=\"3\">";
    for (const char* file : {"level01.xml", "level03.xml"})
        grid += std::string("<level size=\"5 5\"><property><param key=\"file\" value=\"") + file +
                "\"/></property></level>";
    Put("pack01/main/pages.xml", grid + "</pages>");
    packs.Scan("pack_item.xml");
    const JCPack* pack = packs.FindPack("pack01", kPackOrdinary);
    ASSERT_NE(pack, nullptr);
    EXPECT_EQ(Levels(*pack), "pack01.level01|pack01 level01.xml|1|0 pack01.level03|pack01 level03.xml|2|0 ");
}

TEST_F(PacksScanDeathTest, AnItemWhoseNamedFileIsMissingEndsTheProgramNamingIt) {
    PutPack("pack01", {"level01.xml", "level03.xml"}, 0);
    std::string grid = "<pages cols=\"4\" rows=\"3\">";
    for (const char* file : {"level01.xml", "level02.xml", "level03.xml"})
        grid += std::string("<level size=\"5 5\"><property><param key=\"file\" value=\"") + file +
                "\"/></property></level>";
    Put("pack01/main/pages.xml", grid + "</pages>");
    EXPECT_EXIT(packs.Scan("pack_item.xml"), ::testing::ExitedWithCode(kLoadErrorExitCode),
                "Resources/pack01/level02\\.xml");
}

TEST_F(PacksScanTest, ProgressGoesToAPlayerAndComesBackWithoutLeakingIntoAnother) {
    PutPack("pack01", {"level01.xml", "level02.xml", "level03.xml"}, 3);
    PutPack("pack02", {"level01.xml", "level02.xml"}, 2, "<param key=\"is_lock\" value=\"true\"/>");
    PutPack("tutorial01", {"level01.xml", "level02.xml"}, 2);
    packs.Scan("pack_item.xml");
    JCPack* first = packs.FindPack("pack01", kPackOrdinary);
    JCPack* locked = packs.FindPack("pack02", kPackOrdinary);
    JCPack* tutorial = packs.FindPack("tutorial01", kPackTutorial);

    JCPlayer fresh;
    packs.ApplyPlayerProgress(&fresh);
    const std::string freshFirst = "0/0/0/9999 0/0/0/9999 0/0/0/9999 pack 0 lock 0";
    const std::string freshLocked = "0/0/0/9999 0/0/0/9999 pack 0 lock 1";
    const std::string freshTutorial = "1/0/0/9999 1/0/0/9999 pack 1 lock 0";
    EXPECT_EQ(Progress(first), freshFirst);
    EXPECT_EQ(Progress(locked), freshLocked);
    EXPECT_EQ(Progress(tutorial), freshTutorial);

    // One player plays: stars, scores, times, a bought pack.
    SetLevel(first, 0, 1, 3, 120, 42.5f);
    SetLevel(first, 1, 1, 1, 30, 88.25f);
    SetLevel(tutorial, 1, 1, 2, 10, 7.0f);
    locked->properties.SetBool("is_lock", 0);
    SetLevel(locked, 0, 1, 0, 0, kLevelNoTime);
    JCPlayer played;
    packs.StorePlayerProgress(&played);
    EXPECT_EQ(played.GetLevelRecords().size(), 7u);
    ASSERT_NE(played.FindLevelRecord("pack01.level01"), nullptr);
    EXPECT_EQ(played.FindLevelRecord("pack01.level01")->Find("time")->text, "42.5");
    EXPECT_EQ(played.FindPackRecord("pack02")->Find("is_lock")->text, "0");

    // Another player without records sees none of it, the bought pack locked again.
    packs.ApplyPlayerProgress(&fresh);
    EXPECT_EQ(Progress(first), freshFirst);
    EXPECT_EQ(Progress(locked), freshLocked);
    EXPECT_EQ(Progress(tutorial), freshTutorial);
    packs.ApplyPlayerProgress(nullptr);
    EXPECT_EQ(Progress(first), freshFirst);

    // The first player gets everything back, best times included.
    packs.ApplyPlayerProgress(&played);
    EXPECT_EQ(Progress(first), "1/3/120/42.5 1/1/30/88.25 0/0/0/9999 pack 1 lock 0");
    EXPECT_EQ(Progress(locked), "1/0/0/9999 0/0/0/9999 pack 1 lock 0");
    EXPECT_EQ(Progress(tutorial), "1/0/0/9999 1/2/10/7 pack 1 lock 0");

    // Missing record values take the kind's defaults.
    JCPlayer partial;
    JCPropertyMap onlyStars;
    onlyStars.SetString("stars", "2");
    partial.SetLevelRecord("pack01.level02", onlyStars);
    partial.SetLevelRecord("tutorial01.level01", onlyStars);
    JCPropertyMap noLock;
    partial.SetPackRecord("pack02", noLock);
    packs.ApplyPlayerProgress(&partial);
    EXPECT_EQ(Progress(first), "0/0/0/9999 0/2/0/9999 0/0/0/9999 pack 0 lock 0");
    EXPECT_EQ(Progress(locked), freshLocked);
    EXPECT_EQ(Progress(tutorial), "1/2/0/9999 1/0/0/9999 pack 1 lock 0");

    packs.StorePlayerProgress(nullptr);
}

TEST_F(PacksScanTest, StarsFractionsAndOpeningByStars) {
    PutPack("pack01", {"l1.xml", "l2.xml", "l3.xml", "l4.xml"}, 4, "<param key=\"condition_to_pass\" value=\"5\"/>");
    PutPack("pack02", {}, 0, "<param key=\"condition_to_pass\" value=\"3\"/>");
    PutPack("tutorial01", {"l1.xml"}, 1);
    packs.Scan("pack_item.xml");
    JCPack* pack = packs.FindPack("pack01", kPackOrdinary);
    JCPack* empty = packs.FindPack("pack02", kPackOrdinary);
    SetLevel(pack, 0, 1, 3, 0, 1.0f);
    SetLevel(pack, 2, 1, 2, 0, 1.0f);
    SetLevel(packs.FindPack("tutorial01", kPackTutorial), 0, 1, 3, 0, 1.0f);

    EXPECT_EQ(pack->GetStars(), 5u);
    EXPECT_EQ(pack->CountPerfectLevels(), 1u);
    EXPECT_FLOAT_EQ(pack->GetPassedFraction(), 0.5f);
    EXPECT_EQ(empty->GetPassedFraction(), 0.0f);
    // Tutorial stars do not count.
    EXPECT_EQ(packs.GetStarsAll(), 5u);
    EXPECT_EQ(packs.CountPerfectLevelsAll(), 1u);

    EXPECT_FALSE(pack->TryOpen(4));
    EXPECT_EQ(Text(pack, "is_open"), "0");
    EXPECT_EQ(Text(pack->LevelAt(1), "is_open"), "0");
    pack->LevelAt(0)->properties.SetBool("is_open", 0);
    EXPECT_TRUE(pack->TryOpen(5));
    EXPECT_EQ(Text(pack, "is_open"), "1");
    EXPECT_EQ(Text(pack->LevelAt(0), "is_open"), "1");
    EXPECT_EQ(Text(pack->LevelAt(1), "is_open"), "0");

    // A pack without levels opens only itself; the shared defaults never change.
    EXPECT_EQ(empty->GetFirstLevel(), JCLevel::Default());
    EXPECT_TRUE(empty->TryOpen(3));
    EXPECT_EQ(Text(empty, "is_open"), "1");
    EXPECT_FALSE(JCPack::Default()->TryOpen(100));
    EXPECT_EQ(Text(JCPack::Default(), "is_open"), "0");
    EXPECT_EQ(Text(JCLevel::Default(), "is_open"), "0");
}

TEST_F(PacksScanTest, SelectionAndWhatComesNextAtTheEnds) {
    PutPack("pack01", {"level01.xml", "level02.xml", "level03.xml"}, 3);
    PutPack("pack02", {"level01.xml"}, 1);
    PutPack("tutorial01", {"level01.xml"}, 1);
    packs.Scan("pack_item.xml");
    JCPack* pack01 = packs.FindPack("pack01", kPackOrdinary);

    // No current pack.
    EXPECT_FALSE(packs.HasNextPack());
    EXPECT_EQ(packs.GetNextPack(), JCPack::Default());

    packs.SelectLevel("pack01.level03");
    EXPECT_EQ(packs.GetCurrentPack(), pack01);
    EXPECT_EQ(pack01->GetSelectedLevel(), pack01->LevelAt(2));
    EXPECT_EQ(pack01->GetNextLevel(), JCLevel::Default());
    packs.SelectLevel("pack01.level02");
    EXPECT_EQ(pack01->GetNextLevel(), pack01->LevelAt(2));
    EXPECT_TRUE(packs.HasNextPack());
    EXPECT_EQ(packs.GetNextPack(), packs.FindPack("pack02", kPackOrdinary));

    packs.SelectLevel("pack01.level09");
    EXPECT_EQ(pack01->GetSelectedLevel(), JCLevel::Default());
    EXPECT_EQ(pack01->GetNextLevel(), JCLevel::Default());

    packs.SelectPack("pack02");
    EXPECT_FALSE(packs.HasNextPack());
    EXPECT_EQ(packs.GetNextPack(), JCPack::Default());
    EXPECT_EQ(packs.GetCurrentPack()->GetNextLevel(), JCLevel::Default());

    packs.SelectLevel("tutorial01.level01");
    EXPECT_EQ(packs.GetCurrentPack(), packs.FindPack("tutorial01", kPackTutorial));
    EXPECT_FALSE(packs.HasNextPack());

    // An unknown pack selects nothing.
    packs.SelectLevel("pack09.level01");
    EXPECT_EQ(packs.GetCurrentPack(), nullptr);
    EXPECT_FALSE(packs.HasNextPack());
    packs.SelectPack("nothing");
    EXPECT_EQ(packs.GetCurrentPack(), nullptr);
    EXPECT_EQ(packs.LookupPack("pack01", 5), nullptr);

    // Dotted keys read a level's property; the last "." splits.
    pack01->LevelAt(1)->properties.SetInt("stars", 2);
    ASSERT_NE(pack01->GetProperty("pack01.level02.stars"), nullptr);
    EXPECT_EQ(pack01->GetProperty("pack01.level02.stars")->text, "2");
    EXPECT_EQ(pack01->GetProperty("number")->text, "1");
    EXPECT_EQ(pack01->GetProperty("pack01.level07.stars"), nullptr);
    EXPECT_EQ(pack01->GetProperty("empty.stars"), nullptr);
}

}  // namespace
