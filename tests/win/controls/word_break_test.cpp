// The edit field whose words are delimited by spaces, against a field of the platform's default
// rule, made alike and holding the same text: where every line starts, where Ctrl+Left and
// Ctrl+Right put the caret and what a double click selects.

#include "controls/edit.h"
#include "controls/font.h"
#include "controls/word_breaks.h"
#include "support/keys.h"
#include "support/shared_form.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace ctl;
using testing_gui::selection;

namespace {

using Positions = std::vector<int>;

class WordBreakTest : public testing_gui::SharedFormTest {
protected:
    // A wrapping field of the editor's make-up: right aligned, right-to-left reading.
    Control* field(EditOptions extra) {
        Control* edit = newEdit(form(), editopt::kMultiLine | editopt::kNoHorizontalScroll | extra);
        edit->setBounds({4, 4, 4 + 240, 4 + 250});
        edit->font().setFaceName(L"Tahoma");
        edit->font().setHeight(22);
        edit->setTextAlign(TextAlign::Right);
        edit->setExStyle(edit->exStyle() | WS_EX_RTLREADING | WS_EX_RIGHT);
        edit->createWindow();
        return edit;
    }

    void SetUp() override {
        spaces = field(editopt::kSpaceDelimitedWords)->handle();
        platform = field(0)->handle();
    }

    static void setText(HWND edit, const std::wstring& text) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    static Positions lineStarts(HWND edit) {
        Positions starts;
        const auto lines = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
        for (int line = 0; line < lines; ++line)
            starts.push_back(static_cast<int>(SendMessageW(edit, EM_LINEINDEX, line, 0)));
        return starts;
    }

    // Where Ctrl+`key` puts the caret from each of `from`.
    static Positions afterCtrl(HWND edit, WPARAM key, const Positions& from) {
        // Keys reach only the focused field.
        SetFocus(edit);
        testing_gui::KeyHeld control(VK_CONTROL);
        Positions to;
        for (const int at : from) {
            SendMessageW(edit, EM_SETSEL, at, at);
            SendMessageW(edit, WM_KEYDOWN, key, 1);
            SendMessageW(edit, WM_KEYUP, key, 0xC0000001);
            to.push_back(static_cast<int>(selection(edit).second));
        }
        return to;
    }

    // What a double click on unit `at` of the first line selects.
    static std::pair<DWORD, DWORD> doubleClick(HWND edit, int at) {
        const LRESULT left = SendMessageW(edit, EM_POSFROMCHAR, at, 0);
        const LRESULT right = SendMessageW(edit, EM_POSFROMCHAR, at + 1, 0);
        const LPARAM point = MAKELPARAM((LOWORD(left) + LOWORD(right)) / 2, HIWORD(left) + 4);
        SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(edit, WM_LBUTTONUP, 0, point);
        SendMessageW(edit, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
        SendMessageW(edit, WM_LBUTTONUP, 0, point);
        return selection(edit);
    }

    // Both fields given `text`: the line starts and the caret after Ctrl+Right and Ctrl+Left
    // from every `step`th position, by the two rules.
    struct Seen {
        Positions starts, right, left;
    };
    std::pair<Seen, Seen> compare(const std::wstring& text, int step = 1) {
        Positions from;
        for (int at = 0; at <= static_cast<int>(text.size()); at += step)
            from.push_back(at);
        auto seen = [&](HWND edit) {
            setText(edit, text);
            return Seen{lineStarts(edit), afterCtrl(edit, VK_RIGHT, from),
                        afterCtrl(edit, VK_LEFT, from)};
        };
        return {seen(spaces), seen(platform)};
    }

    HWND spaces = nullptr;
    HWND platform = nullptr;
};

// The words in turn, each followed by a space, until the text holds `units`.
std::wstring repeated(std::initializer_list<std::wstring> words, std::size_t units) {
    std::wstring text;
    for (std::size_t i = 0; text.size() < units; ++i)
        text += std::data(words)[i % words.size()] + L" ";
    return text;
}

const std::wstring kArabic[] = {L"\x0627\x0644\x0633\x0644\x0627\x0645",
                                L"\x0639\x0644\x064A\x0643\x0645",
                                L"\x0648\x0631\x062D\x0645\x0629", L"\x0627\x0644\x0644\x0647"};

// Every line after the first starts a word, unless the line before it was broken by the
// field's width alone: it starts inside a word, or holds one word too long for the field.
void expectLinesStartWords(const std::wstring& text, const Positions& starts) {
    for (std::size_t line = 1; line < starts.size(); ++line) {
        const auto at = static_cast<std::size_t>(starts[line]);
        const auto before = static_cast<std::size_t>(starts[line - 1]);
        const bool broken = !startsWord(text, before) || wordStartBefore(text, at) <= before;
        EXPECT_TRUE(startsWord(text, at) || broken) << "line " << line << " starts at " << at;
    }
}

} // namespace

TEST_F(WordBreakTest, ArabicLatinAndMixedLinesBreakAndMoveAsThePlatformsDefault) {
    const std::wstring arabic = repeated({kArabic[0], kArabic[1], kArabic[2], kArabic[3]}, 300);
    const std::wstring latin = repeated({L"peace", L"be", L"upon", L"you", L"and", L"mercy"}, 300);
    const std::wstring mixed =
        repeated({kArabic[0], L"Dawatik", kArabic[1], L"1.4", L"\x0661\x0662\x0663", L"(note)",
                  kArabic[2] + L"\x060C", L"end."},
                 300);
    for (const std::wstring& words : {arabic, latin, mixed}) {
        const std::wstring text = words + L"\r\n" + words.substr(0, 100) + L"\r\n\r\nlast";
        const auto [mine, theirs] = compare(text);
        EXPECT_GT(mine.starts.size(), 10u);
        EXPECT_EQ(mine.starts, theirs.starts);
        EXPECT_EQ(mine.right, theirs.right);
        EXPECT_EQ(mine.left, theirs.left);
        expectLinesStartWords(text, mine.starts);
    }
}

TEST_F(WordBreakTest, RunsOfSpacesAndAVeryLongLineBreakAndMoveAsThePlatformsDefault) {
    // Gaps of one to seven spaces, also at the ends of lines; a line of thousands of units.
    std::wstring gaps;
    for (std::size_t i = 0; gaps.size() < 300; ++i)
        gaps +=
            kArabic[i % 4] + std::wstring(1 + i % 7, L' ') + L"word" + std::wstring(i % 3, L' ');
    const std::wstring veryLong = repeated({kArabic[0], L"and", kArabic[3], kArabic[1]}, 3000);
    for (const auto& [text, step] : {std::pair{gaps, 1}, std::pair{veryLong, 37}}) {
        const auto [mine, theirs] = compare(text, step);
        EXPECT_EQ(mine.starts, theirs.starts);
        EXPECT_EQ(mine.right, theirs.right);
        EXPECT_EQ(mine.left, theirs.left);
        expectLinesStartWords(text, mine.starts);
    }
}

TEST_F(WordBreakTest, AWordLongerThanTheFieldIsBrokenByTheWidthAlone) {
    const std::wstring text =
        L"short " + std::wstring(70, L'm') + L" after " + std::wstring(60, L'\x0644') + L" end";
    const auto [mine, theirs] = compare(text);
    EXPECT_GE(mine.starts.size(), 5u);
    EXPECT_EQ(mine.starts, theirs.starts);
    EXPECT_EQ(mine.right, theirs.right);
    expectLinesStartWords(text, mine.starts);
    // The field gives the procedure one line at a time: inside the part of a word that a
    // width break put on a line of its own, Ctrl+Left finds that line's start, where the
    // default rule, which reads the whole text, finds the word's.
    int differences = 0;
    for (std::size_t at = 0; at < mine.left.size(); ++at) {
        if (mine.left[at] == theirs.left[at])
            continue;
        ++differences;
        const auto stop = static_cast<std::size_t>(mine.left[at]);
        EXPECT_TRUE(std::find(mine.starts.begin(), mine.starts.end(), mine.left[at]) !=
                        mine.starts.end() &&
                    !startsWord(text, stop))
            << "from " << at << " to " << stop;
        EXPECT_EQ(theirs.left[at], static_cast<int>(wordStartBefore(text, stop + 1)));
    }
    EXPECT_GT(differences, 0);
}

TEST_F(WordBreakTest, TabsAndHyphensStayInsideTheirWords) {
    // The platform's default rule breaks after a tab and after a hyphen; delimited by spaces,
    // both belong to their word: lines do not end there and the caret does not stop there.
    const std::wstring text =
        repeated({L"one\ttwo", L"three-four", L"\x0643\x062A\x0628\t\x0642"}, 400);
    const auto [mine, theirs] = compare(text);
    expectLinesStartWords(text, mine.starts);
    EXPECT_NE(mine.starts, theirs.starts);
    auto stopsAtWords = [&text](int at) {
        return at == static_cast<int>(text.size()) ||
               startsWord(text, static_cast<std::size_t>(at));
    };
    EXPECT_TRUE(std::all_of(mine.right.begin(), mine.right.end(), stopsAtWords));
    EXPECT_TRUE(std::all_of(mine.left.begin(), mine.left.end(), stopsAtWords));
    EXPECT_FALSE(std::all_of(theirs.right.begin(), theirs.right.end(), stopsAtWords));
    EXPECT_FALSE(std::all_of(theirs.left.begin(), theirs.left.end(), stopsAtWords));
}

TEST_F(WordBreakTest, DoubleClickSelectsTheWordAndTheSpacesAfterIt) {
    const std::wstring text = L"alpha beta-gamma  delta";
    setText(spaces, text);
    setText(platform, text);
    // Inside "alpha", and in the second half of "beta-gamma".
    EXPECT_EQ(doubleClick(spaces, 2), std::make_pair(DWORD{0}, DWORD{6}));
    EXPECT_EQ(doubleClick(platform, 2), std::make_pair(DWORD{0}, DWORD{6}));
    EXPECT_EQ(doubleClick(spaces, 13), std::make_pair(DWORD{6}, DWORD{18}));
    EXPECT_EQ(doubleClick(platform, 13), std::make_pair(DWORD{11}, DWORD{18}));
}
