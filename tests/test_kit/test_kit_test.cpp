#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/graphics/quad.h"
#include "tests/test_kit/global_guard.h"
#include "tests/test_kit/null_renderer.h"
#include "tests/test_kit/parsed_xml.h"
#include "tests/test_kit/temp_folder.h"

namespace QRV::TestKit {
namespace {

int g_number = 1;
int* g_pointer = nullptr;
std::atomic<float> g_atomic{0.5f};

TEST(TestKitTempFolder, HoldsFilesWhileItLivesAndGoesWithThem) {
    std::filesystem::path kept;
    {
        const TempFolder folder("quorvel-kit");
        const TempFolder other("quorvel-kit");
        kept = folder.Path();
        ASSERT_TRUE(std::filesystem::is_directory(kept));
        EXPECT_NE(other.Path(), kept);
        EXPECT_EQ(folder / "x", kept / "x");

        const std::filesystem::path file = folder.Write("deep/er/file.bin", std::string("a\0b", 3));
        EXPECT_EQ(file, kept / "deep/er/file.bin");
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
                  std::string("a\0b", 3));
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(TestKitGlobalGuard, PutsEveryValueBackLastSetFirst) {
    int target = 7;
    {
        GlobalGuard guard;
        guard.Set(g_number, 2);
        guard.Set(g_number, 3);  // set twice: the value before the first comes back
        guard.Set(g_pointer, &target);
        guard.Set(g_atomic, 2.0f);
        EXPECT_EQ(g_number, 3);
        EXPECT_EQ(g_pointer, &target);
        EXPECT_EQ(g_atomic.load(), 2.0f);
    }
    EXPECT_EQ(g_number, 1);
    EXPECT_EQ(g_pointer, nullptr);
    EXPECT_EQ(g_atomic.load(), 0.5f);

    // Saved only: whatever the test does is undone, early by Restore and only once.
    GlobalGuard guard;
    guard.Save(g_number);
    guard.Save(g_atomic);
    g_number = 40;
    g_atomic = 9.0f;
    guard.Restore();
    EXPECT_EQ(g_number, 1);
    EXPECT_EQ(g_atomic.load(), 0.5f);
    g_number = 41;
    guard.Restore();
    EXPECT_EQ(g_number, 41);
    g_number = 1;
}

TEST(TestKitParsedXml, ParsesTextAndReportsWhereItStopped) {
    const ParsedXml xml("<?xml version=\"1.0\"?><!-- note --><root a=\"1\"><child/></root>");
    ASSERT_TRUE(xml);
    EXPECT_STREQ(xml.Root().name(), "root");
    EXPECT_EQ(xml.Root().attribute("a").as_int(), 1);

    EXPECT_NONFATAL_FAILURE(
        {
            const ParsedXml broken("<root><open></root>");
            EXPECT_FALSE(broken);
        },
        "offset");
}

TEST(TestKitNullRenderer, IsTheProgramsRendererWhileItLives) {
    JC_RENDER* before = g_render;
    {
        NullRenderer renderer;
        ASSERT_EQ(renderer.created, 1);
        EXPECT_EQ(g_render, renderer.render.get());
        JS_TEXTURE* texture = renderer.render->CreateBlankTexture(4, 4);
        const JS_VERTEX quad[4] = {{0, 0, 0, 0, 0, 0, kWhite, 0, 0},
                                   {2, 0, 0, 0, 0, 0, kWhite, 1, 0},
                                   {2, 2, 0, 0, 0, 0, kWhite, 1, 1},
                                   {0, 2, 0, 0, 0, 0, kWhite, 0, 1}};
        const std::vector<JS_VERTEX> drawn = renderer.DrawnVertices([&] {
            g_render->worldMatrix = Matrix4::Identity();
            g_render->worldMatrix.m[3][0] = 10.0f;
            g_render->DrawTriangles(quad, texture, kQuadRenderState, 4, kQuadIndices, 6);
        });
        ASSERT_EQ(drawn.size(), 4u);
        EXPECT_FLOAT_EQ(drawn[2].x, 12.0f);
        EXPECT_FLOAT_EQ(drawn[2].u, 1.0f);
    }
    EXPECT_EQ(g_render, before);
}

}  // namespace
}  // namespace QRV::TestKit
