#include "game/ui/window_factory.h"

#include <cstring>

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

}  // namespace

JCWindow* CreateWindowByType(const pugi::xml_document& document) {
    const pugi::xml_node root = document.document_element();
    const pugi::xml_attribute type = root.attribute("_type");
    if (!type || !root.attribute("_name")) return nullptr;
    for (const FactoryEntry& entry : kWindowTypes) {
        if (std::strcmp(type.as_string(), entry.type) != 0) continue;
        JCWindow* window = entry.create();
        window->Load(root);
        window->PlaceTransforms();
        return window;
    }
    return nullptr;
}

void RefreshGuiTexts(QRV::JC_GUI_OBJECT* widget, const QRV::JC_STRING_TABLE* table) { LocaliseGuiTree(widget, table); }
