#include "engine/resources/time_format.h"

#include <cstdint>

namespace {

void AppendTwoDigits(std::string& out, int64_t value) {
    // Wider values (100 hours and more) keep all their digits, as "%02i" would.
    std::string digits = std::to_string(value);
    if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
    out += digits;
}

}  // namespace

std::string FormatTime(float seconds) {
    // NaN and negative times show as zero; huge ones are capped so the conversion stays defined.
    if (!(seconds > 0.0f)) seconds = 0.0f;
    if (seconds > 1.0e12f) seconds = 1.0e12f;
    const int64_t whole = static_cast<int64_t>(seconds);
    const int64_t hours = whole / 3600;
    const int64_t rest = whole % 3600;
    const int64_t minutes = rest / 60;
    const int64_t secs = rest - 60 * minutes;

    std::string text;
    if (hours != 0) {
        AppendTwoDigits(text, hours);
        text += ':';
    }
    AppendTwoDigits(text, minutes);
    text += ':';
    AppendTwoDigits(text, secs);
    return text;
}
