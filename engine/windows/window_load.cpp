// Reading a window's XML description, placing it on the screen and building its XML bots.
//
//   <AnyName _name="Options" _typeOpen="SH_FADE" _typeClose="SH_MOVE_UP" _typePos="POS_IN_PIX"
//            _timeShow="0.4" _timeHide="0.3" _delayShow="0" _delayHide="0" _modal="true"
//            _layer="2" _position="512 300">
//     <GUI> widget elements (gui_layout.h) </GUI>
//     <background START_COLOR="0 0 0 0" END_COLOR="160 0 0 0" SIZE="1024 768">texture</background>
//     <bots><bot><param key="type" value="show"/><param key="gui" value="3|4"/>...</bot></bots>
//     <sounds><item id="3" sound="click_ok"/></sounds>
//     <settings .../>
//   </AnyName>

#include <pugixml.hpp>

#include "engine/bots/actor_animation.h"
#include "engine/bots/actor_move.h"
#include "engine/bots/bot_builders.h"
#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/graphics/sprite.h"
#include "engine/gui/bot_gui_fade.h"
#include "engine/gui/gui_bot_builders.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_layout.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/screen_size.h"
#include "engine/windows/window.h"

using namespace QRV;

namespace {

std::string PropertyText(const JCPropertyMap& map, const char* key) {
    const JSProperty* property = map.Find(key);
    return property != nullptr ? property->text : std::string();
}

}  // namespace

int32_t ParseWindowShowType(const char* text) {
    static const char* const kNames[] = {"SH_MOMENTAL",  "SH_FADE",      "SH_MOVE_UP",
                                         "SH_MOVE_DOWN", "SH_MOVE_LEFT", "SH_MOVE_RIGHT"};
    const std::string name = text != nullptr ? text : "";
    for (int32_t i = 0; i < 6; ++i) {
        if (name == kNames[i]) return i;
    }
    return WindowShow::Other;
}

int32_t ParseWindowPositionType(const char* text) {
    const std::string name = text != nullptr ? text : "";
    if (name == "POS_MIDDLE_SCREEN") return WindowPos::MiddleScreen;
    if (name == "POS_IN_PIX") return WindowPos::InPixels;
    return WindowPos::Fractions;
}

void JCWindow::Load(const pugi::xml_node& root) {
    LoadRootAttributes(root);
    LoadAttributes(root);

    if (const pugi::xml_node element = root.child("GUI")) {
        BuildGuiChildren(gui, element);
        gui->rootObject->transform->parent = windowTransform;
        OnGuiLoaded(gui->rootObject);
    }
    if (const pugi::xml_node element = root.child("background")) LoadBackground(element);
    if (const pugi::xml_node element = root.child("bots")) {
        for (const pugi::xml_node description : element.children()) {
            if (description.type() != pugi::node_element) continue;
            botDescriptions.emplace_back();
            botDescriptions.back().Load(description);
        }
    }
    if (const pugi::xml_node element = root.child("sounds")) LoadSounds(element);
    pugi::xml_node settings = root.child("settings");
    if (!settings) settings = root.child("SETTINGS");
    if (settings) LoadSettings(settings);
}

void JCWindow::LoadRootAttributes(const pugi::xml_node& root) {
    if (const pugi::xml_attribute a = root.attribute("_name")) name = a.as_string();
    if (const pugi::xml_attribute a = root.attribute("_typeOpen")) openType = ParseWindowShowType(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_typeClose")) closeType = ParseWindowShowType(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_typePos")) positionType = ParseWindowPositionType(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_timeShow"); a && openType != WindowShow::Momental) {
        showTime = AsciiToFloat(a.as_string());
        hideTime = showTime;
    }
    if (const pugi::xml_attribute a = root.attribute("_timeHide"); a && closeType != WindowShow::Momental) {
        hideTime = AsciiToFloat(a.as_string());
    }
    if (const pugi::xml_attribute a = root.attribute("_delayHide")) hideDelay = AsciiToFloat(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_delayShow")) showDelay = AsciiToFloat(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_modal")) modal = IsTrueText(a.as_string()) ? 1 : 0;
    if (const pugi::xml_attribute a = root.attribute("layer")) layer = AsciiToInt(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_layer")) layer = AsciiToInt(a.as_string());
    if (const pugi::xml_attribute a = root.attribute("_position")) {
        float x = 0.0f, y = 0.0f;
        ParseVector2(a.as_string(), x, y);
        if (positionType == WindowPos::InPixels) {
            restPlacement.positionX = x;
            restPlacement.positionY = y;
            restPlacement.positionZ = 0.0f;
        } else if (positionType == WindowPos::Fractions) {
            restPlacement.fractionX = x;
            restPlacement.fractionY = y;
            restPlacement.positionX = x * LogicalScreenWidth();
            restPlacement.positionY = y * LogicalScreenHeight();
        }
    }
}

void JCWindow::LoadBackground(const pugi::xml_node& element) {
    delete background;
    background = new G_SPRITE(std::string(element.text().as_string()));
    const auto readColor = [&](const char* key, uint32_t& color) {
        const pugi::xml_attribute a = element.attribute(key);
        if (!a) return;
        JS_COLOR_BYTES bytes;
        for (int i = 0; i < 4; ++i) bytes.b[i] = static_cast<uint8_t>(color >> (8 * i));
        ParseColor(a.as_string(), bytes);
        color = PackARGB(bytes);
    };
    readColor("START_COLOR", startColor);
    readColor("END_COLOR", endColor);
    if (const pugi::xml_attribute a = element.attribute("SIZE")) {
        float w = background->width, h = background->height;
        ParseVector2(a.as_string(), w, h);
        background->SetSize(w, h);
    }
    SetMeshColor(background, startColor);
    background->transform->positionX = LogicalScreenWidth() * 0.5f;
    background->transform->positionY = LogicalScreenHeight() * 0.5f;
    background->hotSpot = 4;
    background->SetPivotFromHotSpot(4);
}

void JCWindow::LoadSounds(const pugi::xml_node& element) {
    for (const pugi::xml_node item : element.children("item")) {
        const int32_t id = AsciiToInt(item.attribute("id").as_string());
        // The sound is an attribute like the id; the element's text stands in when it is absent.
        const pugi::xml_attribute sound = item.attribute("sound");
        sounds[id] = sound ? sound.as_string() : item.text().as_string();
    }
}

void JCWindow::PlaceTransforms() {
    const float width = LogicalScreenWidth();
    const float height = LogicalScreenHeight();
    if (positionType == WindowPos::MiddleScreen) {
        restPlacement.fractionX = 0.5f;
        restPlacement.fractionY = 0.5f;
        restPlacement.positionX = width * 0.5f;
        restPlacement.positionY = height * 0.5f;
    }
    float fx = restPlacement.fractionX;
    float fy = restPlacement.fractionY;
    if (positionType == WindowPos::InPixels) {
        // Moves of a pixel-placed window go from and to its pixel position, not the screen corner.
        fx = width > 0.0f ? restPlacement.positionX / width : 0.0f;
        fy = height > 0.0f ? restPlacement.positionY / height : 0.0f;
    }
    const auto place = [&](JS_TRANSFORM3_AUTO& placement, int32_t type, bool entering) {
        float px = 0.0f, py = 0.0f;
        switch (type) {
            case WindowShow::MoveUp: px = fx, py = entering ? 3.0f * fy : -fy; break;
            case WindowShow::MoveDown: px = fx, py = entering ? -fy : 3.0f * fy; break;
            case WindowShow::MoveLeft: px = entering ? 3.0f * fx : -fx, py = fy; break;
            case WindowShow::MoveRight: px = entering ? -fx : 3.0f * fx, py = fy; break;
            default: placement = restPlacement; return;
        }
        placement.fractionX = px;
        placement.fractionY = py;
        placement.positionX = width * px;
        placement.positionY = height * py;
    };
    place(startPlacement, openType, true);
    place(endPlacement, closeType, false);
    PutWindowAt(startPlacement);
}

void JCWindow::RebuildXmlBots() {
    xmlBots.Clear();
    JC_GUI_OBJECT* tree = gui->rootObject;
    for (const JCPropertyMap& description : botDescriptions) {
        const std::string type = PropertyText(description, "type");
        const std::string ids = PropertyText(description, "gui");
        if (type == "show" || type == "hide") {
            for (const std::string& id : SplitStdString(ids, '|', true)) {
                if (id.empty()) continue;
                JC_GUI_OBJECT* widget = tree->FindChildById(AsciiToInt(id));
                if (widget == nullptr) continue;
                if (type == "show") xmlBots.Add(CreateBotGuiShow(description, widget));
                else xmlBots.Add(CreateBotGuiHide(description, widget));
            }
            continue;
        }
        // A description without a widget gives no bot.
        JC_GUI_OBJECT* widget = ids.empty() ? nullptr : tree->FindChildById(AsciiToInt(ids));
        if (widget == nullptr) continue;
        if (type == "move") {
            xmlBots.Add(CreateBotMove(description, widget->transform));
        } else if (type == "move_loop") {
            xmlBots.Add(CreateBotMoveLoop(description, widget->transform));
        } else if (type == "animation" && widget->kind == GUI_KIND::Image) {
            // Only images hold a frame animation.
            if (auto* image = dynamic_cast<JC_GUI_IMAGE*>(widget); image != nullptr && image->sprite != nullptr) {
                xmlBots.Add(CreateBotAnimation(description, image->sprite));
            }
        }
    }
}
