// Skins: rainbows, sky, weather and light effects.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

// The seven rainbow colours, outside (red) to inside (violet).
const Colour kRainbow[7] = {hex(0xE8352E), hex(0xF7881F), hex(0xFBD431), hex(0x4CB848),
                            hex(0x2F8FDD), hex(0x3F4BB0), hex(0x8A3FB5)};

// A radial gradient with any number of stops, for bands that are built in a loop.
PatternPtr radialBands(double cx, double cy, double r0, double r1, const std::vector<Stop>& stops) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, r0, cx, cy, r1);
    for (const Stop& s : stops)
        cairo_pattern_add_color_stop_rgba(p, s.offset, s.colour.r, s.colour.g, s.colour.b, s.colour.a);
    return PatternPtr(p, cairo_pattern_destroy);
}

// ---------------------------------------------------------------- cartoon clouds

struct Puff {
    double x, y, r;  // relative to the cloud's centre, in cloud units
};

// A cartoon cloud: overlapping round puffs on a flat-ish base. Each puff is
// shaded on its own (light top, soft blue-grey underside) so the lumps read.
void cartoonCloud(cairo_t* cr, double cx, double cy, double scale, uint32_t seed, Colour shade = hex(0xB9CCE4),
                  double shadowAlpha = 0.22) {
    Random g(seed);
    std::vector<Puff> puffs;
    // A row of base puffs, then a taller crown of bigger ones.
    const int base = 5 + g.below(2);
    for (int i = 0; i < base; ++i) {
        const double t = base == 1 ? 0.5 : double(i) / (base - 1);
        puffs.push_back({(t - 0.5) * 2 * 36 + g.range(-4, 4), g.range(-2, 2), g.range(8.5, 14)});
    }
    const int crown = 3 + g.below(2);
    for (int i = 0; i < crown; ++i) {
        const double t = crown == 1 ? 0.5 : double(i) / (crown - 1);
        const double x = (t - 0.5) * 2 * 22 + g.range(-3, 3);
        const double r = 14 + 6 * (1 - std::abs(t - 0.5) * 2) + g.range(-1.5, 2);
        puffs.push_back({x, -9 - (r - 14) * 0.9 + g.range(-2, 1), r});
    }
    auto shape = [&](cairo_t* c) {
        for (const Puff& p : puffs) circlePath(c, cx + p.x * scale, cy + p.y * scale, p.r * scale);
        // A flat belly joining the base puffs.
        roundedRect(c, cx - 36 * scale, cy - 4 * scale, 72 * scale, 14 * scale, 7 * scale);
    };
    softShadow(cr, shape, hex(0x2A4E80, shadowAlpha), 6 * scale, 2 * scale, 5 * scale);
    Saved s(cr);
    shape(cr);
    cairo_clip_preserve(cr);
    fill(cr, linear(0, cy - 34 * scale, 0, cy + 12 * scale, {{0, lighter(shade, 0.55)}, {1, shade}}));
    // Every puff's lit cap, shifted up and left so a shaded crescent stays below.
    for (const Puff& p : puffs) {
        const double px = cx + p.x * scale, py = cy + p.y * scale, r = p.r * scale;
        circlePath(cr, px - r * 0.12, py - r * 0.2, r * 0.9);
        fill(cr, radial(px - r * 0.3, py - r * 0.45, r * 0.1, px - r * 0.1, py - r * 0.2, r * 0.95,
                        {{0, hex(0xFFFFFF)}, {0.75, hex(0xFFFFFF, 0.96)}, {1, withAlpha(lighter(shade, 0.7), 0.0)}}));
    }
    // A cool underside tone for the whole cloud.
    cairo_rectangle(cr, cx - 60 * scale, cy - 2 * scale, 120 * scale, 16 * scale);
    fill(cr, linear(0, cy - 2 * scale, 0, cy + 11 * scale, {{0, withAlpha(shade, 0)}, {1, withAlpha(darker(shade, 0.05), 0.7)}}));
}

// ---------------------------------------------------------------- rainbow

// A bright seven-band arc over a soft blue sky, its feet in white clouds. The
// sky inside the bow is a touch brighter than outside, as it is in life.
void drawRainbow(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x4A9FE0)}, {0.6, hex(0x8FC8F0)}, {1, hex(0xCBE7F8)}}));
    const double cx = W / 2, cy = H + 26, outer = 178, band = 12.5, inner = outer - 7 * band;
    // Brighter sky inside the bow.
    circlePath(cr, cx, cy, inner);
    fill(cr, radialBands(cx, cy, 0, inner, {{0, hex(0xFFFFFF, 0.32)}, {0.85, hex(0xFFFFFF, 0.22)}, {1, hex(0xFFFFFF, 0.05)}}));
    // A faint sun glow up at the right.
    paint(cr, radial(W * 0.9, 8, 2, W * 0.9, 8, 110, {{0, hex(0xFFFBE6, 0.7)}, {0.3, hex(0xFFF4D0, 0.25)}, {1, hex(0xFFF4D0, 0)}}));
    // A soft glow around the whole bow.
    softShadow(
        cr,
        [&](cairo_t* c) {
            circlePath(c, cx, cy, outer + 2);
            cairo_new_sub_path(c);
            cairo_arc_negative(c, cx, cy, inner - 2, 2 * kPi, 0);
            cairo_close_path(c);
        },
        hex(0xFFFFFF, 0.45), 10);
    // The bands: one radial gradient, each colour held across its band and
    // blended a little into the next.
    std::vector<Stop> stops;
    const double blend = 0.18;  // of a band width
    for (int i = 0; i < 7; ++i) {
        const Colour c = kRainbow[6 - i];  // the gradient runs inside (violet) to outside (red)
        const double b0 = (i * band) / (7 * band), b1 = ((i + 1) * band) / (7 * band);
        const double e = blend * band / (7 * band);
        stops.push_back({std::max(0.0, b0 + (i == 0 ? 0 : e)), c});
        stops.push_back({std::min(1.0, b1 - (i == 6 ? 0 : e)), c});
    }
    {
        Saved s(cr);
        circlePath(cr, cx, cy, outer);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, cx, cy, inner, 2 * kPi, 0);
        cairo_close_path(cr);
        cairo_clip(cr);
        paint(cr, radialBands(cx, cy, inner, outer, stops));
        // A light sheen along the top of each band and a soft rim at both edges.
        paint(cr, radialBands(cx, cy, inner, outer,
                              {{0, hex(0x000000, 0.12)}, {0.06, hex(0x000000, 0)}, {0.5, hex(0xFFFFFF, 0.12)},
                               {0.94, hex(0xFFFFFF, 0)}, {1, hex(0x000000, 0.08)}}));
        // The feet fade into the haze near the ground.
        paint(cr, linear(0, H * 0.62, 0, H, {{0, hex(0xFFFFFF, 0)}, {1, hex(0xEAF5FD, 0.55)}}));
    }
    // A pale ghost band just inside the violet.
    {
        Saved s(cr);
        cairo_arc(cr, cx, cy, inner - 5, kPi, 2 * kPi);
        cairo_set_line_width(cr, 5);
        setColour(cr, hex(0xC9A6E6, 0.22));
        cairo_stroke(cr);
    }
    // Little clouds up in the sky, then the big ones at the bow's feet.
    cartoonCloud(cr, 206, 36, 0.42, 7, hex(0xBFD4EC), 0.12);
    cartoonCloud(cr, 48, 58, 0.34, 12, hex(0xBFD4EC), 0.12);
    cartoonCloud(cr, 24, 176, 1.0, 3);
    cartoonCloud(cr, 230, 172, 1.05, 9);
    cartoonCloud(cr, 75, 190, 0.7, 21);
    cartoonCloud(cr, 182, 192, 0.62, 5);
    glassFinish(cr, 0.22);
}

// ---------------------------------------------------------------- rainbow splash

void sparkle(cairo_t* cr, double x, double y, double r, Colour c) {
    // A four-pointed twinkle with a round glow.
    circlePath(cr, x, y, r * 1.6);
    fill(cr, radial(x, y, 0, x, y, r * 1.6, {{0, withAlpha(c, 0.55)}, {1, withAlpha(c, 0)}}));
    cairo_move_to(cr, x, y - r);
    cairo_curve_to(cr, x + r * 0.12, y - r * 0.12, x + r * 0.12, y - r * 0.12, x + r, y);
    cairo_curve_to(cr, x + r * 0.12, y + r * 0.12, x + r * 0.12, y + r * 0.12, x, y + r);
    cairo_curve_to(cr, x - r * 0.12, y + r * 0.12, x - r * 0.12, y + r * 0.12, x - r, y);
    cairo_curve_to(cr, x - r * 0.12, y - r * 0.12, x - r * 0.12, y - r * 0.12, x, y - r);
    cairo_close_path(cr);
    fill(cr, lighter(c, 0.5));
}

void fivePointStar(cairo_t* cr, double x, double y, double r, double rot, Colour c) {
    softShadow(cr, [&](cairo_t* k) { starPath(k, x, y, r * 1.15, r * 0.55, 5, rot); }, withAlpha(c, 0.7), r * 0.9);
    starPath(cr, x, y, r, r * 0.45, 5, rot);
    fill(cr, radial(x - r * 0.2, y - r * 0.3, 0, x, y, r, {{0, lighter(c, 0.7)}, {0.6, c}, {1, darker(c, 0.08)}}));
}

// One wavy ribbon of seven colour bands, laid along the x axis of the current
// transform: it starts thin and swells, and its tail breaks into drops.
void rainbowRibbon(cairo_t* cr, double x0, double x1, double y, double band, double amp, double waves, double phase,
                   uint32_t seed) {
    const int steps = 90;
    auto centre = [&](double t) { return y + amp * std::sin(t * waves * 2 * kPi + phase); };
    auto widthAt = [&](double t) { return 0.25 + 0.75 * smoothstep(0, 0.35, t) * (1 - 0.4 * smoothstep(0.8, 1, t)); };
    for (int i = 0; i < 7; ++i) {
        std::vector<Pt> top, bottom;
        for (int k = 0; k <= steps; ++k) {
            const double t = double(k) / steps, x = x0 + (x1 - x0) * t;
            const double w = widthAt(t) * band, c = centre(t), half = 3.5 * w;
            top.push_back({x, c - half + i * w});
            bottom.push_back({x, c - half + (i + 1) * w + 0.4});
        }
        // Round the ends: each band runs on to the edge of a half disc.
        auto cap = [&](double t, double sign, double from, double to) {
            const double c = centre(t), R = 3.5 * widthAt(t) * band, x = x0 + (x1 - x0) * t;
            for (int k = 0; k <= 6; ++k) {
                const double yy = from + (to - from) * k / 6.0, dy = std::clamp((yy - c) / R, -1.0, 1.0);
                cairo_line_to(cr, x + sign * R * std::sqrt(1 - dy * dy), yy);
            }
        };
        cairo_move_to(cr, top[0].x, top[0].y);
        for (const Pt& p : top) cairo_line_to(cr, p.x, p.y);
        cap(1, 1, top.back().y, bottom.back().y);
        for (auto it = bottom.rbegin(); it != bottom.rend(); ++it) cairo_line_to(cr, it->x, it->y);
        cap(0, -1, bottom.front().y, top.front().y);
        cairo_close_path(cr);
        fill(cr, kRainbow[i]);
    }
    // A glossy stripe along the ribbon.
    {
        std::vector<Pt> line;
        for (int k = 6; k <= steps - 6; ++k) {
            const double t = double(k) / steps;
            line.push_back({x0 + (x1 - x0) * t, centre(t) - 2.2 * widthAt(t) * band});
        }
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        smoothOpenPath(cr, line);
        stroke(cr, hex(0xFFFFFF, 0.35), band * 0.45);
    }
    // The splashing end: drops of each colour flung on ahead, fanning out.
    Random g(seed);
    const double endW = widthAt(1) * band;
    for (int i = 0; i < 7; ++i) {
        const double c = centre(1) - 3.5 * endW + (i + 0.5) * endW;
        const double spread = (i - 3) * 0.16 + g.range(-0.05, 0.05);
        double dist = g.range(3, 6) + 3.5 * endW * std::sqrt(std::max(0.0, 1 - std::pow((i + 0.5) / 3.5 - 1, 2)));
        for (int d = 0; d < 3; ++d) {
            const double r = endW * 0.5 * (1 - d * 0.28) * g.range(0.85, 1.1);
            dist += r * 2.2 + g.range(2, 5) + d * 2;
            const double x = x1 + dist * std::cos(spread), yy = c + dist * std::sin(spread);
            circlePath(cr, x, yy, r);
            fill(cr, kRainbow[i]);
            circlePath(cr, x - r * 0.3, yy - r * 0.3, r * 0.35);
            fill(cr, hex(0xFFFFFF, 0.4));
        }
    }
}

// Rainbow streaks swooshing across a deep violet night, with white and gold
// stars and twinkles all over.
void drawRainbowSplash(cairo_t* cr) {
    paint(cr, linear(0, 0, W, H, {{0, hex(0x2B1B6E)}, {0.55, hex(0x4A1F86)}, {1, hex(0x1A1450)}}));
    paint(cr, radial(W * 0.5, H * 0.5, 5, W * 0.5, H * 0.5, 170, {{0, hex(0xD36BFF, 0.35)}, {1, hex(0xD36BFF, 0)}}));
    // Paint splats in the rainbow colours behind the streaks: a lumpy blot
    // with a few droplets thrown round it.
    Random g(42);
    for (int i = 0; i < 14; ++i) {
        const double x = g.range(0, W), y = g.range(0, H), r = g.range(3.5, 8);
        const Colour c = withAlpha(kRainbow[i % 7], 0.6);
        std::vector<Pt> blob;
        const int n = 12;
        for (int k = 0; k < n; ++k) {
            const double a = k * 2 * kPi / n, rr = r * (k % 2 ? g.range(0.6, 0.8) : g.range(1.0, 1.35));
            blob.push_back({x + std::cos(a) * rr, y + std::sin(a) * rr});
        }
        smoothClosedPath(cr, blob);
        fill(cr, c);
        for (int k = 0; k < 4; ++k) {
            const double a = g.range(0, 2 * kPi), d = r * g.range(1.6, 2.6);
            circlePath(cr, x + std::cos(a) * d, y + std::sin(a) * d, r * g.range(0.12, 0.25));
            fill(cr, c);
        }
    }
    auto ribbons = [&](cairo_t* c, bool shadowOnly) {
        {
            Saved s(c);
            cairo_translate(c, 0, H);
            cairo_rotate(c, -32 * kPi / 180);
            if (shadowOnly) cairo_translate(c, 2, 5);
            rainbowRibbon(c, -30, 215, -18, 9.5, 12, 1.1, 0.3, 1);
        }
        {
            Saved s(c);
            cairo_translate(c, -10, H * 0.56);
            cairo_rotate(c, -32 * kPi / 180);
            if (shadowOnly) cairo_translate(c, 2, 5);
            rainbowRibbon(c, -40, 150, -30, 4.5, 7, 1.3, 2.2, 2);
        }
        {
            Saved s(c);
            cairo_translate(c, 95, H + 20);
            cairo_rotate(c, -32 * kPi / 180);
            if (shadowOnly) cairo_translate(c, 2, 5);
            rainbowRibbon(c, 0, 170, 2, 4.0, 6, 1.0, 4.0, 3);
        }
    };
    softShadow(cr, [&](cairo_t* c) { ribbons(c, true); }, hex(0x0A0420, 0.45), 6);
    ribbons(cr, false);
    // Stars: small white and gold ones scattered, a few big twinkles.
    Random st(77);
    for (int i = 0; i < 55; ++i) {
        const double x = st.range(0, W), y = st.range(0, H), r = st.range(0.6, 1.6);
        circlePath(cr, x, y, r);
        fill(cr, st.next() < 0.5 ? hex(0xFFFFFF, 0.85) : hex(0xFFE27A, 0.85));
    }
    for (int i = 0; i < 16; ++i) {
        const double x = st.range(6, W - 6), y = st.range(6, H - 6), r = st.range(3.5, 7.5);
        const bool gold = i % 2 == 0;
        if (i % 3 == 0)
            fivePointStar(cr, x, y, r, st.range(-110, -70), gold ? hex(0xFFD23F) : hex(0xFFFFFF));
        else
            sparkle(cr, x, y, r * 1.3, gold ? hex(0xFFE27A) : hex(0xFFFFFF));
    }
    glassFinish(cr, 0.24);
}


// ---------------------------------------------------------------- lightning

// A jagged bolt from a to b: the straight line split again and again, each
// midpoint pushed sideways by a share of its segment's length.
std::vector<Pt> boltLine(Pt a, Pt b, int levels, double rough, Random& g) {
    std::vector<Pt> pts = {a, b};
    for (int l = 0; l < levels; ++l) {
        std::vector<Pt> next;
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
            const Pt p = pts[i], q = pts[i + 1];
            const double dx = q.x - p.x, dy = q.y - p.y, len = std::hypot(dx, dy);
            const double off = g.range(-1, 1) * len * rough;
            next.push_back(p);
            next.push_back({(p.x + q.x) / 2 - dy / len * off, (p.y + q.y) / 2 + dx / len * off});
        }
        next.push_back(pts.back());
        pts = std::move(next);
    }
    return pts;
}

struct Bolt {
    std::vector<std::vector<Pt>> strokes;  // the trunk first, then branches
    std::vector<double> widths;
};

// A trunk from top to ground with forks peeling off it, some forking again.
Bolt makeBolt(Pt top, Pt bottom, double width, uint32_t seed, int forks) {
    Random g(seed);
    Bolt bolt;
    bolt.strokes.push_back(boltLine(top, bottom, 6, 0.32, g));
    bolt.widths.push_back(width);
    for (int f = 0; f < forks; ++f) {
        const std::vector<Pt>& trunk = bolt.strokes[0];
        const std::size_t at = static_cast<std::size_t>(trunk.size() * g.range(0.15, 0.65));
        const Pt p = trunk[at], q = trunk[std::min(trunk.size() - 1, at + 4)];
        const double dir = std::atan2(q.y - p.y, q.x - p.x) + (f % 2 ? 1 : -1) * g.range(0.45, 0.85);
        const double len = g.range(30, 60);
        const Pt end = {p.x + std::cos(dir) * len, p.y + std::sin(dir) * len};
        bolt.strokes.push_back(boltLine(p, end, 5, 0.3, g));
        bolt.widths.push_back(width * 0.5);
        if (g.next() < 0.6) {
            const std::vector<Pt>& br = bolt.strokes.back();
            const Pt m = br[br.size() / 2];
            const double d2 = dir + (g.next() < 0.5 ? -1 : 1) * g.range(0.4, 0.8);
            const double l2 = len * g.range(0.35, 0.55);
            std::vector<Pt> twig = boltLine(m, {m.x + std::cos(d2) * l2, m.y + std::sin(d2) * l2}, 4, 0.3, g);
            bolt.strokes.push_back(std::move(twig));
            bolt.widths.push_back(width * 0.3);
        }
    }
    return bolt;
}

void polyline(cairo_t* cr, const std::vector<Pt>& pts) {
    cairo_move_to(cr, pts[0].x, pts[0].y);
    for (std::size_t i = 1; i < pts.size(); ++i) cairo_line_to(cr, pts[i].x, pts[i].y);
}

// A polyline as a filled outline, for glows (the blur wants a filled shape):
// a chain of quads with round joints, all wound the same way so they add up.
void thickLinePath(cairo_t* c, const std::vector<Pt>& pts, double hw) {
    for (std::size_t k = 0; k + 1 < pts.size(); ++k) {
        const Pt p = pts[k], q = pts[k + 1];
        const double len = std::max(1e-6, std::hypot(q.x - p.x, q.y - p.y));
        const double nx = -(q.y - p.y) / len * hw, ny = (q.x - p.x) / len * hw;
        polygonPath(c, {{p.x - nx, p.y - ny}, {q.x - nx, q.y - ny}, {q.x + nx, q.y + ny}, {p.x + nx, p.y + ny}});
        circlePath(c, p.x, p.y, hw);
    }
    circlePath(c, pts.back().x, pts.back().y, hw);
}

// The bolt drawn as light: a wide violet glow, a tighter pale one and a
// white-hot core.
void drawBolt(cairo_t* cr, const Bolt& bolt, double glow) {
    Saved s(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    auto strokes = [&](cairo_t* c, double scale) {
        for (std::size_t i = 0; i < bolt.strokes.size(); ++i) thickLinePath(c, bolt.strokes[i], bolt.widths[i] * scale / 2);
    };
    softShadow(cr, [&](cairo_t* c) { strokes(c, 9); }, hex(0x9B7BFF, 0.75 * glow), 18);
    softShadow(cr, [&](cairo_t* c) { strokes(c, 2.6); }, hex(0xD9CCFF, 0.8 * glow), 4);
    for (std::size_t i = 0; i < bolt.strokes.size(); ++i) {
        polyline(cr, bolt.strokes[i]);
        stroke(cr, hex(0xE6DEFF), bolt.widths[i] * 1.25);
        polyline(cr, bolt.strokes[i]);
        stroke(cr, hex(0xFFFFFF), bolt.widths[i] * 0.55);
    }
}

// A stormy night: heavy violet-blue clouds lit from inside by a forked bolt
// that strikes the hills, a fainter one flickering far off to the left.
void drawLightning(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x0E0B26)}, {0.55, hex(0x241F58)}, {1, hex(0x2E2A66)}}));
    const Pt strike = {160, 38}, far = {48, 56};
    // The air glows around the strikes.
    paint(cr, radial(strike.x, strike.y + 40, 5, strike.x, strike.y + 40, 160,
                     {{0, hex(0x8D72F0, 0.55)}, {0.5, hex(0x5A46B8, 0.2)}, {1, hex(0x5A46B8, 0)}}));
    paint(cr, radial(far.x, far.y + 20, 2, far.x, far.y + 20, 70, {{0, hex(0x7D6AD8, 0.35)}, {1, hex(0x7D6AD8, 0)}}));
    // Storm clouds: billows of noise, lit where the bolts are and dark in their undersides.
    shadePixels(cr, 0, 0, W, H * 0.72, [&](double x, double y) {
        auto density = [&](double u, double v) {
            const double wx = (fbm(u * 0.01, v * 0.014, 3, 5) - 0.5) * 30;
            return fbm((u + wx) * 0.016, (v - wx * 0.6) * 0.021, 5, 11);
        };
        const double d = density(x, y);
        const double fade = 1 - smoothstep(H * 0.36, H * 0.72, y + (d - 0.5) * 70);
        const double mask = smoothstep(0.3, 0.5, d) * fade;
        if (mask <= 0.001) return Colour{0, 0, 0, 0};
        // Lit from above: denser just above means shade here.
        const double relief = std::clamp((d - density(x + 2, y - 4)) * 11 + 0.5, 0.0, 1.0);
        auto lightFrom = [&](Pt p, double r) {
            const double dx = x - p.x, dy = (y - p.y) * 1.3;
            return std::exp(-(dx * dx + dy * dy) / (2 * r * r));
        };
        const double lit = std::min(1.0, lightFrom(strike, 65) * 1.15 + lightFrom(far, 36) * 0.7);
        Colour c = mix(hex(0x16122F), hex(0x3B3470), relief * 0.8 + d * 0.3);
        c = mix(c, mix(hex(0x7F6CD0), hex(0xE2DAFF), relief), lit * (0.5 + 0.5 * smoothstep(0.45, 0.7, d)));
        return withAlpha(c, mask * 0.96);
    });
    // Thin rain slanting down.
    {
        Saved s(cr);
        Random r(3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 90; ++i) {
            const double x = r.range(-20, W + 10), y = r.range(H * 0.3, H), l = r.range(6, 12);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x - l * 0.25, y + l);
        }
        stroke(cr, hex(0xA9A6E6, 0.18), 0.6);
    }
    // Hot spots in the cloud where each bolt leaves it.
    paint(cr, radial(strike.x, strike.y, 1, strike.x, strike.y, 34, {{0, hex(0xEDE6FF, 0.6)}, {1, hex(0xB8A8FF, 0)}}));
    paint(cr, radial(far.x, far.y, 1, far.x, far.y, 20, {{0, hex(0xEDE6FF, 0.4)}, {1, hex(0xB8A8FF, 0)}}));
    drawBolt(cr, makeBolt(far, {30, 172}, 0.9, 8, 2), 0.6);
    drawBolt(cr, makeBolt(strike, {128, 176}, 1.9, 4, 3), 1.0);
    // The strike's flash where it lands, behind the crest.
    paint(cr, radial(128, 172, 1, 128, 172, 40, {{0, hex(0xE6DEFF, 0.55)}, {0.4, hex(0xB8A8FF, 0.2)}, {1, hex(0xB8A8FF, 0)}}));
    // Hills in silhouette, their crests caught by the flash.
    std::vector<Pt> hills;
    Random h(9);
    for (int i = 0; i <= 16; ++i) {
        const double x = i * W / 16;
        hills.push_back({x, 170 + 8 * std::sin(x * 0.025 + 1) + 4 * std::sin(x * 0.07) + h.range(-1, 1)});
    }
    cairo_move_to(cr, 0, H);
    for (const Pt& p : hills) cairo_line_to(cr, p.x, p.y);
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    fill(cr, linear(0, 160, 0, H, {{0, hex(0x141129)}, {1, hex(0x07060F)}}));
    smoothOpenPath(cr, hills);
    stroke(cr, hex(0xB8A8FF, 0.35), 0.9);
    glassFinish(cr, 0.16);
}

// ---------------------------------------------------------------- clouds

// Fat cartoon clouds drifting in a bright summer sky, the far ones small and
// hazy, the near ones big at the bottom.
void drawClouds(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x1F7FE0)}, {0.55, hex(0x4FA6F0)}, {1, hex(0xA5D8FA)}}));
    paint(cr, radial(30, 10, 2, 30, 10, 150, {{0, hex(0xFFFFFF, 0.5)}, {0.35, hex(0xFFFFFF, 0.15)}, {1, hex(0xFFFFFF, 0)}}));
    // Far: small and a little faded into the blue.
    cartoonCloud(cr, 182, 24, 0.4, 31, hex(0xA9C7EA), 0.1);
    cartoonCloud(cr, 40, 44, 0.36, 17, hex(0xA9C7EA), 0.1);
    cartoonCloud(cr, 122, 52, 0.3, 2, hex(0xA9C7EA), 0.1);
    paint(cr, hex(0x4FA6F0, 0.12));
    // Middle.
    cartoonCloud(cr, 210, 84, 0.72, 14);
    cartoonCloud(cr, 62, 104, 0.8, 6);
    // Near: big ones along the bottom, running off the edges.
    cartoonCloud(cr, 150, 150, 1.1, 27);
    cartoonCloud(cr, 12, 170, 1.25, 19);
    cartoonCloud(cr, 248, 176, 1.3, 8);
    cartoonCloud(cr, 110, 196, 1.2, 40);
    glassFinish(cr, 0.2);
}


// ---------------------------------------------------------------- water drops

// The blurred teal world seen through the glass.
Colour dropBackdrop(double x, double y) {
    const double t = std::clamp((x * 0.35 + y) / (W * 0.35 + H), 0.0, 1.0);
    Colour c = mix(hex(0x0A4F7E), hex(0x18A3A4), t);
    const double n = fbm(x * 0.012, y * 0.012, 3, 19);
    return lighter(c, std::max(0.0, n - 0.45) * 0.5);
}

// One bead of water: a lens that shows the world flipped (light below, dark
// above), a dark rim, light gathered in its lower half and a bright glint.
void waterDrop(cairo_t* cr, double x, double y, double r, Random& g) {
    std::vector<Pt> outline;
    const int n = 10;
    for (int k = 0; k < n; ++k) {
        const double a = k * 2 * kPi / n;
        // Heavier below, a little wobble all round.
        const double rr = r * g.range(0.93, 1.07) * (1 + 0.08 * std::max(0.0, std::sin(a)));
        outline.push_back({x + std::cos(a) * rr, y + std::sin(a) * rr * 0.96});
    }
    auto shape = [&](cairo_t* c) { smoothClosedPath(c, outline); };
    softShadow(cr, shape, hex(0x021824, 0.45), std::max(0.8, r * 0.35), r * 0.12, r * 0.22);
    const Colour bg = dropBackdrop(x, y);
    Saved s(cr);
    shape(cr);
    cairo_clip(cr);
    // Refracted view: the lens turns the scene over.
    paint(cr, linear(0, y - r, 0, y + r, {{0, darker(bg, 0.35)}, {0.55, bg}, {1, lighter(bg, 0.45)}}));
    // Darker rim where light leaves the drop at a slant.
    paint(cr, radial(x, y + r * 0.1, r * 0.45, x, y, r * 1.08,
                     {{0, hex(0x000000, 0)}, {0.75, hex(0x001018, 0.12)}, {1, hex(0x001018, 0.5)}}));
    // Light focused into the bottom of the bead.
    ellipsePath(cr, x + r * 0.1, y + r * 0.62, r * 0.6, r * 0.32);
    fill(cr, radial(x + r * 0.1, y + r * 0.62, 0, x + r * 0.1, y + r * 0.62, r * 0.6,
                    {{0, hex(0xE6FFFF, 0.6)}, {1, hex(0xE6FFFF, 0)}}));
    // The glint of the window light, and a faint second one.
    ellipsePath(cr, x - r * 0.38, y - r * 0.42, r * 0.3, r * 0.17, -38);
    fill(cr, hex(0xFFFFFF, 0.92));
    circlePath(cr, x + r * 0.42, y - r * 0.18, r * 0.07);
    fill(cr, hex(0xFFFFFF, 0.55));
    smoothClosedPath(cr, outline);
    stroke(cr, hex(0x01141E, 0.25), std::max(0.3, r * 0.06));
}

// Glass after rain: beads of every size over a soft blue-green blur.
void drawWaterDrops(cairo_t* cr) {
    shadePixels(cr, 0, 0, W, H, [](double x, double y) { return dropBackdrop(x, y); });
    // Out-of-focus lights far behind the glass.
    Random b(6);
    for (int i = 0; i < 10; ++i) {
        const double x = b.range(0, W), y = b.range(0, H), r = b.range(10, 26);
        circlePath(cr, x, y, r);
        fill(cr, radial(x, y, r * 0.6, x, y, r, {{0, hex(0xBFF6F0, 0.10)}, {0.9, hex(0xBFF6F0, 0.08)}, {1, hex(0xBFF6F0, 0)}}));
    }
    // Place the beads biggest first, each clear of the others.
    struct Bead {
        double x, y, r;
    };
    std::vector<Bead> beads;
    Random g(12);
    auto place = [&](int count, double rmin, double rmax, double gap) {
        for (int i = 0, tries = 0; i < count && tries < count * 60; ++tries) {
            const double r = g.range(rmin, rmax), x = g.range(-r * 0.5, W + r * 0.5), y = g.range(-r * 0.5, H + r * 0.5);
            bool clear = true;
            for (const Bead& o : beads)
                if (std::hypot(o.x - x, o.y - y) < o.r + r + gap) {
                    clear = false;
                    break;
                }
            if (!clear) continue;
            beads.push_back({x, y, r});
            ++i;
        }
    };
    place(7, 13, 19, 4);
    place(16, 6, 10, 3);
    place(45, 2.5, 4.5, 2);
    place(90, 0.9, 1.8, 1.2);
    // A trickle above one big drop, where it has run down and left a wet trail.
    {
        const Bead& o = beads[1];
        std::vector<Pt> trail;
        for (int k = 0; k <= 6; ++k) {
            const double t = k / 6.0;
            trail.push_back({o.x + std::sin(t * 5.0) * 2.0, -4 + (o.y - o.r * 0.6 + 4) * t});
        }
        Saved s(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        smoothOpenPath(cr, trail);
        stroke(cr, hex(0xCFFFFB, 0.12), o.r * 0.55);
        for (Pt& p : trail) p.x -= o.r * 0.14;
        smoothOpenPath(cr, trail);
        stroke(cr, hex(0xFFFFFF, 0.22), 0.8);
    }
    Random d(3);
    for (const Bead& o : beads) waterDrop(cr, o.x, o.y, o.r, d);
    glassFinish(cr, 0.22);
}

// ---------------------------------------------------------------- snowflakes

// The arms of one six-fold crystal as polylines: a spine with pairs of side
// branches at 60 degrees, longest near the middle, and a small hexagon core.
std::vector<std::vector<Pt>> snowflakeLines(double cx, double cy, double R, double rotation, uint32_t seed) {
    Random g(seed);
    std::vector<std::vector<Pt>> lines;
    const int nb = 2 + g.below(2);
    struct Branch {
        double at, len;
    };
    std::vector<Branch> branches;
    for (int i = 0; i < nb; ++i) {
        const double at = 0.28 + (0.62 * (i + g.range(0.2, 0.8))) / nb;
        branches.push_back({at, R * g.range(0.2, 0.36) * (1.15 - at * 0.6)});
    }
    const bool plate = g.next() < 0.5;
    const double tip = g.range(0.06, 0.12);
    for (int arm = 0; arm < 6; ++arm) {
        const double a = rotation + arm * kPi / 3;
        const double ux = std::cos(a), uy = std::sin(a);
        lines.push_back({{cx, cy}, {cx + ux * R, cy + uy * R}});
        for (const Branch& b : branches) {
            const double bx = cx + ux * R * b.at, by = cy + uy * R * b.at;
            for (int side = -1; side <= 1; side += 2) {
                const double ba = a + side * kPi / 3;
                lines.push_back({{bx, by}, {bx + std::cos(ba) * b.len, by + std::sin(ba) * b.len}});
            }
        }
        // A little diamond at the tip.
        const double tx = cx + ux * R * (1 - tip), ty = cy + uy * R * (1 - tip);
        const double px = -uy * R * tip * 0.7, py = ux * R * tip * 0.7;
        lines.push_back({{tx + px, ty + py}, {cx + ux * R, cy + uy * R}, {tx - px, ty - py}});
        if (plate) {
            // A hexagonal plate round the centre.
            const double r = R * 0.22, a2 = a + kPi / 3;
            lines.push_back({{cx + std::cos(a) * r, cy + std::sin(a) * r}, {cx + std::cos(a2) * r, cy + std::sin(a2) * r}});
        }
    }
    return lines;
}

// Crystal snowflakes in white and ice blue falling through a winter night,
// near ones big and crisp, far ones small and soft.
void drawSnowflakes(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x071A44)}, {0.6, hex(0x123C7E)}, {1, hex(0x2460A8)}}));
    paint(cr, radial(W * 0.5, H * 1.05, 5, W * 0.5, H * 1.05, 200, {{0, hex(0x8CC4FF, 0.35)}, {1, hex(0x8CC4FF, 0)}}));
    // Soft far-off flakes, out of focus.
    Random b(14);
    for (int i = 0; i < 40; ++i) {
        const double x = b.range(0, W), y = b.range(0, H), r = b.range(1.5, 5);
        circlePath(cr, x, y, r);
        fill(cr, radial(x, y, 0, x, y, r, {{0, hex(0xDCEBFF, b.range(0.25, 0.5))}, {1, hex(0xDCEBFF, 0)}}));
    }
    struct Flake {
        double x, y, R, rot;
        uint32_t seed;
        Colour colour;
    };
    std::vector<Flake> flakes;
    Random g(29);
    const Colour white = hex(0xFFFFFF), ice = hex(0xBFE1FF);
    // Sizes drawn from small to large, each kept clear of the big ones.
    const double big[][3] = {{40, 44, 30}, {205, 40, 26}, {212, 150, 31}, {44, 156, 24}};
    for (int i = 0; i < 4; ++i)
        flakes.push_back({big[i][0], big[i][1], big[i][2], g.range(0, kPi / 3), static_cast<uint32_t>(100 + i),
                          i % 2 ? ice : white});
    auto clear = [&](double x, double y, double R) {
        for (const Flake& f : flakes)
            if (std::hypot(f.x - x, f.y - y) < f.R + R + 4) return false;
        return true;
    };
    for (int i = 0, tries = 0; i < 28 && tries < 2000; ++tries) {
        const double R = i < 8 ? g.range(10, 16) : g.range(4, 8);
        const double x = g.range(0, W), y = g.range(0, H);
        if (!clear(x, y, R)) continue;
        flakes.push_back({x, y, R, g.range(0, kPi / 3), static_cast<uint32_t>(200 + i), g.next() < 0.5 ? ice : white});
        ++i;
    }
    // Draw small first so the big ones sit in front.
    std::sort(flakes.begin(), flakes.end(), [](const Flake& a, const Flake& b) { return a.R < b.R; });
    auto width = [](double R) { return std::max(0.6, R * 0.075); };
    softShadow(
        cr,
        [&](cairo_t* c) {
            for (const Flake& f : flakes)
                for (const auto& l : snowflakeLines(f.x, f.y, f.R, f.rot, f.seed)) thickLinePath(c, l, width(f.R) * 1.6);
        },
        hex(0x9FD0FF, 0.6), 5);
    Saved s(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const Flake& f : flakes) {
        const auto lines = snowflakeLines(f.x, f.y, f.R, f.rot, f.seed);
        for (const auto& l : lines) polyline(cr, l);
        stroke(cr, withAlpha(darker(f.colour, 0.25), 0.6), width(f.R) * 1.7);
        for (const auto& l : lines) polyline(cr, l);
        stroke(cr, f.colour, width(f.R));
        circlePath(cr, f.x, f.y, width(f.R) * 1.4);
        fill(cr, hex(0xFFFFFF));
    }
    glassFinish(cr, 0.2);
}


// ---------------------------------------------------------------- cloudy sky

// An overcast afternoon: a heavy grey deck of cloud, thinning where the sun
// sits behind it, silver at the torn edges, with shafts of light falling
// from the gap to the far hills.
void drawCloudySky(cairo_t* cr) {
    const Pt sun = {166, 50};
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x6F8299)}, {0.6, hex(0xA9B5C2)}, {1, hex(0xC9CDD0)}}));
    paint(cr, radial(sun.x, sun.y, 1, sun.x, sun.y, 120,
                     {{0, hex(0xFFFBEA)}, {0.08, hex(0xFFF3CF, 0.95)}, {0.3, hex(0xF4E2B8, 0.45)}, {1, hex(0xF4E2B8, 0)}}));
    shadePixels(cr, 0, 0, W, H, [&](double x, double y) {
        const double v = y / H;
        if (v > 0.95) return Colour{0, 0, 0, 0};
        // Rows of cloud flatten and shrink towards the horizon.
        const double sx = 0.010 * (1 + v * 0.9), sy = 0.022 * (1 + v * 1.6);
        auto density = [&](double u, double w) {
            const double warp = (fbm(u * 0.007, w * 0.013, 3, 2) - 0.5) * 60;
            return fbm((u + warp) * sx, (w - warp * 0.3) * sy, 6, 7);
        };
        const double D = density(x, y);
        const double dx = x - sun.x, dy = (y - sun.y) * 1.4, near = std::exp(-(dx * dx + dy * dy) / (2 * 42.0 * 42.0));
        const double glow = std::exp(-(dx * dx + dy * dy) / (2 * 66.0 * 66.0));
        const double c0 = 0.26 + 0.34 * near + 0.06 * smoothstep(0.7, 0.86, v);
        const double mask = smoothstep(c0, c0 + 0.12, D) * (1 - smoothstep(0.7, 0.92, v));
        if (mask <= 0.001) return Colour{0, 0, 0, 0};
        const double thick = smoothstep(c0, c0 + 0.34, D);
        // Shaded where the cloud is thicker on the sun's side.
        const double len = std::max(1.0, std::hypot(dx, dy));
        const double Dn = density(x - dx / len * 3, y - dy / len * 3);
        const double shade = std::clamp((Dn - D) * 12 + 0.5, 0.0, 1.0);
        Colour c = mix(hex(0xD5D8DC), hex(0x3F4654), std::clamp(thick * 0.7 + shade * 0.4 - glow * 0.3, 0.0, 1.0));
        // Undersides darker lower down, the deck heavier overall.
        c = darker(c, 0.12 * smoothstep(0.2, 0.8, v) * thick);
        // Silver and gold at the thin torn edges near the sun.
        const double rim = (1 - thick) * std::min(1.0, glow * 1.6);
        c = mix(c, hex(0xFFF6E2), std::clamp(rim * 1.3, 0.0, 1.0));
        return withAlpha(c, mask);
    });
    // Shafts of light from the gap, soft at their edges and fading with distance.
    {
        Saved s(cr);
        cairo_push_group(cr);
        softShadow(
            cr,
            [&](cairo_t* c) {
                Random g(4);
                double a = 0.55;
                while (a < kPi - 0.5) {
                    const double w = g.range(0.03, 0.09);
                    cairo_move_to(c, sun.x, sun.y);
                    cairo_line_to(c, sun.x + std::cos(a) * 320, sun.y + std::sin(a) * 320);
                    cairo_line_to(c, sun.x + std::cos(a + w) * 320, sun.y + std::sin(a + w) * 320);
                    cairo_close_path(c);
                    a += w + g.range(0.05, 0.16);
                }
            },
            hex(0xFFF3D6, 0.65), 4);
        cairo_pop_group_to_source(cr);
        const PatternPtr fade = radial(sun.x, sun.y, 14, sun.x, sun.y + 30, 210,
                                       {{0, hex(0x000000, 0)}, {0.12, hex(0x000000, 1)}, {0.6, hex(0x000000, 0.6)},
                                        {1, hex(0x000000, 0)}});
        cairo_mask(cr, fade.get());
    }
    // A bloom over the gap.
    paint(cr, radial(sun.x, sun.y, 1, sun.x, sun.y, 38, {{0, hex(0xFFFFFF, 0.65)}, {0.4, hex(0xFFF6DC, 0.25)}, {1, hex(0xFFF6DC, 0)}}));
    // Far hills, hazy blue-grey, where the light lands.
    std::vector<Pt> hills;
    for (int i = 0; i <= 20; ++i) {
        const double x = i * W / 20.0;
        hills.push_back({x, 181 + 4 * std::sin(x * 0.03 + 2) + 2.5 * std::sin(x * 0.09 + 1)});
    }
    cairo_move_to(cr, 0, H);
    for (const Pt& p : hills) cairo_line_to(cr, p.x, p.y);
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
    fill(cr, linear(0, 174, 0, H, {{0, hex(0x5E6673)}, {1, hex(0x3A404A)}}));
    paint(cr, radial(sun.x - 10, 186, 2, sun.x - 10, 186, 60, {{0, hex(0xFFF1CC, 0.25)}, {1, hex(0xFFF1CC, 0)}}));
    glassFinish(cr, 0.14);
}

}  // namespace

std::vector<SkinDesign> skySkins() {
    return {
        {"rainbow_skin.png", drawRainbow},
        {"rainbow_stars_skin.png", drawRainbowSplash},
        {"lightening_skin.png", drawLightning},
        {"clouds_skin.png", drawClouds},
        {"water_drops_skin.png", drawWaterDrops},
        {"snowflakes_skin.png", drawSnowflakes},
        {"cloudy_sky_skin.png", drawCloudySky},
    };
}

}  // namespace vw::art
