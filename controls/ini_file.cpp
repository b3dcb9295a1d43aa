#include "controls/ini_file.h"

#include "controls/file_stream.h"
#include "controls/path.h"
#include "controls/text.h"

#include <windows.h>

namespace ctl {

namespace {

constexpr DWORD kBufferSize = 4096;

// The platform writes a file it creates in the ANSI code page, turning every other character
// into '?'; a file that starts with the UTF-16LE mark is kept in UTF-16. So a missing file is
// created as an empty UTF-16LE file just before its first write (never by reading).
void createAsUtf16IfMissing(const std::wstring& fileName) {
    if (fileExists(fileName))
        return;
    auto stream = newWriteStream(fileName, kWriteNewMode);
    const unsigned char mark[2] = {0xFF, 0xFE};
    stream->writeFully(mark, sizeof mark);
}

} // namespace

IniFile* newIniFile(std::wstring_view fileName) {
    return new IniFile(fileName);
}

std::int32_t IniFile::readInteger(std::wstring_view key, std::int32_t defaultValue) const {
    return static_cast<std::int32_t>(GetPrivateProfileIntW(
        section.c_str(), std::wstring(key).c_str(), defaultValue, fileName_.c_str()));
}

std::wstring IniFile::readString(std::wstring_view key, std::wstring_view defaultValue) const {
    std::wstring buffer(kBufferSize, L'\0');
    const DWORD length = GetPrivateProfileStringW(section.c_str(), std::wstring(key).c_str(),
                                                  std::wstring(defaultValue).c_str(), buffer.data(),
                                                  kBufferSize, fileName_.c_str());
    if (length == 0)
        return {};
    buffer.resize(buffer.find(L'\0'));
    return buffer;
}

void IniFile::writeInteger(std::wstring_view key, std::int32_t value) {
    writeString(key, decimalText(value));
}

void IniFile::writeString(std::wstring_view key, std::wstring_view value) {
    createAsUtf16IfMissing(fileName_);
    WritePrivateProfileStringW(section.c_str(), std::wstring(key).c_str(),
                               std::wstring(value).c_str(), fileName_.c_str());
}

} // namespace ctl
