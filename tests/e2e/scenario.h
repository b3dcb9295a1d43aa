#pragma once
// A scenario: a fresh folder of its own, into which the program is copied and from which it is
// started, so that its settings file lands there too.

#include "driver.h"

#include "app/command_table.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

class Scenario : public ::testing::Test {
protected:
    std::wstring settingsFile() const { return folder.file(L"Setting.ini"); }
    std::wstring setting(const wchar_t* key) const { return e2e::setting(settingsFile(), key); }

    // Waits until the file holds exactly `bytes` (the program may still be replacing it); a
    // failure shows what it held.
    static ::testing::AssertionResult waitForFile(const std::wstring& path,
                                                  const std::string& bytes) {
        std::string seen;
        if (e2e::waitFor([&] {
                seen = testing_files::readBytes(path);
                return seen == bytes;
            }))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "it holds " << ::testing::PrintToString(seen);
    }

    static std::vector<std::wstring> namesIn(const std::wstring& folder,
                                             const wchar_t* pattern = L"*") {
        return e2e::namesIn(folder, pattern);
    }

    // Waits for the unsaved-changes question and checks what it shows.
    static e2e::Dialog expectChangedQuestion(const e2e::Program& program) {
        e2e::Dialog box = program.waitForDialog();
        EXPECT_NE(box.window, nullptr) << "no question came";
        EXPECT_FALSE(box.fileDialog);
        EXPECT_EQ(box.caption, L"Dawatik 1.4");
        EXPECT_EQ(box.text, L"The text has changed\r\nDo you want to save the changes ?");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
        return box;
    }

    // Waits for a file dialog and chooses `path` in it.
    static void chooseInFileDialog(const e2e::Program& program, const std::wstring& path) {
        const e2e::Dialog dialog = program.waitForDialog();
        ASSERT_NE(dialog.window, nullptr) << "no file dialog came";
        ASSERT_TRUE(dialog.fileDialog) << "a message box came instead: " << dialog.text;
        ASSERT_TRUE(e2e::Program::chooseFile(dialog, path));
    }

    testing_files::TempFolder folder;
};
