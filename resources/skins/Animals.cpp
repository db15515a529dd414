// Skins: animal hides, fur, fish and whales.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

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
    // Clockwise, as the circles and other shapes are, so overlapping parts
    // of one figure add up under the winding rule instead of cancelling.
    std::vector<Pt> ring = right;
    ring.insert(ring.end(), left.rbegin(), left.rend());
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
        const double phase = x * 0.2 + y * 0.05 + warp * 3.0 + 2.2 * std::sin(y * 0.028 + x * 0.004);
        const double fork = smoothstep(0.45, 0.7, noise(x * 0.018 + 3, y * 0.018, 33));
        const double v = std::sin(phase) * (1 - fork * 0.55) + fork * 0.75 * std::sin(2 * phase + 1.6) - 0.02;
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
    // A patch outline: a few slow waves round the rim give the broad lobes and
    // bays of a real patch, a faster one keeps the edge from looking drawn.
    auto blob = [&](double cx, double cy, double rx, double ry, int pts) {
        const double p1 = r.range(0, 6.3), p2 = r.range(0, 6.3), p3 = r.range(0, 6.3);
        const double a1 = r.range(0.12, 0.22), a2 = r.range(0.08, 0.15);
        std::vector<Pt> p;
        for (int k = 0; k < pts; ++k) {
            const double a = k * 2 * kPi / pts;
            const double m = 1 + a1 * std::sin(2 * a + p1) + a2 * std::sin(3 * a + p2) + 0.05 * std::sin(7 * a + p3);
            p.push_back({cx + std::cos(a) * rx * m, cy + std::sin(a) * ry * m});
        }
        smoothClosedPath(cr, p);
    };
    for (const Patch& p : patches) {
        blob(p.x, p.y, p.rx, p.ry, 36);
        // Satellite spots near the big patches.
        for (int k = 0; k < 2; ++k) {
            const double a = r.range(0, 2 * kPi);
            blob(p.x + std::cos(a) * p.rx * 1.35, p.y + std::sin(a) * p.ry * 1.35, r.range(3, 7), r.range(3, 6), 12);
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
        return h > 0 ? hex(0xFFFFFF, h * 0.09) : hex(0x5A4A3A, -h * 0.12);
    });
    glassFinish(cr);
}

// ---------------------------------------------------------------- alligator

// A rounded quadrilateral through four corners, for one scute.
void roundedQuad(cairo_t* cr, const Pt (&q)[4], double rad) {
    cairo_new_sub_path(cr);
    for (int k = 0; k < 4; ++k) {
        const Pt p0 = q[(k + 3) % 4], p1 = q[k], p2 = q[(k + 1) % 4];
        auto toward = [&](Pt to, double dist) {
            const double L = std::hypot(to.x - p1.x, to.y - p1.y);
            const double t = std::min(0.45, dist / std::max(L, 1e-6));
            return Pt{p1.x + (to.x - p1.x) * t, p1.y + (to.y - p1.y) * t};
        };
        const Pt s0 = toward(p0, rad), s1 = toward(p2, rad);
        if (k == 0)
            cairo_move_to(cr, s0.x, s0.y);
        else
            cairo_line_to(cr, s0.x, s0.y);
        cairo_curve_to(cr, p1.x, p1.y, p1.x, p1.y, s1.x, s1.y);
    }
    cairo_close_path(cr);
}

// One scute between corners a (top left), b, c, d (bottom left), inset to
// leave a deep groove, shaded as a glossy cushion; keeled ones carry a raised
// ridge along their length.
void scute(cairo_t* cr, Pt a, Pt b, Pt c, Pt d, double groove, Colour base, bool keel, Random& r) {
    const double mx = (a.x + b.x + c.x + d.x) / 4, my = (a.y + b.y + c.y + d.y) / 4;
    auto in = [&](Pt p) {
        return Pt{p.x + (p.x < mx ? groove : -groove), p.y + (p.y < my ? groove : -groove)};
    };
    const Pt q[4] = {in(a), in(b), in(c), in(d)};
    const double top = std::min(q[0].y, q[1].y), bot = std::max(q[2].y, q[3].y);
    const double left = std::min(q[0].x, q[3].x), right = std::max(q[1].x, q[2].x);
    const double h = bot - top, w = right - left, rad = std::min(w, h) * 0.28;
    softShadow(cr, [&](cairo_t* c2) { roundedQuad(c2, q, rad); }, hex(0x000000, 0.7), 2.2, 0.8, 1.6);
    roundedQuad(cr, q, rad);
    fill(cr, radial(mx - w * 0.15, top + h * 0.3, 1, mx, my, std::max(w, h) * 0.75,
                    {{0, lighter(base, 0.22)}, {0.6, base}, {1, darker(base, 0.45)}}));
    Saved s(cr);
    roundedQuad(cr, q, rad);
    cairo_clip(cr);
    if (keel) {
        // The keel: a long raised bump, its shadow falling down and right,
        // lit on its upper left.
        const double kx = mx + r.range(-1.5, 1.5), kw = w * 0.2, kh = h * 0.36;
        ellipsePath(cr, kx + 1.6, my + 1.8, kw, kh);
        fill(cr, radial(kx + 1.6, my + 1.8, 0, kx + 1.6, my + 1.8, kh * 1.1,
                        {{0, withAlpha(darker(base, 0.6), 0.8)}, {1, withAlpha(darker(base, 0.6), 0)}}));
        ellipsePath(cr, kx, my, kw, kh);
        fill(cr, radial(kx - kw * 0.4, my - kh * 0.45, 0.3, kx, my, kh * 1.05,
                        {{0, lighter(base, 0.45)}, {0.5, lighter(base, 0.12)}, {1, darker(base, 0.15)}}));
    }
    // Gloss along the top edge and leathery pits.
    ellipsePath(cr, mx - w * 0.12, top + h * 0.2, w * 0.3, h * 0.09);
    fill(cr, hex(0xF4F8D8, 0.22));
    for (int k = 0; k < 5; ++k) {
        circlePath(cr, r.range(left, right), r.range(top, bot), r.range(0.4, 1.0));
        fill(cr, hex(0x000000, 0.2));
    }
}

// Alligator hide: keeled back scutes in rows, a band of small pebbly flank
// scales, then the long rectangular belly grid, all bent a little as over a
// body and glossy, with deep dark grooves between.
void drawAlligator(cairo_t* cr) {
    paint(cr, hex(0x1A2410));
    Random r(7);
    auto bend = [](double x, double y) { return y + 7 * std::sin(x * 0.018 + 0.6); };
    // One row of scutes between two heights, the cells `cw` wide (keeled
    // ones vary a little), shifted along by `off`.
    auto rowOfCells = [&](double y0, double y1, double cw, double off, double groove, Colour col, bool keel,
                          double jitter) {
        for (double x = -cw + off, w = cw; x < W + cw; x += w) {
            w = keel ? cw * r.range(0.8, 1.2) : cw;
            const double j = jitter;
            const Pt a{x + r.range(-j, j), bend(x, y0) + r.range(-j, j)};
            const Pt b{x + w + r.range(-j, j), bend(x + w, y0) + r.range(-j, j)};
            const Pt c{x + w + r.range(-j, j), bend(x + w, y1) + r.range(-j, j)};
            const Pt d{x + r.range(-j, j), bend(x, y1) + r.range(-j, j)};
            const double v = r.range(-0.1, 0.1);
            const Colour k = v > 0 ? lighter(col, v) : darker(col, -v);
            scute(cr, a, b, c, d, groove, k, keel, r);
        }
    };
    const Colour backCol = hex(0x304A16), flankCol = hex(0x44651C), bellyCol = hex(0x6A8430);
    // Back: big keeled scutes in staggered rows.
    rowOfCells(-14, 18, 30, 0, 2.6, backCol, true, 2.5);
    rowOfCells(18, 50, 30, 15, 2.6, backCol, true, 2.5);
    rowOfCells(50, 80, 28, 4, 2.6, backCol, true, 2.5);
    // Flank: small rounded pebbles in two rows.
    for (int row = 0; row < 2; ++row) {
        const double y = 84 + row * 11;
        for (double x = -8 + row * 6; x < W + 10; x += 12.5) {
            const double cx = x + r.range(-1.5, 1.5), cy = bend(x, y) + r.range(-1, 1);
            const double rx = r.range(4.5, 6), ry = r.range(4, 5);
            softShadow(cr, [&](cairo_t* c2) { ellipsePath(c2, cx, cy, rx, ry); }, hex(0x000000, 0.6), 1.5, 0.6, 1.2);
            ellipsePath(cr, cx, cy, rx, ry);
            fill(cr, radial(cx - rx * 0.35, cy - ry * 0.4, 0.3, cx, cy, rx * 1.1,
                            {{0, lighter(flankCol, 0.3)}, {0.6, flankCol}, {1, darker(flankCol, 0.45)}}));
        }
    }
    // Belly: long rectangular scutes in a regular grid.
    for (int row = 0; row < 5; ++row) {
        const double y0 = 102 + row * 20;
        rowOfCells(y0, y0 + 20, 34, 6, 1.7, mix(bellyCol, flankCol, row == 0 ? 0.5 : 0), false, 1.2);
    }
    // Darker mottling across the hide, as the living animal has.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = fbm(x * 0.02, y * 0.025, 3, 77);
        return hex(0x0A1004, smoothstep(0.45, 0.7, n) * 0.45);
    });
    // A broad sheen over the curve of the body.
    paint(cr, linear(0, 0, W, H * 0.6, {{0, hex(0xFFFFFF, 0)}, {0.45, hex(0xEAF5C0, 0.10)}, {0.6, hex(0xFFFFFF, 0)}}));
    glassFinish(cr, 0.25);
}

// ---------------------------------------------------------------- under water

// Bubbles rising: thin bright rims with a fleck of light.
void bubbles(cairo_t* cr, uint32_t seed, int count, double x0, double x1, double rMin, double rMax) {
    Random r(seed);
    for (int i = 0; i < count; ++i) {
        const double x = r.range(x0, x1), y = r.range(4, H - 10), rad = r.range(rMin, rMax);
        circlePath(cr, x, y, rad);
        fill(cr, radial(x, y, 0, x, y, rad, {{0, hex(0xFFFFFF, 0.02)}, {0.8, hex(0xBFF4FF, 0.12)}, {1, hex(0xFFFFFF, 0.35)}}));
        circlePath(cr, x, y, rad);
        stroke(cr, hex(0xE8FDFF, 0.7), std::max(0.5, rad * 0.12));
        circlePath(cr, x - rad * 0.35, y - rad * 0.35, rad * 0.22);
        fill(cr, hex(0xFFFFFF, 0.85));
    }
}

// Shafts of sunlight fanning down from the surface.
void lightRays(cairo_t* cr, double cx, int count, double alpha, uint32_t seed) {
    Random r(seed);
    Saved s(cr);
    for (int i = 0; i < count; ++i) {
        const double top = cx + r.range(-60, 60), spread = r.range(-1.0, 1.0), w = r.range(6, 16);
        const double bx = top + spread * 110;
        polygonPath(cr, {{top - w * 0.3, -2}, {top + w * 0.3, -2}, {bx + w, H}, {bx - w, H}});
        fill(cr, linear(0, 0, 0, H, {{0, hex(0xFFFFFF, alpha)}, {0.75, hex(0xFFFFFF, alpha * 0.2)}, {1, hex(0xFFFFFF, 0)}}));
    }
}

// ---------------------------------------------------------------- butterflyfish

// The body, fins and all, of a butterflyfish in its own units: a tall disc
// about two wide, snout to the left at about x = -1.4.
void butterflyfishBody(cairo_t* cr) {
    smoothClosedPath(cr, {{-1.44, 0.05}, {-1.16, -0.1}, {-0.84, -0.5}, {-0.4, -0.86}, {0.1, -1.04}, {0.55, -0.95},
                          {0.9, -0.62}, {1.06, -0.22}, {1.02, 0.2}, {0.88, 0.6}, {0.5, 0.9}, {0.0, 0.96},
                          {-0.45, 0.8}, {-0.85, 0.46}, {-1.14, 0.2}, {-1.42, 0.12}});
}

// A butterflyfish facing left (or right when `flip`): yellow, a white face
// with fine diagonal lines, a black band through the eye, a false eye spot on
// the back and a thin dark rim to the fins.
void butterflyfish(cairo_t* cr, double x, double y, double size, bool flip, double tilt) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt * kPi / 180);
    cairo_scale(cr, flip ? -size : size, size);
    const double u = 1 / size;
    const Colour yellow = hex(0xFFD21F), deep = hex(0xF29A0E), ink = hex(0x151515);
    softShadow(cr, [](cairo_t* c) { butterflyfishBody(c); }, hex(0x001830, 0.35), 5 * u, 2 * u, 4 * u);
    // Tail: a small fan, half see-through at its edge.
    cairo_move_to(cr, 0.98, -0.2);
    cairo_curve_to(cr, 1.2, -0.3, 1.38, -0.42, 1.46, -0.38);
    cairo_curve_to(cr, 1.4, -0.1, 1.4, 0.1, 1.46, 0.38);
    cairo_curve_to(cr, 1.38, 0.42, 1.2, 0.3, 0.98, 0.2);
    cairo_close_path(cr);
    fill(cr, linear(0.98, 0, 1.46, 0, {{0, yellow}, {0.7, withAlpha(yellow, 0.85)}, {1, hex(0xFFF3B0, 0.5)}}));
    butterflyfishBody(cr);
    fill(cr, linear(0, -1, 0.4, 1, {{0, lighter(yellow, 0.15)}, {0.6, yellow}, {1, deep}}));
    {
        Saved c(cr);
        butterflyfishBody(cr);
        cairo_clip(cr);
        // White face and flank in front of the yellow back half.
        cairo_move_to(cr, -1.4, -1.2);
        cairo_line_to(cr, -0.05, -1.2);
        cairo_curve_to(cr, 0.25, -0.4, 0.2, 0.3, -0.15, 1.2);
        cairo_line_to(cr, -1.4, 1.2);
        cairo_close_path(cr);
        cairo_path_t* face = cairo_copy_path(cr);
        fill(cr, linear(-1, -1, 0, 1, {{0, hex(0xFFFFFF)}, {1, hex(0xE4ECF2)}}));
        // Fine diagonal lines over the white, a chevron each way.
        Saved lines(cr);
        cairo_append_path(cr, face);
        cairo_path_destroy(face);
        cairo_clip(cr);
        for (int k = -6; k <= 6; ++k) {
            const double o = k * 0.17;
            cairo_move_to(cr, -0.9 + o, -1.1);
            cairo_line_to(cr, 0.2 + o, 0.0);
            cairo_line_to(cr, -0.8 + o, 1.1);
        }
        stroke(cr, hex(0x3A4450, 0.45), 0.025);
        cairo_reset_clip(cr);
        butterflyfishBody(cr);
        cairo_clip(cr);
        // A dark bar where the body meets the tail.
        cairo_move_to(cr, 0.86, -1.0);
        cairo_curve_to(cr, 0.98, -0.3, 0.98, 0.3, 0.86, 1.0);
        cairo_line_to(cr, 1.2, 1.0);
        cairo_line_to(cr, 1.2, -1.0);
        cairo_close_path(cr);
        fill(cr, hex(0x1A1A1A, 0.9));
        // Black band down through the eye.
        cairo_move_to(cr, -0.86, -1.2);
        cairo_curve_to(cr, -0.7, -0.4, -0.72, 0.4, -0.92, 1.2);
        cairo_line_to(cr, -0.62, 1.2);
        cairo_curve_to(cr, -0.42, 0.4, -0.42, -0.4, -0.6, -1.2);
        cairo_close_path(cr);
        fill(cr, ink);
        // Dark rim along the dorsal, anal fin and the base of the tail.
        butterflyfishBody(cr);
        stroke(cr, hex(0x1A1A1A, 0.85), 0.1);
        butterflyfishBody(cr);
        stroke(cr, hex(0xFFF6C0, 0.8), 0.03);
        // Shading at the belly for roundness.
        butterflyfishBody(cr);
        fill(cr, radial(-0.3, -0.35, 0.1, -0.1, 0, 1.2, {{0, hex(0xFFFFFF, 0.25)}, {0.6, hex(0xFFFFFF, 0)}, {1, hex(0x803000, 0.2)}}));
    }
    // Snout: dark at the lips.
    circlePath(cr, -1.41, 0.085, 0.045);
    fill(cr, hex(0x2A2A2A));
    // Eye inside the band: gold ring, black pupil, a fleck of light.
    circlePath(cr, -0.7, -0.18, 0.12);
    fill(cr, hex(0x3A2A10));
    circlePath(cr, -0.7, -0.18, 0.075);
    fill(cr, ink);
    circlePath(cr, -0.73, -0.21, 0.03);
    fill(cr, hex(0xFFFFFF, 0.9));
    // Pectoral fin: a see-through yellow leaf.
    ellipsePath(cr, -0.2, 0.15, 0.26, 0.1, 25);
    fill(cr, hex(0xFFE680, 0.4));
    ellipsePath(cr, -0.2, 0.15, 0.26, 0.1, 25);
    stroke(cr, hex(0xE0A010, 0.6), 0.02);
}

// Branching coral: a little tree of rounded strokes.
void branchCoral(cairo_t* cr, double x, double y, double len, double angle, int depth, Colour c, Random& r) {
    const double ex = x + std::cos(angle) * len, ey = y + std::sin(angle) * len;
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + std::cos(angle + 0.3) * len * 0.5, y + std::sin(angle + 0.3) * len * 0.5, ex, ey, ex, ey);
    stroke(cr, c, 1.2 + depth * 1.3);
    if (depth == 0) {
        circlePath(cr, ex, ey, 1.6);
        fill(cr, lighter(c, 0.3));
        return;
    }
    branchCoral(cr, ex, ey, len * r.range(0.6, 0.8), angle - r.range(0.3, 0.6), depth - 1, c, r);
    branchCoral(cr, ex, ey, len * r.range(0.6, 0.8), angle + r.range(0.3, 0.6), depth - 1, c, r);
}

// The reef floor: sand, mounds of brain coral, a sea fan and branching coral.
void reef(cairo_t* cr) {
    // Distant reef in blue haze.
    smoothClosedPath(cr, {{-10, 160}, {30, 140}, {70, 150}, {110, 136}, {160, 148}, {210, 132}, {262, 146}, {262, 200}, {-10, 200}});
    fill(cr, hex(0x1F6E9C, 0.6));
    Saved s(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Random r(8);
    // Sea fan, purple, at the back on the right.
    for (int k = 0; k < 3; ++k) branchCoral(cr, 214, 186, 22, -kPi / 2 + (k - 1) * 0.45, 4, hex(0x8A4FB8), r);
    // Branching corals, pink and orange.
    for (int k = 0; k < 3; ++k) branchCoral(cr, 36, 190, 20, -kPi / 2 + (k - 1) * 0.5, 3, hex(0xF06E8C), r);
    for (int k = 0; k < 2; ++k) branchCoral(cr, 150, 192, 16, -kPi / 2 + (k - 0.5) * 0.6, 3, hex(0xFF8A4A), r);
    // Sand.
    smoothClosedPath(cr, {{-10, 184}, {50, 178}, {120, 186}, {190, 180}, {262, 184}, {262, 200}, {-10, 200}});
    fill(cr, linear(0, 178, 0, 194, {{0, hex(0xE6D29A)}, {1, hex(0xB89A5E)}}));
    // Brain coral mounds with their winding grooves.
    const Pt mounds[] = {{92, 186}, {248, 188}};
    for (const Pt m : mounds) {
        ellipsePath(cr, m.x, m.y, 26, 16);
        fill(cr, radial(m.x - 8, m.y - 10, 2, m.x, m.y, 28, {{0, hex(0xE8C86A)}, {1, hex(0xA9782E)}}));
        Saved c(cr);
        ellipsePath(cr, m.x, m.y, 26, 16);
        cairo_clip(cr);
        for (int k = 0; k < 6; ++k) {
            std::vector<Pt> g;
            for (int i = 0; i <= 12; ++i)
                g.push_back({m.x - 28 + i * 4.7, m.y - 14 + k * 5 + 1.8 * std::sin(i * 1.4 + k)});
            smoothOpenPath(cr, g);
        }
        stroke(cr, hex(0x7A5420, 0.5), 0.8);
    }
}

void drawButterflyfish(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x4FC8EA)}, {0.55, hex(0x1A86C2)}, {1, hex(0x0B4F8A)}}));
    // Rippled light at the surface.
    shadePixels(cr, 0, 0, W, 40, [](double x, double y) {
        const double n = noise(x * 0.08, y * 0.2, 4);
        return hex(0xFFFFFF, smoothstep(0.55, 0.8, n) * 0.25 * (1 - y / 40));
    });
    lightRays(cr, 130, 7, 0.14, 3);
    reef(cr);
    bubbles(cr, 14, 6, 20, 240, 1.5, 4);
    butterflyfish(cr, 180, 62, 21, true, -6);
    butterflyfish(cr, 88, 100, 40, false, 4);
    bubbles(cr, 15, 5, 0, 60, 1.5, 3.5);
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- beluga

// A beluga's outline in its own units, facing right: the round melon at
// x = 1, the body tapering back to the tail stock at x = -0.9.
void belugaBody(cairo_t* cr) {
    smoothClosedPath(cr, {{1.02, 0.12}, {1.0, -0.04}, {0.9, -0.24}, {0.72, -0.33}, {0.55, -0.31}, {0.4, -0.3},
                          {0.1, -0.31}, {-0.25, -0.24}, {-0.55, -0.13}, {-0.82, -0.05}, {-0.9, 0.0},
                          {-0.82, 0.05}, {-0.55, 0.11}, {-0.2, 0.22}, {0.2, 0.28}, {0.55, 0.26}, {0.82, 0.2}, {0.95, 0.17}});
}

void beluga(cairo_t* cr, double x, double y, double size, double tilt) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, tilt * kPi / 180);
    cairo_scale(cr, size, size);
    const double u = 1 / size;
    const Colour white = hex(0xF4FAFC), shade = hex(0xA8C6D4);
    softShadow(cr, [](cairo_t* c) { belugaBody(c); }, hex(0x003040, 0.35), 6 * u, 0, 8 * u);
    // Flukes: a crescent at the tail stock, tipped at a slight angle.
    cairo_move_to(cr, -0.84, -0.02);
    cairo_curve_to(cr, -0.95, -0.1, -1.05, -0.22, -1.14, -0.24);
    cairo_curve_to(cr, -1.08, -0.1, -1.06, 0.06, -1.16, 0.2);
    cairo_curve_to(cr, -1.02, 0.2, -0.92, 0.1, -0.84, 0.03);
    cairo_close_path(cr);
    fill(cr, linear(0, -0.25, 0, 0.2, {{0, white}, {1, shade}}));
    // Far flipper, in shade behind the body.
    ellipsePath(cr, 0.42, 0.26, 0.14, 0.06, 50);
    fill(cr, darker(shade, 0.1));
    belugaBody(cr);
    fill(cr, linear(0, -0.34, 0, 0.3, {{0, white}, {0.45, hex(0xE6F2F6)}, {1, shade}}));
    {
        Saved c(cr);
        belugaBody(cr);
        cairo_clip(cr);
        // Light from above, and the glow on the melon.
        ellipsePath(cr, 0.8, -0.16, 0.17, 0.1, -10);
        fill(cr, radial(0.8, -0.18, 0, 0.8, -0.16, 0.18, {{0, hex(0xFFFFFF, 0.9)}, {1, hex(0xFFFFFF, 0)}}));
        // Rippled sunlight on the back.
        for (int k = 0; k < 6; ++k) {
            ellipsePath(cr, -0.5 + k * 0.22, -0.26 + 0.02 * std::sin(k * 2.0), 0.07, 0.025, 10);
            fill(cr, hex(0xFFFFFF, 0.5));
        }
    }
    // Near flipper.
    cairo_move_to(cr, 0.48, 0.12);
    cairo_curve_to(cr, 0.45, 0.28, 0.32, 0.4, 0.24, 0.42);
    cairo_curve_to(cr, 0.22, 0.34, 0.3, 0.2, 0.38, 0.12);
    cairo_close_path(cr);
    fill(cr, linear(0.3, 0.1, 0.3, 0.42, {{0, hex(0xE0EEF3)}, {1, shade}}));
    // The smile: a long upturned mouth line under the melon.
    cairo_move_to(cr, 1.0, 0.11);
    cairo_curve_to(cr, 0.95, 0.14, 0.85, 0.13, 0.76, 0.06);
    stroke(cr, hex(0x5E7E8C), 0.022);
    cairo_move_to(cr, 0.765, 0.055);
    cairo_line_to(cr, 0.74, 0.07);
    stroke(cr, hex(0x5E7E8C), 0.018);
    // Eye, small and dark, with a glint.
    circlePath(cr, 0.72, -0.03, 0.033);
    fill(cr, hex(0x1E2A33));
    circlePath(cr, 0.712, -0.04, 0.011);
    fill(cr, hex(0xFFFFFF));
    // A hint of blush on the cheek.
    ellipsePath(cr, 0.84, 0.06, 0.05, 0.03);
    fill(cr, hex(0xF2B8C0, 0.4));
}

void drawBeluga(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x7FD3D6)}, {0.35, hex(0x2E9EAE)}, {1, hex(0x0B4A66)}}));
    // Ice floes on the surface seen from below.
    Random r(31);
    for (double x = -14; x < W; x += r.range(34, 52)) {
        // Angular slabs with a thick pale-green underside, the gaps between
        // them open to the sky.
        const double w = r.range(26, 44), d = r.range(9, 16);
        const std::vector<Pt> slab{{x, -2}, {x + w, -2}, {x + w - r.range(2, 6), d * 0.6}, {x + w * r.range(0.5, 0.7), d},
                                   {x + w * r.range(0.2, 0.35), d * 0.85}, {x + r.range(2, 5), d * 0.5}};
        polygonPath(cr, slab);
        fill(cr, linear(0, 0, 0, d, {{0, hex(0xFFFFFF, 0.95)}, {0.6, hex(0xDDF7F6, 0.9)}, {1, hex(0x9EDCDD, 0.85)}}));
        polygonPath(cr, slab);
        stroke(cr, hex(0xFFFFFF, 0.6), 0.6);
    }
    lightRays(cr, 110, 8, 0.16, 9);
    // Deep water haze towards the bottom.
    cairo_rectangle(cr, 0, H * 0.6, W, H * 0.4);
    fill(cr, linear(0, H * 0.6, 0, H, {{0, hex(0x05304A, 0)}, {1, hex(0x05304A, 0.5)}}));
    // A second beluga further off, softened by the water between.
    cairo_push_group(cr);
    beluga(cr, 62, 48, 40, 6);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.5);
    bubbles(cr, 51, 6, 150, 240, 1.5, 4);
    beluga(cr, 134, 104, 100, -7);
    bubbles(cr, 52, 5, 200, 245, 1.2, 3);
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- whale pattern

// A cartoon whale's body in its own units, facing left: a round head, the
// back sweeping down to a tail that curls up at the right.
void cartoonWhaleBody(cairo_t* cr) {
    cairo_move_to(cr, -1.0, 0.1);
    cairo_curve_to(cr, -1.05, -0.7, -0.3, -0.9, 0.2, -0.55);
    cairo_curve_to(cr, 0.5, -0.34, 0.7, -0.2, 0.86, -0.5);
    cairo_line_to(cr, 0.98, -0.44);
    cairo_curve_to(cr, 0.95, 0.05, 0.55, 0.45, -0.1, 0.45);
    cairo_curve_to(cr, -0.6, 0.45, -0.95, 0.35, -1.0, 0.1);
    cairo_close_path(cr);
}

void cartoonWhale(cairo_t* cr, double x, double y, double size, bool flip, Colour body, Colour belly) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, flip ? -size : size, size);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    // Flukes on the raised tail.
    ellipsePath(cr, 0.8, -0.64, 0.2, 0.09, -55);
    ellipsePath(cr, 1.06, -0.6, 0.2, 0.09, 35);
    fill(cr, body);
    cartoonWhaleBody(cr);
    fill(cr, linear(0, -0.8, 0, 0.45, {{0, lighter(body, 0.12)}, {1, darker(body, 0.1)}}));
    {
        Saved c(cr);
        cartoonWhaleBody(cr);
        cairo_clip(cr);
        // The pale striped belly.
        ellipsePath(cr, -0.35, 0.5, 0.75, 0.28);
        fill(cr, belly);
        for (int k = 0; k < 4; ++k) {
            cairo_move_to(cr, -1.0, 0.3 + k * 0.07);
            cairo_curve_to(cr, -0.6, 0.36 + k * 0.07, -0.1, 0.36 + k * 0.07, 0.3, 0.3 + k * 0.07);
        }
        stroke(cr, withAlpha(body, 0.35), 0.025);
        // Shine on the head.
        ellipsePath(cr, -0.55, -0.5, 0.2, 0.08, -20);
        fill(cr, hex(0xFFFFFF, 0.25));
    }
    // Eye and cheek.
    circlePath(cr, -0.62, -0.05, 0.075);
    fill(cr, hex(0xFFFFFF));
    circlePath(cr, -0.64, -0.05, 0.045);
    fill(cr, hex(0x101828));
    ellipsePath(cr, -0.7, 0.13, 0.08, 0.05);
    fill(cr, hex(0xFF8FA8, 0.7));
    // Flipper.
    ellipsePath(cr, -0.2, 0.2, 0.17, 0.08, 30);
    fill(cr, darker(body, 0.2));
    // The spout: a stem of water splitting into curling jets and drops.
    const Colour water = hex(0x5CC8EC);
    cairo_move_to(cr, -0.45, -0.8);
    cairo_line_to(cr, -0.45, -1.15);
    stroke(cr, water, 0.09);
    cairo_move_to(cr, -0.45, -1.15);
    cairo_curve_to(cr, -0.6, -1.35, -0.8, -1.3, -0.85, -1.12);
    cairo_move_to(cr, -0.45, -1.15);
    cairo_curve_to(cr, -0.3, -1.35, -0.1, -1.3, -0.05, -1.12);
    stroke(cr, water, 0.08);
    circlePath(cr, -0.88, -1.0, 0.05);
    circlePath(cr, -0.02, -1.0, 0.05);
    circlePath(cr, -0.45, -1.32, 0.05);
    fill(cr, water);
}

// Small navy whales spouting water, in rows facing alternate ways, with
// little waves and dots between them like a printed cotton.
void drawWhalePattern(cairo_t* cr) {
    paint(cr, hex(0xF4EFE3));
    // Fabric weave.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double v = std::sin(x * 3.1) * std::sin(y * 3.1);
        return v > 0 ? hex(0xFFFFFF, v * 0.2) : hex(0x8A7A60, -v * 0.06);
    });
    const Colour navy = hex(0x1F3A68), belly = hex(0xBFD8EC), wave = hex(0x5CB6E0);
    const double stepX = 64, stepY = 50;
    for (int j = -1; j <= 4; ++j) {
        for (int i = -1; i <= 4; ++i) {
            const double x = i * stepX + (j % 2 ? stepX / 2 : 0) + 30, y = j * stepY + 40;
            // Little waves under each whale, and a dot between.
            Saved sv(cr);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_move_to(cr, x - 14, y + 18);
            cairo_curve_to(cr, x - 10, y + 14, x - 6, y + 14, x - 2, y + 18);
            cairo_curve_to(cr, x + 2, y + 14, x + 6, y + 14, x + 10, y + 18);
            stroke(cr, wave, 1.8);
            circlePath(cr, x + stepX / 2, y + 2, 1.8);
            fill(cr, hex(0xF2A640));
            circlePath(cr, x + stepX / 2 - 6, y + 8, 1.2);
            fill(cr, wave);
        }
    }
    for (int j = -1; j <= 4; ++j) {
        for (int i = -1; i <= 4; ++i) {
            const double x = i * stepX + (j % 2 ? stepX / 2 : 0) + 30, y = j * stepY + 40;
            cartoonWhale(cr, x, y, 15, (j % 2) != 0, navy, belly);
        }
    }
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- wolf

// A wolf sitting on a rock and howling at the full moon, in night blues: one
// silhouette built from overlapping parts (haunch, chest, legs, raised head
// with open jaws and pointed ears, bushy tail), rimmed with moonlight.
void wolfShape(cairo_t* cr) {
    // The body from the front paw up the chest and neck and down the back to
    // the rump.
    smoothClosedPath(cr, {{-32, 0}, {-31, -4}, {-25, -7}, {-25, -40}, {-29, -58}, {-28, -72}, {-22, -86},
                          {-18, -100}, {-13, -114}, {4, -122}, {9, -104}, {15, -86}, {26, -62}, {35, -36},
                          {39, -14}, {34, -2}, {28, 0}, {-5, 0}, {-8, -4}, {-14, -5}, {-17, -2}, {-18, 0}});
    // The head raised to the sky: a long muzzle with the jaws open in the
    // howl, and pointed ears laid back.
    {
        Saved h(cr);
        cairo_translate(cr, -4, -122);
        cairo_rotate(cr, 40 * kPi / 180);
        cairo_scale(cr, 1.15, 1.15);
        smoothClosedPath(cr, {{-35, -3}, {-33, -6.5}, {-20, -8}, {-11, -11}, {-3, -14}, {6, -13}, {13, -6}, {13, 4},
                              {6, 10}, {-6, 10}, {-18, 9}, {-30, 9}, {-30, 7}, {-17, 2}, {-33, 0}});
        polygonPath(cr, {{-7, -10}, {5, -13}, {-4, -32}});
        polygonPath(cr, {{2, -11}, {12, -7}, {8, -29}});
    }
    // Tufts of fur on the chest and throat.
    polygonPath(cr, {{-27, -62}, {-32, -70}, {-27, -71}, {-31, -80}, {-24, -80}, {-25, -88}, {-20, -86}});
    // Bushy tail lying along the rock.
    std::vector<Pt> tail;
    for (int k = 0; k <= 20; ++k) {
        const double t = k / 20.0;
        tail.push_back({30 + 44 * t, -5 + 2 * std::sin(t * kPi) - 1 * t});
    }
    taperedBand(cr, tail, [](double t) { return 15 * std::sin(kPi * (0.25 + 0.75 * t)) + 2 * (1 - t); });
}

void drawWolf(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x0A1230)}, {0.6, hex(0x1C2E66)}, {1, hex(0x2C4580)}}));
    const double mx = 78, my = 64, mr = 40;
    // The moon's wide glow.
    circlePath(cr, mx, my, 130);
    fill(cr, radial(mx, my, mr, mx, my, 130, {{0, hex(0xBFD4FF, 0.35)}, {1, hex(0xBFD4FF, 0)}}));
    // Stars, the brighter ones with a soft halo.
    Random r(4);
    for (int i = 0; i < 70; ++i) {
        const double x = r.range(0, W), y = r.range(0, H * 0.7), s = r.range(0.3, 1.1);
        if (std::hypot(x - mx, y - my) < mr + 6) continue;
        circlePath(cr, x, y, s);
        fill(cr, hex(0xFFFFFF, r.range(0.5, 0.95)));
        if (s > 0.95) {
            circlePath(cr, x, y, s * 4);
            fill(cr, radial(x, y, 0, x, y, s * 4, {{0, hex(0xCFE0FF, 0.4)}, {1, hex(0xCFE0FF, 0)}}));
        }
    }
    // The full moon with soft grey seas.
    circlePath(cr, mx, my, mr);
    fill(cr, radial(mx - 10, my - 12, 4, mx, my, mr, {{0, hex(0xFFFDF0)}, {0.8, hex(0xF2EEDC)}, {1, hex(0xD9D6C8)}}));
    {
        Saved c(cr);
        circlePath(cr, mx, my, mr);
        cairo_clip(cr);
        const double seas[][3] = {{-12, -10, 11}, {8, -16, 7}, {12, 6, 12}, {-8, 16, 7}, {-22, 6, 5}};
        for (const auto& sea : seas) {
            const double sx = mx + sea[0], sy = my + sea[1], sr = sea[2];
            circlePath(cr, sx, sy, sr);
            fill(cr, radial(sx, sy, 0, sx, sy, sr, {{0, hex(0xA8A89C, 0.3)}, {0.7, hex(0xA8A89C, 0.22)}, {1, hex(0xA8A89C, 0)}}));
        }
    }
    // Far hills with a ragged line of pines.
    {
        std::vector<Pt> ridge{{-5, H + 5}, {-5, 150}};
        Random t(12);
        for (double x = 0; x <= W + 5; x += 5) {
            const double base = 150 - 10 * std::sin(x * 0.02 + 1);
            const double tree = t.next() < 0.7 ? t.range(6, 16) : 0;
            ridge.push_back({x, base});
            if (tree > 0) ridge.push_back({x + 2.5, base - tree});
        }
        ridge.push_back({W + 5, H + 5});
        polygonPath(cr, ridge);
        fill(cr, hex(0x14224C));
    }
    // The rock the wolf sits on.
    const Colour dark = hex(0x070B1C);
    polygonPath(cr, {{108, H + 2}, {120, 174}, {138, 163}, {166, 157}, {214, 153}, {240, 149}, {W + 2, 151}, {W + 2, H + 2}});
    fill(cr, dark);
    // Moonlight rim, then the silhouette.
    const double wx = 180, wy = 156, ws = 0.9;
    {
        Saved s(cr);
        cairo_translate(cr, wx - 1.2, wy - 0.8);
        cairo_scale(cr, ws, ws);
        wolfShape(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        fill(cr, hex(0x9FB8EE, 0.8));
    }
    {
        Saved s(cr);
        cairo_translate(cr, wx, wy);
        cairo_scale(cr, ws, ws);
        wolfShape(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        // Faintly lit on the side facing the moon, so the coat has some depth.
        fill(cr, radial(-60, -150, 20, -60, -150, 190, {{0, hex(0x131B42)}, {0.5, hex(0x0A1028)}, {1, dark}}));
    }
    glassFinish(cr, 0.15);
}

// ---------------------------------------------------------------- gecko

// A limb from `from` through a bend to `to`, with a fan of five toes at the
// end, each ending in a round sticky pad. Adds the leg and toes to the path
// and notes where the pads are.
void geckoLeg(cairo_t* cr, Pt from, Pt bend, Pt to, double toeAngle, std::vector<Pt>& pads) {
    std::vector<Pt> leg;
    for (int k = 0; k <= 16; ++k) {
        const double t = k / 16.0, u = 1 - t;
        leg.push_back({u * u * from.x + 2 * u * t * bend.x + t * t * to.x, u * u * from.y + 2 * u * t * bend.y + t * t * to.y});
    }
    taperedBand(cr, leg, [](double t) { return 11 - 4 * t; });
    circlePath(cr, to.x, to.y, 4);
    for (int k = 0; k < 5; ++k) {
        const double a = toeAngle + (k - 2) * 0.45, len = k == 0 || k == 4 ? 9 : 11;
        const Pt tip{to.x + std::cos(a) * len, to.y + std::sin(a) * len};
        taperedBand(cr, {to, tip}, [](double t) { return 3.2 - t * 0.8; });
        pads.push_back(tip);
    }
}

// The gecko seen from above, head up, in its own units (about 200 long).
void geckoShape(cairo_t* cr, std::vector<Pt>& pads) {
    // Head: a broad rounded wedge.
    smoothClosedPath(cr, {{0, -82}, {12, -79}, {20, -68}, {21, -56}, {14, -45}, {0, -40}, {-14, -45}, {-21, -56},
                          {-20, -68}, {-12, -79}});
    // Neck and body.
    smoothClosedPath(cr, {{0, -48}, {12, -42}, {19, -22}, {21, 2}, {17, 26}, {8, 40}, {0, 44}, {-8, 40},
                          {-17, 26}, {-21, 2}, {-19, -22}, {-12, -42}});
    // Tail: long, thick at the root, curling to a point.
    std::vector<Pt> tail;
    for (int k = 0; k <= 40; ++k) {
        const double t = k / 40.0;
        tail.push_back({22 * std::sin(t * 2.6) - 14 * t * t, 30 + 100 * t});
    }
    taperedBand(cr, tail, [](double t) { return 24 * std::pow(1 - t, 0.8) + 1.5; });
    // Legs splayed out to the sides, front ones reaching forward, back ones back.
    geckoLeg(cr, {12, -28}, {38, -34}, {42, -54}, -kPi / 2 + 0.2, pads);
    geckoLeg(cr, {-12, -28}, {-38, -34}, {-42, -54}, -kPi / 2 - 0.2, pads);
    geckoLeg(cr, {12, 24}, {38, 22}, {44, 46}, kPi / 2 - 0.5, pads);
    geckoLeg(cr, {-12, 24}, {-38, 22}, {-44, 46}, kPi / 2 + 0.5, pads);
}

// The lizard itself, turned to crawl up to the right.
void geckoFigure(cairo_t* cr) {
    Saved s(cr);
    cairo_translate(cr, 122, 102);
    cairo_rotate(cr, 58 * kPi / 180);
    cairo_scale(cr, 0.95, 0.95);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    std::vector<Pt> pads;
    const Colour lime = hex(0x8ED63A), deep = hex(0x3F8A1E), spot = hex(0xFFB02E);
    softShadow(cr, [&](cairo_t* c) { std::vector<Pt> p; geckoShape(c, p); }, hex(0x5A1E08, 0.45), 5, 5, 5);
    // Dark rim first, then the body a touch smaller over it.
    geckoShape(cr, pads);
    cairo_path_t* body = cairo_copy_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    stroke(cr, deep, 3);
    cairo_append_path(cr, body);
    fill(cr, radial(-8, -30, 5, 0, 0, 110, {{0, lighter(lime, 0.2)}, {0.5, lime}, {1, darker(lime, 0.15)}}));
    {
        Saved c(cr);
        cairo_append_path(cr, body);
        cairo_clip(cr);
        // A paler stripe down the spine.
        std::vector<Pt> spine;
        for (int k = 0; k <= 30; ++k) {
            const double t = k / 30.0;
            spine.push_back({t < 0.45 ? 0 : 22 * std::sin((t - 0.45) / 0.55 * 2.0) * 0.6, -70 + 170 * t});
        }
        taperedBand(cr, spine, [](double t) { return 12 * (1 - t) + 2; });
        fill(cr, hex(0xD8F27A, 0.45));
        // Orange spots and small dark freckles on the back and tail.
        Random d(27);
        for (int i = 0; i < 40; ++i) {
            const double t = d.next();
            const double y = -60 + 150 * t;
            const double x = (y < 30 ? d.range(-15, 15) : 22 * std::sin((y - 30) / 100 * 2.6) - 14 * std::pow((y - 30) / 100, 2) + d.range(-8, 8));
            const double rad = y < 30 ? d.range(2.4, 4.2) : d.range(1.6, 3.2) * (1 - t * 0.5);
            circlePath(cr, x, y, rad);
            fill(cr, d.next() < 0.6 ? spot : hex(0x2F6A14, 0.7));
        }
    }
    cairo_path_destroy(body);
    // Round sticky toe pads.
    for (const Pt& p : pads) {
        circlePath(cr, p.x, p.y, 4.4);
        fill(cr, deep);
        circlePath(cr, p.x, p.y, 3.5);
        fill(cr, radial(p.x - 1, p.y - 1, 0.2, p.x, p.y, 3.5, {{0, hex(0xE4FF9A)}, {1, hex(0xA6E050)}}));
    }
    // Big bulging eyes with slit pupils, nostrils and a smile.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = side * 17, ey = -62;
        circlePath(cr, ex, ey, 8);
        fill(cr, deep);
        circlePath(cr, ex, ey, 6.6);
        fill(cr, radial(ex - 2, ey - 2, 0.5, ex, ey, 6.6, {{0, hex(0xFFF0A0)}, {1, hex(0xE0A020)}}));
        ellipsePath(cr, ex, ey, 1.5, 5.2);
        fill(cr, hex(0x1A1A10));
        circlePath(cr, ex - 2.2, ey - 2.6, 1.4);
        fill(cr, hex(0xFFFFFF, 0.9));
        circlePath(cr, side * 4, -77, 1.1);
        fill(cr, deep);
    }
}

void drawGecko(cairo_t* cr) {
    // Warm sandstone.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double n = fbm(x * 0.03, y * 0.03, 4, 61), g = noise(x * 0.5, y * 0.5, 62);
        Colour c = mix(hex(0xF4B45E), hex(0xD8693A), smoothstep(0, 1, (x * 0.3 + y) / (H * 1.2)));
        c = mix(c, hex(0xFFD98A), smoothstep(0.55, 0.8, n) * 0.4);
        return g > 0.5 ? lighter(c, (g - 0.5) * 0.12) : darker(c, (0.5 - g) * 0.12);
    });
    // Leaf shadows falling across the stone.
    Random r(18);
    for (int i = 0; i < 5; ++i) {
        const double x = r.range(0, W), y = r.range(0, H), a = r.range(0, 180);
        ellipsePath(cr, x, y, r.range(16, 26), r.range(6, 9), a);
        fill(cr, hex(0x7A2E10, 0.12));
    }
    geckoFigure(cr);
    glassFinish(cr, 0.2);
}

}  // namespace

std::vector<SkinDesign> animalSkins() {
    return {
        {"alligator_skin.png", drawAlligator},
        {"angelfish_skin.png", drawButterflyfish},
        {"beluga_whale_skin.png", drawBeluga},
        {"tiger_skin.png", drawTiger},
        {"zebra_skin.png", drawZebra},
        {"cows_skin.png", drawCows},
        {"gecko_skin.png", drawGecko},
        {"whale_pattern_skin.png", drawWhalePattern},
        {"wolf_skin.png", drawWolf},
    };
}

}  // namespace vw::art
