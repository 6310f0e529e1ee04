#pragma once
// One product of the in-app store, read from an "item" element of the purchase file ("name",
// "product_id", "type"). Availability and the price texts come from the store.

#include <cstdint>
#include <string>

// Product types: "type" beginning with C or c is consumable, N or n non-consumable, anything else
// (or nothing) the third kind.
constexpr int32_t kIgpConsumable = 0;
constexpr int32_t kIgpNonConsumable = 1;
constexpr int32_t kIgpOtherType = 2;
int32_t IgpItemTypeFromText(const std::string& text);

struct JSIgpItem {
    bool available = false;
    int32_t type = kIgpOtherType;
    std::string name;
    std::string productId;
    std::string priceText;
    std::string secondText;
    double price = 0.0;
};
