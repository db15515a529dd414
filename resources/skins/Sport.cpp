// Skins: guitars, football and sports cars.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> sportSkins() { return {}; }

}  // namespace vw::art
