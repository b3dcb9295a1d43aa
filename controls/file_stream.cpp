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

// A name beside `path` that no file has yet, created empty and opened for writing.
std::unique_ptr<FileStream> newTemporaryBeside(std::wstring_view path, std::wstring& name) {
    const std::wstring folder(filePath(path));
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 64; ++attempt) {
        name =
            folder + L"~dwt" + decimalText(static_cast<std::int32_t>(seed++ & 0xFFFFFF)) + L".tmp";
        auto stream = newWriteStream(name, kWriteNewMode);
        if (stream->isOpen() || stream->openError() != ERROR_FILE_EXISTS)
            return stream;
    }
    return nullptr;
}

// The finished file takes the place of `path`, wearing the old file's attributes. (The platform's
// file replacement would keep more of the old file, but under Wine it leaves a stray file of
// its own behind whenever it fails.)
bool moveIntoPlace(const std::wstring& temporary, const std::wstring& path, DWORD oldAttributes) {
    if (oldAttributes != INVALID_FILE_ATTRIBUTES) {
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (oldAttributes & kKept)
            SetFileAttributesW(temporary.c_str(), oldAttributes & kKept);
    }
    return MoveFileExW(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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

    std::wstring temporary;
    auto stream = newTemporaryBeside(target, temporary);
    if (!stream || !stream->isOpen())
        return SaveResult::NotWritable;
    const bool written = stream->writeFully(bytes, count) && stream->flush();
    if (!stream->close() || !written) {
        DeleteFileW(temporary.c_str());
        return SaveResult::WriteFailed;
    }
    if (!moveIntoPlace(temporary, target, attributes)) {
        DeleteFileW(temporary.c_str());
        return SaveResult::ReplaceFailed;
    }
    return SaveResult::Saved;
}

} // namespace ctl
