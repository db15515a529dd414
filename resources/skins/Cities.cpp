// Skins: bridges, cities, islands and the seaside.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

// A soft round glow: a radial fade from `c` to nothing.
void glow(cairo_t* cr, double x, double y, double r, Colour c) {
    circlePath(cr, x, y, r);
    fill(cr, radial(x, y, 0, x, y, r, {{0, c}, {1, withAlpha(c, 0)}}));
}

// A four-pointed twinkle with a faint halo.
void twinkle(cairo_t* cr, double x, double y, double r, Colour c) {
    glow(cr, x, y, r * 1.6, withAlpha(c, c.a * 0.35));
    starPath(cr, x, y, r, r * 0.18, 4, 0);
    fill(cr, c);
    circlePath(cr, x, y, r * 0.22);
    fill(cr, hex(0xFFFFFF, c.a));
}

// A puffy cloud: overlapping circles on a flat base, lit from above.
void cloud(cairo_t* cr, double x, double y, double s, Colour top, Colour bottom) {
    auto shape = [&](cairo_t* c) {
        circlePath(c, x, y, 11 * s);
        circlePath(c, x + 13 * s, y - 6 * s, 13 * s);
        circlePath(c, x + 28 * s, y - 2 * s, 10 * s);
        circlePath(c, x + 38 * s, y + 3 * s, 7 * s);
        circlePath(c, x - 10 * s, y + 4 * s, 7 * s);
        roundedRect(c, x - 14 * s, y + 2 * s, 58 * s, 9 * s, 4.5 * s);
    };
    softShadow(cr, shape, withAlpha(bottom, 0.35), 3, 0, 2);
    shape(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    fill(cr, linear(0, y - 19 * s, 0, y + 11 * s, {{0, top}, {1, bottom}}));
}

// ---------------------------------------------------------------- Eiffel Tower

// The iron tower's half-widths at height y: the outer edge curving in from
// the wide base, and the gap between the legs (the great arch below the first
// platform, then the narrowing space up to the second).
constexpr double kTowerX = 125.5, kTowerBase = 182, kTowerTop = 22;
constexpr double kDeck1 = 143, kDeck2 = 110;

double towerOuter(double y) {
    const double t = std::clamp((kTowerBase - y) / (kTowerBase - kTowerTop), 0.0, 1.0);
    return 3.2 + 64 * std::pow(1 - t, 2.3);
}

double towerGap(double y) {
    if (y > kDeck1 + 8) {  // the arch
        const double u = std::clamp((y - (kDeck1 + 8)) / (kTowerBase - kDeck1 - 8), 0.0, 1.0);
        return 44 * std::sqrt(1 - (1 - u) * (1 - u));
    }
    if (y < kDeck1 - 2 && y > kDeck2 + 4) {
        const double u = (y - (kDeck2 + 4)) / (kDeck1 - 2 - kDeck2 - 4);
        return 15 * std::pow(u, 0.8);
    }
    return 0;
}

void towerPath(cairo_t* cr) {
    // Outline.
    std::vector<Pt> out;
    for (double y = kTowerBase; y >= kTowerTop; y -= 2) out.push_back({kTowerX - towerOuter(y), y});
    for (double y = kTowerTop; y <= kTowerBase; y += 2) out.push_back({kTowerX + towerOuter(y), y});
    polygonPath(cr, out);
    // The arch and the space between the legs, cut out with the even-odd rule.
    std::vector<Pt> arch;
    for (double y = kTowerBase; y >= kDeck1 + 8; y -= 1) arch.push_back({kTowerX - towerGap(y), y});
    for (double y = kDeck1 + 8; y <= kTowerBase; y += 1) arch.push_back({kTowerX + towerGap(y), y});
    polygonPath(cr, arch);
    std::vector<Pt> mid;
    for (double y = kDeck1 - 2; y >= kDeck2 + 4; y -= 1) mid.push_back({kTowerX - towerGap(y), y});
    for (double y = kDeck2 + 4; y <= kDeck1 - 2; y += 1) mid.push_back({kTowerX + towerGap(y), y});
    polygonPath(cr, mid);
}

// A row of Paris roofs: zinc mansards with dormers and chimney pots, lit
// windows in the walls below.
void parisRoofs(cairo_t* cr, double base, double hMin, double hMax, Colour wall, Colour roof, double lit, uint32_t seed,
                bool lowMiddle) {
    Random r(seed);
    double x = -8;
    while (x < W + 8) {
        const double w = r.range(22, 40);
        double h = r.range(hMin, hMax);
        const double cx = x + w / 2;
        if (lowMiddle && std::abs(cx - kTowerX) < 48) h *= 0.45;
        const double top = base - h, roofH = std::min(12.0, h * 0.45);
        // Wall.
        cairo_rectangle(cr, x, top + roofH, w + 0.6, base - top - roofH + 20);
        fill(cr, wall);
        // Mansard: a steep trapezoid.
        polygonPath(cr, {{x - 1, top + roofH}, {x + 3, top}, {x + w - 3, top}, {x + w + 1, top + roofH}});
        fill(cr, roof);
        // Chimney pots.
        const int pots = 1 + r.below(2);
        for (int k = 0; k < pots; ++k) {
            const double px = x + r.range(5, w - 8);
            cairo_rectangle(cr, px, top - 5, 4, 6);
            fill(cr, darker(roof, 0.15));
            cairo_rectangle(cr, px - 0.5, top - 5.5, 5, 1.2);
            fill(cr, darker(roof, 0.25));
        }
        // Dormers.
        for (double dx = x + 5; dx < x + w - 6; dx += 9) {
            polygonPath(cr, {{dx, top + roofH - 1}, {dx, top + 4}, {dx + 2.5, top + 2}, {dx + 5, top + 4}, {dx + 5, top + roofH - 1}});
            fill(cr, darker(roof, 0.2));
            if (r.next() < lit * 0.6) {
                cairo_rectangle(cr, dx + 1.3, top + 5, 2.4, roofH - 6.5);
                fill(cr, hex(0xFFC46B, 0.9));
            }
        }
        // Tall windows in rows.
        for (double wy = top + roofH + 4; wy < base - 4; wy += 9) {
            for (double wx = x + 4; wx < x + w - 5; wx += 7) {
                cairo_rectangle(cr, wx, wy, 3.2, 5.5);
                fill(cr, r.next() < lit ? hex(0xFFC46B, r.range(0.65, 0.95)) : darker(wall, 0.25));
            }
        }
        x += w + r.range(0, 1.5);
    }
}

// The iron tower against a dusk sky over the roofs of Paris.
void drawEiffelTower(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H,
                     {{0, hex(0x1A1F4D)}, {0.32, hex(0x4A3578)}, {0.58, hex(0xB4507A)}, {0.78, hex(0xF08A5A)},
                      {0.92, hex(0xFFC47E)}, {1, hex(0xFFD89A)}}));
    // The set sun's glow low on the right.
    glow(cr, 182, 168, 120, hex(0xFFD27A, 0.55));
    glow(cr, 182, 168, 40, hex(0xFFF0C0, 0.6));
    // First stars.
    Random st(4);
    for (int i = 0; i < 30; ++i) {
        const double x = st.range(0, W), y = st.range(0, 55), r = st.range(0.3, 0.8);
        circlePath(cr, x, y, r);
        fill(cr, hex(0xFFFFFF, st.range(0.4, 0.9) * (1 - y / 70)));
    }
    twinkle(cr, 36, 22, 3.2, hex(0xFFF4E0, 0.9));
    // Long thin dusk clouds lit pink from below.
    Random cl(8);
    for (int i = 0; i < 7; ++i) {
        const double y = cl.range(60, 130), x = cl.range(-30, W - 20), w = cl.range(50, 110), h = cl.range(2.5, 5);
        roundedRect(cr, x, y, w, h, h / 2);
        fill(cr, linear(0, y, 0, y + h, {{0, hex(0x7A3F7A, 0.45)}, {1, hex(0xFF9A88, 0.55)}}));
    }
    // Far roofs in the haze.
    parisRoofs(cr, 178, 18, 30, hex(0x7A4A78), hex(0x6A3F6C), 0.15, 21, false);
    cairo_rectangle(cr, 0, 150, W, 44);
    fill(cr, linear(0, 150, 0, 194, {{0, hex(0xF59A6A, 0.25)}, {1, hex(0xF59A6A, 0.0)}}));

    const Colour iron = hex(0x2A1A2C);
    // Warm rim light behind the tower.
    softShadow(cr, towerPath, hex(0xFFB070, 0.5), 5);
    // Body: the lattice lets some sky through.
    {
        Saved s(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        towerPath(cr);
        fill(cr, withAlpha(iron, 0.55));
        towerPath(cr);
        cairo_clip(cr);
        // Cross bracing: two sets of diagonals.
        for (double k = -200; k < 260; k += 4.2) {
            cairo_move_to(cr, k, 0);
            cairo_line_to(cr, k + 120, H);
            cairo_move_to(cr, k + 120, 0);
            cairo_line_to(cr, k, H);
        }
        stroke(cr, iron, 0.75);
        // Horizontal girders.
        for (double y = kTowerTop + 6; y < kTowerBase; y += 9) {
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, W, y);
        }
        stroke(cr, iron, 0.9);
    }
    // The four edge girders, drawn heavier.
    {
        Saved s(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        for (const double side : {-1.0, 1.0}) {
            for (double y = kTowerBase; y >= kTowerTop; y -= 2) {
                const double x = kTowerX + side * towerOuter(y);
                if (y == kTowerBase) cairo_move_to(cr, x, y);
                else cairo_line_to(cr, x, y);
            }
        }
        stroke(cr, iron, 2.6);
        for (const double side : {-1.0, 1.0}) {
            for (double y = kTowerBase; y >= kDeck1 + 8; y -= 1) {
                const double x = kTowerX + side * (towerGap(y) + 0.6);
                if (y == kTowerBase) cairo_move_to(cr, x, y);
                else cairo_line_to(cr, x, y);
            }
            for (double y = kDeck1 - 2; y >= kDeck2 + 4; y -= 1) {
                const double x = kTowerX + side * (towerGap(y) + 0.5);
                if (y == kDeck1 - 2) cairo_move_to(cr, x, y);
                else cairo_line_to(cr, x, y);
            }
        }
        stroke(cr, iron, 1.8);
        // The arch's decorative ring just inside the legs.
        std::vector<Pt> ring;
        for (double y = kTowerBase - 2; y >= kDeck1 + 8; y -= 1) ring.push_back({kTowerX - towerGap(y) + 2.4, y + 2});
        for (double y = kDeck1 + 8; y <= kTowerBase - 2; y += 1) ring.push_back({kTowerX + towerGap(y) - 2.4, y + 2});
        smoothOpenPath(cr, ring);
        stroke(cr, withAlpha(iron, 0.8), 1.1);
    }
    // Platforms with their galleries.
    auto deck = [&](double y, double h, double extra) {
        const double w = towerOuter(y) + extra;
        cairo_rectangle(cr, kTowerX - w, y - h, 2 * w, h);
        fill(cr, iron);
        // Gallery railing: little posts along the top.
        for (double x = kTowerX - w + 1; x < kTowerX + w; x += 2.6) cairo_rectangle(cr, x, y - h - 2.2, 0.8, 2.2);
        cairo_rectangle(cr, kTowerX - w, y - h - 2.6, 2 * w, 0.8);
        fill(cr, iron);
        // A line of lamps under the deck.
        for (double x = kTowerX - w + 2; x < kTowerX + w - 1; x += 4) {
            circlePath(cr, x, y - h / 2, 0.55);
        }
        fill(cr, hex(0xFFD590, 0.9));
    };
    deck(kDeck1, 6, 5);
    deck(kDeck2, 4, 3.5);
    // Lantern at the top and the spire.
    cairo_rectangle(cr, kTowerX - 5, kTowerTop - 3, 10, 5);
    fill(cr, iron);
    cairo_rectangle(cr, kTowerX - 3.5, kTowerTop - 8, 7, 5);
    fill(cr, iron);
    circlePath(cr, kTowerX, kTowerTop - 5.5, 1.4);
    fill(cr, hex(0xFFE2A0));
    polygonPath(cr, {{kTowerX - 1.4, kTowerTop - 8}, {kTowerX, kTowerTop - 19}, {kTowerX + 1.4, kTowerTop - 8}});
    fill(cr, iron);
    glow(cr, kTowerX, kTowerTop - 5.5, 9, hex(0xFFD080, 0.5));

    // Near roofs, lower round the tower's foot so the arch still shows.
    parisRoofs(cr, 196, 18, 34, hex(0x2E1D36), hex(0x22162A), 0.35, 5, true);
    // Trees of the park at the tower's foot.
    Random tr(17);
    for (int i = 0; i < 16; ++i) {
        const double x = tr.range(kTowerX - 62, kTowerX + 62), y = tr.range(183, 190), r = tr.range(4, 7);
        circlePath(cr, x, y, r);
        fill(cr, hex(0x1E1624));
    }
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- Retro Surfing

void palmFrond(cairo_t* cr, double x, double y, double angle, double len, double droop, Colour c);

// A 1960s surf poster: striped setting sun, a curling wave with a surfer
// riding its face, printed in a few flat warm inks on cream paper.
void drawRetroSurfing(cairo_t* cr) {
    const Colour cream = hex(0xF6E7C8), orange = hex(0xE8682A), amber = hex(0xF2A23A), teal = hex(0x1F8A8A),
                 deepTeal = hex(0x135E66), ink = hex(0x2A2320), red = hex(0xC9442C);
    // Sky: cream paper warming to peach at the horizon.
    paint(cr, linear(0, 0, 0, 120, {{0, cream}, {1, hex(0xF7C98C)}}));
    const double horizon = 122;
    // Sun: a big disc, orange to amber, cut by cream stripes that thicken downwards.
    {
        Saved s(cr);
        const double sx = 150, sy = 92, sr = 62;
        circlePath(cr, sx, sy, sr);
        cairo_clip(cr);
        cairo_rectangle(cr, 0, 0, W, H);
        fill(cr, linear(0, sy - sr, 0, sy + sr, {{0, hex(0xF7C23A)}, {0.5, amber}, {1, orange}}));
        double y = sy - 8, gap = 1.4;
        while (y < horizon) {
            cairo_rectangle(cr, 0, y, W, gap);
            fill(cr, hex(0xF7D6A0));
            y += 8.5;
            gap += 1.3;
        }
    }
    // Sun rays: faint wedges fanning out.
    {
        Saved s(cr);
        for (int k = 0; k < 14; ++k) {
            const double a0 = kPi + k * kPi / 13.0, a1 = a0 + kPi / 40;
            cairo_move_to(cr, 150, 92);
            cairo_line_to(cr, 150 + std::cos(a0) * 300, 92 + std::sin(a0) * 300);
            cairo_line_to(cr, 150 + std::cos(a1) * 300, 92 + std::sin(a1) * 300);
            cairo_close_path(cr);
        }
        circlePath(cr, 150, 92, 66);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_rectangle(cr, 0, horizon, W, -horizon);
        cairo_clip(cr);
        fill(cr, hex(0xE8682A, 0.10));
    }
    // A flock of gulls.
    for (const Pt& g : std::vector<Pt>{{200, 30}, {212, 38}, {192, 42}}) {
        cairo_move_to(cr, g.x - 5, g.y);
        cairo_curve_to(cr, g.x - 3, g.y - 2.5, g.x - 1, g.y - 2, g.x, g.y);
        cairo_curve_to(cr, g.x + 1, g.y - 2, g.x + 3, g.y - 2.5, g.x + 5, g.y);
    }
    {
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        stroke(cr, ink, 1.2);
    }
    // Sea: bands of teal to the horizon.
    cairo_rectangle(cr, 0, horizon, W, H - horizon);
    fill(cr, linear(0, horizon, 0, H, {{0, hex(0x3AA6A0)}, {1, deepTeal}}));
    for (int k = 0; k < 6; ++k) {
        const double y = horizon + 5 + k * k * 2.2;
        cairo_rectangle(cr, 0, y, W, 1.2 + k * 0.5);
        fill(cr, hex(0xBFE6D8, 0.5));
    }
    // The curling wave on the left: a tall face rolling over into a lip.
    auto face = [](cairo_t* c) {
        cairo_move_to(c, -2, H + 2);
        cairo_line_to(c, -2, 46);
        cairo_curve_to(c, 18, 16, 70, 2, 104, 22);
        cairo_curve_to(c, 126, 36, 128, 62, 110, 70);
        cairo_curve_to(c, 96, 76, 84, 64, 90, 54);
        cairo_curve_to(c, 95, 46, 106, 50, 103, 58);
        cairo_curve_to(c, 98, 44, 70, 44, 68, 78);
        cairo_curve_to(c, 68, 118, 150, 134, 253, 138);
        cairo_line_to(c, 253, H + 2);
        cairo_close_path(c);
    };
    softShadow(cr, face, hex(0x0A3A40, 0.35), 4, 2, 2);
    face(cr);
    fill(cr, linear(0, 20, 0, H, {{0, hex(0x2FA7A0)}, {0.45, teal}, {1, deepTeal}}));
    // Stripes following the wave face.
    {
        Saved s(cr);
        face(cr);
        cairo_clip(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int k = 0; k < 7; ++k) {
            const double o = k * 9;
            smoothOpenPath(cr, {{-6, 64 + o}, {22, 46 + o * 0.8}, {44 + o * 0.1, 54 + o}, {54 + o * 0.4, 90 + o * 0.5},
                                {88 + o * 0.4, 122 + o * 0.3}, {160, 139 + o * 0.4}, {262, 146 + o * 0.5}});
        }
        stroke(cr, hex(0x9ED9CC, 0.45), 1.6);
        // The dark hollow inside the curl.
        ellipsePath(cr, 86, 64, 16, 22, 20);
        fill(cr, hex(0x0D4A52, 0.8));
    }
    // Cream foam on the lip: a scalloped band with spray.
    {
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 0, 46);
        cairo_curve_to(cr, 18, 18, 70, 4, 103, 23);
        cairo_curve_to(cr, 124, 36, 126, 60, 110, 68);
        cairo_curve_to(cr, 97, 74, 86, 64, 91, 55);
        stroke(cr, cream, 5);
        Random sp(6);
        for (int i = 0; i < 26; ++i) {
            const double t = sp.next();
            const double x = 10 + t * 105, y = 30 - std::sin(t * kPi) * 22 + sp.range(-6, 3) + t * 12;
            circlePath(cr, x, y, sp.range(0.8, 2.4));
        }
        fill(cr, cream);
    }
    // Surfer on the face: board and a crouched figure in dark ink.
    {
        Saved s(cr);
        cairo_translate(cr, 142, 110);
        cairo_rotate(cr, -0.22);
        // Board.
        ellipsePath(cr, 0, 8, 22, 2.6);
        fill(cr, red);
        ellipsePath(cr, 0, 8, 22, 2.6);
        stroke(cr, ink, 0.8);
        cairo_move_to(cr, -20, 8);
        cairo_line_to(cr, 20, 8);
        stroke(cr, cream, 0.7);
        // A crouched rider facing down the line: bent legs, a forward lean and
        // arms out for balance, drawn as one ink silhouette.
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, -8, 6.5);
        cairo_line_to(cr, -6.5, -1);
        cairo_line_to(cr, -0.5, -7);
        cairo_move_to(cr, 8, 6.5);
        cairo_line_to(cr, 7.5, -0.5);
        cairo_line_to(cr, 1, -7);
        stroke(cr, ink, 3.6);
        cairo_move_to(cr, 0, -7);
        cairo_line_to(cr, 4.5, -17.5);
        stroke(cr, ink, 5.2);
        cairo_move_to(cr, -9, -11);
        cairo_line_to(cr, -3, -15);
        cairo_line_to(cr, 3.5, -16.5);
        cairo_line_to(cr, 10, -15);
        cairo_line_to(cr, 15, -17);
        stroke(cr, ink, 2.4);
        circlePath(cr, 6.8, -21.5, 3.4);
        fill(cr, ink);
        // Spray off the tail.
        Random sp(12);
        for (int i = 0; i < 12; ++i) {
            circlePath(cr, -24 - sp.range(0, 10), 6 - sp.range(0, 9), sp.range(0.6, 1.6));
        }
        fill(cr, cream);
    }
    // A palm leaning in from the right.
    {
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, 262, 150);
        cairo_curve_to(cr, 245, 110, 238, 70, 230, 40);
        stroke(cr, ink, 4.5);
        // Fronds: the same jagged leaves as the island palms, in flat ink.
        const double fronds[] = {-3.0, -2.5, -2.0, -1.5, -1.05, -0.6, -0.15, 0.3};
        for (int k = 0; k < 8; ++k) palmFrond(cr, 230, 40, fronds[k], 30 + (k % 3) * 4, 0.9 + (k % 2) * 0.4, ink);
        circlePath(cr, 230, 41, 3.4);
        fill(cr, ink);
    }
    // Paper grain and a printed border.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = noise(x * 0.9, y * 0.9, 3);
        return n > 0.5 ? hex(0xFFF6E0, (n - 0.5) * 0.18) : hex(0x5A3A20, (0.5 - n) * 0.10);
    });
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, 0, W, H);
        roundedRect(cr, 6, 6, W - 12, H - 12, 4);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        fill(cr, cream);
        roundedRect(cr, 6, 6, W - 12, H - 12, 4);
        stroke(cr, orange, 1.4);
        roundedRect(cr, 3, 3, W - 6, H - 6, 5);
        stroke(cr, teal, 0.8);
    }
    glassFinish(cr, 0.16);
}

// ---------------------------------------------------------------- Stardust

// A sweeping ribbon of glitter: golden and pink motes with twinkles, dense
// along a curving trail and thinning out at its edges, on deep violet.
void drawStardust(cairo_t* cr) {
    paint(cr, radial(W * 0.5, H * 0.5, 10, W * 0.5, H * 0.5, 200, {{0, hex(0x2A1048)}, {0.6, hex(0x160828)}, {1, hex(0x07030F)}}));
    // The trail: one arm sweeping in from the lower left and curling round
    // into a bright swirl (t runs from the loose end, 0, to the heart, 1).
    auto trail = [](double t) -> Pt {
        const double a = 2.3 + t * 3.1 * kPi;
        const double r = 150 * std::pow(1 - t * 0.9, 1.1) + 6;
        return {132 + std::cos(a) * r * 1.2, 92 + std::sin(a) * r * 0.8};
    };
    auto spread = [](double t) { return 4 + 20 * (1 - t); };
    // A soft haze along the trail.
    {
        // Discs along the curve stand in for a wide stroke.
        auto band = [&](double r) {
            return [&, r](cairo_t* c) {
                for (int k = 0; k <= 240; ++k) {
                    const Pt p = trail(k / 240.0);
                    circlePath(c, p.x, p.y, r * spread(k / 240.0) / 16);
                }
            };
        };
        softShadow(cr, band(17), hex(0xB0407A, 0.35), 18);
        softShadow(cr, band(5), hex(0xFFC870, 0.30), 8);
    }
    glow(cr, trail(1).x, trail(1).y, 30, hex(0xFFD88A, 0.18));
    // Dust far from the trail: faint motes over the whole sky.
    Random bg(31);
    for (int i = 0; i < 160; ++i) {
        circlePath(cr, bg.range(0, W), bg.range(0, H), bg.range(0.25, 0.7));
        fill(cr, hex(bg.next() < 0.5 ? 0xFFD9A0 : 0xFFB0D8, bg.range(0.2, 0.6)));
    }
    // Glitter along the trail, gold blending into pink along its length.
    Random r(7);
    const Colour gold = hex(0xFFC94A), pale = hex(0xFFF2C4), pink = hex(0xFF6FB5), rose = hex(0xFFB3DA);
    for (int i = 0; i < 1500; ++i) {
        const double t = r.next();
        const Pt p = trail(t);
        const Pt q = trail(std::min(1.0, t + 0.001));
        double nx = -(q.y - p.y), ny = q.x - p.x;
        const double nl = std::hypot(nx, ny) + 1e-9;
        nx /= nl;
        ny /= nl;
        // Spread: a bell across the ribbon, wider at its loose end.
        const double g = (r.next() + r.next() + r.next() - 1.5) * spread(t) * 1.3;
        const double along = r.range(-3, 3);
        const double x = p.x + nx * g + along, y = p.y + ny * g + along * 0.5;
        const double near = 1 - std::min(1.0, std::abs(g) / spread(t));
        const double hueT = std::clamp(1 - t + r.range(-0.25, 0.25), 0.0, 1.0);  // pink tail, golden heart
        Colour c = r.next() < 0.5 ? mix(gold, pink, hueT) : mix(pale, rose, hueT);
        const double sz = r.range(0.3, 1.0) + near * r.range(0, 0.6);
        c = withAlpha(c, 0.45 + 0.55 * near);
        if (r.next() < 0.3) {
            // A flat glitter flake: a tiny turned square catching the light.
            Saved s(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, r.range(0, kPi));
            cairo_rectangle(cr, -sz, -sz, sz * 2, sz * 2);
            fill(cr, c);
        } else {
            circlePath(cr, x, y, sz);
            fill(cr, c);
        }
    }
    // Larger glitter: little hexagonal flakes, each lit on one face.
    Random fl(53);
    for (int i = 0; i < 70; ++i) {
        const double t = fl.next();
        const Pt p = trail(t);
        const double x = p.x + fl.range(-1, 1) * spread(t), y = p.y + fl.range(-1, 1) * spread(t) * 0.8;
        const double sz = fl.range(1.2, 2.2), rot = fl.range(0, kPi);
        std::vector<Pt> hexagon;
        for (int k = 0; k < 6; ++k) hexagon.push_back({x + std::cos(rot + k * kPi / 3) * sz, y + std::sin(rot + k * kPi / 3) * sz});
        const Colour c = fl.next() < 0.5 ? gold : pink;
        polygonPath(cr, hexagon);
        fill(cr, linear(x - sz, y - sz, x + sz, y + sz, {{0, lighter(c, 0.6)}, {0.5, c}, {1, darker(c, 0.3)}}));
    }
    // Sparkles: four-pointed twinkles, the big ones with cross flares.
    Random sp(19);
    for (int i = 0; i < 44; ++i) {
        const double t = sp.next();
        const Pt p = trail(t);
        const double x = p.x + sp.range(-1, 1) * spread(t), y = p.y + sp.range(-1, 1) * spread(t);
        const double s = sp.next() < 0.2 ? sp.range(5, 8) : sp.range(1.8, 3.5);
        const Colour c = sp.next() < 0.5 ? hex(0xFFF0B8, 0.95) : hex(0xFFC8E8, 0.95);
        twinkle(cr, x, y, s, c);
        if (s > 5) {
            Saved sv(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, kPi / 4);
            starPath(cr, 0, 0, s * 0.55, s * 0.1, 4, 0);
            fill(cr, withAlpha(c, 0.7));
        }
    }
    // A few more twinkles out in the dark.
    Random fs(44);
    for (int i = 0; i < 14; ++i) twinkle(cr, fs.range(0, W), fs.range(0, H), fs.range(1.2, 2.4), hex(0xFFE6F4, 0.8));
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- Golden Gate Bridge

// One of the bridge's towers: two stepped legs joined by portal beams above
// the deck, and X bracing below it.
void bridgeTower(cairo_t* cr, double cx, double top, double water, double deck, double s, Colour c, Colour shade) {
    const double span = 15 * s;  // leg centre from the tower's centre
    // Legs in three steps, narrowing upwards.
    const double steps[] = {water, deck + 8 * s, top + (deck - top) * 0.45, top};
    for (const double side : {-1.0, 1.0}) {
        for (int k = 0; k < 3; ++k) {
            const double w = (4.6 - k * 0.8) * s;
            const double x = cx + side * span - w / 2;
            cairo_rectangle(cr, x, steps[k + 1], w, steps[k] - steps[k + 1] + 0.5);
            fill(cr, linear(x, 0, x + w, 0, {{0, lighter(c, 0.08)}, {0.55, c}, {1, shade}}));
        }
    }
    // Portal beams above the deck, the top one deepest.
    const double beams[] = {top + 2 * s, top + (deck - top) * 0.3, top + (deck - top) * 0.56, top + (deck - top) * 0.8};
    for (int k = 0; k < 4; ++k) {
        const double y = beams[k], h = (k == 0 ? 6.5 : 4.2) * s;
        cairo_rectangle(cr, cx - span, y, 2 * span, h);
        fill(cr, linear(0, y, 0, y + h, {{0, lighter(c, 0.1)}, {1, shade}}));
        // The beams' vertical ribs.
        for (double x = cx - span + 3 * s; x < cx + span - 2 * s; x += 3.2 * s) {
            cairo_rectangle(cr, x, y + 1 * s, 0.7 * s, h - 2 * s);
        }
        fill(cr, withAlpha(darker(shade, 0.2), 0.6));
    }
    // Bracing below the deck.
    {
        Saved sv(cr);
        const double y0 = deck + 8 * s, y1 = water - 4 * s;
        cairo_move_to(cr, cx - span, y0);
        cairo_line_to(cr, cx + span, y1);
        cairo_move_to(cr, cx + span, y0);
        cairo_line_to(cr, cx - span, y1);
        stroke(cr, shade, 1.6 * s);
    }
    // The pier in the water.
    cairo_rectangle(cr, cx - span - 5 * s, water - 2 * s, 2 * span + 10 * s, 6 * s);
    fill(cr, hex(0x8C8A86));
}

// The red-orange suspension bridge with its two towers and draped cables,
// over the bay with hills behind and fog rolling through.
void drawGoldenGate(cairo_t* cr) {
    const Colour red = hex(0xC8432B), shade = hex(0x8E2A1C);
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x5EA3D8)}, {0.5, hex(0xA9D2EC)}, {0.68, hex(0xE2EEF2)}, {1, hex(0xE2EEF2)}}));
    glow(cr, 40, 30, 70, hex(0xFFF6D8, 0.55));
    cloud(cr, 165, 30, 0.8, hex(0xFFFFFF, 0.95), hex(0xD8E6F0, 0.9));
    cloud(cr, 20, 52, 0.55, hex(0xFFFFFF, 0.9), hex(0xD8E6F0, 0.85));
    const double water = 150;
    // Hills: far ones blue-grey, near ones green-gold, both softened by haze.
    smoothClosedPath(cr, {{-20, water + 4}, {-10, 104}, {30, 92}, {70, 104}, {110, 122}, {150, 128}, {200, 110},
                          {235, 96}, {275, 104}, {275, water + 4}});
    fill(cr, linear(0, 90, 0, water, {{0, hex(0x8AA0AE)}, {1, hex(0xB6C6CE)}}));
    smoothClosedPath(cr, {{-30, water + 6}, {-20, 118}, {20, 112}, {55, 126}, {70, water}, {40, water + 8}});
    fill(cr, linear(0, 110, 0, water, {{0, hex(0x7E8E54)}, {1, hex(0x5E6E40)}}));
    smoothClosedPath(cr, {{190, water + 8}, {206, 128}, {236, 116}, {275, 120}, {275, water + 8}});
    fill(cr, linear(0, 115, 0, water, {{0, hex(0x8A9A5A)}, {1, hex(0x64744A)}}));
    // A fog bank lying low over the hills.
    Random fg(13);
    softShadow(cr, [&](cairo_t* c) {
        for (int i = 0; i < 9; ++i) {
            ellipsePath(c, fg.range(-10, W + 10), fg.range(124, 142), fg.range(24, 44), fg.range(6, 10));
        }
    }, hex(0xFFFFFF, 0.75), 6);

    // Water.
    cairo_rectangle(cr, 0, water, W, H - water);
    fill(cr, linear(0, water, 0, H, {{0, hex(0x3F7FAE)}, {1, hex(0x1C4A78)}}));
    Random wv(3);
    for (int i = 0; i < 60; ++i) {
        const double y = wv.range(water + 2, H), x = wv.range(-10, W), w = wv.range(4, 14) * (0.5 + (y - water) / 50);
        cairo_rectangle(cr, x, y, w, 0.7);
        fill(cr, hex(0xD6ECF8, wv.range(0.2, 0.5)));
    }

    const double deck = 112, tL = 50, tR = 201, top = 16;
    // A sailboat out on the bay, with its reflection.
    {
        const double bx = 124, by = 172;
        polygonPath(cr, {{bx, by - 2}, {bx, by - 26}, {bx + 13, by - 3}});
        fill(cr, linear(bx, by - 26, bx + 13, by, {{0, hex(0xFFFFFF)}, {1, hex(0xD8E2EA)}}));
        polygonPath(cr, {{bx - 1.5, by - 4}, {bx - 1.5, by - 21}, {bx - 10, by - 4}});
        fill(cr, hex(0xF2F5F8));
        cairo_move_to(cr, bx - 0.7, by - 1);
        cairo_line_to(cr, bx - 0.7, by - 28);
        stroke(cr, hex(0x4A4A50), 0.8);
        polygonPath(cr, {{bx - 13, by - 2}, {bx + 15, by - 2}, {bx + 11, by + 2}, {bx - 10, by + 2}});
        fill(cr, hex(0x23344A));
        cairo_rectangle(cr, bx - 12, by + 3, 26, 6);
        fill(cr, linear(0, by + 3, 0, by + 9, {{0, hex(0xFFFFFF, 0.3)}, {1, hex(0xFFFFFF, 0)}}));
    }
    // Reflections of the towers.
    for (const double tx : {tL, tR}) {
        cairo_rectangle(cr, tx - 17, water + 2, 34, 30);
        fill(cr, linear(0, water, 0, water + 30, {{0, withAlpha(red, 0.35)}, {1, withAlpha(red, 0)}}));
    }
    // The main cable's height at x: a parabola sagging between the towers, and
    // the side spans dropping steeply from the tower tops and flattening out
    // towards the land at each end.
    const double saddle = top + 3, low = deck - 5, anchor = deck - 4;
    const double legL = tL + 15, legR = tR - 15;  // the inner legs, where the main span leaves
    auto cableY = [&](double x) {
        if (x < tL - 15) {
            const double u = std::clamp((tL - 15 - x) / (tL + 5), 0.0, 1.0);
            return saddle + (anchor - saddle) * (1 - (1 - u) * (1 - u));
        }
        if (x > tR + 15) {
            const double u = std::clamp((x - tR - 15) / (W + 5 - tR), 0.0, 1.0);
            return saddle + (anchor - saddle) * (1 - (1 - u) * (1 - u));
        }
        if (x < legL || x > legR) return saddle;
        const double t = (x - legL) / (legR - legL);
        return saddle + (low - saddle) * (1 - std::pow(2 * t - 1, 2));
    };
    auto cables = [&]() {
        for (double x = -10; x <= W + 10; x += 1) {
            if (x == -10) cairo_move_to(cr, x, cableY(x));
            else cairo_line_to(cr, x, cableY(x));
        }
    };
    // Hangers: thin verticals from the cable to the deck.
    {
        Saved s(cr);
        for (double x = 1; x < W; x += 4.2) {
            if (std::abs(x - tL) < 17 || std::abs(x - tR) < 17) continue;
            cairo_move_to(cr, x, cableY(x));
            cairo_line_to(cr, x, deck);
        }
        stroke(cr, withAlpha(red, 0.75), 0.55);
    }
    // Deck: a roadway over a deep truss.
    cairo_rectangle(cr, -5, deck, W + 10, 3.2);
    fill(cr, red);
    cairo_rectangle(cr, -5, deck + 3.2, W + 10, 5.5);
    fill(cr, shade);
    {
        Saved s(cr);
        for (double x = -5; x < W + 5; x += 5) {
            cairo_move_to(cr, x, deck + 3.2);
            cairo_line_to(cr, x + 2.5, deck + 8.7);
            cairo_line_to(cr, x + 5, deck + 3.2);
        }
        stroke(cr, hex(0x5E1A12), 0.6);
    }
    // Little cars on the roadway.
    Random cars(9);
    for (int i = 0; i < 14; ++i) {
        const double x = cars.range(0, W);
        roundedRect(cr, x, deck - 1.6, 3.2, 1.8, 0.6);
        fill(cr, hsv(cars.range(0, 360), 0.4, cars.range(0.5, 0.95)));
    }
    // The cable, behind the towers: it rests in saddles on their tops.
    {
        Saved s(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cables();
        stroke(cr, shade, 2.6);
        cairo_translate(cr, 0, -0.5);
        cables();
        stroke(cr, red, 1.5);
    }
    bridgeTower(cr, tL, top, water, deck, 1.0, red, shade);
    bridgeTower(cr, tR, top, water, deck, 1.0, red, shade);
    // Saddle caps on the tower tops.
    for (const double tx : {tL, tR}) {
        roundedRect(cr, tx - 18, top - 2.5, 36, 3.2, 1);
        fill(cr, shade);
    }
    // Wisps of fog drifting across the deck and tower feet.
    Random wf(27);
    softShadow(cr, [&](cairo_t* c) {
        for (int i = 0; i < 7; ++i) {
            ellipsePath(c, wf.range(-20, W + 20), wf.range(132, 150), wf.range(30, 60), wf.range(4, 7));
        }
        ellipsePath(c, 150, 98, 40, 4);
        ellipsePath(c, 235, 80, 30, 3.5);
    }, hex(0xFFFFFF, 0.55), 5);
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- Hong Kong

struct Tower {
    double x, w, h;
    int roof;  // 0 flat, 1 peaked, 2 stepped, 3 slanted
    Colour body;
};

void skylineBody(cairo_t* cr, const Tower& t, double base) {
    const double top = base - t.h;
    switch (t.roof) {
        case 1:
            polygonPath(cr, {{t.x, base}, {t.x, top + 10}, {t.x + t.w / 2, top - 6}, {t.x + t.w, top + 10}, {t.x + t.w, base}});
            break;
        case 2:
            polygonPath(cr, {{t.x, base}, {t.x, top + 8}, {t.x + t.w * 0.18, top + 8}, {t.x + t.w * 0.18, top},
                             {t.x + t.w * 0.82, top}, {t.x + t.w * 0.82, top + 8}, {t.x + t.w, top + 8}, {t.x + t.w, base}});
            break;
        case 3:
            polygonPath(cr, {{t.x, base}, {t.x, top}, {t.x + t.w, top + t.w * 0.5}, {t.x + t.w, base}});
            break;
        default:
            cairo_rectangle(cr, t.x, top, t.w, t.h);
    }
}

void skyline(cairo_t* cr, const std::vector<Tower>& towers, double base, double lit, uint32_t seed, double winScale) {
    Random r(seed);
    for (const Tower& t : towers) {
        skylineBody(cr, t, base);
        fill(cr, linear(t.x, 0, t.x + t.w, 0, {{0, lighter(t.body, 0.08)}, {1, darker(t.body, 0.2)}}));
        // Windows: a grid, each lit or dark, with a warm or a cool light.
        Saved s(cr);
        skylineBody(cr, t, base);
        cairo_clip(cr);
        const double top = base - t.h;
        const double cw = 2.4 * winScale, ch = 3.0 * winScale;
        const bool bands = r.next() < 0.3;  // some towers are lit in floor bands
        const Colour warm = hex(0xFFD27A), cool = hex(0xCFE8FF);
        const Colour light = r.next() < 0.6 ? warm : cool;
        for (double y = top + 4; y < base - 2; y += ch) {
            if (bands) {
                if (r.next() < lit + 0.15) {
                    cairo_rectangle(cr, t.x + 1.5, y, t.w - 3, ch * 0.45);
                    fill(cr, withAlpha(light, r.range(0.35, 0.7)));
                }
                continue;
            }
            for (double x = t.x + 1.5; x < t.x + t.w - 1.5; x += cw) {
                if (r.next() < lit) {
                    cairo_rectangle(cr, x, y, cw * 0.55, ch * 0.5);
                    fill(cr, withAlpha(light, r.range(0.5, 0.95)));
                }
            }
        }
    }
}

// A night harbour: dense towers full of lit windows, a tall peaked tower,
// hills dark behind and the lights doubled in the water.
void drawHongKong(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x0A0F2E)}, {0.45, hex(0x1E2460)}, {0.7, hex(0x5A3A7A)}, {1, hex(0x2A1E4A)}}));
    Random st(2);
    for (int i = 0; i < 40; ++i) {
        circlePath(cr, st.range(0, W), st.range(0, 60), st.range(0.3, 0.7));
        fill(cr, hex(0xFFFFFF, st.range(0.3, 0.8)));
    }
    circlePath(cr, 212, 26, 9);
    fill(cr, hex(0xF6F0DA));
    glow(cr, 212, 26, 30, hex(0xF6F0DA, 0.25));
    const double base = 140;
    // The hills: two ridges, the far one with a few lights.
    smoothClosedPath(cr, {{-20, base}, {-10, 62}, {40, 52}, {90, 66}, {140, 50}, {190, 60}, {240, 46}, {275, 58}, {275, base}});
    fill(cr, linear(0, 45, 0, base, {{0, hex(0x2A2E5A)}, {1, hex(0x1C1E40)}}));
    smoothClosedPath(cr, {{-20, base}, {-10, 84}, {30, 74}, {80, 88}, {130, 76}, {180, 86}, {230, 72}, {275, 82}, {275, base}});
    fill(cr, linear(0, 70, 0, base, {{0, hex(0x1A1C3C)}, {1, hex(0x12142C)}}));
    Random hl(5);
    for (int i = 0; i < 40; ++i) {
        circlePath(cr, hl.range(0, W), hl.range(84, 110), 0.5);
        fill(cr, hex(0xFFE0A0, hl.range(0.3, 0.8)));
    }
    // The city's glow on the haze above it.
    cairo_rectangle(cr, 0, 40, W, base - 40);
    fill(cr, linear(0, 40, 0, base, {{0, hex(0xFF9A6A, 0)}, {1, hex(0xFF9A6A, 0.28)}}));
    // Towers: a back row in blue haze, then the dense front row with the tall ones.
    std::vector<Tower> back, front;
    Random bk(8);
    for (double x = -4; x < W; x += bk.range(8, 14)) {
        back.push_back({x, bk.range(8, 13), bk.range(42, 88), bk.below(4) == 1 ? 2 : 0, hex(0x2C3468)});
    }
    skyline(cr, back, base, 0.25, 41, 0.9);
    Random fr(12);
    for (double x = -6; x < W;) {
        const double w = fr.range(10, 18);
        double h = fr.next() < 0.25 ? fr.range(64, 90) : fr.range(26, 58);
        int roof = fr.below(5);
        if (roof > 3) roof = 0;
        Colour body = mix(hex(0x1A2046), hex(0x2E2A52), fr.next());
        front.push_back({x, w, h, roof, body});
        x += w + fr.range(0.5, 3);
    }
    // The two landmarks of the skyline: a very tall peaked tower and an angular
    // one faceted with triangles, both generic.
    front.push_back({150, 18, 118, 1, hex(0x2C3A6A)});
    front.push_back({88, 20, 96, 3, hex(0x34406E)});
    // Draw tall ones last-but-one so front small ones overlap them a bit.
    skyline(cr, front, base, 0.42, 77, 1.0);
    // Details on the landmarks: the spire of the tall tower and the facets.
    {
        cairo_move_to(cr, 159, base - 118 - 6);
        cairo_line_to(cr, 159, base - 118 - 22);
        stroke(cr, hex(0xB8C4E8), 1.0);
        circlePath(cr, 159, base - 140, 1.3);
        fill(cr, hex(0xFF4A5A));
        glow(cr, 159, base - 140, 6, hex(0xFF4A5A, 0.5));
        // A lit crown band.
        polygonPath(cr, {{150, base - 108}, {159, base - 124}, {168, base - 108}});
        stroke(cr, hex(0x9FE8FF, 0.9), 0.9);
        // Facets on the angular one: crossing diagonals.
        Saved s(cr);
        skylineBody(cr, {88, 20, 96, 3, {}}, base);
        cairo_clip(cr);
        // Glass facets: each X makes four triangles, lit from the left.
        for (double y = base - 100; y < base; y += 18) {
            polygonPath(cr, {{88, y}, {98, y + 9}, {88, y + 18}});
            fill(cr, hex(0x9FC4F0, 0.22));
            polygonPath(cr, {{108, y}, {98, y + 9}, {108, y + 18}});
            fill(cr, hex(0x000010, 0.25));
            polygonPath(cr, {{88, y}, {108, y}, {98, y + 9}});
            fill(cr, hex(0x6A90D0, 0.12));
        }
        for (double y = base - 100; y < base; y += 18) {
            cairo_move_to(cr, 88, y);
            cairo_line_to(cr, 108, y + 18);
            cairo_move_to(cr, 108, y);
            cairo_line_to(cr, 88, y + 18);
        }
        stroke(cr, hex(0xCFE8FF, 0.75), 0.9);
        cairo_move_to(cr, 98, base - 96);
        cairo_line_to(cr, 98, base);
        stroke(cr, hex(0xCFE8FF, 0.5), 0.6);
    }
    // Neon on a few roofs.
    const Colour neon[] = {hex(0xFF3FA4), hex(0x3FE6FF), hex(0xFFD23F), hex(0x7CFF7A)};
    Random ne(4);
    for (int i = 0; i < 9; ++i) {
        const Tower& t = front[ne.below(static_cast<int>(front.size()) - 2)];
        if (t.roof != 0) continue;
        const double y = base - t.h + 2;
        const Colour c = neon[ne.below(4)];
        cairo_rectangle(cr, t.x + 1, y, t.w - 2, 1.6);
        fill(cr, c);
        glow(cr, t.x + t.w / 2, y + 1, t.w * 0.8, withAlpha(c, 0.35));
    }
    // The waterfront promenade.
    cairo_rectangle(cr, 0, base - 1, W, 3);
    fill(cr, hex(0x0E1028));
    for (double x = 2; x < W; x += 6) {
        circlePath(cr, x, base, 0.7);
    }
    fill(cr, hex(0xFFE2A0));

    // Harbour water and the skyline's reflection, broken by ripples.
    cairo_rectangle(cr, 0, base + 2, W, H - base);
    fill(cr, linear(0, base, 0, H, {{0, hex(0x141A44)}, {1, hex(0x070A1E)}}));
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, base + 2, W, H - base);
        cairo_clip(cr);
        cairo_push_group(cr);
        cairo_translate(cr, 0, 2 * base + 4);
        cairo_scale(cr, 1, -1);
        skyline(cr, front, base, 0.42, 77, 1.0);
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, 0.35);
    }
    // Ripples: dark breaks across the reflection, and light streaks.
    Random rp(6);
    for (double y = base + 3; y < H; y += rp.range(1.5, 3.2)) {
        cairo_rectangle(cr, 0, y, W, rp.range(0.5, 1.2));
        fill(cr, hex(0x070A1E, 0.55));
    }
    for (int i = 0; i < 70; ++i) {
        const double y = rp.range(base + 4, H), x = rp.range(0, W);
        cairo_rectangle(cr, x, y, rp.range(3, 10), 0.7);
        fill(cr, rp.next() < 0.5 ? hex(0xFFD27A, rp.range(0.3, 0.7)) : hex(0xFF6FB5, rp.range(0.2, 0.5)));
    }
    // A ferry crossing, lit along its deck.
    {
        const double fx = 52, fy = 170;
        polygonPath(cr, {{fx - 18, fy}, {fx + 18, fy}, {fx + 14, fy + 5}, {fx - 15, fy + 5}});
        fill(cr, hex(0x10122A));
        cairo_rectangle(cr, fx - 12, fy - 4, 22, 4);
        fill(cr, hex(0x1C2046));
        for (double x = fx - 11; x < fx + 9; x += 2.6) cairo_rectangle(cr, x, fy - 3, 1.4, 1.5);
        fill(cr, hex(0xFFE2A0));
        cairo_rectangle(cr, fx - 18, fy + 5.5, 36, 0.8);
        fill(cr, hex(0xFFE2A0, 0.4));
    }
    glassFinish(cr, 0.16);
}

// ---------------------------------------------------------------- Tropical Island

// One palm leaf: a drooping curve from the crown with jagged leaflets on
// both sides and a midrib.
void palmFrond(cairo_t* cr, double x, double y, double angle, double len, double droop, Colour c) {
    std::vector<Pt> spine;
    const int n = 16;
    for (int k = 0; k <= n; ++k) {
        const double t = static_cast<double>(k) / n;
        const double a = angle + droop * 0.55 * t * t * (std::cos(angle) > 0 ? 1 : -1);
        spine.push_back({x + std::cos(a) * len * t, y + std::sin(a) * len * t + droop * 9 * t * t});
    }
    std::vector<Pt> left, right;
    for (int k = 0; k <= n; ++k) {
        const Pt p = spine[k];
        const Pt q = spine[std::min(k + 1, n)];
        const Pt o = spine[std::max(k - 1, 0)];
        double dx = q.x - o.x, dy = q.y - o.y;
        const double l = std::hypot(dx, dy) + 1e-9;
        dx /= l;
        dy /= l;
        const double t = static_cast<double>(k) / n;
        const double w = 7.5 * std::sin(std::min(1.0, t * 1.15) * kPi) + 0.5;
        const double jag = (k % 2) ? 1.0 : 0.55;
        // Leaflets sweep back towards the tip.
        left.push_back({p.x - dy * w * jag + dx * 2.5 * jag, p.y + dx * w * jag + dy * 2.5 * jag});
        right.push_back({p.x + dy * w * jag + dx * 2.5 * jag, p.y - dx * w * jag + dy * 2.5 * jag});
    }
    std::vector<Pt> outline(left);
    outline.insert(outline.end(), right.rbegin(), right.rend());
    polygonPath(cr, outline);
    fill(cr, linear(x, y, spine.back().x, spine.back().y, {{0, darker(c, 0.15)}, {0.5, c}, {1, lighter(c, 0.15)}}));
    smoothOpenPath(cr, spine);
    stroke(cr, darker(c, 0.35), 0.9);
}

void palmTree(cairo_t* cr, double bx, double by, double tx, double ty, double s) {
    // Trunk: a gently bowed taper from the sand to the crown, with the
    // growth rings across it.
    const int n = 24;
    std::vector<Pt> mid(n + 1), left, right;
    std::vector<double> radius(n + 1);
    for (int k = 0; k <= n; ++k) {
        const double t = static_cast<double>(k) / n;
        const double bend = std::sin(t * kPi) * 9 * s * (tx < bx ? 1 : -1);
        mid[k] = {bx + (tx - bx) * t + bend * 0.5, by + (ty - by) * t + std::abs(bend) * 0.3};
        radius[k] = (5.0 - 2.4 * t) * s;
    }
    for (int k = 0; k <= n; ++k) {
        const Pt a = mid[std::max(k - 1, 0)], c = mid[std::min(k + 1, n)];
        double dx = c.x - a.x, dy = c.y - a.y;
        const double l = std::hypot(dx, dy) + 1e-9;
        dx /= l;
        dy /= l;
        left.push_back({mid[k].x + dy * radius[k], mid[k].y - dx * radius[k]});
        right.push_back({mid[k].x - dy * radius[k], mid[k].y + dx * radius[k]});
    }
    std::vector<Pt> outline(left);
    outline.insert(outline.end(), right.rbegin(), right.rend());
    polygonPath(cr, outline);
    fill(cr, hex(0x9A7446));
    // Light on the sunward side, shade on the other: strokes along the edges.
    {
        Saved sv(cr);
        polygonPath(cr, outline);
        cairo_clip(cr);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        // The sun is up on the right, so the edge further right is lit.
        const bool leftIsEast = left[n / 2].x > right[n / 2].x;
        const std::vector<Pt>& lit = leftIsEast ? left : right;
        const std::vector<Pt>& dark = leftIsEast ? right : left;
        smoothOpenPath(cr, dark);
        stroke(cr, hex(0x5A3E22, 0.8), 3.2 * s);
        smoothOpenPath(cr, lit);
        stroke(cr, hex(0xD8B27A, 0.8), 2.4 * s);
    }
    {
        Saved sv(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int k = 1; k < n; ++k) {
            cairo_move_to(cr, left[k].x, left[k].y);
            cairo_curve_to(cr, mid[k].x, mid[k].y + 1.2 * s, mid[k].x, mid[k].y + 1.2 * s, right[k].x, right[k].y);
        }
        stroke(cr, hex(0x4A3420, 0.55), 0.7 * s);
    }
    // Crown of fronds.
    const Colour greens[] = {hex(0x2E8A3A), hex(0x3FA44A), hex(0x237030), hex(0x4DB356)};
    const double angles[] = {-3.0, -2.5, -2.0, -1.5, -1.05, -0.6, -0.15, 0.3, 2.7};
    for (int k = 0; k < 9; ++k) {
        palmFrond(cr, tx, ty, angles[k], (34 + (k % 3) * 5) * s, 0.8 + (k % 2) * 0.5, greens[k % 4]);
    }
    // Coconuts.
    for (int k = 0; k < 3; ++k) {
        const double cx = tx - 3 * s + k * 3 * s, cy = ty + 3 * s + (k % 2) * 1.5 * s;
        circlePath(cr, cx, cy, 2.6 * s);
        fill(cr, radial(cx - 1, cy - 1, 0.2, cx, cy, 2.6 * s, {{0, hex(0x8A6A30)}, {1, hex(0x4A3414)}}));
    }
}

// A little sandy island with two palms in a turquoise sea under a bright sky.
void drawTropicalIsland(cairo_t* cr) {
    const double horizon = 100;
    paint(cr, linear(0, 0, 0, horizon, {{0, hex(0x2E8FE0)}, {0.7, hex(0x7CC4F2)}, {1, hex(0xC8ECFA)}}));
    // Sun and its glow.
    glow(cr, 200, 30, 70, hex(0xFFF6C8, 0.6));
    circlePath(cr, 200, 30, 14);
    fill(cr, radial(198, 28, 2, 200, 30, 14, {{0, hex(0xFFFCE8)}, {1, hex(0xFFE27A)}}));
    cloud(cr, 30, 40, 0.75, hex(0xFFFFFF), hex(0xDCEBF6));
    cloud(cr, 120, 22, 0.55, hex(0xFFFFFF), hex(0xDCEBF6));
    cloud(cr, 222, 72, 0.45, hex(0xFFFFFF, 0.9), hex(0xDCEBF6, 0.9));
    // Sea: deep blue at the horizon to clear turquoise near us.
    cairo_rectangle(cr, 0, horizon, W, H - horizon);
    fill(cr, linear(0, horizon, 0, H, {{0, hex(0x1577B8)}, {0.35, hex(0x1FA6C8)}, {1, hex(0x3FD6D0)}}));
    // Sun path glitter on the water.
    Random gl(5);
    for (int i = 0; i < 50; ++i) {
        const double y = gl.range(horizon + 1, 140), x = 200 + gl.range(-14, 14) * (1 + (y - horizon) / 30);
        cairo_rectangle(cr, x, y, gl.range(2, 6), 0.7);
        fill(cr, hex(0xFFFFFF, gl.range(0.4, 0.9)));
    }
    // The shallows round the island: a pale turquoise ring fading outwards.
    const double ix = 118, iy = 150;
    ellipsePath(cr, ix, iy, 108, 26);
    fill(cr, radial(ix, iy, 20, ix, iy, 108, {{0, hex(0x9FF0E0, 0.9)}, {0.6, hex(0x6FE2D8, 0.55)}, {1, hex(0x3FD6D0, 0)}}));
    // Sand: a low mound, wet darker edge, light top.
    ellipsePath(cr, ix, iy + 2, 74, 15);
    fill(cr, hex(0xD8C08A));
    ellipsePath(cr, ix, iy, 70, 13);
    fill(cr, linear(0, iy - 13, 0, iy + 13, {{0, hex(0xFFF0C8)}, {0.6, hex(0xF4DCA0)}, {1, hex(0xE2C486)}}));
    // Surf lines lapping the beach.
    {
        Saved s(cr);
        ellipsePath(cr, ix, iy + 3, 80, 18);
        stroke(cr, hex(0xFFFFFF, 0.7), 1.2);
        ellipsePath(cr, ix, iy + 4, 90, 22);
        stroke(cr, hex(0xFFFFFF, 0.35), 0.8);
    }
    // Palms: shadows on the sand first.
    ellipsePath(cr, ix + 26, iy + 4, 20, 3.5);
    fill(cr, hex(0x8A6A3A, 0.3));
    palmTree(cr, ix - 18, iy + 2, ix - 54, iy - 92, 1.0);
    palmTree(cr, ix + 10, iy + 3, ix + 38, iy - 70, 0.85);
    // A small shrub and a few shells.
    for (const Pt& b : std::vector<Pt>{{ix - 30, iy - 2}, {ix - 24, iy - 4}, {ix + 22, iy}}) {
        circlePath(cr, b.x, b.y, 4.5);
        fill(cr, hex(0x3F8A3A));
    }
    Random sh(3);
    for (int i = 0; i < 6; ++i) {
        circlePath(cr, ix + sh.range(-50, 50), iy + sh.range(2, 10), 0.9);
        fill(cr, hex(0xFFE0E8));
    }
    // Gulls.
    {
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (const Pt& g : std::vector<Pt>{{150, 52}, {162, 46}}) {
            cairo_move_to(cr, g.x - 4, g.y);
            cairo_curve_to(cr, g.x - 2.5, g.y - 2, g.x - 1, g.y - 1.6, g.x, g.y);
            cairo_curve_to(cr, g.x + 1, g.y - 1.6, g.x + 2.5, g.y - 2, g.x + 4, g.y);
        }
        stroke(cr, hex(0x2A3A4A), 1);
    }
    glassFinish(cr, 0.2);
}

}  // namespace

std::vector<SkinDesign> citySkins() {
    return {
        {"tour_eiffel_skin.png", drawEiffelTower},
        {"retro_surfing_skin.png", drawRetroSurfing},
        {"stardust_skin.png", drawStardust},
        {"golden_gate_skin.png", drawGoldenGate},
        {"hong_kong_skin.png", drawHongKong},
        {"tropical_island_skin.png", drawTropicalIsland},
    };
}

}  // namespace vw::art
