#include "game/screens/trophy_item.h"

#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "engine/resources/string_table.h"
#include "game/data/trophy.h"
#include "game/data/trophy_list.h"

namespace {

template <class Widget>
Widget* FindControl(QRV::JC_GUI_ROOT* gui, int32_t id) {
    if (gui == nullptr || gui->rootObject == nullptr) return nullptr;
    return dynamic_cast<Widget*>(gui->rootObject->FindChildById(id));
}

}  // namespace

void CopyPictureInto(QRV::JC_GUI_IMAGE* image, const QRV::G_ANIMATION& picture) {
    if (image == nullptr || image->sprite == nullptr) return;
    QRV::G_ANIMATION* sprite = image->sprite;
    QRV::JS_TRANSFORM3* place = sprite->transform;
    // Assign gives the old texture back first; the copy counts its own user when it binds.
    sprite->Assign(picture);
    sprite->SetTransform(place);
    sprite->RestoreResources();
    if (sprite->hotSpot >= 0 && sprite->hotSpot <= 8) sprite->SetPivotFromHotSpot(sprite->hotSpot);
    image->SetAlpha(image->alpha);
}

gcPagesItem_Trophy::gcPagesItem_Trophy(const pugi::xml_node& element, int32_t index, const JCTrophyList* trophies,
                                       const QRV::JC_STRING_TABLE* strings, QRV::gEventDispatcher* dispatcher)
    : JCPagesItem(element, index, nullptr), trophies(trophies), strings(strings), dispatcher(dispatcher) {
    Subscribe<&gcPagesItem_Trophy::OnTrophyAwarded>(kTrophyAwardedEvent, this);
    if (dispatcher != nullptr) dispatcher->AddListener(this);
}

gcPagesItem_Trophy::~gcPagesItem_Trophy() {
    if (dispatcher != nullptr) dispatcher->RemoveListener(this);
}

std::string gcPagesItem_Trophy::TrophyName() const {
    const JSProperty* name = GetProperty("trophy");
    return name != nullptr ? name->text : std::string();
}

QRV::G_TROPHY* gcPagesItem_Trophy::FindTrophy() const {
    if (trophies == nullptr) return nullptr;
    const std::string name = TrophyName();
    return name.empty() ? nullptr : trophies->FindTrophy(name);
}

void gcPagesItem_Trophy::RestoreResources() {
    JCPagesItem::RestoreResources();
    const QRV::G_TROPHY* trophy = FindTrophy();
    if (trophy == nullptr) return;
    const auto localised = [this](const std::string& key) {
        return strings != nullptr ? strings->GetWide(key) : QRV::Utf8ToWide(key);
    };
    if (auto* name = FindControl<QRV::JC_GUI_WLABEL>(gui, TrophyItemControl::kName))
        name->SetText(localised(trophy->name));
    if (auto* desc = FindControl<QRV::JC_GUI_WLABEL>(gui, TrophyItemControl::kDescription))
        desc->SetText(localised(trophy->desc));
    if (auto* bonus = FindControl<QRV::JC_GUI_WLABEL>(gui, TrophyItemControl::kBonus))
        bonus->SetText(QRV::Utf8ToWide(QRV::IntToString(trophy->bonus)));
    CopyPictureInto(FindControl<QRV::JC_GUI_IMAGE>(gui, TrophyItemControl::kOpenMedal), trophy->openPicture);
    CopyPictureInto(FindControl<QRV::JC_GUI_IMAGE>(gui, TrophyItemControl::kClosedMedal), trophy->closedPicture);
    ShowMedal(*trophy);
}

void gcPagesItem_Trophy::Refresh() {
    if (const QRV::G_TROPHY* trophy = FindTrophy()) ShowMedal(*trophy);
}

void gcPagesItem_Trophy::OnTrophyAwarded(QRV::G_TROPHY* trophy) {
    if (trophy == nullptr || trophy->name != TrophyName()) return;
    ShowMedal(*trophy);
}

void gcPagesItem_Trophy::ShowMedal(const QRV::G_TROPHY& trophy) {
    SetChildVisible(TrophyItemControl::kOpenMedal, trophy.awarded);
    SetChildVisible(TrophyItemControl::kClosedMedal, !trophy.awarded);
}
