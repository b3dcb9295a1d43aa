#include "controls/text.h"

#include <gtest/gtest.h>

#include <climits>

using namespace ctl;

TEST(DecimalText, WritesSignAndDigitsWithoutPadding) {
    EXPECT_EQ(decimalText(0), L"0");
    EXPECT_EQ(decimalText(72), L"72");
    EXPECT_EQ(decimalText(-5), L"-5");
    EXPECT_EQ(decimalText(INT32_MIN), L"-2147483648");
    EXPECT_EQ(decimalText(INT32_MAX), L"2147483647");
}

TEST(IntegerFromText, ReadsOptionalSignThenLeadingDigits) {
    EXPECT_EQ(integerFromText(L"72"), 72);
    EXPECT_EQ(integerFromText(L"-5x"), -5);
    EXPECT_EQ(integerFromText(L"+12"), 12);
    EXPECT_EQ(integerFromText(L"12pt"), 12);
    EXPECT_EQ(integerFromText(L" 12"), 0);
    EXPECT_EQ(integerFromText(L"pt"), 0);
    EXPECT_EQ(integerFromText(L""), 0);
    EXPECT_EQ(integerFromText(L"-"), 0);
}

TEST(IntegerFromText, WrapsAroundIn32Bits) {
    EXPECT_EQ(integerFromText(L"4294967296"), 0);
    EXPECT_EQ(integerFromText(L"2147483648"), INT32_MIN);
    EXPECT_EQ(integerFromText(L"-2147483648"), INT32_MIN);
}

TEST(FilePath, KeepsEverythingUpToTheLastSeparator) {
    EXPECT_EQ(filePath(L"C:\\dir\\name.txt"), L"C:\\dir\\");
    EXPECT_EQ(filePath(L"name.txt"), L"");
    EXPECT_EQ(filePath(L"C:name.txt"), L"C:");
    EXPECT_EQ(filePath(L"/home/user/a.txt"), L"/home/user/");
}

TEST(Trim, RemovesControlCharactersAndSpacesOnOneSide) {
    EXPECT_EQ(trimLeft(L" \t\r\nab \n"), L"ab \n");
    EXPECT_EQ(trimRight(L" \t\r\nab \n"), L" \t\r\nab");
    EXPECT_EQ(trimRight(std::wstring(L"a\0\0", 3)), L"a");
    EXPECT_EQ(trimLeft(L"   "), L"");
}

TEST(CompareText, ComparesCodeUnitsUnsignedThenLengths) {
    EXPECT_EQ(compareText(L"abc", L"abc"), 0);
    EXPECT_LT(compareText(L"ab", L"abc"), 0);
    EXPECT_GT(compareText(L"b", L"abc"), 0);
    // U+FFFE sorts above ASCII even where wchar_t is signed 16-bit elsewhere.
    EXPECT_GT(compareText(L"\xFFFE", L"a"), 0);
}
