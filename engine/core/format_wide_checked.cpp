#include "engine/core/format_wide_checked.h"

#include <vector>

#include "engine/core/format_wide.h"

namespace QRV {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Whether the argument is of the kind the conversion reads.
bool Matches(wchar_t conversion, const FormatArg& arg) {
    switch (conversion) {
        case L's': return std::holds_alternative<std::wstring>(arg);
        case L'd':
        case L'i':
        case L'u': return std::holds_alternative<int32_t>(arg) || std::holds_alternative<uint32_t>(arg);
        case L'f': return std::holds_alternative<double>(arg);
        default: return false;
    }
}

// One checked conversion through the engine's formatter, into at most room characters.
std::wstring FormatOne(const std::wstring& spec, const FormatArg& arg, size_t room) {
    std::vector<wchar_t> buffer(room + 1, L'\0');
    if (const auto* text = std::get_if<std::wstring>(&arg)) {
        FormatWide(buffer.data(), buffer.size(), spec.c_str(), text->c_str());
    } else if (const auto* value = std::get_if<int32_t>(&arg)) {
        FormatWide(buffer.data(), buffer.size(), spec.c_str(), *value);
    } else if (const auto* value = std::get_if<uint32_t>(&arg)) {
        FormatWide(buffer.data(), buffer.size(), spec.c_str(), *value);
    } else {
        FormatWide(buffer.data(), buffer.size(), spec.c_str(), std::get<double>(arg));
    }
    return std::wstring(buffer.data());
}

}  // namespace

std::wstring FormatWideChecked(const std::wstring& format, std::initializer_list<FormatArg> args, size_t capacity) {
    return FormatWideChecked(format, args.begin(), args.size(), capacity);
}

std::wstring FormatWideChecked(const std::wstring& format, const FormatArg* args, size_t count, size_t capacity) {
    std::wstring out;
    if (capacity == 0) return out;
    const size_t limit = capacity - 1;
    const auto append = [&](const std::wstring& piece) { out.append(piece, 0, limit - out.size()); };

    size_t next = 0;  // the next argument
    size_t i = 0;
    while (i < format.size() && out.size() < limit) {
        if (format[i] != L'%') {
            out.push_back(format[i++]);
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            out.push_back(L'%');
            i += 2;
            continue;
        }
        // The conversion's whole spelling: %, flag, width, precision, length, conversion.
        size_t end = i + 1;
        if (end < format.size() && format[end] == L'0') ++end;
        while (end < format.size() && IsDigit(format[end])) ++end;
        if (end < format.size() && format[end] == L'.') {
            ++end;
            while (end < format.size() && IsDigit(format[end])) ++end;
        }
        if (end < format.size() && format[end] == L'l') ++end;
        if (end >= format.size()) {
            // Cut short by the end of the template.
            append(format.substr(i));
            break;
        }
        const std::wstring spec = format.substr(i, end + 1 - i);
        const FormatArg* arg = next < count ? &args[next] : nullptr;
        ++next;
        if (arg != nullptr && Matches(format[end], *arg)) {
            append(FormatOne(spec, *arg, limit - out.size()));
        } else {
            append(spec);
        }
        i = end + 1;
    }
    return out;
}

}  // namespace QRV
