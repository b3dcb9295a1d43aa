#include "app/document_format.h"
#include "controls/string_list.h"

#include <gtest/gtest.h>

#include <string>

using app::normalizeLineBreaks;

namespace {

std::wstring normalized(std::wstring text) {
    normalizeLineBreaks(text);
    return text;
}

std::wstring joinSplit(std::wstring_view text) {
    ctl::StringList list;
    list.setText(text);
    return list.text();
}

// The line list keeps CR and LF inside lines once a U+0000 has been met, except a LF right
// after a U+0000; everywhere else loading must give exactly what the list gives.
bool listTreatsBreaksAlike(std::wstring_view text) {
    const std::size_t zero = text.find(L'\0');
    if (zero == std::wstring_view::npos)
        return true;
    for (std::size_t i = zero + 1; i < text.size(); ++i) {
        if (text[i] == L'\r' || (text[i] == L'\n' && text[i - 1] != L'\0'))
            return false;
    }
    return true;
}

} // namespace

TEST(NormalizeLineBreaks, EndsEveryLineInCrLf) {
    EXPECT_EQ(normalized(L"a"), L"a\r\n");
    EXPECT_EQ(normalized(L"ab\r\nc"), L"ab\r\nc\r\n");
    EXPECT_EQ(normalized(L"a\nb\n"), L"a\r\nb\r\n");
    EXPECT_EQ(normalized(L"a\rb\r"), L"a\r\nb\r\n");
    EXPECT_EQ(normalized(L"\n\r\r\n\n"), L"\r\n\r\n\r\n\r\n");
    EXPECT_EQ(normalized(L""), L"");
    EXPECT_EQ(normalized(L"\x0645\r\n"), L"\x0645\r\n");
}

TEST(NormalizeLineBreaks, ZeroEndsALineAndLaterBreaksStillCount) {
    EXPECT_EQ(normalized(std::wstring(L"a\0\nb\rc", 6)), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(normalized(std::wstring(L"\0\0", 2)), L"\r\n\r\n");
    EXPECT_EQ(normalized(std::wstring(L"a\r\0\nb", 5)), L"a\r\n\r\nb\r\n");
}

TEST(NormalizeLineBreaks, AgreesWithTheLineListAndIsStableOnEveryShortText) {
    // Every text of up to 7 units over a letter, CR, LF and U+0000.
    const wchar_t alphabet[] = {L'a', L'\r', L'\n', L'\0'};
    std::size_t checked = 0;
    for (std::size_t length = 0; length <= 7; ++length) {
        std::size_t combinations = 1;
        for (std::size_t i = 0; i < length; ++i)
            combinations *= 4;
        for (std::size_t code = 0; code < combinations; ++code) {
            std::wstring text;
            for (std::size_t i = 0, c = code; i < length; ++i, c /= 4)
                text.push_back(alphabet[c % 4]);
            const std::wstring once = normalized(text);
            ASSERT_EQ(normalized(once), once) << "code " << code << " length " << length;
            ASSERT_EQ(once.find(L'\0'), std::wstring::npos);
            if (listTreatsBreaksAlike(text)) {
                ASSERT_EQ(once, joinSplit(text)) << "code " << code << " length " << length;
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 21845u);
}

TEST(IsBlank, OnlyUnitsUpToSpaceCountAsBlank) {
    EXPECT_TRUE(app::isBlank(L" \r\n\t "));
    EXPECT_TRUE(app::isBlank(L""));
    EXPECT_FALSE(app::isBlank(L" \x00A0 "));
    EXPECT_FALSE(app::isBlank(L"\r\n.\r\n"));
}
