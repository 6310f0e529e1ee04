// What the game as a whole needs from the built Resources/, read back through the engine's own
// readers: the dialogs, the notice and the screens' stand-ins in the window list with the types
// and control ids the game looks up, the purchase overlay in "data data.xml", the game cursor and
// the level sounds.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/sprite_holder.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/paths.h"
#include "engine/resources/repository_manager.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/string_table.h"
#include "engine/sound/sound_groups.h"
#include "engine/windows/window_confirm.h"
#include "engine/windows/window_manager.h"
#include "engine/windows/window_simple.h"
#include "game/screens/screen_windows.h"
#include "game/ui/window_factory.h"
#include "tests/test_kit/built_content.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/rgba_image.h"
#include "tools/content_builder/all_content.h"
#include "tools/content_builder/border_art.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/game_cursor.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/help_content.h"
#include "tools/content_builder/output_tree.h"
#include "tools/content_builder/purchase_overlay.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/title_art.h"
#include "tools/content_builder/window_content.h"

namespace {

namespace fs = std::filesystem;
namespace CB = ContentBuilder;
namespace Theme = ContentBuilder::Theme;

const fs::path kContent = QUORVEL_CONTENT_DIR;

class GameWholeContent : public ::testing::Test {
protected:
    void SetUp() override {
        previousDir = fs::current_path();
        QRV::JC_PATHS::Instance();
        fs::current_path(QRV::TestKit::BuiltContentFolder());
        QRV::JC_PATHS::Instance()->Setup();
        globals.Set(QRV::g_repositoryManager, &manager);
        QRV::LoadRepository("");
        for (const char* repository : {"data", "data/en", "data/share/windows", "data/share/main/other",
                                       "data/share/font", "data/share/gui", "data/share/sound", "data/share/layouts"})
            ASSERT_TRUE(QRV::LoadRepository(repository)) << repository;
        ASSERT_TRUE(strings.LoadFromResource("data/en strings.xml"));
    }
    void TearDown() override {
        windows.reset();
        manager.Destroy();
        globals.Restore();
        fs::current_path(previousDir);
    }

    // The window list loaded as the game loads it, with the game's factory.
    JCWindowManager& LoadWindowList() {
        windows = std::make_unique<JCWindowManager>(&strings);
        windows->defaultFactory = &CreateWindowByType;
        RegisterScreenWindows();
        EXPECT_TRUE(windows->LoadWindows("data/share/main/other windows.xml"));
        return *windows;
    }
    static fs::path FileOfKey(const std::string& key) {
        return QRV::TestKit::BuiltContentFolder() / CB::RunPathOfKey(key);
    }
    std::wstring Text(const std::string& key) const { return QRV::Utf8ToWide(strings.Find(key)); }

    fs::path previousDir;
    QRV::JC_REPOSITORY_MANAGER manager;
    QRV::TestKit::GlobalGuard globals;
    QRV::TestKit::NullRenderer renderer;
    QRV::JC_STRING_TABLE strings;
    std::unique_ptr<JCWindowManager> windows;
};

// Each dialog the game opens by name: a confirm (it answers and hides itself) or a plain window,
// modal or not, with the controls the game and the confirm class read, each in its place.
TEST_F(GameWholeContent, DialogsHaveTheirTypesAndControls) {
    enum Kind { kConfirm, kSimple };
    const struct {
        const char* name;
        Kind kind;
        bool modal;
        std::vector<int32_t> buttons;  // push buttons, all enabled
        std::vector<int32_t> absent;   // ids the window must not have: they would answer
        const char* textKey;           // label 2 (the confirm's text), or the notice's label
    } dialogs[] = {
        {"GP_Tutorial_Question", kConfirm, true, {3, 4}, {5}, "gp_tutorial_question_txt"},
        {"Confirm_SecondChance", kConfirm, true, {3, 4, 5}, {}, "confirm_secondchance_txt"},
        {"Confirm_SecondChanceBuy", kConfirm, true, {3, 4}, {5}, "confirm_secondchancebuy_txt"},
        {"Confirm_Restart_Finish", kConfirm, true, {3, 4}, {5}, "confirm_restart_finish_txt"},
        // One way out, answering 0: back to the level list, never a restart.
        {"confirm_restart_health_is_empty", kConfirm, true, {5}, {3, 4}, "confirm_restart_health_is_empty_txt"},
        {"purchase_success", kConfirm, true, {3}, {4, 5}, "purchase_success_txt"},
        {"purchase_fail", kConfirm, true, {3}, {4, 5}, "purchase_fail_txt"},
        {"GP_FeedBack_Reset", kSimple, false, {}, {1, 2, 3, 4, 5}, "gp_feedback_reset_txt"},
    };
    LoadWindowList();
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        JCWindow* window = windows->FindWindow(d.name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->modal != 0, d.modal);
        const QRV::JC_GUI_OBJECT* root = window->gui->rootObject;
        if (d.kind == kConfirm) {
            auto* confirm = dynamic_cast<JCWindow_Confirm*>(window);
            ASSERT_NE(confirm, nullptr);
            ASSERT_NE(confirm->textLabel, nullptr);
            EXPECT_EQ(confirm->textLabel->GetText(), Text(d.textKey));
        } else {
            EXPECT_NE(dynamic_cast<JCWindow_Simple*>(window), nullptr);
            bool found = false;
            for (const int32_t id : {101, 102}) {
                const auto* label = dynamic_cast<const QRV::JC_GUI_WLABEL*>(root->FindChildById(id));
                found = found || (label != nullptr && label->GetText() == Text(d.textKey));
            }
            EXPECT_TRUE(found);
        }
        for (const int32_t id : d.buttons) {
            const auto* button = dynamic_cast<const QRV::JC_GUI_BUTTON5*>(root->FindChildById(id));
            ASSERT_NE(button, nullptr) << id;
            EXPECT_NE(button->GetState(), 4) << id;
        }
        for (const int32_t id : d.absent) EXPECT_EQ(root->FindChildById(id), nullptr) << id;
    }
    // The price goes into label 1 of the buy question.
    const JCWindow* buy = windows->FindWindow("Confirm_SecondChanceBuy");
    EXPECT_NE(dynamic_cast<const QRV::JC_GUI_WLABEL*>(buy->gui->rootObject->FindChildById(1)), nullptr);
    // The notice hides itself as soon as it has shown; its hide waits long enough to read it.
    EXPECT_GE(windows->FindWindow("GP_FeedBack_Reset")->hideDelay, 1.5f);
}

// The screens the game root switches between lie behind every dialog and dim nothing.
TEST_F(GameWholeContent, ScreensLieBehindEveryDialog) {
    LoadWindowList();
    int dialogLayer = 0;
    for (const JCWindow* window : windows->Windows())
        if (window->modal != 0 && window->name != "Fade_Transition") dialogLayer = std::max(dialogLayer, window->layer);
    for (const char* name : {"Title", "Pack_Title", "Packs", "Level_Title", "Levels", "Tutorial_Title", "Tutorial",
                             "Trophy_Title", "Trophy"}) {
        SCOPED_TRACE(name);
        const JCWindow* window = windows->FindWindow(name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->modal, 0);
        EXPECT_LT(window->layer, dialogLayer);
    }
    EXPECT_EQ(strings.Find("windowname_txt_premium"), "Quorvel");
}

TEST_F(GameWholeContent, PurchaseOverlayDimsTheScreenUnderATurningAnimation) {
    pugi::xml_document* data = QRV::AcquireXmlResource("data data.xml");
    ASSERT_NE(data, nullptr);
    const pugi::xml_node purchase = data->document_element().child("purchase");
    QRV::G_SPRITE background;
    QRV::G_ANIMATION animation;
    EXPECT_TRUE(background.Load(purchase.child("background")));
    EXPECT_TRUE(animation.Load(purchase.child("animation")));
    QRV::ReleaseXml(data);

    EXPECT_EQ(background.vertices[0].color, Theme::Argb(Theme::kInk, 0x66));
    EXPECT_EQ(background.width, 1024.0f);
    EXPECT_EQ(background.height, 768.0f);
    EXPECT_EQ(animation.frameCount, Theme::kPurchaseOverlay.frames);
    EXPECT_EQ(animation.loop, 1);
    EXPECT_GT(animation.fps, 0.0f);
    for (const std::string& key : {background.textureName, animation.textureName})
        EXPECT_TRUE(fs::is_regular_file(FileOfKey(key))) << key;
    const QRV::TestKit::RgbaImage sheet = QRV::TestKit::LoadRgbaImage(FileOfKey(animation.textureName).string());
    EXPECT_EQ(sheet.width, sheet.height * animation.frameCount);
}

// The lit part of the ring moves one step clockwise per frame: the frames' light centres lie on one
// circle around the cell's middle, a twelfth of a turn apart.
TEST_F(GameWholeContent, PurchaseSpinnerTurnsOneStepPerFrame) {
    const CB::TextureImage sheet = CB::DrawPurchaseSpinner();
    const int frames = Theme::kPurchaseOverlay.frames, cell = sheet.height;
    ASSERT_EQ(sheet.width, cell * frames);
    std::vector<float> angles;
    for (int f = 0; f < frames; ++f) {
        // The alpha-weighted centre, with the faint tail weighed down.
        double sx = 0, sy = 0, sw = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                const double a = sheet.rgba[(static_cast<size_t>(y) * sheet.width + f * cell + x) * 4 + 3] / 255.0;
                const double w = std::pow(a, 8.0);
                sx += w * (x + 0.5 - cell / 2.0), sy += w * (y + 0.5 - cell / 2.0), sw += w;
            }
        ASSERT_GT(sw, 0.0) << f;
        EXPECT_GT(std::hypot(sx / sw, sy / sw), Theme::kPurchaseOverlay.ringRadius / 2) << f;
        angles.push_back(static_cast<float>(std::atan2(sx / sw, -sy / sw)));  // clockwise from the top
    }
    const float step = 2.0f * std::numbers::pi_v<float> / static_cast<float>(frames);
    for (int f = 0; f < frames; ++f) {
        float turn = angles[(f + 1) % frames] - angles[f];
        turn = std::remainder(turn, 2.0f * std::numbers::pi_v<float>);
        EXPECT_NEAR(turn, step, step * 0.25f) << f;
        // The fading tail trails the lit dot: the dot just behind it is brighter than the one ahead.
        const auto alphaAt = [&](float angle) {
            const float r = Theme::kPurchaseOverlay.ringRadius;
            const int x = f * cell + static_cast<int>(cell / 2.0f + r * std::sin(angle));
            const int y = static_cast<int>(cell / 2.0f - r * std::cos(angle));
            return sheet.rgba[(static_cast<size_t>(y) * sheet.width + x) * 4 + 3];
        };
        EXPECT_GT(alphaAt(angles[f] - step), alphaAt(angles[f] + step)) << f;
    }
}

// The cursor sprite is drawn with its upper-left pixel at the pointer, so the arrow's tip must be
// there: an ink tip at the corner with the paper outline around it, and nothing further up-left.
TEST_F(GameWholeContent, CursorLoadsWithItsTipAtTheHotSpot) {
    QRV::JS_SPRITE_HOLDER holder;
    ASSERT_TRUE(QRV::LoadSpriteFromResource(holder, "data/share/main/other gCursor.xml"));
    EXPECT_EQ(holder.sprite->hotSpot, 0);
    const QRV::TestKit::RgbaImage cursor = QRV::TestKit::LoadRgbaImage(FileOfKey(holder.sprite->textureName).string());
    ASSERT_GT(cursor.width, 16);
    // Ink: dark and mostly opaque; paper: light and mostly opaque.
    const auto isInk = [&](int x, int y) {
        const uint8_t* p = cursor.At(x, y);
        return p[3] > 128 && p[0] < 120 && p[1] < 120;
    };
    const auto isPaper = [&](int x, int y) {
        const uint8_t* p = cursor.At(x, y);
        return p[3] > 128 && p[0] > 200 && p[1] > 200;
    };
    // The tip: the first ink pixel from the top, at the left.
    int tipX = -1, tipY = -1;
    for (int y = 0; y < cursor.height && tipY < 0; ++y)
        for (int x = 0; x < cursor.width && tipX < 0; ++x)
            if (isInk(x, y)) tipX = x, tipY = y;
    ASSERT_GE(tipY, 0);
    EXPECT_LE(tipX, 3);
    EXPECT_LE(tipY, 4);
    // Outlined: paper between the tip and the corner, and along the arrow's left edge.
    bool outlined = false;
    for (int y = 0; y < tipY; ++y) outlined = outlined || isPaper(tipX, y);
    EXPECT_TRUE(outlined);
    EXPECT_TRUE(isPaper(0, cursor.height / 2) || isPaper(1, cursor.height / 2));
    // The arrow points up-left: it fills the left half more than the right.
    int left = 0, right = 0;
    for (int y = 0; y < cursor.height; ++y)
        for (int x = 0; x < cursor.width; ++x) (x < cursor.width / 2 ? left : right) += isInk(x, y) ? 1 : 0;
    EXPECT_GT(left, 2 * right);
}

TEST_F(GameWholeContent, LevelSoundsAreInTheSoundsGroup) {
    pugi::xml_document* catalogue = QRV::AcquireXmlResource("data/share/main/other sound.xml");
    ASSERT_NE(catalogue, nullptr);
    JCSoundGroups groups;
    EXPECT_EQ(groups.Load(catalogue->document_element()), 1);
    QRV::ReleaseXml(catalogue);
    const JCSoundGroup* sounds = groups.FindGroup("sounds");
    ASSERT_NE(sounds, nullptr);
    for (const char* name : {"levelshow", "hint", "levelwin", "levelloose"}) {
        SCOPED_TRACE(name);
        const JCSoundEntry* entry = sounds->FindSound(name);
        ASSERT_NE(entry, nullptr);
        EXPECT_GT(fs::file_size(FileOfKey(entry->path)), 1000u);
    }
}

}  // namespace
