#include "controls/file_stream.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <iterator>

using namespace ctl;
using testing_files::readBytes;
using testing_files::TempFolder;
using testing_files::writeBytes;

namespace {

// Another program's handle that reads the file and lets nobody delete or rename it meanwhile.
HANDLE holdWithoutDeleting(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

TEST(ReadStream, MissingFileReadsNothingAndTellsWhy) {
    TempFolder folder;
    auto stream = newReadStream(folder.file(L"missing.txt"));
    char buffer[2] = {1, 1};
    EXPECT_FALSE(stream->isOpen());
    EXPECT_EQ(stream->openError(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(stream->read(buffer, 2), 0u);
    EXPECT_EQ(stream->size(), 0u);
    EXPECT_EQ(stream->position(), -1);
    EXPECT_TRUE(stream->close());
}

TEST(ReadStream, SizeCountsBeyondFourGigabytes) {
    TempFolder folder;
    const std::wstring path = folder.file(L"sparse.txt");
    {
        // A sparse file: 4 GB + 4 bytes, but no disk space used.
        auto writer = newWriteStream(path);
        ASSERT_TRUE(writer->setSize((4ull << 30) + 4));
    }
    auto stream = newReadStream(path);
    EXPECT_EQ(stream->size(), (4ull << 30) + 4);
}

TEST(WriteStream, EveryWriteCutsTheFileAtItsEnd) {
    TempFolder folder;
    const std::wstring path = folder.file(L"a.txt");
    ASSERT_TRUE(writeBytes(path, "a much longer old content"));
    {
        auto stream = newWriteStream(path);
        ASSERT_TRUE(stream->isOpen());
        EXPECT_TRUE(stream->writeFully("abcdef", 6));
        ASSERT_TRUE(stream->seekTo(2));
        EXPECT_TRUE(stream->writeFully("X", 1));
        EXPECT_EQ(stream->size(), 3u);
    }
    EXPECT_EQ(readBytes(path), "abX");
}

TEST(WriteStream, SetSizeKeepsThePositionUnlessTheEndMovesBeforeIt) {
    TempFolder folder;
    auto stream = newWriteStream(folder.file(L"b.txt"));
    ASSERT_TRUE(stream->writeFully("abcd", 4));
    ASSERT_TRUE(stream->setSize(10));
    EXPECT_EQ(stream->position(), 4);
    EXPECT_EQ(stream->size(), 10u);
    ASSERT_TRUE(stream->setSize(2));
    EXPECT_EQ(stream->position(), 2);
    EXPECT_EQ(stream->size(), 2u);
}

TEST(SaveFileSafely, CreatesOrReplacesAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::wstring path = folder.file(L"\x0645\x0644\x0641.txt");
    EXPECT_EQ(saveFileSafely(path, "first", 5), SaveResult::Saved);
    EXPECT_EQ(readBytes(path), "first");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(saveFileSafely(path, "2", 1), SaveResult::Saved);
    EXPECT_EQ(readBytes(path), "2");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(saveFileSafely(path, "", 0), SaveResult::Saved);
    EXPECT_EQ(readBytes(path), "");
    // A name as long as a folder entry may be: the temporary's name gives way, not the save.
    const std::wstring longest = folder.file(std::wstring(251, L'a') + L".txt");
    ASSERT_TRUE(writeBytes(longest, "old"));
    EXPECT_EQ(saveFileSafely(longest, "new", 3), SaveResult::Saved);
    EXPECT_EQ(readBytes(longest), "new");
    EXPECT_EQ(folder.entryCount(), 2);
}

TEST(SaveFileSafely, FailuresLeaveTheOldFileWhole) {
    TempFolder folder;
    const std::wstring readOnly = folder.file(L"read-only.txt");
    ASSERT_TRUE(writeBytes(readOnly, "old"));
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(saveFileSafely(readOnly, "new", 3), SaveResult::ReadOnly);
    EXPECT_EQ(readBytes(readOnly), "old");

    EXPECT_EQ(saveFileSafely(folder.file(L"no folder\\a.txt"), "new", 3), SaveResult::NotWritable);

    // Another program holds the file all along: the finished new file cannot take its place.
    const std::wstring inUse = folder.file(L"in-use.txt");
    ASSERT_TRUE(writeBytes(inUse, "old"));
    HANDLE other = holdWithoutDeleting(inUse);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(saveFileSafely(inUse, "new", 3), SaveResult::ReplaceFailed);
    CloseHandle(other);
    EXPECT_EQ(readBytes(inUse), "old");
    EXPECT_EQ(folder.entryCount(), 2);
}

// What a save cut short by a kill leaves: the temporary file of that document, half written.
TEST(SaveFileSafely, ReplacesTheTemporaryALeftSaveOfTheDocumentLeftAndNothingElse) {
    TempFolder folder;
    const std::wstring path = folder.file(L"notes.txt");
    ASSERT_TRUE(writeBytes(path, "old"));
    ASSERT_TRUE(writeBytes(folder.file(L"~dwt-notes.txt.tmp"), "half of a new"));
    // Look-alikes the program did not make for this document: another document's temporary, a
    // name of the old form, a user's own files.
    const std::wstring alike[] = {L"~dwt-other.txt.tmp", L"~dwt12345678.tmp", L"notes.txt.tmp",
                                  L"~dwt-notes.txt.tmp.bak", L"~notes.txt.tmp"};
    for (const std::wstring& name : alike)
        ASSERT_TRUE(writeBytes(folder.file(name), "not mine"));

    EXPECT_EQ(saveFileSafely(path, "new", 3), SaveResult::Saved);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_FALSE(testing_files::exists(folder.file(L"~dwt-notes.txt.tmp")));
    for (const std::wstring& name : alike)
        EXPECT_EQ(readBytes(folder.file(name)), "not mine");
    EXPECT_EQ(folder.entryCount(), 1 + static_cast<int>(std::size(alike)));

    // A save of the same document that is writing its temporary right now is left alone.
    HANDLE other = CreateFileW(folder.file(L"~dwt-notes.txt.tmp").c_str(), GENERIC_WRITE, 0,
                               nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(saveFileSafely(path, "newer", 5), SaveResult::NotWritable);
    CloseHandle(other);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(readBytes(folder.file(L"~dwt-notes.txt.tmp")), "");
}

// An antivirus or the indexer opens a file for a moment: the save waits for it instead of
// failing.
TEST(SaveFileSafely, WaitsForAProgramThatHoldsTheFileForAMoment) {
    TempFolder folder;
    const std::wstring path = folder.file(L"held.txt");
    ASSERT_TRUE(writeBytes(path, "old"));
    HANDLE holder = holdWithoutDeleting(path);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    HANDLE release = CreateThread(
        nullptr, 0,
        [](void* file) -> DWORD {
            Sleep(150);
            CloseHandle(static_cast<HANDLE>(file));
            return 0;
        },
        holder, 0, nullptr);
    ASSERT_NE(release, nullptr);
    EXPECT_EQ(saveFileSafely(path, "new", 3), SaveResult::Saved);
    WaitForSingleObject(release, INFINITE);
    CloseHandle(release);
    EXPECT_EQ(readBytes(path), "new");
    EXPECT_EQ(folder.entryCount(), 1);
}
