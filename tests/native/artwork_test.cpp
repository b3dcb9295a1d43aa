#include "tools/artwork/art_source.h"
#include "tools/artwork/image_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace artwork;

namespace {

constexpr Rgba kRed{0xCC, 0x11, 0x22, 0xFF};
constexpr Rgba kBlue{0x10, 0x20, 0xF0, 0xFF};
constexpr Rgba kClear{};

std::uint32_t le16(const Bytes& b, std::size_t at) {
    return b.at(at) | b.at(at + 1) << 8;
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}
std::uint32_t be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

Image filled(std::string name, int width, int height, Rgba colour) {
    Image image(std::move(name), width, height);
    for (Rgba& p : image.pixels)
        p = colour;
    return image;
}

std::string parseError(const std::string& source) {
    std::string error;
    EXPECT_FALSE(parseArtwork(source, "art.txt", error).has_value()) << source;
    return error;
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TEST(ArtSource, ReadsColoursAndImagesTopRowFirst) {
    std::string error;
    auto images = parseArtwork("# comment\r\n"
                               "colour r #cc1122 red, opaque\n"
                               "colour . none\r\n"
                               "colour h #102030f0\n"
                               "\n"
                               "image first 3x2\n"
                               "r.h  \n"
                               "hhr\r\n"
                               "  # between images\n"
                               "image second 1x1\n"
                               "r",
                               "art.txt", error);
    ASSERT_TRUE(images) << error;
    ASSERT_EQ(images->size(), 2u);
    const Image& first = (*images)[0];
    EXPECT_EQ(first.name, "first");
    EXPECT_EQ(first.width, 3);
    EXPECT_EQ(first.height, 2);
    EXPECT_EQ(first.at(0, 0), kRed);
    EXPECT_EQ(first.at(1, 0), kClear);
    EXPECT_EQ(first.at(2, 0), (Rgba{0x10, 0x20, 0x30, 0xF0}));
    EXPECT_EQ(first.at(2, 1), kRed);
    EXPECT_EQ((*images)[1].at(0, 0), kRed);
}

TEST(ArtSource, ReportsFaultsWithFileAndLine) {
    const std::string red = "colour r #cc1122\n";
    struct Case {
        std::string source, where, words;
    } cases[] = {
        {red + "image a 2x1\nrx\n", "art.txt:3:2: ", "'x'"},
        {red + "image a 2x2\nrr\nr\n", "art.txt:4: ", "has 1 pixels; expected 2"},
        {red + "image a 2x2\nrr\n", "art.txt:3: ", "ends after 1 of 2 rows"},
        {red + "colour r #000000\n", "art.txt:2: ", "already defined on line 1"},
        {"colour r #cc112\n", "art.txt:1: ", "'#cc112'"},
        {"colour r #cc11zz\n", "art.txt:1: ", "'#cc11zz'"},
        {"colour # #cc1122\n", "art.txt:1: ", "printable character"},
        {"colour rr #cc1122\n", "art.txt:1: ", "printable character"},
        {red + "image a 0x1\n", "art.txt:2: ", "'0x1'"},
        {red + "image a 257x1\n", "art.txt:2: ", "'257x1'"},
        {red + "image a 16\n", "art.txt:2: ", "'16'"},
        {red + "image a 4x4 extra\n", "art.txt:2: ", "expected 'image"},
        {red + "picture a 1x1\n", "art.txt:2: ", "'picture'"},
        {red + "\n# nothing drawn\n", "art.txt:3: ", "no images"},
    };
    for (const Case& c : cases) {
        const std::string error = parseError(c.source);
        EXPECT_TRUE(startsWith(error, c.where)) << error;
        EXPECT_NE(error.find(c.words), std::string::npos) << error;
    }
}

TEST(ArtSource, UnreadableFileIsReportedByName) {
    std::string error;
    EXPECT_FALSE(readArtwork("/nonexistent/art.txt", error));
    EXPECT_EQ(error, "/nonexistent/art.txt: cannot be read");
}

TEST(SideBySide, PlacesImagesLeftToRightTopAlignedWithGaps) {
    const Image sheet = sideBySide({filled("a", 2, 3, kRed), filled("b", 1, 1, kBlue)}, 2);
    ASSERT_EQ(sheet.width, 5);
    ASSERT_EQ(sheet.height, 3);
    EXPECT_EQ(sheet.at(1, 2), kRed);
    EXPECT_EQ(sheet.at(2, 0), kClear); // gap
    EXPECT_EQ(sheet.at(4, 0), kBlue);
    EXPECT_EQ(sheet.at(4, 1), kClear); // below the shorter image
}

TEST(MaskedBitmap, WritesBottomUpBgrRowsPaddedToFourBytes) {
    Image image = filled("strip", 5, 2, kRed);
    image.at(0, 0) = kBlue; // top left
    image.at(4, 1) = kClear;
    std::string error;
    auto file = maskedBitmapFile(image, error);
    ASSERT_TRUE(file) << error;
    const Bytes& b = *file;
    const std::uint32_t rowSize = 16; // 5 pixels * 3 bytes, padded
    ASSERT_EQ(b.size(), 54 + 2 * rowSize);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u); // pixels follow the two headers
    EXPECT_EQ(le32(b, 14), 40u); // info header size
    EXPECT_EQ(le32(b, 18), 5u);  // width
    EXPECT_EQ(le32(b, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(le16(b, 26), 1u);  // planes
    EXPECT_EQ(le16(b, 28), 24u); // bits per pixel
    EXPECT_EQ(le32(b, 30), 0u);  // BI_RGB
    EXPECT_EQ(le32(b, 34), 2 * rowSize);

    const std::size_t bottomRow = 54, topRow = 54 + rowSize;
    EXPECT_EQ(b[topRow], kBlue.b);
    EXPECT_EQ(b[topRow + 1], kBlue.g);
    EXPECT_EQ(b[topRow + 2], kBlue.r);
    EXPECT_EQ(b[bottomRow], kRed.b);
    EXPECT_EQ(b[bottomRow + 12], 0); // the transparent pixel is black
    EXPECT_EQ(b[bottomRow + 13], 0);
    EXPECT_EQ(b[bottomRow + 14], 0);
    EXPECT_EQ(b[bottomRow + 15], 0); // padding
}

TEST(MaskedBitmap, RefusesPixelsTheBlackMaskWouldSpoil) {
    Image image = filled("cut", 3, 3, kRed);
    std::string error;
    image.at(2, 1) = Rgba{0, 0, 0, 255};
    EXPECT_FALSE(maskedBitmapFile(image, error));
    EXPECT_EQ(error.find("image 'cut', pixel (2, 1) is opaque black"), 0u) << error;

    image.at(2, 1) = Rgba{9, 9, 9, 128};
    EXPECT_FALSE(maskedBitmapFile(image, error));
    EXPECT_EQ(error.find("image 'cut', pixel (2, 1) is partly transparent"), 0u) << error;
}

TEST(IconFile, DirectoryDescribesEachPictureWhereItLies) {
    const std::vector<Image> images{filled("big", 256, 256, kRed), filled("wide", 33, 2, kBlue)};
    std::string error;
    auto file = iconFile(images, error);
    ASSERT_TRUE(file) << error;
    const Bytes& b = *file;
    EXPECT_EQ(le16(b, 0), 0u);
    EXPECT_EQ(le16(b, 2), 1u); // icon
    ASSERT_EQ(le16(b, 4), 2u);

    std::uint32_t expectedOffset = 6 + 2 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const auto w = static_cast<std::uint32_t>(images[i].width);
        const auto h = static_cast<std::uint32_t>(images[i].height);
        EXPECT_EQ(b[entry], w % 256); // 256 is written as 0
        EXPECT_EQ(b[entry + 1], h % 256);
        EXPECT_EQ(le16(b, entry + 4), 1u);
        EXPECT_EQ(le16(b, entry + 6), 32u);
        const std::uint32_t maskRow = (w + 31) / 32 * 4;
        EXPECT_EQ(le32(b, entry + 8), 40 + w * h * 4 + maskRow * h);
        EXPECT_EQ(le32(b, entry + 12), expectedOffset);
        const std::size_t header = expectedOffset;
        EXPECT_EQ(le32(b, header), 40u);
        EXPECT_EQ(le32(b, header + 4), w);
        EXPECT_EQ(le32(b, header + 8), 2 * h); // colour and mask stacked
        EXPECT_EQ(le16(b, header + 14), 32u);
        expectedOffset += le32(b, entry + 8);
    }
    EXPECT_EQ(b.size(), expectedOffset);
}

TEST(IconFile, StoresBottomUpBgraAndMasksTransparentPixels) {
    Image image = filled("i", 33, 2, kRed);
    image.at(0, 0) = Rgba{1, 2, 3, 127}; // top left: mostly transparent
    image.at(32, 1) = kClear;            // bottom right
    image.at(1, 1) = Rgba{1, 2, 3, 128}; // just opaque enough for the mask
    std::string error;
    auto file = iconFile({image}, error);
    ASSERT_TRUE(file) << error;
    const Bytes& b = *file;
    const std::size_t pixels = 6 + 16 + 40;
    const std::size_t topRow = pixels + 33 * 4;
    EXPECT_EQ(b[topRow], 3);
    EXPECT_EQ(b[topRow + 1], 2);
    EXPECT_EQ(b[topRow + 2], 1);
    EXPECT_EQ(b[topRow + 3], 127);
    EXPECT_EQ(b[pixels + 4 + 3], 128);

    const std::size_t mask = pixels + 2 * 33 * 4; // rows of 8 bytes, bottom row first
    ASSERT_EQ(b.size(), mask + 2 * 8);
    const Bytes bottom(b.begin() + mask, b.begin() + mask + 8);
    const Bytes top(b.begin() + mask + 8, b.end());
    EXPECT_EQ(bottom, (Bytes{0, 0, 0, 0, 0x80, 0, 0, 0}));
    EXPECT_EQ(top, (Bytes{0x80, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(IconFile, RefusesPicturesItCannotDescribe) {
    std::string error;
    EXPECT_FALSE(iconFile({}, error));
    EXPECT_FALSE(iconFile({filled("huge", 257, 16, kRed)}, error));
    EXPECT_NE(error.find("'huge'"), std::string::npos) << error;
    EXPECT_FALSE(iconFile({filled("a", 16, 16, kRed), filled("b", 16, 16, kBlue)}, error));
    EXPECT_NE(error.find("'b'"), std::string::npos) << error;
}

TEST(PngFile, StoredDeflateHoldsTheScanlines) {
    // Over 64 KiB of scanlines, so the data needs two stored blocks.
    Image image = filled("p", 200, 90, kRed);
    image.at(199, 89) = kBlue;
    const Bytes b = pngFile(image);
    ASSERT_GT(b.size(), 8u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));

    Bytes idat;
    std::vector<std::string> types;
    for (std::size_t at = 8; at + 12 <= b.size();) {
        const std::uint32_t length = be32(b, at);
        types.emplace_back(b.begin() + at + 4, b.begin() + at + 8);
        if (types.back() == "IHDR") {
            EXPECT_EQ(be32(b, at + 8), 200u);
            EXPECT_EQ(be32(b, at + 12), 90u);
            EXPECT_EQ(b[at + 16], 8); // bits per channel
            EXPECT_EQ(b[at + 17], 6); // RGBA
        }
        if (types.back() == "IDAT")
            idat.assign(b.begin() + at + 8, b.begin() + at + 8 + length);
        if (types.back() == "IEND") {
            EXPECT_EQ(be32(b, at + 8), 0xAE426082u); // the CRC every PNG ends with
        }
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    ASSERT_GE(idat.size(), 6u);
    EXPECT_EQ(idat[0], 0x78);
    EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0); // zlib header check
    Bytes data;
    int blocks = 0;
    bool last = false;
    std::size_t at = 2;
    while (!last) {
        ASSERT_LE(at + 5, idat.size());
        last = idat[at] & 1;
        const std::uint32_t len = le16(idat, at + 1);
        EXPECT_EQ(le16(idat, at + 3), ~len & 0xFFFF);
        data.insert(data.end(), idat.begin() + at + 5, idat.begin() + at + 5 + len);
        at += 5 + len;
        ++blocks;
    }
    EXPECT_EQ(blocks, 2);
    EXPECT_EQ(at + 4, idat.size()); // then the Adler-32 of the data
    ASSERT_EQ(data.size(), 90u * (1 + 200 * 4));
    EXPECT_EQ(data[0], 0); // filter type of the first row
    EXPECT_EQ(data[1], kRed.r);
    EXPECT_EQ(data[data.size() - 4], kBlue.r); // bottom right, RGBA order
    EXPECT_EQ(data[data.size() - 2], kBlue.b);
}

TEST(PngFile, ChecksumsMatchHandComputedValues) {
    const Bytes b = pngFile(filled("one", 1, 1, Rgba{1, 2, 3, 4}));
    // Scanline 00 01 02 03 04: Adler-32 sums a = 1 + 10 = 11 and b = 1 + 2 + 4 + 7 + 11 = 25.
    const std::size_t iend = b.size() - 12;
    EXPECT_EQ(be32(b, iend - 8), 0x0019000Bu);
}
