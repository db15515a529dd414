// Writes the application's icon into an icon theme folder:
//
//   generate_icons THEME_DIR NAME
//
// THEME_DIR/hicolor/NxN/apps/NAME.png at each size, and the scalable SVG.
#include <cstdio>

#include "resources/Icon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_icons THEME_DIR NAME\n");
        return 2;
    }
    return vw::art::writeAppIcons(argv[1], argv[2]) ? 0 : 1;
}
