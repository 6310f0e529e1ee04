#include "tools/content_builder/level_content.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include <pugixml.hpp>

#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/level_art.h"
#include "tools/content_builder/level_files.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/window_content.h"

namespace ContentBuilder {
namespace {

namespace fs = std::filesystem;

std::string PackPath(std::string_view folder, std::string_view file) {
    return "Resources/" + std::string(folder) + "/" + std::string(file);
}

size_t LongestClue(const LinePicture& picture, bool rows) {
    size_t longest = 1;  // a line without picture cells shows the clue 0
    const int lines = rows ? picture.rows : picture.cols, length = rows ? picture.cols : picture.rows;
    std::vector<bool> line;
    for (int i = 0; i < lines; ++i) {
        line.assign(static_cast<size_t>(length), false);
        for (int j = 0; j < length; ++j) line[static_cast<size_t>(j)] = rows ? picture.At(j, i) : picture.At(i, j);
        longest = std::max(longest, CluesOf(line).size());
    }
    return longest;
}

// Problems of a generated file, with what it is.
void AddProblems(std::vector<std::string>& faults, const std::string& file, const LayoutProblems& problems) {
    for (const LayoutProblem& p : problems) faults.push_back(file + ": " + p.message);
}

void CheckPackItem(const std::string& file, const std::string& xml, const PackSource& pack,
                   const LayoutReferences& refs, std::vector<std::string>& faults) {
    pugi::xml_document document;
    if (!document.load_string(xml.c_str())) {
        faults.push_back(file + ": not well-formed XML");
        return;
    }
    // The card is one item of the pack list's grid: check it as a grid of one.
    pugi::xml_document grid;
    pugi::xml_node pages = grid.append_child("pages");
    pages.append_attribute("cols") = 1;
    pages.append_attribute("rows") = 1;
    pages.append_copy(document.document_element());
    AddProblems(faults, file, CheckPagesLayout(grid, refs));
    if (!refs.string(pack.properties.title))
        faults.push_back(file + ": the title \"" + pack.properties.title + "\" is not a key of the string table");
}

void CheckPages(const std::string& file, const std::string& xml, const PackSource& pack, const LayoutReferences& refs,
                std::vector<std::string>& faults) {
    pugi::xml_document document;
    if (!document.load_string(xml.c_str())) {
        faults.push_back(file + ": not well-formed XML");
        return;
    }
    AddProblems(faults, file, CheckPagesLayout(document, refs));
    const auto items =
        std::distance(document.document_element().children().begin(), document.document_element().children().end());
    if (items != static_cast<std::ptrdiff_t>(pack.levels.size()))
        faults.push_back(file + ": " + std::to_string(items) + " items for " + std::to_string(pack.levels.size()) +
                         " levels");
}

}  // namespace

BoardExtent BoardExtentOf(const LinePicture& picture, const Theme::BoardGeometry& b) {
    const auto fieldSize = [&](int cells) {
        const int blocks = b.block > 0 ? (cells + b.block - 1) / b.block : 0;
        return static_cast<float>(blocks * b.cell * b.block - (blocks + 1) * b.shift);
    };
    const float w = fieldSize(picture.cols), h = fieldSize(picture.rows);
    const float left = b.x - w * 0.5f, top = b.y - h * 0.5f;
    const auto reach = [&](size_t clues) {
        return b.clueFirst + static_cast<float>(clues - 1) * b.clueInterval + Theme::kClueHalfWidth;
    };
    return {left - reach(LongestClue(picture, true)), top - reach(LongestClue(picture, false)), left + w, top + h};
}

bool FitsScreen(const BoardExtent& e) { return e.left >= 0 && e.top >= 0 && e.right <= 1024 && e.bottom <= 768; }

std::vector<PackSource> BuildLevelContent(const std::string& contentDir, OutputTree& out) {
    std::vector<PackSource> packs = ReadPackSources(fs::path(contentDir) / Theme::kLevelSource);

    for (const Theme::BoardGeometry& board : Theme::kBoards)
        out.Write(RunPath(Theme::kBoardFolder, BlockFile(board)), EncodeTexture(DrawBoardBlock(board)));
    out.Write(RunPath(Theme::kBoardFolder, kSelectionYesFile), EncodeTexture(DrawSelectionYes()));
    out.Write(RunPath(Theme::kBoardFolder, kSelectionNoFile), EncodeTexture(DrawSelectionNo()));
    const Theme::LevelTileTheme& tile = Theme::kLevelTile;
    const Theme::PackCardTheme& card = Theme::kPackCard;
    out.Write(RunPath(Theme::kPackArtFolder, card.cardFile), EncodeTexture(DrawPackCard()));
    out.Write(RunPath(Theme::kPackArtFolder, card.activeFile), EncodeTexture(DrawPackActive()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.openFile), EncodeTexture(DrawLevelOpen()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.closedFile), EncodeTexture(DrawLevelClosed()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.activeFile), EncodeTexture(DrawLevelActive()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.starFile), EncodeTexture(DrawLevelStars()));
    out.Write(RunPath(Theme::kPackArtFolder, Theme::kTutorialStep.flashFile), EncodeTexture(DrawTutorialFlash()));

    const LayoutReferences refs = ReferencesOf(contentDir, out);
    std::vector<std::string> faults;
    for (const PackSource& pack : packs) {
        const Theme::Rgb tint = PackTint(pack.properties.theme);
        const LinePicture& cover = pack.levels[static_cast<size_t>(pack.properties.cover - 1)].picture;
        const std::string image = PackImageRepository(pack.folder), main = PackMainRepository(pack.folder);
        out.Write(PackPath(image, Theme::kPackCoverFile), EncodeTexture(DrawPackCover(cover, tint)));
        out.Write(PackPath(image, Theme::kPackCoverClosedFile), EncodeTexture(DrawPackCoverClosed(cover, tint)));
        out.Write(PackPath(image, Theme::kPackBackgroundFile), EncodeTexture(DrawBoardBackground(tint)));

        for (const LevelSource& level : pack.levels) {
            const Theme::BoardGeometry& board = *BoardFor(level.picture.cols);
            const BoardExtent e = BoardExtentOf(level.picture, board);
            if (!FitsScreen(e))
                faults.push_back(level.source.string() + ": the board and its clues take " + std::to_string(e.left) +
                                 ".." + std::to_string(e.right) + " x " + std::to_string(e.top) + ".." +
                                 std::to_string(e.bottom) + ", beyond the 1024 x 768 screen");
            out.Write(PackPath(pack.folder, LevelFileName(level.number)), LevelFileXml(level.picture, board));
        }
        for (const TutorialStep& step : pack.steps) {
            const std::string folder = pack.folder + "/tutorial/" + LevelBaseName(step.level);
            const std::string path = PackPath(folder, StepFileName(step.step));
            const std::string xml =
                TutorialStepXml(step, StepWindowName(pack.folder, step.level, step.step), pack.properties.title);
            pugi::xml_document document;
            if (!document.load_string(xml.c_str())) faults.push_back(path + ": not well-formed XML");
            else AddProblems(faults, path, CheckWindowFile(document, refs));
            out.Write(path, xml);
        }
        const std::string item = PackItemXml(pack), pages = PackPagesXml(pack);
        const std::string itemPath = PackPath(main, Theme::kPackItemFile),
                          pagesPath = PackPath(main, Theme::kPackPagesFile);
        CheckPackItem(itemPath, item, pack, refs, faults);
        CheckPages(pagesPath, pages, pack, refs, faults);
        out.Write(itemPath, item);
        out.Write(pagesPath, pages);
    }
    if (!faults.empty()) {
        std::string text = "pack faults:";
        for (const std::string& f : faults) text += "\n" + f;
        throw std::runtime_error(text);
    }
    return packs;
}

std::vector<std::string> CheckPackFolders(const fs::path& resources, const std::vector<PackSource>& packs) {
    std::vector<std::string> faults;
    std::set<std::string> known;
    for (const PackSource& pack : packs) known.insert(pack.folder);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(resources, error)) {
        if (!entry.is_directory()) continue;
        const std::string name = entry.path().filename().string();
        const bool tutorial = name.rfind("tutorial", 0) == 0;
        if (!tutorial && name.rfind("pack", 0) != 0) continue;
        if (known.count(name) == 0)
            faults.push_back(entry.path().string() +
                             ": the game scans every folder beginning with \"pack\" or \"tutorial\" as a pack");
        if (name.find('.') != std::string::npos)
            faults.push_back(entry.path().string() + ": a pack folder without \".\"");
        if (tutorial && name.find('_') != std::string::npos)
            faults.push_back(entry.path().string() + ": a tutorial folder without \"_\"");
    }
    if (error) faults.push_back(resources.string() + ": " + error.message());
    for (const PackSource& pack : packs) {
        std::vector<std::string> files, expected;
        for (const fs::directory_entry& entry : fs::directory_iterator(resources / pack.folder, error))
            if (!entry.is_directory()) files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        for (const LevelSource& level : pack.levels) expected.push_back(LevelFileName(level.number));
        if (files != expected)
            faults.push_back((resources / pack.folder).string() + ": its plain files must be its level files only, " +
                             expected.front() + " to " + expected.back());
    }
    return faults;
}

}  // namespace ContentBuilder
