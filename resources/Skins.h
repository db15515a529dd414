// The skins behind the battery's fill, each 251 x 194, one design per
// catalogue file. The designs live in groups under skins/.
#pragma once

#include <cairo.h>

#include <string_view>
#include <vector>

namespace vw::art {

inline constexpr double kSkinW = 251, kSkinH = 194;

using SkinDraw = void (*)(cairo_t*);

struct SkinDesign {
    std::string_view file;
    SkinDraw draw;
};

std::vector<SkinDesign> colourSkins();   // plain colours, rainbows, sky and light effects
std::vector<SkinDesign> patternSkins();  // argyle, plaid, dots, confetti, paisley, graffiti, anime
std::vector<SkinDesign> animalSkins();   // hides, fur, fish and whales
std::vector<SkinDesign> flagSkins();     // flags, sport, guitars and cars
std::vector<SkinDesign> sceneSkins();    // bridges, skylines, islands, landscapes, space

// The design drawn for a catalogue file, or null when there is none.
SkinDraw skinDesign(std::string_view file);

// The glassy finish most skins share: a soft light band across the top and a
// faint shade at the bottom, so the skin reads as behind the battery's glass.
void glassFinish(cairo_t* cr, double strength = 0.25);

}  // namespace vw::art
