#include "tools/content_builder/level_content.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include <pugixml.hpp>

#include "tools/content_builder/board_files.h"
#include "tools/content_builder/board_fit.h"
#include "tools/content_builder/layout_file_check.h"
#include "tools/content_builder/level_art.h"
#include "tools/content_builder/level_files.h"
#include "tools/content_builder/resource_paths.h"
#include "tools/content_builder/tutorial_steps.h"
#include "tools/content_builder/window_content.h"

namespace ContentBuilder {
namespace {

namespace fs = std::filesystem;

std::string PackPath(std::string_view folder, std::string_view file) {
    return "Resources/" + std::string(folder) + "/" + std::string(file);
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

// One cell size for every level, blocks that divide every board, a gap (never an overlap).
std::vector<std::string> CheckBoardGeometry() {
    std::vector<std::string> faults;
    for (const Theme::BoardGeometry& b : Theme::kBoards) {
        const std::string size = "boards of " + std::to_string(b.size) + ": ";
        if (b.cell != Theme::kBoardCell) faults.push_back(size + "the clue style serves one cell size only");
        if (b.block <= 0 || b.size % b.block != 0) faults.push_back(size + "blocks must divide the board");
        if (b.shift > 0) faults.push_back(size + "the block gap is a negative shiftBlock");
        const auto look = std::find_if(Theme::kBoardLooks.begin(), Theme::kBoardLooks.end(),
                                       [&b](const Theme::BoardSizeLook& l) { return l.size == b.size; });
        if (look == Theme::kBoardLooks.end() || look->minCell > look->maxCell || look->minCell < 2)
            faults.push_back(size + "no look with a smallest cell up to its largest");
    }
    return faults;
}

ClueFontMetrics ClueFont(const OutputTree& out, std::string_view panel) {
    for (const Theme::CluePanelStyle& p : Theme::kCluePanels)
        if (p.element == panel)
            return ReadClueFontMetrics(out.RunDir() / RunPath(Theme::kFontFolder, std::string(p.font) + ".xml"));
    throw std::logic_error("no clue panel " + std::string(panel));
}

const Theme::BoardSizeLook* LookFor(int size) {
    for (const Theme::BoardSizeLook& look : Theme::kBoardLooks)
        if (look.size == size) return &look;
    throw std::logic_error("no board look for boards of " + std::to_string(size));
}

bool IsEffectAnimation(const std::string& name) {
    for (const Theme::BoardAnimation& a : Theme::kEffectAnimations)
        if (a.name == name) return true;
    return false;
}

}  // namespace

std::vector<PackSource> BuildLevelContent(const std::string& contentDir, OutputTree& out) {
    std::vector<PackSource> packs = ReadPackSources(fs::path(contentDir) / Theme::kLevelSource);

    std::vector<std::string> faults = CheckBoardGeometry();
    std::set<std::string> blocks;
    for (const Theme::BoardGeometry& board : Theme::kBoards)
        if (blocks.insert(BlockFile(board)).second)
            out.Write(RunPath(Theme::kBoardFolder, BlockFile(board)), EncodeTexture(DrawBoardBlock(board)));
    out.Write(RunPath(Theme::kBoardFolder, kSelectionYesFile), EncodeTexture(DrawSelectionYes(Theme::kBoardCell)));
    out.Write(RunPath(Theme::kBoardFolder, kSelectionNoFile), EncodeTexture(DrawSelectionNo(Theme::kBoardCell)));
    const Theme::LevelTileTheme& tile = Theme::kLevelTile;
    const Theme::PackCardTheme& card = Theme::kPackCard;
    out.Write(RunPath(Theme::kPackArtFolder, card.cardFile), EncodeTexture(DrawPackCard()));
    out.Write(RunPath(Theme::kPackArtFolder, card.activeFile), EncodeTexture(DrawPackActive()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.openFile), EncodeTexture(DrawLevelOpen()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.closedFile), EncodeTexture(DrawLevelClosed()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.activeFile), EncodeTexture(DrawLevelActive()));
    out.Write(RunPath(Theme::kPackArtFolder, tile.starFile), EncodeTexture(DrawLevelStars()));
    out.Write(RunPath(Theme::kPackArtFolder, Theme::kTutorialStep.flashFile), EncodeTexture(DrawTutorialFlash()));
    out.Write(RunPath(Theme::kPackArtFolder, Theme::kTutorialArrow.file), EncodeTexture(DrawTutorialArrow()));

    const LayoutReferences refs = ReferencesOf(contentDir, out);
    const ClueFontMetrics left = ClueFont(out, "numbersLeft"), up = ClueFont(out, "numbersUp");
    std::map<std::string, ClueFontMetrics> clueFonts;
    const auto FontOf = [&](std::string_view name) -> const ClueFontMetrics& {
        auto found = clueFonts.find(std::string(name));
        if (found == clueFonts.end())
            found = clueFonts
                        .emplace(std::string(name), ReadClueFontMetrics(out.RunDir() / RunPath(Theme::kFontFolder,
                                                                                               std::string(name) + ".xml")))
                        .first;
        return found->second;
    };
    std::set<std::string> art = blocks;  // the board textures written so far
    for (const Theme::BoardGeometry& board : Theme::kBoards) {
        // The largest boards get the most clues a line can hold.
        const BoardExtent e = BoardExtentOf(board, FullestClues(board.size), left, up);
        if (!FitsScreen(e))
            faults.push_back("boards of " + std::to_string(board.size) + " with the most clues a line can hold take " +
                             DescribeExtent(e) + ", beyond the screen or into the controls column");
    }
    for (const PackSource& pack : packs) {
        const Theme::Rgb tint = PackTint(pack.properties.theme);
        const LinePicture& cover = pack.levels[static_cast<size_t>(pack.properties.cover - 1)].picture;
        const std::string image = PackImageRepository(pack.folder), main = PackMainRepository(pack.folder);
        out.Write(PackPath(image, Theme::kPackCoverFile), EncodeTexture(DrawPackCover(cover, tint)));
        out.Write(PackPath(image, Theme::kPackCoverClosedFile), EncodeTexture(DrawPackCoverClosed(cover, tint)));
        out.Write(PackPath(image, Theme::kPackBackgroundFile), EncodeTexture(DrawBoardBackground(tint)));

        const bool tutorial = pack.folder.rfind("tutorial", 0) == 0;
        std::map<int, Theme::BoardGeometry> looks;  // by level number
        for (const LevelSource& level : pack.levels) {
            const Theme::BoardSizeLook* size = LookFor(level.picture.cols);
            const BoardClues clues = CluesOfPicture(level.picture);
            const PlayField field = PlayFieldOf(tutorial);
            const ClueFontMetrics& font = FontOf(size->clueFont);
            BoardLook look;
            if (!FitBoard(*size, clues, font, field, look)) {
                faults.push_back(level.source.string() + ": the board and its clues fit the play field with no cell of " +
                                 std::to_string(size->minCell) + " to " + std::to_string(size->maxCell) +
                                 " pixels, or a column's number is wider than the cell");
                continue;
            }
            const BoardExtent e =
                BoardExtentOf(look.board, clues, font, font, look.clues, look.earLeft, look.earUp);
            if (!FitsScreen(e))
                faults.push_back(level.source.string() + ": the board and its clues take " + DescribeExtent(e) +
                                 ", beyond the 1024 x 768 screen or into the controls column");
            if (FieldFill(e, field) < Theme::kBoardScreen.minFill)
                faults.push_back(level.source.string() + ": the board and its clues take " + DescribeExtent(e) +
                                 ", too little of the play field");
            looks[level.number] = look.board;
            if (art.insert(BlockFile(look.board)).second)
                out.Write(RunPath(Theme::kBoardFolder, BlockFile(look.board)), EncodeTexture(DrawBoardBlock(look.board)));
            const int cell = look.board.cell;
            if (art.insert(SizedArtFile(kSelectionYesFile, cell)).second) {
                out.Write(RunPath(Theme::kBoardFolder, SizedArtFile(kSelectionYesFile, cell)),
                          EncodeTexture(DrawSelectionYes(cell)));
                out.Write(RunPath(Theme::kBoardFolder, SizedArtFile(kSelectionNoFile, cell)),
                          EncodeTexture(DrawSelectionNo(cell)));
            }
            WriteLevelLookArt(out, look, font, art);
            out.Write(PackPath(pack.folder, LevelFileName(level.number)),
                      LevelFileXml(level.picture, look.board, look.earLeft, look.earUp, LevelLookXml(look, font)));
        }
        for (const TutorialStep& step : pack.steps) {
            for (const std::string& effect : EffectsOfStep(step))
                if (!IsEffectAnimation(effect))
                    faults.push_back(pack.folder + " step line " + std::to_string(step.line) + ": the effect \"" +
                                     effect + "\" is not an animation of the effects file");
            // The step's panel stands beside the board as the level lays it out.
            if (const auto board = looks.find(step.level); board != looks.end())
                for (const auto& [col, row] : CellsUnderPanel(step, board->second))
                    faults.push_back(pack.folder + " step line " + std::to_string(step.line) +
                                     ": the step's panel covers the cell " + std::to_string(col) + " " +
                                     std::to_string(row));
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
