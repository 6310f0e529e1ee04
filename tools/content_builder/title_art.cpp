#include "tools/content_builder/title_art.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "tools/content_builder/canvas.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/gui_buttons.h"
#include "tools/content_builder/loading_screen_content.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/shape_distance.h"
#include "tools/content_builder/soft_shadow.h"
#include "tools/content_builder/text_paint.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {
namespace {

const Theme::TitleArtTheme& T() { return Theme::kTitleArt; }

std::vector<std::string> Picture() { return std::vector<std::string>(T().picture.begin(), T().picture.end()); }

const RasterGlyph* FindGlyph(const RasterFont& font, uint32_t codepoint) {
    for (const RasterGlyph& glyph : font.glyphs)
        if (glyph.codepoint == codepoint) return &glyph;
    return nullptr;
}

int TextWidth(const RasterFont& font, const std::string& text) {
    int width = 0;
    for (const char c : text)
        if (const RasterGlyph* glyph = FindGlyph(font, static_cast<uint8_t>(c))) width += glyph->xadvance;
    return width;
}

// Digits centred on (cx, cy); clue fonts carry no kerning between digits.
void PaintNumber(Canvas& canvas, const RasterFont& font, int number, float cx, float cy, Theme::Rgb colour) {
    const std::string text = std::to_string(number);
    std::vector<float> coverage(static_cast<size_t>(canvas.Width()) * canvas.Height(), 0.0f);
    int pen = static_cast<int>(std::lround(cx)) - TextWidth(font, text) / 2;
    const int top = static_cast<int>(std::lround(cy)) - font.lineHeight / 2;
    for (const char c : text) {
        const RasterGlyph* glyph = FindGlyph(font, static_cast<uint8_t>(c));
        if (glyph == nullptr) continue;
        for (int y = 0; y < glyph->height; ++y) {
            for (int x = 0; x < glyph->width; ++x) {
                const int px = pen + glyph->xoffset + x, py = top + glyph->yoffset + y;
                if (px < 0 || py < 0 || px >= canvas.Width() || py >= canvas.Height()) continue;
                float& cell = coverage[static_cast<size_t>(py) * canvas.Width() + px];
                cell = std::max(cell, glyph->rgba[(static_cast<size_t>(y) * glyph->width + x) * 4 + 3] / 255.0f);
            }
        }
        pen += glyph->xadvance;
    }
    canvas.PaintMask(coverage, colour, 1.0f);
}

// 0 unknown, 1 filled, 2 crossed.
using Marks = std::vector<std::vector<int>>;

std::string Column(const std::vector<std::string>& picture, size_t col) {
    std::string line;
    for (const std::string& row : picture) line += row[col];
    return line;
}

bool LineDone(const Marks& marks, bool isRow, size_t index) {
    const size_t n = isRow ? marks[index].size() : marks.size();
    for (size_t i = 0; i < n; ++i)
        if ((isRow ? marks[index][i] : marks[i][index]) == 0) return false;
    return true;
}

// One frame of the picture with the first `moves` moves made.
void PaintFrame(Canvas& canvas, int frameLeft, int frameTop, const RasterFont& font,
                const std::vector<SolvingMove>& order, int moves) {
    const std::vector<std::string> picture = Picture();
    const size_t rows = picture.size(), cols = picture[0].size();
    Marks marks(rows, std::vector<int>(cols, 0));
    for (int i = 0; i < moves && i < static_cast<int>(order.size()); ++i)
        marks[order[i].row][order[i].col] = order[i].fill ? 1 : 2;

    const float cell = static_cast<float>(T().cell);
    const float left = static_cast<float>(frameLeft + T().pad), top = static_cast<float>(frameTop + T().pad);
    const float band = static_cast<float>(T().clueBand);
    const float gridLeft = left + band, gridTop = top + band;
    const float gridW = cell * static_cast<float>(cols), gridH = cell * static_cast<float>(rows);
    // The clue bands on the darker paper, the grid on the lighter.
    canvas.FillRoundedRect(left, gridTop, gridLeft, gridTop + gridH, 4.0f, T().band, 1.0f, 4);
    canvas.FillRoundedRect(gridLeft, top, gridLeft + gridW, gridTop, 4.0f, T().band, 1.0f, 4);
    canvas.FillRoundedRect(gridLeft, gridTop, gridLeft + gridW, gridTop + gridH, 2.0f, T().paper, 1.0f, 4);
    // Clues: rows right-aligned towards the grid, columns bottom-aligned; solved lines fade.
    const float step = static_cast<float>(font.lineHeight) + T().clueGap;
    for (size_t r = 0; r < rows; ++r) {
        const std::vector<int> runs = LineRuns(picture[r]);
        const Theme::Rgb colour = LineDone(marks, true, r) ? T().solvedClue : T().clue;
        for (size_t k = 0; k < runs.size(); ++k) {
            const float cx = gridLeft - step * 0.5f - step * static_cast<float>(runs.size() - 1 - k) - 2.0f;
            PaintNumber(canvas, font, runs[k], cx, gridTop + cell * (static_cast<float>(r) + 0.5f), colour);
        }
    }
    for (size_t c = 0; c < cols; ++c) {
        const std::vector<int> runs = LineRuns(Column(picture, c));
        const Theme::Rgb colour = LineDone(marks, false, c) ? T().solvedClue : T().clue;
        for (size_t k = 0; k < runs.size(); ++k) {
            const float cy = gridTop - step * 0.5f - step * static_cast<float>(runs.size() - 1 - k);
            PaintNumber(canvas, font, runs[k], gridLeft + cell * (static_cast<float>(c) + 0.5f), cy, colour);
        }
    }
    // Marks.
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < cols; ++c) {
            const float x = gridLeft + cell * static_cast<float>(c), y = gridTop + cell * static_cast<float>(r);
            if (marks[r][c] == 1) {
                canvas.FillRoundedRect(x + 1.5f, y + 1.5f, x + cell - 1.5f, y + cell - 1.5f, 2.0f, T().ink, 1.0f, 4);
            } else if (marks[r][c] == 2) {
                const float in = T().crossInset;
                canvas.FillShape(
                    [&](float px, float py) {
                        return std::min(
                            SegmentDistance(px, py, {x + in, y + in}, {x + cell - in, y + cell - in}, T().crossStroke),
                            SegmentDistance(px, py, {x + cell - in, y + in}, {x + in, y + cell - in}, T().crossStroke));
                    },
                    T().cross, 1.0f);
            }
        }
    }
    // Grid lines: thin inside, heavy around.
    for (size_t i = 0; i <= std::max(rows, cols); ++i) {
        const float at = cell * static_cast<float>(i);
        if (i <= cols) {
            const bool edge = i == 0 || i == cols;
            canvas.FillShape(
                [&](float px, float py) {
                    return SegmentDistance(px, py, {gridLeft + at, gridTop}, {gridLeft + at, gridTop + gridH},
                                           edge ? 2.0f : 1.0f);
                },
                edge ? T().heavyLine : T().gridLine, 1.0f);
        }
        if (i <= rows) {
            const bool edge = i == 0 || i == rows;
            canvas.FillShape(
                [&](float px, float py) {
                    return SegmentDistance(px, py, {gridLeft, gridTop + at}, {gridLeft + gridW, gridTop + at},
                                           edge ? 2.0f : 1.0f);
                },
                edge ? T().heavyLine : T().gridLine, 1.0f);
        }
    }
}

}  // namespace

std::vector<int> LineRuns(const std::string& line) {
    std::vector<int> runs;
    int run = 0;
    for (const char c : line) {
        if (c == '#') {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0) runs.push_back(run);
    return runs;
}

std::vector<SolvingMove> SolvingOrder(const std::vector<std::string>& picture) {
    std::vector<SolvingMove> order;
    if (picture.empty()) return order;
    const size_t rows = picture.size(), cols = picture[0].size();
    Marks marks(rows, std::vector<int>(cols, 0));
    auto mark = [&](size_t r, size_t c) {
        if (marks[r][c] != 0) return;
        const bool fill = picture[r][c] == '#';
        marks[r][c] = fill ? 1 : 2;
        order.push_back({static_cast<int>(r), static_cast<int>(c), fill});
    };
    auto line = [&](bool isRow, size_t i) { return isRow ? picture[i] : Column(picture, i); };
    auto cell = [&](bool isRow, size_t i, size_t k) -> std::pair<size_t, size_t> {
        return isRow ? std::make_pair(i, k) : std::make_pair(k, i);
    };
    // Lines whose runs and the single gaps between them fill the whole line leave no choice.
    for (const bool isRow : {true, false}) {
        const size_t count = isRow ? rows : cols, length = isRow ? cols : rows;
        for (size_t i = 0; i < count; ++i) {
            const std::vector<int> runs = LineRuns(line(isRow, i));
            int needed = runs.empty() ? 0 : static_cast<int>(runs.size()) - 1;
            for (const int run : runs) needed += run;
            if (runs.empty() || needed != static_cast<int>(length)) continue;
            for (size_t k = 0; k < length; ++k) {
                const auto [r, c] = cell(isRow, i, k);
                mark(r, c);
            }
        }
    }
    // Lines whose filled cells are all found: the rest is crossed out. Again until nothing moves.
    for (bool moved = true; moved;) {
        moved = false;
        for (const bool isRow : {true, false}) {
            const size_t count = isRow ? rows : cols, length = isRow ? cols : rows;
            for (size_t i = 0; i < count; ++i) {
                const std::string text = line(isRow, i);
                size_t found = 0, wanted = 0, open = 0;
                for (size_t k = 0; k < length; ++k) {
                    const auto [r, c] = cell(isRow, i, k);
                    wanted += text[k] == '#' ? 1 : 0;
                    found += marks[r][c] == 1 ? 1 : 0;
                    open += marks[r][c] == 0 ? 1 : 0;
                }
                if (found != wanted || open == 0) continue;
                for (size_t k = 0; k < length; ++k) {
                    const auto [r, c] = cell(isRow, i, k);
                    mark(r, c);
                }
                moved = true;
            }
        }
    }
    // What is left, in reading order.
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < cols; ++c) mark(r, c);
    return order;
}

int SolvingFrameSide() {
    const int cells = static_cast<int>(std::max(T().picture.size(), T().picture[0].size()));
    return 2 * T().pad + T().clueBand + cells * T().cell;
}

int SolvingFrames() { return Theme::kTitleSolvingFrames; }

TextureImage DrawSolvingSheet(const std::vector<uint8_t>& clueFont) {
    const std::vector<uint32_t> digits{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const RasterFont font = RasteriseFont(clueFont, FontStyle{"", T().clueSize, std::nullopt, true}, digits);
    const std::vector<SolvingMove> order = SolvingOrder(Picture());
    const int side = SolvingFrameSide(), frames = SolvingFrames();
    const int columns = T().sheetColumns, sheetRows = (frames + columns - 1) / columns;
    Canvas canvas(side * columns, side * sheetRows);
    for (int frame = 0; frame < frames; ++frame)
        PaintFrame(canvas, (frame % columns) * side, (frame / columns) * side, font, order, frame);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

TextureImage DrawBand(int width, int height) {
    const Theme::SoftShadow& shadow = T().bandShadow;
    const int margin = static_cast<int>(std::ceil(3.0f * shadow.sigma + std::max(shadow.offsetX, shadow.offsetY))) + 2;
    const int w = width + 2 * margin, h = height + 2 * margin;
    Canvas canvas(w, h);
    const float x0 = static_cast<float>(margin), y0 = static_cast<float>(margin);
    const float x1 = x0 + static_cast<float>(width), y1 = y0 + static_cast<float>(height);
    const float radius = std::min(T().bandRadius, static_cast<float>(height) / 2.0f);
    std::vector<float> body =
        CoverageMask(w, h, [&](float x, float y) { return RoundedRectDistance(x, y, x0, y0, x1, y1, radius); });
    std::vector<float> under =
        ShiftMask(body, w, h, static_cast<int>(shadow.offsetX), static_cast<int>(shadow.offsetY));
    GaussianBlur(under, w, h, shadow.sigma);
    canvas.PaintMask(under, shadow.colour, shadow.alpha);
    canvas.PaintMaskGradient(body, T().bandTop, T().bandBottom, y0, y1, 1.0f);
    return {canvas.Width(), canvas.Height(), canvas.ToRgba8()};
}

void BuildTitleArt(OutputTree& out) {
    const std::vector<uint8_t> titleFont = ReadFontFile(Theme::kComfortaaBold, Theme::kDejaVuSansBold);
    const std::vector<uint8_t> clueFont = ReadFontFile(Theme::kLatoBlack, Theme::kDejaVuSansBold);
    out.Write(RunPath(T().folder, T().logoFile), EncodeTexture(DrawLoadingLogo(titleFont)));
    out.Write(RunPath(T().folder, T().solvingFile), EncodeTexture(DrawSolvingSheet(clueFont)));
    out.Write(RunPath(T().folder, T().greetingBandFile),
              EncodeTexture(DrawBand(T().greetingBandWidth, T().greetingBandHeight)));
    out.Write(RunPath(T().folder, T().nameBandFile), EncodeTexture(DrawBand(T().nameBandWidth, T().nameBandHeight)));
    out.Write(RunPath(T().folder, T().closeButton.file), EncodeTexture(DrawButtonStrip(T().closeButton)));
}

}  // namespace ContentBuilder
