#include "tools/artwork/image_files.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace artwork {

namespace {

constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::uint32_t kBitmapFileHeaderSize = 14;
constexpr std::int32_t kPixelsPerMetre = 2835; // 72 dots per inch

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void put32BigEndian(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void putInfoHeader(Bytes& out, int width, int height, int bitsPerPixel, std::uint32_t imageSize) {
    put32(out, kBitmapInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height)); // positive: rows are stored bottom-up
    put16(out, 1);                                  // planes
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0); // colours used
    put32(out, 0); // important colours
}

std::string pixelName(const Image& image, int x, int y) {
    return "image '" + image.name + "', pixel (" + std::to_string(x) + ", " + std::to_string(y) +
           ")";
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putChunk(Bytes& out, const char (&type)[5], const Bytes& body) {
    put32BigEndian(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32BigEndian(out, crc32(out.data() + typeAt, out.size() - typeAt));
}

// A zlib stream of stored deflate blocks (each at most 65535 bytes).
Bytes storedZlib(const Bytes& data) {
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t size = std::min<std::size_t>(data.size() - at, 0xFFFF);
        const bool last = at + size == data.size();
        out.push_back(last ? 1 : 0);
        put16(out, static_cast<std::uint32_t>(size));
        put16(out, static_cast<std::uint32_t>(~size & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    } while (at < data.size());
    put32BigEndian(out, adler32(data));
    return out;
}

} // namespace

Image sideBySide(const std::vector<Image>& images, int gap) {
    int width = 0, height = 0;
    for (const Image& image : images) {
        width += image.width + (width > 0 ? gap : 0);
        height = std::max(height, image.height);
    }
    Image sheet("sheet", width, height);
    int left = 0;
    for (const Image& image : images) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                sheet.at(left + x, y) = image.at(x, y);
        left += image.width + gap;
    }
    return sheet;
}

std::optional<Bytes> maskedBitmapFile(const Image& image, std::string& error) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            if (p.a != 0 && p.a != 255) {
                error = pixelName(image, x, y) + " is partly transparent; a black mask has no "
                                                 "partial transparency";
                return std::nullopt;
            }
            if (p.a == 255 && p.r == 0 && p.g == 0 && p.b == 0) {
                error = pixelName(image, x, y) + " is opaque black, which the black mask would "
                                                 "make transparent";
                return std::nullopt;
            }
        }
    }
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(image.height);
    const std::uint32_t offset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
    Bytes out{'B', 'M'};
    put32(out, offset + imageSize);
    put32(out, 0); // reserved
    put32(out, offset);
    putInfoHeader(out, image.width, image.height, 24, imageSize);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r}); // transparent pixels hold 0, 0, 0
        }
        out.resize(rowStart + rowSize, 0);
    }
    return out;
}

std::optional<Bytes> iconFile(const std::vector<Image>& images, std::string& error) {
    if (images.empty()) {
        error = "an icon needs at least one image";
        return std::nullopt;
    }
    std::set<std::pair<int, int>> sizes;
    for (const Image& image : images) {
        if (image.width > 256 || image.height > 256) {
            error = "image '" + image.name + "' is larger than the 256 x 256 an icon can hold";
            return std::nullopt;
        }
        if (!sizes.insert({image.width, image.height}).second) {
            error = "image '" + image.name + "' has the size of an earlier image of the icon";
            return std::nullopt;
        }
    }
    const auto maskRowSize = [](const Image& image) {
        return ((static_cast<std::uint32_t>(image.width) + 31) / 32) * 4;
    };
    const auto dataSize = [&](const Image& image) {
        const auto w = static_cast<std::uint32_t>(image.width);
        const auto h = static_cast<std::uint32_t>(image.height);
        return kBitmapInfoHeaderSize + w * h * 4 + maskRowSize(image) * h;
    };

    Bytes out;
    put16(out, 0); // reserved
    put16(out, 1); // icon, not cursor
    put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const Image& image : images) {
        out.push_back(static_cast<std::uint8_t>(image.width & 0xFF)); // 256 is written as 0
        out.push_back(static_cast<std::uint8_t>(image.height & 0xFF));
        out.push_back(0); // no palette
        out.push_back(0); // reserved
        put16(out, 1);    // planes
        put16(out, 32);   // bits per pixel
        put32(out, dataSize(image));
        put32(out, offset);
        offset += dataSize(image);
    }
    for (const Image& image : images) {
        // The header describes colour and mask stacked, hence twice the height.
        putInfoHeader(out, image.width, image.height * 2, 32,
                      dataSize(image) - kBitmapInfoHeaderSize);
        for (int y = image.height - 1; y >= 0; --y)
            for (int x = 0; x < image.width; ++x) {
                const Rgba& p = image.at(x, y);
                out.insert(out.end(), {p.b, p.g, p.r, p.a});
            }
        // The AND mask serves drawing without alpha: set bits show the background through.
        for (int y = image.height - 1; y >= 0; --y) {
            Bytes row(maskRowSize(image), 0);
            for (int x = 0; x < image.width; ++x)
                if (image.at(x, y).a < 128)
                    row[static_cast<std::size_t>(x / 8)] |=
                        static_cast<std::uint8_t>(0x80 >> (x % 8));
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

Bytes pngFile(const Image& image) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put32BigEndian(header, static_cast<std::uint32_t>(image.width));
    put32BigEndian(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(out, "IHDR", header);

    Bytes scanlines;
    for (int y = 0; y < image.height; ++y) {
        scanlines.push_back(0); // filter type: none
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.at(x, y);
            scanlines.insert(scanlines.end(), {p.r, p.g, p.b, p.a});
        }
    }
    putChunk(out, "IDAT", storedZlib(scanlines));
    putChunk(out, "IEND", {});
    return out;
}

} // namespace artwork
