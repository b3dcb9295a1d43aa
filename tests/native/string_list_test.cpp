#include "controls/file_stream.h"
#include "controls/string_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace ctl;

namespace {

std::vector<std::wstring> lines(const StringList& list) {
    std::vector<std::wstring> result;
    for (int i = 0; i < list.count(); ++i)
        result.emplace_back(list.item(i));
    return result;
}

StringList split(std::wstring_view text) {
    StringList list;
    list.setText(text);
    return list;
}

using Lines = std::vector<std::wstring>;

// A stream over bytes in memory.
class MemoryStream : public Stream {
public:
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}
    std::int64_t seek(std::int64_t offset, SeekOrigin origin) override {
        const std::int64_t base = origin == SeekOrigin::Begin     ? 0
                                  : origin == SeekOrigin::Current ? position_
                                                                  : size_();
        if (base + offset < 0)
            return -1;
        position_ = base + offset;
        return position_;
    }
    std::uint64_t size() override { return static_cast<std::uint64_t>(size_()); }
    std::size_t read(void* buffer, std::size_t count) override {
        const std::int64_t left = std::max<std::int64_t>(0, size_() - position_);
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, count));
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += static_cast<std::int64_t>(n);
        return n;
    }

private:
    std::int64_t size_() const { return static_cast<std::int64_t>(bytes_.size()); }
    std::string bytes_;
    std::int64_t position_ = 0;
};

} // namespace

TEST(StringListSplit, EachKindOfLineBreakEndsOneLine) {
    EXPECT_EQ(lines(split(L"a\r\nb\r\n")), (Lines{L"a", L"b"}));
    EXPECT_EQ(lines(split(L"a\nb")), (Lines{L"a", L"b"}));
    EXPECT_EQ(lines(split(L"a\rb")), (Lines{L"a", L"b"}));
    EXPECT_EQ(lines(split(L"a\r")), (Lines{L"a"}));
    EXPECT_EQ(lines(split(L"\n")), (Lines{L""}));
    EXPECT_TRUE(lines(split(L"")).empty());
}

TEST(StringListSplit, TwoBreaksInARowOfAnyKindLeaveAnEmptyLine) {
    for (const wchar_t* text : {L"a\r\rb", L"a\n\nb", L"a\r\n\r\nb", L"a\r\n\nb", L"a\n\r\nb"})
        EXPECT_EQ(lines(split(text)), (Lines{L"a", L"", L"b"}))
            << "input length " << std::wcslen(text);
}

TEST(StringListSplit, FromTheFirstZeroOnOnlyZerosDivideLines) {
    // The LF right after a zero is dropped; later CR and LF stay inside their lines.
    EXPECT_EQ(lines(split(std::wstring(L"a\0\nb\rc\nd", 8))), (Lines{L"a", L"b\rc\nd"}));
    EXPECT_EQ(lines(split(std::wstring(L"a\r\0\nb", 5))), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(lines(split(std::wstring(L"\0\n\n", 3))), (Lines{L"", L"\n"}));
    EXPECT_EQ(lines(split(std::wstring(L"a\0", 2))), (Lines{L"a"}));
}

TEST(StringListJoin, EveryLineEndsInCrLf) {
    EXPECT_EQ(split(L"a\nb").text(), L"a\r\nb\r\n");
    EXPECT_EQ(split(L"a\n\nb").text(), L"a\r\n\r\nb\r\n");
    EXPECT_EQ(split(L"a\r\nb\r\n").text(), L"a\r\nb\r\n");
    EXPECT_EQ(split(L"").text(), L"");
}

TEST(StringListItems, InsertPadsWithEmptyLinesAndOutOfRangeReadsEmpty) {
    StringList list;
    list.insert(2, L"c");
    EXPECT_EQ(lines(list), (Lines{L"", L"", L"c"}));
    EXPECT_EQ(list.add(L"d"), 3);
    list.setItem(1, L"b");
    list.remove(0);
    EXPECT_EQ(lines(list), (Lines{L"b", L"c", L"d"}));
    list.remove(9);
    list.setItem(-1, L"x");
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(3), L"");
    EXPECT_EQ(list.item(-1), L"");
    EXPECT_EQ(list.text(), L"b\r\nc\r\nd\r\n");
}

TEST(StringListLoad, ReadsTheRestOfTheStreamAsUtf16LittleEndian) {
    // Two code units (one of them Arabic) plus an odd byte; the first two bytes are skipped.
    MemoryStream stream(std::string("\xFF\xFE"
                                    "a\0"
                                    "\x45\x06"
                                    "\x0A",
                                    7));
    ASSERT_TRUE(stream.seekTo(2));
    StringList list;
    list.add(L"old");
    list.loadFromStream(stream, false);
    EXPECT_EQ(lines(list), (Lines{L"a\x0645"}));
    EXPECT_EQ(stream.position(), 7);
}

TEST(StringListLoad, AppendJoinsTheOldLinesWithTheNewText) {
    MemoryStream stream(std::string("b\0\n\0c\0", 6));
    StringList list;
    list.setText(L"a\rx");
    list.loadFromStream(stream, true);
    EXPECT_EQ(lines(list), (Lines{L"a", L"x", L"b", L"c"}));

    MemoryStream empty(std::string{});
    list.loadFromStream(empty, false);
    EXPECT_EQ(list.count(), 0);
}
