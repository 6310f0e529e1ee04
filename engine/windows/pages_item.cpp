#include "engine/windows/pages_item.h"

#include <pugixml.hpp>

#include "engine/core/conversions.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_root.h"
#include "engine/platform/input.h"
#include "engine/windows/item_gui_reader.h"
#include "engine/windows/pointer_data.h"

using namespace QRV;

JCPagesItem::JCPagesItem() { id = static_cast<uint32_t>(-1); }

JCPagesItem::JCPagesItem(const pugi::xml_node& element, int32_t index, const JC_STRING_TABLE* table) {
    id = static_cast<uint32_t>(index);
    JCPagesItem::Load(element, table);
}

JCPagesItem::~JCPagesItem() { delete gui; }

int32_t JCPagesItem::Message(int32_t messageId, float a, float b, float, void* data) {
    switch (messageId) {
        case MSG::Tick: Update(); return 0;
        case MSG::Draw: Draw(); return 0;
        case MSG::SetPosition:
            transform.positionX = a;
            transform.positionY = b;
            transform.positionZ = 0.0f;
            return 1;
        case MSG::QueryWidth: return width;
        case MSG::QueryHeight: return height;
        case MSG::SetParentTransform: transform.parent = static_cast<JS_TRANSFORM3*>(data); return 0;
        case MSG::PointerPressed: return OnMouseDown(ButtonOf(data));
        case MSG::PointerReleased: return OnMouseUp(ButtonOf(data));
        case MSG::PointerDragged: return OnMouseMove();
        case MSG::LoadResources: RestoreResources(); return 0;
        case MSG::ReleaseResources: ReleaseResources(); return 0;
        case MSG::Refresh: Refresh(); return 0;
        default: return 0;
    }
}

JSProperty* JCPagesItem::GetProperty(const std::string& key) { return properties.Find(key); }

const JSProperty* JCPagesItem::GetProperty(const std::string& key) const { return properties.Find(key); }

void JCPagesItem::RestoreResources() {
    if (gui != nullptr) gui->RestoreResources();
}

void JCPagesItem::ReleaseResources() {
    if (gui != nullptr) gui->ReleaseResources();
}

void JCPagesItem::Draw() {
    if (gui != nullptr) gui->Draw();
}

int32_t JCPagesItem::OnMouseUp(int32_t) {
    if (gui == nullptr) return 0;
    if (JS_GUI_EVENT* record = gui->rootObject->DispatchMouseUp()) {
        lastEvent = *record;
        return MSG_RESULT::Stop;
    }
    lastEvent = JS_GUI_EVENT();
    if (g_mousePos == nullptr) return 0;
    const JS_TRANSFORM3 at = GetAbsolute(transform);
    const float left = at.positionX - static_cast<float>(width / 2);
    const float top = at.positionY - static_cast<float>(height / 2);
    const float x = static_cast<float>(g_mousePos[0]);
    const float y = static_cast<float>(g_mousePos[1]);
    const bool inside =
        x >= left && x <= left + static_cast<float>(width) && y >= top && y <= top + static_cast<float>(height);
    return inside ? MSG_RESULT::Stop : 0;
}

int32_t JCPagesItem::OnMouseDown(int32_t) {
    if (gui == nullptr) return 0;
    const JS_GUI_EVENT* record = gui->rootObject->DispatchMouseDown();
    lastEvent = record != nullptr ? *record : JS_GUI_EVENT();
    return 0;
}

int32_t JCPagesItem::OnMouseMove() {
    if (gui == nullptr) return 0;
    const JS_GUI_EVENT* record = gui->rootObject->DispatchMouseMove();
    lastEvent = record != nullptr ? *record : JS_GUI_EVENT();
    return 0;
}

JC_GUI_ROOT* JCPagesItem::MakeGui() {
    delete gui;
    gui = new JC_GUI_ROOT();
    gui->rootObject->transform->parent = &transform;
    return gui;
}

void JCPagesItem::Load(const pugi::xml_node& element, const JC_STRING_TABLE* table) {
    if (const pugi::xml_attribute size = element.attribute("size")) ParsePoint(size.as_string(), width, height);
    if (const pugi::xml_node layout = element.child("GUI")) ReadItemGui(*MakeGui(), layout, table);
    if (const pugi::xml_node property = element.child("property")) properties.Load(property);
}

void JCPagesItem::SetChildVisible(int32_t widgetId, bool visible) {
    if (gui == nullptr) return;
    if (JC_GUI_OBJECT* widget = gui->rootObject->FindChildById(widgetId)) widget->SetVisible(visible);
}
