#pragma once
// What the line list does with a text, as a reference for document loading. After its first
// U+0000 the list divides lines only at U+0000 (a LF right after it is dropped); before it, the
// list and loading must agree exactly.

#include "controls/string_list.h"

#include <string>
#include <string_view>

namespace line_list_oracle {

inline std::wstring joinSplit(std::wstring_view text) {
    ctl::StringList list;
    list.setText(text);
    return list.text();
}

// True when the list treats every line break of `text` as loading does.
inline bool treatsBreaksAlike(std::wstring_view text) {
    const std::size_t zero = text.find(L'\0');
    if (zero == std::wstring_view::npos)
        return true;
    for (std::size_t i = zero + 1; i < text.size(); ++i) {
        if (text[i] == L'\r' || (text[i] == L'\n' && text[i - 1] != L'\0'))
            return false;
    }
    return true;
}

} // namespace line_list_oracle
