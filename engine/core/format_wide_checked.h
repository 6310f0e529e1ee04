#pragma once
// Formatting of templates that come from data files (string tables): the arguments travel with
// their types, and every conversion of the template is checked against its argument before the
// engine's formatter (format_wide.h) writes it. A template can therefore never read an argument
// as something it is not.
//
// The template's syntax is the engine formatter's: %%, an optional 0 flag, width, ".digits"
// precision, optional l, and the conversions s (text), d and i (signed), u (unsigned), f (float).
// Conversions take the arguments in order, one each. A conversion is written literally, exactly
// as the template spells it, when its argument is of another kind (s takes text, d, i and u take
// either integer, f takes a float), when no argument is left, or when the conversion is unknown;
// a literal conversion uses up its argument all the same, so the ones after it keep their
// partners. Arguments left over are ignored. A lone "%" at the end is written as it stands.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

namespace QRV {

// One argument: a signed or unsigned integer, a float (kept as double) or a wide text.
using FormatArg = std::variant<int32_t, uint32_t, double, std::wstring>;

// The formatted text, at most capacity - 1 characters long (longer results are cut there).
std::wstring FormatWideChecked(const std::wstring& format, std::initializer_list<FormatArg> args,
                               size_t capacity = 512);
std::wstring FormatWideChecked(const std::wstring& format, const FormatArg* args, size_t count, size_t capacity = 512);

}  // namespace QRV
