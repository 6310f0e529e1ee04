#include "engine/gui/gui_bot_builders.h"

#include <new>
#include <string>

#include "engine/core/property_map.h"
#include "engine/gui/bot_gui_fade.h"

namespace QRV {

namespace {

float ReadFloat(const JCPropertyMap& properties, const std::string& key) {
    const JSProperty* property = properties.Find(key);
    return property != nullptr ? property->floatValue : 0.0f;
}

}  // namespace

JCBot_GuiShow* CreateBotGuiShow(const JCPropertyMap& properties, JC_GUI_OBJECT* object) {
    return new (std::nothrow) JCBot_GuiShow(object, ReadFloat(properties, "time"), ReadFloat(properties, "delay"));
}

JCBot_GuiHide* CreateBotGuiHide(const JCPropertyMap& properties, JC_GUI_OBJECT* object) {
    return new (std::nothrow) JCBot_GuiHide(ReadFloat(properties, "delay"), ReadFloat(properties, "time"), object);
}

}  // namespace QRV
