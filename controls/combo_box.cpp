#include "controls/combo_box.h"

#include "controls/application_state.h"
#include "controls/form.h"
#include "controls/options.h"
#include "controls/trace.h"

#include <algorithm>
#include <array>
#include <string>

namespace ctl {

namespace {

constexpr std::array<OptionBits, 11> kComboStyles = {{
    {CBS_DROPDOWNLIST},
    {CBS_AUTOHSCROLL, true},
    {CBS_DISABLENOSCROLL},
    {CBS_LOWERCASE},
    {CBS_NOINTEGRALHEIGHT},
    {CBS_OEMCONVERT},
    {CBS_SORT},
    {CBS_UPPERCASE},
    {CBS_OWNERDRAWFIXED},
    {CBS_OWNERDRAWVARIABLE},
    {CBS_SIMPLE},
}};

// The open list shows at least one and at most this many entries.
constexpr int kMaxDroppedItems = 8;

constexpr wchar_t kPreviousProcedure[] = L"PREV_PROC";

class ComboBox : public Control {
public:
    using Control::initChild;
    // The item selected when the list last opened (Escape goes back to it).
    int rememberedIndex = -1;

protected:
    // The inner windows get their own procedures back while the box still hears its messages.
    void releasingWindow() override;
};

// The inner windows of the box (its edit part) pass their input to the box's control.
LRESULT CALLBACK innerWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

void subclassInnerWindows(Control& box) {
    for (HWND child = GetWindow(box.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        auto previous = SetWindowLongPtrW(child, GWLP_WNDPROC,
                                          reinterpret_cast<LONG_PTR>(innerWindowProcedure));
        SetPropW(child, kPreviousProcedure, reinterpret_cast<HANDLE>(previous));
    }
}

void unsubclassInnerWindows(Control& box) {
    for (HWND child = GetWindow(box.handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (HANDLE previous = RemovePropW(child, kPreviousProcedure))
            SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
}

void ComboBox::releasingWindow() {
    unsubclassInnerWindows(*this);
}

void clearItems(Control& box) {
    box.sendMessage(CB_RESETCONTENT);
}

// Gives the list that is about to open room for its entries (up to eight), one entry as high
// as the box itself.
void sizeDropDown(Control& box) {
    const auto count = static_cast<int>(box.sendMessage(CB_GETCOUNT));
    const int shown = std::clamp(count, 1, kMaxDroppedItems);
    const RECT r = box.bounds();
    const int height = r.bottom - r.top;
    SetWindowPos(box.handle(), nullptr, 0, 0, r.right - r.left, height * (shown + 1) + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    SetWindowPos(box.handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                     SWP_SHOWWINDOW);
}

bool reflectedCommand(Control& box, const Message& message) {
    switch (HIWORD(message.wParam)) {
    case CBN_SELCHANGE:
        // The box is still busy with the new selection: report it once it has finished.
        PostMessageW(box.handle(), kReflectedCommand, MAKEWPARAM(0, kComboSelectionChanged), 0);
        break;
    case CBN_DROPDOWN:
        static_cast<ComboBox&>(box).rememberedIndex =
            static_cast<int>(box.sendMessage(CB_GETCURSEL));
        sizeDropDown(box);
        box.events().onDropDown(box);
        break;
    case CBN_CLOSEUP:
        box.events().onCloseUp(box);
        break;
    default:
        break;
    }
    return false;
}

// Adds or inserts an item from a copy of the caller's text; the first item of an empty box
// without a selection becomes selected.
LRESULT addItem(Control& box, const Message& message) {
    const bool wasEmpty = box.sendMessage(CB_GETCOUNT) == 0;
    Message copied = message;
    std::wstring text;
    if (message.lParam && (box.style() & CBS_HASSTRINGS)) {
        text = reinterpret_cast<const wchar_t*>(message.lParam);
        copied.lParam = reinterpret_cast<LPARAM>(text.c_str());
    }
    const LRESULT index = box.defaultProcessing(copied);
    if (wasEmpty && index >= 0 && box.sendMessage(CB_GETCURSEL) == CB_ERR)
        box.sendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
    return index;
}

LRESULT CALLBACK innerWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept {
    try {
        Control* control = Control::fromHandle(GetParent(window));
        if (!control) {
            // The box is going away: the inner window ends with its own procedure.
            auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
            return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                            : DefWindowProcW(window, message, wParam, lParam);
        }
        const Ref<Control> keepAlive(control);
        Message record{control->handle(), message, wParam, lParam};
        LRESULT result = 0;
        if (MessageHandler hook = application().keyboardHook;
            hook && isKeyMessage(message) && hook(*control, record, result))
            return result;

        Form* app = application().form;
        if (app && app->events().onMessage(record, result))
            return result;
        Form* form = owningForm(*control);
        if (form && form != app && form->events().onMessage(record, result))
            return result;

        auto passOn = [&]() -> LRESULT {
            auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPreviousProcedure));
            if (!previous)
                return 0;
            return CallWindowProcW(previous, window, record.message, record.wParam, record.lParam);
        };
        auto keyHandlerOf = [&]() {
            if (MessageHandler handler = control->hooks().keyHandler)
                handler(*control, record, result);
        };

        if (message == WM_SETFOCUS && form)
            form->focusedControl = control;

        const bool shown = IsWindowVisible(control->handle()) != FALSE;
        if (shown && (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR)) {
            if (wParam == VK_TAB) {
                if (message != WM_KEYDOWN)
                    return 0;
                auto navigate = form ? form->hooks().tabNavigation : nullptr;
                if (navigate && navigate(*control, wParam, false))
                    return 0;
                keyHandlerOf();
                return passOn();
            }
            if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_RETURN) &&
                SendMessageW(control->handle(), CB_GETDROPPEDSTATE, 0, 0)) {
                SendMessageW(control->handle(), CB_SHOWDROPDOWN, FALSE, 0);
                if (wParam == VK_ESCAPE)
                    SendMessageW(
                        control->handle(), CB_SETCURSEL,
                        static_cast<WPARAM>(static_cast<ComboBox*>(control)->rememberedIndex), 0);
                keyHandlerOf();
                return 0;
            }
            keyHandlerOf();
        }
        return passOn();
    } catch (...) {
        traceStoppedException(L"the procedure of a combo box's inner window", message);
        return 0;
    }
}

bool comboBoxHandler(Control& box, Message& message, LRESULT& result) {
    const UINT number = message.message;
    if (number >= WM_CTLCOLORMSGBOX && number <= WM_CTLCOLORSTATIC) {
        // From the inner edit or list: answered with the box's own colours.
        result = SendMessageW(box.handle(), number + kReflectedColorBase, message.wParam,
                              message.lParam);
        return true;
    }
    if ((number == WM_CTLCOLOREDIT + kReflectedColorBase ||
         number == WM_CTLCOLORLISTBOX + kReflectedColorBase) &&
        box.transparent()) {
        // Text being edited or listed cannot be drawn on a see-through background.
        HDC dc = reinterpret_cast<HDC>(message.wParam);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, colorToRGB(box.backgroundColor()));
        SetTextColor(dc, colorToRGB(box.textColor()));
        result = reinterpret_cast<LRESULT>(box.backgroundBrush());
        return true;
    }
    switch (number) {
    case kReflectedCommand:
        return reflectedCommand(box, message);
    case WM_SYSKEYDOWN:
        // The box's own handling swallows every Alt key but the arrows; Alt+F4 still closes the
        // window, as it does from any other control.
        if (message.wParam != VK_F4 || !(HIWORD(message.lParam) & KF_ALTDOWN))
            return false;
        result = DefWindowProcW(box.handle(), number, message.wParam, message.lParam);
        return true;
    case WM_DESTROY:
        // The window can go before its object: with its parent's window, say.
        unsubclassInnerWindows(box);
        return false;
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
        result = addItem(box, message);
        return true;
    default:
        return false;
    }
}

} // namespace

const ActionTable& comboBoxActions() noexcept {
    static const ActionTable table = [] {
        ActionTable t;
        t.clickCode = CBN_DBLCLK;
        t.focusCode = CBN_SETFOCUS;
        t.blurCode = CBN_KILLFOCUS;
        t.changeCode = CBN_EDITCHANGE;
        t.selectionChangeCode = kComboSelectionChanged;
        t.itemCount = CB_GETCOUNT;
        t.itemTextLength = CB_GETLBTEXTLEN;
        t.itemTextGet = CB_GETLBTEXT;
        t.itemDataGet = CB_GETITEMDATA;
        t.itemDataSet = CB_SETITEMDATA;
        t.addItem = CB_ADDSTRING;
        t.deleteItem = CB_DELETESTRING;
        t.insertItem = CB_INSERTSTRING;
        t.findExact = CB_FINDSTRINGEXACT;
        t.findPrefix = CB_FINDSTRING;
        t.currentItemGet = CB_GETCURSEL;
        t.currentItemSet = CB_SETCURSEL;
        t.clear = clearItems;
        return t;
    }();
    return table;
}

Control* newComboBox(Control& parent, ComboOptions options) {
    DWORD style = mapOptions(options, kComboStyles);
    style |= WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS;
    if (!(style & CBS_SIMPLE)) // neither simple nor a drop-down list: an editable drop-down
        style |= CBS_DROPDOWN;
    auto* box = new ComboBox();
    box->initChild(parent, L"COMBOBOX", style, comboBoxActions(), true);
    box->hooks().afterCreate = subclassInnerWindows;
    box->setClassStyle(box->classStyle() | CS_DBLCLKS);
    box->setWidthHeight(100, 22);
    box->addMessageHandler(comboBoxHandler);
    return box;
}

} // namespace ctl
