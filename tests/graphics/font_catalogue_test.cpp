#include "engine/graphics/font_catalogue.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "engine/graphics/render.h"
#include "tests/graphics/bmfont_test_support.h"
#include "tests/platform/test_images.h"
#include "tests/resources/resource_test_support.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

class FontCatalogueTest : public TestSupport::ResourceTreeTest {
protected:
    void SetUp() override {
        ResourceTreeTest::SetUp();
        ASSERT_EQ(renderer.created, 1);

        const std::vector<uint8_t> png = TestImages::SolidPng(128, 64, 255, 255, 255, 255);
        Put("font/atlas.png", std::string(png.begin(), png.end()));
        Put("font/other.png", std::string(png.begin(), png.end()));
        Put("font/test.xml", TestSupport::kTestFontXml);
        Put("font/second.xml", R"(<font><info face="Second"/><common lineHeight="30"/><chars/></font>)");
        Put("font/unrelated.xml", "<unrelated/>");
        Put("font/broken.xml", "<fonts><open>");
        Put("font/empty.xml", "<catalogue><other/></catalogue>");
        Put("font/fonts.xml", R"(<catalogue><fonts>
            <font name="body" texture="font atlas.png" xml="font test.xml"/>
            <font name="body" texture="font other.png" xml="font second.xml"/>
            <font name="second" texture="font atlas.png" xml="font second.xml"/>
            <font name="noxml" texture="font atlas.png"/>
            <font texture="font atlas.png" xml="font test.xml"/>
            <font name="lost" texture="font atlas.png" xml="font missing.xml"/>
            <font name="blank" texture="font missing.png" xml="font test.xml"/>
            </fonts></catalogue>)");
        ASSERT_TRUE(manager.LoadNamed("font"));
    }
    void TearDown() override {
        catalogue.ReleaseAll();
        ResourceTreeTest::TearDown();  // records go while the renderer still exists
    }

    int32_t Users(const std::string& key) {
        const JS_RESOURCE* record = manager.GetResource(key);
        EXPECT_NE(record, nullptr) << key;
        return record != nullptr ? record->refCount : -1000;
    }

    TestKit::NullRenderer renderer;
    JC_RENDER* render = renderer.render.get();
    JCFontCatalogue catalogue;
};

TEST_F(FontCatalogueTest, LoadsEachReadableEntryOnceUnderItsName) {
    ASSERT_TRUE(catalogue.Load("font fonts.xml"));
    EXPECT_EQ(catalogue.Fonts().size(), 3u);  // body, second, blank

    JC_BMFONT_TEXT* body = catalogue.Find("body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->faceName, "Test Face") << "a repeated name keeps the first font";
    EXPECT_EQ(body->texture, static_cast<JS_TEXTURE*>(manager.GetResource("font atlas.png")->object));
    EXPECT_EQ(body->Capacity(), JCFontCatalogue::kMaxCharacters);
    EXPECT_EQ(body->Glyphs().count(65), 1u);
    ASSERT_NE(catalogue.Find("second"), nullptr);
    EXPECT_EQ(catalogue.Find("second")->lineHeight, 30);

    EXPECT_EQ(catalogue.Find("noxml"), nullptr);
    EXPECT_EQ(catalogue.Find("lost"), nullptr) << "an entry whose description cannot be read is skipped";
    ASSERT_NE(catalogue.Find("blank"), nullptr) << "a missing atlas draws with the default texture";
    EXPECT_EQ(catalogue.Find("blank")->texture, render->defaultTexture);
    EXPECT_EQ(catalogue.Find("nothing"), nullptr);
}

TEST_F(FontCatalogueTest, FontsHoldOneAtlasUserEachUntilReleased) {
    ASSERT_TRUE(catalogue.Load("font fonts.xml"));
    EXPECT_EQ(Users("font atlas.png"), 2) << "body and second";
    EXPECT_EQ(Users("font other.png"), 0) << "the skipped duplicate holds nothing";
    EXPECT_EQ(Users("font fonts.xml"), 0);
    EXPECT_EQ(Users("font test.xml"), 0);
    EXPECT_EQ(Users("font second.xml"), 0);
    // The missing description is never released, so no unloaded record is touched.
    EXPECT_EQ(Users("font unrelated.xml"), 0);
    EXPECT_EQ(Users("font broken.xml"), 0);

    catalogue.ReleaseAll();
    EXPECT_TRUE(catalogue.Fonts().empty());
    EXPECT_EQ(Users("font atlas.png"), 0);
    EXPECT_EQ(SweepUnusedResources() > 0, true);
}

TEST_F(FontCatalogueTest, MissingOrUnreadableCatalogueIsAFailure) {
    for (const char* key : {"font nowhere.xml", "font broken.xml", "font empty.xml", "nofolder fonts.xml"}) {
        EXPECT_FALSE(catalogue.Load(key)) << key;
        EXPECT_TRUE(catalogue.Fonts().empty()) << key;
    }
    EXPECT_EQ(Users("font empty.xml"), 0) << "the document's user is released on failure too";
    EXPECT_EQ(Users("font unrelated.xml"), 0);
}

TEST_F(FontCatalogueTest, ReferenceReadsNameColourAndAnchor) {
    ASSERT_TRUE(catalogue.Load("font fonts.xml"));
    const TestKit::ParsedXml layout(R"(<layout>
        <a fntName="body" fntColor="FF102030" fntHotSpot="HS_DR"/>
        <b fntName="body"/>
        <c fntName="unknown"/>
        <d fntColor="FF102030"/>
        </layout>)");
    ASSERT_TRUE(layout);
    const pugi::xml_node root = layout.Root();

    JCFontRef full;
    ASSERT_TRUE(full.Load(root.child("a"), &catalogue));
    EXPECT_EQ(full.font, catalogue.Find("body"));
    EXPECT_EQ(full.fontName, "body");
    EXPECT_EQ(full.color, 0xFF102030u);
    EXPECT_EQ(full.anchor, 8);

    JCFontRef plain;
    ASSERT_TRUE(plain.Load(root.child("b"), &catalogue));
    EXPECT_EQ(plain.color, 0xFFFFFFFFu);
    EXPECT_EQ(plain.anchor, 4);

    JCFontRef unknown;
    unknown.font = catalogue.Find("body");
    EXPECT_FALSE(unknown.Load(root.child("c"), &catalogue));
    EXPECT_EQ(unknown.font, nullptr);

    JCFontRef nameless;
    EXPECT_FALSE(nameless.Load(root.child("d"), &catalogue));
    EXPECT_FALSE(nameless.Load(pugi::xml_node(), &catalogue));
    EXPECT_FALSE(nameless.Load(root.child("a"), nullptr));
    nameless.DrawText(nullptr, 0, 0, L"A");  // no font: nothing
}

TEST_F(FontCatalogueTest, ReferenceDrawsWithItsLookAndLeavesTheSharedFontAsItWas) {
    ASSERT_TRUE(catalogue.Load("font fonts.xml"));
    JC_BMFONT_TEXT* body = catalogue.Find("body");
    ASSERT_NE(body, nullptr);
    JCFontRef ref;
    ref.font = body;
    ref.color = 0xFF102030;
    ref.anchor = 0;
    JS_TRANSFORM3 parent;
    parent.positionX = 300;
    parent.positionY = 200;

    auto* device = static_cast<Platform::NullRenderDevice*>(render->Device());
    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    ref.DrawText(&parent, 10, 20, L"A");
    ref.Draw(&parent, 10, 60, L"%ls", L"B");
    ASSERT_EQ(render->EndFrame(), 0);

    const auto draws = device->Draws();
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_EQ(draws[0]->vertices.size(), 8u);
    EXPECT_FLOAT_EQ(draws[0]->vertices[0].x, 311);  // upper-left anchor, under the parent
    EXPECT_FLOAT_EQ(draws[0]->vertices[0].y, 222);
    EXPECT_FLOAT_EQ(draws[0]->vertices[4].y, 263);
    for (const JS_VERTEX& v : draws[0]->vertices) EXPECT_EQ(v.color, 0xFF102030u);

    EXPECT_EQ(body->color, 0xFFFFFFFFu);
    EXPECT_EQ(body->anchor, 4);
    EXPECT_EQ(body->transform.parent, nullptr) << "no parent may dangle in the shared font";
}

}  // namespace
}  // namespace QRV
