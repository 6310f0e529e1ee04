#pragma once
// The show and hide bots built from the property map of a window's "bots" entry: keys "delay" and
// "time" (seconds, floats; a missing one reads as 0). Null when the allocation fails.

class JCPropertyMap;

namespace QRV {

class JC_GUI_OBJECT;
class JCBot_GuiShow;
class JCBot_GuiHide;

JCBot_GuiShow* CreateBotGuiShow(const JCPropertyMap& properties, JC_GUI_OBJECT* object);
JCBot_GuiHide* CreateBotGuiHide(const JCPropertyMap& properties, JC_GUI_OBJECT* object);

}  // namespace QRV
