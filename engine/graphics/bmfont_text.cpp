#include "engine/graphics/bmfont_text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <limits>
#include <mutex>

#include "engine/core/format_wide.h"
#include "engine/core/trace_hook.h"
#include "engine/graphics/bmfont_reader.h"
#include "engine/graphics/render.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/transform.h"

namespace QRV {

namespace {

// 16-bit indices address at most this many quads in one draw.
constexpr uint32_t kMaxQuadsPerDraw = 65536 / 4;

// Where a line or the block starts for an anchor's column (or row) and the extent: 0, -extent / 2
// (whole pixels) or -extent. Numbers outside 0..8 anchor at the upper left.
int64_t AnchorOffset(int32_t place, int64_t extent) {
    switch (place) {
        case 1: return -(extent / 2);
        case 2: return -extent;
        default: return 0;
    }
}

int32_t ColumnOf(int32_t anchor) { return anchor >= 0 && anchor <= 8 ? anchor % 3 : 0; }
int32_t RowOf(int32_t anchor) { return anchor >= 0 && anchor <= 8 ? anchor / 3 : 0; }

}  // namespace

JC_BMFONT_TEXT::~JC_BMFONT_TEXT() { Clear(); }

bool JC_BMFONT_TEXT::Load(const pugi::xml_document* document, JS_TEXTURE* atlas, uint32_t maxCharacters) {
    if (document == nullptr || atlas == nullptr) return false;
    Clear();
    texture = atlas;

    JS_BMFONT_DESCRIPTION description;
    ReadBmFontDescription(document->document_element(), atlas->width, atlas->height, description);
    faceName = std::move(description.face);
    lineHeight = description.lineHeight;
    base = description.base;
    scaleW = description.scaleW;
    scaleH = description.scaleH;
    tables = ShareTables(std::move(description.glyphs));
    reportedMissing.clear();

    Reserve(maxCharacters);
    loaded = 1;
    return true;
}

void JC_BMFONT_TEXT::Reserve(uint32_t maxCharacters) {
    // Texts this long could not be laid out in memory anyway.
    maxCharacters = std::min<uint32_t>(maxCharacters, 1u << 24);
    capacity = maxCharacters;
    const size_t quads = size_t{maxCharacters} + 1;
    rects.assign(quads, JS_RECT_QUAD{});
    // One more than the capacity, so that a formatted text that does not fit can be told apart.
    textBuffer.assign(quads + 1, L'\0');
}

void JC_BMFONT_TEXT::Draw(float x, float y, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    DrawV(x, y, format, args);
    va_end(args);
}

void JC_BMFONT_TEXT::DrawV(float x, float y, const wchar_t* format, va_list args) {
    if (loaded == 0 || format == nullptr || textBuffer.empty()) return;
    FormatWideV(textBuffer.data(), textBuffer.size(), format, args);
    // The formatter cuts at the buffer's end; a text that filled the spare place was cut.
    const size_t length = std::wcslen(textBuffer.data());
    if (length == 0 || length > capacity) return;
    Submit(x, y, Layout(std::wstring_view(textBuffer.data(), length)));
}

void JC_BMFONT_TEXT::DrawText(float x, float y, std::wstring_view text) {
    if (loaded == 0 || text.empty() || text.size() > capacity) return;
    Submit(x, y, Layout(text));
}

int32_t JC_BMFONT_TEXT::GetLineWidth(std::wstring_view text) const {
    if (loaded == 0) return 0;
    int64_t width = 0;
    for (const wchar_t c : text) {
        if (c == L'\n') break;
        width += Advance(static_cast<uint32_t>(c));
    }
    return static_cast<int32_t>(std::min<int64_t>(width, std::numeric_limits<int32_t>::max()));
}

void JC_BMFONT_TEXT::Clear() {
    tables = EmptyTables();
    color = 0xFFFFFFFF;
    anchor = 4;
    loaded = 0;
}

void JC_BMFONT_TEXT::CopyMetrics(const JS_BMFONT_GLYPH& glyph, LayoutGlyph& out) {
    out.xoffset = glyph.xoffset;
    out.yoffset = glyph.yoffset;
    out.width = static_cast<float>(glyph.width);
    out.height = static_cast<float>(glyph.height);
    out.uLeft = glyph.uLeft;
    out.vTop = glyph.vTop;
    out.uRight = glyph.uRight;
    out.vBottom = glyph.vBottom;
    out.xadvance = glyph.xadvance;
}

const std::shared_ptr<const JC_BMFONT_TEXT::GlyphTables>& JC_BMFONT_TEXT::EmptyTables() {
    static const std::shared_ptr<const GlyphTables> empty = std::make_shared<const GlyphTables>();
    return empty;
}

std::shared_ptr<const JC_BMFONT_TEXT::GlyphTables> JC_BMFONT_TEXT::ShareTables(JS_BMFONT_GLYPH_MAP glyphs) {
    // Every label of a font reads the same description: one copy of its glyphs serves them all
    // for as long as one of them holds it. Texts load on the loader thread as well.
    static std::mutex lock;
    static std::vector<std::weak_ptr<const GlyphTables>> made;
    std::lock_guard<std::mutex> guard(lock);
    std::erase_if(made, [](const std::weak_ptr<const GlyphTables>& entry) { return entry.expired(); });
    for (const std::weak_ptr<const GlyphTables>& entry : made) {
        std::shared_ptr<const GlyphTables> candidate = entry.lock();
        if (candidate != nullptr && candidate->glyphs.size() == glyphs.size() && candidate->glyphs == glyphs)
            return candidate;
    }
    auto fresh = std::make_shared<GlyphTables>();
    fresh->glyphs = std::move(glyphs);
    BuildLayoutTable(*fresh);
    made.push_back(fresh);
    return fresh;
}

void JC_BMFONT_TEXT::BuildLayoutTable(GlyphTables& tables) {
    std::vector<LayoutGlyph>& layoutGlyphs = tables.layoutGlyphs;
    std::vector<KerningPair>& kerningPairs = tables.kerningPairs;
    for (const auto& [code, glyph] : tables.glyphs) {
        if (code >= kFastCodes) continue;
        LayoutGlyph& entry = layoutGlyphs[code];
        CopyMetrics(glyph, entry);
        entry.present = true;
        entry.kerningFirst = static_cast<uint32_t>(kerningPairs.size());
        entry.kerningCount = static_cast<uint32_t>(glyph.kerning.size());
        for (const auto& [previous, amount] : glyph.kerning) {
            kerningPairs.push_back({previous, amount});
            if (previous < kFastCodes) entry.kernedAfter[previous / 64] |= uint64_t{1} << (previous % 64);
        }
        std::sort(kerningPairs.begin() + entry.kerningFirst, kerningPairs.end(),
                  [](const KerningPair& a, const KerningPair& b) { return a.previous < b.previous; });
    }
}

int32_t JC_BMFONT_TEXT::Kerning(const LayoutGlyph& glyph, uint32_t previous) const {
    // Most neighbours have no pair: one bit says so.
    if (previous < kFastCodes && (glyph.kernedAfter[previous / 64] >> (previous % 64) & 1) == 0) return 0;
    const KerningPair* first = tables->kerningPairs.data() + glyph.kerningFirst;
    const KerningPair* last = first + glyph.kerningCount;
    const KerningPair* pair =
        std::lower_bound(first, last, previous, [](const KerningPair& p, uint32_t code) { return p.previous < code; });
    return pair != last && pair->previous == previous ? pair->amount : 0;
}

void JC_BMFONT_TEXT::ReportMissing(uint32_t code) {
    if (GetTraceHook() == nullptr ||
        std::find(reportedMissing.begin(), reportedMissing.end(), code) != reportedMissing.end())
        return;
    reportedMissing.push_back(code);
    ReportTrace(TraceReport::MissingGlyph, CodePointName(code), sourceName.empty() ? faceName : sourceName);
}

uint32_t JC_BMFONT_TEXT::Layout(std::wstring_view text) {
    const int32_t column = ColumnOf(anchor);
    const int32_t row = RowOf(anchor);
    // Left-aligned lines and top-anchored blocks need no measuring.
    const int64_t lines = row == 0 ? 1 : 1 + std::count(text.begin(), text.end(), L'\n');
    int64_t penY = AnchorOffset(row, int64_t{lineHeight} * lines);
    int64_t penX = column == 0 ? 0 : AnchorOffset(column, GetLineWidth(text));

    JS_RECT_QUAD* out = rects.data();
    uint32_t quads = 0;
    bool hasPrevious = false;
    uint32_t previous = 0;
    LayoutGlyph beyond;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<uint32_t>(text[i]);
        if (code == L'\n') {
            penY += lineHeight;
            penX = column == 0 ? 0 : AnchorOffset(column, GetLineWidth(text.substr(i + 1)));
            // Kerning pairs neighbours on one line only.
            hasPrevious = false;
            continue;
        }
        const LayoutGlyph* glyph;
        if (code < kFastCodes) {
            glyph = &tables->layoutGlyphs[code];
            if (!glyph->present) {
                ReportMissing(code);
                continue;
            }
            if (hasPrevious && glyph->kerningCount != 0) penX += Kerning(*glyph, previous);
        } else {
            // Beyond the table: read from the glyph map as it stands.
            const auto found = tables->glyphs.find(code);
            if (found == tables->glyphs.end()) {
                ReportMissing(code);
                continue;
            }
            const JS_BMFONT_GLYPH& source = found->second;
            CopyMetrics(source, beyond);
            glyph = &beyond;
            if (hasPrevious && !source.kerning.empty()) {
                const auto pair = source.kerning.find(previous);
                if (pair != source.kerning.end()) penX += pair->second;
            }
        }
        const auto left = static_cast<float>(penX + glyph->xoffset);
        const auto top = static_cast<float>(penY + glyph->yoffset);
        *out++ = {left,         top,         left + glyph->width, top + glyph->height,
                  glyph->uLeft, glyph->vTop, glyph->uRight,       glyph->vBottom};
        ++quads;
        penX += glyph->xadvance;
        previous = code;
        hasPrevious = true;
    }
    return quads;
}

void JC_BMFONT_TEXT::Submit(float x, float y, uint32_t quads) {
    if (quads == 0 || g_render == nullptr) return;
    // The quads are laid out on whole pixels; so is the place they are drawn at.
    transform.positionX = std::floor(x + 0.5f);
    transform.positionY = std::floor(y + 0.5f);
    transform.positionZ = 0.0f;
    LoadWorldMatrix(&transform);
    SubmitRects(rects.data(), quads, color, texture, renderState);
}

void JC_BMFONT_TEXT::SubmitRects(const JS_RECT_QUAD* quads, uint32_t count, uint32_t argb, JS_TEXTURE* atlas,
                                 uint32_t state) {
    // The renderer drops a draw larger than its buffers, so long texts go in pieces that fit.
    const uint32_t perDraw = std::min({g_render->vertexCapacity / 4, g_render->indexCapacity / 6, kMaxQuadsPerDraw});
    if (perDraw == 0) return;
    for (uint32_t first = 0; first < count; first += perDraw) {
        g_render->DrawRects(quads + first, std::min(perDraw, count - first), argb, atlas, state);
    }
}

uint32_t JC_BMFONT_TEXT::LayoutPlaced(float x, float y, std::wstring_view text, std::vector<JS_RECT_QUAD>& out) {
    if (loaded == 0 || text.empty() || text.size() > capacity) return 0;
    const uint32_t quads = Layout(text);
    // Where Submit puts the transform; a world matrix of that position alone adds it to every
    // corner (times 1, plus the other axis times 0), which is what is added here.
    const float placeX = std::floor(x + 0.5f);
    const float placeY = std::floor(y + 0.5f);
    for (uint32_t i = 0; i < quads; ++i) {
        const JS_RECT_QUAD& r = rects[i];
        out.push_back({r.left + placeX, r.top + placeY, r.right + placeX, r.bottom + placeY, r.u0, r.v0, r.u1, r.v1});
    }
    return quads;
}

bool JC_BMFONT_TEXT::PlacesOnlyByPosition() const {
    const JS_TRANSFORM3& t = transform;
    return t.parent == nullptr && t.pivotX == 0.0f && t.pivotY == 0.0f && t.rotationX == 0.0f && t.rotationY == 0.0f &&
           t.rotationZ == 0.0f && t.scaleX == 1.0f && t.scaleY == 1.0f && t.scaleZ == 1.0f;
}

void JC_BMFONT_TEXT::DrawPlaced(const JS_RECT_QUAD* placed, uint32_t count, uint32_t argb) const {
    const JS_PLACED_TEXT text{0, count, argb};
    DrawPlaced(placed, &text, 1);
}

void JC_BMFONT_TEXT::DrawPlaced(const JS_RECT_QUAD* placed, const JS_PLACED_TEXT* texts, size_t count) const {
    if (placed == nullptr || texts == nullptr || g_render == nullptr) return;
    g_render->worldMatrix = Matrix4::Identity();
    for (size_t i = 0; i < count; ++i) {
        const JS_PLACED_TEXT& text = texts[i];
        if (text.count != 0) SubmitRects(placed + text.first, text.count, text.argb, texture, renderState);
    }
}

}  // namespace QRV
