#include "game/ui/window_factory.h"

#include <cstring>
#include <map>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "engine/gui/gui_layout.h"
#include "engine/windows/window.h"
#include "engine/windows/window_editbox.h"
#include "engine/windows/window_simple.h"

namespace {

using Creator = JCWindow* (*)();

template <class Window>
JCWindow* Make() {
    return new Window();
}

// In the order they are compared.
struct FactoryEntry {
    const char* type;
    Creator create;
};
constexpr FactoryEntry kWindowTypes[] = {
    {"G_WINDOW_EDITBOX", &Make<JCWindow_Editbox>},
    {"G_WINDOW_SIMPLE", &Make<JCWindow_Simple>},
};

// The game's own classes, added at start-up.
std::map<std::string, Creator, std::less<>>& AddedTypes() {
    static std::map<std::string, Creator, std::less<>> types;
    return types;
}

Creator FindCreator(const char* type) {
    for (const FactoryEntry& entry : kWindowTypes)
        if (std::strcmp(type, entry.type) == 0) return entry.create;
    const auto added = AddedTypes().find(std::string_view(type));
    return added == AddedTypes().end() ? nullptr : added->second;
}

}  // namespace

void RegisterFactoryWindowType(const char* type, JCFactoryWindowCreator create) {
    if (type == nullptr || create == nullptr) return;
    AddedTypes()[type] = create;
}

JCWindow* CreateWindowByType(const pugi::xml_document& document) {
    const pugi::xml_node root = document.document_element();
    const pugi::xml_attribute type = root.attribute("_type");
    if (!type || !root.attribute("_name")) return nullptr;
    const Creator create = FindCreator(type.as_string());
    if (create == nullptr) return nullptr;
    JCWindow* window = create();
    window->Load(root);
    window->PlaceTransforms();
    return window;
}

void RefreshGuiTexts(QRV::JC_GUI_OBJECT* widget, const QRV::JC_STRING_TABLE* table) { LocaliseGuiTree(widget, table); }
