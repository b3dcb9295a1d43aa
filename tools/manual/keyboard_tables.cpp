#include "tools/manual/keyboard_tables.h"

#include <cstdio>

namespace manual {

namespace {

std::string codePoint(char16_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(unit));
    return text;
}

std::string reference(char16_t unit) {
    char text[12];
    std::snprintf(text, sizeof text, "&#x%04X;", static_cast<unsigned>(unit));
    return text;
}

// Vowel signs, tanween, shadda, sukun, hamza and madda above or below, superscript alef: they
// sit on the letter before them, so the table shows them on a dotted circle.
bool isCombiningMark(char16_t unit) {
    return (unit >= 0x064B && unit <= 0x065F) || unit == 0x0670;
}

std::string glyph(char16_t unit) {
    return (isCombiningMark(unit) ? reference(0x25CC) : std::string()) + reference(unit);
}

std::string key(char16_t typed) {
    return "<kbd>" + escapeHtml(std::string(1, static_cast<char>(typed))) + "</kbd>";
}

bool isDigit(char16_t typed) {
    return typed >= u'0' && typed <= u'9';
}

// One row: the key cells, then the character it gives with its code point and name.
std::string row(const std::string& keys, char16_t result, std::string_view name) {
    return "  <tr>" + keys + "<td class=\"glyph\" lang=\"ar\">" + glyph(result) + "</td><td>" +
           codePoint(result) + "</td><td>" + escapeHtml(name) + "</td></tr>\n";
}

std::string tableStart(std::string_view id, std::string_view keyHeadings) {
    return "<table class=\"map\" id=\"" + std::string(id) + "\">\n  <tr>" +
           std::string(keyHeadings) +
           "<th>Arabic</th><th>Code point</th><th>Unicode name</th></tr>\n";
}

// A row of a US keyboard: its character keys left to right, without and with Shift, between the
// named keys at its ends. Widths are in key widths, so that every row comes to 15.
struct KeyboardRow {
    std::string_view plain;
    std::string_view shifted;
    std::string_view first;
    std::string_view firstWidth;
    std::string_view last;
    std::string_view lastWidth;
};

constexpr KeyboardRow kKeyboard[] = {
    {"`1234567890-=", "~!@#$%^&*()_+", "", "", "Backspace", "2"},
    {"qwertyuiop[]\\", "QWERTYUIOP{}|", "Tab", "1.5", "", ""},
    {"asdfghjkl;'", "ASDFGHJKL:\"", "Caps Lock", "1.75", "Enter", "2.25"},
    {"zxcvbnm,./", "ZXCVBNM<>?", "Shift", "2.25", "Shift", "2.75"},
};

// The last character key of the row with a Tab is wider, as on the keyboard.
constexpr std::string_view kBackslashWidth = "1.5";

std::string namedKey(std::string_view name, std::string_view width) {
    return "<div class=\"kb-key kb-named\" style=\"flex-grow:" + std::string(width) +
           "\"><span class=\"kb-name\">" + std::string(name) + "</span></div>";
}

// What one layer of a key shows: the Latin character, what typing it gives (the character
// itself, greyed, where the map leaves it alone) and the combination it completes.
struct Layer {
    std::string latin;
    std::string result;
    std::string combination;
};

Layer layer(char typed, const app::KeyMapping* m, std::string_view level) {
    const std::string latin = escapeHtml(std::string(1, typed));
    Layer out;
    out.latin = "<span class=\"kb-lat kb-" + std::string(level) + "\">" + latin + "</span>";
    if (m == nullptr) {
        out.result =
            "<span class=\"kb-ar kb-" + std::string(level) + " kb-same\">" + latin + "</span>";
        return out;
    }
    out.result = "<span class=\"kb-ar kb-" + std::string(level) + "\" lang=\"ar\">" +
                 glyph(m->replacement) + "</span>";
    if (m->after != 0) {
        out.combination = "<span class=\"kb-combo kb-" + std::string(level) + "\">" +
                          escapeHtml(std::string(1, static_cast<char>(m->after))) + " " + latin +
                          " &#x2192; <b lang=\"ar\">" + glyph(m->combined) + "</b></span>";
    }
    return out;
}

std::string characterKey(char plain, char shifted, std::span<const app::KeyMapping> mappings,
                         std::string_view width) {
    auto rowOf = [&](char typed) -> const app::KeyMapping* {
        for (const app::KeyMapping& m : mappings) {
            if (m.typed == static_cast<unsigned char>(typed))
                return &m;
        }
        return nullptr;
    };
    const Layer low = layer(plain, rowOf(plain), "plain");
    const Layer high = layer(shifted, rowOf(shifted), "shift");
    const bool combines = !low.combination.empty() || !high.combination.empty();
    std::string key = combines ? "<div class=\"kb-key kb-combines\"" : "<div class=\"kb-key\"";
    if (!width.empty())
        key += " style=\"flex-grow:" + std::string(width) + "\"";
    return key + ">" + high.latin + high.result + low.latin + low.result + high.combination +
           low.combination + "</div>";
}

// The keyboard drawn in HTML, each key with the Latin characters and the Arabic they type.
std::string keyboardPicture(std::span<const app::KeyMapping> mappings) {
    std::string picture = "<div class=\"kb\" id=\"map-keyboard\">\n";
    for (const KeyboardRow& row : kKeyboard) {
        picture += "  <div class=\"kb-row\">";
        if (!row.first.empty())
            picture += namedKey(row.first, row.firstWidth);
        for (std::size_t i = 0; i < row.plain.size(); ++i) {
            const bool widened = row.last.empty() && i + 1 == row.plain.size();
            picture += "\n    " + characterKey(row.plain[i], row.shifted[i], mappings,
                                               widened ? kBackslashWidth : "");
        }
        if (!row.last.empty())
            picture += "\n    " + namedKey(row.last, row.lastWidth);
        picture += "\n  </div>\n";
    }
    picture += "  <div class=\"kb-row\"><div class=\"kb-gap\"></div>" + namedKey("Space", "6.25") +
               "<div class=\"kb-gap\"></div></div>\n</div>\n";
    return picture;
}

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string keyboardMapHtml(std::span<const app::KeyMapping> mappings) {
    std::string letters = tableStart("map-letters", "<th>Key</th>");
    std::string digits = tableStart("map-digits", "<th>Key</th>");
    std::string combinations =
        tableStart("map-combinations", "<th>First key</th><th>Then key</th>");
    for (const app::KeyMapping& m : mappings) {
        const std::string cell = "<td class=\"key\">" + key(m.typed) + "</td>";
        (isDigit(m.typed) ? digits : letters) += row(cell, m.replacement, m.name);
        if (m.after != 0) {
            combinations += row("<td class=\"key\">" + key(m.after) + "</td>" + cell, m.combined,
                                m.combinedName);
        }
    }

    std::string unchanged = "<p id=\"map-unchanged\">";
    for (char16_t c = u'!'; c <= u'~'; ++c) {
        const bool mapped = app::mapKey(c) != c;
        if (!mapped)
            unchanged += key(c) + " ";
    }
    unchanged += "</p>\n";

    return "<h3>On the keyboard</h3>\n<p>Each key shows above what it types with "
           "<kbd>Shift</kbd> and below what it types without; on the left the Latin character, "
           "on the right the Arabic one. Grey characters pass unchanged. A green band names a "
           "combination: the two keys, and the character they give together.</p>\n" +
           keyboardPicture(mappings) + "<h3>Letters and signs</h3>\n" + letters + "</table>\n" +
           "<h3>Digits</h3>\n<p>The digit keys give Arabic-Indic digits.</p>\n" + digits +
           "</table>\n" +
           "<h3>Combinations</h3>\n<p>Typed right after the first key, the second key replaces "
           "the character the first one gave.</p>\n" +
           combinations + "</table>\n" +
           "<h3>Characters that pass unchanged</h3>\n<p>These keys, Space, and every character "
           "typed with another keyboard layout are entered as they are:</p>\n" +
           unchanged;
}

std::optional<std::string> fillTemplate(std::string_view manualTemplate, std::string_view tables,
                                        std::string_view version) {
    const std::size_t at = manualTemplate.find(kKeyboardMapMarker);
    if (at == std::string_view::npos ||
        manualTemplate.find(kKeyboardMapMarker, at + 1) != std::string_view::npos)
        return std::nullopt;
    // The version goes into the template's own text only: nothing the tables hold is a marker.
    const auto withVersion = [version](std::string_view text) {
        std::string out;
        for (std::size_t from = 0;;) {
            const std::size_t next = text.find(kVersionMarker, from);
            out += text.substr(from, next - from);
            if (next == std::string_view::npos)
                return out;
            out += version;
            from = next + kVersionMarker.size();
        }
    };
    return withVersion(manualTemplate.substr(0, at)) + std::string(tables) +
           withVersion(manualTemplate.substr(at + kKeyboardMapMarker.size()));
}

} // namespace manual
