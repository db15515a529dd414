// The application's generated images and sounds.
#pragma once

#include <string>
#include <vector>

#include "resources/Canvas.h"

namespace vw::art {

inline constexpr int kSkinWidth = 251, kSkinHeight = 194;

// One skin of the catalogue by its file name; throws for a name without a design.
Canvas drawSkin(const std::string& file);
std::vector<std::string> skinDesigns();

Canvas drawBatteryOutline();  // "battery_empty_4.png", 320 x 264
Canvas drawBatteryFiller();   // "battery_empty_filler.png", 251 x 194
Canvas drawRedFill();         // "battery_fill_red_3.png", 251 x 194
Canvas drawButton(const std::string& label);  // 95 x 23

// The slide show: backdrop 320 x 480, panels 320 x 366, headers 320 x 73.
struct SlidePanel {
    std::string panelFile, headerFile, tab, title, text;
};
const std::vector<SlidePanel>& slidePanels();
Canvas drawBackdrop();
Canvas drawPanel(std::size_t index);
Canvas drawHeader(std::size_t index);

// Sounds, as 16-bit mono samples at kSampleRate.
inline constexpr int kSampleRate = 44100;
std::vector<short> chimeSamples();
std::vector<short> riffSamples();
bool writeWav(const std::string& path, const std::vector<short>& samples);
bool writeMp3(const std::string& path, const std::vector<short>& samples);

}  // namespace vw::art
