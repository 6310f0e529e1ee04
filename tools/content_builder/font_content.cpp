#include "tools/content_builder/font_content.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "tools/content_builder/bmfont_description.h"
#include "tools/content_builder/font_rasteriser.h"
#include "tools/content_builder/glyph_atlas.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

// The source was checked when it was parsed, so every sequence here is valid UTF-8.
void AppendCodepoints(std::string_view text, std::vector<uint32_t>& out) {
    for (size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<uint8_t>(text[i]);
        const size_t n = b0 < 0x80 ? 1 : (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : 4;
        uint32_t c = n == 1 ? b0 : n == 2 ? (b0 & 0x1Fu) : n == 3 ? (b0 & 0x0Fu) : (b0 & 0x07u);
        for (size_t k = 1; k < n && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3Fu);
        i += n;
        if (c >= 0x20 && (c < 0x7F || c > 0x9F)) out.push_back(c);
    }
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<StringEntry> ReadStrings(const std::string& contentDir) {
    const std::filesystem::path source = std::filesystem::path(contentDir) / Theme::kStringsSource;
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        return ParseStringsSource(text);
    } catch (const StringsSourceError& e) {
        throw std::runtime_error(source.string() + ": " + e.what());
    }
}

constexpr bool EveryGuiFontNamesACatalogueFont() {
    for (const Theme::GuiFont& gui : Theme::kGuiFonts) {
        bool found = false;
        for (const Theme::FontRecipe& recipe : Theme::kFonts) found = found || recipe.name == gui.font;
        if (!found) return false;
    }
    return true;
}
static_assert(EveryGuiFontNamesACatalogueFont(), "a GUI font names a font that kFonts does not make");

}  // namespace

std::vector<uint32_t> FontCodepoints(const std::vector<StringEntry>& strings) {
    std::vector<uint32_t> codepoints;
    for (uint32_t c = 0x20; c < 0x7F; ++c) codepoints.push_back(c);
    for (const StringEntry& entry : strings) AppendCodepoints(entry.text, codepoints);
    std::sort(codepoints.begin(), codepoints.end());
    codepoints.erase(std::unique(codepoints.begin(), codepoints.end()), codepoints.end());
    return codepoints;
}

std::string FontCatalogueXml() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<catalogue>\n  <fonts>\n";
    for (const Theme::FontRecipe& f : Theme::kFonts) {
        const std::string name(f.name);
        xml += "    <font name=\"" + XmlEscape(name) + "\" texture=\"" +
               XmlEscape(ResourceKey(Theme::kFontFolder, name + ".png")) + "\" xml=\"" +
               XmlEscape(ResourceKey(Theme::kFontFolder, name + ".xml")) + "\"/>\n";
    }
    return xml + "  </fonts>\n</catalogue>\n";
}

void BuildFonts(const std::string& contentDir, OutputTree& out) {
    const std::vector<uint32_t> codepoints = FontCodepoints(ReadStrings(contentDir));
    std::map<std::string, std::vector<uint8_t>> files;  // each font file is read once
    for (const Theme::FontRecipe& recipe : Theme::kFonts) {
        FontStyle style{std::string(recipe.face), recipe.pixelSize, std::nullopt, recipe.tabularDigits};
        if (recipe.shadow) style.shadow = Theme::kTitleShadow;
        std::string file(recipe.file);
        if (!std::filesystem::exists(file)) {
            std::fprintf(stderr, "content builder: %s is missing; %s falls back to %s\n", file.c_str(),
                         std::string(recipe.name).c_str(), std::string(recipe.fallbackFile).c_str());
            file = recipe.fallbackFile;
            style.face = recipe.fallbackFace;
        }
        if (!files.count(file)) files[file] = ReadFile(file);

        const std::string name(recipe.name);
        RasterFont font;
        try {
            font = RasteriseFont(files[file], style, codepoints);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(name + " (" + file + "): " + e.what());
        }
        GlyphAtlas atlas = PackGlyphs(font.glyphs, Theme::kGlyphSpacing, Theme::kMinAtlasSide, Theme::kMaxAtlasSide);
        out.Write(RunPath(Theme::kFontFolder, name + ".xml"), BmFontDescriptionXml(font, atlas, name + ".png"));
        const std::vector<uint8_t> png = EncodeTexture(atlas.image);
        out.Write(RunPath(Theme::kFontFolder, name + ".png"), png);

        // The GUI font draws without kerning: its copy lists none, so it measures as it draws.
        font.kernings.clear();
        for (const Theme::GuiFont& gui : Theme::kGuiFonts) {
            if (gui.font != recipe.name) continue;
            const std::string file(gui.file);
            out.Write(RunPath(Theme::kGuiFolder, file + ".xml"), BmFontDescriptionXml(font, atlas, file + ".png"));
            out.Write(RunPath(Theme::kGuiFolder, file + ".png"), png);
        }
    }
    out.Write(RunPath(Theme::kFontFolder, Theme::kFontCatalogue), FontCatalogueXml());
}

}  // namespace ContentBuilder
