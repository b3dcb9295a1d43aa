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

    return "<h3>Letters and signs</h3>\n" + letters + "</table>\n" +
           "<h3>Digits</h3>\n<p>The digit keys give Arabic-Indic digits.</p>\n" + digits +
           "</table>\n" +
           "<h3>Combinations</h3>\n<p>Typed right after the first key, the second key replaces "
           "the character the first one gave.</p>\n" +
           combinations + "</table>\n" +
           "<h3>Characters that pass unchanged</h3>\n<p>These keys, Space, and every character "
           "typed with another keyboard layout are entered as they are:</p>\n" +
           unchanged;
}

std::optional<std::string> fillTemplate(std::string_view manualTemplate, std::string_view tables) {
    const std::size_t at = manualTemplate.find(kKeyboardMapMarker);
    if (at == std::string_view::npos ||
        manualTemplate.find(kKeyboardMapMarker, at + 1) != std::string_view::npos)
        return std::nullopt;
    std::string filled(manualTemplate.substr(0, at));
    filled += tables;
    filled += manualTemplate.substr(at + kKeyboardMapMarker.size());
    return filled;
}

} // namespace manual
