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

namespace {

// One layer of a key on the keyboard drawing: its Latin label, the Arabic shown for it (or the
// character shown as passing unchanged) and the text of its combination band.
struct DrawnLayer {
    std::u16string result;
    bool unchanged = false;
    std::u16string combination;
    char16_t otherLayer = 0; // the Latin label of the key's other layer
};

// Every Latin label of the keyboard drawing with what its key shows for it.
std::map<char16_t, DrawnLayer> drawnKeys(const std::string& html) {
    const std::size_t start = html.find("<div class=\"kb\" id=\"map-keyboard\">");
    EXPECT_NE(start, std::string::npos);
    const std::size_t end = html.find("<h3>", start);
    std::map<char16_t, DrawnLayer> keys;
    for (std::size_t key = html.find("<div class=\"kb-key", start); key < end;
         key = html.find("<div class=\"kb-key", key + 1)) {
        const std::string body = html.substr(key, html.find("</div>", key) - key);
        std::map<std::string, std::u16string> spans; // by class
        for (std::size_t at = body.find("<span class=\""); at != std::string::npos;
             at = body.find("<span class=\"", at + 1)) {
            const std::size_t name = at + 13;
            const std::size_t open = body.find('>', at) + 1;
            const std::string cls = body.substr(name, body.find('"', name) - name);
            EXPECT_FALSE(spans.contains(cls)) << cls << " twice in " << body;
            spans[cls] = decode(withoutTags(body.substr(open, body.find("</span>", open) - open)));
        }
        if (spans.contains("kb-name"))
            continue;
        const std::u16string plain = spans["kb-lat kb-plain"], shift = spans["kb-lat kb-shift"];
        EXPECT_EQ(plain.size(), 1u) << body;
        EXPECT_EQ(shift.size(), 1u) << body;
        if (plain.size() != 1 || shift.size() != 1)
            continue;
        for (const std::string level : {"plain", "shift"}) {
            const char16_t latin = level == "plain" ? plain[0] : shift[0];
            EXPECT_FALSE(keys.contains(latin)) << static_cast<char>(latin) << " drawn twice";
            DrawnLayer& drawn = keys[latin];
            drawn.otherLayer = level == "plain" ? shift[0] : plain[0];
            const std::string mapped = "kb-ar kb-" + level, same = mapped + " kb-same";
            EXPECT_NE(spans.contains(mapped), spans.contains(same)) << body;
            drawn.unchanged = spans.contains(same);
            drawn.result = spans[drawn.unchanged ? same : mapped];
            if (spans.contains("kb-combo kb-" + level))
                drawn.combination = spans["kb-combo kb-" + level];
        }
    }
    return keys;
}

// Marks that sit on the letter before them: alone they are drawn on a dotted circle.
bool isCombiningMark(char16_t unit) {
    return (unit >= 0x064B && unit <= 0x065F) || unit == 0x0670;
}

} // namespace

TEST(Manual, KeyboardDrawingShowsEveryKeyOfTheMapOnItsLayer) {
    const std::map<char16_t, DrawnLayer> keys =
        drawnKeys(manual::keyboardMapHtml(app::keyMappings()));

    // A US keyboard: every printable ASCII character once, the letters with their capitals.
    ASSERT_EQ(keys.size(), 94u);
    for (char16_t c = u'!'; c <= u'~'; ++c)
        EXPECT_TRUE(keys.contains(c)) << static_cast<char>(c);
    for (char16_t c = u'a'; c <= u'z'; ++c)
        EXPECT_EQ(keys.at(c).otherLayer, c - u'a' + u'A') << static_cast<char>(c);

    std::map<char16_t, const app::KeyMapping*> rows;
    for (const app::KeyMapping& m : app::keyMappings())
        rows[m.typed] = &m;
    for (const auto& [latin, drawn] : keys) {
        SCOPED_TRACE(std::string(1, static_cast<char>(latin)));
        const auto row = rows.find(latin);
        if (row == rows.end()) {
            EXPECT_TRUE(drawn.unchanged);
            EXPECT_EQ(drawn.result, std::u16string(1, latin));
            EXPECT_EQ(drawn.combination, u"");
            continue;
        }
        const app::KeyMapping& m = *row->second;
        EXPECT_FALSE(drawn.unchanged);
        EXPECT_EQ(glyphOf(drawn.result), std::u16string(1, m.replacement));
        EXPECT_EQ(drawn.result.size(), isCombiningMark(m.replacement) ? 2u : 1u);
        if (m.after == 0) {
            EXPECT_EQ(drawn.combination, u"");
            continue;
        }
        const std::u16string keysTyped = {m.after, u' ', m.typed, u' ', u'\u2192', u' '};
        ASSERT_EQ(drawn.combination.substr(0, keysTyped.size()), keysTyped);
        const std::u16string combined = drawn.combination.substr(keysTyped.size());
        EXPECT_EQ(glyphOf(combined), std::u16string(1, m.combined));
        EXPECT_EQ(combined.size(), isCombiningMark(m.combined) ? 2u : 1u);
    }
}

TEST(Manual, TemplateNeedsExactlyOneKeyboardMarkerAndTakesTheVersionEverywhere) {
    EXPECT_EQ(manual::fillTemplate("<p>@KEYBOARD_MAP@</p>", "T&amp;", "1.4"), "<p>T&amp;</p>");
    EXPECT_EQ(manual::fillTemplate("<p></p>", "T", "1.4"), std::nullopt);
    EXPECT_EQ(manual::fillTemplate("@KEYBOARD_MAP@@KEYBOARD_MAP@", "T", "1.4"), std::nullopt);
    // Before and after the tables, side by side; a marker inside the tables stays as it is.
    EXPECT_EQ(manual::fillTemplate("<h1>@VERSION@@VERSION@</h1>@KEYBOARD_MAP@ v@VERSION@.",
                                   "<td>@VERSION@</td>", "1.4"),
              "<h1>1.41.4</h1><td>@VERSION@</td> v1.4.");
}
