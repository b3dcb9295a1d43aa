#pragma once
// StringList: an ordered list of lines, convertible to and from one text in which every line
// ends in CR LF. Portable: no platform headers.

#include <string>
#include <string_view>
#include <vector>

namespace ctl {

class Stream;

class StringList {
public:
    int count() const noexcept { return static_cast<int>(items_.size()); }
    // The line at `index`; empty outside the list.
    std::wstring_view item(int index) const noexcept;
    // Appends a line and answers its index.
    int add(std::wstring_view line);
    // Inserts at `index`, first padding the list with empty lines when it is shorter.
    void insert(int index, std::wstring_view line);
    void remove(int index);
    void setItem(int index, std::wstring_view line);
    void clear() noexcept { items_.clear(); }

    // Every line followed by CR LF; empty for an empty list.
    std::wstring text() const;
    // Splits at CR LF, lone CR and lone LF; a final line break makes no empty last line. A
    // U+0000 ends a line too, and from the first one on only U+0000 divides lines (a LF right
    // after one is dropped).
    void setText(std::wstring_view text);
    // Takes the rest of the stream as UTF-16LE code units (an odd last byte is skipped) and
    // splits it after the current lines (append) or instead of them.
    void loadFromStream(Stream& stream, bool append);

private:
    std::vector<std::wstring> items_;
};

} // namespace ctl
