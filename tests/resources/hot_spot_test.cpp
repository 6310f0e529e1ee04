#include "engine/resources/hot_spot.h"

#include <gtest/gtest.h>

TEST(CatalogueHotSpot, NamesAreExactAndCaseSensitive) {
    const char* names[] = {"HS_UL", "HS_MU", "HS_UR", "HS_ML", "HS_MID", "HS_MR", "HS_DL", "HS_MD", "HS_DR"};
    for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(QRV::ParseHotSpot(names[i]), i) << names[i];
    for (const char* other : {"hs_ul", "HS_DR ", "", "HS_", "HS_MIDDLE", "8"}) {
        EXPECT_EQ(QRV::ParseHotSpot(other), QRV::HS_MID) << '"' << other << '"';
    }
}
