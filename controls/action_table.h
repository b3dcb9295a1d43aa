#pragma once
// Per-kind table of the messages and notification codes behind the generic operations
// (item count, item text, selection, alignment styles, ...). Zero: not available for the kind.

#include <windows.h>

namespace ctl {

class Control;

struct ActionTable {
    // Notification codes of a reflected WM_COMMAND.
    UINT clickCode = 0;
    UINT focusCode = 0;
    UINT blurCode = 0;
    UINT changeCode = 0;
    UINT selectionChangeCode = 0;
    // Messages of the generic item operations.
    UINT itemCount = 0;
    UINT itemTextLength = 0;
    UINT itemTextGet = 0;
    UINT itemTextSet = 0;
    UINT itemDataGet = 0;
    UINT itemDataSet = 0;
    UINT addItem = 0;
    UINT deleteItem = 0;
    UINT insertItem = 0;
    UINT findExact = 0;
    UINT findPrefix = 0;
    UINT lineIndex = 0;
    UINT lineFromChar = 0;
    UINT currentItemGet = 0;
    UINT selectionGet = 0;
    UINT currentItemSet = 0;
    UINT selectionSet = 0;
    UINT selectedTextSet = 0;
    UINT textLimit = 0;
    UINT positionFromChar = 0;
    UINT setBackgroundColor = 0;
    // Style bits of the text alignments left, right and centre, and further bits to clear.
    DWORD alignStyles[3] = {0, 0, 0};
    DWORD alignClear = 0;
    // The kind's clear operation; none: the text is set to empty.
    void (*clear)(Control&) = nullptr;
};

// The table of kinds that offer none of the generic operations (forms, panels).
inline const ActionTable& noActions() noexcept {
    static const ActionTable none;
    return none;
}

} // namespace ctl
