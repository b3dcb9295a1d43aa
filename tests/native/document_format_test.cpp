#include "app/document_format.h"
#include "tests/support/line_list_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

// Slices put in one after another give back the text, and each holds at least what was asked
// for unless the text ran out. Each ends a line, or a word inside a line that runs on well past
// the slice.
TEST(SliceEnd, SlicesEndAtLineOrWordEndsAndTogetherGiveTheText) {
    const std::wstring text =
        L"ab\r\n\xD83D\xDCD6\xD83D\xDCD6\r\n\r\nlong line here\r\nz\r\nwordwithoutspaces\r\n";
    for (std::size_t wanted = 0; wanted <= text.size() + 1; ++wanted) {
        std::wstring joined;
        for (std::size_t from = 0; from < text.size();) {
            const std::size_t end = app::sliceEnd(text, from, wanted);
            ASSERT_GT(end, from) << "wanted " << wanted;
            ASSERT_TRUE(text[end - 1] == L'\n' || text[end - 1] == L' ')
                << "wanted " << wanted << " from " << from;
            ASSERT_TRUE(end == text.size() || end - from >= wanted);
            joined += text.substr(from, end - from);
            from = end;
        }
        EXPECT_EQ(joined, text) << "wanted " << wanted;
    }
    // A last line without a break goes whole, surrogate pair and all.
    EXPECT_EQ(app::sliceEnd(L"ab\r\ncd\xD83D\xDCD6", 4, 1), 8u);
}

TEST(SliceEnd, LinesStayWholeUnlessTheyRunOnWellPastTheSlice) {
    std::wstring shortLines;
    while (shortLines.size() < 600)
        shortLines += std::wstring(58, L'\x0643') + L"\r\n";
    // The line reaching 100 units ends at 120, within a quarter more: whole.
    EXPECT_EQ(app::sliceEnd(shortLines, 0, 100), 120u);
    EXPECT_EQ(app::sliceEnd(shortLines, 120, 100), 240u);

    std::wstring paragraph;
    while (paragraph.size() < 5000)
        paragraph += L"\x0643\x062A\x0628 ";
    paragraph += L"\r\nnext\r\n";
    // After the space that ends the word reaching 1,000 units (words of four units from 0).
    EXPECT_EQ(app::sliceEnd(paragraph, 0, 1000), 1000u);
    EXPECT_EQ(app::sliceEnd(paragraph, 0, 1001), 1004u);
    EXPECT_EQ(app::sliceEnd(paragraph, 4998, 1000), paragraph.size());
    // The paragraph's end comes within a quarter more than the slice: with it.
    EXPECT_EQ(app::sliceEnd(paragraph, 3400, 1500), 5002u);
    // A word without spaces is never cut.
    const std::wstring word = L"x " + std::wstring(3000, L'y') + L"\r\nz";
    EXPECT_EQ(app::sliceEnd(word, 0, 100), 3004u);
}

TEST(NextSliceUnits, GivesTheSliceWhatTheTargetLeavesBesideTheRestOfTheStep) {
    // 10,000 units in 20 ms of a 25 ms step: the slice gets 95 ms, 2.18 times its time.
    EXPECT_EQ(app::nextSliceUnits(10000, 20, 25, 100, 1024), 20000u);
    EXPECT_EQ(app::nextSliceUnits(10000, 95, 100, 100, 1024), 10000u);
    EXPECT_EQ(app::nextSliceUnits(10000, 380, 385, 100, 1024), 5000u);
    // A paint of 30 ms leaves 70 for the slice; one of 200 ms leaves it twice as much as it
    // takes itself.
    EXPECT_EQ(app::nextSliceUnits(10000, 280, 310, 100, 1024), 5000u);
    EXPECT_EQ(app::nextSliceUnits(10000, 1600, 1800, 100, 1024), 5000u);
    // A quick step at most doubles the slice; a slice too quick to time counts as 1 ms.
    EXPECT_EQ(app::nextSliceUnits(10000, 0, 0, 100, 1024), 20000u);
    // A slow slice never shrinks below the least, which may double too.
    EXPECT_EQ(app::nextSliceUnits(2000, 10000, 10000, 100, 1024), 1024u);
    EXPECT_EQ(app::nextSliceUnits(800, 1, 1, 100, 1024), 2048u);
}

// Steps whose slices cost the square of their units, as parts of one long paragraph do, reach
// the target in one step and stay there; slices of short lines, a fixed part and a part per
// unit, come to it from below. A paint that alone takes longer than a third of the target
// leaves each slice twice as long as the paint.
TEST(NextSliceUnits, StepsSettleAtTheTarget) {
    auto settle = [](auto slice, double paint, std::size_t units) {
        std::vector<double> steps;
        for (int step = 0; step < 16; ++step) {
            const double took = slice(units);
            steps.push_back(took + paint);
            units = app::nextSliceUnits(units, took, took + paint, 100, 1024);
        }
        return steps;
    };
    const auto square = [](std::size_t n) { return 5e-5 * double(n) * double(n); };
    const auto lines = [](std::size_t n) { return 8 + 0.0025 * double(n); };
    const auto paragraph = settle(square, 10, 8192);
    EXPECT_NEAR(paragraph[1], 100, 1);
    EXPECT_LT(*std::max_element(paragraph.begin() + 1, paragraph.end()), 101);
    const auto quiet = settle(lines, 10, 1024);
    EXPECT_LT(*std::max_element(quiet.begin(), quiet.end()), 101);
    EXPECT_NEAR(quiet.back(), 100, 3);
    const auto busy = settle(lines, 150, 1024);
    EXPECT_NEAR(busy.back(), 450, 5);
}

TEST(LongestLine, CountsTheUnitsOfTheLongestLineWithoutItsBreak) {
    EXPECT_EQ(app::longestLine(L""), 0u);
    EXPECT_EQ(app::longestLine(L"\r\n\r\n"), 0u);
    EXPECT_EQ(app::longestLine(L"ab\r\nabcd\r\nabc"), 4u);
    // A lone CR or LF ends a line too; the last line needs no break.
    EXPECT_EQ(app::longestLine(L"abcde\rab\nabcdef"), 6u);
}
