#include "engine/graphics/animation.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <string>
#include <vector>

#include "engine/platform/clock.h"
#include "tests/graphics/sprite_test_support.h"
#include "tests/test_kit/parsed_xml.h"

namespace QRV {
namespace {

// Keeps the global frame time of the other tests out of these and restores it afterwards.
class AnimationTest : public TestSupport::SpriteSceneTest {
protected:
    void SetUp() override {
        SpriteSceneTest::SetUp();
        globals.Set(g_frameTime, 0.25f);
    }

    // A w x h image below Resources, known to the cache.
    void PutSheet(const std::string& key, int w, int h) {
        PutImage(key, w, h);
        ASSERT_EQ(manager.LoadMain(), 1);
    }

    // Binds a blank w x h sheet directly (no cache record, no user counted).
    void Bind(G_ANIMATION& animation, uint32_t w, uint32_t h) {
        JS_TEXTURE* sheet = render->CreateBlankTexture(w, h);
        ASSERT_NE(sheet, nullptr);
        animation.SetTexture(sheet);
    }

    float previousFrameTime = 0.0f;
};

// The frame a quad shows, read back from its upper-left texture coordinate.
int ShownFrame(const G_ANIMATION& a) {
    const float u = std::min(a.vertices[0].u, a.vertices[1].u);
    const int col = static_cast<int>(std::lround(u / a.cellWidth));
    const int row = static_cast<int>(std::lround(a.vertices[0].v / a.cellHeight));
    return row * a.columns + col;
}

// Starts as an owner does: from frame 0 forward, or from the last frame stepping back.
void Start(G_ANIMATION& a, int32_t step) {
    a.playing = 1;
    a.step = step;
    a.startDelay = 0.0f;
    a.SetFrame(step > 0 ? 0 : a.LastFrame());
}

// The frames shown by successive stepping updates, until the animation stops or `updates` ran.
std::vector<int> Play(G_ANIMATION& a, int updates) {
    std::vector<int> shown;
    for (int i = 0; i < updates && a.playing != 0; ++i) {
        if (a.Update() == 1) shown.push_back(ShownFrame(a));
    }
    return shown;
}

struct EndRuleCase {
    const char* name;
    uint8_t loop, pingPong, direction;
    int32_t frames;
    std::vector<int> shown;  // 12 updates at most
    bool stillPlaying;
};

TEST_F(AnimationTest, EndRulesForEveryFlagCombinationForwardAndBackward) {
    const std::vector<EndRuleCase> cases = {
        {"loop forward", 1, 0, 1, 4, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}, true},
        {"once forward", 0, 0, 1, 4, {0, 1, 2, 3}, false},
        {"loop ping-pong forward", 1, 1, 1, 4, {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1}, true},
        {"once ping-pong forward", 0, 1, 1, 4, {0, 1, 2, 3, 2, 1, 0}, false},
        {"loop backward", 1, 0, 0, 4, {3, 2, 1, 0, 3, 2, 1, 0, 3, 2, 1, 0}, true},
        {"once backward", 0, 0, 0, 4, {3, 2, 1, 0}, false},
        {"loop ping-pong backward", 1, 1, 0, 4, {3, 2, 1, 0, 1, 2, 3, 2, 1, 0, 1, 2}, true},
        {"once ping-pong backward", 0, 1, 0, 4, {3, 2, 1, 0, 1, 2, 3}, false},
        // One frame: looping ones stay on it, the others show it once and end.
        {"one frame loop", 1, 0, 1, 1, std::vector<int>(12, 0), true},
        {"one frame once", 0, 0, 1, 1, {0}, false},
        {"one frame loop ping-pong", 1, 1, 1, 1, std::vector<int>(12, 0), true},
        {"one frame once ping-pong", 0, 1, 1, 1, {0}, false},
        {"one frame loop backward", 1, 0, 0, 1, std::vector<int>(12, 0), true},
        {"one frame once backward", 0, 0, 0, 1, {0}, false},
        {"one frame once ping-pong backward", 0, 1, 0, 1, {0}, false},
    };
    for (const EndRuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        G_ANIMATION a;
        Bind(a, 64, 16);
        a.SetGrid(4, 1);
        a.frameCount = c.frames;
        a.loop = c.loop;
        a.pingPong = c.pingPong;
        a.direction = c.direction;
        a.fps = 8.0f;  // 2 frames' worth per 0.25 s update: every update steps
        Start(a, c.direction != 0 ? 1 : -1);
        EXPECT_EQ(Play(a, 12), c.shown);
        EXPECT_EQ(a.playing != 0, c.stillPlaying);
    }
}

// Owners may step against the direction flag (an older start, or a hand-set step); the index
// must still stay on the sheet, and a non-looping animation must still end.
TEST_F(AnimationTest, SteppingAgainstTheDirectionFlagStaysInRangeAndEnds) {
    for (int flags = 0; flags < 32; ++flags) {
        G_ANIMATION a;
        a.frameCount = 4;
        a.loop = flags & 1;
        a.pingPong = (flags >> 1) & 1;
        a.direction = (flags >> 2) & 1;
        a.fps = 8.0f;
        a.playing = 1;
        a.step = (flags & 8) != 0 ? 1 : -1;
        a.SetFrame((flags & 16) != 0 ? 3 : 0);
        SCOPED_TRACE(flags);
        for (int i = 0; i < 200 && a.playing != 0; ++i) {
            a.Update();
            ASSERT_TRUE(a.frame >= -1 && a.frame <= 4) << a.frame;
        }
        EXPECT_TRUE(a.loop != 0 || a.playing == 0);
    }
}

TEST_F(AnimationTest, Timing) {
    G_ANIMATION a;
    a.frameCount = 4;
    Start(a, 1);

    // fps equal to the update rate: the accumulator reaches exactly 1, which is not above 1.
    a.fps = 4.0f;
    g_frameTime = 0.25f;
    std::vector<int> stepped;
    for (int i = 0; i < 6; ++i) stepped.push_back(a.Update());
    EXPECT_EQ(stepped, (std::vector<int>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(a.frame, 3);

    // A zero frame time changes nothing.
    a.accumulator = 0.5f;
    g_frameTime = 0.0f;
    EXPECT_EQ(a.Update(), 0);
    EXPECT_EQ(a.accumulator, 0.5f);
    EXPECT_EQ(a.frame, 3);

    // The update in which the start delay runs out goes on to step.
    Start(a, 1);
    a.fps = 8.0f;
    a.startDelay = 0.5f;
    g_frameTime = 0.25f;
    EXPECT_EQ(a.Update(), 0);
    EXPECT_EQ(a.frame, 0);
    EXPECT_EQ(a.Update(), 1);
    EXPECT_EQ(a.frame, 1);

    // Not playing: nothing moves.
    a.playing = 0;
    EXPECT_EQ(a.Update(), 0);
    EXPECT_EQ(a.frame, 1);

    // No positive rate would never step: it stops at once, so whoever waits goes on.
    for (const float fps : {0.0f, -2.0f, std::nanf("")}) {
        Start(a, 1);
        a.fps = fps;
        EXPECT_EQ(a.Update(), 0);
        EXPECT_EQ(a.playing, 0) << fps;
    }
}

struct UvCase {
    int32_t columns, rows, frames, index;
    uint8_t flip;
    float uLeft, uRight, vTop, vBottom;  // the u of c0 and c1, the v of c0 and c3
};

TEST_F(AnimationTest, FrameToUvMappingOnGrids) {
    const std::vector<UvCase> cases = {
        {4, 1, 4, 0, 0, 0.0f, 0.25f, 0.0f, 1.0f},  {4, 1, 4, 2, 0, 0.5f, 0.75f, 0.0f, 1.0f},
        {4, 1, 4, 2, 1, 0.75f, 0.5f, 0.0f, 1.0f},  // flipped in place
        {4, 2, 8, 5, 0, 0.25f, 0.5f, 0.5f, 1.0f},  // second row, second column
        {4, 2, 8, 7, 1, 1.0f, 0.75f, 0.5f, 1.0f},  {2, 4, 8, 6, 0, 0.0f, 0.5f, 0.75f, 1.0f},
        {4, 2, 8, 11, 0, 0.75f, 1.0f, 0.0f, 0.5f},  // past the end wraps: 11 mod 8 = 3
        {4, 2, 8, -1, 0, 0.75f, 1.0f, 0.5f, 1.0f},  // before the start wraps to the last frame
        {1, 1, 1, 5, 0, 0.0f, 1.0f, 0.0f, 1.0f},
    };
    for (const UvCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << "x" << c.rows << " frame " << c.index << " flip "
                                        << int(c.flip));
        G_ANIMATION a;
        a.SetGrid(c.columns, c.rows);
        a.frameCount = c.frames;
        a.flip = c.flip;
        a.accumulator = 0.75f;
        a.SetFrame(c.index);
        EXPECT_GE(a.frame, 0);
        EXPECT_LT(a.frame, c.frames);
        EXPECT_EQ(a.accumulator, 0.0f);
        const JS_VERTEX* v = a.vertices;
        EXPECT_FLOAT_EQ(v[0].u, c.uLeft);
        EXPECT_FLOAT_EQ(v[1].u, c.uRight);
        EXPECT_FLOAT_EQ(v[2].u, c.uRight);
        EXPECT_FLOAT_EQ(v[3].u, c.uLeft);
        EXPECT_FLOAT_EQ(v[0].v, c.vTop);
        EXPECT_FLOAT_EQ(v[1].v, c.vTop);
        EXPECT_FLOAT_EQ(v[2].v, c.vBottom);
        EXPECT_FLOAT_EQ(v[3].v, c.vBottom);
    }
}

TEST_F(AnimationTest, GridSizesTheQuadToOneCellOfTheBoundSheet) {
    G_ANIMATION a;
    a.hotSpot = 8;
    Bind(a, 256, 66);
    EXPECT_EQ(a.width, 256.0f);
    a.SetGrid(4, 4);
    // Integer division: 66 / 4 = 16.
    EXPECT_EQ(a.width, 64.0f);
    EXPECT_EQ(a.height, 16.0f);
    EXPECT_EQ(a.vertices[2].x, 64.0f);
    EXPECT_EQ(a.vertices[2].y, 16.0f);
    EXPECT_EQ(a.transform->pivotX, 64.0f);
    EXPECT_EQ(a.transform->pivotY, 16.0f);
    EXPECT_FLOAT_EQ(a.cellHeight, 0.25f);

    // Zero or negative counts are taken as 1 instead of dividing by zero; 1 x 1 leaves the size.
    a.SetGrid(0, -3);
    EXPECT_EQ(a.columns, 1);
    EXPECT_EQ(a.rows, 1);
    EXPECT_EQ(a.cellWidth, 1.0f);
    EXPECT_EQ(a.width, 64.0f);
    a.frameCount = 0;  // set by hand: still no division by zero
    a.SetFrame(3);
    EXPECT_EQ(a.frame, 0);
}

struct LoadCase {
    const char* xml;  // the element's children
    bool loaded;
    uint8_t loop, pingPong, direction, flip;
    int32_t columns, rows, frameCount;
    float fps;
};

// Each starts from loop 1, direction 1, fps 3 and 5 frames, so an absent attribute shows.
TEST_F(AnimationTest, LoadReadsTheAnimationAttributes) {
    const std::vector<LoadCase> cases = {
        {R"(<ANIMATION loop="no" flip="Yes" ping_pong="1" reverese="false" grid="4 2" frames="6" fps="12.5"/>)", true,
         0, 1, 0, 1, 4, 2, 6, 12.5f},
        {R"(<ANIMATION reverese=""/>)", true, 1, 0, 0, 0, 1, 1, 5, 3.0f},  // empty is false
        {R"(<ANIMATION reverese="true" loop="T" flip="nope"/>)", true, 1, 0, 1, 0, 1, 1, 5, 3.0f},
        {R"(<ANIMATION loop="0"/>)", true, 0, 0, 1, 0, 1, 1, 5, 3.0f},
        // Zero counts would divide by zero: taken as 1.
        {R"(<ANIMATION grid="0 0" frames="0"/>)", true, 1, 0, 1, 0, 1, 1, 1, 3.0f},
        // Without the element the sprite part is loaded all the same.
        {R"(<POS>3 4</POS>)", false, 1, 0, 1, 0, 1, 1, 5, 3.0f},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.xml);
        const TestKit::ParsedXml doc((std::string(R"(<a TEXTURE="t.png">)") + c.xml + "</a>").c_str());
        ASSERT_TRUE(doc);
        G_ANIMATION a;
        a.fps = 3.0f;
        a.frameCount = 5;
        EXPECT_EQ(a.Load(doc.Root()), c.loaded);
        EXPECT_EQ(a.textureName, "t.png");
        EXPECT_EQ(a.loop, c.loop);
        EXPECT_EQ(a.pingPong, c.pingPong);
        EXPECT_EQ(a.direction, c.direction);
        EXPECT_EQ(a.flip, c.flip);
        EXPECT_EQ(a.columns, c.columns);
        EXPECT_EQ(a.rows, c.rows);
        EXPECT_EQ(a.frameCount, c.frameCount);
        EXPECT_FLOAT_EQ(a.fps, c.fps);
    }
}

TEST_F(AnimationTest, LoadShowsTheCurrentFrame) {
    const TestKit::ParsedXml doc(R"(<a><ANIMATION flip="1" grid="4 2" frames="6"/></a>)");
    ASSERT_TRUE(doc);
    G_ANIMATION a;
    a.frame = 9;
    ASSERT_TRUE(a.Load(doc.Root()));
    // 9 mod 6 = 3: the last cell of the upper row, flipped.
    EXPECT_EQ(a.frame, 3);
    EXPECT_FLOAT_EQ(a.vertices[0].u, 1.0f);
    EXPECT_FLOAT_EQ(a.vertices[1].u, 0.75f);
    EXPECT_FLOAT_EQ(a.vertices[3].v, 0.5f);
    EXPECT_FALSE(a.Load(pugi::xml_node()));
}

TEST_F(AnimationTest, RestoreSizesOneCellAndCopiesTakeEveryField) {
    PutSheet("sheet.png", 256, 64);
    const TestKit::ParsedXml doc(
        R"(<a><FILE>sheet.png</FILE><ANIMATION grid="4 1" frames="4" fps="6" loop="0" ping_pong="1" flip="1" reverese="0"/></a>)");
    ASSERT_TRUE(doc);
    G_ANIMATION source;
    ASSERT_TRUE(source.Load(doc.Root()));
    source.RestoreResources();
    // A 256 x 64 sheet of 4 x 1: a 64 x 64 quad, its pivot placed for the cell.
    EXPECT_EQ(source.height, 64.0f);
    EXPECT_EQ(source.transform->pivotX, 32.0f);
    source.SetFrame(2);
    source.playing = 1;
    source.step = -1;
    source.startDelay = 0.5f;

    auto expectLikeSource = [&](const G_ANIMATION& copy) {
        EXPECT_EQ(copy.columns, 4);
        EXPECT_EQ(copy.rows, 1);
        EXPECT_EQ(copy.frameCount, 4);
        EXPECT_EQ(copy.frame, 2);
        EXPECT_EQ(copy.step, -1);
        EXPECT_EQ(copy.fps, 6.0f);
        EXPECT_EQ(copy.startDelay, 0.5f);
        EXPECT_EQ(copy.playing, 1);
        EXPECT_EQ(copy.loop, 0);
        EXPECT_EQ(copy.pingPong, 1);
        EXPECT_EQ(copy.flip, 1);
        EXPECT_EQ(copy.direction, 0);
        EXPECT_EQ(copy.width, 64.0f);
        EXPECT_FLOAT_EQ(copy.vertices[0].u, 0.75f);
        EXPECT_FLOAT_EQ(copy.vertices[1].u, 0.5f);
        EXPECT_TRUE(copy.HasTexture());
    };

    G_ANIMATION copy(source);
    expectLikeSource(copy);

    // The target had a texture of its own and another grid: the rebind must use the new grid.
    PutSheet("other.png", 32, 32);
    G_ANIMATION target;
    target.textureName = "other.png";
    target.SetGrid(2, 2);
    target.RestoreResources();
    ASSERT_EQ(target.width, 16.0f);
    target = source;
    expectLikeSource(target);
    EXPECT_EQ(Record("sheet.png")->refCount, 3);
    EXPECT_EQ(Record("other.png")->refCount, 0);

    const G_ANIMATION& alias = target;
    target = alias;
    expectLikeSource(target);
}

TEST_F(AnimationTest, ResetStopsAtOneWholeFrameAndClearsTheAddressingBits) {
    G_ANIMATION a;
    Bind(a, 128, 32);
    a.SetGrid(4, 1);
    a.frameCount = 4;
    a.flip = 1;
    a.SetFrame(3);
    a.playing = 1;
    a.step = -1;
    a.renderState |= RS::AddressMask;

    a.Reset();
    EXPECT_EQ(a.columns * a.rows * a.frameCount, 1);
    EXPECT_EQ(a.playing, 0);
    EXPECT_EQ(a.step, 1);
    EXPECT_EQ(a.flip, 0);
    EXPECT_EQ(a.renderState, 0x2432u);
    EXPECT_EQ(a.vertices[0].u, 0.0f);
    EXPECT_EQ(a.vertices[2].u, 1.0f);
}

}  // namespace
}  // namespace QRV
