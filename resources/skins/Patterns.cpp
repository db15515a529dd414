// Skins: argyle, plaid, dots, confetti, paisley, graffiti and anime.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

// ---------------------------------------------------------------- argyle

// Diamonds in two alternating pinks with a thin dashed overcheck through
// their centres, like a knitted sweater.
void drawArgylePink(cairo_t* cr) {
    paint(cr, hex(0xC9487A));
    const double dw = 56, dh = 82;  // one diamond
    const Colour a = hex(0xB03468), b = hex(0xE67EA6);
    auto diamond = [&](double cx, double cy, double s) {
        polygonPath(cr, {{cx, cy - dh / 2 * s}, {cx + dw / 2 * s, cy}, {cx, cy + dh / 2 * s}, {cx - dw / 2 * s, cy}});
    };
    for (int j = -1; j <= 3; ++j) {
        for (int i = -1; i <= 5; ++i) {
            const double cx = i * dw + 12, cy = j * dh + 10;
            // Lattice one: the deep rose diamonds.
            diamond(cx, cy, 1);
            fill(cr, linear(cx, cy - dh / 2, cx, cy + dh / 2,
                            {{0, lighter(a, 0.08)}, {1, darker(a, 0.1)}}));
            // Lattice two: the light pink ones between them.
            const double bx = cx + dw / 2, by = cy + dh / 2;
            diamond(bx, by, 1);
            fill(cr, linear(bx, by - dh / 2, bx, by + dh / 2,
                            {{0, lighter(b, 0.06)}, {1, darker(b, 0.08)}}));
            // A small inner diamond gives the knit its depth.
            diamond(bx, by, 0.42);
            fill(cr, withAlpha(hex(0xF6B3CB), 0.55));
            diamond(cx, cy, 0.42);
            fill(cr, withAlpha(hex(0x8E2252), 0.45));
        }
    }
    // Overcheck: dashed lines through the diamond centres, parallel to the edges.
    {
        Saved s(cr);
        const double dashes[] = {4.2, 3.0};
        cairo_set_dash(cr, dashes, 2, 0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int k = -8; k <= 12; ++k) {
            const double ox = 12 + k * dw;  // through centres at (ox, 10)
            // Direction of the edges: (dw/2, dh/2) and (dw/2, -dh/2).
            const double t = 4;
            cairo_move_to(cr, ox - dw / 2 * t, 10 - dh / 2 * t);
            cairo_line_to(cr, ox + dw / 2 * t, 10 + dh / 2 * t);
            cairo_move_to(cr, ox - dw / 2 * t, 10 + dh / 2 * t);
            cairo_line_to(cr, ox + dw / 2 * t, 10 - dh / 2 * t);
        }
        stroke(cr, hex(0xFFE3EE, 0.85), 1.3);
    }
    // A faint knitted texture so the flat colour reads as wool.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double v = 0.5 + 0.5 * std::sin(x * 2.4 + std::sin(y * 1.6) * 1.2) * std::sin(y * 1.6);
        return v > 0.5 ? hex(0xFFFFFF, (v - 0.5) * 0.08) : hex(0x000000, (0.5 - v) * 0.1);
    });
    glassFinish(cr);
}

// ---------------------------------------------------------------- plaid

struct Band {
    double width;
    Colour colour;
};

// The colour of the sett at position p: the bands run out and back (a
// mirrored sett), as a woven tartan does.
Colour settColour(const std::vector<Band>& bands, double p) {
    double half = 0;
    for (const Band& b : bands) half += b.width;
    double q = std::fmod(p, 2 * half);
    if (q < 0) q += 2 * half;
    if (q > half) q = 2 * half - q;
    double at = 0;
    for (const Band& b : bands) {
        if (q < at + b.width) return b.colour;
        at += b.width;
    }
    return bands.back().colour;
}

// A camel tartan: warp and weft carry the same sett, and a fine twill blends
// them where stripes cross.
void drawPlaid(cairo_t* cr) {
    const Colour camel = hex(0xB98E5C), black = hex(0x231E1C), white = hex(0xF2EBDD), red = hex(0xB3262A),
                 dark = hex(0x8A6642);
    const std::vector<Band> bands = {{13, camel}, {1.4, white}, {5, camel}, {7, black}, {2.5, camel},
                                     {2.5, black}, {2.5, camel}, {7, black}, {9, dark}, {1.6, red}, {9, dark}};
    const double off = 20;
    shadePixels(cr, 0, 0, W, H, [&](double x, double y) {
        const Colour warp = settColour(bands, x + off), weft = settColour(bands, y + off * 0.4);
        // 2/2 twill: a smooth diagonal rib decides which thread shows.
        const double rib = std::sin((x + y) * kPi / 1.1);
        const double t = 0.5 + 0.24 * rib;
        Colour c = mix(warp, weft, t);
        // Thread grain along each direction.
        const double grain = 0.035 * std::sin(x * 7.3) * std::sin(y * 6.1) + 0.03 * (noise(x * 0.9, y * 0.9, 7) - 0.5);
        c = grain > 0 ? lighter(c, grain) : darker(c, -grain);
        return c;
    });
    // Soft cloth fold shading, so it is not a flat print.
    paint(cr, linear(0, 0, W, H, {{0, hex(0xFFFFFF, 0.06)}, {0.5, hex(0x000000, 0.0)}, {1, hex(0x000000, 0.14)}}));
    glassFinish(cr, 0.22);
}

// ---------------------------------------------------------------- polka dots

struct DotTheme {
    Colour top, bottom, dot, dotShade;
    double radius = 9.5;
};

// Dots on a half-drop grid with a soft drop shadow and a gentle dome shine.
void polkaDots(cairo_t* cr, const DotTheme& t) {
    paint(cr, linear(0, 0, W * 0.3, H, {{0, t.top}, {1, t.bottom}}));
    paint(cr, radial(W * 0.35, H * 0.25, 10, W * 0.35, H * 0.25, 220,
                     {{0, hex(0xFFFFFF, 0.10)}, {1, hex(0xFFFFFF, 0)}}));
    const double step = 34, r = t.radius;
    std::vector<Pt> centres;
    for (int j = -1; j <= 7; ++j)
        for (int i = -1; i <= 9; ++i) centres.push_back({i * step + (j % 2 ? step / 2 : 0) + 8, j * step * 0.866 + 12});
    softShadow(
        cr,
        [&](cairo_t* c) {
            for (const Pt& p : centres) circlePath(c, p.x, p.y, r);
        },
        hex(0x000000, 0.35), 3.5, 1.2, 2.0);
    for (const Pt& p : centres) {
        circlePath(cr, p.x, p.y, r);
        fill(cr, radial(p.x - r * 0.35, p.y - r * 0.4, r * 0.1, p.x, p.y, r,
                        {{0, lighter(t.dot, 0.25)}, {0.65, t.dot}, {1, t.dotShade}}));
        ellipsePath(cr, p.x - r * 0.32, p.y - r * 0.42, r * 0.38, r * 0.22, -30);
        fill(cr, hex(0xFFFFFF, 0.35));
    }
    glassFinish(cr);
}

void drawPinkPolkadots(cairo_t* cr) {
    polkaDots(cr, {hex(0xC2185B), hex(0x880E4F), hex(0xFF8FC0), hex(0xE55C98)});
}
void drawBluePolkadots(cairo_t* cr) {
    polkaDots(cr, {hex(0x16306E), hex(0x0B1A40), hex(0x4FA9F5), hex(0x2A74C9)});
}
void drawWhitePolkadots(cairo_t* cr) {
    polkaDots(cr, {hex(0x3A3F4B), hex(0x1C1F26), hex(0xFAFAFA), hex(0xD4D8DF), 7.5});  // smaller, so white text still reads
}

// ---------------------------------------------------------------- confetti

// Paper bits and curly streamers tumbling over a dark party backdrop.
void drawConfetti(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x2A1650)}, {1, hex(0x120A2E)}}));
    paint(cr, radial(W * 0.55, H * 0.35, 5, W * 0.55, H * 0.35, 180,
                     {{0, hex(0x7A3FB0, 0.45)}, {1, hex(0x7A3FB0, 0)}}));
    const Colour palette[] = {hex(0xFF4D6D), hex(0xFFC23D), hex(0x3DDC97), hex(0x38B6FF),
                              hex(0xB86BFF), hex(0xFF8A3D), hex(0xFF6FD8), hex(0xFFFFFF)};
    // Soft bokeh glows far behind.
    Random g(11);
    for (int i = 0; i < 14; ++i) {
        const double x = g.range(0, W), y = g.range(0, H), r = g.range(8, 20);
        const Colour c = palette[g.below(7)];
        circlePath(cr, x, y, r);
        fill(cr, radial(x, y, 0, x, y, r, {{0, withAlpha(c, 0.22)}, {1, withAlpha(c, 0)}}));
    }
    // Streamers: curling ribbons drawn as two-tone strokes.
    Random s(5);
    for (int i = 0; i < 10; ++i) {
        const Colour c = palette[i % 7];
        std::vector<Pt> pts;
        double x = s.range(-10, W), y = s.range(-30, H * 0.7);
        const double dir = s.range(0.6, 1.4), amp = s.range(6, 11), len = s.range(60, 110);
        for (int k = 0; k <= 24; ++k) {
            const double t = k / 24.0, a = t * 4.5 * kPi;
            pts.push_back({x + std::cos(dir) * len * t + std::cos(a) * amp, y + std::sin(dir) * len * t + std::sin(a) * amp * 0.6});
        }
        Saved sv(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        smoothOpenPath(cr, pts);
        cairo_translate(cr, 1.2, 1.8);
        stroke(cr, hex(0x000000, 0.3), 4.2);
        cairo_translate(cr, -1.2, -1.8);
        smoothOpenPath(cr, pts);
        stroke(cr, darker(c, 0.15), 4.0);
        smoothOpenPath(cr, pts);
        stroke(cr, lighter(c, 0.35), 1.4);
    }
    // Paper bits: rectangles, circles, triangles and squiggles, each turned.
    Random r(23);
    for (int i = 0; i < 130; ++i) {
        const double x = r.range(-5, W + 5), y = r.range(-5, H + 5), ang = r.range(0, 2 * kPi);
        const double sz = r.range(5.5, 10.5), tilt = r.range(0.3, 1.0);  // tilt: foreshortening as it spins
        const Colour c = palette[r.below(8)];
        const int kind = r.below(10);
        Saved sv(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, ang);
        auto shape = [&](cairo_t* c2) {
            if (kind < 5) {
                cairo_rectangle(c2, -sz * 0.5, -sz * 0.3 * tilt, sz, sz * 0.6 * tilt);
            } else if (kind < 8) {
                ellipsePath(c2, 0, 0, sz * 0.5, sz * 0.5 * tilt);
            } else {
                polygonPath(c2, {{0, -sz * 0.55}, {sz * 0.5, sz * 0.4 * tilt}, {-sz * 0.5, sz * 0.4 * tilt}});
            }
        };
        {
            Saved sh(cr);
            cairo_translate(cr, 0.8, 1.2);
            shape(cr);
            fill(cr, hex(0x000000, 0.28));
        }
        shape(cr);
        fill(cr, linear(-sz / 2, -sz / 2, sz / 2, sz / 2, {{0, lighter(c, 0.25)}, {1, darker(c, 0.12)}}));
    }
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- paisley

// One boteh: a teardrop with its tip curled over, in a unit box (body
// centred on the origin, radius about 1, tip up and to the right).
void botehPath(cairo_t* cr) {
    cairo_move_to(cr, 0, 1);
    cairo_curve_to(cr, -0.75, 1, -1.15, 0.45, -1.05, -0.2);
    cairo_curve_to(cr, -0.95, -0.95, -0.25, -1.45, 0.3, -1.8);
    cairo_curve_to(cr, 0.75, -2.1, 1.25, -2.45, 1.75, -2.25);
    cairo_curve_to(cr, 1.5, -2.0, 1.3, -1.55, 1.15, -1.05);
    cairo_curve_to(cr, 1.05, -0.85, 1.0, -0.6, 1.0, -0.2);
    cairo_curve_to(cr, 1.0, 0.5, 0.6, 1.0, 0, 1);
    cairo_close_path(cr);
}

struct BotehTheme {
    Colour outer, mid, inner, accent;
};

void boteh(cairo_t* cr, double x, double y, double size, double angle, bool mirror, const BotehTheme& t) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * kPi / 180);
    cairo_scale(cr, mirror ? -size : size, size);
    const double px = 1 / size;  // one unit in local terms
    softShadow(cr, [](cairo_t* c) { botehPath(c); }, hex(0x000000, 0.45), 3 * px, 0.6 * px, 1.2 * px);
    botehPath(cr);
    cairo_path_t* outline = cairo_copy_path(cr);
    fill(cr, radial(-0.2, -0.2, 0.1, 0, 0, 2.2, {{0, lighter(t.outer, 0.15)}, {1, darker(t.outer, 0.15)}}));
    // Scalloped border: a ring of beads just inside the outline.
    {
        Saved in(cr);
        cairo_translate(cr, 0.05, -0.08);
        cairo_scale(cr, 0.78, 0.8);
        botehPath(cr);
        fill(cr, t.mid);
    }
    // Inner teardrop and its flower.
    {
        Saved in(cr);
        cairo_translate(cr, 0.1, -0.12);
        cairo_scale(cr, 0.55, 0.56);
        botehPath(cr);
        fill(cr, t.inner);
        botehPath(cr);
        setColour(cr, t.accent);
        cairo_set_line_width(cr, 0.08);
        cairo_stroke(cr);
    }
    // Flower in the body: petals round a centre.
    for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3;
        ellipsePath(cr, 0.06 + std::cos(a) * 0.22, -0.05 + std::sin(a) * 0.22, 0.17, 0.09, a * 180 / kPi);
        fill(cr, t.accent);
    }
    circlePath(cr, 0.06, -0.05, 0.1);
    fill(cr, t.outer);
    // Little leaves up the curled tip.
    for (int k = 0; k < 3; ++k) {
        const double ty = -0.8 - k * 0.32, tx = 0.55 + k * 0.12;
        circlePath(cr, tx, ty, 0.08 - k * 0.015);
        fill(cr, t.accent);
    }
    // Bead dots round the outside edge.
    cairo_new_path(cr);
    cairo_append_path(cr, outline);
    cairo_path_destroy(outline);
    {
        Saved d(cr);
        const double dashes[] = {0.001, 0.2};
        cairo_set_dash(cr, dashes, 2, 0);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        stroke(cr, t.accent, 0.1);
    }
}

void drawPaisley(cairo_t* cr) {
    paint(cr, linear(0, 0, W, H, {{0, hex(0x5E1330)}, {1, hex(0x3A0A1E)}}));
    // A faint tiny-flower ground between the motifs.
    Random r(3);
    for (int i = 0; i < 60; ++i) {
        const double x = r.range(0, W), y = r.range(0, H);
        for (int k = 0; k < 4; ++k) {
            const double a = k * kPi / 2 + 0.4;
            circlePath(cr, x + std::cos(a) * 1.6, y + std::sin(a) * 1.6, 1.1);
        }
        fill(cr, hex(0xD9A441, 0.28));
    }
    const BotehTheme gold{hex(0xD99A2B), hex(0x1E6B6B), hex(0xE8C27A), hex(0xF5E2B0)};
    const BotehTheme teal{hex(0x1D7A7A), hex(0xE0A53A), hex(0x7A1E3C), hex(0xF2D48C)};
    const BotehTheme coral{hex(0xD2553F), hex(0x2F3F7A), hex(0xF0B36A), hex(0xFBE3C0)};
    const BotehTheme* themes[] = {&gold, &teal, &coral};
    // Pairs of motifs nestled head to tail, the pairs on a staggered grid.
    const double stepX = 90, stepY = 84, size = 19;
    for (int j = -1; j <= 2; ++j) {
        for (int i = -1; i <= 3; ++i) {
            const double x = i * stepX + (j % 2 ? stepX / 2 : 0) + 20, y = j * stepY + 62;
            const int k = ((i + 3 * j) % 3 + 3) % 3;
            boteh(cr, x, y, size, -28, false, *themes[k]);
            boteh(cr, x + 2.0 * size, y - 1.5 * size, size, 152, false, *themes[(k + 1) % 3]);
        }
    }
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- graffiti

// Bricks with mortar, a touch of grime and colour variation per brick.
void brickWall(cairo_t* cr) {
    paint(cr, hex(0x6B6560));
    const double bw = 34, bh = 15;
    Random r(9);
    for (int row = 0; row * bh < H + bh; ++row) {
        const double off = row % 2 ? bw / 2 : 0;
        for (double x = -bw + off; x < W + bw; x += bw) {
            const double y = row * bh;
            const double v = r.range(-0.1, 0.1);
            Colour c = mix(hex(0x8E4A38), hex(0x6E3A2E), r.next());
            c = v > 0 ? lighter(c, v) : darker(c, -v);
            roundedRect(cr, x + 1, y + 1, bw - 2, bh - 2, 1.5);
            fill(cr, linear(x, y, x, y + bh, {{0, lighter(c, 0.06)}, {1, darker(c, 0.12)}}));
        }
    }
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = fbm(x * 0.12, y * 0.12, 3, 41);
        return n > 0.5 ? hex(0x000000, (n - 0.5) * 0.5) : hex(0xFFFFFF, (0.5 - n) * 0.12);
    });
}

// One bubble letter from the bold face: a thick dark outline, a white rim, a
// gradient fill and a shine, turned and skewed for a hand-sprayed look, with
// paint running down from its lower edge at the given x positions.
void sprayLetter(cairo_t* cr, const char* ch, double x, double y, double size, double angle, Colour top, Colour bottom,
                 std::initializer_list<double> dripXs, uint32_t seed) {
    Saved s(cr);
    cairo_matrix_t world;
    cairo_get_matrix(cr, &world);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * kPi / 180);
    cairo_matrix_t skew;
    cairo_matrix_init(&skew, 1, 0, -0.12, 1, 0, 0);
    cairo_transform(cr, &skew);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, ch, &e);
    cairo_move_to(cr, -e.x_bearing - e.width / 2, -e.y_bearing - e.height / 2);
    cairo_text_path(cr, ch);
    // From here on everything is in the skin's own units, so drips hang straight down.
    cairo_set_matrix(cr, &world);
    cairo_path_t* p = cairo_copy_path(cr);
    double x0, y0, x1, y1;
    cairo_path_extents(cr, &x0, &y0, &x1, &y1);
    cairo_new_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // 3D block behind.
    for (int k = 6; k >= 1; --k) {
        Saved d(cr);
        cairo_translate(cr, k * 0.9, k * 0.9);
        cairo_append_path(cr, p);
        cairo_set_line_width(cr, 9);
        setColour(cr, hex(0x0D0D14));
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    cairo_append_path(cr, p);
    stroke(cr, hex(0x0D0D14), 9);
    cairo_append_path(cr, p);
    stroke(cr, hex(0xFFFFFF), 5);
    cairo_append_path(cr, p);
    stroke(cr, darker(bottom, 0.3), 2);
    cairo_append_path(cr, p);
    fill(cr, linear(0, y0, 0, y1, {{0, top}, {0.55, mix(top, bottom, 0.6)}, {1, bottom}}));
    // Drips: find the letter's lower edge at each x and run paint over the rim.
    Random r(seed);
    for (const double dx : dripXs) {
        cairo_append_path(cr, p);
        double edge = -1;
        for (double yy = y1; yy > y0; yy -= 0.5) {
            if (cairo_in_fill(cr, dx, yy)) {
                edge = yy;
                break;
            }
        }
        cairo_new_path(cr);
        if (edge < 0) continue;
        const double len = r.range(12, 30), w = r.range(2.4, 3.6);
        auto drip = [&](cairo_t* c) {
            roundedRect(c, dx - w / 2, edge - 4, w, len, w / 2);
            circlePath(c, dx, edge - 4 + len, w * 0.72);
        };
        drip(cr);
        stroke(cr, hex(0x0D0D14), 2.2);
        drip(cr);
        fill(cr, bottom);
        roundedRect(cr, dx - w * 0.3, edge - 2, w * 0.22, len * 0.7, w * 0.1);
        fill(cr, hex(0xFFFFFF, 0.35));
    }
    // A shine streak across the top of the letter.
    {
        Saved c(cr);
        cairo_append_path(cr, p);
        cairo_clip(cr);
        const double h = y1 - y0;
        polygonPath(cr, {{x0 - 10, y0 + h * 0.16}, {x1 + 10, y0 + h * 0.1}, {x1 + 10, y0 + h * 0.2}, {x0 - 10, y0 + h * 0.26}});
        fill(cr, hex(0xFFFFFF, 0.35));
        circlePath(cr, x0 + (x1 - x0) * 0.25, y0 + h * 0.3, 2.2);
        fill(cr, hex(0xFFFFFF, 0.6));
    }
    cairo_path_destroy(p);
}

void drawGraffiti(cairo_t* cr) {
    brickWall(cr);
    // Sprayed halo behind the piece.
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, W * 0.5, H * 0.52, W * 0.5, H * 0.36, -6); }, hex(0x1B1040, 0.8), 16);
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, W * 0.3, H * 0.45, 52, 38, 0); }, hex(0x00B3A6, 0.45), 18);
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, W * 0.75, H * 0.6, 60, 40, 0); }, hex(0xE0307A, 0.4), 18);
    sprayLetter(cr, "Z", 46, 96, 92, -10, hex(0xFFE03D), hex(0xFF5A1F), {30, 52, 66}, 1);
    sprayLetter(cr, "E", 122, 88, 86, 6, hex(0x5CF2FF), hex(0x2A5CFF), {112, 138}, 2);
    sprayLetter(cr, "K", 200, 100, 92, -6, hex(0xFF7BD5), hex(0xB520E0), {182, 222}, 3);
    // Spray sparkles and splatter.
    Random sp(17);
    for (int i = 0; i < 120; ++i) {
        const double a = sp.range(0, 2 * kPi), d = sp.range(0, 40);
        circlePath(cr, 228 + std::cos(a) * d, 30 + std::sin(a) * d * 0.8, sp.range(0.3, 1.1));
    }
    fill(cr, hex(0xFFE03D, 0.8));
    for (const Pt& p : std::vector<Pt>{{18, 22}, {232, 30}, {150, 172}}) {
        starPath(cr, p.x, p.y, 9, 2.2, 4, 0);
        fill(cr, hex(0xFFFFFF, 0.95));
    }
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- anime hair

// Locks fall from a crown far above the top edge, fanning a little, like a
// fringe seen from the front. Each lock is a long blade along its own axis
// that narrows to a sharp tip and swings sideways near the end.
constexpr Pt kCrown{125, -300};

struct Lock {
    double angle;  // degrees from straight down, positive towards the left
    double length, width, bend, curl;
};

Pt lockAxis(const Lock& l, double t) {
    return {l.bend * t * t + l.curl * std::pow(t, 8), l.length * t};
}
double lockHalf(const Lock& l, double t) {
    const double t0 = 0.68;
    return t < t0 ? l.width / 2 : l.width / 2 * std::pow((1 - t) / (1 - t0), 0.8);
}

void inLockFrame(cairo_t* cr, const Lock& l) {
    cairo_translate(cr, kCrown.x, kCrown.y);
    cairo_rotate(cr, l.angle * kPi / 180);
}

void lockPath(cairo_t* cr, const Lock& l) {
    const int n = 48;
    std::vector<Pt> left, right;
    for (int i = 0; i <= n; ++i) {
        const double t = 0.5 + 0.5 * i / n;
        const Pt a = lockAxis(l, t);
        // The curl pushes the outer edge further than the inner one.
        const double h = lockHalf(l, t);
        left.push_back({a.x - h, a.y});
        right.push_back({a.x + h, a.y});
    }
    Saved s(cr);
    inLockFrame(cr, l);
    cairo_move_to(cr, left[0].x, left[0].y);
    for (const Pt& p : left) cairo_line_to(cr, p.x, p.y);
    for (auto it = right.rbegin() + 1; it != right.rend(); ++it) cairo_line_to(cr, it->x, it->y);
    cairo_close_path(cr);
}

// The shaded side of a lock: from a line just off its axis to the side that
// turns away from the light, with a hard edge as cel shading has.
void lockShadowPath(cairo_t* cr, const Lock& l, double side) {
    const int n = 48;
    Saved s(cr);
    inLockFrame(cr, l);
    for (int i = 0; i <= n; ++i) {
        const double t = 0.5 + 0.5 * i / n;
        const Pt a = lockAxis(l, t);
        const double x = a.x + side * lockHalf(l, t) * (0.1 + 0.25 * std::sin((t - 0.5) * 2 * kPi));
        if (i == 0) cairo_move_to(cr, x, a.y); else cairo_line_to(cr, x, a.y);
    }
    const Pt tip = lockAxis(l, 1);
    cairo_line_to(cr, tip.x + side * l.width, tip.y + 10);
    cairo_line_to(cr, side * l.width * 2, l.length * 0.5);
    cairo_close_path(cr);
}

// A few fine strands drawn along a lock.
void lockStrands(cairo_t* cr, const Lock& l, Colour c) {
    Saved s(cr);
    inLockFrame(cr, l);
    for (const double k : {-0.55, -0.2, 0.3, 0.6}) {
        for (int i = 0; i <= 30; ++i) {
            const double t = 0.5 + 0.47 * i / 30;
            const Pt a = lockAxis(l, t);
            const double x = a.x + k * lockHalf(l, t);
            if (i == 0) cairo_move_to(cr, x, a.y); else cairo_line_to(cr, x, a.y);
        }
    }
    stroke(cr, c, 0.7);
}

// The glossy ring of light across the hair: a band at a fixed distance from
// the crown with a sawtooth lower edge.
void shineBandPath(cairo_t* cr, double radius, double depth) {
    std::vector<Pt> pts;
    const int n = 30;
    for (int i = 0; i <= n; ++i) {
        const double a = (-30 + 60.0 * i / n) * kPi / 180;
        const double r = radius + std::sin(i * 0.9) * depth * 0.25;
        pts.push_back({kCrown.x + std::sin(a) * r, kCrown.y + std::cos(a) * r});
    }
    for (int i = n; i >= 0; --i) {
        const double a = (-30 + 60.0 * i / n) * kPi / 180;
        const double r = radius + depth + (i % 2 ? depth * 1.2 : 0) + std::sin(i * 0.9) * depth * 0.25;
        pts.push_back({kCrown.x + std::sin(a) * r, kCrown.y + std::cos(a) * r});
    }
    polygonPath(cr, pts);
}

void drawAnimeHair(cairo_t* cr) {
    const Colour base = hex(0x5474EE), shade = hex(0x2E3FAE), deep = hex(0x141856), shine = hex(0xC6E0FF);
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x2A3590)}, {1, hex(0x0D1038)}}));
    Random r(8);
    std::vector<Lock> back, front;
    for (int i = 0; i < 15; ++i)
        back.push_back({19 - i * 2.7 + r.range(-0.5, 0.5), r.range(485, 505), r.range(34, 42), r.range(-20, 20), 0});
    for (int i = 0; i < 12; ++i) {
        const double side = i % 2 ? 1 : -1;
        front.push_back({17.5 - i * 3.2 + r.range(-0.4, 0.4), r.range(440, 490), r.range(34, 44), side * r.range(8, 22),
                         side * r.range(8, 20)});
    }
    // Back layer: locks in the shadow colour between the front ones.
    for (const Lock& l : back) {
        lockPath(cr, l);
        fill(cr, linear(0, 40, 0, H, {{0, shade}, {1, darker(shade, 0.4)}}));
        lockStrands(cr, l, withAlpha(deep, 0.25));
        lockPath(cr, l);
        stroke(cr, withAlpha(deep, 0.9), 0.9);
    }
    // Front layer: the spiky fringe.
    for (std::size_t i = 0; i < front.size(); ++i) {
        const Lock& l = front[i];
        const double lift = (i * 7 % 5) * 1.6 - 3;  // each lock catches the light a little higher or lower
        softShadow(cr, [&](cairo_t* c) { lockPath(c, l); }, hex(0x05061A, 0.5), 6, 2, 4);
        lockPath(cr, l);
        cairo_path_t* p = cairo_copy_path(cr);
        fill(cr, linear(0, 0, 0, H, {{0, darker(base, 0.12)}, {0.45, base}, {1, lighter(base, 0.1)}}));
        {
            Saved c(cr);
            cairo_append_path(cr, p);
            cairo_clip(cr);
            lockShadowPath(cr, l, l.bend > 0 ? -1 : 1);
            fill(cr, withAlpha(shade, 0.9));
            lockStrands(cr, l, withAlpha(deep, 0.22));
            // The shine ring with a softer glow under it.
            shineBandPath(cr, 364 + lift, 9);
            fill(cr, withAlpha(lighter(base, 0.3), 0.6));
            shineBandPath(cr, 360 + lift, 7);
            fill(cr, withAlpha(shine, 0.95));
            // Tips darken slightly into the shade below.
            cairo_rectangle(cr, 0, 130, W, 70);
            fill(cr, linear(0, 130, 0, H, {{0, hex(0x0B0D30, 0)}, {1, hex(0x0B0D30, 0.4)}}));
        }
        cairo_append_path(cr, p);
        stroke(cr, withAlpha(deep, 0.95), 1.1);
        cairo_path_destroy(p);
    }
    // Sparkles on the shine.
    for (const Pt& p : std::vector<Pt>{{38, 56}, {150, 63}, {214, 52}}) {
        starPath(cr, p.x, p.y, 5, 1.1, 4, 0);
        fill(cr, hex(0xFFFFFF, 0.95));
    }
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- anime eyes

// One large eye; `flip` mirrors it for the other side of the face.
void animeEye(cairo_t* cr, double cx, double cy, bool flip) {
    Saved s(cr);
    cairo_translate(cr, cx, cy);
    if (flip) cairo_scale(cr, -1, 1);
    const Colour ink = hex(0x24121A);
    // The eye opening: flat top lid, rounded lower edge.
    auto opening = [](cairo_t* c) {
        cairo_move_to(c, -44, -18);
        cairo_curve_to(c, -22, -40, 20, -42, 44, -24);
        cairo_curve_to(c, 48, 4, 36, 34, 8, 40);
        cairo_curve_to(c, -18, 44, -40, 24, -44, -18);
        cairo_close_path(c);
    };
    opening(cr);
    fill(cr, linear(0, -40, 0, 40, {{0, hex(0xAEB1CC)}, {0.4, hex(0xE4E3EE)}, {1, hex(0xD6D3E3)}}));
    {
        Saved c(cr);
        opening(cr);
        cairo_clip(cr);
        // Iris: tall oval, dark at the top, glowing at the bottom.
        const double ix = 2, iy = 4, rx = 27, ry = 36;
        ellipsePath(cr, ix, iy, rx, ry);
        fill(cr, linear(0, iy - ry, 0, iy + ry,
                        {{0, hex(0x1E0F45)}, {0.45, hex(0x5A2DB8)}, {0.8, hex(0xA76BF2)}, {1, hex(0xE2B8FF)}}));
        // Radial streaks in the iris.
        for (int k = 0; k < 18; ++k) {
            const double a = k * 2 * kPi / 18;
            cairo_move_to(cr, ix + std::cos(a) * rx * 0.45, iy + std::sin(a) * ry * 0.45);
            cairo_line_to(cr, ix + std::cos(a) * rx * 0.92, iy + std::sin(a) * ry * 0.92);
        }
        stroke(cr, hex(0x2A125E, 0.35), 1.0);
        ellipsePath(cr, ix, iy, rx, ry);
        stroke(cr, hex(0x170A30), 2.2);
        // Pupil.
        ellipsePath(cr, ix, iy - 2, rx * 0.42, ry * 0.5);
        fill(cr, hex(0x120822));
        // Shadow of the upper lid over the eyeball.
        cairo_rectangle(cr, -60, -50, 120, 30);
        fill(cr, linear(0, -42, 0, -6, {{0, hex(0x3A2A55, 0.6)}, {1, hex(0x3A2A55, 0)}}));
        // Lower glow crescent.
        ellipsePath(cr, ix, iy + ry * 0.55, rx * 0.62, ry * 0.26);
        fill(cr, hex(0xF0D4FF, 0.55));
        // Highlights: one big, one small, one sparkle.
        ellipsePath(cr, ix - 10, iy - 14, 9, 11, -20);
        fill(cr, hex(0xFFFFFF));
        circlePath(cr, ix + 12, iy + 14, 4.2);
        fill(cr, hex(0xFFFFFF, 0.95));
        circlePath(cr, ix + 10, iy - 20, 2.2);
        fill(cr, hex(0xFFFFFF, 0.9));
    }
    // Upper lash line: heavy and tapered, with a flick at the outer corner.
    cairo_move_to(cr, -48, -14);
    cairo_curve_to(cr, -26, -42, 22, -46, 46, -28);
    cairo_line_to(cr, 58, -34);
    cairo_line_to(cr, 52, -24);
    cairo_line_to(cr, 60, -20);
    cairo_line_to(cr, 48, -17);
    cairo_curve_to(cr, 22, -34, -22, -36, -44, -12);
    cairo_close_path(cr);
    fill(cr, ink);
    // Lashes.
    for (int k = 0; k < 3; ++k) {
        const double bx = 28 + k * 8, by = -34 + k * 3;
        cairo_move_to(cr, bx - 3, by);
        cairo_curve_to(cr, bx + 2, by - 6, bx + 6, by - 10 - k * 2, bx + 12, by - 8 - k * 2);
        cairo_curve_to(cr, bx + 7, by - 5, bx + 5, by - 2, bx + 3, by + 1);
        cairo_close_path(cr);
        fill(cr, ink);
    }
    // Lower lash line: a short fine stroke at the outer side.
    cairo_move_to(cr, 40, 10);
    cairo_curve_to(cr, 34, 32, 14, 42, -4, 42);
    stroke(cr, withAlpha(ink, 0.85), 1.6);
    // Crease above the lid.
    cairo_move_to(cr, -26, -42);
    cairo_curve_to(cr, -6, -51, 22, -50, 38, -40);
    stroke(cr, hex(0xB0706A, 0.7), 1.4);
    // Eyebrow.
    cairo_move_to(cr, -40, -70);
    cairo_curve_to(cr, -14, -82, 22, -80, 46, -66);
    cairo_curve_to(cr, 22, -74, -14, -75, -40, -66);
    cairo_close_path(cr);
    fill(cr, hex(0x4A2A2A));
}

void drawAnimeEyes(cairo_t* cr) {
    // Warm skin with a soft blush under the eyes.
    paint(cr, linear(0, 0, 0, H, {{0, hex(0xE8B596)}, {1, hex(0xD9987A)}}));
    for (const double x : {62.0, 189.0}) {
        paint(cr, radial(x + (x < W / 2 ? -8 : 8), 168, 2, x + (x < W / 2 ? -8 : 8), 168, 40,
                         {{0, hex(0xF07A7A, 0.45)}, {1, hex(0xF07A7A, 0)}}));
        for (int k = 0; k < 3; ++k) {
            const double bx = x + (x < W / 2 ? -18 : 0) + k * 8;
            cairo_move_to(cr, bx + 4, 160);
            cairo_line_to(cr, bx, 170);
        }
        stroke(cr, hex(0xD0505A, 0.6), 1.2);
    }
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, 62, 104, 50, 44); ellipsePath(c, 189, 104, 50, 44); },
               hex(0x8A4A3A, 0.25), 10, 0, 3);
    animeEye(cr, 64, 100, true);
    animeEye(cr, 187, 100, false);
    glassFinish(cr, 0.2);
}

}  // namespace

std::vector<SkinDesign> patternSkins() {
    return {
        {"argyle_pink_skin.png", drawArgylePink},
        {"burberry_skin.png", drawPlaid},
        {"confetti_skin.png", drawConfetti},
        {"paisley_skin.png", drawPaisley},
        {"pink_polkadots_skin.png", drawPinkPolkadots},
        {"blue_polkadots_skin.png", drawBluePolkadots},
        {"white_polkadots_skin.png", drawWhitePolkadots},
        {"graffiti_skin.png", drawGraffiti},
        {"anime_hair_skin.png", drawAnimeHair},
        {"anime_eyes_skin.png", drawAnimeEyes},
    };
}

}  // namespace vw::art
