// Finding font files by the names the screen asks for ("Verdana-Bold").
#pragma once

#include <string>

namespace vw::desktop {

// The installed font file that best matches `name`: a family, then
// optionally a style after the last '-' ("Verdana-Bold", "DejaVuSans").
// Looked up through fontconfig, which substitutes the nearest installed
// family (a bold sans such as DejaVu Sans Bold for "Verdana-Bold"); falls
// back to the DejaVu files at their Debian paths. Empty when nothing fits.
std::string fontFileFor(const std::string& name);

// The parts of a font name: "Verdana-Bold" -> family "Verdana", bold.
struct FontRequest {
    std::string family;
    bool bold = false;
    bool italic = false;
};
FontRequest parseFontName(const std::string& name);

}  // namespace vw::desktop
