// The application's icon for the desktop's launchers: a battery, two thirds
// charged, with a bolt across it, on no background. Vector drawing only, so
// that it makes a clean scalable SVG as well as the PNG sizes.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace vw::art {

// The icon on a square of `size` units whose top-left corner is the origin.
void drawAppIcon(cairo_t* cr, double size);

// The sizes (in pixels, square) the desktop's icon theme keeps PNGs at.
const std::vector<int>& appIconSizes();

// Writes THEME_DIR/hicolor/NxN/apps/NAME.png for every size and
// THEME_DIR/hicolor/scalable/apps/NAME.svg; false (with a line on standard
// error) when a file cannot be written.
bool writeAppIcons(const std::string& themeDir, const std::string& name);

}  // namespace vw::art
