// Saving onto a full disk: a file system of 64 KB, mounted for this test by
// scripts/tiny-disk.sh, is filled up before the save.

#include "scenario.h"

#include <vector>

namespace {

// The tiny file system's folder as a Windows path, and its state as the script wrote it:
// "mounted", or why it could not be mounted.
std::wstring tinyDisk() {
    const std::string unixPath = DAWATIK_TINY_DISK;
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(c));
    return path + L"\\";
}

std::string tinyDiskState() {
    const std::string bytes =
        testing_files::readBytes(tinyDisk().substr(0, tinyDisk().size() - 1) + L".status");
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

// Writes a file until the disk takes no more, down to single bytes; the bytes written.
std::size_t fillDisk(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const std::string block(4096, 'x');
    std::size_t total = 0;
    for (DWORD size : {4096u, 1u}) {
        DWORD written = 0;
        while (WriteFile(file, block.data(), size, &written, nullptr) && written == size)
            total += written;
    }
    CloseHandle(file);
    return total;
}

} // namespace

using FullDisk = Scenario;

TEST_F(FullDisk, AFailedSaveIsToldAndKeepsTheFileAndTheChanges) {
    const std::string state = tinyDiskState();
    if (state != "mounted")
        GTEST_SKIP() << "no tiny file system to fill: " << (state.empty() ? "not mounted" : state);
    const std::wstring disk = tinyDisk();
    const std::wstring letter = disk + L"letter.txt";
    const std::wstring filler = disk + L"filler";
    struct Cleanup {
        std::wstring letter, filler;
        ~Cleanup() {
            DeleteFileW(letter.c_str());
            DeleteFileW(filler.c_str());
        }
    } cleanup{letter, filler};

    e2e::Program program(folder.path());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.typeIntoText(L"slam", L"\x0633\x0644\x0627\x0645"));
    program.press('S', true);
    ASSERT_NO_FATAL_FAILURE(chooseInFileDialog(program, letter));
    const std::string saved = testing_files::marked(L"\x0633\x0644\x0627\x0645");
    ASSERT_TRUE(waitForFile(letter, saved));

    ASSERT_GT(fillDisk(filler), 0u);
    program.type(L"\nktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb ktb");
    std::wstring longer = L"\x0633\x0644\x0627\x0645\r\n";
    for (int i = 0; i < 16; ++i)
        longer += i ? L" \x0643\x062A\x0628" : L"\x0643\x062A\x0628";
    ASSERT_TRUE(program.waitForText(longer));

    // Ctrl+S on the named document: the failure is told, naming the file.
    program.press('S', true);
    const e2e::Dialog box = program.waitForDialog();
    ASSERT_NE(box.window, nullptr) << "the failure was not told";
    EXPECT_EQ(box.caption, L"Dawatik 1.4");
    EXPECT_EQ(box.text, L"The text could not be saved in\r\n" + letter +
                            L"\r\nNot all of the text could be written; the disk may be full.");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(e2e::Program::answer(box, IDOK));

    // The old file is intact, nothing half-written is left beside it, and the text stays.
    EXPECT_EQ(testing_files::readBytes(letter), saved);
    EXPECT_EQ(namesIn(disk), (std::vector<std::wstring>{L"filler", L"letter.txt"}));
    EXPECT_EQ(program.editText(), longer);
    EXPECT_EQ(program.title(), L"Dawatik 1.4");

    // Still modified: a new document asks first; Cancel keeps it.
    program.press('N', true);
    const e2e::Dialog question = expectChangedQuestion(program);
    ASSERT_TRUE(e2e::Program::answer(question, IDCANCEL));
    EXPECT_EQ(program.editText(), longer);

    // With room again, the same Ctrl+S saves it.
    ASSERT_TRUE(DeleteFileW(filler.c_str()));
    program.press('S', true);
    EXPECT_TRUE(waitForFile(letter, testing_files::marked(longer)));
    EXPECT_TRUE(program.noDialog());
    EXPECT_EQ(program.closeWithAltF4(), 0);
}
