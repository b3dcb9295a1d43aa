#include "controls/file_stream.h"

#include "controls/text.h"
#include "controls/handles.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace ctl {

namespace {

// ReadFile and WriteFile take 32-bit counts; larger transfers go in pieces of this size.
constexpr std::size_t kMaxTransfer = 1u << 30;

HANDLE openFile(std::wstring_view fileName, FileMode mode) {
    const DWORD access = mode & 0xFFFF0000u;
    const DWORD share = mode & 0xFFu;
    const DWORD disposition = (mode >> 8) & 0xFFu;
    DWORD flags = (mode >> 16) & 0x1FFFu;
    if (flags == 0)
        flags = FILE_ATTRIBUTE_NORMAL;
    return CreateFileW(std::wstring(fileName).c_str(), access, share, nullptr, disposition, flags,
                       nullptr);
}

class FileStreamBase : public FileStream {
public:
    FileStreamBase(std::wstring_view fileName, FileMode mode) : FileStream(fileName, mode) {}

    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        LARGE_INTEGER distance;
        distance.QuadPart = offset;
        LARGE_INTEGER moved{};
        const DWORD method = origin == SeekOrigin::Begin     ? FILE_BEGIN
                             : origin == SeekOrigin::Current ? FILE_CURRENT
                                                             : FILE_END;
        if (!isOpen() || !SetFilePointerEx(handle(), distance, &moved, method))
            return -1;
        return moved.QuadPart;
    }

    // The whole 64-bit size: a file of 4 GB or more is never taken for a small one.
    std::uint64_t size() override {
        LARGE_INTEGER bytes{};
        if (!isOpen() || !GetFileSizeEx(handle(), &bytes))
            return 0;
        return static_cast<std::uint64_t>(bytes.QuadPart);
    }

protected:
    HANDLE handle() const noexcept { return static_cast<HANDLE>(handle_); }
};

class ReadStream final : public FileStreamBase {
public:
    explicit ReadStream(std::wstring_view fileName) : FileStreamBase(fileName, kReadMode) {}

    std::size_t read(void* buffer, std::size_t count) override {
        DWORD got = 0;
        const auto piece = static_cast<DWORD>(std::min(count, kMaxTransfer));
        if (!isOpen() || !ReadFile(handle(), buffer, piece, &got, nullptr))
            return 0;
        return got;
    }
};

class WriteStream final : public FileStreamBase {
public:
    WriteStream(std::wstring_view fileName, FileMode mode) : FileStreamBase(fileName, mode) {}

    // The file ends at the last byte written, so writing from the start replaces any longer
    // previous content. A file whose end cannot be set counts as not written.
    std::size_t write(const void* buffer, std::size_t count) override {
        if (!isOpen())
            return 0;
        const auto* bytes = static_cast<const unsigned char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            DWORD put = 0;
            const auto piece = static_cast<DWORD>(std::min(count - done, kMaxTransfer));
            if (!WriteFile(handle(), bytes + done, piece, &put, nullptr) || put == 0)
                break;
            done += put;
        }
        if (!SetEndOfFile(handle()))
            return 0;
        return done;
    }

    bool setSize(std::uint64_t newSize) override {
        const std::int64_t old = position();
        const auto target = static_cast<std::int64_t>(newSize);
        if (old < 0 || !seekTo(target) || !SetEndOfFile(handle()))
            return false;
        return target <= old || seekTo(old);
    }

    bool flush() override { return isOpen() && FlushFileBuffers(handle()); }
};

// Another program (an antivirus, the indexer) may hold a file for a moment: a step that meets
// a sharing violation is tried again a few times, for under a second in all, before it counts.
template <class Step>
DWORD retryWhileShared(Step step) {
    constexpr int kAttempts = 6;
    DWORD pause = 25;
    for (int attempt = 1;; ++attempt) {
        const DWORD error = step();
        const bool shared = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                            error == ERROR_UNABLE_TO_REMOVE_REPLACED;
        if (error == ERROR_SUCCESS || !shared || attempt == kAttempts)
            return error;
        Sleep(pause);
        pause *= 2;
    }
}

// The temporary file a save of `path` writes first: beside it, so that it can take its place,
// and named after it, so that what a save cut short leaves is written over by the next save of
// the same document. The name gives way where the document's own is as long as names may be.
std::wstring temporaryFor(const std::wstring& path) {
    constexpr std::wstring_view kPrefix = L"~dwt-", kSuffix = L".tmp";
    constexpr std::size_t kLongestName = 255;
    const std::size_t folder = filePath(path).size();
    const std::size_t kept =
        std::min(path.size() - folder, kLongestName - kPrefix.size() - kSuffix.size());
    return path.substr(0, folder) + std::wstring(kPrefix) + path.substr(folder, kept) +
           std::wstring(kSuffix);
}

// Opened for this save alone: while it is written nobody else opens it, so a second instance
// saving the same document meanwhile waits and then fails instead of mixing the two.
std::unique_ptr<FileStream> newTemporary(const std::wstring& name) {
    std::unique_ptr<FileStream> stream;
    retryWhileShared([&] {
        stream = newWriteStream(name, kWriteAloneMode);
        return stream->openError();
    });
    return stream;
}

DWORD replaceOnce(const std::wstring& temporary, const std::wstring& path) {
    {
        // Taking the file's place needs the right to delete it. Asking for it first finds a
        // holder that forbids it before the replacement starts: under Wine a replacement that
        // fails there leaves an empty file of its own in the folder.
        const UniqueFile probe(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe)
            return GetLastError();
    }
    // The replacement keeps what belongs to the old file (its security, other data streams);
    // where those cannot be carried over the text still counts.
    if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return ERROR_SUCCESS;
    return GetLastError();
}

DWORD moveOnce(const std::wstring& temporary, const std::wstring& path) {
    if (MoveFileExW(temporary.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ERROR_SUCCESS;
    return GetLastError();
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The finished file takes the place of `path`. A new document is moved into place; so is one
// whose old file a failed replacement removed (the platform may do that before it fails). The
// temporary is deleted only while the old file is still there: otherwise it holds the text.
bool putInPlace(const std::wstring& temporary, const std::wstring& path, DWORD oldAttributes) {
    DWORD error = ERROR_FILE_NOT_FOUND;
    if (exists(path))
        error = retryWhileShared([&] { return replaceOnce(temporary, path); });
    if (error != ERROR_SUCCESS && !exists(path))
        error = retryWhileShared([&] { return moveOnce(temporary, path); });
    if (error != ERROR_SUCCESS) {
        if (exists(path))
            DeleteFileW(temporary.c_str());
        return false;
    }
    // The document keeps the old file's marks; the temporary never wears them, so one a kill
    // leaves is an ordinary file the next save can write over.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & kKept) != 0)
        SetFileAttributesW(path.c_str(), oldAttributes & kKept);
    return true;
}

} // namespace

FileStream::FileStream(std::wstring_view fileName, FileMode mode)
    : handle_(openFile(fileName, mode)) {
    if (!isOpen())
        openError_ = GetLastError();
}

FileStream::~FileStream() {
    close();
}

bool FileStream::isOpen() const noexcept {
    return handle_ != INVALID_HANDLE_VALUE;
}

bool FileStream::close() noexcept {
    if (!isOpen())
        return true;
    const bool closed = CloseHandle(static_cast<HANDLE>(handle_)) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
}

std::unique_ptr<FileStream> newReadStream(std::wstring_view fileName) {
    return std::make_unique<ReadStream>(fileName);
}

std::unique_ptr<FileStream> newWriteStream(std::wstring_view fileName, FileMode mode) {
    return std::make_unique<WriteStream>(fileName, mode);
}

SaveResult saveFileSafely(std::wstring_view path, const void* bytes, std::size_t count) {
    const std::wstring target(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SaveResult::ReadOnly;
    if (exists) {
        // A file this program may not write (in use elsewhere, no permission) is left alone,
        // even where the folder would let a new file take its place.
        const UniqueFile probe(CreateFileW(target.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe)
            return SaveResult::ReplaceFailed;
    }

    const std::wstring temporary = temporaryFor(target);
    auto stream = newTemporary(temporary);
    if (!stream->isOpen())
        return SaveResult::NotWritable;
    const bool written = stream->writeFully(bytes, count) && stream->flush();
    if (!stream->close() || !written) {
        DeleteFileW(temporary.c_str());
        return SaveResult::WriteFailed;
    }
    if (!putInPlace(temporary, target, attributes))
        return SaveResult::ReplaceFailed;
    return SaveResult::Saved;
}

} // namespace ctl
