// Skins: rainbows, sky, weather and light effects.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> skySkins() { return {}; }

}  // namespace vw::art
