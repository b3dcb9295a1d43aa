#include "controls/edit.h"

#include "controls/dispatch.h"
#include "controls/options.h"

#include <array>

namespace ctl {

namespace {

constexpr std::array<OptionBits, 12> kEditStyles = {{
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
}};

// The platform stops typing in a multi-line edit at about 30,000 code units unless told not to.
void liftTextLimit(Control& edit) {
    edit.sendMessage(EM_SETLIMITTEXT, 0, 0);
}

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
    if (multiLine) {
        edit->setWidthHeight(200, 200);
        edit->hooks().afterCreate = liftTextLimit;
    } else {
        edit->setWidthHeight(100, 22);
    }
    edit->addMessageHandler(characterInsertionHandler);
    return edit;
}

} // namespace ctl
