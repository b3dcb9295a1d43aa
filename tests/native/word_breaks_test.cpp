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

TEST(WordBreaks, LeftFindsTheStartOfTheWordBeforeThePosition) {
    const std::wstring_view text = L"ab  cde f";
    // Inside a word: its start; at a word's start or in the spaces after a word: that word's.
    EXPECT_EQ(wordStartBefore(text, 6), 4u);
    EXPECT_EQ(wordStartBefore(text, 4), 0u);
    EXPECT_EQ(wordStartBefore(text, 3), 0u);
    EXPECT_EQ(wordStartBefore(text, 9), 8u);
    // Nothing before: the start; past the end: as at the end.
    EXPECT_EQ(wordStartBefore(text, 0), 0u);
    EXPECT_EQ(wordStartBefore(L"   ab", 2), 0u);
    EXPECT_EQ(wordStartBefore(text, 50), 8u);
    // A line break is a stop of its own.
    EXPECT_EQ(wordStartBefore(L"ab\r\ncd", 4), 2u);
}

TEST(WordBreaks, RightFindsTheNextWordStartButNeverTheVeryStart) {
    const std::wstring_view text = L"ab  cde f";
    EXPECT_EQ(wordStartFrom(text, 1), 4u);
    EXPECT_EQ(wordStartFrom(text, 3), 4u);
    // At a word's start that word is found: the field asks from one past the caret.
    EXPECT_EQ(wordStartFrom(text, 4), 4u);
    EXPECT_EQ(wordStartFrom(text, 5), 8u);
    // From the start, the first word is the one being left.
    EXPECT_EQ(wordStartFrom(text, 0), 4u);
    EXPECT_EQ(wordStartFrom(L"  ab", 0), 2u);
    // No word after: the end of the text.
    EXPECT_EQ(wordStartFrom(text, 9), 9u);
    EXPECT_EQ(wordStartFrom(L"ab   ", 3), 5u);
    EXPECT_EQ(wordStartFrom(L"", 0), 0u);
    EXPECT_EQ(wordStartFrom(L"ab\r\ncd", 1), 2u);
}
