// Writes the HTML manual from its template, with the keyboard character map generated from the
// editor's own map and the program's version:
//   dawatik_manual <template.html.in> <out.html> <version>

#include "tools/manual/keyboard_tables.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: dawatik_manual <template.html.in> <out.html> <version>\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string path = argv[2];

    std::ifstream in(source, std::ios::binary);
    const std::string manualTemplate{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::cerr << source << ": cannot be read\n";
        return 1;
    }
    const auto manual =
        manual::fillTemplate(manualTemplate, manual::keyboardMapHtml(app::keyMappings()), argv[3]);
    if (!manual) {
        std::cerr << source << ": needs exactly one " << manual::kKeyboardMapMarker << "\n";
        return 1;
    }

    // Through a temporary file, so a failed run never leaves a half-written manual behind.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << *manual;
        if (!out.flush()) {
            std::cerr << temporary << ": cannot be written\n";
            return 1;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::cerr << path << ": cannot be replaced: " << ec.message() << "\n";
        std::filesystem::remove(temporary, ec);
        return 1;
    }
    return 0;
}
