// Skins: plain colours, rainbows, sky and light effects.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> colourSkins() { return {}; }

}  // namespace vw::art
