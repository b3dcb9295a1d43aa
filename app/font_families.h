#pragma once
// The installed font families as the font-name box lists them: each once, letter case aside.

#include <windows.h>

#include <new>
#include <set>
#include <string>

namespace app {

struct FamilyOrder {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
               CSTR_LESS_THAN;
    }
};
using FamilySet = std::set<std::wstring, FamilyOrder>;

// The platform reports a family once per character set; the first spelling of each is kept.
// Nothing may be thrown through the platform's enumeration: short of memory, the list stops.
inline int CALLBACK collectFontFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD,
                                      LPARAM families) {
    try {
        reinterpret_cast<FamilySet*>(families)->emplace(font->lfFaceName);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

// Gathered whole first, so that a box is sent one message per family rather than a search and
// an addition per report.
inline FamilySet fontFamilies(HDC dc) {
    FamilySet families;
    EnumFontFamiliesW(dc, nullptr, collectFontFamily, reinterpret_cast<LPARAM>(&families));
    return families;
}

} // namespace app
