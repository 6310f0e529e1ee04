#include "game/screens/window_offerwall.h"

#include "engine/gui/gui_button5.h"
#include "engine/gui/gui_root.h"
#include "game/data/ad_manager.h"

void gcWindow_Offerwall::OnShowBegin() { EnableTakeOffer(!offers.empty()); }

void gcWindow_Offerwall::OnButton(int32_t id) {
    JCAdManager& networks = JCAdManager::Instance();
    if (id == kStartButton) {
        if (JIAdWrapper* network = networks.Find(kOfferwallNetwork)) network->Start();
    } else if (id == kTakeOfferButton && !offers.empty()) {
        if (JIAdWrapper* network = networks.Find(offers.front())) {
            network->Command2("");
            offers.pop_front();
        }
    }
    Hide(false);
}

void gcWindow_Offerwall::AddOffer(int32_t serviceId) {
    offers.push_back(serviceId);
    EnableTakeOffer(true);
}

void gcWindow_Offerwall::EnableTakeOffer(bool enabled) {
    if (gui == nullptr) return;
    if (auto* button = dynamic_cast<QRV::JC_GUI_BUTTON5*>(gui->rootObject->FindChildById(kTakeOfferButton)))
        button->SetEnabled(enabled);
}
