// make-layouts: writes the default overlay layouts as a registry import file (normally
// resources/RestoreOverlayPositions.reg, which the build copies next to the program). The file is
// committed; "--check" tells whether it still matches what the tool writes.
//
// Usage: make-layouts OUTPUT_FILE
//        make-layouts --check COMMITTED_FILE
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/make-layouts/RegFile.h"

namespace {

int Write(const std::string& path) {
    const std::string text = RenderLayoutsRegFile();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) {
        std::cerr << "make-layouts: cannot write " << path << '\n';
        return 1;
    }
    std::cout << path << '\n';
    return 0;
}

int Check(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string committed{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
    if (committed != RenderLayoutsRegFile()) {
        std::cerr << "make-layouts: " << path
                  << " differs from what make-layouts writes; regenerate it\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] != "--check") {
        return Write(args[0]);
    }
    if (args.size() == 2 && args[0] == "--check") {
        return Check(args[1]);
    }
    std::cerr << "usage: make-layouts OUTPUT_FILE\n       make-layouts --check COMMITTED_FILE\n";
    return 2;
}
