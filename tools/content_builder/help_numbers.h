// Numbers that the game's texts quote (hearts, the refill time, the error allowance, hints, the
// star rule, coins per cell), taken from the same values the builder writes into the game's data,
// so a text can never state another number than the game plays by. A string-table text names one
// as "{{number:<name>}}".
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ContentBuilder {

struct HelpNumber {
    std::string_view name;
    int value;
};

// Every number a text may name.
std::vector<HelpNumber> HelpNumbers();

// The value of one number; HelpNumberError for an unknown name.
int HelpNumberValue(std::string_view name);

// Raised for an unknown name or an unclosed placeholder; the message names it.
class HelpNumberError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text with every "{{number:<name>}}" replaced by the number in decimal; other text (other
// braces included) stays as it is.
std::string ExpandHelpNumbers(std::string_view text);

}  // namespace ContentBuilder
