// Draws the program's picture resources from their pixel-art sources at build time:
//   dawatik_artwork strip <source.txt> <out.bmp> <preview.png>
//       the images side by side as one 24-bit bitmap with black as the transparent colour;
//   dawatik_artwork icon <source.txt> <out.ico> <preview.png>
//       the images as the pictures of one icon (32 bits with alpha).

#include "tools/artwork/art_source.h"
#include "tools/artwork/image_files.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr int kPreviewGap = 8; // transparent columns between the icon's pictures in its preview

// Writes through a temporary file, so a failed run never leaves a half-written output behind.
bool writeFile(const std::string& path, const artwork::Bytes& bytes) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::cerr << temporary << ": cannot be written\n";
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::cerr << path << ": cannot be replaced: " << ec.message() << "\n";
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

int usage() {
    std::cerr << "usage: dawatik_artwork strip|icon <source.txt> <output> <preview.png>\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return usage();
    const std::string_view kind = argv[1];
    const std::string source = argv[2];
    if (kind != "strip" && kind != "icon")
        return usage();

    std::string error;
    auto images = artwork::readArtwork(source, error);
    if (!images) {
        std::cerr << error << "\n";
        return 1;
    }
    std::optional<artwork::Bytes> output;
    artwork::Image preview;
    if (kind == "strip") {
        // Each picture on its own first, so that a fault is reported with its picture's name.
        for (const artwork::Image& image : *images) {
            if (image.height != images->front().height) {
                std::cerr << source << ": image '" << image.name
                          << "' differs in height from the first image of the strip\n";
                return 1;
            }
            if (!artwork::maskedBitmapFile(image, error)) {
                std::cerr << source << ": " << error << "\n";
                return 1;
            }
        }
        preview = artwork::sideBySide(*images, 0);
        output = artwork::maskedBitmapFile(preview, error);
    } else {
        preview = artwork::sideBySide(*images, kPreviewGap);
        output = artwork::iconFile(*images, error);
    }
    if (!output) {
        std::cerr << source << ": " << error << "\n";
        return 1;
    }
    return writeFile(argv[3], *output) && writeFile(argv[4], artwork::pngFile(preview)) ? 0 : 1;
}
