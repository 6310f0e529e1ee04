#include "tools/content_builder/string_table_source.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tools/content_builder/help_numbers.h"
#include "tools/content_builder/theme.h"
#include "tools/content_builder/xml_text.h"

namespace ContentBuilder {
namespace {

[[noreturn]] void Fail(int line, const std::string& what) {
    throw StringsSourceError("line " + std::to_string(line) + ": " + what);
}

// Length of the UTF-8 sequence at text[i], or 0 when it is not a valid, shortest-form scalar.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t b0 = byte(i);
    if (b0 < 0x80) return 1;
    size_t n;
    uint32_t cp;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4;
        cp = b0 & 0x07;
    } else return 0;
    if (i + n > text.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr uint32_t kMinimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

void CheckUtf8(std::string_view text, int line) {
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8SequenceLength(text, i);
        if (n == 0) Fail(line, "invalid UTF-8");
        i += n;
    }
}

std::string Unescape(std::string_view raw, int line) {
    std::string text;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\t') Fail(line, "more than one tab (write \\t for a tab in the text)");
        if (static_cast<unsigned char>(c) < 0x20) Fail(line, "control character in the text");
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++i == raw.size()) Fail(line, "the text ends with a lone backslash");
        switch (raw[i]) {
            case 'n': text += '\n'; break;
            case 't': text += '\t'; break;
            case '\\': text += '\\'; break;
            default: Fail(line, std::string("unknown escape \\") + raw[i]);
        }
    }
    return text;
}

}  // namespace

std::vector<StringEntry> ParseStringsSource(std::string_view source) {
    if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);
    std::vector<StringEntry> entries;
    std::set<std::string, std::less<>> keys;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < source.size()) {
        const size_t end = std::min(source.find('\n', pos), source.size());
        std::string_view line = source.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#') continue;

        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) Fail(lineNumber, "no tab between key and text");
        const std::string_view key = line.substr(0, tab);
        if (key.empty()) Fail(lineNumber, "empty key");
        for (char c : key)
            if (static_cast<unsigned char>(c) <= 0x20) Fail(lineNumber, "blank or control character in the key");
        CheckUtf8(line, lineNumber);
        if (!keys.insert(std::string(key)).second) Fail(lineNumber, "key \"" + std::string(key) + "\" repeated");
        entries.push_back({std::string(key), Unescape(line.substr(tab + 1), lineNumber)});
    }
    return entries;
}

std::string StringTableXml(const std::vector<StringEntry>& entries, std::string_view sheetName) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<?mso-application progid=\"Excel.Sheet\"?>\n"
        "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\n"
        "          xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
        " <Worksheet ss:Name=\"" +
        XmlEscape(sheetName) +
        "\">\n"
        "  <Table ss:ExpandedColumnCount=\"2\" ss:ExpandedRowCount=\"" +
        std::to_string(entries.size()) + "\">\n";
    for (const StringEntry& e : entries) {
        xml += "   <Row><Cell><Data ss:Type=\"String\">" + XmlEscape(e.key) +
               "</Data></Cell><Cell><Data ss:Type=\"String\">" + XmlEscape(e.text) + "</Data></Cell></Row>\n";
    }
    xml += "  </Table>\n </Worksheet>\n</Workbook>\n";
    return xml;
}

std::string StringOfSource(const std::string& contentDir, std::string_view key) {
    const std::filesystem::path source = std::filesystem::path(contentDir) / Theme::kStringsSource;
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const StringEntry& e : ParseStringsSource(text))
        if (e.key == key) return e.text;
    throw std::runtime_error(source.string() + ": no key " + std::string(key));
}

void BuildStringTable(const std::string& contentDir, OutputTree& out) {
    const std::filesystem::path source = std::filesystem::path(contentDir) / Theme::kStringsSource;
    std::ifstream in(source, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + source.string());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<StringEntry> entries;
    try {
        entries = ParseStringsSource(text);
    } catch (const StringsSourceError& e) {
        throw std::runtime_error(source.string() + ": " + e.what());
    }
    // Texts quote the game's numbers from the values the data is built from.
    for (StringEntry& e : entries) {
        try {
            e.text = ExpandHelpNumbers(e.text);
        } catch (const HelpNumberError& error) {
            throw std::runtime_error(source.string() + ": key " + e.key + ": " + error.what());
        }
    }
    const std::string xml = StringTableXml(entries, Theme::kStringsSheetName);
    out.Write("Resources/" + std::string(Theme::kStringsFolder) + "/" + std::string(Theme::kStringsFile), xml);
    out.Write("Resources/" + std::string(Theme::kStringsFile), xml);
}

}  // namespace ContentBuilder
