#include "game/app/global.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/app/app_context.h"
#include "engine/sound/sound_group.h"
#include "game/app/context.h"
#include "game/data/game_player.h"
#include "tests/graphics/sprite_test_support.h"

namespace {

namespace fs = std::filesystem;

std::string Params(std::initializer_list<std::pair<const char*, const char*>> values) {
    std::string xml;
    for (const auto& [key, value] : values) xml += std::string("<param key=\"") + key + "\" value=\"" + value + "\"/>";
    return xml;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A resource tree with everything start-up reads, a save folder of its own (XDG_DATA_HOME), and
// the application context's display values given back afterwards. The editions: a base holding
// "heart", "free" and the gameplay file, then "desk" overriding "free".
class GlobalConfigTest : public QRV::TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        saveBase = root / "xdg";
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldXdg = old;
        setenv("XDG_DATA_HOME", saveBase.c_str(), 1);
        QRV::JS_APP_CONTEXT& app = *QRV::g_app;
        for (int32_t* value : {&app.desktopWidth, &app.desktopHeight, &app.width, &app.height}) globals.Save(*value);
        for (uint8_t* value : {&app.fullscreen, &app.stretch}) globals.Save(*value);
        SetDesktop(1920, 1080);
        PutSettings("desk", "false");
        Put("data/share/main/other/editions.xml",
            "<editions><base>" +
                Params({{"type", "base"},
                        {"gameplay", "data/share/main/other gameplay.xml"},
                        {"heart", "1"},
                        {"free", "1"}}) +
                "</base><desk>" + Params({{"type", "desk"}, {"free", "0"}, {"platform", "pc"}}) + "</desk></editions>");
        Put("data/share/main/other/gameplay.xml", "<gameplay>" + Params({{"settings", "s.xml"}}) + "</gameplay>");
        Put("data/en/strings.xml",
            "<Workbook><Worksheet><Table><Row><Cell><Data>hello</Data></Cell><Cell><Data>Hello</Data></Cell></Row>"
            "</Table></Worksheet></Workbook>");
        Put("data/data.xml",
            "<data><ear><ear_tile><FILE>data/share/image tile.png</FILE></ear_tile>"
            "<ear_line><FILE>data/share/image line.png</FILE></ear_line></ear></data>");
        PutImage("data/share/image/tile.png", 8, 8, 200, 190, 170);
        PutImage("data/share/image/line.png", 3, 3, 140, 130, 115);
    }
    void TearDown() override {
        global.reset();
        if (oldXdg) setenv("XDG_DATA_HOME", oldXdg->c_str(), 1);
        else unsetenv("XDG_DATA_HOME");
        SpriteSceneTest::TearDown();
    }

    void SetDesktop(int32_t width, int32_t height) {
        QRV::g_app->desktopWidth = width;
        QRV::g_app->desktopHeight = height;
    }
    void PutSettings(const char* edition, const char* fullscreen) {
        Put("game.xml",
            "<game>" + Params({{"lang", "en"}, {"edition", edition}, {"company", "c"}, {"fullscreen", fullscreen}}) +
                "</game>");
    }
    fs::path UserFile() const { return saveBase / "quorvel" / "game.xml"; }
    void PutUserFile(const std::string& bytes) {
        fs::create_directories(UserFile().parent_path());
        QRV::TestSupport::WriteBytes(UserFile().string(), bytes);
    }

    // Every vertex the borders handed the renderer lies outside the logical screen; the count.
    size_t DrawBordersOutsideTheScreen() {
        const std::vector<QRV::JS_VERTEX> drawn = DrawnVertices([&] { global->DrawBorders(); });
        for (const QRV::JS_VERTEX& v : drawn) {
            const bool inside = v.x > 0.5f && v.x < 1023.5f && v.y > 0.5f && v.y < 767.5f;
            EXPECT_FALSE(inside) << v.x << ", " << v.y;
        }
        return drawn.size();
    }

    std::optional<gcGlobal> global{std::in_place};
    fs::path saveBase;
    std::optional<std::string> oldXdg;
};
using GlobalConfigDeathTest = GlobalConfigTest;

TEST_F(GlobalConfigTest, StartupBuildsTheEditionUpAndReadsEverythingItNames) {
    Put("data/share/deep/er/still/file.txt", "x");
    ASSERT_TRUE(global->Startup());
    EXPECT_EQ(global->EditionText("type"), "desk");
    EXPECT_EQ(global->EditionInt("free"), 0);   // the second edition wins
    EXPECT_EQ(global->EditionInt("heart"), 1);  // the first one's values stay
    EXPECT_EQ(global->GetPlatformLetter(), 0);
    EXPECT_EQ(global->GameplayText("settings"), "s.xml");
    // Absent keys read as 0 and as empty text.
    EXPECT_EQ(global->EditionInt("nothing") + global->GameplayInt("nothing"), 0);
    EXPECT_EQ(global->UserText("nothing") + global->EditionText("nothing"), "");
    EXPECT_EQ(global->GetContext()->stringTable.Find("hello"), "Hello");
    EXPECT_NE(manager.FindRepository("data/share/deep/er/still"), nullptr);
    EXPECT_TRUE(global->Layout().sideBars);

    global->Shutdown();
    EXPECT_EQ(global->GetContext(), nullptr);
    EXPECT_EQ(manager.FindRepository("data/share/deep/er/still"), nullptr);
    EXPECT_EQ(manager.FindRepository("data/en"), nullptr);
    global->Shutdown();  // twice, or after a failed start, is harmless
}

// Every folder below "data/share" that holds a file becomes a repository, however the tree
// branches: the list of found folders grows while the walk still descends into folders named there.
TEST_F(GlobalConfigTest, StartupRegistersEveryShareFolderOfWideAndDeepTrees) {
    const struct {
        const char* name;
        std::vector<std::string> leaves;
    } cases[] = {
        {"one deep chain", {"c/h/a/i/n/s/e/v/e/n"}},
        {"wide, then deep",
         {"w0/a/b/c", "w1/a/b/c", "w2/a/b/c", "w3/a/b/c", "w4/a/b/c", "w5/a/b/c", "w6/a/b/c", "w7/a/b/c"}},
        {"deep, then wide",
         {"d/e/e/p/x0", "d/e/e/p/x1", "d/e/e/p/x2", "d/e/e/p/x3", "d/e/e/p/x4", "d/e/e/p/x5", "d/e/e/p/x6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each leaf and each folder on its way holds a file.
        std::vector<std::string> folders;
        for (const std::string& leaf : c.leaves) {
            for (size_t slash = leaf.find('/'); slash != std::string::npos; slash = leaf.find('/', slash + 1))
                folders.push_back(leaf.substr(0, slash));
            folders.push_back(leaf);
        }
        for (const std::string& folder : folders) Put("data/share/" + folder + "/file.txt", "x");
        global.emplace();
        ASSERT_TRUE(global->Startup());
        for (const std::string& folder : folders)
            EXPECT_NE(manager.FindRepository("data/share/" + folder), nullptr) << folder;
        global->Shutdown();
        for (const std::string& leaf : c.leaves)
            fs::remove_all(resources + "data/share/" + leaf.substr(0, leaf.find('/')));
    }
}

TEST_F(GlobalConfigTest, WithoutAMatchingEditionTheGameplayFileIsStillReadAndStartupFails) {
    PutSettings("tablet", "false");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(global->Startup());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("tablet"), std::string::npos);
    EXPECT_EQ(global->EditionText("type"), "desk");
    EXPECT_EQ(global->GameplayText("settings"), "s.xml");
}

TEST_F(GlobalConfigTest, MissingBorderArtFailsTheStart) {
    fs::remove(resources + "data/data.xml");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(global->Startup());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("data data.xml"), std::string::npos);
}

TEST_F(GlobalConfigDeathTest, MissingRequiredFilesEndTheGameNamingThem) {
    const struct {
        const char* file;
        const char* named;
    } cases[] = {
        {"game.xml", "game.xml"},
        {"data/share/main/other/editions.xml", "data/share/main/other editions.xml"},
        {"data/share/main/other/gameplay.xml", "edition.gameplay"},
        {"data/en/strings.xml", "strings.xml"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = resources + c.file;
        const std::string bytes = ReadFile(path);
        fs::remove(path);
        EXPECT_EXIT(global->Startup(), testing::ExitedWithCode(255), c.named);
        QRV::TestSupport::WriteBytes(path, bytes);
    }
}

// Only "fullscreen" comes back from the user's file; a file that does not read is moved aside
// whole and the shipped settings stay.
TEST_F(GlobalConfigTest, UserSettingsGiveBackOnlyFullscreen) {
    const struct {
        const char* name;
        std::optional<std::string> userFile;
        bool read;
        int32_t fullscreen;
    } cases[] = {
        {"no file", std::nullopt, false, 1},
        {"fullscreen and a language", "<game>" + Params({{"lang", "xx"}, {"fullscreen", "false"}}) + "</game>", true,
         0},
        {"no fullscreen", "<game>" + Params({{"lang", "xx"}}) + "</game>", true, 1},
        {"garbage", "<game><param key=", false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(saveBase);
        if (c.userFile) PutUserFile(*c.userFile);
        global.emplace();
        global->UserSettings().SetString("lang", "en");
        global->SetFullscreenSetting(true);
        testing::internal::CaptureStderr();
        EXPECT_EQ(global->LoadUserSettings(), c.read);
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(global->UserInt("fullscreen"), c.fullscreen);
        EXPECT_EQ(global->UserText("lang"), "en");
        if (std::string(c.name) == "garbage") {
            EXPECT_EQ(ReadFile(UserFile().string() + ".bad"), *c.userFile);
            EXPECT_FALSE(fs::exists(UserFile()));
        }
    }
}

TEST_F(GlobalConfigTest, SavingWaitsForTheLoadThenWritesTheWholeMapIntoANewFolder) {
    setenv("XDG_DATA_HOME", (saveBase / "a" / "b").c_str(), 1);
    const fs::path file = saveBase / "a" / "b" / "quorvel" / "game.xml";
    global->UserSettings().SetString("company", "c");
    global->SetFullscreenSetting(true);
    EXPECT_FALSE(global->SaveSettings());
    EXPECT_FALSE(fs::exists(file));

    EXPECT_FALSE(global->LoadUserSettings());
    ASSERT_TRUE(global->SaveSettings());
    pugi::xml_document saved;
    ASSERT_TRUE(saved.load_file(file.c_str()));
    EXPECT_STREQ(saved.document_element().name(), "game");
    EXPECT_EQ(std::distance(saved.document_element().begin(), saved.document_element().end()), 2);
    EXPECT_NE(ReadFile(file).find("\n\t<param"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(stat(file.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    gcGlobal reader;
    reader.SetFullscreenSetting(false);
    EXPECT_TRUE(reader.LoadUserSettings());
    EXPECT_EQ(reader.UserInt("fullscreen"), 1);
}

TEST_F(GlobalConfigTest, DisplayModeFollowsTheDesktop) {
    const struct {
        int32_t width, height;
        bool fullscreen, sideBars, topAndBottom;
    } cases[] = {
        {800, 600, true, true, false},
        {1920, 1080, false, true, false},
        {1280, 1024, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        global.emplace();
        global->SetFullscreenSetting(false);
        SetDesktop(c.width, c.height);
        global->ApplyDisplayMode();
        EXPECT_EQ(global->UserInt("fullscreen"), c.fullscreen ? 1 : 0);
        EXPECT_EQ(QRV::g_app->fullscreen, c.fullscreen ? 1 : 0);
        EXPECT_EQ(global->Layout().sideBars, c.sideBars);
        EXPECT_EQ(global->Layout().topAndBottom, c.topAndBottom);
    }
}

// Borders are drawn in fullscreen and, in a window, only on platforms 2 and 3; never over the
// logical screen.
TEST_F(GlobalConfigTest, BordersDrawOutsideTheScreenWhenShown) {
    const struct {
        int32_t width, height;
        const char* platform;
        bool fullscreen;
        bool drawn;
    } cases[] = {
        {1920, 1080, "pc", true, true},     {1280, 1024, "pc", true, true},    {1920, 1080, "pc", false, false},
        {1920, 1080, "Ouya", false, false}, {1920, 1080, "iPad", false, true}, {1024, 768, "pc", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " " + c.platform);
        PutSettings("desk", c.fullscreen ? "true" : "false");
        // The teardown saves the user's settings: each case starts without the last one's.
        fs::remove_all(saveBase);
        global.emplace();
        SetDesktop(c.width, c.height);
        ASSERT_TRUE(global->Startup());
        global->EditionConfig().SetString("platform", c.platform);
        EXPECT_EQ(DrawBordersOutsideTheScreen(), c.drawn ? 16u : 0u);
        global->Shutdown();
    }
}

TEST_F(GlobalConfigTest, VolumesComeFromTheCurrentPlayerOrDefaultToEightyAndSkipAbsentGroups) {
    JCSoundGroups& groups = global->GetContext()->soundGroups;
    auto* music = new JCSoundGroup();
    groups.groups["music"] = music;
    global->ApplyVolumes();
    EXPECT_FLOAT_EQ(music->gain, 0.8f);
    auto* sounds = new JCSoundGroup();
    groups.groups["sounds"] = sounds;
    global->MuteSoundGroups();
    EXPECT_EQ(music->gain + sounds->gain, 0.0f);
    global->ApplyVolumes();
    EXPECT_FLOAT_EQ(sounds->gain, 0.8f);

    JCPlayerManager& players = global->GetContext()->playerManager;
    auto player = std::make_unique<gcPlayer>();
    player->SetName(L"Zo\u00eb");
    player->SetMusicVolume(30.0f);
    player->SetSoundVolume(100.0f);
    players.SelectPlayer(players.AddPlayer(std::move(player)));
    global->ApplyVolumes();
    EXPECT_FLOAT_EQ(music->gain, 0.3f);
    EXPECT_FLOAT_EQ(sounds->gain, 1.0f);
}

// One plain function, bound to the context, serves both of the window manager's sound closures.
TEST_F(GlobalConfigTest, TheWindowManagerPlaysItsSoundsThroughTheContext) {
    gcContext* context = global->GetContext();
    const JCWindowManager& windows = context->windowManager;
    ASSERT_TRUE(windows.soundEvent);
    EXPECT_TRUE(windows.soundEvent == windows.controlSound);
    EXPECT_EQ(windows.soundEvent.object, context);
    EXPECT_EQ(windows.stringTable, &context->stringTable);
    windows.soundEvent("open.Title");  // no group "sounds" yet: nothing plays
    context->soundGroups.groups["sounds"] = new JCSoundGroup();
    windows.controlSound("click.Title.3");
}

}  // namespace
