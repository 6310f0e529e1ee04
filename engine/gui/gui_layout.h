#pragma once
// The layout reader: widget trees from XML. Each element is one widget, named after its class:
//
//   element        required attributes                        further keys
//   WLABEL         ID FONT FONT_TEXTURE                        TEXT LINE_HEIGHT HOT_SPOT FONT_COLOR
//   IMAGE          ID                                          the image's own sprite keys
//   BUTTON5        ID TEXTURE
//   PANEL          ID TEXTURE                                  MOVABLE, SCRIPTS event GRAB
//   PANEL9         ID                                          TX_1_1 ... TX_3_3, MOVABLE
//   CHECKBOX       ID TEXTURE
//   CHECKBOX_IOS   ID TX_PANEL TX_BTN                          TX_PANEL_OFF
//   LINEBOX        ID TEXTURE FONT FONT_TEXTURE                MAXLEN MAXLENPIX TEXT CARRY_BLINK_TIME
//                                                              FONT_COLOR ALIGNMENT, child INPUT_AREA
//   LISTBOX        ID LIST_TEXTURE PANEL_TEXTURE               SLIDER_BTN_DIST, child ITEMS,
//                  SLIDER12_TEXTURE FONT FONT_TEXTURE          VISIBLE_COUNT LEFT_MARGIN UPPER_MARGIN
//                                                              FONT_COLOR FONT_SELECTED_COLOR
//                                                              ROW_TEXTURE+DRAW_COUNT MAX_ROW
//   PROGRESS_BAR   ID                                          the bar's own sprite keys
//   SLIDER13       ID TEXTURE START END                        RADIUS BTN_DISTANCE MIN MAX STEP VALUE,
//                                                              SCRIPTS event VALUE_CHANGED
//   SIMPLESLIDER   ID PROGRESS RUNNER
//   PAGE_NUMBER    ID                                          the indicator's own keys
//
// Names are matched exactly; an unknown element or one without a required attribute gives no
// widget and its siblings are still built. Keys common to every widget:
//   "TRANSFORM" child   12 numbers: position x y z, pivot x y z, rotation x y z (radians),
//                       scale x y z
//   "SIZE" child        "w h" integers          "POSITION" child   "x y" integers (z 0)
//   "CONTEXT" child     nested widget elements, children of this one and placed on it
//   "ENABLE", "VISIBLE" true when the first character is 1, t, T, y or Y (present but empty is
//                       false); applied after "CONTEXT", so a false value covers the nested
//                       widgets, while a true one leaves their own flags alone
// An optional key changes nothing when it is absent; the only defaults are the slider's
// (RADIUS 20, BTN_DISTANCE 1.5, MIN 0, MAX 100, STEP 5, VALUE 0) and the list's SLIDER_BTN_DIST
// (1.5). Numbers are read independently of the locale, and any run of blanks, tabs or line
// breaks separates them.
//
// Colours: WLABEL's FONT_COLOR is one hexadecimal AARRGGBB number; the line box's and the list's
// colours are four decimal numbers "a r g b". A "SCRIPTS" child holds elements with an "EVENT"
// attribute and a text: the record made for the widget's event has no function, the text as its
// name and the widget as its argument.
//
// The widgets are built unloaded: their owner restores their resources afterwards.

#include <cstdint>

namespace pugi {
class xml_node;
}

namespace QRV {
class JC_GUI_OBJECT;
class JC_GUI_ROOT;
class JC_STRING_TABLE;
struct JS_TRANSFORM3_AUTO;
}  // namespace QRV

// A new widget for the element (its nested widgets included), or null.
QRV::JC_GUI_OBJECT* CreateGuiWidget(const pugi::xml_node& element);

// The common keys above, read from the element into the widget ("CONTEXT" included).
void ApplyCommonWidgetKeys(QRV::JC_GUI_OBJECT* widget, const pugi::xml_node& element);

// Deletes the root object's children, builds one widget for each child element of the element
// (placed on the root object's transform) and rebuilds the draw levels.
void BuildGuiChildren(QRV::JC_GUI_ROOT* root, const pugi::xml_node& element);

// Depth first from the object itself: every label whose text is a key of the table gets the
// key's value as its text. Empty texts and texts that are no key stay as they are; nothing
// happens without a table. The key is gone afterwards, so a second pass finds nothing.
void LocaliseGuiTree(QRV::JC_GUI_OBJECT* object, const QRV::JC_STRING_TABLE* table);

// The element's text as a transform (fewer than 12 numbers leave it as it was); then "auto_x"
// sets the width fraction and the position x to that fraction of the logical screen width, and
// "auto_y" the same for the height and y. Absent attributes leave fraction and position alone.
void ReadAutoTransform(QRV::JS_TRANSFORM3_AUTO& transform, const pugi::xml_node& element);
