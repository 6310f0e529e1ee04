#pragma once
// Anchor points of sprites and widgets, named "HS_UL" ... "HS_DR" in layout files.

#include <cstdint>
#include <string>

namespace QRV {

enum JE_HOT_SPOT : int32_t {
    HS_UL = 0,   // upper left
    HS_MU = 1,   // middle of the upper edge
    HS_UR = 2,   // upper right
    HS_ML = 3,   // middle of the left edge
    HS_MID = 4,  // centre
    HS_MR = 5,   // middle of the right edge
    HS_DL = 6,   // lower left
    HS_MD = 7,   // middle of the lower edge
    HS_DR = 8,   // lower right
};

// The anchor of a name (exact, case-sensitive); any other text is the centre.
int32_t ParseHotSpot(const std::string& name);

}  // namespace QRV
