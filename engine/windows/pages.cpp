#include "engine/windows/pages.h"

// The layout (JCPages::Load), attributes of the element read in this order:
//   "cols", "rows"            the grid of one page (each updates the page count and the places)
//   "interval_x", "interval_y" the gaps between items, in pixels
//   "turn_type"               "SLIDE_HORIZONTAL", "SLIDE_VERTICAL", "MOMENTAL" (any other text);
//                             also the slide effect's; kept when absent
//   "turn_offset"             "x y", from one page to the next; absent: the logical screen size
//   "pos"                     "x y", the strip's position
//   "slide_rect"              "x1 y1 x2 y2", where drags start; absent: none
//   "turn_speed"              the slide speed in pixels per second (positive; kept otherwise)
// then every child element is one item, made by the delegate (which may skip it), else by
// CreateItem, else as a plain JCPagesItem; the index counts the items made.

#include <pugixml.hpp>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/core/conversions.h"
#include "engine/graphics/render.h"
#include "engine/gui/gui_page_number.h"
#include "engine/platform/input.h"
#include "engine/resources/load_error.h"
#include "engine/resources/resource_loaders.h"
#include "engine/resources/text_parsers.h"
#include "engine/windows/pointer_data.h"

using namespace QRV;

namespace {

int32_t IntAttribute(const pugi::xml_node& element, const char* name) {
    return AsciiToInt(element.attribute(name).as_string());
}

// Saturates instead of overflowing on absurd layouts.
int32_t ClampToInt(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool IsGridButton(int32_t button) { return button == VK_LBUTTON || button == VK_RBUTTON; }

}  // namespace

JCPages::JCPages() {
    slideEffect.strip = &stripTransform;
    slideEffect.delegate = this;
    slideEffect.LayoutPages();
    slideEffect.UpdateDragLimits();
}

JCPages::~JCPages() {
    // The items' trees are theirs: the root must not delete them with itself.
    gui.rootObject->children.clear();
    gui.levels.clear();
    for (JCPagesItem* item : items) {
        if (Owns(item)) {
            delete item;
        } else {
            item->Message(MSG::SetParentTransform, 0.0f, 0.0f, 0.0f, nullptr);
        }
    }
    items.clear();
    borrowed.clear();
}

int32_t JCPages::Message(int32_t messageId, float, float, float, void* data) {
    switch (messageId) {
        case MSG::Tick: Update(); return 0;
        case MSG::Draw: Draw(); return 0;
        case MSG::PointerPressed: return OnMouseDown(ButtonOf(data));
        case MSG::PointerReleased: return OnMouseUp(ButtonOf(data));
        case MSG::PointerDragged: OnMouseMove(); return 0;
        case MSG::LoadResources: LoadResources(); return 0;
        case MSG::ReleaseResources: UnloadResources(); return 0;
        default: return 0;
    }
}

void JCPages::Draw() { gui.Draw(); }

void JCPages::Update() {
    for (size_t i = 0; i < items.size(); ++i) items[i]->Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
    slideEffect.Message(MSG::Tick, 0.0f, 0.0f, 0.0f, nullptr);
}

size_t JCPages::CurrentPageBegin() const {
    if (perPage < 1 || currentPage < 0) return 0;
    return static_cast<size_t>(std::min<int64_t>(int64_t{currentPage} * perPage, static_cast<int64_t>(items.size())));
}

size_t JCPages::CurrentPageEnd() const {
    if (perPage < 1 || currentPage < 0) return 0;
    return static_cast<size_t>(
        std::min<int64_t>((int64_t{currentPage} + 1) * perPage, static_cast<int64_t>(items.size())));
}

int32_t JCPages::OnMouseDown(int32_t button) {
    if (!IsGridButton(button)) return 0;
    slideEffect.Message(MSG::PointerPressed, 0.0f, 0.0f, 0.0f, ButtonData(button));
    // The bounds are read afresh: an item's widgets may change the grid.
    for (size_t i = CurrentPageBegin(); i < CurrentPageEnd(); ++i) {
        if (items[i]->Message(MSG::PointerPressed, 0.0f, 0.0f, 0.0f, ButtonData(button)) == MSG_RESULT::Stop) {
            return MSG_RESULT::Stop;
        }
    }
    return 0;
}

int32_t JCPages::OnMouseMove() {
    slideEffect.Message(MSG::PointerDragged, 0.0f, 0.0f, 0.0f, nullptr);
    for (size_t i = CurrentPageBegin(); i < CurrentPageEnd(); ++i) {
        if (items[i]->Message(MSG::PointerDragged, 0.0f, 0.0f, 0.0f, nullptr) == MSG_RESULT::Stop) {
            return MSG_RESULT::Stop;
        }
    }
    return 0;
}

int32_t JCPages::OnMouseUp(int32_t button) {
    if (!IsGridButton(button)) return 0;
    if (slideEffect.Message(MSG::PointerReleased, 0.0f, 0.0f, 0.0f, ButtonData(button)) == MSG_RESULT::Stop) return 0;
    for (size_t i = CurrentPageBegin(); i < CurrentPageEnd(); ++i) {
        JCPagesItem* item = items[i];
        if (item->Message(MSG::PointerReleased, 0.0f, 0.0f, 0.0f, ButtonData(button)) != MSG_RESULT::Stop) continue;
        if (delegate != nullptr) delegate->OnItemClick(item);
        OnItemClick(item);
        return 1;
    }
    return 0;
}

void JCPages::Load(const pugi::xml_node& element, const JC_STRING_TABLE* table) {
    cols = IntAttribute(element, "cols");
    perPage = ClampToInt(int64_t{cols} * rows);
    UpdatePageCount();
    ArrangeItems();
    rows = IntAttribute(element, "rows");
    perPage = ClampToInt(int64_t{cols} * rows);
    UpdatePageCount();
    ArrangeItems();
    intervalX = IntAttribute(element, "interval_x");
    intervalY = IntAttribute(element, "interval_y");

    if (const pugi::xml_attribute type = element.attribute("turn_type")) turnType = ParseSlideType(type.as_string());
    slideEffect.type = turnType;

    if (const pugi::xml_attribute offset = element.attribute("turn_offset")) {
        ParseVector2(offset.as_string(), pageOffsetX, pageOffsetY);
    } else {
        pageOffsetX = g_render != nullptr ? static_cast<float>(g_render->width) : 1024.0f;
        pageOffsetY = g_render != nullptr ? static_cast<float>(g_render->height) : 768.0f;
    }
    if (const pugi::xml_attribute position = element.attribute("pos")) {
        float x = 0.0f;
        float y = 0.0f;
        ParseVector2(position.as_string(), x, y);
        SetPosition(x, y);
    }
    slideEffect.pageStepX = pageOffsetX;
    slideEffect.pageStepY = pageOffsetY;

    float view[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    ParseNumberList(element.attribute("slide_rect").as_string(), view);
    slideEffect.viewX1 = view[0];
    slideEffect.viewY1 = view[1];
    slideEffect.viewX2 = view[2];
    slideEffect.viewY2 = view[3];
    slideEffect.UpdateDragLimits();

    float speed = 0.0f;
    if (ParseFloat(element.attribute("turn_speed").as_string(), speed) && speed > 0.0f) slideEffect.speed = speed;

    int32_t index = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        JCPagesItem* item = nullptr;
        if (delegate != nullptr) {
            item = delegate->CreateItem(child, index);
            if (item == nullptr) continue;
        } else {
            item = CreateItem(child, index);
            if (item == nullptr) item = new JCPagesItem(child, index, table);
        }
        AddItem(item);
        ++index;
    }
}

void JCPages::LoadFromFile(const std::string& key) {
    pugi::xml_document* document = AcquireXmlResource(key);
    if (document == nullptr) ShowLoadErrorAndExit(key);
    Load(document->document_element(), nullptr);
    ReleaseXml(document);
}

void JCPages::RefreshItems() {
    for (size_t i = 0; i < items.size(); ++i) items[i]->Message(MSG::Refresh, 0.0f, 0.0f, 0.0f, nullptr);
}

void JCPages::LoadResources() {
    for (size_t i = 0; i < items.size(); ++i) items[i]->Message(MSG::LoadResources, 0.0f, 0.0f, 0.0f, nullptr);
    ArrangeItems();
}

void JCPages::UnloadResources() {
    for (size_t i = 0; i < items.size(); ++i) items[i]->Message(MSG::ReleaseResources, 0.0f, 0.0f, 0.0f, nullptr);
}

bool JCPages::NextPage() { return slideEffect.SlideToPage(currentPage + 1); }

bool JCPages::PrevPage() { return slideEffect.SlideToPage(currentPage - 1); }

void JCPages::SetPosition(float x, float y) {
    stripTransform.positionX = x;
    stripTransform.positionY = y;
    stripTransform.positionZ = 0.0f;
    slideEffect.LayoutPagesFromStrip();
}

JCPagesItem* JCPages::CreateItem(const pugi::xml_node&, int32_t) { return nullptr; }

void JCPages::OnItemClick(JCPagesItem*) {}

void JCPages::OnSlideBegin() {
    if (delegate != nullptr) delegate->OnSlideBegin();
}

void JCPages::OnPageChanged(int32_t page) {
    currentPage = page;
    if (delegate != nullptr) delegate->OnPageChanged(page);
    if (pageNumber != nullptr) {
        pageNumber->record.marks.currentPage = page;
        pageNumber->UpdateButtons();
    }
}

void JCPages::ShowIndicator() {
    if (pageNumber == nullptr) return;
    pageNumber->record.marks.pageCount = pageCount;
    pageNumber->record.marks.currentPage = currentPage;
    pageNumber->UpdateButtons();
    pageNumber->SetVisible(pageCount > 1);
}

void JCPages::SetPageNumberWidget(JCGUI_PageNumber* widget) {
    pageNumber = widget;
    if (widget == nullptr) return;
    widget->record.pageChangedArgument = reinterpret_cast<uintptr_t>(this);
    widget->record.pageChanged = &JCPages::OnIndicatorPage;
    ShowIndicator();
}

void JCPages::OnIndicatorPage(uintptr_t self) { reinterpret_cast<JCPages*>(self)->GoToNumberPage(); }

void JCPages::GoToNumberPage() {
    if (pagingEnabled == 0 || pageNumber == nullptr) return;
    slideEffect.SlideToPage(pageNumber->record.marks.currentPage);
}

void JCPages::UpdatePageCount() {
    const int64_t count = static_cast<int64_t>(items.size());
    pageCount = perPage >= 1 ? ClampToInt((count + perPage - 1) / perPage) : 0;
    slideEffect.pageCount = std::max(0, pageCount);
    slideEffect.LayoutPages();
    ShowIndicator();
}

void JCPages::RebuildPageGui() {
    std::vector<JC_GUI_OBJECT*>& shown = gui.rootObject->children;
    shown.clear();
    const size_t begin = currentPageOnly != 0 ? CurrentPageBegin() : 0;
    const size_t end = currentPageOnly != 0 ? CurrentPageEnd() : items.size();
    for (size_t i = begin; i < end; ++i) {
        if (items[i]->gui != nullptr) shown.push_back(items[i]->gui->rootObject);
    }
    gui.RebuildLevels();
}

bool JCPages::RemoveItem(JCPagesItem* item) {
    if (item == nullptr) return false;
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return false;
    items.erase(found);
    std::erase(borrowed, item);
    // It no longer lies on this strip.
    item->Message(MSG::SetParentTransform, 0.0f, 0.0f, 0.0f, nullptr);
    UpdatePageCount();
    ArrangeItems();
    RebuildPageGui();
    if (pageCount > 0 && currentPage >= pageCount) slideEffect.SlideToPage(pageCount - 1);
    return true;
}

void JCPages::ArrangeItems() {
    if (items.empty()) return;
    const int32_t w = items[0]->Message(MSG::QueryWidth, 0.0f, 0.0f, 0.0f, nullptr);
    const int32_t h = items[0]->Message(MSG::QueryHeight, 0.0f, 0.0f, 0.0f, nullptr);
    pageWidth = ClampToInt(int64_t{cols} * w + (int64_t{cols} - 1) * intervalX);
    pageHeight = ClampToInt(int64_t{rows} * h + (int64_t{rows} - 1) * intervalY);
    float x0 = -static_cast<float>(pageWidth) / 2.0f + static_cast<float>(w) / 2.0f;
    float y0 = -static_cast<float>(pageHeight) / 2.0f + static_cast<float>(h) / 2.0f;
    const float stepX = static_cast<float>(int64_t{intervalX} + w);
    const float stepY = static_cast<float>(int64_t{intervalY} + h);
    int32_t c = 0;
    int32_t r = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (c >= cols) {
            c = 0;
            ++r;
        }
        if (r >= rows) {
            r = c = 0;
            // The next page lies one page offset further along the strip.
            if (turnType == SLIDE_TYPE::Vertical) {
                y0 += pageOffsetY;
            } else {
                x0 += pageOffsetX;
            }
        }
        const float x = x0 + stepX * static_cast<float>(c);
        const float y = y0 + stepY * static_cast<float>(r);
        items[i]->Message(MSG::SetPosition, x, y, 0.0f, nullptr);
        items[i]->Message(MSG::AfterSetPosition, 0.0f, 0.0f, 0.0f, reinterpret_cast<void*>(uintptr_t{4}));
        ++c;
    }
}

void JCPages::AddItem(JCPagesItem* item) { Append(item, true); }

void JCPages::BorrowItem(JCPagesItem* item) { Append(item, false); }

bool JCPages::Owns(const JCPagesItem* item) const {
    return std::find(borrowed.begin(), borrowed.end(), item) == borrowed.end() &&
           std::find(items.begin(), items.end(), item) != items.end();
}

void JCPages::Append(JCPagesItem* item, bool owned) {
    // An item held twice would be deleted twice.
    if (item == nullptr || std::find(items.begin(), items.end(), item) != items.end()) return;
    item->Message(MSG::SetParentTransform, 0.0f, 0.0f, 0.0f, &stripTransform);
    items.push_back(item);
    if (!owned) borrowed.push_back(item);
    UpdatePageCount();
    RebuildPageGui();
}
