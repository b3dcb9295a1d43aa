#pragma once
// Pixel-art sources: a text file of named colours followed by images drawn one character per
// pixel. Portable: the generator runs on the build machine, not in the program.
//
//   # a comment
//   colour k #303030 outline
//   colour . none
//   image arrow 3x2
//   .k.
//   kkk

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace artwork {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct Image {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels; // row by row, the top row first

    Image() = default;
    Image(std::string imageName, int w, int h)
        : name(std::move(imageName)), width(w), height(h),
          pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) {}
    Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// The images of a source in file order. On failure, returns nothing and sets `error` to
// "<fileName>:<line>: <reason>" (with ":<column>" for a bad pixel).
std::optional<std::vector<Image>> parseArtwork(std::string_view text, std::string_view fileName,
                                               std::string& error);

// Reads and parses a source file; unreadable files are reported like parse errors.
std::optional<std::vector<Image>> readArtwork(const std::string& path, std::string& error);

} // namespace artwork
