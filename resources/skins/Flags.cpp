// Skins: flags, sport, guitars and cars.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> flagSkins() { return {}; }

}  // namespace vw::art
