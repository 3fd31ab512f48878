// skinart: draws the skin's bitmaps and window region.
//
//   skinart <output-dir>          write every skin file into the directory
//   skinart --preview <file.png>  the assembled window, 3x, for a look
//   skinart --sheet <file.png>    every button normal and pressed, 6x

#include "PngEncoder.h"
#include "PreviewSheet.h"
#include "SkinCatalogue.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace {

int usage() {
    std::cerr << "usage: skinart <output-dir>\n"
                 "       skinart --preview <window.png>\n"
                 "       skinart --sheet <sheet.png>\n";
    return 2;
}

void writePng(const std::string& path, const Image& image) {
    const auto bytes = PngEncoder::encode(image);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const SkinCatalogue skin;
        if (argc == 2 && argv[1][0] != '-') {
            skin.writeTo(argv[1]);
            return 0;
        }
        if (argc == 3 && std::string_view(argv[1]) == "--preview") {
            writePng(argv[2], PreviewSheet::window(skin));
            return 0;
        }
        if (argc == 3 && std::string_view(argv[1]) == "--sheet") {
            writePng(argv[2], PreviewSheet::sheet(skin));
            return 0;
        }
        return usage();
    } catch (const std::exception& e) {
        std::cerr << "skinart: " << e.what() << '\n';
        return 1;
    }
}
