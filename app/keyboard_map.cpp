#include "app/keyboard_map.h"

#include <array>

namespace app {

namespace {

constexpr KeyMapping key(char16_t typed, char16_t replacement, std::string_view name) {
    return {typed, replacement, name, 0, 0, {}};
}

// A key that, typed right after `after`, replaces what `after` inserted by `combined`.
constexpr KeyMapping key(char16_t typed, char16_t replacement, std::string_view name,
                         char16_t after, char16_t combined, std::string_view combinedName) {
    return {typed, replacement, name, after, combined, combinedName};
}

constexpr KeyMapping kRows[] = {
    key(u'%', u'\u066A', "ARABIC PERCENT SIGN"),
    key(u'\'', u'\u0639', "ARABIC LETTER AIN"),
    key(u'*', u'\u066D', "ARABIC FIVE POINTED STAR"),
    key(u',', u'\u060C', "ARABIC COMMA"),
    key(u'0', u'\u0660', "ARABIC-INDIC DIGIT ZERO"),
    key(u'1', u'\u0661', "ARABIC-INDIC DIGIT ONE"),
    key(u'2', u'\u0662', "ARABIC-INDIC DIGIT TWO"),
    key(u'3', u'\u0663', "ARABIC-INDIC DIGIT THREE"),
    key(u'4', u'\u0664', "ARABIC-INDIC DIGIT FOUR"),
    key(u'5', u'\u0665', "ARABIC-INDIC DIGIT FIVE"),
    key(u'6', u'\u0666', "ARABIC-INDIC DIGIT SIX"),
    key(u'7', u'\u0667', "ARABIC-INDIC DIGIT SEVEN"),
    key(u'8', u'\u0668', "ARABIC-INDIC DIGIT EIGHT"),
    key(u'9', u'\u0669', "ARABIC-INDIC DIGIT NINE"),
    key(u';', u'\u061B', "ARABIC SEMICOLON"),
    key(u'<', u'\u0654', "ARABIC HAMZA ABOVE"),
    key(u'>', u'\u0655', "ARABIC HAMZA BELOW"),
    key(u'?', u'\u061F', "ARABIC QUESTION MARK"),
    key(u'A', u'\u0670', "ARABIC LETTER SUPERSCRIPT ALEF"),
    key(u'C', u'\u0636', "ARABIC LETTER DAD"),
    key(u'D', u'\u0630', "ARABIC LETTER THAL"),
    key(u'E', u'\u0623', "ARABIC LETTER ALEF WITH HAMZA ABOVE"),
    key(u'F', u'\u06A4', "ARABIC LETTER VEH"),
    key(u'G', u'\u06A0', "ARABIC LETTER AIN WITH THREE DOTS ABOVE"),
    key(u'H', u'\u0647', "ARABIC LETTER HEH"),
    key(u'I', u'\u0625', "ARABIC LETTER ALEF WITH HAMZA BELOW", u'I', u'\u0656',
        "ARABIC SUBSCRIPT ALEF"),
    key(u'J', u'\u0686', "ARABIC LETTER TCHEH"),
    key(u'K', u'\u062E', "ARABIC LETTER KHAH"),
    key(u'N', u'\u06BD', "ARABIC LETTER NOON WITH THREE DOTS ABOVE"),
    key(u'O', u'\u0626', "ARABIC LETTER YEH WITH HAMZA ABOVE"),
    key(u'P', u'\u0638', "ARABIC LETTER ZAH"),
    key(u'S', u'\u0634', "ARABIC LETTER SHEEN"),
    key(u'T', u'\u0629', "ARABIC LETTER TEH MARBUTA"),
    key(u'U', u'\u0657', "ARABIC INVERTED DAMMA"),
    key(u'V', u'\u06CF', "ARABIC LETTER WAW WITH DOT ABOVE"),
    key(u'W', u'\u0624', "ARABIC LETTER WAW WITH HAMZA ABOVE"),
    key(u'X', u'\u06AC', "ARABIC LETTER KAF WITH DOT ABOVE"),
    key(u'Y', u'\u0649', "ARABIC LETTER ALEF MAKSURA"),
    key(u'Z', u'\u062B', "ARABIC LETTER THEH"),
    key(u'_', u'\u0640', "ARABIC TATWEEL"),
    key(u'a', u'\u0627', "ARABIC LETTER ALEF"),
    key(u'b', u'\u0628', "ARABIC LETTER BEH"),
    key(u'c', u'\u0635', "ARABIC LETTER SAD"),
    key(u'd', u'\u062F', "ARABIC LETTER DAL"),
    key(u'e', u'\u064E', "ARABIC FATHA", u'e', u'\u064B', "ARABIC FATHATAN"),
    key(u'f', u'\u0641', "ARABIC LETTER FEH"),
    key(u'g', u'\u063A', "ARABIC LETTER GHAIN"),
    key(u'h', u'\u062D', "ARABIC LETTER HAH"),
    key(u'i', u'\u0650', "ARABIC KASRA", u'i', u'\u064D', "ARABIC KASRATAN"),
    key(u'j', u'\u062C', "ARABIC LETTER JEEM"),
    key(u'k', u'\u0643', "ARABIC LETTER KAF"),
    key(u'l', u'\u0644', "ARABIC LETTER LAM"),
    key(u'm', u'\u0645', "ARABIC LETTER MEEM"),
    key(u'n', u'\u0646', "ARABIC LETTER NOON"),
    key(u'o', u'\u0652', "ARABIC SUKUN"),
    key(u'p', u'\u0637', "ARABIC LETTER TAH"),
    key(u'q', u'\u0642', "ARABIC LETTER QAF"),
    key(u'r', u'\u0631', "ARABIC LETTER REH"),
    key(u's', u'\u0633', "ARABIC LETTER SEEN"),
    key(u't', u'\u062A', "ARABIC LETTER TEH"),
    key(u'u', u'\u064F', "ARABIC DAMMA", u'u', u'\u064C', "ARABIC DAMMATAN"),
    key(u'v', u'\u0651', "ARABIC SHADDA"),
    key(u'w', u'\u0648', "ARABIC LETTER WAW"),
    key(u'x', u'\u0621', "ARABIC LETTER HAMZA"),
    key(u'y', u'\u064A', "ARABIC LETTER YEH"),
    key(u'z', u'\u0632', "ARABIC LETTER ZAIN"),
    key(u'~', u'\u0653', "ARABIC MADDAH ABOVE", u'a', u'\u0622',
        "ARABIC LETTER ALEF WITH MADDA ABOVE"),
};

// Only typed characters below this have rows.
constexpr char16_t kLimit = 0x80;

// Row number + 1 for every typed character below kLimit; 0 where there is no row.
constexpr std::array<std::uint8_t, kLimit> kRowOf = [] {
    std::array<std::uint8_t, kLimit> index{};
    for (std::size_t row = 0; row < std::size(kRows); ++row)
        index[kRows[row].typed] = static_cast<std::uint8_t>(row + 1);
    return index;
}();

const KeyMapping* rowOf(char16_t typed) noexcept {
    if (typed >= kLimit || kRowOf[typed] == 0)
        return nullptr;
    return &kRows[kRowOf[typed] - 1];
}

} // namespace

std::span<const KeyMapping> keyMappings() noexcept {
    return kRows;
}

char16_t mapKey(char16_t typed) noexcept {
    const KeyMapping* row = rowOf(typed);
    return row ? row->replacement : typed;
}

std::optional<Combination> combinationOf(char16_t previous, char16_t typed) noexcept {
    const KeyMapping* row = rowOf(typed);
    if (!row || row->after == 0 || row->after != previous)
        return std::nullopt;
    return Combination{mapKey(previous), row->combined};
}

char16_t typeKey(std::uint16_t& previousKey, char16_t typed, TypingTarget& target) {
    char16_t result = mapKey(typed);
    if (const auto combination = combinationOf(static_cast<char16_t>(previousKey), typed)) {
        const std::optional<char16_t> before = target.unitBeforeCaret();
        if (!before) {
            result = combination->result;
        } else if (combination->follows(*before)) {
            // Backspace is itself a typed character and passes through here: it sets the
            // previous key to 8 until the line below restores the key just typed.
            target.deleteBeforeCaret();
            result = combination->result;
        }
    }
    previousKey = typed;
    return result;
}

} // namespace app
