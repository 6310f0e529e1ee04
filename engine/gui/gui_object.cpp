#include "engine/gui/gui_object.h"

#include "engine/core/prefetch.h"
#include "engine/platform/input.h"

namespace QRV {

bool IsActivatingCode(int32_t code) {
    return code == GUI_EVENT::Click || code == GUI_EVENT::Press || code == GUI_EVENT::Activate ||
           code == GUI_EVENT::KeepFocus;
}

JC_GUI_OBJECT::JC_GUI_OBJECT(int32_t id) { event.id = id; }

JC_GUI_OBJECT::~JC_GUI_OBJECT() {
    delete enterCallback;
    delete leaveCallback;
    delete pressCallback;
    delete clickCallback;
    for (JC_GUI_OBJECT* child : children) delete child;
}

void JC_GUI_OBJECT::SetPosition(float x, float y, float z) {
    transform->positionX = x;
    transform->positionY = y;
    transform->positionZ = z;
}

void JC_GUI_OBJECT::SetSize(int32_t, int32_t) {}

void JC_GUI_OBJECT::SetEnabled(bool on) {
    enabled = on ? 1 : 0;
    for (size_t i = 0; i < children.size(); ++i) children[i]->SetEnabled(on);
}

void JC_GUI_OBJECT::SetAlpha(float) {}

void JC_GUI_OBJECT::CallCallback(const JS_CALLBACK* record) {
    if (record != nullptr) JS_CALLBACK::Invoke(record, reinterpret_cast<uintptr_t>(this));
}

template <JC_GUI_OBJECT::Slot Walk, JC_GUI_OBJECT::Slot Own>
JS_GUI_EVENT* JC_GUI_OBJECT::DispatchChildren() {
    // A move that takes the pointer off one widget goes on to the others, so the widget it lands
    // on learns of it on the same move; the leave is the walk's answer only when nothing else
    // answers.
    JS_GUI_EVENT* left = nullptr;
    // By index with the bounds read afresh: callbacks run inside the children's walks.
    for (size_t i = 0; i < children.size(); ++i) {
        JC_GUI_OBJECT* winner = children[i];
        PrefetchAhead(children, i);
        JS_GUI_EVENT* record = (winner->*Walk)();
        if (record == nullptr) continue;
        if constexpr (Walk == &JC_GUI_OBJECT::DispatchMouseMove) {
            if (record->code == GUI_EVENT::Leave) {
                if (left == nullptr) left = record;
                continue;
            }
        }
        if (IsActivatingCode(record->code)) {
            active = 1;
            for (size_t j = 0; j < children.size(); ++j) {
                if (children[j] != winner) children[j]->SetActive(false);
            }
        }
        return record;
    }
    if (left != nullptr) return left;
    return (this->*Own)();
}

template <JC_GUI_OBJECT::Slot Walk, JC_GUI_OBJECT::Slot Own>
inline JS_GUI_EVENT* JC_GUI_OBJECT::Dispatch() {
    if (enabled == 0) return nullptr;
    // Most nodes are leaves: straight to the own slot.
    if (children.empty()) return (this->*Own)();
    return DispatchChildren<Walk, Own>();
}

JS_GUI_EVENT* JC_GUI_OBJECT::DispatchMouseUp() {
    return Dispatch<&JC_GUI_OBJECT::DispatchMouseUp, &JC_GUI_OBJECT::OnMouseUp>();
}

JS_GUI_EVENT* JC_GUI_OBJECT::DispatchMouseDown() {
    return Dispatch<&JC_GUI_OBJECT::DispatchMouseDown, &JC_GUI_OBJECT::OnMouseDown>();
}

JS_GUI_EVENT* JC_GUI_OBJECT::DispatchMouseMove() {
    if (g_mousePos != nullptr) {
        lastMouseX = static_cast<float>(g_mousePos[0]);
        lastMouseY = static_cast<float>(g_mousePos[1]);
    }
    return Dispatch<&JC_GUI_OBJECT::DispatchMouseMove, &JC_GUI_OBJECT::OnMouseMove>();
}

JS_GUI_EVENT* JC_GUI_OBJECT::DispatchUpdate() {
    return Dispatch<&JC_GUI_OBJECT::DispatchUpdate, &JC_GUI_OBJECT::Update>();
}

void JC_GUI_OBJECT::DrawTree() {
    if (visible == 0) return;
    Draw();
    for (size_t i = 0; i < children.size(); ++i) children[i]->DrawTree();
}

void JC_GUI_OBJECT::SetVisible(bool on) {
    visible = on ? 1 : 0;
    for (size_t i = 0; i < children.size(); ++i) children[i]->SetVisible(on);
}

void JC_GUI_OBJECT::SetActive(bool on) {
    active = on ? 1 : 0;
    for (size_t i = 0; i < children.size(); ++i) children[i]->SetActive(on);
}

void JC_GUI_OBJECT::SetAlphaTree(float a) {
    alpha = a;
    for (size_t i = 0; i < children.size(); ++i) children[i]->SetAlphaTree(a);
    SetAlpha(a);
}

JC_GUI_OBJECT* JC_GUI_OBJECT::FindChildById(int32_t id) const {
    for (JC_GUI_OBJECT* child : children) {
        if (child->event.id == id) return child;
        if (JC_GUI_OBJECT* found = child->FindChildById(id)) return found;
    }
    return nullptr;
}

void JC_GUI_OBJECT::RestoreTree() {
    RestoreResources();
    for (size_t i = 0; i < children.size(); ++i) children[i]->RestoreTree();
}

void JC_GUI_OBJECT::ReleaseTree() {
    ReleaseResources();
    for (size_t i = 0; i < children.size(); ++i) children[i]->ReleaseTree();
}

void JC_GUI_OBJECT::AddChild(JC_GUI_OBJECT* child) {
    if (child != nullptr) children.push_back(child);
}

}  // namespace QRV
