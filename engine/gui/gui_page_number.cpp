#include "engine/gui/gui_page_number.h"

#include <pugixml.hpp>

#include <string>

#include "engine/graphics/sprite.h"
#include "engine/graphics/texture.h"
#include "engine/graphics/transform.h"
#include "engine/gui/gui_button5.h"
#include "engine/resources/hot_spot.h"

using namespace QRV;

namespace {

constexpr int32_t kMiddleLeft = 3;

// A button of the "BUTTONS" list, placed on the widget; null for a missing element.
JC_GUI_BUTTON5* ReadButton(const pugi::xml_node& element, JS_TRANSFORM3* parent) {
    if (!element) return nullptr;
    auto* button = new JC_GUI_BUTTON5(element.attribute("ID").as_int(), element.attribute("TEXTURE").as_string());
    if (const pugi::xml_node placement = element.child("TRANSFORM"))
        Parse(*button->transform, placement.text().as_string());
    button->transform->parent = parent;
    return button;
}

// The next sibling that is an element (null when none).
pugi::xml_node NextElement(pugi::xml_node node) {
    node = node.next_sibling();
    while (node && node.type() != pugi::node_element) node = node.next_sibling();
    return node;
}

pugi::xml_node FirstElement(const pugi::xml_node& parent) {
    pugi::xml_node node = parent.first_child();
    while (node && node.type() != pugi::node_element) node = node.next_sibling();
    return node;
}

}  // namespace

JSPageMarks::JSPageMarks() : sprite(new G_SPRITE()) {}

JSPageMarks::~JSPageMarks() { delete sprite; }

JSPageNumber::~JSPageNumber() {
    delete previousButton;
    delete nextButton;
}

JCGUI_PageNumber::JCGUI_PageNumber(const pugi::xml_node& element) : JC_GUI_OBJECT(element.attribute("ID").as_int()) {
    kind = GUI_KIND::Base;
    record.marks.transform.parent = transform;

    // The attribute first, then the child, as sprites name their texture either way.
    std::string markTexture = element.attribute("FILE").as_string();
    if (markTexture.empty()) markTexture = element.child("FILE").text().as_string();
    record.marks.sprite->textureName = markTexture;
    record.marks.sprite->hotSpot = kMiddleLeft;

    if (const pugi::xml_attribute draw = element.attribute("DRAW_PAGINATION"))
        record.drawMarks = draw.as_bool() ? 1 : 0;

    const pugi::xml_node buttons = element.child("BUTTONS");
    const pugi::xml_node previous = FirstElement(buttons);
    record.previousButton = ReadButton(previous, transform);
    if (previous) record.nextButton = ReadButton(NextElement(previous), transform);
}

JCGUI_PageNumber::~JCGUI_PageNumber() = default;

bool JCGUI_PageNumber::Walk(JC_GUI_BUTTON5* button, JS_GUI_EVENT* (JC_GUI_OBJECT::*walk)()) {
    return button != nullptr && (button->*walk)() != nullptr;
}

JS_GUI_EVENT* JCGUI_PageNumber::Update() {
    const bool previous = Walk(record.previousButton, &JC_GUI_OBJECT::DispatchUpdate);
    const bool next = Walk(record.nextButton, &JC_GUI_OBJECT::DispatchUpdate);
    return previous || next ? &event : nullptr;
}

JS_GUI_EVENT* JCGUI_PageNumber::OnMouseDown() {
    if (visible == 0) return nullptr;
    const bool previous = Walk(record.previousButton, &JC_GUI_OBJECT::DispatchMouseDown);
    const bool next = Walk(record.nextButton, &JC_GUI_OBJECT::DispatchMouseDown);
    return previous || next ? &event : nullptr;
}

JS_GUI_EVENT* JCGUI_PageNumber::OnMouseMove() {
    if (visible == 0) return nullptr;
    const bool previous = Walk(record.previousButton, &JC_GUI_OBJECT::DispatchMouseMove);
    const bool next = Walk(record.nextButton, &JC_GUI_OBJECT::DispatchMouseMove);
    return previous || next ? &event : nullptr;
}

JS_GUI_EVENT* JCGUI_PageNumber::OnMouseUp() {
    if (visible == 0) return nullptr;
    JSPageMarks& marks = record.marks;
    int32_t page = 0;
    JS_GUI_EVENT* clicked = nullptr;
    if (record.previousButton != nullptr) clicked = record.previousButton->DispatchMouseUp();
    if (clicked != nullptr && clicked->code == GUI_EVENT::Click) {
        page = marks.currentPage - 1;
    } else {
        clicked = record.nextButton != nullptr ? record.nextButton->DispatchMouseUp() : nullptr;
        if (clicked == nullptr || clicked->code != GUI_EVENT::Click) return nullptr;
        page = marks.currentPage + 1;
    }
    // Nothing is announced unless the page really changed.
    if (page >= 0 && page < marks.pageCount) {
        marks.currentPage = page;
        UpdateButtons();
        if (record.pageChanged != nullptr) record.pageChanged(record.pageChangedArgument);
    }
    return &event;
}

void JCGUI_PageNumber::UpdateButtons() {
    const JSPageMarks& marks = record.marks;
    // State 4 for a button that leads nowhere; it takes no clicks until enabled again.
    if (JC_GUI_BUTTON5* next = record.nextButton) {
        next->SetEnabled(marks.currentPage + 1 < marks.pageCount);
        next->DispatchMouseMove();
    }
    if (JC_GUI_BUTTON5* previous = record.previousButton) {
        previous->SetEnabled(marks.currentPage > 0);
        previous->DispatchMouseMove();
    }
}

void JCGUI_PageNumber::Draw() {
    if (visible == 0) return;
    if (record.drawMarks != 0) DrawMarks();
    if (record.previousButton != nullptr) record.previousButton->DrawTree();
    if (record.nextButton != nullptr) record.nextButton->DrawTree();
}

void JCGUI_PageNumber::DrawMarks() {
    const JSPageMarks& marks = record.marks;
    G_SPRITE* sprite = marks.sprite;
    if (marks.pageCount < 2 || !sprite->HasTexture()) return;
    const JS_TRANSFORM3 at = GetAbsolute(marks.transform);
    const float spacing = sprite->width;
    const float startX = at.positionX - static_cast<float>(marks.pageCount / 2) * spacing;
    JS_TRANSFORM3& placed = *sprite->transform;
    placed.positionY = at.positionY;
    placed.positionZ = 0.0f;
    placed.scaleX = at.scaleX;
    placed.scaleY = at.scaleY;
    for (int32_t i = 0; i < marks.pageCount; ++i) {
        if (i == marks.currentPage) {
            sprite->SetUVs(0.0f, 0.0f, 0.5f, 1.0f);
        } else {
            sprite->SetUVs(0.5f, 0.0f, 1.0f, 1.0f);
        }
        placed.positionX = startX + static_cast<float>(i) * spacing;
        sprite->Draw();
    }
}

void JCGUI_PageNumber::RestoreResources() {
    G_SPRITE* sprite = record.marks.sprite;
    sprite->RestoreResources();
    if (sprite->HasTexture()) {
        // Each mark is one half of the texture.
        sprite->hotSpot = kMiddleLeft;
        sprite->SetSize(static_cast<float>(static_cast<int32_t>(sprite->texture->width) / 2),
                        static_cast<float>(sprite->texture->height));
    }
    if (record.previousButton != nullptr) record.previousButton->RestoreTree();
    if (record.nextButton != nullptr) record.nextButton->RestoreTree();
}

void JCGUI_PageNumber::ReleaseResources() {
    record.marks.sprite->ReleaseResources();
    if (record.previousButton != nullptr) record.previousButton->ReleaseTree();
    if (record.nextButton != nullptr) record.nextButton->ReleaseTree();
}

void JCGUI_PageNumber::SetAlpha(float a) {
    if (record.previousButton != nullptr) record.previousButton->SetAlphaTree(a);
    if (record.nextButton != nullptr) record.nextButton->SetAlphaTree(a);
}
