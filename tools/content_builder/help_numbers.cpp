#include "tools/content_builder/help_numbers.h"

#include "tools/content_builder/theme.h"

namespace ContentBuilder {
namespace {

constexpr std::string_view kOpen = "{{number:";
constexpr std::string_view kClose = "}}";

int DefaultItem(std::string_view name) {
    for (const Theme::ItemCount& item : Theme::kDefaultPlayer.items)
        if (item.name == name) return item.count;
    throw HelpNumberError("the default player has no item \"" + std::string(name) + "\"");
}

}  // namespace

std::vector<HelpNumber> HelpNumbers() {
    const Theme::HelpStarRule& stars = Theme::kHelpStarRule;
    return {
        {"hearts", DefaultItem("life")},
        {"heart_refill_minutes", Theme::kDefaultPlayer.refillSeconds / 60},
        {"errors_allowed", DefaultItem("error")},
        {"hints_at_start", DefaultItem("hint_start")},
        {"hints_per_level", Theme::kGameplaySettings.maxHints},
        {"coins_per_cell", Theme::kGameplaySettings.sunimeOne},
        {"coins_per_bonus", Theme::kGameplaySettings.sunimeBonus},
        {"stars_best", stars.best},
        {"stars_one_error", stars.oneError},
        {"stars_otherwise", stars.otherwise},
    };
}

int HelpNumberValue(std::string_view name) {
    for (const HelpNumber& number : HelpNumbers())
        if (number.name == name) return number.value;
    throw HelpNumberError("no number \"" + std::string(name) + "\"");
}

std::string ExpandHelpNumbers(std::string_view text) {
    const std::vector<HelpNumber> numbers = HelpNumbers();
    std::string out;
    size_t at = 0;
    for (size_t open = text.find(kOpen); open != std::string_view::npos; open = text.find(kOpen, at)) {
        const size_t close = text.find(kClose, open + kOpen.size());
        if (close == std::string_view::npos)
            throw HelpNumberError("unclosed placeholder in \"" + std::string(text) + "\"");
        const std::string_view name = text.substr(open + kOpen.size(), close - open - kOpen.size());
        const HelpNumber* found = nullptr;
        for (const HelpNumber& number : numbers)
            if (number.name == name) found = &number;
        if (found == nullptr) throw HelpNumberError("no number \"" + std::string(name) + "\"");
        out.append(text.substr(at, open - at));
        out += std::to_string(found->value);
        at = close + kClose.size();
    }
    out.append(text.substr(at));
    return out;
}

}  // namespace ContentBuilder
