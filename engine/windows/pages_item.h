#pragma once
// One item of a paged grid: a size, a property map and its own small widget tree. The game's
// pack, level, shop and trophy records derive from it. The grid places the item on its strip and
// borrows the item's tree for drawing; the item owns the tree.
//
//   message 1   Update                    message 32  data = the parent of the transform
//   message 2   Draw                      message 47  OnMouseDown (button in the data, pointer_data.h)
//   message 12  position (a, b, 0); 1     message 48  OnMouseUp (the same)
//   message 23  the width                 message 49  OnMouseMove
//   message 24  the height                message 50  RestoreResources, 51 ReleaseResources
//   message 56  Refresh
// The mouse messages answer Stop when the item takes the input (a release that clicks it).

#include <cstdint>
#include <string>

#include "engine/bots/object_base.h"
#include "engine/core/property_map.h"
#include "engine/core/transform.h"
#include "engine/gui/gui_object.h"

namespace pugi {
class xml_node;
}

namespace QRV {
class JC_GUI_ROOT;
class JC_STRING_TABLE;
}  // namespace QRV

class JCPagesItem : public QRV::JC_BASE {
public:
    // An item made without a layout: index -1, no size, no widget tree.
    JCPagesItem();
    // Index in the id word, then Load.
    JCPagesItem(const pugi::xml_node& element, int32_t index, const QRV::JC_STRING_TABLE* table);
    // Deletes the widget tree.
    ~JCPagesItem() override;
    // The item owns its widget tree and the grid borrows it: a copy would free it twice.
    JCPagesItem(const JCPagesItem&) = delete;
    JCPagesItem& operator=(const JCPagesItem&) = delete;

    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    // The property of that key, or null.
    virtual JSProperty* GetProperty(const std::string& key);
    virtual const JSProperty* GetProperty(const std::string& key) const;
    // The widget tree's resources.
    virtual void RestoreResources();
    virtual void ReleaseResources();
    // Draws the widget tree by its levels.
    virtual void Draw();
    virtual void Update() {}
    // Without a widget tree 0. Otherwise the release goes into the tree; a widget that answers
    // makes the item taken (Stop). Else the item is clicked (Stop) when the pointer lies in the
    // rectangle of its size centred on its absolute position, edges included; otherwise 0.
    virtual int32_t OnMouseUp(int32_t button);
    // Into the widget tree; the answer is kept in lastEvent, the result is 0.
    virtual int32_t OnMouseDown(int32_t button);
    virtual int32_t OnMouseMove();
    virtual void Refresh() {}

    // "size" ("w h"); a child "GUI" becomes the widget tree (a new one, replacing any earlier
    // tree, so items are loaded before a grid shows them; its labels localised when a table is
    // given); a child "property" fills the properties.
    virtual void Load(const pugi::xml_node& element, const QRV::JC_STRING_TABLE* table);

    // The widget of that id in the tree and its whole subtree shown or hidden; nothing when absent.
    void SetChildVisible(int32_t id, bool visible);

    // The index the grid gave the item (-1 without one), kept in the base's id word.
    int32_t Index() const { return static_cast<int32_t>(id); }

    // "size"; the grid lays every item out with its first item's size.
    int32_t width = 0;
    int32_t height = 0;
    JCPropertyMap properties;
    // Owned; null without a "GUI" element. Its root object's transform has this item's as parent.
    QRV::JC_GUI_ROOT* gui = nullptr;
    // The position is set by the grid; the parent is the grid's strip.
    QRV::JS_TRANSFORM3 transform;
    // The widget tree's answer to the last press or move (id 0, code 0 when none answered).
    QRV::JS_GUI_EVENT lastEvent;

protected:
    // Makes an empty widget tree whose root object is placed on the item (replacing any tree).
    QRV::JC_GUI_ROOT* MakeGui();
};
