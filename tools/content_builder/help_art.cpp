#include "tools/content_builder/help_art.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <string>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/text_paint.h"
#include "tools/content_builder/widget_paint.h"

namespace ContentBuilder {
namespace {

const Theme::HelpArtTheme& T() { return Theme::kHelpArt; }

std::vector<std::string_view> Numbers(std::string_view clue) {
    std::vector<std::string_view> numbers;
    size_t at = 0;
    while (at < clue.size()) {
        const size_t blank = std::min(clue.find(' ', at), clue.size());
        if (blank > at) numbers.push_back(clue.substr(at, blank - at));
        at = blank + 1;
    }
    return numbers;
}

size_t MostNumbers(const std::vector<std::string_view>& clues) {
    size_t most = 0;
    for (std::string_view clue : clues) most = std::max(most, Numbers(clue).size());
    return most;
}

// Room for the clue bands: left of the rows, above the columns.
int BandLeft(const HelpBoard& board) {
    const size_t n = MostNumbers(board.rowClues);
    return n == 0 ? 0 : static_cast<int>(n) * T().clueStep + T().clueGap;
}
int BandTop(const HelpBoard& board) {
    const size_t n = MostNumbers(board.columnClues);
    return n == 0 ? 0 : static_cast<int>(n) * T().clueStep + T().clueGap;
}

const RasterFont& ClueFont() {
    static const RasterFont font = RasteriseFont(ReadFontFile(Theme::kLatoBlack, Theme::kDejaVuSansBold),
                                                 FontStyle{"", T().clueSize, std::nullopt, true},
                                                 {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'});
    return font;
}

// The number centred on (cx, cy) in the clue font; a clue is digits only.
void PaintNumber(Canvas& canvas, std::string_view text, float cx, float cy, Theme::Rgb colour) {
    for (char c : text)
        if (c < '0' || c > '9') throw std::logic_error(std::string("a clue holds '") + c + "', which is no digit");
    PaintCentredText(canvas, ClueFont(), text, cx, cy, colour);
}

void FillRect(Canvas& canvas, float x0, float y0, float x1, float y1, Theme::Rgb colour, float alpha = 1.0f) {
    canvas.FillShape([&](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, 0.0f); }, colour, alpha);
}

void PaintCell(Canvas& canvas, char mark, float x0, float y0) {
    const float s = static_cast<float>(T().cell);
    const float in = T().fillInset;
    const auto square = [&](Theme::Rgb colour, float alpha) {
        canvas.FillShape(
            [&](float x, float y) {
                return RoundedRectDistance(x, y, x0 + in, y0 + in, x0 + s - in, y0 + s - in, T().fillRadius);
            },
            colour, alpha);
    };
    switch (mark) {
        case '.': break;
        case '#': square(Theme::kInk, 1.0f); break;
        case 'g': square(Theme::kAccent, T().ghostAlpha); break;
        case 'e': square(Theme::kError, 1.0f); break;
        case 'h': square(Theme::kReward, 1.0f); break;
        case 'x': {
            const float a = T().crossInset, b = s - T().crossInset;
            canvas.FillShape(
                [&](float x, float y) {
                    return std::min(
                        SegmentDistance(x, y, Point{x0 + a, y0 + a}, Point{x0 + b, y0 + b}, T().crossStroke),
                        SegmentDistance(x, y, Point{x0 + b, y0 + a}, Point{x0 + a, y0 + b}, T().crossStroke));
                },
                Theme::kCross, 1.0f);
            break;
        }
        default: throw std::logic_error(std::string("no help board cell '") + mark + "'");
    }
}

void CheckBoard(const HelpBoard& board) {
    if (board.rows.empty() || board.rows.front().empty()) throw std::logic_error("a help board without cells");
    for (std::string_view row : board.rows)
        if (row.size() != board.rows.front().size()) throw std::logic_error("help board rows of unequal length");
    if (!board.rowClues.empty() && board.rowClues.size() != board.rows.size())
        throw std::logic_error("a help board needs one row clue per row");
    if (!board.columnClues.empty() && board.columnClues.size() != board.rows.front().size())
        throw std::logic_error("a help board needs one column clue per column");
}

// Signed distance to a five-pointed star of outer radius r.
float StarDistance(float x, float y, float cx, float cy, float r) {
    Point corners[10];
    for (int i = 0; i < 10; ++i) {
        const float angle =
            -std::numbers::pi_v<float> / 2.0f + static_cast<float>(i) * std::numbers::pi_v<float> / 5.0f;
        const float radius = i % 2 == 0 ? r : 0.45f * r;
        corners[i] = Point{cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
    }
    return PolygonDistance(x, y, corners);
}

// A heart: two lobes over a point, filling a square of side r * 2 around the centre.
float HeartDistance(float x, float y, float cx, float cy, float r) {
    const float lobe = 0.5f * r;
    const float left = CircleDistance(x, y, cx - lobe, cy - 0.3f * r, lobe + 0.5f);
    const float right = CircleDistance(x, y, cx + lobe, cy - 0.3f * r, lobe + 0.5f);
    const Point tip[] = {
        {cx - 2.0f * lobe + 0.6f, cy - 0.1f * r}, {cx + 2.0f * lobe - 0.6f, cy - 0.1f * r}, {cx, cy + 0.95f * r}};
    return std::min({left, right, PolygonDistance(x, y, tip)});
}

void PaintIcon(Canvas& canvas, HelpIcon icon, float cx, float cy) {
    const float r = 0.45f * static_cast<float>(T().icon);
    switch (icon) {
        case HelpIcon::kHeart:
            canvas.FillShape([&](float x, float y) { return HeartDistance(x, y, cx, cy, r); }, Theme::kError, 1.0f);
            break;
        case HelpIcon::kStar:
            canvas.FillShape([&](float x, float y) { return StarDistance(x, y, cx, cy, r); }, Theme::kRewardOutline,
                             1.0f);
            canvas.FillShape([&](float x, float y) { return StarDistance(x, y, cx, cy, r) + 2.0f; }, Theme::kReward,
                             1.0f);
            break;
        case HelpIcon::kEmptyStar:
            canvas.FillShape([&](float x, float y) { return std::abs(StarDistance(x, y, cx, cy, r) + 1.0f) - 1.0f; },
                             Theme::kGridHeavy, 1.0f);
            break;
        case HelpIcon::kCoin:
            canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, cx, cy, r); }, Theme::kRewardOutline,
                             1.0f);
            canvas.FillShape([&](float x, float y) { return CircleDistance(x, y, cx, cy, r - 3.0f); }, Theme::kReward,
                             1.0f);
            canvas.FillShape([&](float x, float y) { return std::abs(CircleDistance(x, y, cx, cy, 0.45f * r)) - 0.9f; },
                             Theme::kRewardOutline, 1.0f);
            break;
    }
}

}  // namespace

PictureSize HelpBoardSize(const HelpBoard& board) {
    CheckBoard(board);
    const int cols = static_cast<int>(board.rows.front().size()), rows = static_cast<int>(board.rows.size());
    return {2 * T().margin + BandLeft(board) + cols * T().cell, 2 * T().margin + BandTop(board) + rows * T().cell};
}

TextureImage DrawHelpBoard(const HelpBoard& board) {
    const PictureSize size = HelpBoardSize(board);
    Canvas canvas(size.width, size.height);
    const int cols = static_cast<int>(board.rows.front().size()), rows = static_cast<int>(board.rows.size());
    const float s = static_cast<float>(T().cell);
    const float left = static_cast<float>(T().margin + BandLeft(board));
    const float top = static_cast<float>(T().margin + BandTop(board));
    const float right = left + s * static_cast<float>(cols), bottom = top + s * static_cast<float>(rows);
    const float margin = static_cast<float>(T().margin);

    // The clue bands on the darker paper, the cells on the lighter.
    if (!board.rowClues.empty()) FillRect(canvas, margin, top, left, bottom, T().band);
    if (!board.columnClues.empty()) FillRect(canvas, left, margin, right, top, T().band);
    FillRect(canvas, left, top, right, bottom, T().cellPaper);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            PaintCell(canvas, board.rows[r][c], left + s * static_cast<float>(c), top + s * static_cast<float>(r));

    // Grid: thin lines between cells, heavy ones every fifth line and around the board.
    for (int c = 0; c <= cols; ++c) {
        const bool heavy = c % 5 == 0 || c == cols;
        const float w = 0.5f * (heavy ? T().gridHeavy : T().gridThin), x = left + s * static_cast<float>(c);
        FillRect(canvas, x - w, top - w, x + w, bottom + w, heavy ? Theme::kGridHeavy : Theme::kGridThin);
    }
    for (int r = 0; r <= rows; ++r) {
        const bool heavy = r % 5 == 0 || r == rows;
        const float w = 0.5f * (heavy ? T().gridHeavy : T().gridThin), y = top + s * static_cast<float>(r);
        FillRect(canvas, left - w, y - w, right + w, y + w, heavy ? Theme::kGridHeavy : Theme::kGridThin);
    }

    // Clues: row clues end at the board's left edge, column clues at its top edge.
    const float step = static_cast<float>(T().clueStep), gap = static_cast<float>(T().clueGap);
    for (size_t r = 0; r < board.rowClues.size(); ++r) {
        const std::vector<std::string_view> numbers = Numbers(board.rowClues[r]);
        for (size_t k = 0; k < numbers.size(); ++k) {
            const float cx = left - gap - step * (static_cast<float>(numbers.size() - k) - 0.5f);
            PaintNumber(canvas, numbers[k], cx, top + s * (static_cast<float>(r) + 0.5f), Theme::kInk);
        }
    }
    for (size_t c = 0; c < board.columnClues.size(); ++c) {
        const std::vector<std::string_view> numbers = Numbers(board.columnClues[c]);
        for (size_t k = 0; k < numbers.size(); ++k) {
            const float cy = top - gap - step * (static_cast<float>(numbers.size() - k) - 0.5f);
            PaintNumber(canvas, numbers[k], left + s * (static_cast<float>(c) + 0.5f), cy, Theme::kInk);
        }
    }
    return ToTexture(canvas);
}

TextureImage DrawHelpIcons(const std::vector<std::vector<HelpIcon>>& rows) {
    size_t widest = 0;
    for (const auto& row : rows) widest = std::max(widest, row.size());
    if (widest == 0) throw std::logic_error("help icons without an icon");
    const int pitch = T().icon + T().iconGap;
    const int width = 2 * T().margin + static_cast<int>(widest) * pitch - T().iconGap;
    const int height = 2 * T().margin + static_cast<int>(rows.size()) * pitch - T().iconGap;
    Canvas canvas(width, height);
    for (size_t r = 0; r < rows.size(); ++r) {
        const float rowWidth = static_cast<float>(static_cast<int>(rows[r].size()) * pitch - T().iconGap);
        const float x0 = 0.5f * (static_cast<float>(width) - rowWidth);
        const float cy = static_cast<float>(T().margin + static_cast<int>(r) * pitch) + 0.5f * T().icon;
        for (size_t i = 0; i < rows[r].size(); ++i)
            PaintIcon(canvas, rows[r][i], x0 + static_cast<float>(static_cast<int>(i) * pitch) + 0.5f * T().icon, cy);
    }
    return ToTexture(canvas);
}

}  // namespace ContentBuilder
