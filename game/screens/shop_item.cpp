#include "game/screens/shop_item.h"

#include <pugixml.hpp>

#include "engine/bots/object_base.h"
#include "engine/core/conversions.h"
#include "engine/graphics/animation.h"
#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_image.h"
#include "engine/gui/gui_label.h"
#include "engine/gui/gui_root.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/data/game_player.h"
#include "game/data/igp_item.h"
#include "game/data/igp_manager.h"
#include "game/data/store_item.h"
#include "game/screens/shop_services.h"

namespace {

using QRV::JC_GUI_BUTTON5;
using QRV::JC_GUI_IMAGE;
using QRV::JC_GUI_OBJECT;
using QRV::JC_GUI_WLABEL;

template <class Widget>
Widget* Find(const QRV::JC_GUI_ROOT* gui, int32_t id) {
    if (gui == nullptr) return nullptr;
    return dynamic_cast<Widget*>(gui->rootObject->FindChildById(id));
}

int32_t IntOf(const JCStoreItem& item, const char* key) {
    const JSProperty* property = item.Find(key);
    return property != nullptr ? property->intValue : 0;
}

}  // namespace

gcPagesItem_Shop::gcPagesItem_Shop(const pugi::xml_node& element, int32_t index)
    : JCPagesItem(element, index, ShopServices::Context() != nullptr ? &ShopServices::Context()->stringTable : nullptr),
      type(element.attribute("type").as_string()), gameplayOnly(element.attribute("gameplayonly").as_bool(false)) {
    if (const JC_GUI_WLABEL* label = Find<JC_GUI_WLABEL>(gui, kAnnotationLabel)) defaultAnnotation = label->GetText();
    if (const JC_GUI_IMAGE* image = Find<JC_GUI_IMAGE>(gui, kPicture); image != nullptr && image->sprite != nullptr)
        defaultImage = image->sprite->textureName;
    UpdateOffer();
}

JC_GUI_BUTTON5* gcPagesItem_Shop::BuyButton() const { return Find<JC_GUI_BUTTON5>(gui, kBuyButton); }

int32_t gcPagesItem_Shop::Message(int32_t messageId, float a, float b, float c, void* data) {
    switch (messageId) {
        case QRV::MSG::Refresh:
            UpdateOffer();
            if (loaded && gui != nullptr) gui->RebuildLevels();
            return 0;
        case QRV::MSG::LoadResources:
            if (gui != nullptr && !loaded) {
                ShowOffer();
                RestoreResources();
                loaded = true;
            }
            return 0;
        case QRV::MSG::ReleaseResources:
            ReleaseResources();
            loaded = false;
            return 0;
        default: return JCPagesItem::Message(messageId, a, b, c, data);
    }
}

int32_t gcPagesItem_Shop::OnMouseUp(int32_t) {
    if (gui == nullptr) return 0;
    const QRV::JS_GUI_EVENT* record = gui->rootObject->DispatchMouseUp();
    lastEvent = record != nullptr ? *record : QRV::JS_GUI_EVENT();
    return record != nullptr && record->id == kBuyButton ? QRV::MSG_RESULT::Stop : 0;
}

void gcPagesItem_Shop::UpdateOffer() {
    gcGame* root = ShopServices::Root();
    const JCStoreItem* item = root != nullptr ? root->FindStoreItem(type) : nullptr;
    known = item != nullptr;
    if (item != nullptr) {
        annotation = ShopServices::Localised(item->Text("annotation"));
        price = IntOf(*item, "price");
        priceText = QRV::WideToUtf8(QRV::IntToWString(price));
        imageName = item->Text("image");
        mode = kModeForSale;
        const std::string product = item->Text("inapp");
        if (ShopServices::InappEnabled() && !product.empty()) {
            const JSIgpItem* sold = JCIgpManager::Instance().FindByName(product);
            if (sold != nullptr && sold->available) {
                priceText = sold->priceText;
            } else {
                priceText = QRV::WideToUtf8(ShopServices::Localised("loading"));
                mode = kModeLoading;
            }
        }
    } else {
        annotation = defaultAnnotation;
        imageName = defaultImage;
        price = 0;
        priceText.clear();
        mode = kModeUnknown;
    }
    ShowOffer();
}

void gcPagesItem_Shop::ShowOffer() {
    if (gui == nullptr) return;
    if (JC_GUI_WLABEL* name = Find<JC_GUI_WLABEL>(gui, kNameLabel)) name->SetText(ShopServices::Localised(type));
    if (JC_GUI_WLABEL* text = Find<JC_GUI_WLABEL>(gui, kAnnotationLabel); text != nullptr && !annotation.empty())
        text->SetText(annotation);
    if (JC_GUI_WLABEL* cost = Find<JC_GUI_WLABEL>(gui, kPriceLabel)) cost->SetText(QRV::Utf8ToWide(priceText));
    if (JC_GUI_IMAGE* image = Find<JC_GUI_IMAGE>(gui, kPicture); image != nullptr && !imageName.empty())
        image->SetTexture(imageName);
    switch (mode) {
        case kModeForSale:
            SetChildVisible(kNotForSaleMarker, false);
            SetChildVisible(kPicture, true);
            SetChildVisible(kBuyButton, true);
            UpdateBuyButton(true);
            break;
        case kModeLoading:
            SetChildVisible(kNotForSaleMarker, false);
            SetChildVisible(kBuyButton, true);
            SetChildVisible(kPicture, true);
            UpdateBuyButton(false);
            break;
        default:
            SetChildVisible(kNotForSaleMarker, true);
            SetChildVisible(kPicture, true);
            SetChildVisible(kBuyButton, false);
            UpdateBuyButton(false);
            break;
    }
}

void gcPagesItem_Shop::UpdateBuyButton(bool affordable) {
    if (gui == nullptr) return;
    gcPlayer* player = ShopServices::CurrentPlayer();
    JC_GUI_BUTTON5* button = BuyButton();
    if (player == nullptr || button == nullptr) return;
    bool enable = affordable && known && (ShopServices::LevelRunning() || !gameplayOnly);
    if (enable && type == "refill_hint") {
        gcGame* root = ShopServices::Root();
        enable = root != nullptr && root->Gameplay().CanRefillHints();
    }
    if (enable && type == "life_refill") enable = player->GetHealth().Update();
    // Enabled: state and frame 0; disabled: state and frame 4, out of the input.
    button->SetEnabled(enable);
}
