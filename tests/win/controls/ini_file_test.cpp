#include "controls/ini_file.h"
#include "controls/object.h"
#include "support/files.h"

#include <gtest/gtest.h>

using namespace ctl;
using testing_files::readBytes;
using testing_files::TempFolder;

namespace {

Ref<IniFile> openIni(const std::wstring& path) {
    IniFile* ini = newIniFile(path);
    ini->section = L"General";
    Ref<IniFile> ref(ini);
    ini->release(); // the Ref holds the only reference
    return ref;
}

} // namespace

TEST(IniFile, MissingFileGivesTheDefaultsAndReadingCreatesNothing) {
    TempFolder folder;
    const std::wstring path = folder.file(L"Setting.ini");
    auto ini = openIni(path);
    EXPECT_EQ(ini->readInteger(L"FontSize", 12), 12);
    EXPECT_EQ(ini->readInteger(L"Left", -7), -7);
    EXPECT_EQ(ini->readString(L"FontName", L"Arial"), L"Arial");
    EXPECT_EQ(ini->readString(L"FontName", L""), L"");
    EXPECT_FALSE(testing_files::exists(path));
}

TEST(IniFile, WritesStoreDecimalTextAndUnicodeInAUtf16File) {
    TempFolder folder;
    const std::wstring path = folder.file(L"Setting.ini");
    const std::wstring fontName = L"\x062E\x0637 \x0639\x0631\x0628\x064A";
    {
        auto ini = openIni(path);
        ini->writeInteger(L"Width", -5);
        ini->writeString(L"FontName", fontName);
        ini->writeString(L"TextAlign", L"");
    }
    const std::string bytes = readBytes(path);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(bytes.find(testing_files::utf16(L"Width=-5\r\n")), std::string::npos);
    EXPECT_NE(bytes.find(testing_files::utf16(L"FontName=" + fontName + L"\r\n")),
              std::string::npos);

    auto reader = openIni(path);
    EXPECT_EQ(reader->readInteger(L"Width", 550), -5);
    EXPECT_EQ(reader->readString(L"FontName", L"Arial"), fontName);
    // Stored empty: the default does not apply.
    EXPECT_EQ(reader->readString(L"TextAlign", L"Right"), L"");
}

TEST(IniFile, OtherSectionsAndKeysSurviveEveryWriteAndNumbersReadAsLeadingDigits) {
    TempFolder folder;
    const std::wstring path = folder.file(L"Setting.ini");
    ASSERT_TRUE(testing_files::writeBytes(
        path, "[Other]\r\nWidth=1\r\n[General]\r\nKeep=yes\r\nFontSize=72\r\nTop=x\r\n"));
    {
        auto ini = openIni(path);
        ini->writeInteger(L"Height", 380);
        ini->writeString(L"FontSize", L"12pt");
        ini->section = L"Third";
        ini->writeInteger(L"Top", 3);
    }
    // A file written before keeps its encoding.
    EXPECT_NE(readBytes(path).substr(0, 2), "\xFF\xFE");
    auto reader = openIni(path);
    EXPECT_EQ(reader->readString(L"Keep", L""), L"yes");
    EXPECT_EQ(reader->readInteger(L"Height", 0), 380);
    EXPECT_EQ(reader->readInteger(L"FontSize", 0), 12);
    EXPECT_EQ(reader->readInteger(L"Top", 9), 0); // not a number
    reader->section = L"Other";
    EXPECT_EQ(reader->readInteger(L"Width", 0), 1);
    reader->section = L"Third";
    EXPECT_EQ(reader->readInteger(L"Top", 0), 3);
}
