#include "controls/items.h"

#include <algorithm>

namespace ctl {

namespace {

// EM_GETLINE takes the buffer size in the buffer's first 16-bit word.
constexpr int kMaxLineBuffer = 0xFFFF;

LRESULT send(Control& control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return message ? control.sendMessage(message, wParam, lParam) : 0;
}

LPARAM textParam(const std::wstring& text) {
    return reinterpret_cast<LPARAM>(text.c_str());
}

// The start of line `line` of an edit field; past the last line, the end of the text.
int lineStart(Control& edit, int line) {
    const auto start = static_cast<int>(send(edit, edit.actions().lineIndex, line));
    return start >= 0 ? start : GetWindowTextLengthW(edit.ensureHandle());
}

std::wstring lineText(Control& edit, int line) {
    const ActionTable& actions = edit.actions();
    const auto start = static_cast<int>(send(edit, actions.lineIndex, line));
    if (start < 0)
        return {};
    const auto length = static_cast<int>(send(edit, actions.itemTextLength, start));
    if (length <= 0)
        return {};
    if (length >= kMaxLineBuffer) // too long to ask for: cut it from the whole text
        return edit.text().substr(static_cast<std::size_t>(start),
                                  static_cast<std::size_t>(length));
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    buffer[0] = static_cast<wchar_t>(length + 1);
    const auto copied = static_cast<int>(
        send(edit, actions.itemTextGet, line, reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return buffer;
}

std::wstring entryText(Control& list, int index) {
    const ActionTable& actions = list.actions();
    const auto length = static_cast<int>(send(list, actions.itemTextLength, index));
    if (length <= 0)
        return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const auto copied = static_cast<int>(
        send(list, actions.itemTextGet, index, reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return buffer;
}

} // namespace

int itemCount(Control& control) {
    return static_cast<int>(send(control, control.actions().itemCount));
}

std::wstring itemText(Control& control, int index) {
    const ActionTable& actions = control.actions();
    if (!actions.itemTextGet)
        return {};
    return actions.lineIndex ? lineText(control, index) : entryText(control, index);
}

void setItemText(Control& control, int index, std::wstring_view text) {
    const ActionTable& actions = control.actions();
    const std::wstring copy(text);
    if (actions.itemTextSet) {
        const int start = lineStart(control, index);
        send(control, actions.selectionSet, start, lineStart(control, index + 1));
        send(control, actions.itemTextSet, TRUE, textParam(copy));
        return;
    }
    if (!actions.deleteItem || !actions.insertItem)
        return;
    const int current = currentIndex(control);
    const bool existed = index < itemCount(control);
    const LRESULT data = existed ? send(control, actions.itemDataGet, index) : 0;
    if (existed)
        send(control, actions.deleteItem, index);
    const auto inserted =
        static_cast<int>(send(control, actions.insertItem, index, textParam(copy)));
    if (existed && inserted >= 0)
        send(control, actions.itemDataSet, inserted, data);
    setCurrentIndex(control, current);
}

int addItem(Control& control, std::wstring_view text) {
    const ActionTable& actions = control.actions();
    if (!actions.addItem)
        return -1;
    const std::wstring copy(text);
    return static_cast<int>(send(control, actions.addItem, 0, textParam(copy)));
}

void deleteItem(Control& control, int index) {
    send(control, control.actions().deleteItem, index);
}

int currentIndex(Control& control) {
    const ActionTable& actions = control.actions();
    // An edit field answers the start of the caret's line for line -1.
    const WPARAM which = actions.currentItemGet == actions.lineIndex ? static_cast<WPARAM>(-1) : 0;
    return static_cast<int>(send(control, actions.currentItemGet, which));
}

void setCurrentIndex(Control& control, int index) {
    send(control, control.actions().currentItemSet, static_cast<WPARAM>(index));
}

int findItem(Control& control, std::wstring_view text, int start, bool prefix) {
    const ActionTable& actions = control.actions();
    const UINT message = prefix ? actions.findPrefix : actions.findExact;
    if (!message)
        return -1;
    const std::wstring copy(text);
    return static_cast<int>(send(control, message, static_cast<WPARAM>(start), textParam(copy)));
}

int selectionStart(Control& control) {
    DWORD start = 0;
    if (!control.actions().selectionGet)
        return 0;
    send(control, control.actions().selectionGet, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void setSelectionStart(Control& control, int position) {
    send(control, control.actions().selectionSet, static_cast<WPARAM>(position), position);
}

void setSelectionLength(Control& control, int length) {
    const int start = selectionStart(control);
    const LPARAM end = length < 0 ? -1 : start + length;
    send(control, control.actions().selectionSet, static_cast<WPARAM>(start), end);
}

void selectAll(Control& control) {
    setSelectionStart(control, 0);
    setSelectionLength(control, -1);
}

void clearItems(Control& control) {
    if (auto clear = control.actions().clear)
        clear(control);
    else
        control.setText(L"");
}

} // namespace ctl
