#include "tools/manual/keyboard_tables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// The text of an HTML fragment with its character references resolved to UTF-16 code units.
// A raw <, >, " or an & that starts no known reference means the generator forgot to escape.
std::u16string decode(const std::string& html) {
    std::u16string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        EXPECT_TRUE(c != '<' && c != '>' && c != '"') << "unescaped in: " << html;
        if (c != '&') {
            text += static_cast<char16_t>(c);
            continue;
        }
        const std::size_t end = html.find(';', i);
        EXPECT_NE(end, std::string::npos) << html;
        const std::string name = html.substr(i + 1, end - i - 1);
        static const std::map<std::string, char16_t> named = {
            {"lt", u'<'}, {"gt", u'>'}, {"amp", u'&'}, {"quot", u'"'}, {"#39", u'\''}};
        if (name.size() > 2 && name.substr(0, 2) == "#x")
            text += static_cast<char16_t>(std::stoul(name.substr(2), nullptr, 16));
        else if (named.contains(name))
            text += named.at(name);
        else
            ADD_FAILURE() << "unknown reference &" << name << ";";
        i = end;
    }
    return text;
}

// Drops the inline tags (kbd) of a cell.
std::string withoutTags(const std::string& html) {
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (!inTag)
            text += c;
    }
    return text;
}

// The decoded cells of every data row of the table with that id.
std::vector<std::vector<std::u16string>> tableRows(const std::string& html, const std::string& id) {
    const std::size_t start = html.find("<table class=\"map\" id=\"" + id + "\">");
    EXPECT_NE(start, std::string::npos) << id;
    const std::size_t end = html.find("</table>", start);
    std::vector<std::vector<std::u16string>> rows;
    for (std::size_t row = html.find("<tr>", start); row < end; row = html.find("<tr>", row + 1)) {
        std::vector<std::u16string> cells;
        const std::size_t rowEnd = html.find("</tr>", row);
        for (std::size_t cell = html.find("<td", row); cell < rowEnd;
             cell = html.find("<td", cell + 1)) {
            const std::size_t open = html.find('>', cell) + 1;
            cells.push_back(
                decode(withoutTags(html.substr(open, html.find("</td>", open) - open))));
        }
        if (!cells.empty())
            rows.push_back(cells);
    }
    return rows;
}

std::u16string ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string codePoint(char16_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(unit));
    return ascii(text);
}

// The glyph cell shows a combining mark on a dotted circle.
std::u16string glyphOf(const std::u16string& cell) {
    return cell.size() == 2 && cell[0] == u'\u25CC' ? cell.substr(1) : cell;
}

} // namespace

TEST(Manual, KeyboardTablesHoldEveryRowOfTheMapEscaped) {
    const std::string html = manual::keyboardMapHtml(app::keyMappings());
    for (char c : html)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80u); // references only: any encoding reads it

    using Row = std::vector<std::u16string>;
    std::set<Row> singles, combinations;
    for (const Row& row : tableRows(html, "map-letters"))
        singles.insert({row[0], glyphOf(row[1]), row[2], row[3]});
    for (const Row& row : tableRows(html, "map-digits")) {
        EXPECT_TRUE(row[0][0] >= u'0' && row[0][0] <= u'9');
        singles.insert({row[0], glyphOf(row[1]), row[2], row[3]});
    }
    for (const Row& row : tableRows(html, "map-combinations"))
        combinations.insert({row[0], row[1], glyphOf(row[2]), row[3], row[4]});

    std::set<Row> expectedSingles, expectedCombinations;
    for (const app::KeyMapping& m : app::keyMappings()) {
        expectedSingles.insert({std::u16string(1, m.typed), std::u16string(1, m.replacement),
                                codePoint(m.replacement), ascii(m.name)});
        if (m.after)
            expectedCombinations.insert({std::u16string(1, m.after), std::u16string(1, m.typed),
                                         std::u16string(1, m.combined), codePoint(m.combined),
                                         ascii(m.combinedName)});
    }
    EXPECT_EQ(singles, expectedSingles);
    EXPECT_EQ(tableRows(html, "map-digits").size(), 10u);
    EXPECT_EQ(combinations, expectedCombinations);
    EXPECT_EQ(combinations.size(), 5u);

    // The printable ASCII keys are either in the tables or listed as passing unchanged.
    const std::size_t at = html.find("<p id=\"map-unchanged\">");
    ASSERT_NE(at, std::string::npos);
    const std::string list = html.substr(at, html.find("</p>", at) - at);
    std::set<char16_t> unchanged;
    for (std::size_t k = list.find("<kbd>"); k != std::string::npos;
         k = list.find("<kbd>", k + 1)) {
        const std::u16string key = decode(list.substr(k + 5, list.find("</kbd>", k) - k - 5));
        ASSERT_EQ(key.size(), 1u);
        unchanged.insert(key[0]);
    }
    std::set<char16_t> mapped;
    for (const app::KeyMapping& m : app::keyMappings())
        mapped.insert(m.typed);
    for (char16_t c = u'!'; c <= u'~'; ++c)
        EXPECT_NE(mapped.contains(c), unchanged.contains(c)) << static_cast<char>(c);
}

TEST(Manual, TemplateNeedsExactlyOneMarker) {
    EXPECT_EQ(manual::fillTemplate("<p>@KEYBOARD_MAP@</p>", "T&amp;"), "<p>T&amp;</p>");
    EXPECT_EQ(manual::fillTemplate("<p></p>", "T"), std::nullopt);
    EXPECT_EQ(manual::fillTemplate("@KEYBOARD_MAP@@KEYBOARD_MAP@", "T"), std::nullopt);
}
