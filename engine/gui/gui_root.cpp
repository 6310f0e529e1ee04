#include "engine/gui/gui_root.h"

#include <utility>

#include "engine/core/prefetch.h"

namespace QRV {

JC_GUI_ROOT::JC_GUI_ROOT() : rootObject(new JC_GUI_OBJECT(0)) {}

JC_GUI_ROOT::~JC_GUI_ROOT() { delete rootObject; }

void JC_GUI_ROOT::BuildLevels(int32_t level, JC_GUI_OBJECT* node) {
    if (node == nullptr || level < -1) return;
    const size_t next = static_cast<size_t>(level + 1);
    if (next == levels.size()) levels.emplace_back();
    if (next >= levels.size()) return;
    for (JC_GUI_OBJECT* child : node->children) {
        levels[next].push_back(child);
        BuildLevels(level + 1, child);
    }
}

void JC_GUI_ROOT::SortLevelsByTexture() {
    for (std::vector<JC_GUI_OBJECT*>& level : levels) {
        size_t insert = 0;
        for (size_t i = 0; i < level.size(); ++i) {
            // A node before the insertion point belongs to a group that is already complete.
            if (i < insert) continue;
            const JS_TEXTURE* key = level[i]->GetTexture();
            for (size_t j = insert; j < level.size(); ++j) {
                if (level[j]->GetTexture() == key) std::swap(level[j], level[insert++]);
            }
        }
    }
}

void JC_GUI_ROOT::RebuildLevels() {
    levels.clear();
    BuildLevels(-1, rootObject);
    SortLevelsByTexture();
}

void JC_GUI_ROOT::Draw() {
    // Drawing runs no callback and moves no widget, so the absolute transform of each node that
    // places others is worked out once, top down (a level's parents are all met before it), and
    // its children's quads fold only their own transform into it.
    absolutes.Clear();
    const JC_ABSOLUTE_PASS pass(&absolutes);
    absolutes.Add(rootObject->transform);
    // By index with the sizes read afresh: a widget's Draw may not disturb the pass.
    for (size_t l = 0; l < levels.size(); ++l) {
        for (size_t i = 0; i < levels[l].size(); ++i) {
            JC_GUI_OBJECT* node = levels[l][i];
            PrefetchAhead(levels[l], i);
            if (!node->children.empty()) absolutes.Add(node->transform);
            if (node->visible != 0) node->Draw();
        }
    }
}

void JC_GUI_ROOT::SetAlpha(float alpha) { rootObject->SetAlphaTree(alpha); }

void JC_GUI_ROOT::RestoreResources() {
    rootObject->RestoreResources();
    for (size_t i = 0; i < rootObject->children.size(); ++i) rootObject->children[i]->RestoreTree();
}

void JC_GUI_ROOT::ReleaseResources() {
    rootObject->ReleaseResources();
    for (size_t i = 0; i < rootObject->children.size(); ++i) rootObject->children[i]->ReleaseTree();
}

}  // namespace QRV
