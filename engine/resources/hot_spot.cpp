#include "engine/resources/hot_spot.h"

#include <array>
#include <string_view>

namespace QRV {

int32_t ParseHotSpot(const std::string& name) {
    static constexpr std::array<std::string_view, 9> kNames = {"HS_UL", "HS_MU", "HS_UR", "HS_ML", "HS_MID",
                                                               "HS_MR", "HS_DL", "HS_MD", "HS_DR"};
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i]) return static_cast<int32_t>(i);
    }
    return HS_MID;
}

}  // namespace QRV
