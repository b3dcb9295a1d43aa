#include "tools/artwork/art_source.h"

#include <array>
#include <charconv>
#include <fstream>
#include <iterator>

namespace artwork {

namespace {

constexpr int kMaxSide = 256; // the largest picture an icon directory can describe

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits off the first blank-separated word of `s`.
std::string_view nextWord(std::string_view& s) {
    s = trimmed(s);
    std::size_t end = 0;
    while (end < s.size() && !isBlank(s[end]))
        ++end;
    std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

std::optional<int> hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// "none", "#rrggbb" (opaque) or "#rrggbbaa".
std::optional<Rgba> colourValue(std::string_view text) {
    if (text == "none")
        return Rgba{};
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
        return std::nullopt;
    std::array<std::uint8_t, 4> channels{0, 0, 0, 255};
    for (std::size_t i = 1, c = 0; i < text.size(); i += 2, ++c) {
        auto high = hexDigit(text[i]);
        auto low = hexDigit(text[i + 1]);
        if (!high || !low)
            return std::nullopt;
        channels[c] = static_cast<std::uint8_t>(*high * 16 + *low);
    }
    return Rgba{channels[0], channels[1], channels[2], channels[3]};
}

std::optional<int> sideLength(std::string_view text) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || value < 1 || value > kMaxSide)
        return std::nullopt;
    return value;
}

class Parser {
public:
    Parser(std::string_view fileName, std::string& error) : fileName_(fileName), error_(error) {}

    std::optional<std::vector<Image>> parse(std::string_view text) {
        while (!text.empty()) {
            std::size_t end = text.find('\n');
            std::string_view line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            ++lineNumber_;
            if (!(rowsLeft_ > 0 ? row(line) : directive(line)))
                return std::nullopt;
        }
        if (rowsLeft_ > 0) {
            const Image& last = images_.back();
            fail("image '" + last.name + "' ends after " + std::to_string(last.height - rowsLeft_) +
                 " of " + std::to_string(last.height) + " rows");
            return std::nullopt;
        }
        if (images_.empty()) {
            fail("no images");
            return std::nullopt;
        }
        return std::move(images_);
    }

private:
    bool fail(const std::string& reason, int column = 0) {
        error_.assign(fileName_).append(":").append(std::to_string(lineNumber_));
        if (column > 0)
            error_.append(":").append(std::to_string(column));
        error_.append(": ").append(reason);
        return false;
    }

    bool directive(std::string_view line) {
        std::string_view rest = trimmed(line);
        if (rest.empty() || rest.front() == '#')
            return true;
        std::string_view keyword = nextWord(rest);
        if (keyword == "colour")
            return colour(rest);
        if (keyword == "image")
            return image(rest);
        return fail("expected 'colour' or 'image', found '" + std::string(keyword) + "'");
    }

    // colour <key> <value> [description]
    bool colour(std::string_view rest) {
        std::string_view key = nextWord(rest);
        std::string_view value = nextWord(rest);
        if (key.size() != 1 || key[0] < '!' || key[0] > '~' || key[0] == '#')
            return fail("a colour key is one printable character other than '#'");
        auto rgba = colourValue(value);
        if (!rgba)
            return fail("colour '" + std::string(key) + "' has the value '" + std::string(value) +
                        "'; expected #rrggbb, #rrggbbaa or none");
        auto& slot = palette_[static_cast<unsigned char>(key[0])];
        if (slot.line != 0)
            return fail("colour '" + std::string(key) + "' is already defined on line " +
                        std::to_string(slot.line));
        slot = {*rgba, lineNumber_};
        return true;
    }

    // image <name> <width>x<height>
    bool image(std::string_view rest) {
        std::string_view name = nextWord(rest);
        std::string_view size = nextWord(rest);
        if (name.empty() || !trimmed(rest).empty())
            return fail("expected 'image <name> <width>x<height>'");
        std::size_t cross = size.find('x');
        auto width = sideLength(size.substr(0, cross));
        auto height =
            cross == std::string_view::npos ? std::nullopt : sideLength(size.substr(cross + 1));
        if (!width || !height)
            return fail("image '" + std::string(name) + "' has the size '" + std::string(size) +
                        "'; expected <width>x<height>, each 1 to " + std::to_string(kMaxSide));
        images_.emplace_back(std::string(name), *width, *height);
        rowsLeft_ = *height;
        return true;
    }

    bool row(std::string_view line) {
        while (!line.empty() && isBlank(line.back()))
            line.remove_suffix(1);
        Image& image = images_.back();
        if (static_cast<int>(line.size()) != image.width)
            return fail("row of image '" + image.name + "' has " + std::to_string(line.size()) +
                        " pixels; expected " + std::to_string(image.width));
        const int y = image.height - rowsLeft_;
        for (int x = 0; x < image.width; ++x) {
            const auto& slot =
                palette_[static_cast<unsigned char>(line[static_cast<std::size_t>(x)])];
            if (slot.line == 0)
                return fail("no colour has the key '" +
                                std::string(1, line[static_cast<std::size_t>(x)]) + "'",
                            x + 1);
            image.at(x, y) = slot.value;
        }
        --rowsLeft_;
        return true;
    }

    struct PaletteSlot {
        Rgba value;
        int line = 0; // where the key was defined; 0 while undefined
    };

    std::string_view fileName_;
    std::string& error_;
    std::array<PaletteSlot, 256> palette_{};
    std::vector<Image> images_;
    int lineNumber_ = 0;
    int rowsLeft_ = 0;
};

} // namespace

std::optional<std::vector<Image>> parseArtwork(std::string_view text, std::string_view fileName,
                                               std::string& error) {
    return Parser(fileName, error).parse(text);
}

std::optional<std::vector<Image>> readArtwork(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseArtwork(text, path, error);
}

} // namespace artwork
