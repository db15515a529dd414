// Skins: animal hides, fur, fish and whales.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

double fract(double v) { return v - std::floor(v); }

// A tapering band along a centre line: `width(t)` for t in [0, 1] along the
// points gives its full width there. Adds a closed polygon to the path.
template <typename WidthFn>
void taperedBand(cairo_t* cr, const std::vector<Pt>& centre, WidthFn width) {
    const size_t n = centre.size();
    std::vector<Pt> left, right;
    for (size_t i = 0; i < n; ++i) {
        const Pt a = centre[i > 0 ? i - 1 : i], b = centre[i + 1 < n ? i + 1 : i];
        double dx = b.x - a.x, dy = b.y - a.y;
        const double len = std::hypot(dx, dy);
        if (len > 0) dx /= len, dy /= len;
        const double w = width(n > 1 ? double(i) / double(n - 1) : 0) / 2;
        left.push_back({centre[i].x - dy * w, centre[i].y + dx * w});
        right.push_back({centre[i].x + dy * w, centre[i].y - dx * w});
    }
    std::vector<Pt> ring = left;
    ring.insert(ring.end(), right.rbegin(), right.rend());
    polygonPath(cr, ring);
}

// ---------------------------------------------------------------- tiger

// Tiger fur: a rich orange coat, darker along the back and paling to a white
// belly, crossed by black stripes that start thick at the spine and taper to
// points, some doubled, with little broken dashes between.
void drawTiger(cairo_t* cr) {
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = fbm(x * 0.03, y * 0.03, 3, 5);
        Colour c = mix(hex(0xC4530E), hex(0xF08A24), smoothstep(0, 0.7, y / H) * 0.8 + (n - 0.5) * 0.5);
        // White belly patch with a ragged furry edge.
        const double edge = H * 0.88 + (fbm(x * 0.05, 3.1, 3, 8) - 0.5) * 30 + 6 * std::sin(x * 0.9) * noise(x * 0.4, 2, 4);
        c = mix(c, hex(0xF6EEE0), smoothstep(edge - 5, edge + 5, y));
        return c;
    });
    Random r(17);
    const Colour black = hex(0x16100C);
    Saved s(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    auto stripe = [&](double x0, double y0, double dir, double len, double wmax, double slant) {
        const double amp = r.range(4, 8), ph = r.range(0, 6.28), freq = r.range(1.2, 2.2);
        const double jag = r.range(0, 6.28);
        std::vector<Pt> c;
        for (int k = 0; k <= 48; ++k) {
            const double t = k / 48.0;
            c.push_back({x0 + amp * std::sin(ph + t * freq * kPi) + slant * len * t, y0 + dir * len * t});
        }
        // Thick where it leaves the edge, tapering to a point, with a
        // ragged swell and pinch along the way.
        taperedBand(cr, c, [&](double t) {
            return wmax * std::pow(1 - t, 0.6) * (0.8 + 0.2 * std::sin(t * 11 + jag) + 0.12 * std::sin(t * 27 + ph));
        });
        return c;
    };
    for (int i = -1; i < 11; ++i) {
        const double x0 = i * 25 + r.range(-5, 5) + 8;
        const double slant = r.range(-0.22, 0.0);
        auto c = stripe(x0, -6, 1, r.range(105, 150), r.range(14, 19), slant);
        // A doubled stripe: a branch splits off part way down.
        if (r.next() < 0.5) {
            const int at = 10 + r.below(10);
            std::vector<Pt> b;
            const double bl = r.range(35, 55), side = r.next() < 0.5 ? -1 : 1;
            for (int k = 0; k <= 20; ++k) {
                const double t = k / 20.0;
                b.push_back({c[at].x + side * (t * 11 + 4 * std::sin(t * kPi)), c[at].y + bl * t});
            }
            taperedBand(cr, b, [&](double t) { return 9 * std::pow(1 - t, 0.7); });
        }
        // Shorter stripes rising from the lower edge between the long ones.
        stripe(x0 + 12 + r.range(-3, 3), H + 6, -1, r.range(45, 80), r.range(9, 13), r.range(-0.1, 0.15));
        fill(cr, black);
    }
    // Fur grain: fine hairs lying across the stripes, light and dark.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double h = noise(x * 0.7, y * 0.09, 21) * 0.6 + noise(x * 1.6, y * 0.2, 22) * 0.4;
        return h > 0.5 ? hex(0xFFF2D8, (h - 0.5) * 0.35) : hex(0x000000, (0.5 - h) * 0.35);
    });
    glassFinish(cr);
}

// ---------------------------------------------------------------- zebra

// Zebra stripes: bold black bands on off-white that bend across the hide and
// fork in places where a second, finer set of stripes takes over.
void drawZebra(cairo_t* cr) {
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double warp = 2.6 * fbm(x * 0.010, y * 0.010, 3, 31) + 1.3 * std::sin(y * 0.022 + x * 0.006);
        const double phase = x * 0.2 + y * 0.05 + warp * 3.0;
        const double fork = smoothstep(0.45, 0.7, noise(x * 0.018 + 3, y * 0.018, 33));
        const double v = std::sin(phase) * (1 - fork * 0.55) + fork * 0.75 * std::sin(2 * phase + 1.6) + 0.05;
        const double black = smoothstep(-0.06, 0.06, v);
        Colour white = mix(hex(0xF7F4EC), hex(0xE4DED0), noise(x * 0.05, y * 0.05, 3));
        Colour c = mix(white, hex(0x141414), black);
        const double hair = noise(x * 0.12, y * 1.1, 7) - 0.5;
        return hair > 0 ? lighter(c, hair * 0.12) : darker(c, -hair * 0.2);
    });
    glassFinish(cr);
}

// ---------------------------------------------------------------- cows

// A Holstein hide: warm white with big black patches with ragged edges and a
// few small spots, and a soft short-hair texture over it.
void drawCows(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0xFBF8F2)}, {1, hex(0xEDE7DC)}}));
    Random r(42);
    struct Patch {
        double x, y, rx, ry;
    };
    const Patch patches[] = {{22, 30, 42, 34},   {140, 14, 46, 28}, {232, 70, 40, 46}, {92, 120, 44, 36},
                             {196, 176, 52, 30}, {10, 170, 34, 30}, {168, 96, 20, 16}, {60, 62, 14, 11}};
    auto blob = [&](double cx, double cy, double rx, double ry, int pts) {
        std::vector<Pt> p;
        for (int k = 0; k < pts; ++k) {
            const double a = k * 2 * kPi / pts, m = r.range(0.65, 1.2);
            p.push_back({cx + std::cos(a) * rx * m, cy + std::sin(a) * ry * m});
        }
        smoothClosedPath(cr, p);
    };
    for (const Patch& p : patches) {
        blob(p.x, p.y, p.rx, p.ry, 14);
        // Satellite spots near the big patches.
        for (int k = 0; k < 2; ++k) {
            const double a = r.range(0, 2 * kPi);
            blob(p.x + std::cos(a) * p.rx * 1.35, p.y + std::sin(a) * p.ry * 1.35, r.range(3, 7), r.range(3, 6), 7);
        }
    }
    cairo_path_t* spots = cairo_copy_path(cr);
    cairo_new_path(cr);
    softShadow(cr, [&](cairo_t* c) { cairo_append_path(c, spots); }, hex(0x000000, 0.25), 3, 0.8, 1.5);
    cairo_append_path(cr, spots);
    fill(cr, hex(0x1A1A1C));
    cairo_path_destroy(spots);
    // Short hair: a faint stipple of light and dark along the lie of the coat.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double h = noise(x * 0.9 + y * 0.3, y * 0.25, 12) - 0.5;
        return h > 0 ? hex(0xFFFFFF, h * 0.18) : hex(0x5A4A3A, -h * 0.14);
    });
    glassFinish(cr);
}

// ---------------------------------------------------------------- alligator

// Alligator hide: rows of rectangular scutes on a wobbly lattice, separated
// by deep dark grooves; the back rows carry raised keels, the lower rows are
// the flatter, more regular belly grid. Glossy highlights give it its shine.
void drawAlligator(cairo_t* cr) {
    paint(cr, hex(0x10160A));
    const int cols = 9, rows = 8;
    std::vector<double> rowY(rows + 1);
    {
        double y = -6;
        for (int j = 0; j <= rows; ++j) {
            rowY[j] = y;
            y += j < 4 ? 30 : 22;
        }
    }
    Random r(7);
    // Lattice corners, nudged so the grid is organic.
    std::vector<std::vector<Pt>> P(rows + 1, std::vector<Pt>(cols + 2));
    for (int j = 0; j <= rows; ++j) {
        const double off = (j % 2) * 0.5;
        for (int i = 0; i <= cols + 1; ++i) {
            const double bw = W / (cols - 1.0);
            P[j][i] = {(i - 1 + off * 0) * bw + r.range(-4, 4) + 4 * std::sin(j * 1.3), rowY[j] + r.range(-3, 3)};
        }
    }
    for (int j = 0; j < rows; ++j) {
        const bool back = j < 4;
        // Brick-like offset: each row splits its cells at shifted points.
        for (int i = 0; i <= cols; ++i) {
            const Pt a = P[j][i], b = P[j][i + 1], c = P[j + 1][i + 1], d = P[j + 1][i];
            const double shift = (j % 2) ? 0.5 : 0.0;
            auto lerp = [](Pt p, Pt q, double t) { return Pt{p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t}; };
            const Pt aa = lerp(a, b, shift * 0), bb = b, cc = c, dd = d;
            (void)aa;
            // Inset the cell to leave the groove.
            const double gx = back ? 3.2 : 2.2, gy = back ? 3.0 : 2.0;
            const double mx = (a.x + b.x + c.x + d.x) / 4 + shift * 0, my = (a.y + b.y + c.y + d.y) / 4;
            auto in = [&](Pt p) {
                const double dx = p.x - mx, dy = p.y - my;
                return Pt{p.x - (dx > 0 ? gx : -gx), p.y - (dy > 0 ? gy : -gy)};
            };
            const Pt A = in(a), B = in(bb), C = in(cc), D = in(dd);
            const double top = std::min(A.y, B.y), bot = std::max(C.y, D.y);
            const double v = r.range(-0.08, 0.08);
            Colour base = back ? hex(0x3E4A1C) : hex(0x5C6628);
            base = v > 0 ? lighter(base, v) : darker(base, -v);
            auto cell = [&](cairo_t* c2) {
                const double rad = back ? 7 : 4;
                // A rounded quadrilateral through the inset corners.
                const Pt q[4] = {A, B, C, D};
                cairo_new_sub_path(c2);
                for (int k = 0; k < 4; ++k) {
                    const Pt p0 = q[(k + 3) % 4], p1 = q[k], p2 = q[(k + 1) % 4];
                    auto toward = [&](Pt from, Pt to, double dist) {
                        const double L = std::hypot(to.x - from.x, to.y - from.y);
                        const double t = std::min(0.45, dist / std::max(L, 1e-6));
                        return Pt{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
                    };
                    const Pt s0 = toward(p1, p0, rad), s1 = toward(p1, p2, rad);
                    if (k == 0) cairo_move_to(c2, s0.x, s0.y);
                    else cairo_line_to(c2, s0.x, s0.y);
                    cairo_curve_to(c2, p1.x, p1.y, p1.x, p1.y, s1.x, s1.y);
                }
                cairo_close_path(c2);
            };
            softShadow(cr, cell, hex(0x000000, 0.6), 2.5, 1.2, 2);
            cell(cr);
            fill(cr, radial(mx - 4, top + (bot - top) * 0.3, 1, mx, my, (bot - top) * 1.1,
                            {{0, lighter(base, 0.28)}, {0.55, base}, {1, darker(base, 0.35)}}));
            if (back) {
                // The keel: a raised ridge down the middle of the scute.
                const double kx = mx + r.range(-2, 2);
                ellipsePath(cr, kx, my, 5.5, (bot - top) * 0.36);
                fill(cr, linear(kx - 5, 0, kx + 5, 0,
                                {{0, lighter(base, 0.35)}, {0.5, lighter(base, 0.1)}, {1, darker(base, 0.4)}}));
                ellipsePath(cr, kx - 1.6, my - (bot - top) * 0.12, 1.6, (bot - top) * 0.16);
                fill(cr, hex(0xE8F0C0, 0.45));
            } else {
                // Belly scutes: a gloss streak along the top edge.
                ellipsePath(cr, mx - 2, top + (bot - top) * 0.28, (B.x - A.x) * 0.32, (bot - top) * 0.12);
                fill(cr, hex(0xF0F6D0, 0.22));
            }
            // Leathery pitting.
            cell(cr);
            Saved sc(cr);
            cairo_clip(cr);
            for (int k = 0; k < 6; ++k) {
                circlePath(cr, r.range(A.x, B.x), r.range(top, bot), r.range(0.5, 1.2));
                fill(cr, hex(0x000000, 0.22));
            }
        }
    }
    glassFinish(cr, 0.3);
}

}  // namespace

std::vector<SkinDesign> animalSkins() {
    return {
        {"alligator_skin.png", drawAlligator},
        {"tiger_skin.png", drawTiger},
        {"zebra_skin.png", drawZebra},
        {"cows_skin.png", drawCows},
    };
}

}  // namespace vw::art
