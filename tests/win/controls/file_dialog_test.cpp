#include "controls/application.h"
#include "controls/file_dialog.h"
#include "support/dialogs.h"
#include "support/files.h"
#include "support/gui.h"

#include <gtest/gtest.h>

using namespace ctl;
using testing_files::TempFolder;
using testing_gui::DialogDriver;
using testing_gui::ScopedForm;

namespace {

// The main window owns the dialog, as in the program.
class FileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form->ensureHandle());
        application().form = form.get();
        dialog = newFileDialog(*form, L"", L"", 0);
        dialog->filter = L"Text Files|*.txt|All Files|*.*";
    }
    void TearDown() override { application().form = nullptr; }

    ScopedForm form{L"Dawatik 1.4"};
    FileDialog* dialog = nullptr;
    TempFolder folder;
};

} // namespace

TEST(FileDialogSetup, OptionsMapToTheDialogFlags) {
    EXPECT_EQ(fileDialogFlags(dialogopt::kDefault), 0x00A81806u);
    EXPECT_EQ(fileDialogFlags(dialogopt::kAllowMultiSelect | dialogopt::kReadOnlyChecked),
              0x00A80201u);
}

TEST(FileDialogSetup, FilterBecomesNulSeparatedList) {
    const std::wstring list = fileDialogFilterList(L"Text Files|*.txt|All Files|*.*");
    // The string's own terminator is the empty string that ends the list.
    EXPECT_EQ(list, std::wstring(L"Text Files\0*.txt\0All Files\0*.*\0", 31));
    EXPECT_EQ(fileDialogFilterList(L""), L"");
}

TEST_F(FileDialogTest, ChosenNameIsProposedNextTimeAndACancelForgetsIt) {
    const std::wstring path = folder.file(L"\x0645\x0644\x0641 one.txt");
    DialogDriver dialogs;
    dialogs.type(path).cancelFileDialog().cancelFileDialog();

    dialog->openDialog = false;
    EXPECT_TRUE(execute(*dialog));
    EXPECT_EQ(dialog->fileName, path);
    EXPECT_EQ(dialog->filterIndex, 1);

    dialog->openDialog = true;
    EXPECT_FALSE(execute(*dialog));
    EXPECT_EQ(dialog->fileName, L"");
    EXPECT_FALSE(execute(*dialog));

    const auto seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].fileDialog);
    EXPECT_EQ(seen[0].caption, L"Save As");
    EXPECT_EQ(seen[0].owner, form->handle());
    EXPECT_EQ(seen[1].caption, L"Open");
    // The proposed name (the platform shows it without its folder).
    ASSERT_FALSE(seen[1].text.empty());
    EXPECT_TRUE(path.ends_with(seen[1].text)) << seen[1].text;
    EXPECT_EQ(seen[2].text, L"");
}

TEST_F(FileDialogTest, DefaultOptionsAskBeforeReplacingAndRefuseMissingFiles) {
    const std::wstring existing = folder.file(L"existing.txt");
    ASSERT_TRUE(testing_files::writeBytes(existing, "x"));
    DialogDriver dialogs;
    dialogs.type(existing).press(IDYES);
    dialogs.type(folder.file(L"missing.txt")).press(IDOK).cancelFileDialogStillOpen();

    dialog->openDialog = false;
    EXPECT_TRUE(execute(*dialog));
    EXPECT_EQ(dialog->fileName, existing);
    dialog->openDialog = true;
    EXPECT_FALSE(execute(*dialog));

    const auto seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_FALSE(seen[1].fileDialog);
    EXPECT_NE(seen[1].text.find(L"exists"), std::wstring::npos) << seen[1].text;
    EXPECT_FALSE(seen[3].fileDialog);
    for (const auto& box : seen)
        EXPECT_TRUE(box.planned) << box.caption;
}

TEST_F(FileDialogTest, TitleIsTheCaptionAndMultipleNamesComeBackCrSeparated) {
    ASSERT_TRUE(testing_files::writeBytes(folder.file(L"a.txt"), "a"));
    ASSERT_TRUE(testing_files::writeBytes(folder.file(L"b.txt"), "b"));
    FileDialog* names = newFileDialog(*form, L"Choose \x0645", folder.path(),
                                      dialogopt::kDefault | dialogopt::kAllowMultiSelect);
    DialogDriver dialogs;
    dialogs.type(L"\"a.txt\" \"b.txt\"");

    EXPECT_TRUE(execute(*names));
    std::wstring directory = folder.path();
    directory.pop_back(); // the platform names the folder without its final backslash
    EXPECT_EQ(names->fileName, directory + L"\ra.txt\rb.txt");
    const auto seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Choose \x0645");
}
