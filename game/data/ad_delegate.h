#pragma once
// What advertising networks report back to the game (the game root implements it). Networks are
// named by their ids (AdNetworkIdFromName, ad_manager.h).

#include <cstdint>

class JIAdDelegate {
public:
    virtual ~JIAdDelegate() = default;

    // A rewarded ad paid out this amount of money.
    virtual void OnReward(int32_t amount) = 0;
    // An ad of the network covers the game.
    virtual void OnAdOpened(int32_t network) = 0;
    // The network wants its banners out of the way.
    virtual void OnAdEvent3(int32_t network) = 0;
    // The network's ad was closed: the game goes on.
    virtual void OnAdClosed(int32_t network) = 0;
    // The network has an ad of this type ready to be prepared.
    virtual void OnAdEvent5(int32_t network, int32_t adType) = 0;
    // Reported by some networks; the game has no use for it.
    virtual void OnAdEvent6() {}
    // An offer of the offer wall became available.
    virtual void OnOfferwall(int32_t value) = 0;
    // Reported by some networks; the game has no use for it.
    virtual void OnAdEvent8() {}
};
