#include "controls/edit.h"

#include "controls/dispatch.h"
#include "controls/options.h"
#include "controls/word_breaks.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace ctl {

namespace {

constexpr std::array<OptionBits, 13> kEditStyles = {{
    {WS_HSCROLL | ES_AUTOHSCROLL, true},
    {WS_VSCROLL | ES_AUTOVSCROLL, true},
    {ES_LOWERCASE},
    {ES_MULTILINE},
    {ES_NOHIDESEL},
    {ES_OEMCONVERT},
    {ES_PASSWORD},
    {ES_READONLY},
    {ES_UPPERCASE},
    {ES_WANTRETURN},
    {0}, // want Tab: no style of its own
    {ES_NUMBER},
    {0}, // words delimited by spaces: a word-break procedure, no style
}};

// The platform stops typing in a multi-line edit at about 30,000 code units unless told not to.
void liftTextLimit(Control& edit) {
    edit.sendMessage(EM_SETLIMITTEXT, 0, 0);
}

// The field asks about the line (or the text) it is working on: `count` units from `text`.
int CALLBACK spaceWordBreak(LPWSTR text, int current, int count, int code) {
    // Asked to the right from past the end (a caret inside a line break), no word follows.
    if (code == WB_RIGHT && current >= count)
        return current;
    if (!text || count <= 0)
        return 0;
    const std::wstring_view units(text, static_cast<std::size_t>(count));
    const auto at = static_cast<std::size_t>(std::clamp(current, 0, count));
    switch (code) {
    case WB_LEFT:
        return static_cast<int>(wordStartBefore(units, at));
    case WB_RIGHT:
        return static_cast<int>(wordStartFrom(units, at));
    case WB_ISDELIMITER:
        return at < units.size() && isWordDelimiter(units[at]);
    default:
        return 0;
    }
}

// Set before the field holds any text, and never taken back: a change of the rule lays out the
// whole text again at once.
void delimitWordsBySpaces(Control& edit) {
    edit.sendMessage(EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&spaceWordBreak));
}

void liftTextLimitAndDelimitWords(Control& edit) {
    liftTextLimit(edit);
    delimitWordsBySpaces(edit);
}

// What a new window of the edit needs, by [multi-line][words delimited by spaces].
constexpr void (*kAfterCreate[2][2])(Control&) = {
    {nullptr, delimitWordsBySpaces},
    {liftTextLimit, liftTextLimitAndDelimitWords},
};

} // namespace

const ActionTable& editActions() noexcept {
    static const ActionTable table = [] {
        ActionTable t;
        t.focusCode = EN_SETFOCUS;
        t.blurCode = EN_KILLFOCUS;
        t.changeCode = EN_CHANGE;
        t.itemCount = EM_GETLINECOUNT;
        t.itemTextLength = EM_LINELENGTH;
        t.itemTextGet = EM_GETLINE;
        t.itemTextSet = EM_REPLACESEL;
        t.lineIndex = EM_LINEINDEX;
        t.lineFromChar = EM_LINEFROMCHAR;
        t.currentItemGet = EM_LINEINDEX;
        t.selectionGet = EM_GETSEL;
        t.selectionSet = EM_SETSEL;
        t.selectedTextSet = EM_REPLACESEL;
        t.alignStyles[0] = 0;
        t.alignStyles[1] = ES_RIGHT;
        t.alignStyles[2] = ES_CENTER;
        t.textLimit = EM_LIMITTEXT;
        t.positionFromChar = EM_POSFROMCHAR;
        return t;
    }();
    return table;
}

Control* newEdit(Control& parent, EditOptions options) {
    DWORD style = mapOptions(options, kEditStyles);
    const bool multiLine = (options & editopt::kMultiLine) != 0;
    if (!multiLine)
        style &= ~(WS_HSCROLL | WS_VSCROLL);
    style |= WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
    Control* edit = newControl(parent, L"EDIT", style, editActions(), true);
    const bool spaceWords = (options & editopt::kSpaceDelimitedWords) != 0;
    edit->hooks().afterCreate = kAfterCreate[multiLine][spaceWords];
    if (multiLine)
        edit->setWidthHeight(200, 200);
    else
        edit->setWidthHeight(100, 22);
    edit->addMessageHandler(characterInsertionHandler);
    return edit;
}

EDITWORDBREAKPROCW spaceDelimitedWordBreaks() noexcept {
    return spaceWordBreak;
}

} // namespace ctl
