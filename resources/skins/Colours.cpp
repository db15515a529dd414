// Skins: plain colours. Each is one colour with a soft gradient: lighter where
// the light falls at the top left, deeper towards the bottom right, a faint
// diagonal sheen, and the glass finish over it.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <cmath>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

struct Tint {
    Colour base;
    double light = 0.3;  // how far the lit corner goes towards white
    double shade = 0.35; // how far the far corner goes towards black
};

void solid(cairo_t* cr, const Tint& t) {
    const Colour lit = lighter(t.base, t.light), deep = darker(t.base, t.shade);
    paint(cr, linear(0, 0, W * 0.35, H, {{0, lit}, {0.55, t.base}, {1, deep}}));
    // A broad glow where the light falls.
    paint(cr, radial(W * 0.28, H * 0.2, 0, W * 0.28, H * 0.2, W * 0.7,
                     {{0, withAlpha(lighter(t.base, 0.5), 0.45)}, {1, withAlpha(t.base, 0)}}));
    // A soft diagonal sheen across the middle.
    {
        Saved s(cr);
        cairo_translate(cr, W * 0.55, H * 0.5);
        cairo_rotate(cr, -0.5);
        cairo_rectangle(cr, -W, -22, 2 * W, 44);
        fill(cr, linear(0, -22, 0, 22,
                        {{0, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.1)}, {1, hex(0xFFFFFF, 0)}}));
    }
    // A very fine grain so large flat areas do not band.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = noise(x * 0.9, y * 0.9, 17) - 0.5;
        return n > 0 ? hex(0xFFFFFF, n * 0.05) : hex(0x000000, -n * 0.06);
    });
    glassFinish(cr);
}

// Neon green glows: a dark edge so the centre seems lit from within.
void neon(cairo_t* cr) {
    const Colour green = hex(0x39FF14);
    paint(cr, hex(0x0B3D02));
    paint(cr, radial(W * 0.5, H * 0.5, 0, W * 0.5, H * 0.5, W * 0.62,
                     {{0, lighter(green, 0.35)}, {0.45, green}, {0.8, hex(0x1FB80A)}, {1, hex(0x0E5A04)}}));
    // Faint horizontal glow lines, like a lit tube's light.
    for (int i = 0; i < 6; ++i) {
        const double y = 18 + i * 32;
        cairo_rectangle(cr, 0, y - 4, W, 8);
        fill(cr, linear(0, y - 4, 0, y + 4,
                        {{0, hex(0xEFFFD0, 0)}, {0.5, hex(0xEFFFD0, 0.12)}, {1, hex(0xEFFFD0, 0)}}));
    }
    glassFinish(cr, 0.3);
}

void drawBlue(cairo_t* cr) { solid(cr, {hex(0x1E7BE0)}); }
void drawGreen(cairo_t* cr) { solid(cr, {hex(0x2DA83A)}); }
void drawNavy(cairo_t* cr) { solid(cr, {hex(0x1B2A5C), 0.22, 0.45}); }
void drawOrange(cairo_t* cr) { solid(cr, {hex(0xF57C12)}); }
void drawPink(cairo_t* cr) { solid(cr, {hex(0xF0609E)}); }
void drawPurple(cairo_t* cr) { solid(cr, {hex(0x7B3FC4)}); }
void drawRed(cairo_t* cr) { solid(cr, {hex(0xD92626)}); }

}  // namespace

std::vector<SkinDesign> colourSkins() {
    return {
        {"blue_skin.png", drawBlue},     {"green_skin.png", drawGreen},   {"navy_skin.png", drawNavy},
        {"neon_green_skin.png", neon},   {"orange_skin.png", drawOrange}, {"pink_skin.png", drawPink},
        {"purple_skin.png", drawPurple}, {"red_skin.png", drawRed},
    };
}

}  // namespace vw::art
