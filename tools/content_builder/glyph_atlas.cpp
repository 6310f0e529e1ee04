#include "tools/content_builder/glyph_atlas.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

namespace ContentBuilder {
namespace {

// Shelf packing at one width; returns the height used (including the lower spacing) or -1 when
// a glyph is wider than the atlas.
int PackShelves(const std::vector<RasterGlyph>& glyphs, const std::vector<size_t>& order, int width, int spacing,
                std::vector<AtlasPlacement>& placements) {
    int x = spacing, y = spacing, shelf = 0;
    for (size_t i : order) {
        const RasterGlyph& g = glyphs[i];
        if (g.width == 0 || g.height == 0) continue;
        if (g.width + 2 * spacing > width) return -1;
        if (x + g.width + spacing > width) {
            y += shelf + spacing;
            x = spacing;
            shelf = 0;
        }
        placements[i] = {x, y};
        x += g.width + spacing;
        shelf = std::max(shelf, g.height);
    }
    return y + shelf + spacing;
}

}  // namespace

GlyphAtlas PackGlyphs(const std::vector<RasterGlyph>& glyphs, int spacing, int minSide, int maxSide) {
    std::vector<size_t> order(glyphs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (glyphs[a].height != glyphs[b].height) return glyphs[a].height > glyphs[b].height;
        return glyphs[a].width > glyphs[b].width;
    });

    GlyphAtlas atlas;
    for (int width = minSide; width <= maxSide; width *= 2) {
        std::vector<AtlasPlacement> placements(glyphs.size());
        const int used = PackShelves(glyphs, order, width, spacing, placements);
        if (used < 0 || used > width) continue;
        atlas.placements = std::move(placements);
        atlas.image.width = width;
        atlas.image.height = (used + 3) / 4 * 4;
        break;
    }
    if (atlas.image.width == 0)
        throw std::runtime_error("the glyphs do not fit into a " + std::to_string(maxSide) + " px atlas");

    // Transparent white, so filtering at a glyph's edge never pulls in a dark fringe.
    atlas.image.rgba.assign(static_cast<size_t>(atlas.image.width) * atlas.image.height * 4, 0xFF);
    for (size_t p = 3; p < atlas.image.rgba.size(); p += 4) atlas.image.rgba[p] = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const RasterGlyph& g = glyphs[i];
        for (int row = 0; row < g.height; ++row) {
            const auto from = g.rgba.begin() + static_cast<ptrdiff_t>(row) * g.width * 4;
            const size_t to =
                (static_cast<size_t>(atlas.placements[i].y + row) * atlas.image.width + atlas.placements[i].x) * 4;
            std::copy(from, from + static_cast<ptrdiff_t>(g.width) * 4,
                      atlas.image.rgba.begin() + static_cast<ptrdiff_t>(to));
        }
    }
    return atlas;
}

}  // namespace ContentBuilder
