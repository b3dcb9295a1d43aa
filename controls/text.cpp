#include "controls/text.h"

#include <algorithm>

namespace ctl {

std::wstring decimalText(std::int32_t value) {
    // Work on the magnitude as unsigned, so the most negative value has its digits too.
    auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0)
        magnitude = 0u - magnitude;
    std::wstring digits;
    do {
        digits.push_back(static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        digits.push_back(L'-');
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::int32_t integerFromText(std::wstring_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - L'0');
    if (negative)
        value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::wstring_view filePath(std::wstring_view fileName) {
    const std::size_t last = fileName.find_last_of(L":\\/");
    if (last == std::wstring_view::npos)
        return {};
    return fileName.substr(0, last + 1);
}

std::wstring_view trimLeft(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<std::uint32_t>(text[i]) < 0x21)
        ++i;
    return text.substr(i);
}

std::wstring_view trimRight(std::wstring_view text) {
    std::size_t n = text.size();
    while (n > 0 && static_cast<std::uint32_t>(text[n - 1]) < 0x21)
        --n;
    return text.substr(0, n);
}

int compareText(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<std::uint16_t>(a[i]);
        const auto y = static_cast<std::uint16_t>(b[i]);
        if (x != y)
            return static_cast<int>(x) - static_cast<int>(y);
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

} // namespace ctl
