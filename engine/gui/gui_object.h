#pragma once
// A node of the widget tree. Every widget derives from it; windows, paged grids and page items own
// a tree through a GUI root (gui_root.h).
//
// Input reaches the tree through four walks (mouse up, mouse down, mouse move, per-frame update).
// A walk visits the children first, in order, and stops at the first one that answers with an
// event record; only when no child answers does the node's own slot run. A mouse move that a
// child answers with "left" (code 4) goes on to the other children, so a pointer that jumps from
// one widget onto another reaches both on one move; the leave is the answer only when nothing
// else answers. A disabled node answers nothing and hides its subtree from the walk; a hidden
// node still takes input.
//
// Rules for widgets:
// - An input slot answers by setting its code and returning its event record (Report), or null.
// - The four callback records are owned by the node and freed by this base; each is called with
//   the widget's own address as its argument (CallCallback).
// - The walks go by index and re-check the bounds after every call, so a callback that adds or
//   detaches widgets does not upset them; a widget must not be deleted while a walk runs
//   (windows act on the returned record after the walk).

#include <cstdint>
#include <vector>

#include "engine/bots/fade_target.h"
#include "engine/core/callback.h"
#include "engine/core/transform.h"

namespace QRV {

struct JS_TEXTURE;

// Codes a widget reports in its event record.
namespace GUI_EVENT {
constexpr int32_t None = 0;
constexpr int32_t Activate = 2;    // activating for the walks; no widget reports it
constexpr int32_t Enter = 3;       // the pointer entered
constexpr int32_t Leave = 4;       // the pointer left
constexpr int32_t Press = 7;       // pressed
constexpr int32_t Click = 8;       // clicked
constexpr int32_t Drag = 9;        // dragged while pressed
constexpr int32_t Changed = 10;    // value or text changed
constexpr int32_t KeepFocus = 11;  // a text box keeps the focus
}  // namespace GUI_EVENT

// The kind field: what a widget is, for code that looks for one sort (labels for localisation).
namespace GUI_KIND {
constexpr int32_t Base = 0;  // plain nodes, the simple slider and the page number
constexpr int32_t Button5 = 1;
constexpr int32_t Checkbox5 = 2;
constexpr int32_t LineBox = 4;
constexpr int32_t ProgressBar = 5;
constexpr int32_t Panel = 7;
constexpr int32_t Image = 9;
constexpr int32_t Slider13 = 11;
constexpr int32_t WLabel = 13;
constexpr int32_t ListBox = 14;
constexpr int32_t Panel9 = 15;
constexpr int32_t CheckboxIos = 16;
}  // namespace GUI_KIND

// What the input operations return: the widget's id and the code of its last event. It lives
// inside the widget.
struct JS_GUI_EVENT {
    int32_t id = 0;
    int32_t code = GUI_EVENT::None;
};

class JC_GUI_OBJECT : public IFadeTarget {
public:
    explicit JC_GUI_OBJECT(int32_t id);
    // Frees the callback records and deletes every child, in order.
    ~JC_GUI_OBJECT() override;
    JC_GUI_OBJECT(const JC_GUI_OBJECT&) = delete;
    JC_GUI_OBJECT& operator=(const JC_GUI_OBJECT&) = delete;

    // --- the widget slots; the base answers null, 0 or nothing
    virtual JS_GUI_EVENT* Update() { return nullptr; }
    virtual void Draw() {}
    virtual JS_GUI_EVENT* OnMouseUp() { return nullptr; }
    virtual JS_GUI_EVENT* OnMouseDown() { return nullptr; }
    virtual JS_GUI_EVENT* OnMouseMove() { return nullptr; }
    virtual float GetWidth() const { return 0.0f; }
    virtual float GetHeight() const { return 0.0f; }
    // The key by which draw levels group widgets (null for none).
    virtual JS_TEXTURE* GetTexture() const { return nullptr; }
    // Writes the transform's position.
    virtual void SetPosition(float x, float y, float z);
    virtual void SetSize(int32_t width, int32_t height);
    // The flag here and, through this same operation, on every child.
    virtual void SetEnabled(bool enabled);
    // Widgets take their textures by name here and drop them in ReleaseResources.
    virtual void RestoreResources() {}
    virtual void ReleaseResources() {}
    // Widgets write AlphaByte(alpha) into the vertex colours of their quads.
    virtual void SetAlpha(float alpha);

    // --- the walks: the record of the one widget that reacted, or null
    JS_GUI_EVENT* DispatchMouseUp();
    JS_GUI_EVENT* DispatchMouseDown();
    // Stores the pointer position in every visited node first.
    JS_GUI_EVENT* DispatchMouseMove();
    JS_GUI_EVENT* DispatchUpdate();

    // --- tree-wide operations
    // When visible: own Draw, then DrawTree of every child in order.
    void DrawTree();
    // The flags on the node and its whole subtree.
    void SetVisible(bool visible);
    void SetActive(bool active);
    // Stores the alpha here, passes it to every child's subtree, then tells the node itself.
    void SetAlphaTree(float alpha) override;
    void SetVisibleTree(bool visible) override { SetVisible(visible); }
    // Depth first, pre-order over the descendants (never the node itself); null when none.
    JC_GUI_OBJECT* FindChildById(int32_t id) const;
    // RestoreResources (or ReleaseResources) here, then the same on the whole subtree.
    void RestoreTree();
    void ReleaseTree();

    // Appends an owned child (null is ignored).
    void AddChild(JC_GUI_OBJECT* child);

    int32_t GetId() const { return event.id; }
    JS_GUI_EVENT* Record() { return &event; }
    bool IsVisible() const { return visible != 0; }
    bool IsEnabled() const { return enabled != 0; }
    bool IsActive() const { return active != 0; }

    // The event record: the id and the code of the last event.
    JS_GUI_EVENT event;
    // Owned, deleted with the node in order.
    std::vector<JC_GUI_OBJECT*> children;
    int32_t kind = GUI_KIND::Base;
    uint8_t visible = 1;
    uint8_t enabled = 1;
    // Set on the widget that has the pointer or the focus and on its ancestors.
    uint8_t active = 0;
    // The widget's placement: its own record, kept inside the node (the walks and the draw read
    // it for every widget, so it sits beside the fields they read first).
    JS_TRANSFORM3* transform = &ownTransform;
    // The pointer as the last mouse-move walk saw it.
    float lastMouseX = 0.0f;
    float lastMouseY = 0.0f;
    // The opacity last given to the subtree.
    float alpha = 1.0f;
    JS_TRANSFORM3 ownTransform;
    // Owned records; each is called with the widget as its argument.
    JS_CALLBACK* enterCallback = nullptr;
    JS_CALLBACK* leaveCallback = nullptr;
    JS_CALLBACK* pressCallback = nullptr;
    JS_CALLBACK* clickCallback = nullptr;

protected:
    // Sets the code and returns the record.
    JS_GUI_EVENT* Report(int32_t code) {
        event.code = code;
        return &event;
    }
    // Calls a callback record with this widget as the argument (nothing for null).
    void CallCallback(const JS_CALLBACK* record);

private:
    using Slot = JS_GUI_EVENT* (JC_GUI_OBJECT::*)();
    // One walk: the children's walks, then the node's own slot. The slots are template arguments
    // so that every call in a walk is a direct (or plain virtual) call.
    template <Slot Walk, Slot Own>
    JS_GUI_EVENT* Dispatch();
    template <Slot Walk, Slot Own>
    JS_GUI_EVENT* DispatchChildren();
};

// The mouse-button and key codes that make a child the winner of a walk whose ancestors become
// active: 2, 7, 8 and 11.
bool IsActivatingCode(int32_t code);

}  // namespace QRV
