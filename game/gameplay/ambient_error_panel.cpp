#include "game/gameplay/ambient_error_panel.h"

#include "engine/bots/bot_timer.h"
#include "engine/core/conversions.h"
#include "game/gameplay/command_open.h"

namespace {

// A fresh animation from a child description; false when the child or its "ANIMATION" is missing.
bool LoadAnimation(QRV::G_ANIMATION& animation, const pugi::xml_node& element, const char* child) {
    animation.ReleaseResources();
    animation = QRV::G_ANIMATION();
    const pugi::xml_node node = element.child(child);
    return node && animation.Load(node);
}

}  // namespace

gcErrorPanel::gcErrorPanel(QRV::gEventDispatcher* dispatcher) : dispatcher(dispatcher) {
    if (dispatcher == nullptr) return;
    Subscribe<&gcErrorPanel::OnCellWrong>(gcBoardEvent::CellWrong, this);
    Subscribe<&gcErrorPanel::OnMoveUndone>(gcBoardEvent::MoveUndone, this);
    dispatcher->AddListener(this);
}

gcErrorPanel::~gcErrorPanel() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
    ReleaseResources();
}

bool gcErrorPanel::Load(const pugi::xml_node& element) {
    Reset();
    if (!element) return false;
    for (const char* name : {"pos", "grid", "interval", "ping"}) {
        if (!element.attribute(name)) return false;
    }
    posX = 0.0f;
    posY = 0.0f;
    QRV::ParseVector2(element.attribute("pos").as_string(), posX, posY);
    QRV::ParsePoint(element.attribute("grid").as_string(), columns, rows);
    QRV::ParsePoint(element.attribute("interval").as_string(), intervalX, intervalY);
    ping = QRV::AsciiToFloat(element.attribute("ping").as_string());
    // Slots are counted per row: a grid without a column has no slot to place.
    if (columns < 1 || rows < 1) {
        columns = 1;
        rows = 0;
        return false;
    }
    if (!LoadAnimation(mark, element, "sprite") || !LoadAnimation(lock, element, "sprite_lock") ||
        !LoadAnimation(background, element, "background")) {
        return false;
    }
    RestoreResources();
    return true;
}

void gcErrorPanel::RestoreResources() {
    mark.RestoreResources();
    lock.RestoreResources();
    background.RestoreResources();
    for (auto& placed : marks) placed->RestoreResources();
}

void gcErrorPanel::ReleaseResources() {
    mark.ReleaseResources();
    lock.ReleaseResources();
    background.ReleaseResources();
    for (auto& placed : marks) placed->ReleaseResources();
}

void gcErrorPanel::SetAllowance(int32_t value) { allowance = value; }

void gcErrorPanel::Reset() {
    for (auto& placed : marks) placed->ReleaseResources();
    marks.clear();
    pending.Clear();
    marksShown = 0;
}

bool gcErrorPanel::HandleMessage(const std::vector<std::string>& tokens) {
    if (tokens.empty() || tokens[0] != "is_visible") return false;
    visible = tokens.size() > 1 && QRV::IsTrueText(tokens[1].c_str()) ? 1 : 0;
    return true;
}

void gcErrorPanel::SlotPosition(int32_t n, float& x, float& y) const {
    const int32_t column = n % columns;
    const int32_t row = n / columns;
    x = posX + static_cast<float>(column) * (static_cast<float>(intervalX) + mark.width);
    y = posY + static_cast<float>(row) * (static_cast<float>(intervalY) + mark.height);
}

int32_t gcErrorPanel::LockedSlots() const {
    const int32_t slots = columns * rows;
    const int32_t first = allowance < 0 ? 0 : allowance;
    return first < slots ? slots - first : 0;
}

void gcErrorPanel::OnCellWrong(gcElement*) {
    if (marksShown + 1 > allowance) return;
    ++marksShown;
    pending.Add(new QRV::JCTimer(ping, MakeClosure<&gcErrorPanel::PlaceMark>(this)));
}

void gcErrorPanel::PlaceMark() {
    auto placed = std::make_unique<QRV::G_ANIMATION>(mark);
    float x = 0.0f, y = 0.0f;
    SlotPosition(static_cast<int32_t>(marks.size()), x, y);
    placed->transform->positionX = x;
    placed->transform->positionY = y;
    placed->RestoreResources();
    gcStartAnimation(*placed);
    marks.push_back(std::move(placed));
}

void gcErrorPanel::CancelPending() {
    // The newest timer goes; the list may hold slots emptied earlier in this pass.
    for (auto it = pending.objects.rbegin(); it != pending.objects.rend(); ++it) {
        if (*it == nullptr) continue;
        QRV::JC_BASE* timer = *it;
        pending.Remove(timer);
        delete timer;
        return;
    }
}

void gcErrorPanel::OnMoveUndone(const std::vector<gcElement*>* cells) {
    if (cells == nullptr) return;
    for (const gcElement* cell : *cells) {
        if (cell->claimRight != 0) continue;
        if (marksShown <= 0) return;
        --marksShown;
        if (!pending.IsEmpty()) {
            CancelPending();
        } else if (!marks.empty()) {
            marks.back()->ReleaseResources();
            marks.pop_back();
        }
    }
}

void gcErrorPanel::Update() {
    pending.Update();
    background.Update();
    lock.Update();
    for (auto& placed : marks) placed->Update();
}

void gcErrorPanel::Draw() {
    if (!visible) return;
    background.Draw();
    for (auto& placed : marks) placed->Draw();
    const int32_t slots = columns * rows;
    for (int32_t n = allowance < 0 ? 0 : allowance; n < slots; ++n) {
        float x = 0.0f, y = 0.0f;
        SlotPosition(n, x, y);
        lock.transform->positionX = x;
        lock.transform->positionY = y;
        lock.Draw();
    }
}
