#pragma once
// The bytes of a document file: the byte-order mark FF FE, then UTF-16LE code units whose lines
// end in CR LF. Portable: no platform headers.

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

inline constexpr std::uint8_t kByteOrderMark[2] = {0xFF, 0xFE};

inline bool isByteOrderMark(std::uint8_t first, std::uint8_t second) {
    return first == kByteOrderMark[0] && second == kByteOrderMark[1];
}

// Rewrites the line ends of loaded text in place: CR LF, a lone CR, a lone LF and U+0000
// (with a LF right after it) each become CR LF, and text that does not end in a line break
// gains one. The result never holds U+0000, so the edit field keeps all of it, and a second
// pass leaves it unchanged. Reserve two more units of capacity to keep the common case (a
// text without a final line break) from reallocating.
void normalizeLineBreaks(std::wstring& text);

// What normalising a text takes, found in one pass: its length afterwards (never less than
// before) and how many units at its start stay as they are.
struct LineBreakMeasure {
    std::size_t length = 0;
    std::size_t firstChange = 0;
};
LineBreakMeasure measureLineBreaks(std::wstring_view text);
// The same rewriting in a buffer of the caller's: it holds `length` units measured as `m` and
// has room for m.length of them.
void normalizeLineBreaks(wchar_t* text, std::size_t length, const LineBreakMeasure& m);

// Where a slice of the text that starts at `from` and holds at least `wanted` units ends: just
// after the line break that ends the line reaching `wanted`, if that comes within a quarter of
// `wanted` more; inside a longer line, just after its next space, where a word ends; or at the
// end of the text. A slice never ends inside a word, a line break or a surrogate pair.
std::size_t sliceEnd(std::wstring_view text, std::size_t from, std::size_t wanted) noexcept;

// The units of the next slice, from the step before: `units` put by a slice that took
// `sliceMs` of a step of `stepMs` (the slice, its paint and the progress text). The slice gets
// what `targetMs` leaves beside the rest of the step, but never less than twice what that rest
// takes, so that a slow paint does not shrink the slices into ever more, ever costlier steps,
// most of whose time would go to the rest. It scales
// by the square root of that time over its own: a slice whose cost grows with its square
// (parts of one long paragraph) gets its time at once, one of short lines comes to it from
// below. At most twice the last slice, never fewer than `least`.
std::size_t nextSliceUnits(std::size_t units, double sliceMs, double stepMs, double targetMs,
                           std::size_t least) noexcept;

// The units of the text's longest line, its line break left out.
std::size_t longestLine(std::wstring_view text) noexcept;

// True when the text holds nothing but code units up to U+0020 (blanks, line breaks, controls).
bool isBlank(std::wstring_view text) noexcept;

} // namespace app
