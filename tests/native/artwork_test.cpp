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

Image filled(int width, int height, Rgba colour, std::string name = "i") {
    Image image(std::move(name), width, height);
    image.pixels.assign(image.pixels.size(), colour);
    return image;
}

} // namespace

TEST(ArtSource, ReadsColoursAndImagesTopRowFirst) {
    std::string error;
    auto images = parseArtwork("# comment\r\ncolour r #cc1122 red, opaque\ncolour . none\r\n"
                               "colour h #102030f0\n\nimage first 3x2\nr.h  \nhhr\r\n"
                               "  # between images\nimage second 1x1\nr",
                               "art.txt", error);
    ASSERT_TRUE(images) << error;
    ASSERT_EQ(images->size(), 2u);
    const Image& first = (*images)[0];
    EXPECT_EQ(first.name, "first");
    ASSERT_EQ(first.width, 3);
    ASSERT_EQ(first.height, 2);
    EXPECT_EQ(first.at(0, 0), kRed);
    EXPECT_EQ(first.at(1, 0), kClear);
    EXPECT_EQ(first.at(2, 0), (Rgba{0x10, 0x20, 0x30, 0xF0}));
    EXPECT_EQ(first.at(2, 1), kRed);
    EXPECT_EQ((*images)[1].at(0, 0), kRed);
}

TEST(ArtSource, ReportsFaultsWithFileAndLine) {
    const std::string red = "colour r #cc1122\n";
    const std::pair<std::string, std::string> cases[] = {
        {red + "image a 2x1\nrx\n", "art.txt:3:2: no colour has the key 'x'"},
        {red + "image a 2x2\nrr\nr\n", "art.txt:4: row of image 'a' has 1 pixels; expected 2"},
        {red + "image a 2x2\nrr\n", "art.txt:3: image 'a' ends after 1 of 2 rows"},
        {"# red\n" + red + "colour r #000000\n",
         "art.txt:3: colour 'r' is already defined on line 2"},
        {"colour r #cc11zz\n", "art.txt:1: colour 'r' has the value '#cc11zz'"},
        {"colour # #cc1122\n", "art.txt:1: a colour key is one printable character"},
        {red + "image a 257x1\n", "art.txt:2: image 'a' has the size '257x1'"},
        {red + "image a 16\n", "art.txt:2: image 'a' has the size '16'"},
        {red + "picture a 1x1\n", "art.txt:2: expected 'colour' or 'image', found 'picture'"},
        {red + "\n# nothing drawn\n", "art.txt:3: no images"},
    };
    for (const auto& [source, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parseArtwork(source, "art.txt", error));
        EXPECT_EQ(error.substr(0, expected.size()), expected);
    }
}

TEST(SideBySide, PlacesImagesLeftToRightTopAlignedWithGaps) {
    const Image sheet = sideBySide({filled(2, 3, kRed), filled(1, 1, kBlue)}, 2);
    ASSERT_EQ(sheet.width, 5);
    ASSERT_EQ(sheet.height, 3);
    EXPECT_EQ(sheet.at(1, 2), kRed);
    EXPECT_EQ(sheet.at(2, 0), kClear); // gap
    EXPECT_EQ(sheet.at(4, 0), kBlue);
    EXPECT_EQ(sheet.at(4, 1), kClear); // below the shorter image
}

TEST(MaskedBitmap, WritesBottomUpBgrRowsPaddedToFourBytes) {
    Image image = filled(5, 2, kRed);
    image.at(0, 0) = kBlue; // top left
    image.at(4, 1) = kClear;
    std::string error;
    auto file = maskedBitmapFile(image, error);
    ASSERT_TRUE(file) << error;
    const Bytes& b = *file;
    const std::uint32_t row = 16; // 5 pixels * 3 bytes, padded
    ASSERT_EQ(b.size(), 54 + 2 * row);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 2), "BM");
    EXPECT_EQ(le32(b, 2), b.size());
    EXPECT_EQ(le32(b, 10), 54u); // pixels right after the file and info headers
    EXPECT_EQ(le32(b, 14), 40u);
    EXPECT_EQ(le32(b, 18), 5u);
    EXPECT_EQ(le32(b, 22), 2u);             // positive height: bottom-up
    EXPECT_EQ(le32(b, 26), 1u | 24u << 16); // one plane, 24 bits per pixel
    EXPECT_EQ(le32(b, 30), 0u);             // BI_RGB
    EXPECT_EQ(le32(b, 34), 2 * row);
    EXPECT_EQ(Bytes(b.begin() + 54 + row, b.begin() + 54 + row + 3),
              (Bytes{kBlue.b, kBlue.g, kBlue.r}));
    EXPECT_EQ(Bytes(b.begin() + 54 + 9, b.begin() + 54 + row),
              (Bytes{kRed.b, kRed.g, kRed.r, 0, 0, 0, 0}));
}

TEST(MaskedBitmap, RefusesPixelsTheBlackMaskWouldSpoil) {
    Image image = filled(3, 3, kRed, "cut");
    std::string error;
    image.at(2, 1) = Rgba{0, 0, 0, 255};
    EXPECT_FALSE(maskedBitmapFile(image, error));
    EXPECT_EQ(error.find("image 'cut', pixel (2, 1) is opaque black"), 0u) << error;
    image.at(2, 1) = Rgba{9, 9, 9, 128};
    EXPECT_FALSE(maskedBitmapFile(image, error));
    EXPECT_EQ(error.find("image 'cut', pixel (2, 1) is partly transparent"), 0u) << error;
}

TEST(IconFile, DirectoryHeadersBgraPixelsAndAndMask) {
    Image wide = filled(33, 2, kRed);
    wide.at(0, 0) = Rgba{1, 2, 3, 127}; // top left: transparent enough for the mask
    wide.at(1, 1) = Rgba{1, 2, 3, 128}; // bottom row: opaque enough
    const std::vector<Image> images{filled(256, 256, kBlue), wide};
    std::string error;
    auto file = iconFile(images, error);
    ASSERT_TRUE(file) << error;
    const Bytes& b = *file;
    EXPECT_EQ(le32(b, 0), 1u << 16); // reserved, then type 1: icon
    ASSERT_EQ(le16(b, 4), 2u);

    std::uint32_t offset = 6 + 2 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const auto w = static_cast<std::uint32_t>(images[i].width);
        const auto h = static_cast<std::uint32_t>(images[i].height);
        EXPECT_EQ(le16(b, entry), (w % 256) | (h % 256) << 8); // 256 is written as 0
        EXPECT_EQ(le32(b, entry + 4), 1u | 32u << 16);         // one plane, 32 bits per pixel
        EXPECT_EQ(le32(b, entry + 8), 40 + w * h * 4 + (w + 31) / 32 * 4 * h);
        EXPECT_EQ(le32(b, entry + 12), offset);
        EXPECT_EQ(le32(b, offset + 4), w);
        EXPECT_EQ(le32(b, offset + 8), 2 * h); // colour and mask stacked
        offset += le32(b, entry + 8);
    }
    ASSERT_EQ(b.size(), offset);

    const std::size_t pixels = offset - (40 + 33 * 2 * 4 + 16) + 40;
    EXPECT_EQ(Bytes(b.begin() + pixels + 33 * 4, b.begin() + pixels + 33 * 4 + 4),
              (Bytes{3, 2, 1, 127}));
    EXPECT_EQ(b[pixels + 4 + 3], 128);
    // Mask rows of 8 bytes, bottom row first: only the top-left pixel shows the background.
    EXPECT_EQ(Bytes(b.end() - 16, b.end()),
              (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(IconFile, RefusesPicturesItCannotDescribe) {
    std::string error;
    EXPECT_FALSE(iconFile({}, error));
    EXPECT_FALSE(iconFile({filled(257, 16, kRed, "huge")}, error));
    EXPECT_NE(error.find("'huge'"), std::string::npos) << error;
    EXPECT_FALSE(iconFile({filled(16, 16, kRed), filled(16, 16, kBlue, "again")}, error));
    EXPECT_NE(error.find("'again'"), std::string::npos) << error;
}

TEST(PngFile, ChunksAroundStoredDeflateBlocksOfTheScanlines) {
    // Over 64 KiB of scanlines, so the data needs two stored blocks.
    Image image = filled(200, 90, kRed);
    image.at(199, 89) = kBlue;
    const Bytes b = pngFile(image);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8),
              (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ(be32(b, 16), 200u); // IHDR: width, height, 8 bits per channel, RGBA
    EXPECT_EQ(be32(b, 20), 90u);
    EXPECT_EQ(Bytes(b.begin() + 24, b.begin() + 26), (Bytes{8, 6}));
    EXPECT_EQ(be32(b, b.size() - 4), 0xAE426082u); // the CRC of every IEND chunk

    const std::size_t idat = 8 + 25;
    ASSERT_EQ(std::string(b.begin() + idat + 4, b.begin() + idat + 8), "IDAT");
    const Bytes z(b.begin() + idat + 8, b.begin() + idat + 8 + be32(b, idat));
    EXPECT_EQ((z.at(0) * 256 + z.at(1)) % 31, 0); // zlib header check
    Bytes data;
    std::size_t at = 2;
    for (int block = 0; block < 2; ++block) {
        EXPECT_EQ(z.at(at) & 1, block); // the second block is the last
        const std::uint32_t len = le16(z, at + 1);
        EXPECT_EQ(le16(z, at + 3), ~len & 0xFFFF);
        data.insert(data.end(), z.begin() + at + 5, z.begin() + at + 5 + len);
        at += 5 + len;
    }
    EXPECT_EQ(at + 4, z.size()); // then the Adler-32
    ASSERT_EQ(data.size(), 90u * (1 + 200 * 4));
    EXPECT_EQ(Bytes(data.begin(), data.begin() + 3), (Bytes{0, kRed.r, kRed.g})); // filter 0, RGBA
    EXPECT_EQ(Bytes(data.end() - 4, data.end()), (Bytes{kBlue.r, kBlue.g, kBlue.b, kBlue.a}));

    // One pixel 01 02 03 04: Adler-32 sums a = 1 + 10 = 11 and b = 1 + 2 + 4 + 7 + 11 = 25.
    const Bytes one = pngFile(filled(1, 1, Rgba{1, 2, 3, 4}));
    EXPECT_EQ(be32(one, one.size() - 12 - 8), 0x0019000Bu);
}
