// Writes the program's icon file. Used by the build: icon-gen OUTPUT.ico
// The output depends on nothing but this source, so every build makes the
// same bytes.

#include <cstdio>
#include <exception>
#include <fstream>

#include "resources/icon/ico_file.h"
#include "resources/icon/icon_design.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argc > 0 ? argv[0] : "icon-gen");
        return 2;
    }
    try {
        const auto bytes = resources::encodeIco(resources::programIconImages());
        std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "icon-gen: cannot write %s\n", argv[1]);
            std::remove(argv[1]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "icon-gen: %s\n", e.what());
        return 1;
    }
    return 0;
}
