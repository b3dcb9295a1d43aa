#pragma once
// Streams: a byte stream interface (portable, so line lists can load from any stream) and the
// file streams over native file handles that documents are read and written through.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace ctl {

enum class SeekOrigin : std::uint8_t { Begin, Current, End };

class Stream {
public:
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    // Releasing a stream closes it.
    virtual ~Stream() = default;

    // The new position, or -1 when the stream cannot move there.
    virtual std::int64_t seek(std::int64_t offset, SeekOrigin origin) = 0;
    // The byte count; 0 when it cannot be told.
    virtual std::uint64_t size() = 0;
    // Cuts or extends the stream; the position becomes the smaller of the old one and the size.
    virtual bool setSize(std::uint64_t) { return false; }
    // Bytes actually read; 0 at the end or on failure.
    virtual std::size_t read(void*, std::size_t) { return 0; }
    // Bytes actually written; fewer than asked means the write failed.
    virtual std::size_t write(const void*, std::size_t) { return 0; }
    // Pushes written bytes to the disk.
    virtual bool flush() { return true; }

    std::int64_t position() { return seek(0, SeekOrigin::Current); }
    bool seekTo(std::int64_t offset) { return seek(offset, SeekOrigin::Begin) == offset; }
    // Reads until `count` bytes arrived or the stream has no more; answers the bytes read.
    std::size_t readFully(void* buffer, std::size_t count) {
        auto* bytes = static_cast<unsigned char*>(buffer);
        std::size_t done = 0;
        while (done < count) {
            const std::size_t got = read(bytes + done, count - done);
            if (got == 0)
                break;
            done += got;
        }
        return done;
    }
    bool writeFully(const void* buffer, std::size_t count) { return write(buffer, count) == count; }
};

// File mode word: share mode in bits 0..7, creation disposition in bits 8..15, flags in bits
// 16..28 (0: normal file), access in the high word.
using FileMode = std::uint32_t;
inline constexpr FileMode kReadMode = 0x80000301;       // read, share read, open existing
inline constexpr FileMode kWriteMode = 0x40000201;      // write, share read, create always
inline constexpr FileMode kWriteNewMode = 0x40000101;   // write, share read, create new only
inline constexpr FileMode kWriteAloneMode = 0x40000200; // write, share nothing, create always

// A file stream. A stream whose file could not be opened reads and writes nothing, has size 0
// and tells why through openError().
class FileStream : public Stream {
public:
    ~FileStream() override;
    bool isOpen() const noexcept;
    // The platform's error code of a failed open; 0 when the file is open.
    std::uint32_t openError() const noexcept { return openError_; }
    // Closes now and answers whether the platform accepted the close (late write errors).
    bool close() noexcept;

protected:
    FileStream(std::wstring_view fileName, FileMode mode);

    void* handle_;
    std::uint32_t openError_ = 0;
};

// Opens an existing file for reading.
std::unique_ptr<FileStream> newReadStream(std::wstring_view fileName);
// Creates (or with kWriteMode also empties) a file for writing. Every write leaves the file
// ending at the last byte written.
std::unique_ptr<FileStream> newWriteStream(std::wstring_view fileName, FileMode mode = kWriteMode);

// Why saving a file failed, if it did.
enum class SaveResult : std::uint8_t {
    Saved,
    ReadOnly,     // the file is marked read-only
    NotWritable,  // no temporary file could be made beside it (missing or locked folder, or
                  // another save of the same file under way)
    WriteFailed,  // the bytes did not all reach the disk
    ReplaceFailed // the finished file could not take the old one's place
};

// Writes `bytes` to a temporary file beside `path` and puts it in place of `path` only once all
// of it is on the disk, so `path` always holds either its old or its whole new content. The
// temporary is named after `path` ("~dwt-<name>.tmp"): one that a killed save left is written
// over by the next save of the same file, and no other file is touched.
SaveResult saveFileSafely(std::wstring_view path, const void* bytes, std::size_t count);

} // namespace ctl
