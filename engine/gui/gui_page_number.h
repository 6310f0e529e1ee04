#pragma once
// The page indicator of a paged grid (layout element "PAGE_NUMBER"): one mark per page, the
// current page's mark distinct, between a "previous" and a "next" push button. The owner sets the
// page count, the current page and the page-changed function, then calls UpdateButtons; a click
// on a button moves one page and calls the function.
//
// The mark texture holds two marks side by side: the left half marks the current page, the right
// half every other page. Either button may be missing from the layout: it is then skipped.

#include <cstdint>
#include <memory>

#include "engine/core/transform.h"
#include "engine/gui/gui_object.h"

namespace pugi {
class xml_node;
}

namespace QRV {
class G_SPRITE;
class JC_GUI_BUTTON5;
}  // namespace QRV

// The marks: a sprite drawn once per page along a row centred near the widget's position.
struct JSPageMarks {
    JSPageMarks();
    ~JSPageMarks();
    JSPageMarks(const JSPageMarks&) = delete;
    JSPageMarks& operator=(const JSPageMarks&) = delete;

    // Owned.
    QRV::G_SPRITE* sprite = nullptr;
    // Scale 1; its parent is the widget's transform.
    QRV::JS_TRANSFORM3 transform;
    int32_t pageCount = 0;
    int32_t currentPage = 0;
};

struct JSPageNumber {
    JSPageNumber() = default;
    ~JSPageNumber();
    JSPageNumber(const JSPageNumber&) = delete;
    JSPageNumber& operator=(const JSPageNumber&) = delete;

    // "DRAW_PAGINATION".
    uint8_t drawMarks = 1;
    JSPageMarks marks;
    // Owned; null when the layout has none.
    QRV::JC_GUI_BUTTON5* previousButton = nullptr;
    QRV::JC_GUI_BUTTON5* nextButton = nullptr;
    // Handed to the function after each page change by the buttons.
    uintptr_t pageChangedArgument = 0;
    void (*pageChanged)(uintptr_t argument) = nullptr;
};

class JCGUI_PageNumber : public QRV::JC_GUI_OBJECT {
public:
    // "ID"; the mark texture from the attribute "FILE", else the child "FILE"; "DRAW_PAGINATION"
    // when present; the child "BUTTONS": its first element the previous button, the next element
    // the next button, each with "ID", "TEXTURE" and a child "TRANSFORM", placed on the widget.
    explicit JCGUI_PageNumber(const pugi::xml_node& element);
    ~JCGUI_PageNumber() override;

    // The buttons' walks; the widget's record when either button answered. Hidden, the widget
    // takes no pointer input at all.
    QRV::JS_GUI_EVENT* Update() override;
    QRV::JS_GUI_EVENT* OnMouseDown() override;
    QRV::JS_GUI_EVENT* OnMouseMove() override;
    // A click on a button moves one page (when the page exists), updates the buttons and calls
    // the page-changed function; the widget's record whenever a button was clicked.
    QRV::JS_GUI_EVENT* OnMouseUp() override;
    // When visible: the marks (when drawn at all), then the buttons.
    void Draw() override;
    // The mark texture (each mark half its width, anchored at its middle left), then the buttons.
    void RestoreResources() override;
    void ReleaseResources() override;
    void SetAlpha(float alpha) override;

    // The next button is shown disabled on the last page (and with no pages at all), the previous
    // one on the first; each then sees the pointer again.
    void UpdateButtons();

    JSPageNumber record;

private:
    void DrawMarks();
    // A button's walk; true when it answered.
    static bool Walk(QRV::JC_GUI_BUTTON5* button, QRV::JS_GUI_EVENT* (QRV::JC_GUI_OBJECT::*walk)());
};
