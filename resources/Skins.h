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

std::vector<SkinDesign> colourSkins();   // plain colours
std::vector<SkinDesign> skySkins();      // rainbows, sky, weather and light effects
std::vector<SkinDesign> patternSkins();  // argyle, plaid, dots, confetti, paisley, graffiti, anime
std::vector<SkinDesign> animalSkins();   // hides, fur, fish and whales
std::vector<SkinDesign> flagSkins();     // national flags
std::vector<SkinDesign> sportSkins();    // guitars, football and sports cars
std::vector<SkinDesign> sceneSkins();    // landscapes, seasons and space
std::vector<SkinDesign> citySkins();     // bridges, cities, islands and the seaside

// The design drawn for a catalogue file, or null when there is none.
SkinDraw skinDesign(std::string_view file);

// The glassy finish most skins share: a soft light band across the top and a
// faint shade at the bottom, so the skin reads as behind the battery's glass.
void glassFinish(cairo_t* cr, double strength = 0.25);

}  // namespace vw::art
