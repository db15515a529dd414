// Skins: landscapes, seasons and space.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> sceneSkins() { return {}; }

}  // namespace vw::art
