#include <algorithm>
#include <vector>

#include "engine/windows/window.h"
#include "game/app/context.h"
#include "game/app/game.h"
#include "game/app/global.h"
#include "game/data/ad_manager.h"
#include "game/data/ad_wrapper.h"
#include "game/gameplay/gameplay_windows.h"

namespace {

JIAdWrapper* Network(int32_t id) { return JCAdManager::Instance().Find(id); }

void AppendWhenRegistered(std::vector<int32_t>& list, int32_t id) {
    if (Network(id) != nullptr) list.push_back(id);
}

}  // namespace

void gcGame::TakeFromNetworkList(std::vector<int32_t>& list, int32_t adType, const std::string& placement) {
    while (!list.empty()) {
        const int32_t id = list.back();
        list.pop_back();
        if (JIAdWrapper* network = Network(id)) {
            network->Show(adType, placement);
            return;
        }
    }
}

void gcGame::ShowAd(const std::string& placement) {
    if (!serviceAnswered) {
        startAdPending = true;
        return;
    }
    const gcPlayer* player = CurrentPlayer();
    const bool bought = player != nullptr && player->IsInappBought();
    if (bought) {
        // After a purchase only the start network shows, at the start: what an earlier placement
        // left in the list goes.
        std::erase_if(interstitials, [](int32_t id) { return id != kAdNet3; });
        if (placement != "start_game") return;
    }
    if (placement == "start_game") {
        AppendWhenRegistered(interstitials, kAdNet3);
    } else {
        if (global.EditionInt("free") != 0 && interstitials.empty()) {
            for (int32_t id : {kAdNet3, kAdNet2, kAdNet1}) AppendWhenRegistered(interstitials, id);
        }
    }
    if (interstitials.empty()) return;
    std::shuffle(interstitials.begin(), interstitials.end(), adShuffle);
    TakeFromNetworkList(interstitials, kAdTypeInterstitial, placement);
}

void gcGame::ShowBanner() {
    const gcPlayer* player = CurrentPlayer();
    if (player == nullptr || player->IsInappBought()) return;
    HideBanners();
    if (banners.empty()) {
        AppendWhenRegistered(banners, kAdNet2);
        std::shuffle(banners.begin(), banners.end(), adShuffle);
        // Taken from the end: tried first.
        if (global.GetPlatformLetter() == 2) banners.push_back(kAdNet0);
    }
    TakeFromNetworkList(banners, kAdTypeBanner, "");
}

void gcGame::HideBanners() {
    for (int32_t id : {kAdNet2, kAdNet0}) {
        if (JIAdWrapper* network = Network(id)) network->Hide(kAdTypeBanner, "");
    }
}

void gcGame::OnReward(int32_t amount) {
    gcPlayer* player = CurrentPlayer();
    if (player == nullptr) return;
    player->IncrementStatistic("money", amount);
    Save();
}

void gcGame::OnAdOpened(int32_t) {
    HideBanners();
    global.MuteSoundGroups();
}

void gcGame::OnAdEvent3(int32_t) { HideBanners(); }

void gcGame::OnAdClosed(int32_t network) {
    gameplay.Resume();
    if (JIAdWrapper* closed = Network(network)) closed->NotifyClosed();
    ShowBanner();
    if (JIAdWrapper* start = Network(kAdNet5)) start->Command("");
    global.ApplyVolumes();
}

void gcGame::OnAdEvent5(int32_t network, int32_t adType) {
    JIAdWrapper* wrapper = Network(network);
    if (wrapper == nullptr) return;
    const gcPlayer* player = CurrentPlayer();
    const bool bought = player != nullptr && player->IsInappBought();
    if (adType == kAdTypeInterstitial) {
        if ((bought && network != kAdNet3) || gameplay.IsRunning()) return;
        wrapper->Prepare(kAdTypeInterstitial, "");
    } else if (adType == kAdTypeBanner) {
        if (bought) return;
        if (gameplay.IsRunning() && global.EditionInt("gameplay_ad") == 0) return;
        wrapper->Prepare(kAdTypeBanner, "");
    }
}

void gcGame::OnOfferwall(int32_t value) {
    if (auto* offers = dynamic_cast<gcOfferTarget*>(FindWindow("Offerwall"))) offers->AddOffer(value);
}

void gcGame::OnServiceEvent1() {
    serviceAnswered = true;
    if (!startAdPending) return;
    startAdPending = false;
    ShowAd("start_game");
}

void gcGame::OnServiceEvent2() { OnServiceEvent1(); }
