// Any byte string opens: it decodes as a document (with or without the byte-order mark)
// without a crash, every line ends in CR LF afterwards, and loading the result again changes
// nothing. The line list must agree wherever its U+0000 rule does not differ by design.

#include "app/document_format.h"
#include "controls/file_stream.h"
#include "tests/support/line_list_oracle.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// The code units of the bytes from `start`, little-endian; an odd last byte is dropped.
std::wstring unitsOf(const std::uint8_t* data, std::size_t size, std::size_t start) {
    std::wstring units;
    for (std::size_t i = start; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    return units;
}

bool wellFormed(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\0')
            return false;
        if (text[i] == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n'))
            return false;
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            return false;
    }
    return text.empty() || text.ends_with(L"\r\n");
}

class BytesStream : public ctl::Stream {
public:
    BytesStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::int64_t seek(std::int64_t offset, ctl::SeekOrigin origin) override {
        const std::int64_t base = origin == ctl::SeekOrigin::Begin     ? 0
                                  : origin == ctl::SeekOrigin::Current ? position_
                                                                       : end();
        if (base + offset < 0)
            return -1;
        position_ = base + offset;
        return position_;
    }
    std::uint64_t size() override { return size_; }
    std::size_t read(void* buffer, std::size_t count) override {
        if (position_ >= end())
            return 0;
        const std::size_t n = std::min(count, static_cast<std::size_t>(end() - position_));
        std::memcpy(buffer, data_ + position_, n);
        position_ += static_cast<std::int64_t>(n);
        return n;
    }

private:
    std::int64_t end() const { return static_cast<std::int64_t>(size_); }
    const std::uint8_t* data_;
    std::size_t size_;
    std::int64_t position_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool marked = size >= 2 && app::isByteOrderMark(data[0], data[1]);
    const std::wstring units = unitsOf(data, size, marked ? 2 : 0);

    std::wstring loaded = units;
    app::normalizeLineBreaks(loaded);
    check(wellFormed(loaded));
    std::wstring again = loaded;
    app::normalizeLineBreaks(again);
    check(again == loaded);

    const std::wstring listed = line_list_oracle::joinSplit(units);
    if (line_list_oracle::treatsBreaksAlike(units)) {
        check(listed == loaded);
        check(line_list_oracle::joinSplit(listed) == listed);
    }

    BytesStream stream(data, size);
    check(stream.seekTo(marked ? 2 : 0));
    ctl::StringList list;
    list.loadFromStream(stream, false);
    check(list.text() == listed);
    return 0;
}
