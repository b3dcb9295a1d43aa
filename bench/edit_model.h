#pragma once
// The make-up of the editor's edit field (styles, size, font, text limit), seen in the editor's
// own process and passed in a file to the bare programs that must build a field like it.

#include <windows.h>

#include <string>

namespace bench {

struct EditModel {
    DWORD style = 0;
    DWORD exStyle = 0;
    int width = 0;
    int height = 0;
    DWORD limit = 0;
    LOGFONTW font{};
};

inline bool saveModel(const std::wstring& path, const EditModel& m) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, &m, sizeof m, &written, nullptr) && written == sizeof m;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

inline bool loadModel(const std::wstring& path, EditModel& m) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD got = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && ReadFile(file, &m, sizeof m, &got, nullptr) &&
                    got == sizeof m;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

} // namespace bench
