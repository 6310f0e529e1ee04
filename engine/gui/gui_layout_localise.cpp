// Label texts of a widget tree replaced by their entries in the string table.
#include <string>

#include "engine/core/conversions.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_layout.h"
#include "engine/resources/string_table.h"

using namespace QRV;

void LocaliseGuiTree(JC_GUI_OBJECT* object, const JC_STRING_TABLE* table) {
    if (object == nullptr || table == nullptr) return;
    if (object->kind == GUI_KIND::WLabel) {
        auto* label = static_cast<JC_GUI_WLABEL*>(object);
        // An empty text is no key: a row with an empty first cell must not fill every blank label.
        if (!label->GetText().empty()) {
            const std::string key = WideToUtf8(label->GetText());
            const std::string value = table->Find(key);
            // Makes room for the whole translation, however long.
            if (value != key) label->SetText(Utf8ToWide(value));
        }
    }
    for (size_t i = 0; i < object->children.size(); ++i) LocaliseGuiTree(object->children[i], table);
}
