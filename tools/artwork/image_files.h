#pragma once
// Encoders for the program's picture resources (BMP, ICO) and for previews (PNG). Portable: no
// platform headers; every multi-byte field is written little- or big-endian explicitly.

#include "tools/artwork/art_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace artwork {

using Bytes = std::vector<std::uint8_t>;

// The images left to right, `gap` transparent columns apart, aligned at the top; the height is
// that of the tallest image and the rest is transparent.
Image sideBySide(const std::vector<Image>& images, int gap);

// A 24-bit bottom-up BMP file whose black pixels are the transparent ones: fully transparent
// pixels become black. Fails (nothing returned, `error` set) on a pixel that is partly
// transparent, or opaque and pure black, since a black mask could not keep either.
std::optional<Bytes> maskedBitmapFile(const Image& image, std::string& error);

// An ICO file with one 32-bit image (alpha plus AND mask) per picture, in the given order. Fails
// on an empty list, on pictures larger than 256 pixels and on two pictures of the same size.
std::optional<Bytes> iconFile(const std::vector<Image>& images, std::string& error);

// An 8-bit RGBA PNG, deflate-stored (uncompressed): previews for people, no zlib needed.
Bytes pngFile(const Image& image);

} // namespace artwork
