// The battery graphic, its filler and red fill, and the chrome buttons.
//
// The outline is drawn at (1, 5) on the screen; the skin shows through its
// window at outline (30, 70), 251 x 194, down to the outline's bottom edge,
// and the picker covers everything below.
#include <cmath>

#include "resources/Images.h"
#include "resources/Paint.h"
#include "resources/Skins.h"

namespace vw::art {

namespace {

// Polished chrome from top to bottom: bright, a dark horizon band, bright again.
PatternPtr chrome(double y0, double y1) {
    return linear(0, y0, 0, y1,
                  {{0.00, hex(0xFDFEFF)},
                   {0.18, hex(0xD9DEE4)},
                   {0.48, hex(0x9AA4AF)},
                   {0.52, hex(0x7D8792)},
                   {0.80, hex(0xC9D0D7)},
                   {1.00, hex(0xEEF1F4)}});
}

void bolt(cairo_t* cr, double x, double y, double s) {
    polygonPath(cr, {{x + 14 * s, y},
                     {x, y + 24 * s},
                     {x + 9 * s, y + 24 * s},
                     {x + 3 * s, y + 44 * s},
                     {x + 23 * s, y + 16 * s},
                     {x + 13 * s, y + 16 * s},
                     {x + 20 * s, y}});
}

void drawOutline(cairo_t* cr) {
    // A dark stage with a cool light from above.
    paint(cr, radial(160, 40, 10, 160, 120, 300, {{0, hex(0x2C3A4C)}, {0.6, hex(0x121922)}, {1, hex(0x06080B)}}));

    // The name, with a bolt.
    softShadow(cr, [](cairo_t* c) { bolt(c, 24, 9, 1.0); }, hex(0x4FC3F7, 0.8), 7);
    bolt(cr, 24, 9, 1.0);
    fill(cr, linear(0, 9, 0, 53, {{0, hex(0xFFF7B0)}, {0.5, hex(0xFFD54F)}, {1, hex(0xFF8F00)}}));
    const Font title{30, true};
    softShadow(cr, [&](cairo_t* c) { roundedRect(c, 52, 14, textWidth(c, title, "VOLTWISE"), 30, 4); }, hex(0x000000, 0.5), 6,
               0, 2);
    text(cr, title, "VOLTWISE", 53, 11, hex(0x0A0E13, 0.6));
    text(cr, title, "VOLTWISE", 52, 10, hex(0xFFFFFF));
    roundedRect(cr, 256, 17, 46, 22, 11);
    fill(cr, linear(0, 17, 0, 39, {{0, hex(0x81D4FA)}, {1, hex(0x0288D1)}}));
    text(cr, {11, true}, "FREE", 279, 21, hex(0x062033), Align::Center);

    // The cell: a chrome shell around the window where the skin shows. Its
    // bottom runs on under the picker.
    softShadow(cr, [](cairo_t* c) { roundedRect(c, 16, 58, 280, 240, 22); }, hex(0x000000, 0.85), 12, 0, 4);
    roundedRect(cr, 16, 58, 280, 240, 22);
    fill(cr, chrome(58, 300));
    roundedRect(cr, 16.5, 58.5, 279, 239, 21.5);
    stroke(cr, hex(0x3E4650), 1.0);
    roundedRect(cr, 18.5, 60.5, 275, 235, 19.5);
    stroke(cr, hex(0xFFFFFF, 0.7), 1.0);
    // The terminal.
    roundedRect(cr, 293, 124, 19, 90, 7);
    fill(cr, linear(293, 0, 312, 0, {{0, hex(0x8C96A1)}, {0.35, hex(0xF4F6F8)}, {1, hex(0x7B8590)}}));
    roundedRect(cr, 293.5, 124.5, 18, 89, 6.5);
    stroke(cr, hex(0x3E4650), 1.0);
    // The window's recessed lip, then the window itself (the skin covers it).
    roundedRect(cr, 25, 65, 262, 230, 8);
    fill(cr, linear(0, 65, 0, 295, {{0, hex(0x0B0E12)}, {1, hex(0x2A3139)}}));
    cairo_rectangle(cr, 30, 70, kSkinW, kSkinH + 10);
    fill(cr, hex(0x07090C));
}

void drawFiller(cairo_t* cr) {
    // Smoked glass over an empty cell. It changes only from top to bottom, so
    // it looks the same however far the gauge squeezes it sideways.
    const double h = kSkinH;
    cairo_rectangle(cr, 0, 0, kSkinW, h);
    fill(cr, linear(0, 0, 0, h,
                    {{0.00, hex(0x414953)},
                     {0.10, hex(0x353C45)},
                     {0.55, hex(0x1B1F24)},
                     {0.80, hex(0x14171B)},
                     {1.00, hex(0x252A31)}}));
    // The reflection across the upper part of the glass.
    cairo_rectangle(cr, 0, h * 0.05, kSkinW, h * 0.36);
    fill(cr, linear(0, h * 0.05, 0, h * 0.41,
                    {{0, hex(0xFFFFFF, 0)}, {0.25, hex(0xFFFFFF, 0.16)}, {0.55, hex(0xFFFFFF, 0.07)}, {1, hex(0xFFFFFF, 0)}}));
    // Fine horizontal ribs of the empty cell.
    for (double y = 3; y < h; y += 6) {
        cairo_rectangle(cr, 0, y, kSkinW, 1);
        fill(cr, hex(0x000000, 0.22));
        cairo_rectangle(cr, 0, y + 1, kSkinW, 0.6);
        fill(cr, hex(0xFFFFFF, 0.04));
    }
}

void drawRedFill(cairo_t* cr) {
    // What the cell shows when the charge is nearly gone: glowing red with
    // faint warning stripes.
    cairo_rectangle(cr, 0, 0, kSkinW, kSkinH);
    fill(cr, linear(0, 0, 0, kSkinH, {{0, hex(0xFF6A5C)}, {0.5, hex(0xE02A22)}, {1, hex(0x8E0B0B)}}));
    paint(cr, radial(70, 90, 10, 70, 90, 200, {{0, hex(0xFFD0C0, 0.35)}, {1, hex(0xFFD0C0, 0)}}));
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, 0, kSkinW, kSkinH);
        cairo_clip(cr);
        for (double x = -kSkinH; x < kSkinW + kSkinH; x += 36) {
            polygonPath(cr, {{x, kSkinH}, {x + 14, kSkinH}, {x + 14 + kSkinH, 0}, {x + kSkinH, 0}});
            fill(cr, hex(0x000000, 0.10));
        }
    }
    glassFinish(cr, 0.28);
}

void drawButton(cairo_t* cr, const std::string& label) {
    constexpr double w = 95, h = 23;
    // A chrome pill: a bright top half, a darker lower half, a thin dark rim
    // and a light inner edge.
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
    fill(cr, linear(0, 0, 0, h,
                    {{0.00, hex(0xFFFFFF)},
                     {0.45, hex(0xDCE1E7)},
                     {0.50, hex(0xB4BCC6)},
                     {0.85, hex(0xD6DCE2)},
                     {1.00, hex(0xF2F4F6)}}));
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 8);
    stroke(cr, hex(0x4E5862), 1.0);
    roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 7);
    stroke(cr, hex(0xFFFFFF, 0.75), 0.8);
    const Font f{11.5, true};
    text(cr, f, label, w / 2, 4.6, hex(0xFFFFFF, 0.85), Align::Center);  // engraved: a light edge below
    text(cr, f, label, w / 2, 3.6, hex(0x1C2630), Align::Center);
}

Image button(std::string file, std::string label) {
    return {std::move(file), 95, 23, [label](cairo_t* cr) { drawButton(cr, label); }};
}

}  // namespace

std::vector<Image> screenImages() {
    return {
        {"battery_empty_4.png", 320, 264, drawOutline},
        {"battery_empty_filler.png", static_cast<int>(kSkinW), static_cast<int>(kSkinH), drawFiller},
        {"battery_fill_red_3.png", static_cast<int>(kSkinW), static_cast<int>(kSkinH), drawRedFill},
        button("btn_chrome_customize.png", "Customize"),
        button("btn_chrome_pro_vs_free.png", "Get Pro"),
        button("btn_chrome_our_apps.png", "Our Apps"),
        button("btn_chrome_save.png", "Save"),
    };
}

}  // namespace vw::art
