// The finish window's pictures as the content builder draws them, and the window files that name
// them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>

#include "tests/game/screens/ingame_scene.h"
#include "tools/content_builder/finish_art.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/theme.h"

namespace {

namespace CB = ContentBuilder;

struct Pixel {
    int r, g, b, a;
};

Pixel At(const CB::TextureImage& image, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * image.width + x) * 4;
    return {image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]};
}

bool Near(const Pixel& p, CB::Theme::Rgb colour, int tolerance) {
    return std::abs(p.r - colour.r) <= tolerance && std::abs(p.g - colour.g) <= tolerance &&
           std::abs(p.b - colour.b) <= tolerance && p.a == 255;
}

// The empty star on the left, the filled star on the right, in one silhouette, so that the
// finish window can show either half in the same place.
TEST(IngameFinishArt, StarHalvesShareOneSilhouetteEmptyLeftFilledRight) {
    const CB::Theme::FinishArtTheme& t = CB::Theme::kFinishArt;
    const CB::TextureImage star = CB::DrawFinishStar();
    ASSERT_EQ(star.width, 2 * t.star);
    ASSERT_EQ(star.height, t.star);
    const int middle = t.star / 2;
    const struct {
        int x;
        CB::Theme::Rgb fill;
    } halves[] = {{middle, t.emptyFill}, {t.star + middle, t.fullFill}};
    for (const auto& half : halves) {
        EXPECT_TRUE(Near(At(star, half.x, middle), half.fill, 2)) << half.x;
        EXPECT_EQ(At(star, half.x - middle + 1, 1).a, 0) << "corner of the half at " << half.x;
    }
    int differing = 0;
    for (int y = 0; y < t.star; ++y)
        for (int x = 0; x < t.star; ++x)
            if (std::abs(At(star, x, y).a - At(star, x + t.star, y).a) > 1) ++differing;
    EXPECT_EQ(differing, 0);
}

// One banner per star count, each in its own colour at its middle, as wide as the theme says.
TEST(IngameFinishArt, BannersForOneTwoAndThreeStarsDiffer) {
    const CB::Theme::FinishArtTheme& t = CB::Theme::kFinishArt;
    std::set<std::tuple<int, int, int>> middles;
    for (int stars = 1; stars <= 3; ++stars) {
        SCOPED_TRACE(stars);
        const CB::TextureImage banner = CB::DrawFinishBanner(stars);
        EXPECT_EQ(banner.width, t.bannerWidth);
        const Pixel middle = At(banner, banner.width / 2, banner.height / 2 - 4);
        EXPECT_TRUE(Near(middle, t.bannerColours[static_cast<size_t>(stars - 1)], 40));
        middles.insert({middle.r, middle.g, middle.b});
        EXPECT_EQ(At(banner, 0, 0).a, 0);
        EXPECT_EQ(At(banner, banner.width - 1, 0).a, 0);
    }
    EXPECT_EQ(middles.size(), 3u);
    for (const int stars : {0, 4}) EXPECT_THROW(CB::DrawFinishBanner(stars), std::invalid_argument) << stars;
}

// Every picture of the finish folder that the two finish windows name is one the builder writes,
// and every one it writes is named.
TEST(IngameFinishArt, FinishWindowsNameExactlyTheDrawnPictures) {
    const CB::Theme::FinishArtTheme& t = CB::Theme::kFinishArt;
    std::set<std::string> drawn = {CB::ResourceKey(t.folder, t.starFile)};
    for (std::string_view file : t.bannerFiles) drawn.insert(CB::ResourceKey(t.folder, file));
    for (const char* name : {"GP_Finish", "Tutorial_Finish"}) {
        SCOPED_TRACE(name);
        const std::string text =
            IngameTest::ReadText(std::filesystem::path(QUORVEL_CONTENT_DIR) / "windows" / (std::string(name) + ".xml"));
        std::set<std::string> named;
        const std::regex key("TEXTURE=\"(" + std::string(t.folder) + " [^\"]*)\"");
        for (std::sregex_iterator it(text.begin(), text.end(), key), end; it != end; ++it) named.insert((*it)[1]);
        EXPECT_EQ(named, drawn);
    }
}

}  // namespace
