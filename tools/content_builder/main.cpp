// quorvel_content_builder <content dir> <run dir>
// Makes everything the game reads at run time from this repository's sources.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/content_builder/all_content.h"
#include "tools/content_builder/animation_sheets.h"
#include "tools/content_builder/bar_icons.h"
#include "tools/content_builder/board_files.h"
#include "tools/content_builder/border_art.h"
#include "tools/content_builder/catalogue_content.h"
#include "tools/content_builder/control_files.h"
#include "tools/content_builder/finish_art.h"
#include "tools/content_builder/font_content.h"
#include "tools/content_builder/game_config_content.h"
#include "tools/content_builder/game_cursor.h"
#include "tools/content_builder/gui_content.h"
#include "tools/content_builder/level_content.h"
#include "tools/content_builder/output_tree.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <content dir> <run dir>\n", argv[0]);
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    try {
        const std::string contentDir = argv[1];
        ContentBuilder::OutputTree out(argv[2]);
        // Every step, in order: all_content.cpp holds the list (new steps go under its markers).
        const auto packs = ContentBuilder::BuildAllContent(contentDir, out);
        ContentBuilder::BuildWindowIcons(out);
        ContentBuilder::BuildStringTable(contentDir, out);
        ContentBuilder::BuildZipRepository(contentDir, out);
        ContentBuilder::BuildTestSprites(out);
        ContentBuilder::BuildAnimationSheets(out);
        ContentBuilder::BuildNinePartPanel(out);
        ContentBuilder::BuildParticleEffects(out);
        ContentBuilder::BuildGuiTextures(out);
        ContentBuilder::BuildFonts(contentDir, out);
        ContentBuilder::BuildSounds(out);
        ContentBuilder::BuildGameConfig(out);
        ContentBuilder::BuildBorderArt(out);
        ContentBuilder::BuildPurchaseOverlay(out);
        ContentBuilder::BuildGameCursor(out);
        const auto packs = ContentBuilder::BuildLevelContent(contentDir, out);
        ContentBuilder::BuildBoardFiles(out);
        ContentBuilder::BuildControlFiles(out);
        ContentBuilder::BuildLoadingScreen(out);
        // The screens' art, one call each:
        // -- title and profiles
        // -- side bar and lists
        // -- shop and offer wall
        // -- options, help and credits
        // -- trophies and bars
        ContentBuilder::BuildBarIcons(out);
        // -- windows around a level
        ContentBuilder::BuildFinishArt(out);
        // -- tutorial steps (windows)
        // -- interface sounds
        // Last: windows and layouts are checked against everything above.
        ContentBuilder::BuildWindowContent(contentDir, out);
        ContentBuilder::BuildCatalogueContent(contentDir, out);
        const int stale = out.Finish();
        // The game scans the finished folder, files the builder did not make included.
        const auto folderFaults = ContentBuilder::CheckPackFolders(out.RunDir() / "Resources", packs);
        for (const std::string& fault : folderFaults) std::fprintf(stderr, "content builder: %s\n", fault.c_str());
        if (!folderFaults.empty()) return 1;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("content: %zu files in %s (%d stale removed) in %.2f s\n", out.WrittenCount(), argv[2], stale,
                    seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "content builder: %s\n", e.what());
        return 1;
    }
    return 0;
}
