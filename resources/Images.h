// Every image the application names, with its size in points and the code
// that draws it. The generator writes each at 1x ("name.png") and at 2x
// ("name@2x.png") for sharp drawing on scaled windows.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace vw::art {

using Drawing = std::function<void(cairo_t*)>;

struct Image {
    std::string file;
    int width = 0, height = 0;
    Drawing draw;
};

// The screen's images, the 58 skins and the slide show's images.
std::vector<Image> allImages();
std::vector<Image> screenImages();     // outline, filler, red fill, buttons
std::vector<Image> slideShowImages();  // backdrop, panels, headers
std::vector<Image> skinImages();       // in catalogue order

// The file name of the image at a scale: "a.png" at 2 is "a@2x.png".
std::string scaledName(const std::string& file, int scale);

// Draws the image at a whole-number scale onto a new surface (the caller
// destroys it).
cairo_surface_t* render(const Image& image, int scale);

// A grid of the images at 1x with their captions, for looking over.
cairo_surface_t* contactSheet(const std::vector<Image>& images, const std::vector<std::string>& captions, int columns);

}  // namespace vw::art
