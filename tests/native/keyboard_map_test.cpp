#include "app/keyboard_map.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace app;

namespace {

// A text with a caret and a selection, typed into the way the edit field is: each character
// passes through the map and is inserted in place of the selection; Backspace passes through
// the map too before it deletes.
class Typist final : public TypingTarget {
public:
    std::u16string text;
    std::size_t caret = 0;
    std::size_t selectionEnd = 0;
    std::uint16_t previousKey = 0;

    Typist& type(std::u16string_view keys) {
        for (char16_t key : keys) {
            const char16_t inserted = typeKey(previousKey, key, *this);
            text.replace(caret, selectionEnd - caret, 1, inserted);
            selectionEnd = ++caret;
        }
        return *this;
    }
    Typist& release(std::uint32_t virtualKey) {
        if (releaseEndsCombination(virtualKey))
            previousKey = 0;
        return *this;
    }

    std::optional<char16_t> unitBeforeCaret() override {
        if (caret != selectionEnd || caret == 0)
            return std::nullopt;
        return text[caret - 1];
    }
    void deleteBeforeCaret() override {
        EXPECT_EQ(typeKey(previousKey, 8, *this), 8);
        text.erase(--caret, 1);
        selectionEnd = caret;
        ++backspaces;
    }
    int backspaces = 0;
};

constexpr std::uint32_t kShift = 0x10;
constexpr std::uint32_t kSpace = 0x20;

} // namespace

TEST(KeyboardMap, EverySingleKeyRowGivesItsArabicCharacter) {
    const std::u16string typed =
        u"%'*,;<>?ACDEFGHIJKNOPSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~0123456789";
    const std::u16string expected =
        u"\u066A\u0639\u066D\u060C\u061B\u0654\u0655\u061F"
        u"\u0670\u0636\u0630\u0623\u06A4\u06A0\u0647\u0625\u0686\u062E\u06BD\u0626\u0638"
        u"\u0634\u0629\u0657\u06CF\u0624\u06AC\u0649\u062B\u0640"
        u"\u0627\u0628\u0635\u062F\u064E\u0641\u063A\u062D\u0650\u062C\u0643\u0644\u0645"
        u"\u0646\u0652\u0637\u0642\u0631\u0633\u062A\u064F\u0651\u0648\u0621\u064A\u0632"
        u"\u0653\u0660\u0661\u0662\u0663\u0664\u0665\u0666\u0667\u0668\u0669";
    ASSERT_EQ(typed.size(), expected.size());
    for (std::size_t i = 0; i < typed.size(); ++i)
        EXPECT_EQ(mapKey(typed[i]), expected[i]) << "typed " << char(typed[i]);
    // The table holds these rows, nothing else.
    EXPECT_EQ(keyMappings().size(), typed.size());
}

TEST(KeyboardMap, CharactersWithoutRowsPassUnchanged) {
    for (char16_t c : std::u16string_view(u"&()+-./:=@BLMQR[\\]^`{|}"))
        EXPECT_EQ(mapKey(c), c) << char(c);
    for (char32_t c = 0; c < 0x25; ++c)
        EXPECT_EQ(mapKey(char16_t(c)), char16_t(c));
    for (char32_t c = 0x7F; c <= 0xFFFF; ++c)
        ASSERT_EQ(mapKey(char16_t(c)), char16_t(c)) << std::hex << unsigned(c);
}

TEST(KeyboardMap, RowsCoverOnlyTheMappedRangeOnceEachWithNames) {
    std::set<char16_t> seen;
    for (const KeyMapping& row : keyMappings()) {
        EXPECT_GE(row.typed, 0x25);
        EXPECT_LE(row.typed, 0x7E);
        EXPECT_TRUE(seen.insert(row.typed).second) << "second row for " << char(row.typed);
        EXPECT_TRUE(row.name.starts_with("ARABIC")) << row.name;
        EXPECT_EQ(row.after != 0, row.combined != 0);
        EXPECT_EQ(row.after != 0, !row.combinedName.empty());
    }
}

TEST(KeyboardMap, FiveCombinationsReplaceWhatTheFirstKeyInserted) {
    EXPECT_EQ(Typist().type(u"ee").text, u"\u064B");
    EXPECT_EQ(Typist().type(u"uu").text, u"\u064C");
    EXPECT_EQ(Typist().type(u"ii").text, u"\u064D");
    EXPECT_EQ(Typist().type(u"II").text, u"\u0656");
    EXPECT_EQ(Typist().type(u"a~").text, u"\u0622");
    // Only these pairs combine.
    EXPECT_EQ(Typist().type(u"~").text, u"\u0653");
    EXPECT_EQ(Typist().type(u"e~").text, u"\u064E\u0653");
    EXPECT_EQ(Typist().type(u"aa").text, u"\u0627\u0627");
    EXPECT_EQ(Typist().type(u"ue").text, u"\u064F\u064E");
    EXPECT_FALSE(combinationOf(u'e', u'u').has_value());
}

TEST(KeyboardMap, RepeatingTheSecondKeyRepeatsTheCombinationInPlace) {
    Typist typist;
    typist.type(u"s").type(u"eee");
    EXPECT_EQ(typist.text, u"\u0633\u064B");
    EXPECT_EQ(typist.backspaces, 2);
}

TEST(KeyboardMap, ReleasingAnEditingOrModifierKeyEndsTheCombination) {
    EXPECT_EQ(Typist().type(u"e").release(kSpace).type(u"e").text, u"\u064E\u064E");
    EXPECT_EQ(Typist().type(u"e ").type(u"e").text, u"\u064E \u064E");
    // Shift held for both capitals combines them; released between them it does not.
    EXPECT_EQ(Typist().type(u"I").release('I').type(u"I").release(kShift).text, u"\u0656");
    EXPECT_EQ(Typist().type(u"I").release(kShift).type(u"I").text, u"\u0625\u0625");
    // The tilde typed with Shift after a: only the release of Shift would end it.
    EXPECT_EQ(Typist().type(u"a").release('A').type(u"~").release(0xC0).text, u"\u0622");

    EXPECT_FALSE(releaseEndsCombination(7));
    EXPECT_TRUE(releaseEndsCombination(8));
    EXPECT_TRUE(releaseEndsCombination(47));
    EXPECT_FALSE(releaseEndsCombination(48));
    EXPECT_FALSE(releaseEndsCombination('E'));
}

TEST(KeyboardMap, PreviousKeyHoldsTheCharacterAsTyped) {
    Typist typist;
    typist.type(u"a");
    EXPECT_EQ(typist.previousKey, u'a');
    typist.type(u"\u0645");
    EXPECT_EQ(typist.previousKey, 0x0645);
    typist.type(u"B");
    EXPECT_EQ(typist.previousKey, u'B');
    typist.type(u"7");
    EXPECT_EQ(typist.previousKey, u'7');
    std::uint16_t previous = u'x';
    Typist target;
    EXPECT_EQ(typeKey(previous, 13, target), 13);
    EXPECT_EQ(previous, 13);
    // A combination also leaves the typed key, not the combined character.
    typist.type(u"ee");
    EXPECT_EQ(typist.previousKey, u'e');
}

TEST(KeyboardMap, CombinationNeverDeletesTextItsFirstKeyDidNotInsert) {
    // Between the keys of "ee" the caret or the text changed; the second e deletes nothing.
    const struct {
        const char* what;
        std::u16string_view before;             // typed before the second e
        std::optional<std::u16string> replaced; // the text New or Open put in meanwhile
        std::size_t caret, selectionEnd;
        std::u16string_view expected;
    } cases[] = {
        {"caret moved (a click elsewhere)", u"BRe", {}, 1, 1, u"B\u064ER\u064E"},
        {"text replaced", u"e", u"abc", 3, 3, u"abc\u064E"},
        // At the start of the text nothing can be deleted by mistake: the combination stands.
        {"text cleared", u"e", u"", 0, 0, u"\u064B"},
        // The combined character replaces the selection, nothing else goes.
        {"text selected", u"qre", {}, 0, 1, u"\u064B\u0631\u064E"},
    };
    for (const auto& c : cases) {
        Typist typist;
        typist.type(c.before);
        if (c.replaced)
            typist.text = *c.replaced;
        typist.caret = c.caret;
        typist.selectionEnd = c.selectionEnd;
        typist.type(u"e");
        EXPECT_EQ(typist.text, c.expected) << c.what;
        EXPECT_EQ(typist.backspaces, 0) << c.what;
    }
}
