#include "tools/content_builder/level_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

constexpr float kPi = 3.14159265f;

// A padlock centred at (cx, cy): a rounded body and a round shackle above it.
Shape Lock(float cx, float cy, float width, float height, float shackle, float stroke) {
    return [=](float x, float y) {
        const float top = cy - height * 0.25f;
        const float body = RoundedRectDistance(x, y, cx - width / 2, top, cx + width / 2, top + height, 4.0f);
        const float arcY = top - shackle * 0.4f;
        float ring;
        if (y <= arcY) {
            ring = std::abs(std::hypot(x - cx, y - arcY) - shackle) - stroke / 2;
        } else {
            ring = std::min(SegmentDistance(x, y, {cx - shackle, arcY}, {cx - shackle, top + 1}, stroke),
                            SegmentDistance(x, y, {cx + shackle, arcY}, {cx + shackle, top + 1}, stroke));
        }
        return std::min(body, ring);
    };
}

std::array<Point, 10> StarCorners(float cx, float cy, float outer, float inner) {
    std::array<Point, 10> corners{};
    for (int i = 0; i < 10; ++i) {
        const float angle = -kPi / 2 + static_cast<float>(i) * kPi / 5;
        const float r = i % 2 == 0 ? outer : inner;
        corners[static_cast<size_t>(i)] = {cx + r * std::cos(angle), cy + r * std::sin(angle)};
    }
    return corners;
}

// The cards and tiles keep room around their body for the shadow: this many pixels on each side.
int ShadowMargin(const Theme::SoftShadow& shadow) { return ShadowReach(shadow.offsetY, shadow.sigma) + 1; }

// A raised paper body of the given size centred in a canvas with room for its shadow.
Canvas RaisedBody(int width, int height, float radius, const Theme::SoftShadow& shadow, Theme::Rgb fill,
                  Theme::Rgb edge) {
    const int m = ShadowMargin(shadow);
    Canvas canvas(width + 2 * m, height + 2 * m);
    const float x0 = static_cast<float>(m), y0 = static_cast<float>(m);
    const float x1 = x0 + static_cast<float>(width), y1 = y0 + static_cast<float>(height);
    const Shape body = [=](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, radius); };
    PaintDropShadow(canvas, body, shadow);
    canvas.FillShape(body, edge, 1.0f);
    canvas.FillShape(
        [=](float x, float y) { return RoundedRectDistance(x, y, x0 + 1, y0 + 1, x1 - 1, y1 - 1, radius - 1); }, fill,
        1.0f);
    return canvas;
}

// An accent ring around a body of the given size, in a canvas of the body's raised size.
Canvas Ring(int width, int height, float radius, const Theme::SoftShadow& shadow, float gap, float thickness) {
    const int m = ShadowMargin(shadow);
    Canvas canvas(width + 2 * m, height + 2 * m);
    const float x0 = static_cast<float>(m), y0 = static_cast<float>(m);
    const float x1 = x0 + static_cast<float>(width), y1 = y0 + static_cast<float>(height);
    canvas.FillShape(
        [=](float x, float y) {
            const float d = RoundedRectDistance(x, y, x0, y0, x1, y1, radius);
            return std::abs(d - gap - thickness / 2) - thickness / 2;
        },
        Theme::kAccent, 1.0f);
    return canvas;
}

// The cover's frame: paper with the tinted band along its top, inside the rounded outline.
struct CoverLayout {
    float x0, y0, cell;  // the picture's upper-left corner and cell side
};

CoverLayout PaintCoverFrame(Canvas& canvas, const LinePicture& picture, Theme::Rgb paper, Theme::Rgb tint) {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    const float w = static_cast<float>(t.coverWidth), h = static_cast<float>(t.coverHeight);
    const Shape outline = [=](float x, float y) {
        return RoundedRectDistance(x, y, 0.5f, 0.5f, w - 0.5f, h - 0.5f, t.coverRadius);
    };
    canvas.FillShape(outline, Theme::kGridThin, 1.0f);
    canvas.FillShape(
        [=](float x, float y) { return RoundedRectDistance(x, y, 1.5f, 1.5f, w - 1.5f, h - 1.5f, t.coverRadius - 1); },
        paper, 1.0f);
    canvas.FillShape([=](float x, float y) { return std::max(outline(x, y) + 1.0f, y - t.coverBand); }, tint, 1.0f);
    const float margin = 10.0f;
    const float areaW = w - 2 * margin, areaH = h - t.coverBand - 2 * margin;
    const float cell =
        std::floor(std::min(areaW / static_cast<float>(picture.cols), areaH / static_cast<float>(picture.rows)));
    return {std::round((w - cell * static_cast<float>(picture.cols)) / 2),
            std::round(t.coverBand + (h - t.coverBand - cell * static_cast<float>(picture.rows)) / 2), cell};
}

// The cells of the picture's grid for which `take` holds, as one shape.
template <class Take>
Shape CoverCells(const LinePicture& picture, const CoverLayout& c, float inset, float radius, Take take) {
    return [=](float x, float y) {
        const int col = static_cast<int>(std::floor((x - c.x0) / c.cell));
        const int row = static_cast<int>(std::floor((y - c.y0) / c.cell));
        if (col < 0 || row < 0 || col >= picture.cols || row >= picture.rows || !take(col, row)) return 4.0f;
        const float cx0 = c.x0 + static_cast<float>(col) * c.cell, cy0 = c.y0 + static_cast<float>(row) * c.cell;
        return RoundedRectDistance(x, y, cx0 + inset, cy0 + inset, cx0 + c.cell - inset, cy0 + c.cell - inset, radius);
    };
}

}  // namespace

Theme::Rgb PackTint(std::string_view theme) {
    for (const Theme::PackTheme& t : Theme::kPackThemes)
        if (t.name == theme) return t.tint;
    return Theme::kPackThemes.front().tint;
}

int BlockSide(const Theme::BoardGeometry& board) { return board.cell * board.block - 2 * board.shift; }

TextureImage DrawBoardBlock(const Theme::BoardGeometry& board) {
    const Theme::BoardSpriteTheme& t = Theme::kBoardSprites;
    const int side = BlockSide(board), gap = -board.shift;
    if (gap < 0) throw std::invalid_argument("a block gap is a negative shiftBlock");
    TextureImage image{side, side, std::vector<uint8_t>(static_cast<size_t>(side) * side * 4)};
    const auto put = [&](int x, int y, Theme::Rgb c) {
        uint8_t* p = &image.rgba[(static_cast<size_t>(y) * side + x) * 4];
        p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 0xFF;
    };
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // The gap all round (neighbouring blocks overlap in it): the heavier line.
            const bool edge = x < gap || y < gap || x >= side - gap || y >= side - gap;
            // A thin line on the first pixels of every cell but the block's first.
            const int cx = (x - gap) % board.cell, cy = (y - gap) % board.cell;
            const bool line = (x - gap >= board.cell && cx < t.thinLine) || (y - gap >= board.cell && cy < t.thinLine);
            put(x, y, edge ? t.gridHeavy : line ? t.gridThin : t.blockFill);
        }
    }
    return image;
}

namespace {

// The selection's translucent accent cell: a light fill and a firmer edge.
Canvas SelectionCell(int side) {
    const Theme::BoardSpriteTheme& t = Theme::kBoardSprites;
    const float s = static_cast<float>(side), i = t.selectionInset;
    const Shape cell = [=](float x, float y) {
        return RoundedRectDistance(x, y, i, i, s - i, s - i, t.selectionRadius);
    };
    Canvas canvas(side, side);
    canvas.FillShape(cell, t.selection, t.selectionFillAlpha);
    canvas.FillShape(
        [&](float x, float y) { return std::abs(cell(x, y) + t.selectionEdge * 0.5f) - t.selectionEdge * 0.5f; },
        t.selection, t.selectionEdgeAlpha);
    return canvas;
}

// The hints inside a selected cell grow with the cell from the shared cell size's.
float SelectionScale(int side) { return static_cast<float>(side) / static_cast<float>(Theme::kBoardCell); }

}  // namespace

TextureImage DrawSelectionYes(int side) {
    const Theme::BoardSpriteTheme& t = Theme::kBoardSprites;
    const float s = static_cast<float>(side), i = t.squareHintInset * SelectionScale(side);
    Canvas canvas = SelectionCell(side);
    canvas.FillShape(
        [=](float x, float y) { return RoundedRectDistance(x, y, i, i, s - i, s - i, t.squareHintRadius); },
        t.selection, t.squareHintAlpha);
    return ToTexture(canvas);
}

TextureImage DrawSelectionNo(int side) {
    const Theme::BoardSpriteTheme& t = Theme::kBoardSprites;
    const float k = SelectionScale(side), stroke = t.crossHintStroke * k;
    const float s = static_cast<float>(side), i = t.crossHintInset * k;
    Canvas canvas = SelectionCell(side);
    canvas.FillShape(
        [=](float x, float y) {
            return std::min(SegmentDistance(x, y, {i, i}, {s - i, s - i}, stroke),
                            SegmentDistance(x, y, {s - i, i}, {i, s - i}, stroke));
        },
        t.selection, t.crossHintAlpha);
    return ToTexture(canvas);
}

TextureImage DrawPackCard() {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    return ToTexture(RaisedBody(t.width, t.height, t.radius, t.shadow, Theme::kPaperLight, Theme::kPaperDark));
}

TextureImage DrawPackActive() {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    return ToTexture(Ring(t.width, t.height, t.radius, t.shadow, t.activeGap, t.activeRing));
}

namespace {

// Three passes of a box blur of the given radius along x and then y: close to a Gaussian.
void BlurMask(std::vector<float>& mask, int w, int h, int radius) {
    std::vector<float> line;
    const auto pass = [&](int count, int length, auto at) {
        for (int i = 0; i < count; ++i) {
            line.assign(static_cast<size_t>(length), 0.0f);
            for (int k = 0; k < length; ++k) line[static_cast<size_t>(k)] = at(i, k);
            for (int k = 0; k < length; ++k) {
                float sum = 0.0f;
                for (int d = -radius; d <= radius; ++d) {
                    const int j = k + d;
                    if (j >= 0 && j < length) sum += line[static_cast<size_t>(j)];
                }
                at(i, k) = sum / static_cast<float>(2 * radius + 1);
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(h, w, [&](int y, int x) -> float& { return mask[static_cast<size_t>(y) * w + x]; });
        pass(w, h, [&](int x, int y) -> float& { return mask[static_cast<size_t>(y) * w + x]; });
    }
}

}  // namespace

TextureImage DrawPackCover(const LinePicture& picture, Theme::Rgb tint) {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    Canvas canvas(t.coverWidth, t.coverHeight);
    const CoverLayout c = PaintCoverFrame(canvas, picture, t.coverPaper, tint);
    // The picture as a soft mist: its shape shows, its cells do not, so the cover gives no level away.
    const int w = t.coverWidth, h = t.coverHeight;
    std::vector<float> mask(static_cast<size_t>(w) * h, 0.0f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int col = static_cast<int>(std::floor((static_cast<float>(x) + 0.5f - c.x0) / c.cell));
            const int row = static_cast<int>(std::floor((static_cast<float>(y) + 0.5f - c.y0) / c.cell));
            if (col >= 0 && row >= 0 && col < picture.cols && row < picture.rows && picture.At(col, row))
                mask[static_cast<size_t>(y) * w + x] = 1.0f;
        }
    BlurMask(mask, w, h, std::max(1, static_cast<int>(std::lround(c.cell * t.coverMistBlur))));
    // Only on the paper below the band, inside the rounded outline.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            const float inside =
                std::clamp(0.5f - std::max(RoundedRectDistance(px, py, 2.5f, 2.5f, static_cast<float>(w) - 2.5f,
                                                               static_cast<float>(h) - 2.5f, t.coverRadius - 2),
                                           t.coverBand + 1.0f - py),
                           0.0f, 1.0f);
            mask[static_cast<size_t>(y) * w + x] *= inside;
        }
    canvas.PaintMask(mask, t.coverInk, t.coverMistAlpha);
    return ToTexture(canvas);
}

TextureImage DrawPackCoverClosed(const LinePicture& picture, Theme::Rgb tint) {
    const Theme::PackCardTheme& t = Theme::kPackCard;
    Canvas canvas(t.coverWidth, t.coverHeight);
    const CoverLayout c = PaintCoverFrame(canvas, picture, Theme::kPaperDark, tint);
    canvas.FillShape(CoverCells(picture, c, t.coverCellGap * 0.5f, t.coverCellRadius, [](int, int) { return true; }),
                     t.coverPaper, 1.0f);
    const float cx = static_cast<float>(t.coverWidth) / 2;
    const float cy = t.coverBand + (static_cast<float>(t.coverHeight) - t.coverBand) / 2;
    const Shape lock = Lock(cx, cy, t.lockWidth, t.lockHeight, t.lockShackle, t.lockStroke);
    canvas.FillShape([&](float x, float y) { return lock(x, y) - 3.0f; }, Theme::kPaperLight, 1.0f);
    canvas.FillShape(lock, t.lock, 1.0f);
    return ToTexture(canvas);
}

TextureImage DrawBoardBackground(Theme::Rgb tint) {
    const Theme::BoardBackgroundTheme& t = Theme::kBoardBackground;
    const int w = t.width, h = t.height;
    TextureImage image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    const float cx = static_cast<float>(w) / 2, cy = static_cast<float>(h) / 2;
    const float reach = std::hypot(cx, cy);
    const int cols = static_cast<int>(static_cast<float>(w) / t.dotSpacing),
              rows = static_cast<int>(static_cast<float>(h) / t.dotSpacing);
    const float ox = (static_cast<float>(w) - static_cast<float>(cols - 1) * t.dotSpacing) / 2;
    const float oy = (static_cast<float>(h) - static_cast<float>(rows - 1) * t.dotSpacing) / 2;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            // Paper, lighter towards the middle.
            const float light = std::clamp(1.0f - std::hypot(px - cx, py - cy) / reach, 0.0f, 1.0f);
            Theme::Rgb c = Mix(t.paper, t.centre, light * light);
            // Dots on a lattice centred on the screen, only in its outermost rows and columns.
            const int col = std::clamp(static_cast<int>(std::floor((px - ox) / t.dotSpacing + 0.5f)), 0, cols - 1);
            const int row = std::clamp(static_cast<int>(std::floor((py - oy) / t.dotSpacing + 0.5f)), 0, rows - 1);
            if (col == 0 || row == 0 || col == cols - 1 || row == rows - 1) {
                const float gx = ox + static_cast<float>(col) * t.dotSpacing,
                            gy = oy + static_cast<float>(row) * t.dotSpacing;
                const float cover = std::clamp(0.5f - CircleDistance(px, py, gx, gy, t.dotRadius), 0.0f, 1.0f);
                c = Mix(c, tint, cover * t.dotAlpha);
            }
            uint8_t* p = &image.rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 0xFF;
        }
    }
    return image;
}

TextureImage DrawLevelOpen() {
    const Theme::LevelTileTheme& t = Theme::kLevelTile;
    const int side = t.width - 2 * static_cast<int>(t.inset);
    return ToTexture(RaisedBody(side, t.height - 2 * static_cast<int>(t.inset), t.radius, t.shadow, Theme::kPaperLight,
                                Theme::kPaperDark));
}

TextureImage DrawLevelClosed() {
    const Theme::LevelTileTheme& t = Theme::kLevelTile;
    const int w = t.width - 2 * static_cast<int>(t.inset), h = t.height - 2 * static_cast<int>(t.inset);
    Canvas canvas = RaisedBody(w, h, t.radius, t.shadow, Theme::kPaperDark, Theme::kGridThin);
    const float cx = static_cast<float>(canvas.Width()) / 2, cy = static_cast<float>(canvas.Height()) / 2;
    const Theme::PackCardTheme& lock = Theme::kPackCard;
    canvas.FillShape(Lock(cx, cy, lock.lockWidth, lock.lockHeight, lock.lockShackle, lock.lockStroke), lock.lock, 1.0f);
    return ToTexture(canvas);
}

TextureImage DrawLevelActive() {
    const Theme::LevelTileTheme& t = Theme::kLevelTile;
    const int w = t.width - 2 * static_cast<int>(t.inset), h = t.height - 2 * static_cast<int>(t.inset);
    return ToTexture(Ring(w, h, t.radius, t.shadow, 2.0f, t.activeRing));
}

TextureImage DrawLevelStars() {
    const Theme::LevelTileTheme& t = Theme::kLevelTile;
    const float s = static_cast<float>(t.star);
    Canvas canvas(2 * t.star, t.star);
    for (int half = 0; half < 2; ++half) {
        const auto corners =
            StarCorners(s * (static_cast<float>(half) + 0.5f), s * 0.53f, s * 0.46f, s * 0.46f * 0.47f);
        const Shape star = [corners](float x, float y) { return PolygonDistance(x, y, corners); };
        canvas.FillShape(star, half == 0 ? Theme::kGridHeavy : Theme::kRewardOutline, 1.0f);
        canvas.FillShape([&](float x, float y) { return star(x, y) + t.starOutline; },
                         half == 0 ? Theme::kPaperDark : Theme::kReward, 1.0f);
    }
    return ToTexture(canvas);
}

TextureImage DrawTutorialFlash() {
    const Theme::TutorialStepTheme& t = Theme::kTutorialStep;
    const int w = t.width - 2 * t.flashInset, h = t.height - 2 * t.flashInset;
    Canvas canvas(w, h);
    canvas.FillShape(
        [&](float x, float y) {
            return RoundedRectDistance(x, y, 0.5f, 0.5f, static_cast<float>(w) - 0.5f, static_cast<float>(h) - 0.5f,
                                       t.flashRadius);
        },
        Theme::kTextOnAccent, 1.0f);
    return ToTexture(canvas);
}

TextureImage DrawTutorialArrow() {
    const Theme::TutorialArrowTheme& a = Theme::kTutorialArrow;
    Canvas canvas(a.width, a.height);
    const float w = static_cast<float>(a.width), h = static_cast<float>(a.height);
    // A shaft and a head pointing right, inside a margin for the shadow.
    const float m = 4.0f, mid = h / 2.0f - 1.0f, head = w - m - (h - 2 * m) * 0.55f, shaft = (h - 2 * m) * 0.18f;
    const std::array<Point, 7> corners{{{m, mid - shaft},
                                        {head, mid - shaft},
                                        {head, m},
                                        {w - m, mid},
                                        {head, h - m - 2.0f},
                                        {head, mid + shaft},
                                        {m, mid + shaft}}};
    const Shape body = [corners](float x, float y) { return PolygonDistance(x, y, corners); };
    PaintDropShadow(canvas, body, a.shadow);
    canvas.FillShape(body, a.fill, 1.0f);
    return ToTexture(canvas);
}

}  // namespace ContentBuilder
