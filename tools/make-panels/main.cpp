// make-panels: draws the overlay panel bitmaps and the application icon that the Windows
// resource script embeds, and writes them into a folder (normally resources/). The files are
// committed, so the Windows build never runs this tool; "--check" tells whether the committed
// files still match what the tool draws.
//
// Usage: make-panels OUTPUT_DIR
//        make-panels --check RESOURCES_DIR
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/make-panels/IconArt.h"
#include "tools/make-panels/ImageFiles.h"
#include "tools/make-panels/PanelArt.h"

namespace {

struct sOutputFile {
    std::string name;
    ByteVector bytes;
};

std::vector<sOutputFile> DrawAll() {
    return {
        {"panel_small.bmp", EncodeBmp8(DrawPanel(122, 39))},
        {"panel_tall.bmp", EncodeBmp8(DrawPanel(122, 52))},
        {"Lanternquill.ico", EncodeIco({DrawIcon(16), DrawIcon(32)})},
    };
}

ByteVector ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int WriteAll(const std::filesystem::path& folder) {
    for (const sOutputFile& file : DrawAll()) {
        std::ofstream out(folder / file.name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out.flush()) {
            std::cerr << "make-panels: cannot write " << (folder / file.name).string() << '\n';
            return 1;
        }
        std::cout << (folder / file.name).string() << '\n';
    }
    return 0;
}

int CheckAll(const std::filesystem::path& folder) {
    int stale = 0;
    for (const sOutputFile& file : DrawAll()) {
        if (ReadBytes(folder / file.name) != file.bytes) {
            std::cerr << "make-panels: " << (folder / file.name).string()
                      << " differs from what make-panels draws; regenerate it\n";
            ++stale;
        }
    }
    return stale == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 1 && args[0] != "--check") {
            return WriteAll(args[0]);
        }
        if (args.size() == 2 && args[0] == "--check") {
            return CheckAll(args[1]);
        }
        std::cerr << "usage: make-panels OUTPUT_DIR\n       make-panels --check RESOURCES_DIR\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "make-panels: " << error.what() << '\n';
        return 1;
    }
}
