#pragma once
// IniFile: one private-profile file and a current section, read or written through the same
// two calls: in read mode they answer the stored value (or the given default), in write mode
// they store the given value and answer it.

#include "controls/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ctl {

class IniFile : public Object {
public:
    bool writeMode = false;
    std::wstring section;

    const std::wstring& fileName() const noexcept { return fileName_; }

    // Read: the stored number's leading digits (the default when the key is missing).
    // Write: stores the number's decimal text.
    std::int32_t valueInteger(std::wstring_view key, std::int32_t value);
    // Read: the stored text, cut to 4095 units (the default when the key is missing; a key
    // stored empty reads as empty). Write: stores the text; an empty text is kept as a value.
    std::wstring valueString(std::wstring_view key, std::wstring_view value);

private:
    friend IniFile* newIniFile(std::wstring_view fileName);
    explicit IniFile(std::wstring_view fileName) : fileName_(fileName) {}

    void write(std::wstring_view key, std::wstring_view value);

    std::wstring fileName_;
};

// Opens nothing yet: read mode, no section. Release it like every object of the layer.
IniFile* newIniFile(std::wstring_view fileName);

} // namespace ctl
