#include "game/data/level_pages.h"

JCPagesItem* JCLevelPages::CreateItem(const pugi::xml_node& element, int32_t index) {
    return new JCLevel(element, index, stringTable);
}

JCLevel* JCLevelPages::LevelAt(size_t index) const {
    if (index >= items.size()) return JCLevel::Default();
    auto* level = dynamic_cast<JCLevel*>(items[index]);
    return level != nullptr ? level : JCLevel::Default();
}
