// Skins: landscapes, seasons and space, as flat layered illustrations.
#include "resources/Paint.h"
#include "resources/Skins.h"

#include <cmath>
#include <vector>

namespace vw::art {

namespace {

constexpr double W = kSkinW, H = kSkinH;

// A rolling ridge line from x = 0 to W at about `y`, closed down to the bottom.
void ridge(cairo_t* cr, double y, double amplitude, uint32_t seed, Colour c) {
    cairo_move_to(cr, -5, H + 5);
    for (double x = -5; x <= W + 5; x += 4) {
        const double h = amplitude * (fbm(x / 60.0, 0.5, 3, seed) - 0.5) * 2;
        cairo_line_to(cr, x, y + h);
    }
    cairo_line_to(cr, W + 5, H + 5);
    cairo_close_path(cr);
    fill(cr, c);
}

void starField(cairo_t* cr, uint32_t seed, int count, double maxR) {
    Random r(seed);
    for (int i = 0; i < count; ++i) {
        const double x = r.range(0, W), y = r.range(0, H), s = r.range(0.2, maxR);
        circlePath(cr, x, y, s);
        fill(cr, hex(0xFFFFFF, r.range(0.4, 1)));
    }
}

// A maple leaf of radius s at (x, y), turned by `angle` degrees.
void mapleLeaf(cairo_t* cr, double x, double y, double s, double angle, Colour c) {
    Saved sv(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * kPi / 180);
    cairo_scale(cr, s, s);
    // Five lobes, each a pointed tip with a notch between.
    const double lobes[] = {-90, -38, 10, 170, 218};
    const double len[] = {1.0, 0.85, 0.6, 0.6, 0.85};
    std::vector<Pt> pts;
    for (int i = 0; i < 5; ++i) {
        const double a = lobes[i] * kPi / 180;
        const double a0 = a - 0.28, a1 = a + 0.28;
        pts.push_back({std::cos(a0) * len[i] * 0.55, std::sin(a0) * len[i] * 0.55});
        pts.push_back({std::cos(a) * len[i], std::sin(a) * len[i]});
        pts.push_back({std::cos(a1) * len[i] * 0.55, std::sin(a1) * len[i] * 0.55});
        if (i == 2) {  // the notch either side of the stem
            pts.push_back({0.12, 0.35});
            pts.push_back({-0.12, 0.35});
        }
    }
    polygonPath(cr, pts);
    fill(cr, c);
    // Veins and stem.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 5; ++i) {
        const double a = lobes[i] * kPi / 180;
        cairo_move_to(cr, 0, 0.1);
        cairo_line_to(cr, std::cos(a) * len[i] * 0.8, std::sin(a) * len[i] * 0.8);
    }
    cairo_move_to(cr, 0, 0.1);
    cairo_line_to(cr, 0, 0.75);
    stroke(cr, darker(c, 0.35), 0.045);
}

Colour autumn(Random& r) {
    static const uint32_t colours[] = {0xC62F1B, 0xE0581A, 0xF09A1E, 0xF4C430, 0xA8431F, 0x8C3B1A};
    return hex(colours[r.below(6)]);
}

// A round tree crown of autumn or summer colour.
void crown(cairo_t* cr, double x, double y, double r, Colour c) {
    circlePath(cr, x, y, r);
    fill(cr, radial(x - r * 0.3, y - r * 0.4, 0, x, y, r * 1.1, {{0, lighter(c, 0.25)}, {1, darker(c, 0.2)}}));
}

// ---------------------------------------------------------------- fall bridge

void drawFallBridge(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0xF7C983)}, {1, hex(0xF3A35B)}}));
    ridge(cr, 70, 14, 3, hex(0xC9784A, 0.7));
    Random r(11);
    // Trees behind the bridge.
    for (int i = 0; i < 26; ++i) {
        const double x = r.range(-10, W + 10), y = r.range(55, 105);
        crown(cr, x, y, r.range(14, 26), autumn(r));
    }
    // The stream.
    cairo_rectangle(cr, 0, 128, W, H - 128);
    fill(cr, linear(0, 128, 0, H, {{0, hex(0x4F7FA0)}, {1, hex(0x2C4E6B)}}));
    for (int i = 0; i < 14; ++i) {
        const double y = r.range(134, H - 4), x = r.range(0, W);
        cairo_rectangle(cr, x, y, r.range(10, 30), 1.2);
        fill(cr, hex(0xFFE2B0, 0.35));
    }
    // Banks.
    polygonPath(cr, {{0, 118}, {62, 124}, {48, H}, {0, H}});
    fill(cr, hex(0x7A4A22));
    polygonPath(cr, {{W, 118}, {W - 62, 124}, {W - 48, H}, {W, H}});
    fill(cr, hex(0x7A4A22));
    // The arched wooden bridge: deck, arch underside and railings. The deck's
    // top edge is one cubic, p0..p3; the posts stand on it.
    const double l = 30, rgt = W - 30, top = 96, foot = 128;
    const Pt p0{l, foot}, p1{l + 50, top - 10}, p2{rgt - 50, top - 10}, p3{rgt, foot};
    cairo_move_to(cr, p0.x, p0.y);
    cairo_curve_to(cr, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
    cairo_line_to(cr, rgt, foot + 8);
    cairo_curve_to(cr, rgt - 50, top + 4, l + 50, top + 4, l, foot + 8);
    cairo_close_path(cr);
    fill(cr, hex(0x8B1E1A));
    // Reflection of the arch in the water.
    cairo_move_to(cr, l + 10, foot + 10);
    cairo_curve_to(cr, l + 60, H + 4, rgt - 60, H + 4, rgt - 10, foot + 10);
    stroke(cr, hex(0x8B1E1A, 0.35), 4);
    // Railing: posts along the arch and a top rail.
    for (int i = 0; i <= 12; ++i) {
        const double t = i / 12.0, u = 1 - t;
        const auto at = [&](double a, double b, double c, double d) {
            return u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c + t * t * t * d;
        };
        const Pt post{at(p0.x, p1.x, p2.x, p3.x), at(p0.y, p1.y, p2.y, p3.y)};
        cairo_rectangle(cr, post.x - 1.5, post.y - 18, 3, 18);
        fill(cr, hex(0xA52A22));
    }
    cairo_move_to(cr, l, foot - 18);
    cairo_curve_to(cr, l + 50, top - 28, rgt - 50, top - 28, rgt, foot - 18);
    stroke(cr, hex(0xB8342A), 3.5);
    // Leaves drifting in the foreground.
    for (int i = 0; i < 10; ++i)
        mapleLeaf(cr, r.range(0, W), r.range(0, H), r.range(5, 9), r.range(0, 360), autumn(r));
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- fall leaves

void drawFallLeaves(cairo_t* cr) {
    paint(cr, linear(0, 0, W, H, {{0, hex(0x6B3A1E)}, {1, hex(0x3E200F)}}));
    Random r(23);
    for (int i = 0; i < 38; ++i) {
        const double x = r.range(-10, W + 10), y = r.range(-10, H + 10), s = r.range(16, 30);
        const double a = r.range(0, 360);
        const Colour c = autumn(r);
        softShadow(cr, [&](cairo_t* c2) { circlePath(c2, x + 3, y + 4, s * 0.6); }, hex(0x000000, 0.35), 4);
        mapleLeaf(cr, x, y, s, a, c);
    }
    glassFinish(cr, 0.22);
}

// ---------------------------------------------------------------- forest road

void drawForestRoad(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, H, {{0, hex(0xFDF6D2)}, {0.5, hex(0xCFE8B0)}, {1, hex(0x6D9A4A)}}));
    const double vx = W / 2, vy = 92;  // where the road vanishes
    // Light at the end of the road.
    paint(cr, radial(vx, vy, 0, vx, vy, 70, {{0, hex(0xFFFBE0, 0.95)}, {1, hex(0xFFFBE0, 0)}}));
    // Ground.
    cairo_rectangle(cr, 0, vy, W, H - vy);
    fill(cr, linear(0, vy, 0, H, {{0, hex(0x6E9A45)}, {1, hex(0x2F5A1E)}}));
    // Road with a dashed centre line.
    polygonPath(cr, {{vx - 3, vy}, {vx + 3, vy}, {W * 0.78, H}, {W * 0.22, H}});
    fill(cr, linear(0, vy, 0, H, {{0, hex(0x8C8C88)}, {1, hex(0x4A4A48)}}));
    for (int i = 0; i < 7; ++i) {
        const double t0 = std::pow(i / 7.0, 1.8), t1 = std::pow((i + 0.5) / 7.0, 1.8);
        const double y0 = vy + (H - vy) * t0, y1 = vy + (H - vy) * t1;
        const double w0 = 0.3 + 2.4 * t0, w1 = 0.3 + 2.4 * t1;
        polygonPath(cr, {{vx - w0, y0}, {vx + w0, y0}, {vx + w1, y1}, {vx - w1, y1}});
        fill(cr, hex(0xF5E6A0));
    }
    // Tall trees on both sides, smaller towards the vanishing point.
    auto tree = [&](double x, double base, double h, Colour c) {
        cairo_rectangle(cr, x - h * 0.03, base - h * 0.25, h * 0.06, h * 0.25);
        fill(cr, hex(0x4A2E18));
        for (int k = 0; k < 3; ++k) {
            const double y = base - h * 0.2 - k * h * 0.25, w = h * (0.32 - k * 0.07);
            polygonPath(cr, {{x, y - h * 0.42}, {x + w, y}, {x - w, y}});
            fill(cr, linear(x - w, 0, x + w, 0, {{0, lighter(c, 0.15)}, {1, darker(c, 0.3)}}));
        }
    };
    for (int side = 0; side < 2; ++side) {
        for (int i = 9; i >= 0; --i) {
            const double t = i / 9.0;  // 0 near, 1 far
            const double base = H - (H - vy) * t * 0.95;
            const double off = (W * 0.36) * (1 - t) + 14;
            const double x = side ? vx + off + 10 * (1 - t) : vx - off - 10 * (1 - t);
            tree(x, base + 4, 40 + 150 * (1 - t), mix(hex(0x1E5B2A), hex(0x7FA872), t * 0.7));
        }
    }
    glassFinish(cr, 0.18);
}

// ---------------------------------------------------------------- lunar earth

void drawLunarEarth(cairo_t* cr) {
    paint(cr, hex(0x02030A));
    starField(cr, 31, 140, 0.9);
    // The Earth, with oceans, land, clouds and a thin atmosphere.
    const double ex = W * 0.62, ey = 70, er = 44;
    softShadow(cr, [&](cairo_t* c) { circlePath(c, ex, ey, er + 2); }, hex(0x6FB7FF, 0.6), 6);
    circlePath(cr, ex, ey, er);
    fill(cr, radial(ex - 14, ey - 16, 2, ex, ey, er, {{0, hex(0x4FA3E8)}, {1, hex(0x0E3E8A)}}));
    {
        Saved s(cr);
        circlePath(cr, ex, ey, er);
        cairo_clip(cr);
        shadePixels(cr, ex - er, ey - er, 2 * er, 2 * er, [&](double x, double y) {
            const double land = fbm(x / 22.0, y / 22.0, 4, 5);
            const double cloud = fbm(x / 10.0 + 3, y / 18.0, 4, 9);
            Colour c = hex(0x000000, 0);
            if (land > 0.56) c = mix(hex(0x4F8A3A), hex(0xA88A55), smoothstep(0.6, 0.72, land));
            if (cloud > 0.6) c = mix(c.a > 0 ? c : hex(0xFFFFFF, 0), hex(0xFFFFFF, 0.9), smoothstep(0.6, 0.72, cloud));
            return c;
        });
        // Night side.
        cairo_rectangle(cr, ex - er, ey - er, 2 * er, 2 * er);
        fill(cr, linear(ex - er * 0.2, ey - er * 0.2, ex + er, ey + er,
                        {{0, hex(0x000000, 0)}, {1, hex(0x000000, 0.75)}}));
    }
    // The grey cratered lunar horizon.
    cairo_move_to(cr, -5, H + 5);
    cairo_line_to(cr, -5, 140);
    cairo_curve_to(cr, W * 0.3, 118, W * 0.7, 122, W + 5, 136);
    cairo_line_to(cr, W + 5, H + 5);
    cairo_close_path(cr);
    fill(cr, linear(0, 118, 0, H, {{0, hex(0xB8B6B0)}, {1, hex(0x4E4D4A)}}));
    Random r(41);
    for (int i = 0; i < 22; ++i) {
        const double x = r.range(0, W), y = r.range(140, H), rx = r.range(5, 18) * (0.5 + (y - 130) / 80);
        ellipsePath(cr, x, y, rx, rx * 0.32);
        fill(cr, hex(0x4A4945, 0.55));
        ellipsePath(cr, x, y + rx * 0.06, rx * 0.85, rx * 0.24);
        fill(cr, hex(0x9C9A94, 0.7));
    }
    glassFinish(cr, 0.15);
}

// ---------------------------------------------------------------- seashore

void drawSeashore(cairo_t* cr) {
    paint(cr, linear(0, 0, 0, 70, {{0, hex(0x5BB4F0)}, {1, hex(0xBFE6FA)}}));
    // Sea, turquoise near the shore.
    cairo_rectangle(cr, 0, 62, W, 80);
    fill(cr, linear(0, 62, 0, 140, {{0, hex(0x1A7DB8)}, {1, hex(0x3CD0C8)}}));
    // Sand with a wet edge, then rolling foam lines.
    cairo_move_to(cr, -5, H + 5);
    cairo_line_to(cr, -5, 128);
    for (double x = -5; x <= W + 5; x += 5) cairo_line_to(cr, x, 122 + 6 * std::sin(x / 22.0) + x * 0.08);
    cairo_line_to(cr, W + 5, H + 5);
    cairo_close_path(cr);
    fill(cr, linear(0, 120, 0, H, {{0, hex(0xE9CF98)}, {1, hex(0xF6E4BB)}}));
    for (int k = 0; k < 4; ++k) {
        const double base = 84 + k * 12;
        std::vector<Pt> pts;
        for (double x = -5; x <= W + 5; x += 10)
            pts.push_back({x, base + 3 * std::sin(x / (14.0 + k * 3) + k) + x * 0.03 * k});
        smoothOpenPath(cr, pts);
        stroke(cr, hex(0xFFFFFF, 0.5 + 0.12 * k), 1.6 + k * 0.5);
    }
    // Foam lacing the shore line.
    std::vector<Pt> edge;
    for (double x = -5; x <= W + 5; x += 8) edge.push_back({x, 121 + 6 * std::sin(x / 22.0) + x * 0.08});
    smoothOpenPath(cr, edge);
    stroke(cr, hex(0xFFFFFF, 0.9), 3);
    // A scallop shell on the sand.
    {
        Saved s(cr);
        cairo_translate(cr, 190, 168);
        cairo_move_to(cr, 0, 8);
        cairo_arc(cr, 0, 8, 16, kPi * 1.1, kPi * 1.9);
        cairo_close_path(cr);
        fill(cr, linear(0, -8, 0, 8, {{0, hex(0xFFC8B0)}, {1, hex(0xE88B6E)}}));
        for (int i = 0; i < 7; ++i) {
            const double a = kPi * (1.15 + i * 0.1);
            cairo_move_to(cr, 0, 8);
            cairo_line_to(cr, std::cos(a) * 15, 8 + std::sin(a) * 15);
        }
        stroke(cr, hex(0xC06048, 0.7), 0.8);
    }
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- tropical

void palmLeaf(cairo_t* cr, double x, double y, double len, double angle, Colour c) {
    Saved s(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle * kPi / 180);
    // A long leaf split into fingers.
    for (int i = 0; i < 9; ++i) {
        const double t = (i + 0.5) / 9.0, px = len * t, w = len * 0.32 * std::sin(t * kPi);
        for (int side = -1; side <= 1; side += 2) {
            cairo_move_to(cr, px - len * 0.04, 0);
            cairo_curve_to(cr, px, side * w * 0.5, px + len * 0.06, side * w, px + len * 0.12, side * w * 1.05);
            cairo_curve_to(cr, px + len * 0.06, side * w * 0.6, px + len * 0.04, side * w * 0.2, px + len * 0.06, 0);
            cairo_close_path(cr);
        }
    }
    fill(cr, linear(0, -len * 0.3, 0, len * 0.3, {{0, lighter(c, 0.2)}, {1, darker(c, 0.25)}}));
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, len * 1.05, 0);
    stroke(cr, darker(c, 0.4), len * 0.025);
}

void hibiscus(cairo_t* cr, double x, double y, double r, Colour c) {
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5 - kPi / 2;
        ellipsePath(cr, x + std::cos(a) * r * 0.55, y + std::sin(a) * r * 0.55, r * 0.62, r * 0.45, a * 180 / kPi);
        fill(cr, radial(x, y, 0, x, y, r * 1.1, {{0, darker(c, 0.35)}, {0.3, c}, {1, lighter(c, 0.25)}}));
    }
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + r * 0.7, y - r * 0.6);
    stroke(cr, hex(0xFFE15A), r * 0.08);
    circlePath(cr, x + r * 0.7, y - r * 0.6, r * 0.1);
    fill(cr, hex(0xFFB000));
}

void drawTropical(cairo_t* cr) {
    paint(cr, linear(0, 0, W, H, {{0, hex(0x0D4A2C)}, {1, hex(0x06301C)}}));
    Random r(57);
    const uint32_t greens[] = {0x1F8A3E, 0x2FA84A, 0x17703A, 0x3DBB5A, 0x12623A};
    for (int i = 0; i < 18; ++i)
        palmLeaf(cr, r.range(-20, W + 20), r.range(-20, H + 20), r.range(60, 110), r.range(0, 360),
                 hex(greens[r.below(5)]));
    const uint32_t pinks[] = {0xF23A6E, 0xFF6F91, 0xE8174F, 0xFF8A3D};
    const Pt spots[] = {{48, 52}, {178, 40}, {120, 120}, {212, 150}, {36, 160}};
    for (const Pt& p : spots) {
        softShadow(cr, [&](cairo_t* c) { circlePath(c, p.x + 3, p.y + 4, 20); }, hex(0x000000, 0.4), 5);
        hibiscus(cr, p.x, p.y, r.range(18, 24), hex(pinks[r.below(4)]));
    }
    glassFinish(cr, 0.2);
}

// ---------------------------------------------------------------- universe

void drawUniverse(cairo_t* cr) {
    paint(cr, linear(0, 0, W, H, {{0, hex(0x0A0420)}, {1, hex(0x02020C)}}));
    // Nebula clouds in purple, blue and pink.
    shadePixels(cr, 0, 0, W, H, [](double x, double y) {
        const double a = fbm(x / 55.0, y / 45.0, 5, 3), b = fbm(x / 40.0 + 7, y / 50.0, 5, 8);
        const double pa = smoothstep(0.5, 0.8, a), pb = smoothstep(0.52, 0.82, b);
        Colour c = mix(hex(0x7A2FD0, 0), hex(0x7A2FD0, 0.6), pa);
        if (pb > 0) c = mix(c, hex(0xFF4FA3, 0.55), pb * 0.8);
        if (a > 0.7) c = mix(c, hex(0x3FA0FF, 0.5), smoothstep(0.7, 0.85, a));
        return c;
    });
    starField(cr, 71, 220, 0.9);
    // A spiral galaxy: dots along two logarithmic arms around a bright core.
    {
        const double gx = W * 0.36, gy = H * 0.42;
        Random r(73);
        Saved s(cr);
        cairo_translate(cr, gx, gy);
        cairo_scale(cr, 1, 0.55);
        paint(cr, radial(0, 0, 0, 0, 0, 60,
                         {{0, hex(0xFFF2D6, 0.95)}, {0.2, hex(0xE8C8FF, 0.5)}, {1, hex(0x8050FF, 0)}}));
        for (int arm = 0; arm < 2; ++arm)
            for (int i = 0; i < 260; ++i) {
                const double t = r.range(0, 1), a = arm * kPi + t * 3.4 * kPi / 1.2;
                const double rad = 6 + 54 * t, jitter = r.range(-5, 5) * (0.4 + t);
                circlePath(cr, std::cos(a) * rad + jitter, std::sin(a) * rad + jitter, r.range(0.4, 1.3));
                fill(cr, mix(hex(0xFFFFFF, 0.9), hex(0x9FC8FF, 0.7), t));
            }
    }
    glassFinish(cr, 0.15);
}

}  // namespace

std::vector<SkinDesign> sceneSkins() {
    return {
        {"fall_bridge_skin.png", drawFallBridge}, {"fall_leaves_skin.png", drawFallLeaves},
        {"forest_road_skin.png", drawForestRoad}, {"lunar_earth_skin.png", drawLunarEarth},
        {"seashore_skin.png", drawSeashore},      {"tropical_skin.png", drawTropical},
        {"universe_skin.png", drawUniverse},
    };
}

}  // namespace vw::art
