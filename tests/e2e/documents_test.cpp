// Documents through the real file dialogs and message boxes: save, reopen, the unsaved-changes
// question on every path, a file without the Unicode mark, and closing the program.

#include "scenario.h"

namespace {

const std::wstring kLetter = L"\x0633\x0644\x0627\x0645\r\n\x0643\x062A\x0628"; // s l a m, k t b
// Opened, a text gains a line break at its end.
const std::wstring kOpened = kLetter + L"\r\n";

} // namespace

using Documents = Scenario;

TEST_F(Documents, SaveReopenAndTheUnsavedChangesQuestion) {
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    const std::wstring letter = folder.file(L"letter.txt");
    ASSERT_TRUE(program.typeIntoText(L"slam\nktb", kLetter));

    // Ctrl+S on an untitled document asks for a name; the file holds the text as typed, with
    // the line break as CR LF.
    program.press('S', true);
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, letter));
    ASSERT_TRUE(waitForFile(letter, testing_files::marked(kLetter)));
    EXPECT_EQ(program.title(), L"Dawatik 1.4");

    // Saved: Ctrl+N asks nothing.
    program.press('N', true);
    ASSERT_TRUE(program.waitForText(L""));
    EXPECT_TRUE(program.waitForStatus(L""));
    EXPECT_TRUE(program.noDialog());

    // The toolbar's Open button: the text, and the path in the status bar.
    program.clickButton(app::toolbarEntryOf(app::Command::Open));
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, letter));
    ASSERT_TRUE(program.waitForText(kOpened));
    EXPECT_TRUE(program.waitForStatus(L" " + letter));
    EXPECT_EQ(program.title(), L"Dawatik 1.4");

    // Changed: Cancel keeps the text and the document.
    ASSERT_TRUE(program.caretToEnd());
    program.type(L"n");
    const std::wstring changed = kOpened + L"\x0646";
    ASSERT_TRUE(program.waitForText(changed));
    program.press('N', true);
    e2e::Dialog box = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(box, IDCANCEL));
    EXPECT_EQ(program.editText(), changed);
    EXPECT_TRUE(program.waitForStatus(L" " + letter));

    // Ctrl+S on the named document writes it without a dialog; then No to the New button
    // discards a change.
    program.press('S', true);
    ASSERT_TRUE(waitForFile(letter, testing_files::marked(changed)));
    EXPECT_TRUE(program.noDialog());
    program.type(L"m");
    ASSERT_TRUE(program.waitForText(changed + L"\x0645"));
    program.clickButton(app::toolbarEntryOf(app::Command::New));
    box = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(box, IDNO));
    EXPECT_TRUE(program.waitForText(L""));
    EXPECT_TRUE(program.waitForStatus(L""));
    EXPECT_EQ(testing_files::readBytes(letter), testing_files::marked(changed));

    // Yes on an untitled document saves a copy under a chosen name; the editor is emptied.
    program.type(L"b");
    ASSERT_TRUE(program.waitForText(L"\x0628"));
    program.press('N', true);
    box = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(box, IDYES));
    const std::wstring copy = folder.file(L"copy.txt");
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, copy));
    EXPECT_TRUE(program.waitForText(L""));
    EXPECT_TRUE(waitForFile(copy, testing_files::marked(L"\x0628")));

    // Ctrl+O, a change, then closing the program: Yes saves into the opened file, and the
    // program ends.
    program.press('O', true);
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, letter));
    ASSERT_TRUE(program.waitForText(changed + L"\r\n"));
    ASSERT_TRUE(program.caretToEnd());
    program.type(L"d");
    ASSERT_TRUE(program.waitForText(changed + L"\r\n\x062F"));
    program.press(VK_F4, false, true);
    box = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(box, IDYES));
    EXPECT_EQ(program.waitForExit(), 0);
    EXPECT_EQ(testing_files::readBytes(letter), testing_files::marked(changed + L"\r\n\x062F"));
}

TEST_F(Documents, AFileWithoutTheMarkIsOpenedOnlyWhenTheUserAgrees) {
    // s l a m as UTF-16LE, without the mark FF FE.
    const std::wstring plain = folder.file(L"plain.txt");
    const std::string plainBytes = testing_files::marked(L"\x0633\x0644\x0627\x0645").substr(2);
    ASSERT_TRUE(testing_files::writeBytes(plain, plainBytes));
    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.typeIntoText(L"k", L"\x0643"));

    // File > Save as... with the keyboard, over an existing file: the dialog asks first.
    const std::wstring kaf = folder.file(L"kaf.txt");
    ASSERT_TRUE(testing_files::writeBytes(kaf, "old"));
    program.chooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, kaf));
    const e2e::Dialog replace = program.waitForDialog();
    ASSERT_NE(replace.window, nullptr) << "no question about the existing file";
    EXPECT_FALSE(replace.fileDialog);
    EXPECT_EQ(replace.buttons, (std::vector<int>{IDYES, IDNO}));
    ASSERT_TRUE(e2e::Program::answer(replace, IDYES));
    EXPECT_TRUE(waitForFile(kaf, testing_files::marked(L"\x0643")));
    EXPECT_TRUE(program.noDialog());

    for (const int button : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
        program.press('O', true);
        ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, plain));
        const e2e::Dialog box = program.waitForDialog();
        ASSERT_NE(box.window, nullptr);
        EXPECT_FALSE(box.fileDialog);
        EXPECT_EQ(box.caption, L"Dawatik 1.4");
        EXPECT_EQ(box.text,
                  L"This file seems not an Arabic Unicode text\r\nDo you want to open anyway ?");
        EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
        ASSERT_TRUE(e2e::Program::answer(box, button));
        if (button == IDCANCEL) {
            // The current document stays, named as it was.
            ASSERT_TRUE(e2e::waitFor([&] { return program.noDialog(); }));
            EXPECT_EQ(program.editText(), L"\x0643");
        }
    }
    // Read from its first byte.
    EXPECT_TRUE(program.waitForText(L"\x0633\x0644\x0627\x0645\r\n"));
    EXPECT_TRUE(program.waitForStatus(L" " + plain));

    // Unchanged since opening: the program closes without a question.
    EXPECT_EQ(program.closeWithAltF4(), 0);
    EXPECT_EQ(testing_files::readBytes(plain), plainBytes);
}
