#include "controls/path.h"

#include <windows.h>

namespace ctl {

std::wstring executablePath() {
    // The classic buffer of 522 units is too short for long paths; grow until the name fits.
    std::wstring path(522, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

bool fileExists(std::wstring_view path) {
    const DWORD attributes = GetFileAttributesW(std::wstring(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring upperCase(std::wstring_view text) {
    std::wstring result(text);
    if (!result.empty())
        CharUpperBuffW(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

} // namespace ctl
