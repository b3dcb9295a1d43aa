#include "controls/path.h"
#include "controls/text.h"
#include "support/files.h"

#include <gtest/gtest.h>

using namespace ctl;

TEST(Path, ExecutablePathNamesThisProgramWhateverTheCurrentDirectory) {
    testing_files::TempFolder folder;
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.path().c_str());
    const std::wstring path = executablePath();
    SetCurrentDirectoryW(previous);

    ASSERT_GT(path.size(), 18u);
    EXPECT_EQ(path.substr(path.size() - 18), L"controls_tests.exe");
    EXPECT_NE(path.find(L'\\'), std::wstring::npos);
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(std::wstring(filePath(path)) + L"controls_tests.exe", path);
}

TEST(Path, FileExistsOnlyForFiles) {
    testing_files::TempFolder folder;
    const std::wstring arabic = folder.file(L"\x0645\x0644\x0641.txt");
    ASSERT_TRUE(testing_files::writeBytes(arabic, "x"));
    EXPECT_TRUE(fileExists(arabic));
    EXPECT_FALSE(fileExists(folder.path()));
    EXPECT_FALSE(fileExists(folder.file(L"missing.txt")));
    EXPECT_FALSE(fileExists(L""));
}

TEST(Path, UpperCaseUsesThePlatformCaseTables) {
    EXPECT_EQ(upperCase(L"center \x00E9\x0101"), L"CENTER \x00C9\x0100");
    EXPECT_EQ(upperCase(L"\x0645\x0660"), L"\x0645\x0660");
    EXPECT_EQ(upperCase(L""), L"");
}
