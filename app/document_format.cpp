#include "app/document_format.h"

#include "controls/text.h"

#include <algorithm>
#include <cmath>

namespace app {

namespace {

constexpr wchar_t kCR = L'\r';
constexpr wchar_t kLF = L'\n';

} // namespace

// One forward pass over the tokens: CR LF, U+0000 LF, lone CR, lone LF, lone U+0000, or any
// other unit. Line ends take two units afterwards.
LineBreakMeasure measureLineBreaks(std::wstring_view text) {
    LineBreakMeasure m;
    m.firstChange = text.size();
    bool lineOpen = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == kCR || c == kLF || c == L'\0') {
            const bool pair = c != kLF && i + 1 < text.size() && text[i + 1] == kLF;
            if ((c != kCR || !pair) && m.firstChange == text.size())
                m.firstChange = i;
            i += pair ? 2 : 1;
            m.length += 2;
            lineOpen = false;
        } else {
            ++i;
            ++m.length;
            lineOpen = true;
        }
    }
    if (lineOpen)
        m.length += 2;
    return m;
}

void normalizeLineBreaks(std::wstring& text) {
    const std::size_t n = text.size();
    const LineBreakMeasure m = measureLineBreaks(text);
    text.resize(m.length);
    normalizeLineBreaks(text.data(), n, m);
}

void normalizeLineBreaks(wchar_t* text, std::size_t n, const LineBreakMeasure& m) {
    if (m.length == n && m.firstChange == n)
        return;
    // Backwards, so the growing text never overwrites units not yet read; everything before
    // the first change stays as it is.
    std::size_t w = m.length;
    std::size_t r = n;
    const bool lineOpen = n > 0 && text[n - 1] != kCR && text[n - 1] != kLF && text[n - 1] != L'\0';
    if (lineOpen) {
        text[--w] = kLF;
        text[--w] = kCR;
    }
    while (r > m.firstChange) {
        const wchar_t c = text[r - 1];
        if (c == kCR || c == kLF || c == L'\0') {
            const bool pair = c == kLF && r >= 2 && (text[r - 2] == kCR || text[r - 2] == L'\0');
            r -= pair ? 2 : 1;
            text[--w] = kLF;
            text[--w] = kCR;
        } else {
            text[--w] = c;
            --r;
        }
    }
}

std::size_t sliceEnd(std::wstring_view text, std::size_t from, std::size_t wanted) noexcept {
    if (from >= text.size() || wanted >= text.size() - from)
        return text.size();
    const std::size_t reach = from + (wanted > 0 ? wanted - 1 : 0);
    const std::size_t lineEnd = std::min(text.find(kLF, reach), text.size() - 1) + 1;
    if (lineEnd - reach <= wanted / 4 + 1)
        return lineEnd;
    // A paragraph of thousands of units goes in parts: the field lays out each part's own lines.
    const std::size_t space = text.find(L' ', reach);
    return space < lineEnd ? space + 1 : lineEnd;
}

std::size_t nextSliceUnits(std::size_t units, double sliceMs, double stepMs, double targetMs,
                           std::size_t least) noexcept {
    const double rest = std::max(stepMs - sliceMs, 0.0);
    const double budget = std::max(targetMs - rest, 2 * rest);
    const double scaled = static_cast<double>(units) * std::sqrt(budget / std::max(sliceMs, 1.0));
    const double most = 2.0 * static_cast<double>(std::max(units, least));
    return static_cast<std::size_t>(std::clamp(scaled, static_cast<double>(least), most));
}

std::size_t longestLine(std::wstring_view text) noexcept {
    std::size_t longest = 0;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", from), text.size());
        longest = std::max(longest, end - from);
        from = end + 1;
    }
    return longest;
}

bool isBlank(std::wstring_view text) noexcept {
    return ctl::trimLeft(text).empty();
}

} // namespace app
