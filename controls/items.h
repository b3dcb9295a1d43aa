#pragma once
// Item operations that work on any control kind through its ActionTable: the lines of an edit
// field, the entries of a combo box. A kind without the operation gets 0 (or -1 for a search)
// and nothing happens.

#include "controls/control.h"

#include <string>
#include <string_view>

namespace ctl {

int itemCount(Control& control);
// Empty when the item does not exist.
std::wstring itemText(Control& control, int index);
// An edit field replaces the line with its line break; a combo box replaces the entry, keeping
// its data and the selection. Index itemCount appends.
void setItemText(Control& control, int index, std::wstring_view text);
// The index of the new item, or -1.
int addItem(Control& control, std::wstring_view text);
void deleteItem(Control& control, int index);

// The selected entry (-1: none); for an edit field the start of the caret's line.
int currentIndex(Control& control);
// Selects without notifying: no event runs.
void setCurrentIndex(Control& control, int index);
// The first item after `start` (-1: from the beginning) that equals `text` or starts with it,
// ignoring case; -1 when there is none.
int findItem(Control& control, std::wstring_view text, int start = -1, bool prefix = false);

int selectionStart(Control& control);
// Moves the caret to `position`, selecting nothing.
void setSelectionStart(Control& control, int position);
// Selects `length` code units from the selection start; -1 selects to the end.
void setSelectionLength(Control& control, int length);
void selectAll(Control& control);
// Removes every entry of a list, or all text.
void clearItems(Control& control);

} // namespace ctl
