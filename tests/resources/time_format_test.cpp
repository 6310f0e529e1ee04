#include "engine/resources/time_format.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CatalogueTime, FormatsMinutesAndHours) {
    struct Case {
        float seconds;
        const char* text;
    };
    const Case cases[] = {
        {0.0f, "00:00"},        {59.9f, "00:59"},
        {60.0f, "01:00"},       {3599.9f, "59:59"},
        {3600.0f, "01:00:00"},  {3725.0f, "01:02:05"},
        {36000.0f, "10:00:00"}, {360000.0f, "100:00:00"},
        {-5.0f, "00:00"},       {std::numeric_limits<float>::quiet_NaN(), "00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(FormatTime(c.seconds), c.text);
    }
    // Far beyond any play time, yet still defined.
    EXPECT_FALSE(FormatTime(std::numeric_limits<float>::infinity()).empty());
}
