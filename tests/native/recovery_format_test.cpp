#include "app/recovery_format.h"

#include <gtest/gtest.h>

#include <string>

using app::decodeRecoveryCopy;
using app::encodeRecoveryCopy;

namespace {

// Every code unit a UTF-16 text can hold, in one string: NULs, line breaks, lone surrogates of
// both halves, an unpaired pair in the wrong order, and the last unit.
std::wstring everyKindOfUnit() {
    std::wstring text;
    for (unsigned unit :
         {0x0000u, 0x000Du, 0x000Au, 0x0041u, 0x0645u, 0x064Eu, 0xD800u, 0xDBFFu, 0xDC00u, 0xDFFFu,
          0xDC00u, 0xD800u, 0xFEFFu, 0xFFFEu, 0xFFFFu, 0x00FFu, 0x0100u})
        text.push_back(static_cast<wchar_t>(unit));
    return text;
}

} // namespace

TEST(RecoveryFormat, RoundTripsPathAndTextUnitForUnit) {
    const std::wstring units = everyKindOfUnit();
    std::wstring large;
    for (unsigned i = 0; i < 300000; ++i)
        large.push_back(static_cast<wchar_t>((i * 7919u) & 0xFFFF));
    const std::wstring cases[][2] = {
        {L"", L""},
        {L"", L"\x0645\x0631\x062D\x0628\x0627\r\n"},
        {L"C:\\\x0645\\a b.txt", L"line one\r\nline two"},
        {units, units + L"tail"},
        {L"x", large},
    };
    for (const auto& [path, text] : cases) {
        const auto copy = decodeRecoveryCopy(encodeRecoveryCopy(path, text));
        ASSERT_TRUE(copy.has_value());
        EXPECT_EQ(copy->path, path);
        // Compared whole, not printed: a difference would print the large text.
        EXPECT_TRUE(copy->text == text) << "a text of " << text.size() << " units";
    }
}

TEST(RecoveryFormat, StoresUnitsLittleEndianBehindAHeaderOfLengths) {
    const std::string bytes = encodeRecoveryCopy(L"p", std::wstring(L"\x0645\0", 2));
    ASSERT_EQ(bytes.size(), 16u + 2 * 3 + 4);
    EXPECT_EQ(bytes.substr(0, 4), "DWRC");
    EXPECT_EQ(bytes.substr(4, 12), std::string("\1\0\0\0\1\0\0\0\2\0\0\0", 12));
    EXPECT_EQ(bytes.substr(16, 6), std::string("p\0\x45\x06\0\0", 6));
}

TEST(RecoveryFormat, EveryTruncationExtensionAndChangedByteIsRejected) {
    const std::string whole = encodeRecoveryCopy(L"C:\\a.txt", L"some text\r\n");
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(decodeRecoveryCopy(whole.substr(0, length))) << "length " << length;
    EXPECT_FALSE(decodeRecoveryCopy(whole + '\0'));
    EXPECT_FALSE(decodeRecoveryCopy(whole + whole));
    for (std::size_t at = 0; at < whole.size(); ++at) {
        for (unsigned flip : {0x01u, 0x80u}) {
            std::string changed = whole;
            changed[at] = static_cast<char>(changed[at] ^ flip);
            EXPECT_FALSE(decodeRecoveryCopy(changed)) << "byte " << at << " ^ " << flip;
        }
    }
}

TEST(RecoveryFormat, HeadersClaimingMoreThanTheFileHoldsAreRejected) {
    // Lengths that would overflow 32-bit arithmetic, or point far past the end.
    for (const char* lengths : {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", "\xFF\xFF\xFF\x7F\x01\0\0\x80",
                                "\0\0\0\0\0\0\0\x40"}) {
        std::string bytes = std::string("DWRC\1\0\0\0", 8) + std::string(lengths, 8);
        bytes += std::string(64, 'x');
        EXPECT_FALSE(decodeRecoveryCopy(bytes));
    }
    EXPECT_FALSE(decodeRecoveryCopy(std::string(20, '\0')));
    std::string otherVersion = encodeRecoveryCopy(L"", L"a");
    otherVersion[4] = 2;
    EXPECT_FALSE(decodeRecoveryCopy(otherVersion));
}
