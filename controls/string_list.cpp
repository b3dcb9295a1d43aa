#include "controls/string_list.h"

#include "controls/file_stream.h"

#include <cstdint>

namespace ctl {

std::wstring_view StringList::item(int index) const noexcept {
    if (index < 0 || index >= count())
        return {};
    return items_[static_cast<std::size_t>(index)];
}

int StringList::add(std::wstring_view line) {
    items_.emplace_back(line);
    return count() - 1;
}

void StringList::insert(int index, std::wstring_view line) {
    if (index < 0)
        return;
    const auto at = static_cast<std::size_t>(index);
    if (items_.size() < at)
        items_.resize(at);
    items_.emplace(items_.begin() + index, line);
}

void StringList::remove(int index) {
    if (index >= 0 && index < count())
        items_.erase(items_.begin() + index);
}

void StringList::setItem(int index, std::wstring_view line) {
    remove(index);
    insert(index, line);
}

std::wstring StringList::text() const {
    std::size_t length = 0;
    for (const std::wstring& line : items_)
        length += line.size() + 2;
    std::wstring joined;
    joined.reserve(length);
    for (const std::wstring& line : items_) {
        joined += line;
        joined += L"\r\n";
    }
    return joined;
}

void StringList::setText(std::wstring_view text) {
    clear();
    if (text.empty())
        return;
    // Mark every line end with a zero in a copy (the copy's own final zero ends the last line),
    // then collect the lines between the zeros.
    std::wstring block(text);
    const std::size_t n = block.size();
    for (std::size_t i = 0; i < n && block[i] != L'\0'; ++i) {
        if (block[i] == L'\r') {
            block[i] = L'\0';
            if (i + 1 < n && block[i + 1] == L'\n')
                ++i;
        } else if (block[i] == L'\n') {
            block[i] = L'\0';
        }
    }
    std::size_t p = 0;
    while (p < n) {
        std::size_t end = block.find(L'\0', p);
        if (end == std::wstring::npos)
            end = n;
        items_.emplace_back(block, p, end - p);
        p = end + 1;
        if (p < n && block[p] == L'\n')
            ++p;
    }
}

void StringList::loadFromStream(Stream& stream, bool append) {
    if (!append)
        clear();
    const std::int64_t position = stream.position();
    const std::uint64_t size = stream.size();
    std::wstring loaded;
    if (position >= 0 && size > static_cast<std::uint64_t>(position)) {
        const std::uint64_t rest = size - static_cast<std::uint64_t>(position);
        std::string bytes(static_cast<std::size_t>(rest / 2 * 2), '\0');
        bytes.resize(stream.readFully(bytes.data(), bytes.size()) / 2 * 2);
        stream.seek(0, SeekOrigin::End);
        loaded.resize(bytes.size() / 2);
        for (std::size_t i = 0; i < loaded.size(); ++i) {
            const auto low = static_cast<unsigned char>(bytes[2 * i]);
            const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
            loaded[i] = static_cast<wchar_t>(low | (high << 8));
        }
    }
    setText(text() + loaded);
}

} // namespace ctl
