#include "engine/graphics/absolute_memo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "engine/graphics/render.h"
#include "engine/graphics/transform.h"
#include "engine/platform/null_device.h"
#include "tests/test_kit/global_guard.h"

namespace QRV {
namespace {

JS_TRANSFORM3 Link(float x, float y, float rotation = 0.0f, float scale = 1.0f) {
    JS_TRANSFORM3 t;
    t.positionX = x;
    t.positionY = y;
    t.rotationZ = rotation;
    t.scaleX = scale;
    t.scaleY = scale * 0.75f;
    t.pivotX = 3.0f;
    t.pivotY = 1.5f;
    return t;
}

bool SameBits(const Matrix4& a, const Matrix4& b) { return std::memcmp(&a, &b, sizeof(Matrix4)) == 0; }

// A chain top first; each link's parent is the one before it.
std::vector<JS_TRANSFORM3> Chain(const std::vector<JS_TRANSFORM3>& links) {
    std::vector<JS_TRANSFORM3> chain = links;
    for (size_t i = 1; i < chain.size(); ++i) chain[i].parent = &chain[i - 1];
    return chain;
}

TEST(AbsoluteMemo, WorldMatrixThroughAPassIsTheChainsBitForBit) {
    JC_RENDER render(std::make_unique<Platform::NullRenderDevice>());
    TestKit::GlobalGuard globals;
    globals.Set(g_render, &render);
    const std::vector<std::vector<JS_TRANSFORM3>> chains = {
        {Link(12, 20), Link(300, 90), Link(-75, -60)},
        {Link(400, 300, 0.7f, 1.5f), Link(33.3f, -7.1f, -1.3f, 0.8f), Link(-0.0f, 9.9f, 0.2f, -2.0f)},
        {Link(1, 2, 0.1f), Link(3, 4, 0.2f, 1.1f), Link(5, 6, 0.3f), Link(7, 8, 0.4f, 0.9f), Link(9, 10),
         Link(11, 12, 0.5f), Link(13, 14), Link(15, 16, 0.6f, 1.2f), Link(17, 18), Link(19, 20, 0.7f)},
    };
    for (size_t c = 0; c < chains.size(); ++c) {
        std::vector<JS_TRANSFORM3> chain = Chain(chains[c]);
        const JS_TRANSFORM3& leaf = chain.back();
        const Matrix4 expected = TransformMatrix(GetAbsolute(leaf));
        // Which links the pass keeps: none, all above the leaf, only the top, all but the parent.
        for (int kept = 0; kept < 4; ++kept) {
            JC_ABSOLUTE_MEMO memo;
            for (size_t i = 0; i + 1 < chain.size(); ++i) {
                const bool keep = kept == 1 || (kept == 2 && i == 0) || (kept == 3 && i + 2 < chain.size());
                if (keep) memo.Add(&chain[i]);
            }
            JS_WORLD_CACHE cache;
            {
                const JC_ABSOLUTE_PASS pass(&memo);
                LoadWorldMatrix(&leaf, cache);
                EXPECT_TRUE(SameBits(render.worldMatrix, expected)) << "chain " << c << ", kept " << kept;
                for (size_t i = 0; i + 1 < chain.size(); ++i) {
                    if (const JS_TRANSFORM3* absolute = memo.Find(&chain[i])) {
                        const JS_TRANSFORM3 reference = GetAbsolute(chain[i]);
                        EXPECT_EQ(std::memcmp(absolute, &reference, sizeof(JS_TRANSFORM3)), 0) << c << "," << i;
                    }
                }
            }
            // The cached matrix stands until the chain moves; then it follows, pass or none.
            chain.front().positionX += 1.0f;
            const Matrix4 moved = TransformMatrix(GetAbsolute(leaf));
            LoadWorldMatrix(&leaf, cache);
            EXPECT_TRUE(SameBits(render.worldMatrix, moved)) << "chain " << c << ", kept " << kept;
            chain.front().positionX -= 1.0f;
        }
    }
}

TEST(AbsoluteMemo, KeepsWhatWasAddedUntilCleared) {
    std::vector<JS_TRANSFORM3> transforms(300, Link(5, 6, 0.25f, 2.0f));
    for (size_t i = 1; i < transforms.size(); ++i) transforms[i].parent = &transforms[i / 2];
    JC_ABSOLUTE_MEMO memo;
    memo.Add(nullptr);
    EXPECT_EQ(memo.Size(), 0u);
    EXPECT_EQ(memo.Find(&transforms[0]), nullptr);
    for (int round = 0; round < 2; ++round) {
        for (JS_TRANSFORM3& t : transforms) memo.Add(&t);
        memo.Add(&transforms[7]);
        ASSERT_EQ(memo.Size(), transforms.size());
        for (const JS_TRANSFORM3& t : transforms) {
            const JS_TRANSFORM3* kept = memo.Find(&t);
            ASSERT_NE(kept, nullptr);
            const JS_TRANSFORM3 reference = GetAbsolute(t);
            EXPECT_EQ(std::memcmp(kept, &reference, sizeof(JS_TRANSFORM3)), 0);
        }
        memo.Clear();
        EXPECT_EQ(memo.Size(), 0u);
        for (const JS_TRANSFORM3& t : transforms) EXPECT_EQ(memo.Find(&t), nullptr);
        // The next pass works the numbers out afresh.
        transforms[0].positionX += 10.0f;
    }
}

// The entry found last is tried first; it must not outlive a Clear, nor the room moving as the
// memo grows, nor stand for another transform.
TEST(AbsoluteMemo, TheLastFoundEntryNeverAnswersForAnotherPassOrPlace) {
    std::vector<JS_TRANSFORM3> transforms(200, Link(2, 3, 0.0f, 1.5f));
    for (size_t i = 1; i < transforms.size(); ++i) transforms[i].parent = &transforms[i - 1];
    JC_ABSOLUTE_MEMO memo;
    memo.Add(&transforms[0]);
    memo.Add(&transforms[1]);
    ASSERT_NE(memo.Find(&transforms[1]), nullptr);
    EXPECT_EQ(memo.Find(&transforms[2]), nullptr);
    ASSERT_NE(memo.Find(&transforms[1]), nullptr);
    memo.Clear();
    EXPECT_EQ(memo.Find(&transforms[1]), nullptr);
    // Found, then the table grows several times under it.
    memo.Add(&transforms[0]);
    ASSERT_NE(memo.Find(&transforms[0]), nullptr);
    for (JS_TRANSFORM3& t : transforms) memo.Add(&t);
    for (size_t i : {size_t{0}, size_t{0}, size_t{57}, size_t{57}, size_t{199}}) {
        const JS_TRANSFORM3* kept = memo.Find(&transforms[i]);
        ASSERT_NE(kept, nullptr) << i;
        const JS_TRANSFORM3 reference = GetAbsolute(transforms[i]);
        EXPECT_EQ(std::memcmp(kept, &reference, sizeof(JS_TRANSFORM3)), 0) << i;
    }
}

TEST(AbsoluteMemo, ThePassBeforeComesBackWhenOneEnds) {
    JC_ABSOLUTE_MEMO outer, inner;
    EXPECT_EQ(JC_ABSOLUTE_PASS::Current(), nullptr);
    {
        const JC_ABSOLUTE_PASS first(&outer);
        EXPECT_EQ(JC_ABSOLUTE_PASS::Current(), &outer);
        {
            const JC_ABSOLUTE_PASS second(&inner);
            EXPECT_EQ(JC_ABSOLUTE_PASS::Current(), &inner);
        }
        EXPECT_EQ(JC_ABSOLUTE_PASS::Current(), &outer);
    }
    EXPECT_EQ(JC_ABSOLUTE_PASS::Current(), nullptr);
}

}  // namespace
}  // namespace QRV
