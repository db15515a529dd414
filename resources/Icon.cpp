#include "resources/Icon.h"

#include <cairo-svg.h>

#include <cstdio>
#include <filesystem>

#include "resources/Paint.h"

namespace vw::art {

namespace fs = std::filesystem;

void drawAppIcon(cairo_t* cr, double size) {
    cairo_save(cr);
    // Drawn on a 128-unit grid.
    cairo_scale(cr, size / 128.0, size / 128.0);

    // The battery stands upright: its terminal on top.
    const double x = 30, y = 20, w = 68, h = 100, r = 12;
    roundedRect(cr, 50, 8, 28, 16, 4);
    fill(cr, linear(50, 0, 78, 0, {{0, hex(0x5F6B77)}, {0.4, hex(0xDDE3E9)}, {1, hex(0x4E5964)}}));

    // The shell: a dark casing with a bright rim.
    roundedRect(cr, x, y, w, h, r);
    fill(cr, linear(x, 0, x + w, 0, {{0, hex(0x37424E)}, {0.5, hex(0x1A222B)}, {1, hex(0x2C3641)}}));
    roundedRect(cr, x + 2, y + 2, w - 4, h - 4, r - 2);
    stroke(cr, hex(0xB8C4CF), 4);

    // The charge: green, filling the lower two thirds of the cell.
    const double cx = x + 9, cw = w - 18, top = y + 9, bottom = y + h - 9;
    const double level = top + (bottom - top) * 0.34;
    roundedRect(cr, cx, level, cw, bottom - level, 5);
    fill(cr, linear(cx, 0, cx + cw, 0, {{0, hex(0x2E9E45)}, {0.45, hex(0x7BE08C)}, {1, hex(0x1F7A33)}}));
    // A glint along the charge's top edge.
    cairo_rectangle(cr, cx + 3, level + 2, cw - 6, 3);
    fill(cr, hex(0xFFFFFF, 0.35));

    // The bolt, yellow with a dark edge so it reads at 16 pixels.
    const std::vector<Pt> bolt{{72, 30}, {44, 76}, {61, 76}, {52, 112}, {86, 60}, {68, 60}, {80, 30}};
    polygonPath(cr, bolt);
    stroke(cr, hex(0x3A2A00), 6);
    polygonPath(cr, bolt);
    fill(cr, linear(0, 30, 0, 112, {{0, hex(0xFFF59D)}, {0.5, hex(0xFFD54F)}, {1, hex(0xFF9800)}}));
    cairo_restore(cr);
}

const std::vector<int>& appIconSizes() {
    static const std::vector<int> sizes{16, 22, 24, 32, 48, 64, 128, 256, 512};
    return sizes;
}

namespace {

bool finish(cairo_surface_t* s, const fs::path& tmp, const fs::path& path, bool png) {
    bool ok;
    if (png) {
        ok = cairo_surface_write_to_png(s, tmp.c_str()) == CAIRO_STATUS_SUCCESS;
    } else {
        cairo_surface_finish(s);  // writes out the SVG document
        ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    }
    cairo_surface_destroy(s);
    std::error_code ec;
    if (ok) fs::rename(tmp, path, ec);
    if (!ok || ec) {
        fs::remove(tmp, ec);
        std::fprintf(stderr, "generate_icons: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool writeAppIcons(const std::string& themeDir, const std::string& name) {
    const fs::path root = fs::path(themeDir) / "hicolor";
    bool ok = true;
    for (int px : appIconSizes()) {
        const fs::path dir = root / (std::to_string(px) + "x" + std::to_string(px)) / "apps";
        fs::create_directories(dir);
        const fs::path path = dir / (name + ".png");
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, px, px);
        cairo_t* cr = cairo_create(s);
        drawAppIcon(cr, px);
        cairo_destroy(cr);
        ok = finish(s, path.string() + ".tmp", path, true) && ok;
    }
    const fs::path dir = root / "scalable" / "apps";
    fs::create_directories(dir);
    const fs::path path = dir / (name + ".svg");
    const fs::path tmp = path.string() + ".tmp";
    cairo_surface_t* s = cairo_svg_surface_create(tmp.c_str(), 128, 128);
    cairo_svg_surface_restrict_to_version(s, CAIRO_SVG_VERSION_1_1);
    cairo_t* cr = cairo_create(s);
    drawAppIcon(cr, 128);
    cairo_destroy(cr);
    return finish(s, tmp, path, false) && ok;
}

}  // namespace vw::art
