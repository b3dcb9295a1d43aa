#pragma once
// FileDialog: one object that asks the user for a file to open or a name to save under,
// through the platform's common file dialogs.

#include "controls/object.h"
#include "controls/options.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace ctl {

class Control;

class FileDialog : public Object {
public:
    // Description and pattern pairs separated by '|', e.g. "Text Files|*.txt".
    std::wstring filter;
    // The chosen filter, counted from 1; updated by execute.
    std::int32_t filterIndex = 0;
    // True: an open dialog; false: a save dialog.
    bool openDialog = true;
    std::wstring initialDirectory;
    std::wstring defaultExtension;
    // In: the name proposed. Out: the name chosen (with multiple selection the folder and the
    // names, CR-separated), or empty after a cancel.
    std::wstring fileName;
    std::wstring title;
    FileDialogOptions options = dialogopt::kDefault;
    // The dialog's owner; null: the Application's window.
    HWND ownerWindow = nullptr;
    bool readOnlyChecked = false;
};

// A dialog released together with `owner`. Empty options mean the default set.
FileDialog* newFileDialog(Control& owner, std::wstring_view title,
                          std::wstring_view initialDirectory, FileDialogOptions options);
// Shows the dialog; true when the user chose a name, false on cancel or failure.
bool execute(FileDialog& dialog);

// The OFN_ flags of an option set, with the explorer look, long names and sizing.
DWORD fileDialogFlags(FileDialogOptions options);
// The platform's filter list: the parts of `filter` each ending in NUL, then one more NUL;
// empty for an empty filter.
std::wstring fileDialogFilterList(std::wstring_view filter);

} // namespace ctl
