#include "controls/word_breaks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ctl;

namespace {

std::vector<std::size_t> wordStarts(std::wstring_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        if (startsWord(text, at))
            starts.push_back(at);
    }
    return starts;
}

using Starts = std::vector<std::size_t>;

} // namespace

TEST(WordBreaks, OnlyASpaceDelimitsWords) {
    // Arabic, Latin and digits alike; a tab, a hyphen or a comma is part of its word.
    EXPECT_EQ(wordStarts(L"\x0643\x062A\x0628 \x0642\x0644\x0645"), (Starts{0, 4}));
    EXPECT_EQ(wordStarts(L"one two"), (Starts{0, 4}));
    EXPECT_EQ(wordStarts(L"a\tb c-d e,f"), (Starts{0, 4, 8}));
    // A run of spaces is one gap; spaces at the start begin no word.
    EXPECT_EQ(wordStarts(L"  ab   cd "), (Starts{2, 7}));
    EXPECT_EQ(wordStarts(L""), Starts{});
    EXPECT_EQ(wordStarts(L"   "), Starts{});
}

TEST(WordBreaks, ALineBreakIsAWordOfItsOwn) {
    // CR LF and CR CR LF are one word each; the word after them starts a word too.
    EXPECT_EQ(wordStarts(L"ab\r\ncd"), (Starts{0, 2, 4}));
    EXPECT_EQ(wordStarts(L"ab \r\r\n cd"), (Starts{0, 3, 7}));
    EXPECT_EQ(wordStarts(L"\r\n\r\n"), (Starts{0, 2}));
    EXPECT_EQ(wordStarts(L"a\n\nb"), (Starts{0, 1, 2, 3}));
}

// From a position: the start of the word before it (Ctrl+Left, and where a wrapped line may
// end) and the next word start from it (Ctrl+Right, asked from one past the caret).
TEST(WordBreaks, LeftAndRightFindTheWordStartsAroundAPosition) {
    struct Case {
        std::wstring_view text;
        std::size_t at, left, right;
    };
    const Case cases[] = {
        // Inside a word; at a word's start; in the spaces after a word.
        {L"ab  cde f", 6, 4, 8},
        {L"ab  cde f", 4, 0, 4},
        {L"ab  cde f", 3, 0, 4},
        {L"ab  cde f", 1, 0, 4},
        // At the end: the last word's start; no word after: the end of the text.
        {L"ab  cde f", 9, 8, 9},
        // From the very start the first word is the one being left; past the end, as at it.
        {L"ab  cde f", 0, 0, 4},
        {L"ab  cde f", 50, 8, 9},
        {L"   ab", 2, 0, 3},
        {L"  ab", 0, 0, 2},
        {L"ab   ", 3, 0, 5},
        {L"", 0, 0, 0},
        // A line break is a stop of its own.
        {L"ab\r\ncd", 4, 2, 4},
        {L"ab\r\ncd", 1, 0, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wordStartBefore(c.text, c.at), c.left) << "from " << c.at;
        EXPECT_EQ(wordStartFrom(c.text, c.at), c.right) << "from " << c.at;
    }
}
