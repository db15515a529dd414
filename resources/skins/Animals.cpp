// Skins: animal hides, fur, fish and whales.
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

std::vector<SkinDesign> animalSkins() { return {}; }

}  // namespace vw::art
