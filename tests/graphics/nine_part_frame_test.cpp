#include "engine/graphics/nine_part_frame.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <array>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/graphics/sprite_test_support.h"

namespace QRV {
namespace {

using Platform::AddressMode;

static_assert(!std::is_copy_constructible_v<G_FRAME9> && !std::is_copy_assignable_v<G_FRAME9>,
              "the parts point at the frame's own transform");

// The attribute that fills each place.
constexpr std::array<const char*, 9> kAttribute = {"ul", "up", "ur", "lt", "mid", "rt", "dl", "dn", "dr"};

struct Size {
    int w = 0, h = 0;  // 0 x 0: no texture for the place
};

struct Rect {
    float left, top, right, bottom;
};

// Where a part lies around the frame's origin (the frame's transform untouched).
Rect PartRect(const G_FRAME9& frame, int place) {
    const G_SPRITE& part = frame.parts[place];
    const float left = part.transform->positionX - part.transform->pivotX;
    const float top = part.transform->positionY - part.transform->pivotY;
    return {left, top, left + part.width, top + part.height};
}

// The key of the test image of a size.
std::string Key(Size size) {
    std::string key = "s";
    key += std::to_string(size.w);
    key += "x";
    key += std::to_string(size.h);
    key += ".png";
    return key;
}

class NinePartFrameTest : public TestSupport::SpriteSceneTest {
protected:
    // An image of each present place's size and the element naming them.
    void MakeFrame(G_FRAME9& frame, const std::array<Size, 9>& sizes) {
        std::string element = "<border";
        for (int place = 0; place < 9; ++place) {
            if (sizes[place].w == 0) continue;
            PutImage(Key(sizes[place]), sizes[place].w, sizes[place].h);
            element += std::string(" ") + kAttribute[place] + "=\"" + Key(sizes[place]) + "\"";
        }
        element += "/>";
        ASSERT_EQ(manager.LoadMain(), 1);
        ASSERT_TRUE(doc.load_string(element.c_str()));
        frame.Load(doc.child("border"));
        frame.RestoreResources();
    }

    pugi::xml_document doc;
};

// Corners 16 x 16, upper and lower edges 8 x 16, side edges 16 x 8, middle 8 x 8.
const std::array<Size, 9> kEven = {
    {{16, 16}, {8, 16}, {16, 16}, {16, 8}, {16, 16}, {8, 16}, {16, 16}, {16, 8}, {8, 8}}};
// Left corners 16 wide, right ones 12; upper corners 20 high, lower ones 10.
const std::array<Size, 9> kUneven = {
    {{16, 20}, {4, 20}, {12, 20}, {12, 4}, {12, 10}, {4, 10}, {16, 10}, {16, 4}, {4, 4}}};

struct LayoutCase {
    const char* name;
    std::array<Size, 9> sizes;
    float width, height;
    float minWidth, minHeight;
    float finalWidth, finalHeight;
    std::array<Rect, 9> rects;  // for the present places
};

TEST_F(NinePartFrameTest, LayoutPlacesEveryPartAroundTheMiddle) {
    // Rects by place: upper-left, upper, upper-right / right, lower-right, lower / lower-left,
    // left, middle.
    const std::vector<LayoutCase> cases = {
        {"even corners",
         kEven,
         200,
         100,
         32,
         32,
         200,
         100,
         {{{-100, -50, -84, -34},
           {-84, -50, 84, -34},
           {84, -50, 100, -34},
           {84, -34, 100, 34},
           {84, 34, 100, 50},
           {-84, 34, 84, 50},
           {-100, 34, -84, 50},
           {-100, -34, -84, 34},
           {-84, -34, 84, 34}}}},
        // The vertical room is the upper plus the lower corner height (20 + 10), not the two
        // upper corners (40); left and right corners differ in width.
        {"uneven corners",
         kUneven,
         200,
         100,
         28,
         30,
         200,
         100,
         {{{-102, -55, -86, -35},
           {-86, -55, 86, -35},
           {86, -55, 98, -35},
           {86, -35, 98, 35},
           {86, 35, 98, 45},
           {-86, 35, 86, 45},
           {-102, 35, -86, 45},
           {-102, -35, -86, 35},
           {-86, -35, 86, 35}}}},
        {"no corners: the middle is the whole frame",
         {{{0, 0}, {8, 6}, {0, 0}, {5, 8}, {0, 0}, {8, 6}, {0, 0}, {5, 8}, {8, 8}}},
         100,
         50,
         0,
         0,
         100,
         50,
         {{{},
           {-50, -31, 50, -25},
           {},
           {50, -25, 55, 25},
           {},
           {-50, 25, 50, 31},
           {},
           {-55, -25, -50, 25},
           {-50, -25, 50, 25}}}},
        {"corners alone still spread to the frame's size",
         {{{10, 10}, {0, 0}, {10, 10}, {0, 0}, {10, 10}, {0, 0}, {10, 10}, {0, 0}, {0, 0}}},
         60,
         40,
         20,
         20,
         60,
         40,
         {{{-30, -20, -20, -10}, {}, {20, -20, 30, -10}, {}, {20, 10, 30, 20}, {}, {-30, 10, -20, 20}, {}, {}}}},
        {"below the minimum is raised to it",
         kEven,
         10,
         5,
         32,
         32,
         32,
         32,
         {{{-16, -16, 0, 0},
           {0, -16, 0, 0},
           {0, -16, 16, 0},
           {0, 0, 16, 0},
           {0, 0, 16, 16},
           {0, 0, 0, 16},
           {-16, 0, 0, 16},
           {-16, 0, 0, 0},
           {0, 0, 0, 0}}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        G_FRAME9 frame;
        MakeFrame(frame, c.sizes);
        EXPECT_EQ(frame.minWidth, c.minWidth);
        EXPECT_EQ(frame.minHeight, c.minHeight);
        frame.width = c.width;
        frame.height = c.height;
        frame.Layout();
        EXPECT_EQ(frame.width, c.finalWidth);
        EXPECT_EQ(frame.height, c.finalHeight);
        for (int place = 0; place < 9; ++place) {
            SCOPED_TRACE(testing::Message() << "place " << place);
            ASSERT_EQ(frame.IsPresent(place), c.sizes[place].w != 0);
            if (!frame.IsPresent(place)) continue;
            const Rect r = PartRect(frame, place);
            EXPECT_FLOAT_EQ(r.left, c.rects[place].left);
            EXPECT_FLOAT_EQ(r.top, c.rects[place].top);
            EXPECT_FLOAT_EQ(r.right, c.rects[place].right);
            EXPECT_FLOAT_EQ(r.bottom, c.rects[place].bottom);
            // All placement is in the pivots.
            EXPECT_EQ(frame.parts[place].transform->positionX, 0.0f);
            EXPECT_EQ(frame.parts[place].transform->parent, &frame.transform);
        }
    }
}

TEST_F(NinePartFrameTest, AttributesFillThePlacesInTheirListedOrder) {
    G_FRAME9 frame;
    ASSERT_TRUE(doc.load_string(R"(<b ul="a0" up="a1" ur="a2" lt="a3" mid="a4" rt="a5" dl="a6" dn="a7" dr="a8"/>)"));
    frame.Load(doc.child("b"));
    for (int place = 0; place < 9; ++place)
        EXPECT_EQ(frame.parts[place].textureName, std::string("a") + std::to_string(place));

    // An absent or empty attribute leaves its part alone; "dr" is the middle.
    ASSERT_TRUE(doc.load_string(R"(<b dr="centre" ul=""/>)"));
    frame.Load(doc.child("b"));
    EXPECT_EQ(frame.parts[G_FRAME9::Middle].textureName, "centre");
    for (int place = 0; place < 8; ++place)
        EXPECT_EQ(frame.parts[place].textureName, std::string("a") + std::to_string(place));

    frame.Load(pugi::xml_node());
    EXPECT_EQ(frame.parts[G_FRAME9::Middle].textureName, "centre");
}

TEST_F(NinePartFrameTest, UnsetSizeBecomesTheMinimumAndASetSizeSurvivesRebinding) {
    G_FRAME9 fresh;
    EXPECT_EQ(fresh.width, -1.0f);
    EXPECT_EQ(fresh.height, 0.0f);

    G_FRAME9 frame;
    MakeFrame(frame, kUneven);
    EXPECT_EQ(frame.width, 28.0f);
    EXPECT_EQ(frame.height, 30.0f);

    frame.width = 200;
    frame.height = 100;
    frame.Layout();
    frame.ReleaseResources();
    for (int place = 0; place < 9; ++place) EXPECT_FALSE(frame.IsPresent(place));
    EXPECT_EQ(Record(Key(kUneven[G_FRAME9::UpperLeft]))->refCount, 0);
    EXPECT_EQ(Record(Key(kUneven[G_FRAME9::Middle]))->refCount, 0);

    // Binding again places the pivots by bare hot spot; the layout puts them back.
    frame.RestoreResources();
    EXPECT_EQ(frame.width, 200.0f);
    EXPECT_EQ(frame.height, 100.0f);
    EXPECT_EQ(Record(Key(kUneven[G_FRAME9::UpperLeft]))->refCount, 1);
    const Rect upperLeft = PartRect(frame, G_FRAME9::UpperLeft);
    EXPECT_FLOAT_EQ(upperLeft.left, -102.0f);
    EXPECT_FLOAT_EQ(upperLeft.top, -55.0f);
    const Rect middle = PartRect(frame, G_FRAME9::Middle);
    EXPECT_FLOAT_EQ(middle.right - middle.left, 172.0f);
    EXPECT_FLOAT_EQ(middle.bottom - middle.top, 70.0f);
}

TEST_F(NinePartFrameTest, DrawsEachPresentPartThroughTheFrameTransform) {
    G_FRAME9 frame;
    MakeFrame(frame, kEven);
    frame.width = 200;
    frame.height = 100;
    frame.Layout();
    frame.transform.positionX = 500;
    frame.transform.positionY = 300;
    frame.transform.scaleX = 2;
    frame.transform.scaleY = 2;

    device->ClearRecord();
    ASSERT_EQ(render->BeginFrame(), 1);
    frame.Draw();
    ASSERT_EQ(render->EndFrame(), 0);
    const std::vector<const Platform::DeviceCall*> draws = device->Draws();
    ASSERT_EQ(draws.size(), 9u);

    struct Wrap {
        AddressMode u, v;
    };
    const Wrap wraps[9] = {
        {AddressMode::Clamp, AddressMode::Clamp}, {AddressMode::Wrap, AddressMode::Clamp},
        {AddressMode::Clamp, AddressMode::Clamp}, {AddressMode::Clamp, AddressMode::Wrap},
        {AddressMode::Clamp, AddressMode::Clamp}, {AddressMode::Wrap, AddressMode::Clamp},
        {AddressMode::Clamp, AddressMode::Clamp}, {AddressMode::Clamp, AddressMode::Wrap},
        {AddressMode::Wrap, AddressMode::Wrap},
    };
    for (int place = 0; place < 9; ++place) {
        SCOPED_TRACE(testing::Message() << "place " << place);
        const Platform::DeviceCall& draw = *draws[place];
        EXPECT_EQ(draw.state.addressU, wraps[place].u);
        EXPECT_EQ(draw.state.addressV, wraps[place].v);
        ASSERT_EQ(draw.vertices.size(), 4u);
        // Scaled by 2 about the frame's origin, which sits at (500, 300).
        const Rect r = PartRect(frame, place);
        EXPECT_FLOAT_EQ(draw.vertices[0].x, 500 + 2 * r.left);
        EXPECT_FLOAT_EQ(draw.vertices[0].y, 300 + 2 * r.top);
        EXPECT_FLOAT_EQ(draw.vertices[2].x, 500 + 2 * r.right);
        EXPECT_FLOAT_EQ(draw.vertices[2].y, 300 + 2 * r.bottom);
        // Stretched, not tiled: the whole texture over the part.
        EXPECT_EQ(draw.vertices[2].u, 1.0f);
        EXPECT_EQ(draw.vertices[2].v, 1.0f);
    }
    EXPECT_FLOAT_EQ(draws[G_FRAME9::UpperLeft]->vertices[0].x, 300.0f);
    EXPECT_FLOAT_EQ(draws[G_FRAME9::LowerRight]->vertices[2].y, 400.0f);
}

TEST_F(NinePartFrameTest, OnlyPartsBoundToARealTextureCountAndDraw) {
    G_FRAME9 frame;
    // Nothing bound yet: every part holds the no-texture record.
    for (int place = 0; place < 9; ++place) EXPECT_FALSE(frame.IsPresent(place));

    // A name whose texture is missing binds the default texture, which is real and drawn; a
    // place without a name stays absent.
    PutImage("middle.png", 8, 8);
    ASSERT_EQ(manager.LoadMain(), 1);
    ASSERT_TRUE(doc.load_string(R"(<b ul="no such.png" dr="middle.png"/>)"));
    frame.Load(doc.child("b"));
    frame.RestoreResources();
    EXPECT_EQ(frame.parts[G_FRAME9::UpperLeft].texture, render->defaultTexture);
    EXPECT_TRUE(frame.IsPresent(G_FRAME9::UpperLeft));
    EXPECT_TRUE(frame.IsPresent(G_FRAME9::Middle));
    EXPECT_FALSE(frame.IsPresent(G_FRAME9::UpperRight));
    // Width from the upper-left only; height from the upper-left only.
    EXPECT_EQ(frame.minWidth, 16.0f);
    EXPECT_EQ(frame.minHeight, 16.0f);

    frame.width = 40;
    frame.height = 30;
    frame.Layout();
    const std::vector<JS_VERTEX> drawn = DrawnVertices([&] { frame.Draw(); });
    ASSERT_EQ(drawn.size(), 8u);
    // Upper-left first, then the middle (24 x 14, centred).
    EXPECT_FLOAT_EQ(drawn[0].x, -28.0f);
    EXPECT_FLOAT_EQ(drawn[4].x, -12.0f);
    EXPECT_FLOAT_EQ(drawn[6].x, 12.0f);
    EXPECT_FLOAT_EQ(drawn[6].y, 7.0f);

    frame.ReleaseResources();
    EXPECT_TRUE(DrawnVertices([&] { frame.Draw(); }).empty());
}

}  // namespace
}  // namespace QRV
