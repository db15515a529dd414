// Skins: guitars, football and sports cars.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// A point of a local drawing turned, scaled and moved onto the skin.
struct Place {
    double cx, cy, scale, angleDegrees, ox = 0, oy = 0;  // (ox, oy) is the local point put at (cx, cy)
    Pt operator()(Pt p) const {
        const double a = angleDegrees * kPi / 180, x = (p.x - ox) * scale, y = (p.y - oy) * scale;
        return {cx + x * std::cos(a) - y * std::sin(a), cy + x * std::sin(a) + y * std::cos(a)};
    }
    void apply(cairo_t* cr) const {
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, angleDegrees * kPi / 180);
        cairo_scale(cr, scale, scale);
        cairo_translate(cr, -ox, -oy);
    }
};

// ---------------------------------------------------------------- fire

// The colour of fire at heat t in [0, 1]: clear deep red through orange to a
// pale yellow core.
Colour fireColour(double t) {
    struct Key {
        double at;
        Colour c;
    };
    static const Key keys[] = {{0.00, hex(0x500800, 0.0)}, {0.20, hex(0x8A1205, 0.7)}, {0.40, hex(0xD2340A, 0.95)},
                               {0.60, hex(0xF4770F)},      {0.80, hex(0xFFC23A)},      {1.00, hex(0xFFF6CF)}};
    t = clamp01(t);
    for (size_t i = 1; i < std::size(keys); ++i)
        if (t <= keys[i].at) return mix(keys[i - 1].c, keys[i].c, (t - keys[i - 1].at) / (keys[i].at - keys[i - 1].at));
    return keys[std::size(keys) - 1].c;
}

// Heat of a wall of fire: full at `base`, gone above `top`, broken into
// rising tongues by noise stretched upwards.
double fireHeat(double x, double y, double top, double base, uint32_t seed) {
    const double h = (y - top) / (base - top);
    const double n = fbm(x * 0.05, y * 0.018, 4, seed);
    const double fine = noise(x * 0.14, y * 0.05, seed + 5);
    return h * 1.2 + (n - 0.5) * 1.8 + (fine - 0.5) * 0.45 - 0.25;
}

void fireWall(cairo_t* cr, double top, double base, uint32_t seed, double gain = 1.0) {
    shadePixels(cr, 0, std::max(0.0, top - 30), W, H - std::max(0.0, top - 30), [=](double x, double y) {
        return fireColour(fireHeat(x, y, top, base, seed) * gain);
    });
}

// One licking flame: a wavering tongue from a base at (x, y) to a tip h
// above it, leaning sideways by `lean` per unit of height, with a smaller
// lick breaking off its right side.
void tonguePath(cairo_t* cr, double x, double y, double w, double h, double lean) {
    // (across, up) in units of the width and height.
    static const std::vector<Pt> shape = {{-0.5, 0.0},  {-0.56, 0.22}, {-0.4, 0.46}, {-0.18, 0.7},  {-0.02, 1.0},
                                          {0.06, 0.72}, {0.2, 0.6},    {0.4, 0.74},  {0.34, 0.46}, {0.52, 0.22},
                                          {0.46, 0.0},  {0.0, -0.14}};
    std::vector<Pt> pts;
    for (const Pt& p : shape) {
        const double sway = std::sin(p.y * kPi * 1.2) * w * 0.18;
        pts.push_back({x + p.x * w + lean * h * p.y + sway, y - p.y * h});
    }
    smoothClosedPath(cr, pts);
}

// A flame in three layers: a red outer lick, orange inside it and a yellow core.
void flameTongue(cairo_t* cr, double x, double y, double w, double h, double lean) {
    struct Layer {
        double s;
        Colour base, tip;
    };
    const Layer layers[] = {{1.0, hex(0xD8300A, 0.9), hex(0xA01505, 0.0)},
                            {0.74, hex(0xF67C12), hex(0xEE4A0A, 0.0)},
                            {0.46, hex(0xFFE27A), hex(0xFFB43A, 0.0)}};
    for (const Layer& l : layers) {
        const double lh = h * l.s, lw = w * l.s;
        tonguePath(cr, x + lean * (h - lh) * 0.2, y, lw, lh, lean);
        fill(cr, linear(x, y + lw * 0.3, x + lean * lh, y - lh,
                        {{0, l.base}, {0.5, mix(l.base, l.tip, 0.25)}, {1, l.tip}}));
    }
}

// Glowing sparks drifting up.
void embers(cairo_t* cr, int count, double yTop, double yBottom, uint32_t seed) {
    Random r(seed);
    for (int i = 0; i < count; ++i) {
        const double x = r.range(0, W), y = r.range(yTop, yBottom), s = r.range(0.6, 1.6);
        circlePath(cr, x, y, s * 3.2);
        fill(cr, radial(x, y, 0, x, y, s * 3.2, {{0, hex(0xFFD070, 0.55)}, {1, hex(0xFF6010, 0)}}));
        circlePath(cr, x, y, s * 0.8);
        fill(cr, hex(0xFFF2C0, 0.95));
    }
}

// ---------------------------------------------------------------- guitar

// The solid body of the electric guitar, lying along x with the neck to +x
// and the middle of the body at the origin: a double cutaway with a longer
// lower horn.
const std::vector<Pt>& guitarBody() {
    static const std::vector<Pt> pts = {{-58, 0},  {-54, -25}, {-38, -38}, {-16, -38}, {2, -31},   {20, -33},
                                        {38, -37}, {50, -33},  {47, -23},  {35, -12},  {34, 12},   {47, 21},
                                        {59, 29},  {53, 37},   {33, 39},   {11, 34},   {-16, 42},  {-40, 40},
                                        {-55, 24}};
    return pts;
}

const std::vector<Pt>& headstock() {
    static const std::vector<Pt> pts = {{147, -6.5}, {158, -12}, {186, -15}, {193, -11},
                                        {191, 9},    {160, 12.5}, {147, 6.5}};
    return pts;
}

void neckPath(cairo_t* cr) { polygonPath(cr, {{22, -7.6}, {150, -6.0}, {150, 6.0}, {22, 7.6}}); }

// Everything the guitar covers, for shadows and silhouettes.
void guitarOutline(cairo_t* cr) {
    smoothClosedPath(cr, guitarBody());
    neckPath(cr);
    polygonPath(cr, headstock());
}

// A chrome part: a little rounded rectangle with a bright top edge.
void chrome(cairo_t* cr, double x, double y, double w, double h, double r) {
    roundedRect(cr, x, y, w, h, r);
    fill(cr, linear(x, y, x + w * 0.3, y + h,
                    {{0, hex(0xF4F6F8)}, {0.45, hex(0xA9B0B8)}, {0.55, hex(0x7D858E)}, {1, hex(0xDDE2E6)}}));
    roundedRect(cr, x, y, w, h, r);
    stroke(cr, hex(0x3A3F45, 0.8), 0.4);
}

// The electric guitar in its local units (body about 117 long, 250 in all).
void drawGuitar(cairo_t* cr, Colour bodyLight, Colour bodyDark) {
    softShadow(cr, guitarOutline, hex(0x000000, 0.6), 6, 3, 5);
    // Body: a glossy finish, dark at the rim.
    smoothClosedPath(cr, guitarBody());
    fill(cr, radial(-14, -6, 4, -6, 0, 66, {{0, bodyLight}, {0.6, mix(bodyLight, bodyDark, 0.6)}, {1, bodyDark}}));
    smoothClosedPath(cr, guitarBody());
    stroke(cr, hex(0xEDE4CC), 1.6);  // cream binding
    // Pickguard.
    const std::vector<Pt> guard = {{-42, 16}, {-26, 32}, {2, 29}, {30, 35}, {44, 27}, {31, 15},
                                   {30, -8},  {14, -21}, {-6, -19}, {-20, -2}};
    softShadow(cr, [&](cairo_t* c) { smoothClosedPath(c, guard); }, hex(0x000000, 0.45), 2.5, 0.6, 1.2);
    smoothClosedPath(cr, guard);
    fill(cr, linear(-40, -20, 40, 35, {{0, hex(0xFBFAF6)}, {1, hex(0xD9D5CC)}}));
    // Neck and fretboard.
    neckPath(cr);
    fill(cr, linear(0, -8, 0, 8, {{0, hex(0x5A3A24)}, {0.5, hex(0x3A2415)}, {1, hex(0x26170D)}}));
    const double nut = 150, bridge = -30, scale = nut - bridge;
    for (int n = 1; n <= 22; ++n) {
        const double x = nut - scale * (1 - std::pow(2.0, -n / 12.0));
        if (x < 24) break;
        const double half = 7.6 - (x - 22) / 128 * 1.6;
        cairo_move_to(cr, x, -half);
        cairo_line_to(cr, x, half);
        stroke(cr, hex(0xD8DDE2), 0.7);
    }
    auto fretMid = [&](int n) {
        const double a = nut - scale * (1 - std::pow(2.0, -(n - 1) / 12.0));
        const double b = nut - scale * (1 - std::pow(2.0, -n / 12.0));
        return (a + b) / 2;
    };
    for (const int n : {3, 5, 7, 9, 15, 17}) {
        circlePath(cr, fretMid(n), 0, 1.5);
        fill(cr, hex(0xF2EDE0));
    }
    for (const double y : {-3.4, 3.4}) {
        circlePath(cr, fretMid(12), y, 1.5);
        fill(cr, hex(0xF2EDE0));
    }
    roundedRect(cr, nut - 1, -6.4, 2.4, 12.8, 0.6);  // the nut
    fill(cr, hex(0xF4EFE2));
    // Headstock with six tuners, three a side.
    polygonPath(cr, headstock());
    fill(cr, linear(150, -14, 150, 12, {{0, lighter(bodyLight, 0.1)}, {1, bodyDark}}));
    polygonPath(cr, headstock());
    stroke(cr, hex(0xEDE4CC), 1.0);
    for (int k = 0; k < 3; ++k) {
        const double x = 162 + k * 10;
        chrome(cr, x - 2.5, -18.5 - k * 0.4, 5, 5, 1.4);
        chrome(cr, x - 2.5, 12.4 - k * 0.3, 5, 5, 1.4);
        circlePath(cr, x, -10 - k * 0.4, 1.6);
        circlePath(cr, x, 8.5 - k * 0.3, 1.6);
        fill(cr, hex(0xC8CDD2));
    }
    // Two humbucking pickups with their pole pieces.
    for (const double px : {-14.0, 14.0}) {
        chrome(cr, px - 7, -19, 14, 38, 2.5);
        roundedRect(cr, px - 5.6, -17.6, 11.2, 35.2, 2);
        fill(cr, hex(0x141416));
        for (int s = 0; s < 6; ++s)
            for (const double dx : {-2.6, 2.6}) {
                circlePath(cr, px + dx, -12.5 + s * 5, 1.0);
                fill(cr, hex(0xB8BEC4));
            }
    }
    // Bridge and tailpiece.
    chrome(cr, -33, -12, 6, 24, 1.5);
    chrome(cr, -44, -13, 5, 26, 2.2);
    // Control knobs and the pickup switch.
    for (const Pt k : {Pt{-38, 23}, Pt{-26, 29}, Pt{-44, 9}, Pt{-14, 33}}) {
        circlePath(cr, k.x + 0.5, k.y + 0.8, 4);
        fill(cr, hex(0x000000, 0.35));
        circlePath(cr, k.x, k.y, 4);
        fill(cr, radial(k.x - 1.2, k.y - 1.5, 0.3, k.x, k.y, 4, {{0, hex(0xFFF4D8)}, {0.5, hex(0xE2C47A)}, {1, hex(0x8A6A2A)}}));
    }
    chrome(cr, 26, -31, 6, 6, 3);
    // Strings from the tailpiece over the bridge to the tuners.
    for (int s = 0; s < 6; ++s) {
        const double yb = -7.5 + s * 3.0, yn = -4.6 + s * 1.84;
        cairo_move_to(cr, -42, yb);
        cairo_line_to(cr, nut, yn);
        const double xt = 162 + (s < 3 ? (2 - s) : (s - 3)) * 10;
        cairo_line_to(cr, xt, s < 3 ? -10 - (2 - s) * 0.4 : 8.5 - (s - 3) * 0.3);
        stroke(cr, hex(0xE9EDF0, 0.95), 0.45 + (5 - s) * 0.06);
    }
    // Gloss: a bright curved reflection across the upper body.
    cairo_move_to(cr, -50, -14);
    cairo_curve_to(cr, -44, -32, -20, -36, -4, -28);
    cairo_curve_to(cr, -22, -30, -40, -26, -50, -14);
    fill(cr, hex(0xFFFFFF, 0.45));
}

void drawFlamingGuitar(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x0C0506)}, {0.55, hex(0x2A0805)}, {1, hex(0x4A1004)}}));
    fireWall(cr, 40, 210, 3, 0.95);
    const Place at{124, 100, 0.92, -31, 66, 0};
    // Flames behind the guitar climbing past its top edge.
    Random r(17);
    {
        const std::vector<Pt>& body = guitarBody();
        std::vector<Pt> bases;
        for (const Pt& p : body)
            if (p.y < 0) bases.push_back(at({p.x, p.y + 6}));
        for (double x = 30; x <= 185; x += 14) bases.push_back(at({x, -2}));
        for (const Pt& b : bases) flameTongue(cr, b.x + r.range(-4, 4), b.y, r.range(16, 26), r.range(34, 62), r.range(-0.25, 0.2));
    }
    {
        Saved s(cr);
        at.apply(cr);
        drawGuitar(cr, hex(0x3C3C46), hex(0x08080A));
        // Firelight thrown up onto the lower side of the gloss.
        guitarOutline(cr);
        cairo_clip(cr);
        paint(cr, linear(0, 44, 0, -30, {{0, hex(0xFF8A20, 0.55)}, {0.5, hex(0xFF6010, 0.12)}, {1, hex(0xFF6010, 0)}}));
    }
    // Flames in front licking up over the lower edges.
    {
        const std::vector<Pt>& body = guitarBody();
        std::vector<Pt> bases;
        for (const Pt& p : body)
            if (p.y > 10) bases.push_back(at({p.x, p.y + 10}));
        for (const Pt& b : bases)
            flameTongue(cr, b.x + r.range(-3, 3), b.y + r.range(4, 10), r.range(13, 20), r.range(30, 48), r.range(-0.2, 0.15));
        // Along the neck only a few small licks, so the frets still show.
        for (double x = 46; x <= 196; x += r.range(22, 34)) {
            const Pt b = at({x, 10});
            flameTongue(cr, b.x, b.y + r.range(3, 6), r.range(9, 14), r.range(16, 28), r.range(-0.3, 0.1));
        }
    }
    // The base of the fire along the bottom.
    for (double x = -6; x < W + 10; x += 13) flameTongue(cr, x + r.range(-4, 4), H + 6, r.range(18, 28), r.range(30, 58), r.range(-0.2, 0.2));
    embers(cr, 26, 6, 120, 9);
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- figures

// Parts of a flat figure: tapered limbs (a polyline with a width at each
// point) and filled shapes. `grow` widens every part, for a glow behind it.
struct Limb {
    std::vector<Pt> pts;
    std::vector<double> widths;
};

void drawLimb(cairo_t* cr, const Limb& l, double grow, Colour c) {
    // Each segment is a tapered quad between two round ends, filled one by
    // one so overlapping pieces never cancel out.
    for (size_t i = 0; i + 1 < l.pts.size(); ++i) {
        const Pt a = l.pts[i], b = l.pts[i + 1];
        const double wa = l.widths[i] / 2 + grow, wb = l.widths[i + 1] / 2 + grow;
        const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        const double nx = -dy / len, ny = dx / len;
        polygonPath(cr, {{a.x + nx * wa, a.y + ny * wa}, {b.x + nx * wb, b.y + ny * wb}, {b.x - nx * wb, b.y - ny * wb},
                         {a.x - nx * wa, a.y - ny * wa}});
        fill(cr, c);
        circlePath(cr, a.x, a.y, wa);
        fill(cr, c);
        circlePath(cr, b.x, b.y, wb);
        fill(cr, c);
    }
}

void drawShape(cairo_t* cr, const std::function<void(cairo_t*)>& path, double grow, Colour c) {
    Saved s(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    path(cr);
    if (grow > 0) {
        setColour(cr, c);
        cairo_set_line_width(cr, grow * 2);
        cairo_stroke_preserve(cr);
    }
    fill(cr, c);
}

using FigureDraw = void (*)(cairo_t*, double, Colour);

// A whole figure in one colour: drawn opaque into a layer and laid down at
// the colour's opacity, so the overlapping parts of a glow stay even.
void figureLayer(cairo_t* cr, FigureDraw figure, double grow, Colour c) {
    cairo_push_group(cr);
    figure(cr, grow, withAlpha(c, 1));
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, c.a);
}

// The rock guitarist: legs wide apart, the guitar slung low across the hips
// with its neck raised to the right.
void drawGuitarist(cairo_t* cr, double grow, Colour c) {
    const Place guitar{119, 111, 0.46, -27, 0, 0};
    // Legs and boots.
    drawLimb(cr, {{{117, 106}, {101, 140}, {89, 175}}, {15, 11, 8}}, grow, c);
    drawLimb(cr, {{{133, 106}, {150, 140}, {161, 175}}, {15, 11, 8}}, grow, c);
    drawShape(cr, [](cairo_t* p) { smoothClosedPath(p, {{82, 172}, {95, 171}, {97, 180}, {74, 181}, {74, 177}}); }, grow, c);
    drawShape(cr, [](cairo_t* p) { smoothClosedPath(p, {{156, 171}, {168, 172}, {179, 177}, {179, 181}, {156, 180}}); }, grow, c);
    // Torso, neck and head with long hair.
    drawShape(cr, [](cairo_t* p) {
        smoothClosedPath(p, {{106, 61}, {123, 57}, {140, 61}, {142, 74}, {137, 100}, {138, 112}, {112, 112}, {112, 100}, {105, 74}});
    }, grow, c);
    drawLimb(cr, {{{121, 47}, {123, 58}}, {8, 9}}, grow, c);
    drawShape(cr, [](cairo_t* p) { circlePath(p, 120, 40, 9.5); }, grow, c);
    drawShape(cr, [](cairo_t* p) {
        // Long hair swinging out to one side as he leans into the riff.
        smoothClosedPath(p, {{111, 37}, {114, 30}, {121, 27.5}, {128, 30}, {130, 35}, {122, 35}, {116, 40},
                             {113, 50}, {108, 60}, {101, 63}, {104, 56}, {103, 48}, {107, 42}});
    }, grow, c);
    // The guitar, with its own outline in local units.
    {
        Saved s(cr);
        guitar.apply(cr);
        drawShape(cr, guitarOutline, grow / guitar.scale, c);
        // Tuner pegs sticking out of the headstock.
        for (int k = 0; k < 3; ++k) {
            roundedRect(cr, 160 + k * 10, -19, 5, 6, 1.5);
            roundedRect(cr, 160 + k * 10, 12, 5, 6, 1.5);
        }
        fill(cr, c);
    }
    // Arms: the picking hand on the body, the fretting hand up the neck.
    drawLimb(cr, {{{109, 64}, {98, 91}, {114, 106}}, {10, 8, 7}}, grow, c);
    drawLimb(cr, {{{138, 64}, {157, 86}, {166, 84}}, {10, 8, 7}}, grow, c);
    drawShape(cr, [](cairo_t* p) { circlePath(p, 115, 106, 5); circlePath(p, 167, 83, 4.5); }, grow, c);
}

// Crossing coloured beams from lamps along the top.
void stageBeam(cairo_t* cr, Pt from, Pt to, double spread, Colour c) {
    const double dx = to.x - from.x, dy = to.y - from.y, len = std::hypot(dx, dy);
    const double nx = -dy / len * spread, ny = dx / len * spread;
    Saved s(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    polygonPath(cr, {{from.x - nx * 0.08, from.y - ny * 0.08}, {to.x - nx, to.y - ny}, {to.x + nx, to.y + ny},
                     {from.x + nx * 0.08, from.y + ny * 0.08}});
    fill(cr, linear(from.x, from.y, to.x, to.y, {{0, withAlpha(c, 0.55)}, {1, withAlpha(c, 0)}}));
    circlePath(cr, from.x, from.y, 9);
    fill(cr, radial(from.x, from.y, 0, from.x, from.y, 9, {{0, hex(0xFFFFFF, 0.95)}, {0.4, withAlpha(c, 0.7)}, {1, withAlpha(c, 0)}}));
}

void drawGuitarFlamePlayer(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0x12061E)}, {0.5, hex(0x2A0A1A)}, {1, hex(0x3A0C06)}}));
    // Stage lights from the rig above.
    stageBeam(cr, {18, 4}, {150, 190}, 40, hex(0x6A4CFF));
    stageBeam(cr, {233, 4}, {100, 190}, 40, hex(0x6A4CFF));
    stageBeam(cr, {84, 0}, {60, 190}, 28, hex(0xFF3CA0));
    stageBeam(cr, {167, 0}, {195, 190}, 28, hex(0xFF3CA0));
    // The wall of fire behind the stage.
    fireWall(cr, 70, 175, 21, 1.0);
    // Stage floor with the fire's glow on it.
    cairo_rectangle(cr, 0, 172, W, H - 172);
    fill(cr, linear(0, 172, 0, H, {{0, hex(0x2A0E08)}, {1, hex(0x0A0403)}}));
    cairo_rectangle(cr, 0, 172, W, 1.4);
    fill(cr, hex(0xFF9A40, 0.7));
    // The guitarist in silhouette with a hot rim of light around him.
    figureLayer(cr, drawGuitarist, 7, hex(0xFF7A20, 0.14));
    figureLayer(cr, drawGuitarist, 4, hex(0xFF9A30, 0.2));
    figureLayer(cr, drawGuitarist, 1.8, hex(0xFFC860, 0.45));
    figureLayer(cr, drawGuitarist, 0, hex(0x0A0508));
    // Fans along the front of the stage, some with a fist in the air.
    Random r(31);
    const Colour crowd = hex(0x050203);
    for (double x = -4; x < W + 8; x += r.range(15, 21)) {
        const double hy = r.range(181, 186), hr = r.range(7, 8.5);
        ellipsePath(cr, x, hy + hr * 2.2, hr * 1.9, hr * 1.3);  // shoulders
        fill(cr, crowd);
        circlePath(cr, x, hy, hr);
        fill(cr, crowd);
        if (r.next() < 0.5 && std::abs(x - 125) > 20) {
            const double side = r.next() < 0.5 ? -1 : 1, lean = r.range(-5, 5);
            const Pt sh{x + side * hr * 1.3, hy + hr * 1.4}, el{x + side * hr * 1.6 + lean * 0.5, hy - 8},
                hand{x + side * hr * 1.2 + lean, hy - 22};
            drawLimb(cr, {{sh, el, hand}, {7.5, 6, 5.2}}, 0, crowd);
            circlePath(cr, hand.x, hand.y - 1.5, 4.4);
            fill(cr, crowd);
        }
    }
    embers(cr, 18, 10, 100, 41);
    glassFinish(cr, 0.16);
}

// ---------------------------------------------------------------- football

struct Vec3 {
    double x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(Vec3 a) { return std::sqrt(dot(a, a)); }

// The panels of a stitched football: an icosahedron with every corner cut a
// third of the way along its edges leaves 12 pentagons and 20 hexagons. Each
// panel is kept as its outward direction and its distance from the centre,
// scaled so that the pentagons lie at 1.
struct Panel {
    Vec3 n;
    double d;
    bool pentagon;
};

const std::vector<Panel>& ballPanels() {
    static const std::vector<Panel> panels = [] {
        const double p = (1 + std::sqrt(5.0)) / 2;
        const std::vector<Vec3> v = {{0, 1, p},  {0, -1, p},  {0, 1, -p}, {0, -1, -p}, {1, p, 0},  {-1, p, 0},
                                     {1, -p, 0}, {-1, -p, 0}, {p, 0, 1},  {-p, 0, 1},  {p, 0, -1}, {-p, 0, -1}};
        auto adjacent = [&](size_t a, size_t b) {
            const Vec3 d = v[a] + v[b] * -1;
            return std::abs(dot(d, d) - 4) < 1e-6;
        };
        std::vector<Panel> out;
        for (size_t i = 0; i < v.size(); ++i) {
            Vec3 sum{0, 0, 0};
            for (size_t j = 0; j < v.size(); ++j)
                if (adjacent(i, j)) sum = sum + v[j];
            const Vec3 c = v[i] * (2.0 / 3) + sum * (1.0 / 15);
            out.push_back({c * (1 / length(c)), length(c), true});
        }
        for (size_t i = 0; i < v.size(); ++i)
            for (size_t j = i + 1; j < v.size(); ++j)
                for (size_t k = j + 1; k < v.size(); ++k)
                    if (adjacent(i, j) && adjacent(j, k) && adjacent(i, k)) {
                        const Vec3 c = (v[i] + v[j] + v[k]) * (1.0 / 3);
                        out.push_back({c * (1 / length(c)), length(c), false});
                    }
        const double pd = out.front().d;
        for (Panel& f : out) f.d /= pd;
        return out;
    }();
    return panels;
}

// A shaded football of radius r at (cx, cy), turned by yaw and pitch
// (degrees) so a panel is not square to the viewer. `bounce` tints the
// underside with light thrown up from the grass.
void drawBall(cairo_t* cr, double cx, double cy, double r, double yaw, double pitch, Colour bounce) {
    const std::vector<Panel>& panels = ballPanels();
    const double ya = yaw * kPi / 180, pa = pitch * kPi / 180;
    const double cyw = std::cos(ya), syw = std::sin(ya), cp = std::cos(pa), sp = std::sin(pa);
    const Vec3 light = Vec3{-0.45, -0.62, 0.64} * (1 / length({-0.45, -0.62, 0.64}));
    const Vec3 half = Vec3{-0.45, -0.62, 1.64} * (1 / length({-0.45, -0.62, 1.64}));
    const Colour white = hex(0xF7F7F4), black = hex(0x17181C), seam = hex(0x55585E);
    shadePixels(cr, cx - r - 1, cy - r - 1, 2 * r + 2, 2 * r + 2, [=, &panels](double x, double y) {
        const double vx = (x - cx) / r, vy = (y - cy) / r, rr = vx * vx + vy * vy;
        const double edge = (1 - std::sqrt(rr)) * r;  // units inside the rim
        if (edge < -1) return Colour{0, 0, 0, 0};
        const double vz = std::sqrt(std::max(0.0, 1 - rr));
        const Vec3 n{vx, vy, vz};
        // Into the ball's own frame: undo the pitch, then the yaw.
        const Vec3 a{n.x, n.y * cp + n.z * sp, -n.y * sp + n.z * cp};
        const Vec3 o{a.x * cyw - a.z * syw, a.y, a.x * syw + a.z * cyw};
        // The panel hit first by the ray from the centre, and how near the next one is.
        double best = -1e9, second = -1e9;
        bool pent = false;
        for (const Panel& f : panels) {
            const double t = dot(o, f.n) / f.d;
            if (t > best) {
                second = best;
                best = t;
                pent = f.pentagon;
            } else if (t > second) {
                second = t;
            }
        }
        const double gap = (best - second) * r / 0.75;  // roughly units from the seam
        Colour c = pent ? black : white;
        // Panels bulge a little between their seams.
        c = darker(c, 0.16 * (1 - smoothstep(0, 5, gap)));
        c = mix(seam, c, smoothstep(0.35, 1.0, gap));
        const double diffuse = std::max(0.0, dot(n, light));
        const double shine = std::pow(std::max(0.0, dot(n, half)), pent ? 30 : 18);
        Colour lit = darker(c, 0.55 * (1 - diffuse) * (1 - diffuse) + 0.04);
        lit = mix(lit, bounce, 0.22 * clamp01(vy) * (1 - diffuse));
        lit = lighter(lit, shine * (pent ? 0.55 : 0.4));
        lit.a = clamp01(edge / 0.7 + 0.5);
        return lit;
    });
}

// Striped turf in perspective: bands converge on a point far above.
void pitch(cairo_t* cr, double top, double vx, double vy, double bands, Colour light, Colour dark) {
    shadePixels(cr, 0, top, W, H - top, [=](double x, double y) {
        const double u = (x - vx) / (y - vy) * bands;
        const double f = u - std::floor(u);
        const double stripe = smoothstep(0.47, 0.53, f) * (1 - smoothstep(0.97, 1.0, f)) + (1 - smoothstep(0.0, 0.03, f));
        Colour c = mix(dark, light, stripe);
        const double g = fbm(x * 0.35, y * 0.9, 3, 12) - 0.5;
        c = g > 0 ? lighter(c, g * 0.14) : darker(c, -g * 0.2);
        return darker(c, 0.25 * (1 - (y - top) / (H - top)));  // the far grass is darker
    });
}

// A floodlight tower's lamp bank and its glow.
void floodlight(cairo_t* cr, double x, double y, double scale) {
    paint(cr, radial(x, y, 0, x, y, 120 * scale, {{0, hex(0xFFFFFF, 0.45)}, {0.25, hex(0xCFE4FF, 0.18)}, {1, hex(0xCFE4FF, 0)}}));
    roundedRect(cr, x - 16 * scale, y - 8 * scale, 32 * scale, 16 * scale, 2 * scale);
    fill(cr, hex(0x1A2030));
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 4; ++i) {
            const double lx = x - 12 * scale + i * 8 * scale, ly = y - 4 * scale + j * 8 * scale;
            circlePath(cr, lx, ly, 3 * scale);
            fill(cr, radial(lx, ly, 0, lx, ly, 3 * scale, {{0, hex(0xFFFFFF)}, {0.7, hex(0xEAF4FF)}, {1, hex(0xA8C8F0)}}));
        }
    circlePath(cr, x, y, 28 * scale);
    fill(cr, radial(x, y, 0, x, y, 28 * scale, {{0, hex(0xFFFFFF, 0.7)}, {1, hex(0xFFFFFF, 0)}}));
}

// A small integer hash for picking colours cell by cell.
double hash01(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xFFFFFF) / double(0x1000000);
}

// Tiers of seats full of people: rows of little heads and shirts in muted
// colours, the far rows smaller and dimmer.
void stands(cairo_t* cr, double top, double bottom, Colour base, uint32_t seed) {
    shadePixels(cr, 0, top, W, bottom - top, [=](double x, double y) {
        const double t = (y - top) / (bottom - top);
        const double cell = 2.6 + 1.4 * t;  // people nearer the pitch look bigger
        const double row = (y - top) / cell;
        const int j = static_cast<int>(std::floor(row));
        const double shift = (j % 2) * 0.5;
        const double col = x / cell + shift;
        const int i = static_cast<int>(std::floor(col));
        const double fx = col - i - 0.5, fy = row - j - 0.5;
        const double pick = hash01(i, j, seed), hue = hash01(i, j, seed + 3) * 360;
        Colour shirt = mix(darker(base, 0.2), hsv(hue, 0.5, 0.8), pick > 0.55 ? 0.75 : 0.3);
        if (pick > 0.93) shirt = hex(0xF2F2F2);
        const Colour skin = mix(hex(0xE0B090), hex(0x6A4030), hash01(i, j, seed + 7));
        Colour c = darker(base, 0.45);  // the seat gaps
        if (fx * fx + (fy + 0.12) * (fy + 0.12) < 0.07) c = mix(skin, base, 0.35);
        else if (fy > 0.12 && std::abs(fx) < 0.42) c = shirt;
        if (pick < 0.12) c = darker(base, 0.35);  // an empty seat
        return darker(c, 0.35 * (1 - t));
    });
}

void drawWorldcupBall(cairo_t* cr) {
    // Night sky over the stadium.
    paint(cr, linear(0, 0, 0, 70, {{0, hex(0x05091C)}, {1, hex(0x15245A)}}));
    stands(cr, 28, 72, hex(0x2A3350), 5);
    // Roof edge and the advertising rail along the touchline.
    cairo_rectangle(cr, 0, 24, W, 5);
    fill(cr, linear(0, 24, 0, 29, {{0, hex(0x3A4258)}, {1, hex(0x10141E)}}));
    floodlight(cr, 30, 14, 1.0);
    floodlight(cr, 221, 14, 1.0);
    pitch(cr, 70, 125, -160, 7, hex(0x4CB548), hex(0x2E8E36));
    cairo_rectangle(cr, 0, 68, W, 5);
    fill(cr, linear(0, 68, 0, 73, {{0, hex(0x1A6AD0)}, {1, hex(0x0E3E80)}}));
    // The centre circle and halfway line under the ball.
    {
        Saved s(cr);
        ellipsePath(cr, 125, 150, 112, 32);
        cairo_move_to(cr, 125, 73);
        cairo_line_to(cr, 125, H);
        stroke(cr, hex(0xF4FFF0, 0.8), 2.0);
    }
    // Shadow on the grass, then the ball.
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, 134, 165, 50, 9); }, hex(0x06200A, 0.7), 7);
    drawBall(cr, 125, 111, 54, 18, -24, hex(0x7ED060));
    // Bloom from the floodlights on the ball's top.
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- cars

// A wheel at (x, y): tyre, rim and spokes. `spokes` 0 draws a smooth
// aerodynamic disc.
void wheel(cairo_t* cr, double x, double y, double r, int spokes, Colour rim, Colour caliper) {
    circlePath(cr, x, y, r);
    fill(cr, radial(x, y, r * 0.7, x, y, r, {{0, hex(0x2A2C30)}, {0.6, hex(0x151618)}, {1, hex(0x060607)}}));
    const double rr = r * 0.72;
    circlePath(cr, x, y, rr);
    fill(cr, hex(0x0C0C0E));
    if (spokes == 0) {
        circlePath(cr, x, y, rr);
        fill(cr, radial(x - rr * 0.3, y - rr * 0.4, 1, x, y, rr,
                        {{0, lighter(rim, 0.6)}, {0.6, rim}, {1, darker(rim, 0.45)}}));
        for (int k = 0; k < 6; ++k) {
            const double a = k * kPi / 3;
            cairo_move_to(cr, x + std::cos(a) * rr * 0.25, y + std::sin(a) * rr * 0.25);
            cairo_curve_to(cr, x + std::cos(a + 0.5) * rr * 0.6, y + std::sin(a + 0.5) * rr * 0.6,
                           x + std::cos(a + 0.7) * rr * 0.85, y + std::sin(a + 0.7) * rr * 0.85,
                           x + std::cos(a + 1.0) * rr * 0.95, y + std::sin(a + 1.0) * rr * 0.95);
            stroke(cr, withAlpha(darker(rim, 0.5), 0.7), 0.9);
        }
    } else {
        // Brake disc and caliper behind the spokes.
        circlePath(cr, x, y, rr * 0.82);
        fill(cr, radial(x, y, 0, x, y, rr * 0.82, {{0, hex(0x6A6E74)}, {1, hex(0x3A3C40)}}));
        {
            Saved s(cr);
            cairo_arc(cr, x, y, rr * 0.78, -2.4, -1.4);
            cairo_arc_negative(cr, x, y, rr * 0.48, -1.4, -2.4);
            cairo_close_path(cr);
            fill(cr, caliper);
        }
        for (int k = 0; k < spokes; ++k) {
            const double a = -kPi / 2 + k * 2 * kPi / spokes;
            Saved s(cr);
            cairo_translate(cr, x, y);
            cairo_rotate(cr, a);
            polygonPath(cr, {{rr * 0.22, -rr * 0.14}, {rr * 0.98, -rr * 0.2}, {rr * 0.98, rr * 0.2}, {rr * 0.22, rr * 0.14}});
            fill(cr, linear(0, -rr * 0.2, 0, rr * 0.2, {{0, lighter(rim, 0.45)}, {0.5, rim}, {1, darker(rim, 0.35)}}));
        }
        circlePath(cr, x, y, rr);
        stroke(cr, lighter(rim, 0.3), rr * 0.1);
        circlePath(cr, x, y, rr * 0.28);
        fill(cr, radial(x - 1, y - 1, 0, x, y, rr * 0.28, {{0, lighter(rim, 0.6)}, {1, darker(rim, 0.3)}}));
    }
    circlePath(cr, x, y, r - 0.6);
    stroke(cr, hex(0x3A3C42, 0.8), 0.8);
}

// The silver-blue concept car, facing right: a long wedge nose, a bubble
// canopy and a covered rear wheel.
void aeroBodyPath(cairo_t* cr) {
    cairo_move_to(cr, 14, 136);
    cairo_line_to(cr, 17, 114);
    cairo_curve_to(cr, 40, 104, 80, 93, 118, 91);
    cairo_curve_to(cr, 146, 90, 162, 98, 178, 111);
    cairo_curve_to(cr, 200, 120, 222, 127, 238, 132);
    cairo_curve_to(cr, 244, 134, 244, 139, 238, 141);
    cairo_curve_to(cr, 232, 146, 226, 149, 218, 150);
    cairo_line_to(cr, 40, 151);
    cairo_curve_to(cr, 26, 151, 16, 146, 14, 136);
    cairo_close_path(cr);
}

void drawAeroCar(cairo_t* cr) {
    const double ground = 160;
    // Bright sky over a hazy horizon.
    paint(cr, linear(0, 0, 0, 118, {{0, hex(0x2D6FC0)}, {0.7, hex(0x8CC0EA)}, {1, hex(0xDDEEF8)}}));
    // A low sun's glare and a few thin clouds drawn out by speed.
    paint(cr, radial(226, 30, 2, 226, 30, 90, {{0, hex(0xFFFFFF, 0.7)}, {0.2, hex(0xFFFDE8, 0.3)}, {1, hex(0xFFFFFF, 0)}}));
    Random c(12);
    for (int i = 0; i < 6; ++i) {
        const double cx = c.range(10, 240), cy = c.range(14, 84), rx = c.range(30, 60), ry = c.range(3, 6);
        ellipsePath(cr, cx, cy, rx, ry);
        fill(cr, radial(cx, cy, 0, cx, cy, rx, {{0, hex(0xFFFFFF, 0.35)}, {1, hex(0xFFFFFF, 0)}}));
    }
    // Distant hills, pale with distance.
    smoothOpenPath(cr, {{-10, 118}, {20, 104}, {55, 110}, {95, 96}, {140, 108}, {180, 100}, {220, 110}, {262, 102}});
    cairo_line_to(cr, 262, 122);
    cairo_line_to(cr, -10, 122);
    cairo_close_path(cr);
    fill(cr, linear(0, 96, 0, 122, {{0, hex(0x8EAECF)}, {1, hex(0xBFD6EA)}}));
    // The road, streaked with speed.
    cairo_rectangle(cr, 0, 118, W, H - 118);
    fill(cr, linear(0, 118, 0, H, {{0, hex(0x8D939C)}, {0.2, hex(0x5A6069)}, {1, hex(0x2A2E35)}}));
    cairo_rectangle(cr, 0, 121, W, 1.6);
    fill(cr, hex(0xF4F6F8, 0.8));
    for (int k = 0; k < 4; ++k) {
        const double x = -30 + k * 80;
        cairo_rectangle(cr, x, 178, 56, 3.5);
        fill(cr, linear(x, 0, x + 56, 0, {{0, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.75)}, {1, hex(0xFFFFFF, 0)}}));
    }
    Random r(8);
    for (int i = 0; i < 40; ++i) {
        const double y = r.range(125, H), x = r.range(-20, W), len = r.range(20, 70);
        cairo_rectangle(cr, x, y, len, 0.6);
        fill(cr, hex(0xFFFFFF, r.range(0.04, 0.12)));
    }
    // Shadow under the car.
    softShadow(cr, [&](cairo_t* c) { ellipsePath(c, 128, ground - 2, 118, 7); }, hex(0x000000, 0.65), 6);
    // Wheels, then the body over them with dark arches.
    wheel(cr, 62, 141, 19, 0, hex(0xB8C6D4), hex(0));
    wheel(cr, 190, 141, 19, 0, hex(0xB8C6D4), hex(0));
    {
        Saved s(cr);
        aeroBodyPath(cr);
        fill(cr, linear(0, 92, 0, 152,
                        {{0, hex(0xF2F7FC)}, {0.3, hex(0xB4CBE0)}, {0.55, hex(0x7495B8)}, {0.58, hex(0x5C7EA4)},
                         {0.8, hex(0x3C5A80)}, {1, hex(0x1C2C44)}}));
        aeroBodyPath(cr);
        cairo_clip(cr);
        // Front arch cut away round the wheel; the rear wheel sits under a skirt.
        cairo_arc(cr, 190, 141, 22.5, kPi, 2 * kPi);
        cairo_close_path(cr);
        fill(cr, hex(0x0E1420));
        {
            Saved w(cr);
            cairo_arc(cr, 190, 141, 22.5, kPi, 2 * kPi);
            cairo_close_path(cr);
            cairo_clip(cr);
            wheel(cr, 190, 141, 19, 0, hex(0xB8C6D4), hex(0));
        }
        cairo_arc(cr, 190, 141, 22.5, kPi, 2 * kPi);
        stroke(cr, hex(0xDCE8F4, 0.7), 1.0);
        // Skirt over the rear wheel: a flush panel with a slim cut line.
        cairo_move_to(cr, 40, 150);
        cairo_curve_to(cr, 40, 126, 84, 126, 84, 150);
        stroke(cr, hex(0x20324A, 0.6), 0.8);
        // Shoulder crease catching the light.
        cairo_move_to(cr, 20, 124);
        cairo_curve_to(cr, 80, 121, 160, 124, 238, 136);
        stroke(cr, hex(0xFFFFFF, 0.85), 1.2);
        // Dark sill along the bottom with a thin glowing accent above it.
        cairo_rectangle(cr, 0, 143, W, 10);
        fill(cr, linear(0, 143, 0, 152, {{0, hex(0x1A2638)}, {1, hex(0x0A1018)}}));
        cairo_move_to(cr, 92, 143);
        cairo_line_to(cr, 166, 143);
        stroke(cr, hex(0x7AE8FF, 0.9), 0.8);
        // Lower intake slot.
        polygonPath(cr, {{100, 133}, {152, 135}, {148, 139}, {106, 138}});
        fill(cr, hex(0x101826, 0.85));
        // Sky reflected in the upper flank.
        cairo_rectangle(cr, 0, 100, W, 12);
        fill(cr, linear(0, 100, 0, 112, {{0, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.2)}, {1, hex(0xFFFFFF, 0)}}));
    }
    // A slim rear wing on a single stem.
    polygonPath(cr, {{26, 104}, {30, 104}, {32, 112}, {27, 112}});
    fill(cr, hex(0x3C5A80));
    polygonPath(cr, {{4, 100}, {42, 98}, {42, 102}, {6, 105}});
    fill(cr, linear(0, 98, 0, 105, {{0, hex(0xEAF2FA)}, {1, hex(0x4A6A90)}}));
    // Bubble canopy.
    cairo_move_to(cr, 56, 110);
    cairo_curve_to(cr, 80, 99, 106, 95, 126, 95);
    cairo_curve_to(cr, 146, 95, 160, 102, 172, 112);
    cairo_line_to(cr, 150, 116);
    cairo_line_to(cr, 66, 117);
    cairo_close_path(cr);
    fill(cr, linear(0, 95, 0, 117, {{0, hex(0x0E2440)}, {0.6, hex(0x1C4A78)}, {1, hex(0x0A1628)}}));
    cairo_move_to(cr, 86, 104);
    cairo_curve_to(cr, 104, 99, 126, 98, 146, 101);
    cairo_curve_to(cr, 126, 101, 104, 103, 90, 108);
    cairo_close_path(cr);
    fill(cr, hex(0xFFFFFF, 0.55));
    // Light strips: cyan at the nose, red at the tail.
    polygonPath(cr, {{206, 127}, {236, 134}, {235, 136.5}, {204, 130}});
    fill(cr, hex(0xBFF6FF));
    softShadow(cr, [](cairo_t* c) { polygonPath(c, {{206, 127}, {236, 134}, {235, 136.5}, {204, 130}}); }, hex(0x60E8FF, 0.9), 4);
    roundedRect(cr, 14.5, 118, 3.5, 14, 1.5);
    fill(cr, hex(0xFF2A3A));
    softShadow(cr, [](cairo_t* c) { roundedRect(c, 12, 118, 5, 14, 2); }, hex(0xFF2030, 0.9), 4);
    // Speed lines streaming off the tail.
    Random s(3);
    for (int i = 0; i < 12; ++i) {
        const double y = s.range(92, 150), len = s.range(40, 110), x = s.range(-30, 14) - len * 0.3;
        cairo_rectangle(cr, x, y, len, s.range(0.8, 1.8));
        fill(cr, linear(x, 0, x + len, 0, {{0, hex(0xFFFFFF, 0)}, {1, hex(0xFFFFFF, 0.8)}}));
    }
    for (int i = 0; i < 5; ++i) {
        const double y = s.range(30, 80), x = s.range(-20, 160), len = s.range(60, 120);
        cairo_rectangle(cr, x, y, len, 1.2);
        fill(cr, linear(x, 0, x + len, 0, {{0, hex(0xFFFFFF, 0)}, {0.7, hex(0xFFFFFF, 0.45)}, {1, hex(0xFFFFFF, 0)}}));
    }
    glassFinish(cr, 0.2);
}

// The red supercar, facing left: a low nose, a high front fender, a cockpit
// pushed forward and a big scoop ahead of the rear wheel.
void supercarBodyPath(cairo_t* cr) {
    cairo_move_to(cr, 11, 141);
    cairo_curve_to(cr, 13, 134, 24, 129, 40, 125);
    cairo_curve_to(cr, 52, 118, 58, 112, 72, 112);
    cairo_curve_to(cr, 84, 112, 94, 115, 105, 112);
    cairo_curve_to(cr, 116, 102, 128, 96, 144, 95);
    cairo_curve_to(cr, 158, 95, 168, 98, 178, 104);
    cairo_curve_to(cr, 190, 109, 202, 108, 216, 108);
    cairo_line_to(cr, 233, 104);
    cairo_line_to(cr, 241, 105);
    cairo_line_to(cr, 238, 112);
    cairo_curve_to(cr, 237, 124, 238, 136, 235, 147);
    cairo_line_to(cr, 226, 154);
    cairo_line_to(cr, 30, 156);
    cairo_curve_to(cr, 18, 155, 11, 150, 11, 141);
    cairo_close_path(cr);
}

// The body is drawn a little taller than it stands and pressed down onto
// its sill line, which makes it lower and longer against the wheels.
constexpr double kSill = 156, kSquash = 0.86;
void squash(cairo_t* cr, double k) {
    cairo_translate(cr, 0, kSill);
    cairo_scale(cr, 1, k);
    cairo_translate(cr, 0, -kSill);
}

void drawSupercar(cairo_t* cr, bool reflection) {
    const double fx = 66, rx = 192, wy = 143.5, wr = 19.5, arch = wr + 3.5;
    if (!reflection) softShadow(cr, [](cairo_t* c) { ellipsePath(c, 126, 162, 118, 5); }, hex(0x000000, 0.9), 5);
    wheel(cr, fx, wy, wr, 5, hex(0xC9CED4), hex(0xE8C020));
    wheel(cr, rx, wy, wr, 5, hex(0xC9CED4), hex(0xE8C020));
    Saved s(cr);
    squash(cr, kSquash);
    supercarBodyPath(cr);
    fill(cr, linear(0, 95, 0, 156,
                    {{0, hex(0xFF7A66)}, {0.22, hex(0xF0281E)}, {0.5, hex(0xC80C14)}, {0.52, hex(0xA8080E)},
                     {0.85, hex(0x7A050A)}, {1, hex(0x3C0205)}}));
    supercarBodyPath(cr);
    cairo_clip(cr);
    // Wheel arches: dark openings with the wheels showing through, drawn
    // round in the skin's own units.
    {
        Saved round(cr);
        squash(cr, 1 / kSquash);
        for (const double x : {fx, rx}) {
            auto archPath = [&] {
                cairo_arc(cr, x, wy, arch, kPi, 2 * kPi);
                cairo_line_to(cr, x + arch, 165);
                cairo_line_to(cr, x - arch, 165);
                cairo_close_path(cr);
            };
            archPath();
            fill(cr, hex(0x0A0506));
            Saved w(cr);
            archPath();
            cairo_clip(cr);
            wheel(cr, x, wy, wr, 5, hex(0xC9CED4), hex(0xE8C020));
        }
        for (const double x : {fx, rx}) {
            cairo_arc(cr, x, wy, arch, kPi, 2 * kPi);
            stroke(cr, hex(0xFF9080, 0.6), 1.0);
        }
    }
    // Highlight along the fender line and the shoulder.
    cairo_move_to(cr, 30, 127);
    cairo_curve_to(cr, 48, 118, 60, 115, 78, 116);
    cairo_move_to(cr, 182, 107);
    cairo_curve_to(cr, 196, 111, 214, 111, 236, 108);
    stroke(cr, hex(0xFFE0D8, 0.8), 1.6);
    cairo_rectangle(cr, 0, 116, W, 10);
    fill(cr, linear(0, 116, 0, 126, {{0, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.16)}, {1, hex(0xFFFFFF, 0)}}));
    // Side intake ahead of the rear wheel: a dark scoop with slats.
    auto scoop = [&] {
        cairo_move_to(cr, 124, 128);
        cairo_curve_to(cr, 142, 120, 158, 117, 172, 118);
        cairo_curve_to(cr, 168, 128, 166, 138, 163, 148);
        cairo_curve_to(cr, 150, 142, 138, 136, 124, 128);
        cairo_close_path(cr);
    };
    scoop();
    fill(cr, linear(0, 117, 0, 148, {{0, hex(0x050203)}, {1, hex(0x2A0C0E)}}));
    {
        Saved k(cr);
        scoop();
        cairo_clip(cr);
        for (int i = 0; i < 4; ++i) {
            cairo_move_to(cr, 130 + i * 4, 124 + i * 6);
            cairo_line_to(cr, 176, 122 + i * 6);
        }
        stroke(cr, hex(0x5A1A1E, 0.8), 0.9);
    }
    cairo_move_to(cr, 122, 127);
    cairo_curve_to(cr, 142, 117, 158, 114, 174, 116);
    stroke(cr, hex(0xFFB0A0, 0.7), 1.0);
    // Door shut line.
    cairo_move_to(cr, 108, 115);
    cairo_curve_to(cr, 110, 128, 108, 140, 112, 152);
    stroke(cr, hex(0x4A0206, 0.7), 0.7);
    // Black sill, front splitter and rear diffuser.
    polygonPath(cr, {{90, 149}, {166, 149}, {168, 157}, {90, 157}});
    fill(cr, hex(0x140A0B));
    polygonPath(cr, {{10, 147}, {42, 151}, {42, 157}, {14, 157}});
    fill(cr, hex(0x120809));
    polygonPath(cr, {{216, 147}, {240, 141}, {240, 157}, {216, 157}});
    fill(cr, hex(0x120809));
    // Headlight: a swept glass eye on the nose.
    cairo_move_to(cr, 22, 131);
    cairo_curve_to(cr, 30, 125, 40, 122, 50, 121);
    cairo_curve_to(cr, 44, 127, 34, 131, 22, 134);
    cairo_close_path(cr);
    fill(cr, linear(22, 121, 50, 134, {{0, hex(0xF4FAFF)}, {1, hex(0x8A9AAA)}}));
    // Round tail lights.
    for (const double y : {116.0, 125.0}) {
        circlePath(cr, 236, y, 3.4);
        fill(cr, radial(235, y - 1, 0.3, 236, y, 3.4, {{0, hex(0xFFB0A0)}, {0.5, hex(0xFF2020)}, {1, hex(0x8A0008)}}));
    }
    // Cockpit glass.
    cairo_move_to(cr, 108, 112);
    cairo_curve_to(cr, 119, 103, 132, 99, 147, 99);
    cairo_curve_to(cr, 159, 99, 166, 101, 173, 106);
    cairo_line_to(cr, 165, 110);
    cairo_line_to(cr, 114, 113);
    cairo_close_path(cr);
    fill(cr, linear(0, 99, 0, 113, {{0, hex(0x1A1E26)}, {0.5, hex(0x2E3A4A)}, {1, hex(0x0A0C10)}}));
    cairo_move_to(cr, 120, 106);
    cairo_curve_to(cr, 129, 101, 140, 100.5, 154, 100.5);
    cairo_curve_to(cr, 140, 103, 130, 105, 123, 108);
    cairo_close_path(cr);
    fill(cr, hex(0xFFFFFF, 0.5));
    // Mirror.
    ellipsePath(cr, 112, 108, 5, 3, -10);
    fill(cr, hex(0xB8080E));
    // The studio light running along the roof and rear deck.
    cairo_move_to(cr, 120, 99);
    cairo_curve_to(cr, 136, 95.5, 160, 95.5, 176, 104.5);
    cairo_curve_to(cr, 190, 110, 204, 109.5, 232, 106);
    stroke(cr, hex(0xFFFFFF, 0.55), 1.1);
}

void drawEnzo(cairo_t* cr) {
    const double ground = 163;
    // Dark studio with a spotlight from above.
    paint(cr, linear(0, 0, 0, ground, {{0, hex(0x101116)}, {1, hex(0x2C2D35)}}));
    paint(cr, radial(125, 20, 5, 125, 60, 170, {{0, hex(0xFFFFFF, 0.32)}, {0.5, hex(0xE0E4F0, 0.1)}, {1, hex(0xFFFFFF, 0)}}));
    cairo_rectangle(cr, 0, ground, W, H - ground);
    fill(cr, linear(0, ground, 0, H, {{0, hex(0x2A2A30)}, {1, hex(0x08080A)}}));
    // The car's reflection in the glossy floor, fading away.
    {
        Saved s(cr);
        cairo_rectangle(cr, 0, ground, W, H - ground);
        cairo_clip(cr);
        cairo_push_group(cr);
        cairo_translate(cr, 0, 2 * ground);
        cairo_scale(cr, 1, -1);
        drawSupercar(cr, true);
        cairo_pop_group_to_source(cr);
        PatternPtr fade = linear(0, ground, 0, ground + 30, {{0, hex(0x000000, 0.35)}, {1, hex(0x000000, 0)}});
        cairo_mask(cr, fade.get());
    }
    cairo_rectangle(cr, 0, ground, W, 0.8);
    fill(cr, hex(0xFFFFFF, 0.12));
    // Soft strip lights mirrored in the floor far behind.
    for (const double y : {ground + 14, ground + 24}) {
        cairo_rectangle(cr, 0, y, W, 1.2);
        fill(cr, linear(0, 0, W, 0, {{0, hex(0xFFFFFF, 0)}, {0.5, hex(0xFFFFFF, 0.1)}, {1, hex(0xFFFFFF, 0)}}));
    }
    drawSupercar(cr, false);
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- footballer

// Colours of a player's kit; a silhouette uses one colour for all of them.
struct Kit {
    Colour skin, hair, shirt, shirtShade, shorts, socks, boots;
};

Pt along(Pt a, Pt b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// The player in the middle of a kick: the standing leg planted, the kicking
// leg swung through, arms out for balance, the body leaning back.
void drawKickerKit(cairo_t* cr, double grow, const Kit& k) {
    struct Leg {
        Pt hip, knee, ankle;
        std::vector<Pt> boot;
    };
    const Leg legs[] = {
        {{90, 104}, {85, 135}, {84, 163}, {{78, 160}, {87, 159}, {100, 165}, {100, 170}, {78, 171}}},
        {{100, 104}, {124, 100}, {148, 90}, {{144, 86}, {153, 82}, {161, 80}, {163, 84}, {153, 93}, {146, 95}}},
    };
    for (const Leg& l : legs) {
        drawLimb(cr, {{l.hip, l.knee, l.ankle}, {17, 11, 7.5}}, grow, k.skin);
        drawLimb(cr, {{along(l.knee, l.ankle, 0.3), l.ankle}, {11.5, 8.5}}, grow, k.socks);
        drawShape(cr, [&](cairo_t* p) { smoothClosedPath(p, l.boot); }, grow, k.boots);
        drawLimb(cr, {{l.hip, along(l.hip, l.knee, 0.42)}, {21, 18}}, grow, k.shorts);
    }
    // The far arm swung back, behind the shirt.
    drawLimb(cr, {{{82, 66}, {64, 75}, {50, 66}}, {10.5, 8, 6}}, grow, k.skin);
    drawShape(cr, [](cairo_t* p) { circlePath(p, 49, 65, 4); }, grow, k.skin);
    drawLimb(cr, {{{82, 66}, {73, 70.5}}, {13, 11}}, grow, k.shirtShade);
    // Neck and head.
    drawLimb(cr, {{{93, 50}, {95, 60}}, {8, 9.5}}, grow, k.skin);
    drawShape(cr, [](cairo_t* p) { circlePath(p, 91, 44, 9.5); }, grow, k.skin);
    drawShape(cr, [](cairo_t* p) {
        smoothClosedPath(p, {{81.5, 44}, {84, 36.5}, {91, 34}, {99, 36}, {101, 42}, {94, 40}, {88, 43}, {85, 49}});
    }, grow, k.hair);
    // Shirt.
    drawShape(cr, [](cairo_t* p) {
        smoothClosedPath(p, {{78, 64}, {93, 58}, {108, 61}, {108, 78}, {104, 94}, {106, 104}, {84, 106}, {82, 94}, {79, 80}});
    }, grow, k.shirt);
    // The near arm in front, reaching forward.
    drawLimb(cr, {{{105, 66}, {118, 82}, {131, 84}}, {10.5, 8, 6}}, grow, k.skin);
    drawShape(cr, [](cairo_t* p) { circlePath(p, 132, 84, 4); }, grow, k.skin);
    drawLimb(cr, {{{105, 66}, {111, 73.5}}, {13, 11}}, grow, k.shirt);
}

void drawKicker(cairo_t* cr, double grow, Colour c) { drawKickerKit(cr, grow, {c, c, c, c, c, c, c}); }

void drawSoccerPlayer(cairo_t* cr) {
    // Sunset sky behind the stadium.
    paint(cr, linear(0, 0, 0, 92, {{0, hex(0x3A2A6A)}, {0.45, hex(0xC0507A)}, {0.8, hex(0xF8955A)}, {1, hex(0xFFD08A)}}));
    paint(cr, radial(190, 86, 2, 190, 86, 70, {{0, hex(0xFFF4C0, 0.9)}, {0.25, hex(0xFFC070, 0.5)}, {1, hex(0xFFA060, 0)}}));
    // The stand's curved silhouette with the crowd in it and a roof above.
    smoothOpenPath(cr, {{-10, 62}, {60, 54}, {125, 52}, {190, 54}, {262, 62}});
    cairo_line_to(cr, 262, 112);
    cairo_line_to(cr, -10, 112);
    cairo_close_path(cr);
    fill(cr, hex(0x2A1830));
    {
        Saved s(cr);
        smoothOpenPath(cr, {{-10, 66}, {60, 59}, {125, 57}, {190, 59}, {262, 66}});
        cairo_line_to(cr, 262, 110);
        cairo_line_to(cr, -10, 110);
        cairo_close_path(cr);
        cairo_clip(cr);
        stands(cr, 55, 110, hex(0x4A2A44), 14);
    }
    for (const double x : {18.0, 233.0}) {
        cairo_rectangle(cr, x - 1.5, 20, 3, 40);
        fill(cr, hex(0x1A1020));
        floodlight(cr, x, 18, 0.7);
    }
    // Pitch with the stripes running across it.
    pitch(cr, 108, 125, -400, 3, hex(0x56B84A), hex(0x379A3C));
    cairo_rectangle(cr, 0, 106, W, 4);
    fill(cr, hex(0x1A1020));
    cairo_move_to(cr, 0, 150);
    cairo_line_to(cr, W, 146);
    stroke(cr, hex(0xF4FFF0, 0.55), 1.6);
    // Shadow of the player on the grass.
    softShadow(cr, [](cairo_t* c) { ellipsePath(c, 98, 171, 34, 4); }, hex(0x0A2A0A, 0.7), 4);
    // The player against the low sun, with a warm rim light.
    figureLayer(cr, drawKicker, 4.0, hex(0xFFB060, 0.18));
    figureLayer(cr, drawKicker, 1.6, hex(0xFFD090, 0.5));
    drawKickerKit(cr, 0, {hex(0xC68A62), hex(0x2A1A12), hex(0xD8242C), hex(0xA8141C), hex(0xF6F6F4), hex(0xD8242C),
                          hex(0x16161A)});
    // Light and shade on the kit: the low sun catches its back edges.
    {
        Saved s(cr);
        cairo_push_group(cr);
        drawKicker(cr, 0, hex(0x000000));
        cairo_pop_group_to_source(cr);
        PatternPtr shade = linear(60, 0, 150, 40, {{0, hex(0x000000, 0)}, {1, hex(0x000000, 0.4)}});
        cairo_mask(cr, shade.get());
    }
    // The ball flying off the boot, with a motion trail behind it.
    {
        const double bx = 180, by = 74, br = 12;
        cairo_move_to(cr, 154, 82);
        cairo_line_to(cr, bx - 2, by - br);
        cairo_line_to(cr, bx - 2, by + br);
        cairo_close_path(cr);
        fill(cr, linear(154, 84, bx, by, {{0, hex(0xFFFFFF, 0)}, {1, hex(0xFFFFFF, 0.45)}}));
        for (int k = 0; k < 3; ++k) {
            cairo_move_to(cr, bx - 16 - k * 6, by - 12 + k * 9);
            cairo_line_to(cr, bx - 34 - k * 8, by - 6 + k * 9);
        }
        stroke(cr, hex(0xFFFFFF, 0.6), 1.2);
        drawBall(cr, bx, by, br, 30, -20, hex(0x7ED060));
    }
    glassFinish(cr, 0.16);
}

}  // namespace

std::vector<SkinDesign> sportSkins() {
    return {
        {"flaming_guitar_skin.png", drawFlamingGuitar},
        {"guitar_flame_play_skin.png", drawGuitarFlamePlayer},
        {"worldcup_ball_skin.png", drawWorldcupBall},
        {"aero_car_skin.png", drawAeroCar},
        {"enzo_skin.png", drawEnzo},
        {"soccer_player_skin.png", drawSoccerPlayer},
    };
}

}  // namespace vw::art
