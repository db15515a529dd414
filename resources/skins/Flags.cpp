// Skins: national flags.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> flagSkins() { return {}; }

}  // namespace vw::art
