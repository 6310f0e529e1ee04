#pragma once
// The offer wall ("Offerwall", type "GG_WINDOW_OFFERWALL"): the advertising services that have an
// offer now, as the game root's advertising delegate reports them. Button 2 starts the offer-wall
// network (9); button 3, enabled while an offer is listed, takes the first offer. Every control
// hides the window.

#include <cstdint>
#include <list>

#include "engine/windows/window.h"
#include "game/gameplay/gameplay_windows.h"

class gcWindow_Offerwall : public JCWindow, public gcOfferTarget {
public:
    static constexpr int32_t kStartButton = 2;
    static constexpr int32_t kTakeOfferButton = 3;
    // The network that runs the offer wall itself.
    static constexpr int32_t kOfferwallNetwork = 9;

    // Button 3 enabled exactly when an offer is listed.
    void OnShowBegin() override;
    // 2: starts network 9; 3: the first listed offer's network takes it (Command2 with empty text)
    // and the offer leaves the list. An absent network does nothing. Then the window hides.
    void OnButton(int32_t id) override;
    // Appends the service and enables button 3.
    void AddOffer(int32_t serviceId) override;

    const std::list<int32_t>& Offers() const { return offers; }

private:
    void EnableTakeOffer(bool enabled);

    std::list<int32_t> offers;
};
