#pragma once
// The make-up of the editor's edit field (styles, size, font, text limit), seen in the editor's
// own process and passed in a file to the bare programs that must build a field like it.

#include "tests/win/support/files.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace bench {

struct EditModel {
    DWORD style = 0, exStyle = 0;
    int width = 0, height = 0;
    DWORD limit = 0;
    LOGFONTW font{};
};

inline bool saveModel(const std::wstring& path, const EditModel& m) {
    return testing_files::writeBytes(path,
                                     std::string(reinterpret_cast<const char*>(&m), sizeof m));
}

// False when the file is missing or not a model of this build's make-up.
inline bool loadModel(const std::wstring& path, EditModel& m) {
    const std::string bytes = testing_files::readBytes(path);
    if (bytes.size() != sizeof m)
        return false;
    std::memcpy(&m, bytes.data(), sizeof m);
    return true;
}

} // namespace bench
