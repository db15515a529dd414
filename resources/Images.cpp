#include "resources/Images.h"

#include <algorithm>
#include <cmath>

#include "resources/Paint.h"
#include "resources/Skins.h"
#include "screen/SkinCatalogue.h"

namespace vw::art {

namespace {
// What a catalogue skin without a design shows: its title on grey, so the
// gap is plain to see and the build still has every file.
Drawing placeholder(std::string title) {
    return [title](cairo_t* cr) {
        paint(cr, hex(0x808080));
        text(cr, {14, true}, title, kSkinW / 2, kSkinH / 2 - 8, hex(0xFFFFFF), Align::Center);
    };
}
}  // namespace

std::vector<Image> skinImages() {
    std::vector<Image> out;
    for (const auto& skin : kSkinCatalogue) {
        const SkinDraw d = skinDesign(skin.file);
        out.push_back({std::string(skin.file), static_cast<int>(kSkinW), static_cast<int>(kSkinH),
                       d ? Drawing(d) : placeholder(std::string(skin.title))});
    }
    return out;
}

std::vector<Image> allImages() {
    std::vector<Image> all = screenImages();
    for (auto& i : skinImages()) all.push_back(std::move(i));
    for (auto& i : slideShowImages()) all.push_back(std::move(i));
    return all;
}

std::string scaledName(const std::string& file, int scale) {
    if (scale == 1) return file;
    const auto dot = file.rfind('.');
    const std::string suffix = "@" + std::to_string(scale) + "x";
    return dot == std::string::npos ? file + suffix : file.substr(0, dot) + suffix + file.substr(dot);
}

cairo_surface_t* render(const Image& image, int scale) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width * scale, image.height * scale);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, scale, scale);
    // Keep drawing inside the image's own rectangle whatever a design does.
    cairo_rectangle(cr, 0, 0, image.width, image.height);
    cairo_clip(cr);
    image.draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

cairo_surface_t* contactSheet(const std::vector<Image>& images, const std::vector<std::string>& captions, int columns) {
    constexpr int pad = 14, caption = 22;
    int cellW = 0, cellH = 0;
    for (const auto& i : images) {
        cellW = std::max(cellW, i.width);
        cellH = std::max(cellH, i.height);
    }
    columns = std::max(1, std::min(columns, static_cast<int>(images.size())));
    const int rows = (static_cast<int>(images.size()) + columns - 1) / columns;
    const int w = columns * (cellW + pad) + pad, h = rows * (cellH + caption + pad) + pad;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(sheet);
    paint(cr, hex(0x2B2F36));
    for (std::size_t n = 0; n < images.size(); ++n) {
        const int col = static_cast<int>(n) % columns, row = static_cast<int>(n) / columns;
        const double x = pad + col * (cellW + pad), y = pad + row * (cellH + caption + pad);
        // A checkerboard shows where an image is transparent.
        cairo_save(cr);
        cairo_rectangle(cr, x, y, images[n].width, images[n].height);
        cairo_clip_preserve(cr);
        fill(cr, hex(0x9AA0A8));
        for (int cy = 0; cy < images[n].height; cy += 8)
            for (int cx = (cy / 8) % 2 * 8; cx < images[n].width; cx += 16) cairo_rectangle(cr, x + cx, y + cy, 8, 8);
        fill(cr, hex(0xC4C8CE));
        cairo_restore(cr);
        cairo_surface_t* img = render(images[n], 1);
        cairo_set_source_surface(cr, img, x, y);
        cairo_paint(cr);
        cairo_surface_destroy(img);
        const std::string& label = n < captions.size() ? captions[n] : images[n].file;
        text(cr, {12, true}, label, x + images[n].width / 2.0, y + images[n].height + 4, hex(0xE8EAED), Align::Center);
    }
    cairo_destroy(cr);
    cairo_surface_flush(sheet);
    return sheet;
}

}  // namespace vw::art
