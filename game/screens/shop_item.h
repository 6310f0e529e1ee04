#pragma once
// One offer of the shop: an item of the shop's paged grid that shows the store item of its "type"
// (the rung of the ladder the current player has not reached yet) with its name, annotation,
// price and picture, and a buy button that is enabled only when the player can buy it now.
//
// Item layout controls: 1 buy button, 2 name (the localised text whose key is the type), 3
// annotation, 4 price, 5 picture, 6 a marker shown when the offer is not for sale. The layout's
// texts of 3 and 5 are the defaults shown for a type the store does not know.
//
// Modes: 0 for sale (marker hidden, button and picture shown); 1 waiting for the in-app store's
// price ("loading", button shown disabled); 2 unknown type (marker and picture shown, button
// hidden).

#include <cstdint>
#include <string>

#include "engine/windows/pages_item.h"

namespace QRV {
class JC_GUI_BUTTON5;
}

class gcPagesItem_Shop : public JCPagesItem {
public:
    static constexpr int32_t kBuyButton = 1;
    static constexpr int32_t kNameLabel = 2;
    static constexpr int32_t kAnnotationLabel = 3;
    static constexpr int32_t kPriceLabel = 4;
    static constexpr int32_t kPicture = 5;
    static constexpr int32_t kNotForSaleMarker = 6;

    static constexpr int32_t kModeForSale = 0;
    static constexpr int32_t kModeLoading = 1;
    static constexpr int32_t kModeUnknown = 2;

    // Reads "type" and "gameplayonly", takes the layout's default annotation and picture, then
    // looks its store item up.
    gcPagesItem_Shop(const pugi::xml_node& element, int32_t index);
    ~gcPagesItem_Shop() override = default;

    // 56 refreshes (and lays out again once loaded), 50 fills the labels and restores the
    // resources once, 51 releases them; the rest as any grid item.
    int32_t Message(int32_t messageId, float a, float b, float c, void* data) override;
    // A release counts as a click only when the buy button took it.
    int32_t OnMouseUp(int32_t button) override;

    // Looks the store item up again and shows the result.
    void UpdateOffer();
    // Enables the buy button when everything holds: affordable, the store knows the type, a level
    // runs or the offer is not for levels only, and for "refill_hint" the board can refill hints,
    // for "life_refill" a heart is refilling. Disabled otherwise. Nothing without a tree, a
    // current player or a button.
    void UpdateBuyButton(bool affordable);

    const std::string& Type() const { return type; }
    bool IsGameplayOnly() const { return gameplayOnly; }
    bool IsKnown() const { return known; }
    bool IsLoaded() const { return loaded; }
    int32_t Mode() const { return mode; }
    int32_t Price() const { return price; }
    const std::string& PriceText() const { return priceText; }
    const std::wstring& Annotation() const { return annotation; }
    const std::string& ImageName() const { return imageName; }
    // The buy button of the tree, or null.
    QRV::JC_GUI_BUTTON5* BuyButton() const;

private:
    // The labels, the picture and the controls of the current mode.
    void ShowOffer();

    std::string type;
    bool gameplayOnly = false;
    std::wstring defaultAnnotation;
    std::string defaultImage;
    std::wstring annotation;
    int32_t price = 0;
    std::string priceText;
    std::string imageName;
    bool known = false;
    bool loaded = false;
    int32_t mode = kModeUnknown;
};
