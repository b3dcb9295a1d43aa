#include "document_window.h"

#include "app/command_table.h"
#include "controls/combo_box.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace {

const std::wstring kNotUnicode =
    L"This file seems not an Arabic Unicode text\r\nDo you want to open anyway ?";
const std::vector<int> kOkCancel = {IDOK, IDCANCEL};
const std::vector<int> kYesNoCancel = {IDCANCEL, IDYES, IDNO};

using DocumentFiles = DocumentWindowTest;
using UnsavedChanges = DocumentWindowTest;

} // namespace

TEST_F(DocumentFiles, SaveWritesTheMarkThenTheTextAsUtf16LittleEndian) {
    const std::wstring path = folder.file(L"two lines.txt");
    DialogDriver dialogs;
    dialogs.type(path);
    record->saveCommand();
    ASSERT_EQ(dialogs.finish().size(), 1u);
    EXPECT_EQ(bytesOf(path), "\xFF\xFE");
    EXPECT_EQ(record->document.fileName(), path);

    type(L"ab\r\nc");
    EXPECT_TRUE(record->document.modified());
    record->saveCommand(); // titled now: no dialog
    EXPECT_EQ(bytesOf(path), marked(L"ab\r\nc"));
    EXPECT_FALSE(record->document.modified());
    EXPECT_EQ(status(), L" Dawatik 1.4");
}

TEST_F(DocumentFiles, OpenEndsEveryLineInCrLfAndSaveWritesWhatItShows) {
    const std::wstring lf = file(L"lf.txt", marked(L"a\nb"));
    open(lf);
    EXPECT_EQ(text(), L"a\r\nb\r\n");
    EXPECT_FALSE(record->document.modified());
    EXPECT_EQ(record->document.fileName(), lf);
    EXPECT_EQ(status(), L" " + lf);
    record->saveCommand();
    EXPECT_EQ(bytesOf(lf), marked(L"a\r\nb\r\n"));

    open(file(L"cr.txt", marked(L"a\r\rb")));
    EXPECT_EQ(text(), L"a\r\n\r\nb\r\n");

    // An odd last byte is not part of the text.
    open(file(L"odd.txt", std::string("\xFF\xFE"
                                      "a\0b",
                                      5)));
    EXPECT_EQ(text(), L"a\r\n");
    EXPECT_FALSE(record->document.modified());
}

TEST_F(DocumentFiles, FileWithoutTheMarkOpensOnlyWhenTheUserAccepts) {
    const std::wstring previous = file(L"previous.txt", marked(L"p"));
    open(previous);
    type(L"q");
    const std::wstring before = text();

    const std::wstring bigEndian = file(L"big-endian.txt", std::string("\xFE\xFF\0a", 4));
    const std::wstring utf8 = file(L"utf-8.txt", "\xD9\x85"
                                                 "b");
    const std::wstring empty = file(L"empty.txt", "");
    const std::wstring oneByte = file(L"one byte.txt", "x");
    for (const std::wstring& path : {bigEndian, utf8, empty, oneByte}) {
        DialogDriver dialogs;
        dialogs.press(IDNO).type(path).press(IDCANCEL);
        record->openCommand();
        const auto seen = dialogs.finish();
        ASSERT_EQ(seen.size(), 3u);
        EXPECT_TRUE(seen[2].isProgramBox(kNotUnicode, kOkCancel)) << seen[2].text;
        EXPECT_EQ(text(), before);
        EXPECT_TRUE(record->document.modified());
        EXPECT_EQ(record->document.fileName(), previous);
        EXPECT_EQ(status(), L" " + previous);
    }
    record->saveCommand();
    EXPECT_EQ(bytesOf(previous), marked(L"p\r\nq"));

    // Accepted: the bytes from the very start are the code units.
    const std::pair<std::wstring, std::wstring> accepted[] = {
        {bigEndian, L"\xFFFE\x6100\r\n"}, {utf8, L"\x85D9\r\n"}, {empty, L""}, {oneByte, L""}};
    for (const auto& [path, expected] : accepted) {
        DialogDriver dialogs;
        dialogs.type(path).press(IDOK);
        record->openCommand();
        EXPECT_EQ(dialogs.finish().size(), 2u);
        EXPECT_EQ(text(), expected);
        EXPECT_EQ(record->document.fileName(), path);
        EXPECT_FALSE(record->document.modified());
    }
}

TEST_F(DocumentFiles, SaveAsTakesTheNewNameButLeavesTheStatusBar) {
    const std::wstring first = file(L"first.txt", marked(L"1"));
    open(first);
    type(L"2");
    const std::wstring second = folder.file(L"second.txt");
    DialogDriver dialogs;
    dialogs.type(second);
    record->saveAsCommand();
    ASSERT_EQ(dialogs.finish().size(), 1u);
    EXPECT_EQ(bytesOf(second), marked(L"1\r\n2"));
    EXPECT_EQ(bytesOf(first), marked(L"1"));
    EXPECT_EQ(record->document.fileName(), second);
    EXPECT_FALSE(record->document.modified());
    EXPECT_EQ(status(), L" " + first);

    DialogDriver cancelled;
    cancelled.cancelFileDialog();
    type(L"3");
    record->saveAsCommand();
    EXPECT_EQ(cancelled.finish().size(), 1u);
    EXPECT_EQ(record->document.fileName(), second);
    EXPECT_TRUE(record->document.modified());
}

TEST_F(UnsavedChanges, UntitledBlankTextGoesWithoutAQuestionTitledIsAsked) {
    type(L"  \r\n\t\r\n ");
    ASSERT_TRUE(record->document.modified());
    DialogDriver none;
    record->newCommand();
    EXPECT_TRUE(none.finish().empty());
    EXPECT_EQ(text(), L"");

    open(file(L"a.txt", marked(L"")));
    type(L"   ");
    DialogDriver asked;
    asked.press(IDNO);
    record->newCommand();
    const auto seen = asked.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].isProgramBox(kChanged, kYesNoCancel)) << seen[0].text;
    // New empties the document and the status bar.
    EXPECT_EQ(text(), L"");
    EXPECT_FALSE(record->document.modified());
    EXPECT_EQ(record->document.fileName(), L"");
    EXPECT_EQ(status(), L"");
}

TEST_F(UnsavedChanges, CancelStopsNewOpenSaveAndClosing) {
    // The dialogs a command shows, answered with `buttons` in turn (0: cancel a file dialog).
    const auto answered = [](std::initializer_list<int> buttons, auto command) {
        DialogDriver dialogs;
        for (int button : buttons)
            button ? dialogs.press(button) : dialogs.cancelFileDialog();
        command();
        testing_gui::pump();
        return dialogs.finish().size();
    };
    // A cancelled Save dialog leaves even an untouched untitled document modified.
    EXPECT_EQ(answered({0}, [&] { record->saveCommand(); }), 1u);
    EXPECT_TRUE(record->document.modified());

    type(L"keep me");
    EXPECT_EQ(answered({IDCANCEL}, [&] { record->newCommand(); }), 1u);
    // No file dialog follows the cancelled question.
    EXPECT_EQ(answered({IDCANCEL}, [&] { record->openCommand(); }), 1u);
    // Yes, then the save dialog cancelled: the same as Cancel.
    EXPECT_EQ(answered({IDYES, 0}, [&] { record->newCommand(); }), 2u);
    EXPECT_EQ(answered({IDCANCEL}, [&] { record->exitCommand(); }), 1u);
    EXPECT_TRUE(IsWindow(form->handle()));
    EXPECT_FALSE(ctl::application().terminated);
    EXPECT_EQ(text(), L"keep me");
    EXPECT_TRUE(record->document.modified());
    EXPECT_EQ(record->document.fileName(), L"");
}

TEST_F(UnsavedChanges, YesSavesAnUntitledCopyWithoutNamingTheDocument) {
    type(L"copy");
    const std::wstring copy = folder.file(L"copy.txt");
    DialogDriver dialogs;
    dialogs.press(IDYES).type(copy).cancelFileDialog();
    record->openCommand(); // Yes saves; then the Open dialog is cancelled
    EXPECT_EQ(dialogs.finish().size(), 3u);
    EXPECT_EQ(bytesOf(copy), marked(L"copy"));
    EXPECT_EQ(record->document.fileName(), L"");
    EXPECT_TRUE(record->document.modified());
}

TEST_F(UnsavedChanges, ExitAsksOnceThenClosesAndReleasesTheSettings) {
    record->openSettings(folder.file(L"Setting.ini"));
    type(L"x");
    DialogDriver dialogs;
    dialogs.press(IDNO);
    record->exitCommand();
    testing_gui::pump();
    testing_gui::pump();
    const auto seen = dialogs.finish();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, kChanged);
    EXPECT_FALSE(IsWindow(form->handle()));
    EXPECT_TRUE(ctl::application().terminated);
    EXPECT_EQ(record->settings, nullptr);
}

TEST_F(DocumentFiles, CopyGivenWhileADocumentArrivesTakesAllOfIt) {
    // Where Copy acts depends on the focus: the text, unless the size box has it.
    record->fontSizeBox = ctl::newComboBox(*form, 0);
    edit->setOnKeyDown([this](ctl::Control& sender, ctl::KeyCode& key, ctl::ShiftState shift) {
        record->onKeyPressed(sender, key, shift);
    });
    std::wstring whole;
    for (int line = 0; whole.size() < 40000; ++line)
        whole += L"\x0643\x062A\x0627\x0628 " + std::to_wstring(line) + L"\r\n";
    const std::wstring path = file(L"large.txt", marked(whole));
    const auto clipboard = [] {
        std::wstring text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        EmptyClipboard();
        CloseClipboard();
        return text;
    };
    // The menu's Copy (and Ctrl+C), then Ctrl+Insert in the text.
    const std::function<void()> copies[] = {[&] { record->run(app::Command::Copy); },
                                            [&] {
                                                BYTE keys[256];
                                                GetKeyboardState(keys);
                                                BYTE held[256];
                                                std::copy(std::begin(keys), std::end(keys), held);
                                                held[VK_CONTROL] = 0x80;
                                                SetKeyboardState(held);
                                                edit->sendMessage(WM_KEYDOWN, VK_INSERT, 1);
                                                SetKeyboardState(keys);
                                            }};
    for (const std::function<void()>& copy : copies) {
        open(path);
        ASSERT_TRUE(record->document.loading()) << "the document came in one piece";
        record->run(app::Command::SelectAll);
        copy();
        while (record->document.loading())
            testing_gui::pump();
        testing_gui::pump();
        EXPECT_EQ(clipboard().size(), whole.size());
        EXPECT_EQ(text(), whole);
    }
}
