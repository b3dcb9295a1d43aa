// Saving and opening when the file system says no: nothing the user typed is ever lost, and
// every failure is told.

#include "document_window.h"

namespace {

class DocumentFaults : public DocumentWindowTest {
protected:
    // The program's error box, beginning with `told`.
    static void expectErrorBox(const testing_gui::SeenDialog& box, const std::wstring& told) {
        EXPECT_FALSE(box.fileDialog);
        EXPECT_EQ(box.caption, L"Dawatik 1.4");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        EXPECT_EQ(box.text.rfind(told, 0), 0u) << box.text;
    }

    // Saves the named document and expects the one box that tells, naming the file, that the
    // save failed; `reason` is a part of what it says after the name.
    void expectSaveToFail(const std::wstring& path, const std::wstring& reason = {}) {
        DialogDriver dialogs;
        dialogs.press(IDOK);
        record->saveCommand();
        const auto seen = dialogs.finish();
        ASSERT_EQ(seen.size(), 1u);
        const std::wstring told = L"The text could not be saved in\r\n" + path + L"\r\n";
        expectErrorBox(seen[0], told);
        EXPECT_NE(seen[0].text.find(reason, told.size()), std::wstring::npos) << seen[0].text;
    }

    // Opens `path` (after No to the unsaved-changes question when the document is `changed`)
    // and expects the box that tells, naming the file, that it did not open.
    void expectOpenToFail(const std::wstring& path, const std::wstring& told, bool changed) {
        DialogDriver dialogs;
        if (changed)
            dialogs.press(IDNO);
        dialogs.type(path).press(IDOK);
        record->openCommand();
        const auto seen = dialogs.finish();
        ASSERT_EQ(seen.size(), changed ? 3u : 2u);
        expectErrorBox(seen.back(), told + L"\r\n" + path);
    }
};

} // namespace

TEST_F(DocumentFaults, SaveIntoAReadOnlyFileIsToldAndNothingIsDiscarded) {
    const std::wstring path = file(L"read-only.txt", marked(L"old"));
    open(path);
    type(L"new");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);

    expectSaveToFail(path);
    EXPECT_TRUE(record->document.modified());
    EXPECT_EQ(record->document.fileName(), path);
    EXPECT_EQ(bytesOf(path), marked(L"old"));

    // The question still comes, and Yes that fails to save stops New like Cancel.
    DialogDriver asked;
    asked.press(IDYES).press(IDOK);
    record->newCommand();
    const auto seen = asked.finish();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, kChanged);
    EXPECT_EQ(text(), L"old\r\nnew");
    EXPECT_TRUE(record->document.modified());

    DialogDriver cancelled;
    cancelled.press(IDCANCEL);
    record->newCommand();
    EXPECT_EQ(cancelled.finish().size(), 1u);
    EXPECT_EQ(text(), L"old\r\nnew");
}

TEST_F(DocumentFaults, SaveIntoAFolderThatIsGoneIsToldAndClosingIsRefused) {
    const std::wstring subfolder = folder.file(L"gone");
    ASSERT_TRUE(CreateDirectoryW(subfolder.c_str(), nullptr));
    const std::wstring path = subfolder + L"\\a.txt";
    ASSERT_TRUE(testing_files::writeBytes(path, "\xFF\xFE"));
    open(path);
    type(L"x");
    DeleteFileW(path.c_str());
    ASSERT_TRUE(RemoveDirectoryW(subfolder.c_str()));

    expectSaveToFail(path);
    EXPECT_TRUE(record->document.modified());
    EXPECT_FALSE(testing_files::exists(subfolder));

    DialogDriver closing;
    closing.press(IDYES).press(IDOK);
    record->exitCommand();
    testing_gui::pump();
    EXPECT_EQ(closing.finish().size(), 2u);
    EXPECT_TRUE(IsWindow(form->handle()));
    EXPECT_EQ(text(), L"x");
}

TEST_F(DocumentFaults, FailedReplaceLeavesTheOldFileWholeAndNoStrayFile) {
    const std::wstring path = file(L"in use.txt", marked(L"old"));
    open(path);
    type(L"new");
    // Another program reads the file and keeps it from being replaced.
    HANDLE other = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    expectSaveToFail(path);
    CloseHandle(other);
    EXPECT_EQ(bytesOf(path), marked(L"old"));
    EXPECT_EQ(folder.entryCount(), 1);
    EXPECT_TRUE(record->document.modified());

    record->saveCommand(); // free again
    EXPECT_EQ(bytesOf(path), marked(L"old\r\nnew"));
    EXPECT_FALSE(record->document.modified());
}

TEST_F(DocumentFaults, ArabicFileNameIsSavedReopenedAndShownAsChosen) {
    const std::wstring path = folder.file(L"\x0645\x0633\x0648\x062F\x0629 \x0661.txt");
    type(L"\x0633\x0644\x0627\x0645");
    DialogDriver saving;
    saving.type(path);
    record->saveAsCommand();
    ASSERT_EQ(saving.finish().size(), 1u);
    EXPECT_EQ(record->document.fileName(), path);
    EXPECT_EQ(bytesOf(path), marked(L"\x0633\x0644\x0627\x0645"));

    record->newCommand();
    open(path);
    EXPECT_EQ(text(), L"\x0633\x0644\x0627\x0645\r\n");
    EXPECT_EQ(record->document.fileName(), path);
    EXPECT_EQ(status(), L" " + path);
}

TEST_F(DocumentFaults, UnreadableFileIsToldAndTheDocumentKept) {
    const std::wstring previous = file(L"previous.txt", marked(L"p"));
    open(previous);
    type(L"q");
    const std::wstring locked = file(L"locked.txt", marked(L"secret"));
    HANDLE other = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);

    expectOpenToFail(locked, L"The file could not be opened", true);
    CloseHandle(other);
    EXPECT_EQ(text(), L"p\r\nq");
    EXPECT_EQ(record->document.fileName(), previous);
    EXPECT_TRUE(record->document.modified());
    EXPECT_EQ(status(), L" " + previous);
}

TEST_F(DocumentFaults, FileTooLargeForTheEditFieldIsToldAndTheDocumentKept) {
    open(file(L"previous.txt", marked(L"p")));
    edit->sendMessage(EM_SETLIMITTEXT, 8);
    // Seven units fit, but not with the line break loading adds.
    const std::wstring seven = file(L"seven.txt", marked(L"1234567"));
    expectOpenToFail(seven, L"The file is too large to open", false);
    EXPECT_EQ(text(), L"p\r\n");
    EXPECT_EQ(record->document.fileName(), folder.file(L"previous.txt"));

    // Beyond 4 GB (sparse, so it takes no disk space): told before anything is read.
    edit->sendMessage(EM_SETLIMITTEXT, 0);
    const std::wstring huge = folder.file(L"huge.txt");
    {
        HANDLE file = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, "\xFF\xFE", 2, &written, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = (5ll << 30) + 2;
        SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
    }
    expectOpenToFail(huge, L"The file is too large to open", false);
    EXPECT_EQ(text(), L"p\r\n");
    EXPECT_FALSE(record->document.modified());
}

// Run on its own under a 64 KB file-size limit (see tests/win/CMakeLists.txt), where the
// platform's writes come back short as on a full disk.
TEST_F(DocumentFaults, DISABLED_ShortWriteUnderAFileSizeLimitKeepsTheOldFile) {
    const std::wstring path = file(L"short.txt", marked(L"old"));
    open(path);
    std::wstring line(70, L'\x0645');
    line += L"\r\n";
    std::wstring block;
    for (int i = 0; i < 600; ++i) // 43,200 units: 86 KB on disk
        block += line;
    type(block);

    expectSaveToFail(path, L"Not all of the text could be written");
    EXPECT_EQ(bytesOf(path), marked(L"old"));
    EXPECT_EQ(folder.entryCount(), 1);
    EXPECT_TRUE(record->document.modified());
}
