#include "tools/content_builder/board_fit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <pugixml.hpp>

namespace ContentBuilder {
namespace {

const Theme::CluePanelStyle& Panel(std::string_view element) {
    for (const Theme::CluePanelStyle& p : Theme::kCluePanels)
        if (p.element == element) return p;
    throw std::logic_error("no clue panel " + std::string(element));
}

int BlockCount(int cells, int block) { return block > 0 ? (cells + block - 1) / block : 0; }

void Grow(BoardExtent& e, float left, float top, float right, float bottom) {
    e.left = std::min(e.left, left), e.top = std::min(e.top, top);
    e.right = std::max(e.right, right), e.bottom = std::max(e.bottom, bottom);
}

std::vector<int> LineClues(const std::vector<bool>& line) {
    std::vector<int> clues = CluesOf(line);
    if (clues.empty()) clues.push_back(0);
    return clues;
}

}  // namespace

ClueFontMetrics ReadClueFontMetrics(const std::filesystem::path& description) {
    pugi::xml_document document;
    if (!document.load_file(description.c_str()))
        throw std::runtime_error(description.string() + ": the clue font cannot be read");
    const pugi::xml_node font = document.document_element();
    ClueFontMetrics metrics;
    metrics.lineHeight = font.child("common").attribute("lineHeight").as_int();
    for (int d = 0; d < 10; ++d) {
        const pugi::xml_node glyph = font.child("chars").find_child_by_attribute("id", std::to_string('0' + d).c_str());
        if (!glyph) throw std::runtime_error(description.string() + ": no glyph for the digit " + std::to_string(d));
        metrics.digitAdvance[static_cast<size_t>(d)] = glyph.attribute("xadvance").as_int();
        metrics.digitHeight = std::max(metrics.digitHeight, glyph.attribute("height").as_int());
    }
    return metrics;
}

int NumberWidth(const ClueFontMetrics& font, int value) {
    const std::string digits = std::to_string(value);
    int width = 0;
    for (const char c : digits) width += font.digitAdvance[static_cast<size_t>(c - '0')];
    return width;
}

BoardClues CluesOfPicture(const LinePicture& picture) {
    BoardClues clues;
    std::vector<bool> line;
    for (int r = 0; r < picture.rows; ++r) {
        line.assign(static_cast<size_t>(picture.cols), false);
        for (int c = 0; c < picture.cols; ++c) line[static_cast<size_t>(c)] = picture.At(c, r);
        clues.rows.push_back(LineClues(line));
    }
    for (int c = 0; c < picture.cols; ++c) {
        line.assign(static_cast<size_t>(picture.rows), false);
        for (int r = 0; r < picture.rows; ++r) line[static_cast<size_t>(r)] = picture.At(c, r);
        clues.cols.push_back(LineClues(line));
    }
    return clues;
}

BoardClues FullestClues(int size) {
    const std::vector<int> line(static_cast<size_t>((size + 1) / 2), size);
    return {std::vector<std::vector<int>>(static_cast<size_t>(size), line),
            std::vector<std::vector<int>>(static_cast<size_t>(size), line)};
}

FieldPlacement PlaceField(const Theme::BoardGeometry& b, int cols, int rows) {
    FieldPlacement f;
    f.width = BlockCount(cols, b.block) * b.cell * b.block - (BlockCount(cols, b.block) + 1) * b.shift;
    f.height = BlockCount(rows, b.block) * b.cell * b.block - (BlockCount(rows, b.block) + 1) * b.shift;
    f.x = b.x - static_cast<float>(f.width) * 0.5f;
    f.y = b.y - static_cast<float>(f.height) * 0.5f;
    return f;
}

CluePlacement SharedCluePlacement() {
    const Theme::CluePanelStyle& left = Panel("numbersLeft");
    const Theme::CluePanelStyle& up = Panel("numbersUp");
    return {left.interval, left.firstX, left.firstY, up.interval, up.firstX, up.firstY};
}

BoardExtent ClueExtent(const Theme::BoardGeometry& b, const BoardClues& clues, const ClueFontMetrics& leftFont,
                       const ClueFontMetrics& upFont, const CluePlacement& p) {
    const FieldPlacement f = PlaceField(b, static_cast<int>(clues.cols.size()), static_cast<int>(clues.rows.size()));
    BoardExtent e{f.x, f.y, f.x, f.y};
    // Rows: x steps left from the field by the interval, y moves down a cell a line and by the gap
    // at every block edge (the first included), as the panel lays its numbers out.
    float y = std::trunc(f.y + p.leftFirstY);
    for (size_t i = 0; i < clues.rows.size(); ++i) {
        if (b.block != 0 && static_cast<int>(i) % b.block == 0) y -= static_cast<float>(b.shift);
        float x = std::trunc(f.x - p.leftFirstX);
        const float half = static_cast<float>(leftFont.lineHeight) * 0.5f;
        for (auto clue = clues.rows[i].rbegin(); clue != clues.rows[i].rend(); ++clue, x -= p.leftInterval) {
            const float w = static_cast<float>(NumberWidth(leftFont, *clue)) * 0.5f;
            Grow(e, x - w, y - half, x + w, y + half);
        }
        y += static_cast<float>(b.cell);
    }
    float x = std::trunc(f.x + p.upFirstX);
    for (size_t i = 0; i < clues.cols.size(); ++i) {
        if (b.block != 0 && static_cast<int>(i) % b.block == 0) x -= static_cast<float>(b.shift);
        float cy = std::trunc(f.y - p.upFirstY);
        const float half = static_cast<float>(upFont.lineHeight) * 0.5f;
        for (auto clue = clues.cols[i].rbegin(); clue != clues.cols[i].rend(); ++clue, cy -= p.upInterval) {
            const float w = static_cast<float>(NumberWidth(upFont, *clue)) * 0.5f;
            Grow(e, x - w, cy - half, x + w, cy + half);
        }
        x += static_cast<float>(b.cell);
    }
    return e;
}

BoardExtent BoardExtentOf(const Theme::BoardGeometry& b, const BoardClues& clues, const ClueFontMetrics& left,
                          const ClueFontMetrics& up, const CluePlacement& placement, int earLeft, int earUp) {
    BoardExtent e = ClueExtent(b, clues, left, up, placement);
    const FieldPlacement f = PlaceField(b, static_cast<int>(clues.cols.size()), static_cast<int>(clues.rows.size()));
    const float leftEar = static_cast<float>(earLeft > 0 ? earLeft : Theme::kDecoration.earSize);
    const float upEar = static_cast<float>(earUp > 0 ? earUp : Theme::kDecoration.earSize);
    const float border = static_cast<float>(Theme::kDecoration.borderCorner);
    Grow(e, f.x - leftEar, f.y - upEar, f.x + static_cast<float>(f.width), f.y + static_cast<float>(f.height));
    Grow(e, f.x - border, f.y - border, f.x + static_cast<float>(f.width) + border,
         f.y + static_cast<float>(f.height) + border);
    return e;
}

PlayField PlayFieldOf(bool tutorial) {
    const Theme::BoardScreenTheme& s = Theme::kBoardScreen;
    PlayField field{static_cast<float>(s.fieldLeft), static_cast<float>(s.fieldTop), static_cast<float>(s.fieldRight),
                    static_cast<float>(s.fieldBottom)};
    if (tutorial) {
        const Theme::TutorialStepTheme& t = Theme::kTutorialStep;
        field.left = std::max(field.left, static_cast<float>(s.width / 2 + t.x + t.width / 2 + s.margin));
    }
    return field;
}

float FieldFill(const BoardExtent& e, const PlayField& f) {
    return std::max((e.right - e.left) / (f.right - f.left), (e.bottom - e.top) / (f.bottom - f.top));
}

bool FitBoard(const Theme::BoardSizeLook& size, const BoardClues& clues, const ClueFontMetrics& font,
              const PlayField& field, BoardLook& out) {
    const Theme::ClueLayoutTheme& t = Theme::kClueLayout;
    int widestRow = 0, widestColumn = 0;
    for (const auto& line : clues.rows)
        for (const int clue : line) widestRow = std::max(widestRow, NumberWidth(font, clue));
    for (const auto& line : clues.cols)
        for (const int clue : line) widestColumn = std::max(widestColumn, NumberWidth(font, clue));
    out = BoardLook{};
    out.font = std::string(size.clueFont);
    Theme::BoardGeometry& b = out.board;
    b = Theme::BoardGeometry{size.size, size.maxCell, Theme::kBoardBlock, Theme::kBoardShift, 0.0f, 0.0f, 0};
    for (const Theme::BoardGeometry& shared : Theme::kBoards)
        if (shared.size == size.size) b.bonuses = shared.bonuses;
    const float half = static_cast<float>(font.lineHeight) * 0.5f;
    // The numbers nearest the field stand `pad` from it; the bands end `pad` past the outermost.
    CluePlacement& p = out.clues;
    p.leftInterval = static_cast<float>(widestRow + t.rowGap);
    p.leftFirstX = static_cast<float>(t.pad) + std::ceil(static_cast<float>(widestRow) * 0.5f);
    p.upInterval = static_cast<float>(font.digitHeight + t.columnGap);
    p.upFirstY = static_cast<float>(t.pad) + std::ceil(half);
    for (int cell = size.maxCell; cell >= size.minCell; --cell) {
        b.cell = cell;
        p.leftFirstY = p.upFirstX = static_cast<float>(cell) / 2.0f;
        b.x = b.y = 0.0f;
        const FieldPlacement f = PlaceField(b, static_cast<int>(clues.cols.size()), static_cast<int>(clues.rows.size()));
        const BoardExtent numbers = ClueExtent(b, clues, font, font, p);
        out.earLeft = static_cast<int>(std::ceil(f.x - numbers.left)) + t.pad;
        out.earUp = static_cast<int>(std::ceil(f.y - numbers.top)) + t.pad;
        const float border = static_cast<float>(Theme::kDecoration.borderCorner);
        const float width = static_cast<float>(out.earLeft + f.width) + border;
        const float height = static_cast<float>(out.earUp + f.height) + border;
        if (width > field.right - field.left || height > field.bottom - field.top) continue;
        if (widestColumn > cell - 2) return false;
        // Centred in the field, the field's corner on a whole pixel.
        const float left = std::floor(field.left + (field.right - field.left - width) / 2.0f);
        const float top = std::floor(field.top + (field.bottom - field.top - height) / 2.0f);
        b.x = left + static_cast<float>(out.earLeft) + static_cast<float>(f.width) / 2.0f;
        b.y = top + static_cast<float>(out.earUp) + static_cast<float>(f.height) / 2.0f;
        return true;
    }
    return false;
}

bool FitsScreen(const BoardExtent& e) {
    const Theme::BoardScreenTheme& s = Theme::kBoardScreen;
    const float m = static_cast<float>(s.margin);
    return e.left >= m && e.top >= m && e.right <= static_cast<float>(s.controlsLeft) - m &&
           e.bottom <= static_cast<float>(s.height) - m;
}

bool CluesOnEars(const Theme::BoardGeometry& b, const BoardClues& clues, const ClueFontMetrics& left,
                 const ClueFontMetrics& up) {
    const BoardExtent e = ClueExtent(b, clues, left, up);
    const FieldPlacement f = PlaceField(b, static_cast<int>(clues.cols.size()), static_cast<int>(clues.rows.size()));
    const float ear = static_cast<float>(Theme::kDecoration.earSize);
    return e.left >= f.x - ear && e.top >= f.y - ear;
}

std::string DescribeExtent(const BoardExtent& e) {
    const auto n = [](float v) { return std::to_string(static_cast<int>(std::floor(v))); };
    return n(e.left) + ".." + n(e.right) + " x " + n(e.top) + ".." + n(e.bottom);
}

}  // namespace ContentBuilder
