#pragma once
// Small readers of configuration texts.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The platform letter of an edition: "O"/"o" 1, "I"/"i" 2, "A"/"a" 3, anything else 0.
int32_t ParsePlatform(const std::string& text);

// Cells "col row|col row": each piece is two integers, (0, 0) when it has fewer than two.
std::vector<std::pair<int32_t, int32_t>> ParsePointList(const std::string& text);

// Four blank-separated numbers into out; with fewer pieces out is left as it was (false).
bool ParseNumberList(const std::string& text, float out[4]);
