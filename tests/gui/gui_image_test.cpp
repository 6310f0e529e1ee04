#include "engine/gui/gui_image.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <string>

#include "engine/graphics/animation.h"
#include "engine/platform/clock.h"
#include "tests/bots/bot_test_support.h"
#include "tests/graphics/sprite_test_support.h"

namespace QRV {
namespace {

class GuiImageTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        PutImage("photo.png", 40, 20);
        PutImage("sheet.png", 80, 20);
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    std::unique_ptr<JC_GUI_IMAGE> Make(const std::string& xml) {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(xml.c_str()));
        return std::make_unique<JC_GUI_IMAGE>(document.document_element());
    }
};

TEST_F(GuiImageTest, TheSpriteReadsTheElementOnTheWidgetsTransform) {
    auto image = Make(R"(<IMAGE ID="12" TEXTURE="photo.png"><POS>300 200</POS></IMAGE>)");
    EXPECT_EQ(image->GetId(), 12);
    EXPECT_EQ(image->kind, GUI_KIND::Image);
    EXPECT_EQ(image->sprite->transform, image->transform);
    EXPECT_FLOAT_EQ(image->transform->positionX, 300);
    image->RestoreResources();
    EXPECT_FLOAT_EQ(image->GetWidth(), 40);
    EXPECT_FLOAT_EQ(image->GetHeight(), 20);
    EXPECT_EQ(image->GetTexture(), image->sprite->texture);
    // Centred by default, at the widget's position.
    const std::vector<JS_VERTEX> drawn = DrawnVertices([&] { image->Draw(); });
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_FLOAT_EQ(drawn[0].x, 280);
    EXPECT_FLOAT_EQ(drawn[0].y, 190);

    image->SetVisible(false);
    EXPECT_TRUE(DrawnVertices([&] { image->Draw(); }).empty());
    EXPECT_EQ(Make("<IMAGE/>")->GetId(), 0);
}

TEST_F(GuiImageTest, TheHotSpotAttributeAnchorsOnlyWhenGiven) {
    const struct {
        const char* xml;
        float pivotX, pivotY;
    } cases[] = {
        {R"(<IMAGE TEXTURE="photo.png"><HOT_SPOT>HS_UL</HOT_SPOT></IMAGE>)", 0, 0},
        {R"(<IMAGE TEXTURE="photo.png" HOT_SPOT="HS_DR"><HOT_SPOT>HS_UL</HOT_SPOT></IMAGE>)", 40, 20},
        {R"(<IMAGE TEXTURE="photo.png" HOT_SPOT="nonsense"/>)", 20, 10},
        {R"(<IMAGE TEXTURE="photo.png"/>)", 20, 10},
    };
    for (const auto& c : cases) {
        auto image = Make(c.xml);
        image->RestoreResources();  // the pivot follows the hot spot once the size is known
        EXPECT_FLOAT_EQ(image->transform->pivotX, c.pivotX) << c.xml;
        EXPECT_FLOAT_EQ(image->transform->pivotY, c.pivotY) << c.xml;
    }
}

TEST_F(GuiImageTest, PressesAndReleasesAnswerOnlyWithAStoredCode) {
    auto image = Make(R"(<IMAGE ID="3" TEXTURE="photo.png"/>)");
    EXPECT_EQ(image->OnMouseDown(), nullptr);
    EXPECT_EQ(image->OnMouseUp(), nullptr);
    image->event.code = GUI_EVENT::Click;
    EXPECT_EQ(image->OnMouseDown(), &image->event);
    EXPECT_EQ(image->OnMouseUp(), &image->event);
    EXPECT_EQ(image->OnMouseUp()->code, GUI_EVENT::Click);
}

TEST_F(GuiImageTest, AStartedAnimationStepsWithTheFrameTime) {
    BotTest::FrameTimeGuard guard;
    auto image = Make(R"(<IMAGE TEXTURE="sheet.png"><ANIMATION grid="4 1" frames="4" fps="10"/></IMAGE>)");
    image->RestoreResources();
    EXPECT_FLOAT_EQ(image->GetWidth(), 20);
    g_frameTime.store(0.15f);  // 1.5 frames: one step per update
    image->Update();
    EXPECT_EQ(image->sprite->frame, 0);  // not started: nothing moves
    image->sprite->playing = 1;
    EXPECT_EQ(image->Update(), nullptr);
    image->Update();
    EXPECT_EQ(image->sprite->frame, 2);
}

TEST_F(GuiImageTest, AlphaReachesTheSpriteAndSurvivesRebinding) {
    auto image = Make(R"(<IMAGE TEXTURE="photo.png"><COLOR>255 255 0 0</COLOR></IMAGE>)");
    image->SetAlphaTree(0.5f);
    image->RestoreResources();
    EXPECT_EQ(image->sprite->vertices[0].color, 0x80FF0000u);
    JS_RESOURCE* photo = Record("photo.png");
    JS_RESOURCE* sheet = Record("sheet.png");
    EXPECT_EQ(photo->refCount, 1);
    image->SetTexture("sheet.png");
    EXPECT_EQ(photo->refCount, 0);
    EXPECT_EQ(sheet->refCount, 1);
    EXPECT_EQ(image->sprite->vertices[3].color >> 24, 0x80u);
    image->ReleaseResources();
    EXPECT_EQ(sheet->refCount, 0);
    // Unbound, only the name changes.
    image->SetTexture("photo.png");
    EXPECT_EQ(photo->refCount, 0);
    image->RestoreResources();
    EXPECT_EQ(photo->refCount, 1);
}

}  // namespace
}  // namespace QRV
