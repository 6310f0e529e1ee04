#pragma once
// A paged grid: items laid out as pages of cols x rows on a strip, pages side by side one page
// offset apart, slid by drags (JCSlideEffect) or by a page indicator. The owner (a window)
// implements JIPagesDelegate to make the items and to hear about clicks and page changes.
//
//   message 1   Update                      message 48  OnMouseUp (button in the data)
//   message 2   Draw                        message 49  OnMouseMove
//   message 47  OnMouseDown (button in the  message 50  LoadResources, 51 UnloadResources
//               data, pointer_data.h)
// Only the current page's items get the mouse. Owners send 50 before the first draw: items get
// their places there.
//
// Ownership: the grid owns the items it makes or is given by AddItem and deletes them with
// itself; items given by BorrowItem stay their owner's (who takes them out with RemoveItem before
// deleting them). The grid's widget root only borrows the items' trees and lets go of them
// before it is destroyed.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "engine/bots/object_base.h"
#include "engine/core/transform.h"
#include "engine/gui/gui_root.h"
#include "engine/windows/pages_item.h"
#include "engine/windows/slide_effect.h"

namespace pugi {
class xml_node;
}

class JCGUI_PageNumber;

class JIPagesDelegate {
public:
    virtual ~JIPagesDelegate() = default;
    // The item for one element of the layout (owned by the grid from then on); null skips it.
    virtual JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index) = 0;
    virtual void OnItemClick(JCPagesItem* item) { (void)item; }
    virtual void OnSlideBegin() {}
    virtual void OnPageChanged(int32_t page) { (void)page; }
};

class JCPages : public QRV::JC_BASE, public JCSlideEffectDelegate {
public:
    JCPages();
    // Lets go of the borrowed trees and items, then deletes the owned items.
    ~JCPages() override;
    // The grid owns its items and its root borrows their trees: a copy would free them twice.
    JCPages(const JCPages&) = delete;
    JCPages& operator=(const JCPages&) = delete;

    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;

    // The widget trees taken in by RebuildPageGui.
    virtual void Draw();
    // Message 1 to every item, then to the slide effect.
    virtual void Update();
    // Buttons 1 and 2 only. The slide effect first: a release that ended a drag clicks nothing
    // (0). Otherwise the first item of the current page that takes the release is clicked (the
    // delegate's OnItemClick, then this one's) and the result is 1; 0 when none takes it.
    virtual int32_t OnMouseUp(int32_t button);
    // Buttons 1 and 2 only: the slide effect (it may start a drag), then the current page's items
    // until one takes the press (Stop).
    virtual int32_t OnMouseDown(int32_t button);
    // The slide effect, then the current page's items; 0.
    virtual int32_t OnMouseMove();
    // The grid's layout from the element's attributes, then one item per child element (module
    // comment of pages.cpp).
    virtual void Load(const pugi::xml_node& element, const QRV::JC_STRING_TABLE* table);
    // The resource's first element, loaded without a string table; the load-error stop when the
    // resource is missing or does not parse.
    virtual void LoadFromFile(const std::string& key);
    // Message 56 to every item.
    virtual void RefreshItems();
    // Message 50 to every item, then ArrangeItems.
    virtual void LoadResources();
    // Message 51 to every item.
    virtual void UnloadResources();
    // Slide one page on; false (nothing moves) when there is no such page.
    virtual bool NextPage();
    virtual bool PrevPage();
    // The strip at (x, y, 0); its pages are laid out from there.
    virtual void SetPosition(float x, float y);
    // The item for an element when there is no delegate; null makes a plain item.
    virtual JCPagesItem* CreateItem(const pugi::xml_node& element, int32_t index);
    virtual void OnItemClick(JCPagesItem* item);

    // JCSlideEffectDelegate: the delegate hears of it.
    void OnSlideBegin() override;
    // Current page, the delegate, the indicator.
    void OnPageChanged(int32_t page) override;

    // Attaches the indicator (null detaches): it gets the page count and the current page, is
    // visible with more than one page and turns the pages through GoToNumberPage.
    void SetPageNumberWidget(JCGUI_PageNumber* widget);
    // Slides to the page the indicator shows, while paging is enabled.
    void GoToNumberPage();
    // ceil(items / per page) (0 without a page size); the slide effect and the indicator follow.
    void UpdatePageCount();
    // The root takes the trees of the current page's items (of all items without the
    // current-page-only flag) and rebuilds its draw levels.
    void RebuildPageGui();
    // Takes the item out (not deleting it; its strip parent is cleared), then the page count, the
    // places and the page GUI follow; a current page that no longer exists slides back to the
    // last page. False for null or an item not in the grid.
    bool RemoveItem(JCPagesItem* item);
    // Places every item on its page, all with the first item's size.
    void ArrangeItems();
    // Appends an item the grid owns from now on (as the layout's items are added).
    void AddItem(JCPagesItem* item);
    // Appends an item that stays its owner's.
    void BorrowItem(JCPagesItem* item);
    bool Owns(const JCPagesItem* item) const;

    // The items [first, end) of the current page.
    size_t CurrentPageBegin() const;
    size_t CurrentPageEnd() const;

    // "turn_type".
    int32_t turnType = SLIDE_TYPE::Horizontal;
    // "turn_offset": from one page to the next.
    float pageOffsetX = 0.0f, pageOffsetY = 0.0f;
    // Every item's transform has it as parent.
    QRV::JS_TRANSFORM3 stripTransform;
    int32_t currentPage = 0;
    int32_t cols = 0, rows = 0;
    int32_t intervalX = 0, intervalY = 0;
    int32_t pageWidth = 0, pageHeight = 0;
    int32_t perPage = 0;
    int32_t pageCount = 0;
    // In layout order; owned unless borrowed.
    std::deque<JCPagesItem*> items;
    JCSlideEffect slideEffect;
    // Borrows the trees of the items shown.
    QRV::JC_GUI_ROOT gui;
    // Not owned.
    JCGUI_PageNumber* pageNumber = nullptr;
    JIPagesDelegate* delegate = nullptr;
    // When set, the root holds only the current page's trees.
    uint8_t currentPageOnly = 0;
    // GoToNumberPage acts only while set.
    uint8_t pagingEnabled = 1;

private:
    static void OnIndicatorPage(uintptr_t self);
    void Append(JCPagesItem* item, bool owned);
    void ShowIndicator();

    // The items given by BorrowItem.
    std::vector<const JCPagesItem*> borrowed;
};
