#include "app/recovery_format.h"

#include <cstdint>

namespace app {

namespace {

constexpr char kMagic[4] = {'D', 'W', 'R', 'C'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kCheckSize = 4;

std::uint32_t fnv1a(std::string_view bytes) {
    std::uint32_t hash = 2166136261u;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

void putNumber(char* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t getNumber(const char* in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return value;
}

char* putUnits(char* out, std::wstring_view units) {
    for (wchar_t c : units) {
        const auto unit = static_cast<std::uint16_t>(c);
        *out++ = static_cast<char>(unit & 0xFF);
        *out++ = static_cast<char>(unit >> 8);
    }
    return out;
}

std::wstring getUnits(const char* in, std::size_t count) {
    std::wstring units(count, L'\0');
    for (std::size_t i = 0; i < count; ++i) {
        const auto low = static_cast<unsigned char>(in[2 * i]);
        const auto high = static_cast<unsigned char>(in[2 * i + 1]);
        units[i] = static_cast<wchar_t>(low | (high << 8));
    }
    return units;
}

} // namespace

std::string encodeRecoveryCopy(std::wstring_view path, std::wstring_view text) {
    std::string bytes(kHeaderSize + 2 * (path.size() + text.size()) + kCheckSize, '\0');
    char* out = bytes.data();
    for (char c : kMagic)
        *out++ = c;
    putNumber(out, kVersion);
    putNumber(out + 4, static_cast<std::uint32_t>(path.size()));
    putNumber(out + 8, static_cast<std::uint32_t>(text.size()));
    out = putUnits(putUnits(out + 12, path), text);
    putNumber(out, fnv1a(std::string_view(bytes.data(), bytes.size() - kCheckSize)));
    return bytes;
}

std::optional<RecoveryCopy> decodeRecoveryCopy(std::string_view bytes) {
    if (bytes.size() < kHeaderSize + kCheckSize ||
        bytes.substr(0, 4) != std::string_view(kMagic, 4) || getNumber(&bytes[4]) != kVersion)
        return std::nullopt;
    const std::uint64_t pathUnits = getNumber(&bytes[8]);
    const std::uint64_t textUnits = getNumber(&bytes[12]);
    // In 64 bits the sum cannot wrap, whatever the header claims.
    if (bytes.size() != kHeaderSize + 2 * (pathUnits + textUnits) + kCheckSize)
        return std::nullopt;
    const std::size_t checked = bytes.size() - kCheckSize;
    if (getNumber(&bytes[checked]) != fnv1a(bytes.substr(0, checked)))
        return std::nullopt;
    RecoveryCopy copy;
    // Both counts fit in the size checked above.
    const auto pathSize = static_cast<std::size_t>(pathUnits);
    copy.path = getUnits(&bytes[kHeaderSize], pathSize);
    copy.text = getUnits(&bytes[kHeaderSize + 2 * pathSize], static_cast<std::size_t>(textUnits));
    return copy;
}

std::wstring restoreQuestion(const std::wstring& path, std::size_t more) {
    std::wstring text = L"The program did not end normally last time.\r\nDo you want to restore "
                        L"the unsaved changes ";
    text += path.empty() ? std::wstring(L"of the untitled document") : L"of\r\n" + path;
    text += L" ?";
    if (more == 1)
        text += L"\r\n\r\nThe unsaved changes of one more document were left as well. They are "
                L"offered next; if you restore these, at the next start.";
    else if (more > 1)
        text += L"\r\n\r\nThe unsaved changes of " + std::to_wstring(more) +
                L" more documents were left as well. They are offered in turn; if you restore "
                L"these, at the next start.";
    return text;
}

} // namespace app
