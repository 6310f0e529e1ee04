#pragma once
// The texts of the small whole numbers the board shows every frame (clue lengths, selection
// ordinals), each made once by the engine's formatter ("%i") and kept, so that a frame draws
// kept texts instead of formatting hundreds of numbers again.

#include <cstdint>
#include <string>
#include <vector>

class gcNumberTexts {
public:
    // Numbers up to this are kept; a larger one is formatted into one scratch text.
    static constexpr int32_t kKeptMax = 1023;

    // The text of the number as "%i" writes it; valid until the next call.
    const std::wstring& Text(int32_t number);

private:
    std::vector<std::wstring> kept;
    std::wstring scratch;
};
