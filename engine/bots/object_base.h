#pragma once
// The base of every object that lives in a per-frame list (bots, timers, page items, effects).
// Everything an owner does to such an object goes through the one virtual operation, Message.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/result_codes.h"

namespace QRV {

// Message ids understood by the engine's objects. An object answers the ids that concern it and
// returns 0 for every other id.
namespace MSG {
constexpr int32_t Tick = 1;                 // advance by g_frameTime; 0, Finished or Stop
constexpr int32_t Draw = 2;                 // 0; Stop ends the draw pass
constexpr int32_t SetPosition = 12;         // a = x, b = y; 1 when handled
constexpr int32_t QueryWidth = 23;          // the width as an integer
constexpr int32_t QueryHeight = 24;         // the height as an integer
constexpr int32_t AfterSetPosition = 25;    // sent by the paged grid after 12, data = 4; unanswered
constexpr int32_t SetParentTransform = 32;  // data = JS_TRANSFORM3*
constexpr int32_t SetCallback = 38;         // data = JS_CALLBACK*, copied by the receiver
constexpr int32_t FinishNow = 45;           // jump to the end state
constexpr int32_t PointerPressed = 47;      // data = the handler's argument
constexpr int32_t PointerReleased = 48;     // data = the handler's argument
constexpr int32_t PointerDragged = 49;
constexpr int32_t LoadResources = 50;
constexpr int32_t ReleaseResources = 51;
constexpr int32_t Refresh = 56;
}  // namespace MSG

// Results of Message that the lists act upon.
namespace MSG_RESULT {
constexpr int32_t GoOn = 0;
constexpr int32_t Finished = RESULT::Finished;  // the owning list deletes the object
constexpr int32_t Stop = RESULT::Stop;          // no later object of the list gets this message in this pass
}  // namespace MSG_RESULT

// Packs four characters into an id word whose bytes in memory are those characters, so that
// a word read from the four bytes of a text compares equal to it on any byte order.
constexpr uint32_t MakeIdWord(std::string_view text) {
    uint32_t word = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint32_t byte = i < text.size() ? static_cast<uint8_t>(text[i]) : 0u;
        if constexpr (std::endian::native == std::endian::little) {
            word |= byte << (8 * i);
        } else {
            word |= byte << (8 * (3 - i));
        }
    }
    return word;
}

class JC_BASE {
public:
    JC_BASE() = default;
    JC_BASE(const JC_BASE&) = default;
    JC_BASE& operator=(const JC_BASE&) = default;
    virtual ~JC_BASE();

    // a, b and c carry positions or sizes; data's type depends on the id.
    virtual int32_t Message(int32_t id, float a, float b, float c, void* data) = 0;

    // The four id bytes as text (up to the first zero byte).
    std::string IdText() const;
    // Takes the first four characters of text (fewer are padded with zero bytes).
    void SetId(std::string_view text) { id = MakeIdWord(text); }

    std::string name = "nonamed";
    std::string lastName = "nolastname";
    // Four bytes compared as one word; page items store their index in it.
    uint32_t id = MakeIdWord("noid");
    // Bot lists keep higher priorities first.
    float priority = 0.0f;
    // Pointer-sized; cleared when a bot list hands the object back.
    uintptr_t ownerLink = 0;
    uint8_t updateLevel = 1;
    uint8_t drawLevel = 1;
};

}  // namespace QRV
