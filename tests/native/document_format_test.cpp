#include "app/document_format.h"
#include "tests/support/line_list_oracle.h"

#include <gtest/gtest.h>

#include <string>

using app::normalizeLineBreaks;

namespace {

std::wstring normalized(std::wstring text) {
    normalizeLineBreaks(text);
    return text;
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
            if (line_list_oracle::treatsBreaksAlike(text)) {
                ASSERT_EQ(once, line_list_oracle::joinSplit(text))
                    << "code " << code << " length " << length;
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

// Slices put in one after another give back the text, each ends a line, and each holds at
// least what was asked for unless the text ran out.
TEST(SliceEnd, SlicesEndAtLineEndsAndTogetherGiveTheText) {
    const std::wstring text = L"ab\r\n\xD83D\xDCD6\xD83D\xDCD6\r\n\r\nlong line here\r\nz\r\n";
    for (std::size_t wanted = 0; wanted <= text.size() + 1; ++wanted) {
        std::wstring joined;
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t end = app::sliceEnd(text, from, wanted);
            ASSERT_GT(end, from) << "wanted " << wanted;
            ASSERT_EQ(text[end - 1], L'\n') << "wanted " << wanted << " from " << from;
            ASSERT_TRUE(end == text.size() || end - from >= wanted);
            joined += text.substr(from, end - from);
            from = end;
        }
        EXPECT_EQ(joined, text) << "wanted " << wanted;
    }
    // A last line without a break goes whole, surrogate pair and all.
    EXPECT_EQ(app::sliceEnd(L"ab\r\ncd\xD83D\xDCD6", 4, 1), 8u);
}
