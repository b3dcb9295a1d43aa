#include "controls/file_dialog.h"

#include "controls/application_state.h"
#include "controls/form.h"
#include "controls/options.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <vector>

namespace ctl {

namespace {

constexpr std::array<OptionBits, 13> kDialogFlags = {{
    {OFN_CREATEPROMPT},
    {OFN_EXTENSIONDIFFERENT},
    {OFN_FILEMUSTEXIST},
    {OFN_HIDEREADONLY},
    {OFN_NOCHANGEDIR},
    {OFN_NODEREFERENCELINKS},
    {OFN_ALLOWMULTISELECT},
    {OFN_NONETWORKBUTTON},
    {OFN_NOREADONLYRETURN},
    {OFN_OVERWRITEPROMPT},
    {OFN_PATHMUSTEXIST},
    {OFN_READONLY},
    {OFN_NOVALIDATE},
}};

constexpr DWORD kSingleNameBuffer = 262;
constexpr DWORD kMultipleNamesBuffer = 65521;

const wchar_t* orNull(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}

// The names of a multiple selection, up to the double NUL: the folder, then each name,
// separated by CR.
std::wstring multipleSelection(const std::vector<wchar_t>& buffer) {
    std::size_t end = 0;
    while (end + 1 < buffer.size() && (buffer[end] != L'\0' || buffer[end + 1] != L'\0'))
        ++end;
    std::wstring names(buffer.data(), end);
    std::replace(names.begin(), names.end(), L'\0', L'\r');
    return names;
}

} // namespace

DWORD fileDialogFlags(FileDialogOptions options) {
    return mapOptions(options, kDialogFlags) | OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;
}

std::wstring fileDialogFilterList(std::wstring_view filter) {
    if (filter.empty())
        return {};
    std::wstring list(filter);
    list.push_back(L'\0');
    std::replace(list.begin(), list.end(), L'|', L'\0');
    // The platform's list ends with an empty string; the string's own terminator is that one.
    return list;
}

FileDialog* newFileDialog(Control& owner, std::wstring_view title,
                          std::wstring_view initialDirectory, FileDialogOptions options) {
    auto* dialog = new FileDialog();
    dialog->title = title;
    dialog->initialDirectory = initialDirectory;
    dialog->options = options != 0 ? options : dialogopt::kDefault;
    owner.own(*dialog);
    return dialog;
}

bool execute(FileDialog& dialog) {
    const bool multiple = (dialog.options & dialogopt::kAllowMultiSelect) != 0;
    const DWORD capacity = multiple ? kMultipleNamesBuffer : kSingleNameBuffer;
    // Room for the terminator: a proposed name is cut to one unit less than the buffer.
    std::vector<wchar_t> names(capacity, L'\0');
    const std::size_t proposed = std::min<std::size_t>(dialog.fileName.size(), capacity - 1);
    std::copy_n(dialog.fileName.begin(), proposed, names.begin());

    const std::wstring filterList = fileDialogFilterList(dialog.filter);
    const std::wstring defaultExtension = dialog.defaultExtension;

    OPENFILENAMEW record{};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    record.hwndOwner = dialog.ownerWindow;
    if (!record.hwndOwner && application().form)
        record.hwndOwner = application().form->handle();
    record.hInstance = moduleInstance();
    record.lpstrFilter = filterList.empty() ? nullptr : filterList.c_str();
    record.nFilterIndex = static_cast<DWORD>(dialog.filterIndex);
    record.lpstrFile = names.data();
    record.nMaxFile = capacity;
    record.lpstrInitialDir = orNull(dialog.initialDirectory);
    record.lpstrTitle = orNull(dialog.title);
    record.lpstrDefExt = defaultExtension.c_str(); // never null, even when empty
    record.Flags = fileDialogFlags(dialog.options);
    record.lCustData = reinterpret_cast<LPARAM>(&dialog);

    const bool chosen =
        (dialog.openDialog ? GetOpenFileNameW(&record) : GetSaveFileNameW(&record)) != 0;
    if (!chosen) {
        dialog.fileName.clear();
        return false;
    }
    dialog.filterIndex = static_cast<std::int32_t>(record.nFilterIndex);
    dialog.readOnlyChecked = (record.Flags & OFN_READONLY) != 0;
    dialog.fileName = multiple ? multipleSelection(names) : std::wstring(names.data());
    return true;
}

} // namespace ctl
