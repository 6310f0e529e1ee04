#include "tools/content_builder/window_content.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include <pugixml.hpp>

#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/layout_placeholders.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/texture_png.h"
#include "tools/content_builder/theme.h"

namespace ContentBuilder {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Faults of every file, reported together so one build shows them all.
class Faults {
public:
    void Add(const fs::path& file, const std::string& text, std::ptrdiff_t offset, const std::string& what) {
        const auto end = text.begin() + std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(text.size()));
        const long line = 1 + std::count(text.begin(), end, '\n');
        lines_ += file.string() + ":" + std::to_string(line) + ": " + what + "\n";
    }
    void AddAll(const fs::path& file, const std::string& text, const LayoutProblems& problems) {
        for (const LayoutProblem& p : problems) Add(file, text, p.offset, p.message);
    }
    void ThrowIfAny() const {
        if (!lines_.empty()) throw std::runtime_error("layout faults:\n" + lines_);
    }

private:
    std::string lines_;
};

// One authored file: its source path, the text with the theme's values in place, its document.
struct Authored {
    fs::path source;
    std::string text;
    std::unique_ptr<pugi::xml_document> document = std::make_unique<pugi::xml_document>();
};

// Reads, expands and parses; a fault goes to `faults` and gives no document.
bool Load(const fs::path& source, Authored& file, Faults& faults) {
    file.source = source;
    const std::string raw = ReadFile(source);
    try {
        file.text = ExpandLayoutPlaceholders(raw);
    } catch (const PlaceholderError& e) {
        faults.Add(source, raw, static_cast<std::ptrdiff_t>(e.offset), e.what());
        return false;
    }
    const pugi::xml_parse_result parsed = file.document->load_buffer(file.text.data(), file.text.size());
    if (!parsed) {
        faults.Add(source, file.text, parsed.offset, std::string("not well-formed XML: ") + parsed.description());
        return false;
    }
    return true;
}

// The XML files of a source folder in name order; anything else there is a fault.
std::vector<fs::path> XmlFilesOf(const fs::path& folder, Faults& faults) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".xml" &&
            entry.path().filename().string().find(' ') == std::string::npos)
            files.push_back(entry.path());
        else faults.Add(entry.path(), "", 0, "not an XML file without blanks in its name");
    }
    std::sort(files.begin(), files.end());
    return files;
}

void BuildBackdrop(OutputTree& out) {
    const int side = Theme::kBackdropSide;
    out.Write(RunPath(Theme::kGuiFolder, Theme::kBackdropFile),
              EncodeTexture({side, side, std::vector<uint8_t>(static_cast<size_t>(side) * side * 4, 0xFF)}));
}

}  // namespace

std::string RunPathOfKey(std::string_view key) {
    const size_t blank = key.find(' ');
    if (blank == std::string_view::npos) return "Resources/" + std::string(key);
    return RunPath(key.substr(0, blank), key.substr(blank + 1));
}

LayoutReferences ReferencesOf(const std::string& contentDir, const OutputTree& out) {
    auto keys = std::make_shared<std::set<std::string, std::less<>>>();
    for (StringEntry& e : ParseStringsSource(ReadFile(fs::path(contentDir) / Theme::kStringsSource)))
        keys->insert(std::move(e.key));
    return {
        [&out](std::string_view key) { return out.Has(RunPathOfKey(key)); },
        [keys](std::string_view key) { return keys->count(key) != 0; },
        // Every effect of the "sounds" group is written as <name>.ogg to the sound folder.
        [&out](std::string_view name) {
            return !name.empty() && out.Has(RunPath(Theme::kSoundFolder, std::string(name) + ".ogg"));
        },
    };
}

void BuildWindowContent(const std::string& contentDir, OutputTree& out) {
    BuildBackdrop(out);
    const fs::path content(contentDir);
    const LayoutReferences refs = ReferencesOf(contentDir, out);
    Faults faults;

    // Windows: one file per window, named after the window.
    std::vector<Authored> windows;
    std::set<std::string, std::less<>> windowKeys, names;
    for (const fs::path& source : XmlFilesOf(content / Theme::kWindowSource, faults)) {
        // Listed or not is a question of the file name, whatever its own faults.
        windowKeys.insert(ResourceKey(Theme::kWindowFolder, source.filename().string()));
        Authored file;
        if (!Load(source, file, faults)) continue;
        faults.AddAll(source, file.text, CheckWindowFile(*file.document, refs));
        const pugi::xml_node root = file.document->document_element();
        const std::string name = root.attribute("_name").value();
        if (!name.empty() && name + ".xml" != source.filename().string())
            faults.Add(source, file.text, root.offset_debug(),
                       "the file of window \"" + name + "\" is " + name + ".xml");
        if (!name.empty() && !names.insert(name).second)
            faults.Add(source, file.text, root.offset_debug(), "a second window named \"" + name + "\"");
        windows.push_back(std::move(file));
    }

    // The window list names each of them once.
    Authored list;
    const fs::path listSource = content / Theme::kWindowListSource;
    if (Load(listSource, list, faults)) {
        std::vector<std::string> listed;
        faults.AddAll(listSource, list.text,
                      CheckWindowList(
                          *list.document, [&](std::string_view key) { return windowKeys.count(key) != 0; }, listed));
        for (const std::string& key : windowKeys)
            if (std::find(listed.begin(), listed.end(), key) == listed.end())
                faults.Add(listSource, list.text, 0, "window file \"" + key + "\" is not in the list");
    }

    std::vector<Authored> layouts;
    for (const fs::path& source : XmlFilesOf(content / Theme::kLayoutSource, faults)) {
        Authored file;
        if (!Load(source, file, faults)) continue;
        faults.AddAll(source, file.text, CheckPagesLayout(*file.document, refs));
        layouts.push_back(std::move(file));
    }

    faults.ThrowIfAny();
    for (const Authored& w : windows) out.Write(RunPath(Theme::kWindowFolder, w.source.filename().string()), w.text);
    out.Write(RunPath(Theme::kCatalogueFolder, Theme::kWindowList), list.text);
    for (const Authored& l : layouts) out.Write(RunPath(Theme::kLayoutFolder, l.source.filename().string()), l.text);
}

}  // namespace ContentBuilder
