// Skins: bridges, cities, islands and the seaside.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> citySkins() { return {}; }

}  // namespace vw::art
