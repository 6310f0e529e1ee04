#include "engine/graphics/sprite.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <array>
#include <string>

#include "engine/graphics/sprite_holder.h"
#include "engine/platform/input.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

constexpr float kEps = 1e-4f;

class SpriteTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        PutImage("wide.png", 64, 32);
        PutImage("art/square.png", 16, 16);
        Put("cursor.xml", "<cursor><file>wide.png</file></cursor>");
        Put("cursor2.xml", "<cursor><file>art square.png</file></cursor>");
        Put("nofile.xml", "<cursor><FILE>wide.png</FILE></cursor>");
        Put("broken.xml", "<cursor><file>");
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(manager.LoadNamed("art"));
    }

    // Parses the text and loads a sprite from its root element.
    static void LoadFrom(G_SPRITE& sprite, const std::string& xml) {
        const TestKit::ParsedXml doc(xml.c_str());
        ASSERT_TRUE(doc);
        EXPECT_TRUE(sprite.Load(doc.Root()));
    }
};

TEST_F(SpriteTest, FreshSpriteIsUnboundWithItsOwnTransform) {
    G_SPRITE sprite;
    EXPECT_EQ(sprite.texture, &render->noTexture);
    EXPECT_FALSE(sprite.HasTexture());
    ASSERT_NE(sprite.transform, nullptr);
    EXPECT_EQ(sprite.ownsTransform, 1);
    EXPECT_EQ(sprite.hotSpot, 4);
    EXPECT_EQ(sprite.renderState, 0x2432u);
    EXPECT_EQ(sprite.vertexCount, 4u);
    EXPECT_EQ(sprite.indexCount, 6u);
    EXPECT_FLOAT_EQ(sprite.width, -1.0f);
    // Unbound objects draw nothing, and releasing them does nothing.
    sprite.ReleaseResources();
    EXPECT_EQ(manager.releasedCount, 0);
    EXPECT_TRUE(DrawnVertices([&] { sprite.Draw(); }).empty());
}

TEST_F(SpriteTest, HotSpotsPlaceThePivotOnBind) {
    const std::array<std::array<float, 2>, 9> pivots = {{
        {0, 0},
        {32, 0},
        {64, 0},
        {0, 16},
        {32, 16},
        {64, 16},
        {0, 32},
        {32, 32},
        {64, 32},
    }};
    for (int anchor = 0; anchor <= 8; ++anchor) {
        SCOPED_TRACE(anchor);
        G_SPRITE sprite("wide.png");
        sprite.hotSpot = anchor;
        sprite.RestoreResources();
        EXPECT_FLOAT_EQ(sprite.width, 64.0f);
        EXPECT_FLOAT_EQ(sprite.height, 32.0f);
        EXPECT_FLOAT_EQ(sprite.transform->pivotX, pivots[static_cast<size_t>(anchor)][0]);
        EXPECT_FLOAT_EQ(sprite.transform->pivotY, pivots[static_cast<size_t>(anchor)][1]);
        // With an offset, as the nine-part frame places its parts.
        sprite.SetPivotFromHotSpot(anchor, 3, -4);
        EXPECT_FLOAT_EQ(sprite.transform->pivotX, pivots[static_cast<size_t>(anchor)][0] + 3);
        EXPECT_FLOAT_EQ(sprite.transform->pivotY, pivots[static_cast<size_t>(anchor)][1] - 4);
    }
}

TEST_F(SpriteTest, LoadReadsEveryKey) {
    G_SPRITE sprite;
    LoadFrom(sprite,
             "<s TEXTURE='ignored.png'><FILE>wide.png</FILE><HOT_SPOT>HS_DR</HOT_SPOT><POS>5 6</POS>"
             "<TRANSFORM>1 2 3 9 9 9 0 0 0.5 2 3 1</TRANSFORM><SIZE>40 20</SIZE>"
             "<COLOR>128 255 0 16</COLOR><TEXEL>0.25 0 0.75 0.5</TEXEL></s>");
    EXPECT_EQ(sprite.textureName, "wide.png");
    EXPECT_EQ(sprite.hotSpot, 8);
    EXPECT_FALSE(sprite.HasTexture());  // Load does not bind
    // TRANSFORM comes after POS; its pivot gives way to the hot spot once SIZE is read.
    EXPECT_FLOAT_EQ(sprite.transform->positionX, 1.0f);
    EXPECT_FLOAT_EQ(sprite.transform->positionY, 2.0f);
    EXPECT_FLOAT_EQ(sprite.transform->positionZ, 3.0f);
    EXPECT_FLOAT_EQ(sprite.transform->rotationZ, 0.5f);
    EXPECT_FLOAT_EQ(sprite.transform->scaleY, 3.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotX, 40.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotY, 20.0f);
    EXPECT_FLOAT_EQ(sprite.vertices[2].x, 40.0f);
    EXPECT_FLOAT_EQ(sprite.vertices[2].y, 20.0f);
    const float uv[4][2] = {{0.25f, 0}, {0.75f, 0}, {0.75f, 0.5f}, {0.25f, 0.5f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sprite.vertices[i].color, 0x80FF0010u) << i;
        EXPECT_FLOAT_EQ(sprite.vertices[i].u, uv[i][0]) << i;
        EXPECT_FLOAT_EQ(sprite.vertices[i].v, uv[i][1]) << i;
    }

    // Binding keeps the size that SIZE gave and the colour and UVs.
    sprite.RestoreResources();
    EXPECT_EQ(sprite.texture->width, 64u);
    EXPECT_FLOAT_EQ(sprite.width, 40.0f);
    EXPECT_FLOAT_EQ(sprite.height, 20.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotX, 40.0f);
    EXPECT_EQ(sprite.vertices[3].color, 0x80FF0010u);
    EXPECT_FLOAT_EQ(sprite.vertices[1].u, 0.75f);
}

TEST_F(SpriteTest, LoadFallbacksAndMalformedValues) {
    G_SPRITE sprite;
    LoadFrom(sprite,
             "<s TEXTURE='wide.png'><HOT_SPOT>middle</HOT_SPOT><POS>7</POS><TRANSFORM>1 2 3</TRANSFORM>"
             "<SIZE>x</SIZE><COLOR>1 2 3</COLOR><TEXEL>0.5 0.5</TEXEL></s>");
    EXPECT_EQ(sprite.textureName, "wide.png");
    EXPECT_EQ(sprite.hotSpot, 4);  // an unknown name is the centre
    EXPECT_FLOAT_EQ(sprite.transform->positionX, 0.0f);
    EXPECT_FLOAT_EQ(sprite.transform->scaleX, 1.0f);
    EXPECT_EQ(sprite.vertices[0].color, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(sprite.vertices[2].u, 1.0f);
    // No SIZE that could be read: the texture's size at the first bind.
    sprite.RestoreResources();
    EXPECT_FLOAT_EQ(sprite.width, 64.0f);
    EXPECT_FLOAT_EQ(sprite.height, 32.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotX, 32.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotY, 16.0f);

    G_SPRITE bare;
    LoadFrom(bare, "<s/>");
    EXPECT_EQ(bare.textureName, "");
    bare.RestoreResources();  // no name: stays unbound
    EXPECT_FALSE(bare.HasTexture());
    EXPECT_FALSE(bare.Load(pugi::xml_node()));
}

TEST_F(SpriteTest, RestoreAndReleaseCountOneUserEach) {
    JS_RESOURCE* record = Record("wide.png");
    {
        G_SPRITE sprite("wide.png");
        sprite.RestoreResources();
        ASSERT_TRUE(sprite.HasTexture());
        JS_TEXTURE* bound = sprite.texture;
        EXPECT_EQ(record->refCount, 1);
        sprite.RestoreResources();  // bound already
        EXPECT_EQ(record->refCount, 1);

        sprite.ReleaseResources();
        EXPECT_EQ(record->refCount, 0);
        EXPECT_EQ(manager.releasedCount, 1);
        EXPECT_EQ(sprite.texture, &render->noTexture);
        sprite.ReleaseResources();  // twice releases one user only
        EXPECT_EQ(record->refCount, 0);
        EXPECT_EQ(manager.releasedCount, 1);
        // Released is not freed: the texture lives until the sweep.
        EXPECT_TRUE(render->IsRegistered(bound));
        EXPECT_EQ(SweepUnusedResources(), 1);
        EXPECT_FALSE(render->IsRegistered(bound));

        // The destructor gives back what is still bound.
        sprite.RestoreResources();
        EXPECT_EQ(record->refCount, 1);
    }
    EXPECT_EQ(record->refCount, 0);
    EXPECT_EQ(manager.releasedCount, 2);
}

TEST_F(SpriteTest, MissingTextureBindsTheDefaultWithoutAUser) {
    PutImage("bad.png", 1, 1);
    Put("bad.png", "not an image");
    ASSERT_EQ(manager.LoadMain(), 1);
    for (const char* name : {"absent.png", "bad.png", "cursor.xml"}) {
        SCOPED_TRACE(name);
        G_SPRITE sprite(name);
        sprite.RestoreResources();
        EXPECT_EQ(sprite.texture, render->defaultTexture);
        EXPECT_TRUE(sprite.HasTexture());  // it still draws
        EXPECT_FLOAT_EQ(sprite.width, 16.0f);
        EXPECT_EQ(DrawnVertices([&] { sprite.Draw(); }).size(), 4u);
        sprite.ReleaseResources();
        EXPECT_EQ(sprite.texture, &render->noTexture);
        EXPECT_EQ(manager.releasedCount, 0);
    }
    EXPECT_EQ(Record("bad.png")->refCount, 0);
}

TEST_F(SpriteTest, SetTextureNameRebindsOnlyWhenBound) {
    JS_RESOURCE* wide = Record("wide.png");
    JS_RESOURCE* square = Record("art square.png");
    G_SPRITE sprite("wide.png");
    sprite.SetTextureName("art square.png");
    EXPECT_FALSE(sprite.HasTexture());
    sprite.RestoreResources();
    EXPECT_EQ(square->refCount, 1);
    EXPECT_FLOAT_EQ(sprite.width, 16.0f);

    sprite.SetTextureName("wide.png");
    EXPECT_EQ(square->refCount, 0);
    EXPECT_EQ(wide->refCount, 1);
    EXPECT_EQ(sprite.texture->width, 64u);
    EXPECT_FLOAT_EQ(sprite.width, 16.0f);  // a size once taken stays

    // A sprite showing the stand-in picks up a name that exists.
    G_SPRITE missing("absent.png");
    missing.RestoreResources();
    missing.SetTextureName("wide.png");
    EXPECT_EQ(missing.texture->width, 64u);
    EXPECT_EQ(wide->refCount, 2);
}

TEST_F(SpriteTest, CopiesLookLikeTheirSourceAndCountTheirOwnUser) {
    JS_RESOURCE* record = Record("wide.png");
    G_SPRITE source;
    LoadFrom(source, "<s><FILE>wide.png</FILE><COLOR>255 10 20 30</COLOR><TEXEL>0 0 0.5 0.5</TEXEL></s>");
    source.RestoreResources();
    source.transform->positionX = 12;
    source.renderState = 0x2436;

    G_SPRITE copy(source);
    EXPECT_EQ(record->refCount, 2);
    EXPECT_EQ(copy.texture, source.texture);
    EXPECT_NE(copy.transform, source.transform);
    EXPECT_EQ(copy.ownsTransform, 1);
    EXPECT_FLOAT_EQ(copy.transform->positionX, 12.0f);
    EXPECT_EQ(copy.renderState, 0x2436u);
    EXPECT_NE(copy.vertices, source.vertices);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.vertices[i].color, 0xFF0A141Eu);
        EXPECT_FLOAT_EQ(copy.vertices[i].u, source.vertices[i].u);
        EXPECT_FLOAT_EQ(copy.vertices[i].v, source.vertices[i].v);
        EXPECT_FLOAT_EQ(copy.vertices[i].x, source.vertices[i].x);
    }

    // Assign gives back the target's own user first; a borrowed transform is shared.
    JS_TRANSFORM3 parent;
    G_SPRITE other("wide.png");
    other.SetTransform(&parent);
    other.RestoreResources();
    EXPECT_EQ(record->refCount, 3);
    copy = other;
    EXPECT_EQ(record->refCount, 3);
    EXPECT_EQ(copy.transform, &parent);
    EXPECT_EQ(copy.ownsTransform, 0);
    EXPECT_EQ(copy.vertices[0].color, 0xFFFFFFFFu);
    G_SPRITE& alias = copy;
    copy = alias;
    EXPECT_EQ(record->refCount, 3);
    EXPECT_EQ(copy.transform, &parent);

    // An unbound source gives an unbound copy.
    G_SPRITE unbound("wide.png");
    G_SPRITE unboundCopy(unbound);
    EXPECT_FALSE(unboundCopy.HasTexture());
    EXPECT_EQ(record->refCount, 3);
}

TEST_F(SpriteTest, DrawPlacesTheQuadThroughItsParent) {
    JS_TRANSFORM3 parent;
    parent.positionX = 100;
    parent.positionY = 100;
    parent.scaleX = parent.scaleY = 2;
    G_SPRITE sprite;
    LoadFrom(sprite, "<s><FILE>wide.png</FILE><POS>10 0</POS><COLOR>255 0 0 255</COLOR></s>");
    sprite.transform->parent = &parent;
    sprite.RestoreResources();

    const std::vector<JS_VERTEX> v = DrawnVertices([&] { sprite.Draw(); });
    ASSERT_EQ(v.size(), 4u);
    // Centre at (120, 100), 64 x 32 scaled by 2.
    const float corners[4][2] = {{56, 68}, {184, 68}, {184, 132}, {56, 132}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(v[static_cast<size_t>(i)].x, corners[i][0], kEps) << i;
        EXPECT_NEAR(v[static_cast<size_t>(i)].y, corners[i][1], kEps) << i;
        EXPECT_EQ(v[static_cast<size_t>(i)].color, 0xFF0000FFu);
    }
    EXPECT_EQ(device->Draws().size(), 1u);
}

TEST_F(SpriteTest, MouseOverIgnoresRotationAndScale) {
    JC_INPUT input;
    G_SPRITE sprite("wide.png");
    sprite.RestoreResources();  // 64 x 32, centred
    JS_TRANSFORM3 parent;
    parent.positionX = 200;
    sprite.transform->parent = &parent;
    sprite.transform->positionY = 100;
    sprite.transform->rotationZ = 1.0f;
    sprite.transform->scaleX = 3;
    const struct {
        int x, y;
        bool over;
    } cases[] = {
        {168, 84, true},   {232, 116, true},  {200, 100, true},  // corners are inside
        {167, 100, false}, {233, 100, false}, {200, 83, false},
        {200, 117, false}, {250, 100, false},  // inside the scaled quad, outside the plain box
    };
    for (const auto& c : cases) {
        input.mouseX = c.x;
        input.mouseY = c.y;
        EXPECT_EQ(sprite.IsMouseOver(), c.over) << c.x << "," << c.y;
    }
}

TEST_F(SpriteTest, FitUVsToQuadRepeatsTheTexture) {
    G_SPRITE sprite("wide.png");
    sprite.RestoreResources();
    sprite.SetSize(160.5f, 8);
    sprite.FitUVsToQuad();
    EXPECT_FLOAT_EQ(sprite.vertices[2].u, 160.0f / 64);
    EXPECT_FLOAT_EQ(sprite.vertices[2].v, 8.0f / 32);
    EXPECT_FLOAT_EQ(sprite.vertices[0].u, 0.0f);
    EXPECT_FLOAT_EQ(sprite.transform->pivotX, 80.25f);  // the centre follows the new size
}

TEST_F(SpriteTest, MeshColourReachesEveryVertex) {
    G_SPRITE sprite;
    SetMeshColor(&sprite, 0x11223344);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(sprite.vertices[i].color, 0x11223344u);
    SetMeshColor(static_cast<G_SPRITE*>(nullptr), 0);
}

TEST_F(SpriteTest, LoadFromResourceMakesOrRenamesTheHolderSprite) {
    JS_SPRITE_HOLDER holder;
    EXPECT_FALSE(LoadSpriteFromResource(holder, "absent.xml"));
    EXPECT_FALSE(LoadSpriteFromResource(holder, "broken.xml"));
    EXPECT_FALSE(LoadSpriteFromResource(holder, "nofile.xml"));  // the child is "file", lower case
    EXPECT_EQ(holder.sprite, nullptr);

    const int32_t releasedBefore = manager.releasedCount;
    ASSERT_TRUE(LoadSpriteFromResource(holder, "cursor.xml"));
    ASSERT_NE(holder.sprite, nullptr);
    G_SPRITE* made = holder.sprite.get();
    EXPECT_EQ(made->textureName, "wide.png");
    EXPECT_EQ(made->hotSpot, 0);
    // The document's user was counted only while reading.
    EXPECT_EQ(Record("cursor.xml")->refCount, 0);
    EXPECT_EQ(Record("cursor.xml")->kind, kResourceXml);
    EXPECT_EQ(manager.releasedCount, releasedBefore + 1);

    made->RestoreResources();
    EXPECT_FLOAT_EQ(made->transform->pivotX, 0.0f);
    EXPECT_FLOAT_EQ(made->transform->pivotY, 0.0f);
    ASSERT_TRUE(LoadSpriteFromResource(holder, "cursor2.xml"));
    EXPECT_EQ(holder.sprite.get(), made);
    EXPECT_EQ(made->textureName, "art square.png");
    EXPECT_EQ(Record("art square.png")->refCount, 1);
    EXPECT_EQ(Record("wide.png")->refCount, 0);

    // A failing load later leaves the sprite as it was.
    EXPECT_FALSE(LoadSpriteFromResource(holder, "nofile.xml"));
    EXPECT_EQ(made->textureName, "art square.png");
}

}  // namespace
}  // namespace QRV
