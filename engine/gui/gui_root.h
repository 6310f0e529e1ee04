#pragma once
// The root of a widget tree (a window's, a paged grid's, a page item's) and its draw levels: the
// nodes sorted by depth (level 0 the root object's children, level 1 theirs, ...) and, within a
// level, grouped by texture so that neighbours share a batch. The root object itself (id 0) is
// never drawn.
//
// Painter's order is therefore by depth, then by texture group (in order of first appearance), not
// tree order. Levels hold borrowed pointers: whoever adds, removes or deletes widgets of the tree
// rebuilds the levels (RebuildLevels) before the next Draw.

#include <cstdint>
#include <vector>

#include "engine/graphics/absolute_memo.h"
#include "engine/gui/gui_object.h"

namespace QRV {

class JC_GUI_ROOT {
public:
    // A root object with id 0 and no levels.
    JC_GUI_ROOT();
    // Deletes the root object and with it the tree.
    ~JC_GUI_ROOT();
    JC_GUI_ROOT(const JC_GUI_ROOT&) = delete;
    JC_GUI_ROOT& operator=(const JC_GUI_ROOT&) = delete;

    // Appends the node's children to level + 1, each followed by its own subtree (depth first);
    // an empty level is appended whenever level + 1 is the number of levels, so the deepest
    // level is always empty. The whole tree: BuildLevels(-1, rootObject).
    void BuildLevels(int32_t level, JC_GUI_OBJECT* node);
    // Within each level, nodes of one texture become neighbours, groups in order of first
    // appearance, the order inside a group kept.
    void SortLevelsByTexture();
    // Clears the levels, builds them from the root object and sorts them.
    void RebuildLevels();

    // Every level from 0 upward, each node in order; hidden nodes are skipped. A widget's Draw must
    // not move a node that has children (their quads take its placement as the pass began).
    void Draw();
    // SetAlphaTree from the root object.
    void SetAlpha(float alpha);
    // The root object's own slot, then the whole subtree of each child.
    void RestoreResources();
    void ReleaseResources();

    JC_GUI_OBJECT* rootObject = nullptr;
    // Not owning.
    std::vector<std::vector<JC_GUI_OBJECT*>> levels;

private:
    // The absolute transforms of the nodes with children during Draw.
    JC_ABSOLUTE_MEMO absolutes;
};

}  // namespace QRV
