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
#include "tools/content_builder/help_content.h"
#include "tools/content_builder/level_content.h"
#include "tools/content_builder/loading_screen_content.h"
#include "tools/content_builder/nine_part_panel.h"
#include "tools/content_builder/particle_effects.h"
#include "tools/content_builder/purchase_overlay.h"
#include "tools/content_builder/sound_content.h"
#include "tools/content_builder/string_table_source.h"
#include "tools/content_builder/test_sprites.h"
#include "tools/content_builder/title_art.h"
#include "tools/content_builder/window_content.h"
#include "tools/content_builder/window_icons.h"
#include "tools/content_builder/zip_repository.h"

namespace ContentBuilder {

std::vector<PackSource> BuildAllContent(const std::string& contentDir, OutputTree& out) {
    BuildWindowIcons(out);
    BuildStringTable(contentDir, out);
    BuildZipRepository(contentDir, out);
    BuildTestSprites(out);
    BuildAnimationSheets(out);
    BuildNinePartPanel(out);
    BuildParticleEffects(out);
    BuildGuiTextures(out);
    BuildFonts(contentDir, out);
    BuildSounds(out);
    BuildGameConfig(out);
    BuildBorderArt(out);
    BuildPurchaseOverlay(out);
    BuildGameCursor(out);
    std::vector<PackSource> packs = BuildLevelContent(contentDir, out);
    BuildBoardFiles(contentDir, out);
    BuildControlFiles(out);
    BuildLoadingScreen(out);
    // The screens' art, one call each:
    // -- title and profiles
    BuildTitleArt(out);
    // -- side bar and lists
    // -- shop and offer wall
    // -- options, help and credits
    BuildHelpContent(contentDir, out);
    // -- trophies and bars
    BuildBarIcons(out);
    // -- windows around a level
    BuildFinishArt(out);
    // -- tutorial steps (windows)
    // -- interface sounds
    // Last: windows and layouts are checked against everything above.
    BuildWindowContent(contentDir, out);
    BuildCatalogueContent(contentDir, out);
    return packs;
}

}  // namespace ContentBuilder
