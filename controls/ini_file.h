#pragma once
// IniFile: one private-profile file and a current section whose values are read, with a
// default for what is missing, and written, each write at once.

#include "controls/object.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ctl {

class IniFile : public Object {
public:
    std::wstring section;

    const std::wstring& fileName() const noexcept { return fileName_; }

    // The stored number's leading digits (0 when it does not start with one); the default when
    // the key is missing. Reading never creates the file.
    std::int32_t readInteger(std::wstring_view key, std::int32_t defaultValue) const;
    // The stored text, cut to 4095 units; the default when the key is missing (a key stored
    // empty reads as empty).
    std::wstring readString(std::wstring_view key, std::wstring_view defaultValue) const;
    // Stores the number's decimal text.
    void writeInteger(std::wstring_view key, std::int32_t value);
    // Stores the text; an empty text is kept as a value.
    void writeString(std::wstring_view key, std::wstring_view value);

private:
    friend IniFile* newIniFile(std::wstring_view fileName);
    explicit IniFile(std::wstring_view fileName) : fileName_(fileName) {}

    std::wstring fileName_;
};

// Opens nothing yet: no section. Release it like every object of the layer.
IniFile* newIniFile(std::wstring_view fileName);

} // namespace ctl
