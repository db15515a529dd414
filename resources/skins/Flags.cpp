// Skins: national flags.
//
// Each flag is laid out from its own construction sheet (stripe counts,
// star grids, band widths as fractions of the hoist), filled to the skin
// and cropped at the fly where the flag is longer than the skin. A soft
// overlay of light and dark folds makes the cloth look as if it waves.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

// The inner radius of a regular five-pointed star over its outer radius.
constexpr double kStarInner = 0.381966;

// A regular five-pointed star of outer radius r at (cx, cy), one point
// aimed along `pointDegrees` (-90 is straight up, in screen space).
void star5(cairo_t* cr, double cx, double cy, double r, double pointDegrees = -90) {
    starPath(cr, cx, cy, r, r * kStarInner, 5, pointDegrees);
}

// Light and dark folds over the whole skin, as a waving cloth catches the
// light. The waves run mostly across the flag and grow toward the fly, the
// free end, where a real flag ripples most.
void clothFolds(cairo_t* cr, double strength = 1.0) {
    shadePixels(cr, 0, 0, W, H, [strength](double x, double y) {
        const double u = x / W;
        // The crests lean a little and wander, as cloth folds do.
        const double bend = 7.0 * std::sin(y * 0.019 + 0.8) + 4.0 * std::sin(y * 0.043 + x * 0.012);
        const double p = (x + bend) * 0.046 + y * 0.014;
        // The slope of a wavy height field, lit from the upper left.
        double s = 0.64 * std::cos(p) + 0.36 * std::cos(p * 1.85 + 1.3 + y * 0.006);
        s *= 0.5 + 0.6 * u;
        // Highlights come to a softer, narrower sheen than the shade.
        const double light = std::pow(std::max(s, 0.0), 1.4);
        const double shade = std::max(-s, 0.0);
        if (light > 0) {
            return hex(0xFFFFFF, std::clamp(light * 0.30 * strength, 0.0, 1.0));
        }
        return hex(0x0E1020, std::clamp(shade * 0.34 * strength, 0.0, 1.0));
    });
    // The hoist sits in shade against the pole, a touch darker.
    paint(cr, linear(0, 0, 16, 0, {{0, hex(0x000000, 0.16)}, {1, hex(0x000000, 0)}}));
}

void finish(cairo_t* cr) {
    clothFolds(cr);
    glassFinish(cr, 0.22);
}

// ---------------------------------------------------------------- United States

// Thirteen stripes, red at top and bottom, and the blue union over the top
// seven with fifty stars in nine rows of six and five. The union and stars
// keep their true proportions to the hoist; the skin is narrower than the
// flag, so the stripes are cut short at the fly.
void drawUnitedStates(cairo_t* cr) {
    const Colour red = hex(0xB22234), white = hex(0xFFFFFF), blue = hex(0x3C3B6E);
    const double A = H;  // the hoist
    const double stripe = A / 13;
    paint(cr, white);
    for (int i = 0; i < 13; i += 2) {
        cairo_rectangle(cr, 0, i * stripe, W, stripe);
        fill(cr, red);
    }
    // The union: 0.76 of the hoist wide, seven stripes tall.
    const double cw = 0.76 * A, ch = 7 * stripe;
    cairo_rectangle(cr, 0, 0, cw, ch);
    fill(cr, blue);
    // Star grid: rows every 0.054 of the hoist, columns every 0.063, star
    // diameter 0.0616. Rows of six sit on the odd columns, rows of five on
    // the even ones.
    const double e = ch / 10, g = cw / 12, r = 0.0616 * A / 2;
    for (int row = 0; row < 9; ++row) {
        const bool six = row % 2 == 0;
        for (int col = six ? 1 : 2; col <= 11; col += 2) {
            star5(cr, col * g, (row + 1) * e, r);
        }
    }
    fill(cr, white);
    finish(cr);
}

// ---------------------------------------------------------------- United Kingdom

// A band of width `w` whose centre line runs from a to b shifted sideways
// by `offset` along the unit normal n.
void band(cairo_t* cr, Pt a, Pt b, Pt n, double offset, double w) {
    const double lo = offset - w / 2, hi = offset + w / 2;
    polygonPath(cr, {{a.x + n.x * lo, a.y + n.y * lo},
                     {b.x + n.x * lo, b.y + n.y * lo},
                     {b.x + n.x * hi, b.y + n.y * hi},
                     {a.x + n.x * hi, a.y + n.y * hi}});
}

// The blue field, the white saltire with the red one counterchanged on it,
// and the red cross with its white edging. Widths go by the hoist, thirty
// parts: the cross six with two of white each side, the white saltire six,
// its red two, set against the diagonal on the clockwise side.
void drawUnitedKingdom(cairo_t* cr) {
    const Colour blue = hex(0x012169), red = hex(0xC8102E), white = hex(0xFFFFFF);
    const double u = H / 30;
    paint(cr, blue);

    // Extend the diagonals past the corners so the bands' ends are cut by
    // the skin's edges, not left square inside it.
    const double len = std::hypot(W, H);
    const Pt d1{W / len, H / len};   // top left to bottom right
    const Pt d2{-W / len, H / len};  // top right to bottom left
    const double ext = 20;
    const Pt a1{-d1.x * ext, -d1.y * ext}, b1{W + d1.x * ext, H + d1.y * ext};
    const Pt a2{W - d2.x * ext, -d2.y * ext}, b2{d2.x * ext, H + d2.y * ext};

    // The white saltire.
    const Pt n1{-d1.y, d1.x};  // the lower-left side of the main diagonal
    const Pt n2{-d2.y, d2.x};  // the upper-left side of the other diagonal
    band(cr, a1, b1, n1, 0, 6 * u);
    band(cr, a2, b2, n2, 0, 6 * u);
    fill(cr, white);

    // The red saltire, one arm per quarter, each on the clockwise side of
    // its diagonal as it runs out from the centre: below the line at the
    // upper hoist, above it at the upper fly, and turned half round for
    // the lower two.
    struct Arm {
        double qx, qy;  // the quarter
        Pt a, b, n;
        double side;
    };
    const Arm arms[] = {
        {0, 0, a1, b1, n1, +1},          // upper hoist: below the diagonal
        {W / 2, H / 2, a1, b1, n1, -1},  // lower fly: above it
        {W / 2, 0, a2, b2, n2, +1},      // upper fly: above it
        {0, H / 2, a2, b2, n2, -1},      // lower hoist: below it
    };
    for (const Arm& arm : arms) {
        Saved s(cr);
        cairo_rectangle(cr, arm.qx, arm.qy, W / 2, H / 2);
        cairo_clip(cr);
        band(cr, arm.a, arm.b, arm.n, arm.side * 1 * u, 2 * u);
        fill(cr, red);
    }

    // The cross with its white edging.
    cairo_rectangle(cr, W / 2 - 5 * u, 0, 10 * u, H);
    cairo_rectangle(cr, 0, H / 2 - 5 * u, W, 10 * u);
    fill(cr, white);
    cairo_rectangle(cr, W / 2 - 3 * u, 0, 6 * u, H);
    cairo_rectangle(cr, 0, H / 2 - 3 * u, W, 6 * u);
    fill(cr, red);
    finish(cr);
}

// ---------------------------------------------------------------- France

// Three equal upright bands: blue at the hoist, white, red at the fly.
void drawFrance(cairo_t* cr) {
    const Colour blue = hex(0x002395), white = hex(0xFFFFFF), red = hex(0xED2939);
    cairo_rectangle(cr, 0, 0, W / 3, H);
    fill(cr, blue);
    cairo_rectangle(cr, W / 3, 0, W / 3, H);
    fill(cr, white);
    cairo_rectangle(cr, 2 * W / 3, 0, W - 2 * W / 3, H);
    fill(cr, red);
    finish(cr);
}

// ---------------------------------------------------------------- China

// A red field with five yellow stars in the upper hoist. On a grid of
// twenty parts to the hoist, the large star stands at (5, 5) with a radius
// of three, the small ones at (10, 2), (12, 4), (12, 7) and (10, 9) with a
// radius of one, each with a point aimed at the large star's centre. The
// flag is half as long again as its hoist, so the skin shows it up to the
// fly's last third.
void drawChina(cairo_t* cr) {
    const Colour red = hex(0xEE1C25), yellow = hex(0xFFDE00);
    const double u = H / 20;
    paint(cr, red);
    const Pt big{5 * u, 5 * u};
    star5(cr, big.x, big.y, 3 * u);
    for (const Pt g : {Pt{10, 2}, Pt{12, 4}, Pt{12, 7}, Pt{10, 9}}) {
        const Pt c{g.x * u, g.y * u};
        const double aim = std::atan2(big.y - c.y, big.x - c.x) * 180 / kPi;
        star5(cr, c.x, c.y, u, aim);
    }
    fill(cr, yellow);
    finish(cr);
}

// ---------------------------------------------------------------- Puerto Rico

// Five equal stripes, red and white, red at top and bottom, and at the
// hoist a blue equilateral triangle as tall as the flag with one white
// star at its centre, a point upward. The flag is 3:2, so the skin cuts
// the stripes short at the fly.
void drawPuertoRico(cairo_t* cr) {
    const Colour red = hex(0xED0000), white = hex(0xFFFFFF), blue = hex(0x0050F0);
    const double stripe = H / 5;
    paint(cr, white);
    for (int i = 0; i < 5; i += 2) {
        cairo_rectangle(cr, 0, i * stripe, W, stripe);
        fill(cr, red);
    }
    const double apex = H * std::sqrt(3.0) / 2;
    polygonPath(cr, {{0, 0}, {apex, H / 2}, {0, H}});
    fill(cr, blue);
    // The star sits at the triangle's centre, a third of the way in.
    const double inradius = apex / 3;
    star5(cr, inradius, H / 2, inradius * 0.62);
    fill(cr, white);
    finish(cr);
}

}  // namespace

std::vector<SkinDesign> flagSkins() {
    return {
        {"flag_us_skin.png", drawUnitedStates},
        {"flag_uk_skin.png", drawUnitedKingdom},
        {"flag_france_skin.png", drawFrance},
        {"flag_china_skin.png", drawChina},
        {"puerto_rico_skin.png", drawPuertoRico},
    };
}

}  // namespace vw::art
