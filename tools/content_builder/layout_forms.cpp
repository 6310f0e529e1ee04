#include "tools/content_builder/layout_forms.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace ContentBuilder {
namespace {

constexpr std::array<std::string_view, 9> kHotSpotNames{"HS_UL", "HS_MU", "HS_UR", "HS_ML", "HS_MID",
                                                        "HS_MR", "HS_DL", "HS_MD", "HS_DR"};

std::string CountOf(std::string_view text, size_t count, std::string_view what) {
    const auto numbers = ParseNumberList(text);
    if (!numbers) return "\"" + std::string(text) + "\" is not " + std::string(what) + " separated by single blanks";
    if (numbers->size() != count)
        return "\"" + std::string(text) + "\" has " + std::to_string(numbers->size()) + " numbers, not " +
               std::to_string(count);
    return {};
}

std::string IntegerCount(std::string_view text, size_t count, long long low, long long high) {
    size_t start = 0, n = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        const auto value = ParseInteger(text.substr(start, end - start));
        if (!value) return "\"" + std::string(text) + "\" is not integers separated by single blanks";
        if (*value < low || *value > high)
            return "\"" + std::string(text) + "\": " + std::to_string(*value) + " is outside " + std::to_string(low) +
                   ".." + std::to_string(high);
        ++n;
        start = end + 1;
    }
    if (n != count)
        return "\"" + std::string(text) + "\" has " + std::to_string(n) + " numbers, not " + std::to_string(count);
    return {};
}

}  // namespace

std::optional<long long> ParseInteger(std::string_view text) {
    long long value = 0;
    const char* begin = text.data();
    if (!text.empty() && text.front() == '+') return std::nullopt;
    const auto [ptr, ec] = std::from_chars(begin, begin + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != begin + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<double>> ParseNumberList(std::string_view text) {
    std::vector<double> numbers;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        const std::string_view piece = text.substr(start, end - start);
        double value = 0;
        const auto [ptr, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
        if (piece.empty() || ec != std::errc() || ptr != piece.data() + piece.size() || !std::isfinite(value))
            return std::nullopt;
        numbers.push_back(value);
        start = end + 1;
    }
    return numbers;
}

std::string CheckValueForm(std::string_view text, ValueForm form) {
    const std::string quoted = "\"" + std::string(text) + "\"";
    switch (form) {
        case ValueForm::kId: {
            const auto value = ParseInteger(text);
            return value && *value >= 1 && *value <= 2147483647 ? std::string() : quoted + " is not a positive integer";
        }
        case ValueForm::kInt: return ParseInteger(text) ? std::string() : quoted + " is not a decimal integer";
        case ValueForm::kCount: {
            const auto value = ParseInteger(text);
            return value && *value >= 0 ? std::string() : quoted + " is not an integer of at least 0";
        }
        case ValueForm::kBool:
            return text == "true" || text == "false" ? std::string() : quoted + " is not \"true\" or \"false\"";
        case ValueForm::kSeconds: {
            const auto numbers = ParseNumberList(text);
            return numbers && numbers->size() == 1 && numbers->front() >= 0 ? std::string()
                                                                            : quoted + " is not a number of at least 0";
        }
        case ValueForm::kFloat: return CountOf(text, 1, "a number");
        case ValueForm::kFloatPair: return CountOf(text, 2, "numbers");
        case ValueForm::kPoint: return IntegerCount(text, 2, -2147483647, 2147483647);
        case ValueForm::kFourNumbers: return CountOf(text, 4, "numbers");
        case ValueForm::kTransform: {
            std::string fault = CountOf(text, 12, "numbers");
            if (!fault.empty()) return fault;
            const std::vector<double> v = *ParseNumberList(text);
            if (v[9] == 0 || v[10] == 0)
                return quoted + ": a scale of 0 hides the widget (scale is the last three numbers)";
            return {};
        }
        case ValueForm::kHexColour: {
            if (text.size() != 8) return quoted + " is not eight hexadecimal digits AARRGGBB";
            for (char c : text)
                if (!std::isxdigit(static_cast<unsigned char>(c)))
                    return quoted + " is not eight hexadecimal digits AARRGGBB";
            return {};
        }
        case ValueForm::kArgbColour: return IntegerCount(text, 4, 0, 255);
        case ValueForm::kHotSpotIndex: {
            const auto value = ParseInteger(text);
            return value && *value >= 0 && *value <= 8 ? std::string() : quoted + " is not a hot spot 0..8";
        }
        case ValueForm::kHotSpotName:
            for (std::string_view name : kHotSpotNames)
                if (text == name) return {};
            return quoted + " is not a hot-spot name (HS_UL ... HS_DR)";
        case ValueForm::kAlignment:
            return text == "LEFT" || text == "CENTER" || text == "RIGHT" ? std::string()
                                                                         : quoted + " is not LEFT, CENTER or RIGHT";
        case ValueForm::kText: return {};
    }
    return {};
}

}  // namespace ContentBuilder
