// The 58 background skins, each 251 x 194, drawn from plain shapes: colours,
// stripes, dots, flags, scenes and patterns, one design per catalogue title.
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "resources/Artwork.h"

namespace vw::art {

namespace {

constexpr int W = kSkinWidth, H = kSkinHeight;
constexpr float Wf = W, Hf = H;
constexpr float kPi = 3.14159265358979f;

// A glassy finish on top of any skin: a soft light band across the top.
void gloss(Canvas& c, float strength = 0.28f) {
    c.paint(rect(0, 0, Wf, Hf * 0.45f), [=](float, float y) {
        return Rgba{1, 1, 1, strength * (1 - smoothstep(0, Hf * 0.45f, y))};
    });
}

void plain(Canvas& c, uint32_t colour) {
    const Rgba base = hex(colour);
    c.shade(vertical(0, lighter(base, 0.25f), Hf, darker(base, 0.3f)), 1);
    // A diagonal sheen so a plain colour still has some life.
    c.paint(rect(0, 0, Wf, Hf), [=](float x, float y) {
        const float t = std::fabs((x + y * 0.6f) - Wf * 0.55f) / 40.0f;
        return Rgba{1, 1, 1, 0.10f * std::max(0.0f, 1 - t)};
    });
    gloss(c);
}

void dots(Canvas& c, Rgba background, Rgba dot, float radius, float spacing) {
    c.fill(background);
    for (int row = -1; row * spacing < Hf + spacing; ++row)
        for (int col = -1; col * spacing < Wf + spacing; ++col) {
            const float x = static_cast<float>(col) * spacing + (row % 2 ? spacing / 2 : 0);
            const float y = static_cast<float>(row) * spacing * 0.87f;
            c.paint(circle(x + 1, y + 1.5f, radius), withAlpha(darker(background, 0.5f), 0.35f));
            c.paint(circle(x, y, radius), dot);
        }
    gloss(c, 0.18f);
}

void stars(Canvas& c, uint32_t seed, int count, Rgba colour, float maxSize) {
    Random r(seed);
    for (int i = 0; i < count; ++i) {
        const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(0.4f, maxSize);
        if (s > maxSize * 0.7f)
            c.paint(star(x, y, s * 2.2f, s * 0.7f, 4, r.range(0, 45)), colour);
        else
            c.paint(circle(x, y, s * 0.6f), withAlpha(colour, r.range(0.5f, 1)));
    }
}

// Wavy stripes for animal skins: bands of `ink` where a wobbling sine is high.
void animalStripes(Canvas& c, Rgba base, Rgba ink, float period, float angle, uint32_t seed, float sharp) {
    c.shade(
        [=](float x, float y) {
            const float a = angle * kPi / 180.0f;
            const float u = x * std::cos(a) + y * std::sin(a), v = -x * std::sin(a) + y * std::cos(a);
            const float wobble = 14.0f * (fbm(v / 40.0f, u / 90.0f, 3, seed) - 0.5f);
            const float s = std::sin((u + wobble * 2.2f) * 2 * kPi / period);
            const float taper = fbm(u / 25.0f, v / 30.0f, 2, seed + 7);
            return smoothstep(sharp, sharp + 0.08f, s * 0.5f + 0.5f - taper * 0.35f) > 0.5f ? ink : base;
        },
        3);
}

void flagStripes(Canvas& c, const std::vector<uint32_t>& colours, bool verticalBands) {
    const float n = static_cast<float>(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const float k = static_cast<float>(i);
        if (verticalBands)
            c.paint(rect(Wf * k / n, 0, Wf / n + 1, Hf), hex(colours[i]));
        else
            c.paint(rect(0, Hf * k / n, Wf, Hf / n + 1), hex(colours[i]));
    }
}

// A flag's cloth: a gentle wave of light and shade over whatever is drawn.
void cloth(Canvas& c) {
    c.paint(rect(0, 0, Wf, Hf), [](float x, float y) {
        const float s = std::sin(x / 30.0f + y / 80.0f);
        return s > 0 ? Rgba{1, 1, 1, 0.10f * s} : Rgba{0, 0, 0, -0.14f * s};
    });
}

void sky(Canvas& c, uint32_t top, uint32_t bottom, float until = Hf) { c.paint(rect(0, 0, Wf, until), vertical(0, hex(top), until, hex(bottom))); }

void cloud(Canvas& c, float x, float y, float s, Rgba colour) {
    Shape sh = unite(unite(circle(x, y, 16 * s), circle(x + 18 * s, y - 8 * s, 20 * s)),
                     unite(circle(x + 40 * s, y, 15 * s), roundRect(x - 4 * s, y, 50 * s, 14 * s, 7 * s)));
    c.paint(sh, vertical(y - 28 * s, colour, y + 16 * s, darker(colour, 0.12f)));
}

void palm(Canvas& c, float baseX, float baseY, float height, Rgba colour) {
    // A bending trunk of small discs, then fronds.
    const float topX = baseX + height * 0.35f, topY = baseY - height;
    for (int i = 0; i <= 24; ++i) {
        const float t = static_cast<float>(i) / 24.0f;
        const float x = baseX + (topX - baseX) * t * t, y = baseY + (topY - baseY) * t;
        c.paint(circle(x, y, 5.0f - 2.5f * t), colour);
    }
    for (int k = 0; k < 7; ++k) {
        const float a = -170.0f + static_cast<float>(k) * 27.0f;
        const float r = a * kPi / 180.0f;
        const float ex = topX + std::cos(r) * height * 0.45f, ey = topY + std::sin(r) * height * 0.3f + 10;
        c.paint(ellipse((topX + ex) / 2, (topY + ey) / 2, height * 0.25f, 5, a), colour);
    }
}

void car(Canvas& c, float x, float y, float s, Rgba body, Rgba glass) {
    // A low sports car seen from the side; (x, y) is the road under its front wheel.
    c.paint(polygon({{x - 20 * s, y - 12 * s},
                     {x - 8 * s, y - 26 * s},
                     {x + 40 * s, y - 30 * s},
                     {x + 75 * s, y - 52 * s},
                     {x + 120 * s, y - 54 * s},
                     {x + 160 * s, y - 36 * s},
                     {x + 178 * s, y - 30 * s},
                     {x + 180 * s, y - 12 * s}}),
            vertical(y - 54 * s, lighter(body, 0.3f), y - 10 * s, darker(body, 0.35f)));
    c.paint(polygon({{x + 50 * s, y - 32 * s}, {x + 78 * s, y - 49 * s}, {x + 116 * s, y - 50 * s}, {x + 140 * s, y - 34 * s}}), glass);
    for (float wx : {x + 10 * s, x + 140 * s}) {
        c.paint(circle(wx, y - 10 * s, 15 * s), hex(0x111111));
        c.paint(circle(wx, y - 10 * s, 8 * s), hex(0xB8BCC2));
        c.paint(circle(wx, y - 10 * s, 3 * s), hex(0x333333));
    }
    c.paint(segment({x - 18 * s, y - 20 * s}, {x + 170 * s, y - 26 * s}, 1.5f * s), withAlpha(lighter(body, 0.6f), 0.7f));
}

using Draw = std::function<void(Canvas&)>;

const std::map<std::string, Draw>& designs() {
    static const std::map<std::string, Draw> m = {
        {"blue_skin.png", [](Canvas& c) { plain(c, 0x1E6FD9); }},
        {"green_skin.png", [](Canvas& c) { plain(c, 0x2DA84A); }},
        {"navy_skin.png", [](Canvas& c) { plain(c, 0x1B2A5C); }},
        {"neon_green_skin.png",
         [](Canvas& c) {
             c.fill(hex(0x0B1A06));
             for (int i = 0; i < 9; ++i) {
                 const float y = 12 + static_cast<float>(i) * 22;
                 Shape line = segment({-10, y}, {Wf + 10, y - 30}, 3);
                 c.glow(line, hex(0x39FF14, 0.55f), 8);
                 c.paint(line, hex(0xB6FF9E));
             }
             gloss(c, 0.12f);
         }},
        {"orange_skin.png", [](Canvas& c) { plain(c, 0xF28A1A); }},
        {"pink_skin.png", [](Canvas& c) { plain(c, 0xF06AAE); }},
        {"purple_skin.png", [](Canvas& c) { plain(c, 0x7A3DC8); }},
        {"red_skin.png", [](Canvas& c) { plain(c, 0xD52B2B); }},
        {"rainbow_skin.png",
         [](Canvas& c) {
             flagStripes(c, {0xE53935, 0xFB8C00, 0xFDD835, 0x43A047, 0x1E88E5, 0x3949AB, 0x8E24AA}, false);
             gloss(c);
         }},
        {"rainbow_stars_skin.png",
         [](Canvas& c) {
             c.shade(
                 [](float x, float y) {
                     const float t = std::fmod((x * 0.6f + y) / 28.0f, 7.0f);
                     const uint32_t cs[] = {0xE53935, 0xFB8C00, 0xFDD835, 0x43A047, 0x1E88E5, 0x3949AB, 0x8E24AA};
                     const int i = static_cast<int>(t);
                     return mix(hex(cs[i % 7]), hex(cs[(i + 1) % 7]), smoothstep(0.7f, 1.0f, t - static_cast<float>(i)));
                 },
                 2);
             Random r(9);
             for (int i = 0; i < 16; ++i) {
                 const float x = r.range(10, Wf - 10), y = r.range(10, Hf - 10), s = r.range(6, 13);
                 c.glow(star(x, y, s, s * 0.45f, 5, r.range(0, 70)), hex(0xFFFFFF, 0.6f), 4);
                 c.paint(star(x, y, s, s * 0.45f, 5, r.range(0, 70)), hex(0xFFFFFF));
             }
         }},
        {"fall_bridge_skin.png",
         [](Canvas& c) {
             sky(c, 0xF6B26B, 0xFCE5CD, 110);
             Random r(10);
             for (int i = 0; i < 40; ++i) {
                 const float x = r.range(-10, Wf + 10), y = r.range(60, 120);
                 const uint32_t cs[] = {0xC0392B, 0xE67E22, 0xF1C40F, 0xA04000};
                 c.paint(circle(x, y, r.range(12, 22)), hex(cs[i % 4]));
             }
             c.paint(rect(0, 120, Wf, 74), vertical(120, hex(0x5D8AA8), 194, hex(0x2C4A66)));
             // The bridge: a stone arch with its reflection.
             Shape arch = subtract(rect(20, 96, 211, 40), ellipse(125.5f, 142, 88, 34));
             c.paint(arch, vertical(96, hex(0x8D6E63), 136, hex(0x5D4037)));
             c.paint(rect(14, 90, 223, 8), hex(0x4E342E));
             Shape mirrored = subtract(rect(20, 146, 211, 30), ellipse(125.5f, 140, 88, 30));
             c.paint(mirrored, hex(0x5D4037, 0.35f));
         }},
        {"fall_leaves_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x6D4C41), Hf, hex(0x3E2723)), 1);
             Random r(11);
             const uint32_t cs[] = {0xD84315, 0xFF8F00, 0xFBC02D, 0xB71C1C, 0x8D6E63};
             for (int i = 0; i < 55; ++i) {
                 const float x = r.range(-10, Wf + 10), y = r.range(-10, Hf + 10), s = r.range(9, 18), a = r.range(0, 180);
                 const Rgba col = hex(cs[i % 5]);
                 Shape leaf = unite(ellipse(x, y, s, s * 0.45f, a), unite(ellipse(x, y, s * 0.75f, s * 0.35f, a + 50),
                                                                           ellipse(x, y, s * 0.75f, s * 0.35f, a - 50)));
                 c.paint(leaf, col);
                 const float ar = a * kPi / 180.0f;
                 c.paint(segment({x - std::cos(ar) * s, y - std::sin(ar) * s}, {x + std::cos(ar) * s * 1.3f, y + std::sin(ar) * s * 1.3f}, 1.2f),
                         darker(col, 0.4f));
             }
         }},
        {"forest_road_skin.png",
         [](Canvas& c) {
             sky(c, 0x9FD3F0, 0xE3F4FB, 90);
             c.paint(rect(0, 90, Wf, 104), hex(0x3E7D3A));
             c.paint(polygon({{118, 90}, {133, 90}, {200, 194}, {51, 194}}), vertical(90, hex(0x9E9E9E), 194, hex(0x616161)));
             for (int i = 0; i < 6; ++i) {
                 const float t = static_cast<float>(i) / 6.0f;
                 const float y = 95 + 100 * t * t;
                 c.paint(rect(124.5f, y, 2 + 4 * t, 4 + 10 * t), hex(0xFFF59D));
             }
             for (int side = 0; side < 2; ++side)
                 for (int i = 0; i < 6; ++i) {
                     const float t = static_cast<float>(i) / 5.0f;
                     const float x = side ? 150 + t * t * 110 : 101 - t * t * 110;
                     const float h = 30 + 90 * t, base = 92 + 90 * t;
                     c.paint(rect(x - 2 - 2 * t, base - 8, 4 + 4 * t, 12 + 8 * t), hex(0x4E342E));
                     c.paint(polygon({{x, base - h}, {x + h * 0.32f, base}, {x - h * 0.32f, base}}),
                             vertical(base - h, hex(0x2E7D32), base, hex(0x1B5E20)));
                 }
         }},
        {"lightening_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) { return mix(hex(0x1A1030), hex(0x4A3A6A), fbm(x / 60, y / 40, 4, 13) * 1.2f - 0.1f); }, 1);
             Shape bolt = polygon({{140, 0}, {98, 88}, {126, 88}, {92, 194}, {170, 70}, {138, 70}, {168, 0}});
             c.glow(bolt, hex(0xB3E5FC, 0.8f), 18);
             c.paint(bolt, hex(0xFFF9C4));
         }},
        {"lunar_earth_skin.png",
         [](Canvas& c) {
             c.fill(hex(0x02030A));
             stars(c, 14, 70, hex(0xFFFFFF), 1.8f);
             Shape earth = circle(170, 70, 46);
             c.glow(earth, hex(0x64B5F6, 0.5f), 8);
             c.paint(earth, [](float x, float y) {
                 const float n = fbm(x / 22, y / 22, 4, 5);
                 Rgba col = n > 0.55f ? hex(0x43A047) : hex(0x1E88E5);
                 if (fbm(x / 12 + 9, y / 18, 3, 8) > 0.66f) col = hex(0xFFFFFF);
                 const float shade = smoothstep(-30, 50, x - 170 + y - 70);
                 return darker(col, shade * 0.8f);
             });
             c.paint(ellipse(125, 250, 220, 100), [](float x, float y) { return mix(hex(0x9E9E9E), hex(0x616161), fbm(x / 15, y / 15, 3, 3)); });
             Random r(4);
             for (int i = 0; i < 10; ++i) {
                 const float x = r.range(0, Wf), y = r.range(160, 194), s = r.range(4, 10);
                 c.paint(ellipse(x, y, s, s * 0.4f), hex(0x555555));
                 c.paint(ellipse(x, y - 1, s * 0.8f, s * 0.3f), hex(0x777777));
             }
         }},
        {"seashore_skin.png",
         [](Canvas& c) {
             sky(c, 0x4FC3F7, 0xB3E5FC, 80);
             c.paint(circle(200, 30, 16), hex(0xFFF59D));
             c.paint(rect(0, 80, Wf, 60), vertical(80, hex(0x0277BD), 140, hex(0x4DD0E1)));
             c.paint(polygon({{0, 130}, {60, 124}, {130, 132}, {200, 122}, {251, 128}, {251, 194}, {0, 194}}), vertical(122, hex(0xF0DCA8), 194, hex(0xD7B77A)));
             c.paint(outline(polygon({{0, 130}, {60, 124}, {130, 132}, {200, 122}, {251, 128}, {251, 200}, {0, 200}}), 3), hex(0xFFFFFF, 0.85f));
             c.paint(star(50, 170, 9, 4, 5), hex(0xFF7043));
             c.paint(ellipse(190, 165, 10, 6, 20), hex(0xFFFFFF, 0.9f));
         }},
        {"tropical_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0xFF6F91), Hf, hex(0xFFC75F)), 1);
             c.paint(circle(90, 120, 40), hex(0xFFE29A));
             for (int i = 0; i < 5; ++i) c.paint(rect(40, 110 + static_cast<float>(i) * 10, 100, 3), hex(0xFF9671, 0.9f));
             c.paint(rect(0, 160, Wf, 34), hex(0x845EC2));
             palm(c, 190, 194, 150, hex(0x2C1B47));
             palm(c, 40, 194, 90, hex(0x2C1B47));
         }},
        {"universe_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const float n = fbm(x / 50, y / 50, 5, 17);
                 Rgba col = mix(hex(0x050314), hex(0x3A1C71), smoothstep(0.35f, 0.7f, n));
                 return mix(col, hex(0xD76D77), smoothstep(0.62f, 0.85f, fbm(x / 30 + 3, y / 30, 4, 21)) * 0.7f);
             }, 1);
             stars(c, 17, 90, hex(0xFFFFFF), 2.0f);
             for (int arm = 0; arm < 2; ++arm)
                 for (int i = 0; i < 60; ++i) {
                     const float t = static_cast<float>(i) / 60.0f;
                     const float a = t * 4.5f + static_cast<float>(arm) * kPi;
                     c.paint(circle(170 + std::cos(a) * t * 45, 90 + std::sin(a) * t * 22, 3.5f * (1 - t) + 0.8f), hex(0xE1F5FE, 0.5f));
                 }
             c.glow(circle(170, 90, 6), hex(0xFFFFFF, 0.9f), 8);
         }},
        {"argyle_pink_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const float u = x / 42.0f, v = y / 48.0f;
                 const float a = std::fabs(std::fmod(u + v, 2.0f) - 1), b = std::fabs(std::fmod(u - v + 100, 2.0f) - 1);
                 const bool dark = (static_cast<int>(std::floor(u + v)) + static_cast<int>(std::floor(u - v + 100))) % 2 == 0;
                 Rgba col = dark ? hex(0xE91E63) : hex(0xF8BBD0);
                 // Thin dashed lines across the diamonds.
                 const float du = std::fabs(std::fmod(x + y * 0.875f, 42.0f)), dv = std::fabs(std::fmod(x - y * 0.875f + 420, 42.0f));
                 if ((du < 1.2f || dv < 1.2f) && std::fmod(x, 6.0f) < 3.5f) col = hex(0xFFFFFF);
                 (void)a;
                 (void)b;
                 return col;
             }, 3);
             gloss(c, 0.15f);
         }},
        {"burberry_skin.png",
         [](Canvas& c) {
             c.fill(hex(0xD8C3A5));
             auto band = [&](bool vert, float at, float width, Rgba col) {
                 c.paint(vert ? rect(at, 0, width, Hf) : rect(0, at, Wf, width), col);
             };
             for (float k = -40; k < 260; k += 80) {
                 for (bool vert : {true, false}) {
                     band(vert, k + 20, 14, hex(0x1A1A1A, 0.75f));
                     band(vert, k + 12, 3, hex(0x1A1A1A, 0.6f));
                     band(vert, k + 37, 3, hex(0x1A1A1A, 0.6f));
                     band(vert, k + 60, 3, hex(0xC62828, 0.9f));
                     band(vert, k + 48, 2, hex(0xFFFFFF, 0.8f));
                 }
             }
         }},
        {"confetti_skin.png",
         [](Canvas& c) {
             c.fill(hex(0xFFFDF7));
             Random r(20);
             const uint32_t cs[] = {0xE53935, 0x1E88E5, 0xFDD835, 0x43A047, 0x8E24AA, 0xFB8C00, 0x00ACC1};
             for (int i = 0; i < 140; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf);
                 const Rgba col = hex(cs[i % 7]);
                 if (i % 3 == 0) c.paint(circle(x, y, r.range(2, 4)), col);
                 else c.paint(rotated(rect(x - 5, y - 2, 10, 4), x, y, r.range(0, 180)), col);
             }
         }},
        {"paisley_skin.png",
         [](Canvas& c) {
             c.fill(hex(0x00695C));
             for (int row = 0; row < 4; ++row)
                 for (int col = 0; col < 5; ++col) {
                     const float x = static_cast<float>(col) * 56 + (row % 2 ? 28 : 0) - 5, y = static_cast<float>(row) * 56 + 10;
                     const float a = row % 2 ? 30.0f : -30.0f;
                     Shape drop = rotated(unite(circle(x, y + 8, 15), polygon({{x - 15, y + 6}, {x + 15, y + 6}, {x + 14, y - 22}})), x, y, a);
                     c.paint(drop, hex(0xFFB74D));
                     c.paint(outline(drop, 2.5f), hex(0xFFF3E0));
                     c.paint(rotated(circle(x, y + 8, 7), x, y, a), hex(0xD84315));
                     c.paint(rotated(circle(x, y + 8, 3), x, y, a), hex(0xFFF3E0));
                     c.paint(circle(x + 26, y + 30, 3), hex(0xFFF3E0, 0.8f));
                 }
         }},
        {"pink_polkadots_skin.png", [](Canvas& c) { dots(c, hex(0xEC407A), hex(0xFFFFFF), 9, 34); }},
        {"blue_polkadots_skin.png", [](Canvas& c) { dots(c, hex(0xFFFFFF), hex(0x1E88E5), 11, 38); }},
        {"white_polkadots_skin.png", [](Canvas& c) { dots(c, hex(0x111111), hex(0xFFFFFF), 6, 24); }},
        {"alligator_skin.png",
         [](Canvas& c) {
             // Scales: the nearest of a jittered grid of points gives each cell.
             c.shade([](float x, float y) {
                 float best = 1e9f, second = 1e9f;
                 const float cell = 26;
                 const int cx = static_cast<int>(std::floor(x / cell)), cy = static_cast<int>(std::floor(y / cell));
                 for (int j = -1; j <= 1; ++j)
                     for (int i = -1; i <= 1; ++i) {
                         const float px = (static_cast<float>(cx + i) + noise(static_cast<float>(cx + i) * 7.1f, static_cast<float>(cy + j) * 3.3f, 25)) * cell;
                         const float py = (static_cast<float>(cy + j) + noise(static_cast<float>(cx + i) * 2.7f, static_cast<float>(cy + j) * 5.9f, 26)) * cell;
                         const float d = std::hypot(x - px, y - py);
                         if (d < best) { second = best; best = d; }
                         else if (d < second) second = d;
                     }
                 const float edge = second - best;
                 const Rgba scale = mix(hex(0x556B2F), hex(0x8FA35A), best / 20);
                 return mix(hex(0x1F2A12), scale, smoothstep(1, 4, edge));
             }, 2);
         }},
        {"angelfish_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x29B6F6), Hf, hex(0x01579B)), 1);
             Random r(26);
             for (int i = 0; i < 14; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(2, 5);
                 c.paint(outline(circle(x, y, s), 1.2f), hex(0xFFFFFF, 0.6f));
             }
             // The butterflyfish: a round yellow body, a black band through the eye, a tail.
             c.paint(polygon({{175, 97}, {215, 70}, {210, 97}, {215, 124}}), hex(0xFDD835));
             Shape body = ellipse(125, 97, 55, 48);
             c.paint(body, vertical(50, hex(0xFFF176), 145, hex(0xF9A825)));
             c.paint(intersect(rect(88, 40, 14, 120), body), hex(0x212121));
             c.paint(polygon({{100, 52}, {160, 40}, {170, 60}}), hex(0xFBC02D));
             c.paint(circle(95, 88, 6), hex(0xFFFFFF));
             c.paint(circle(95, 88, 3), hex(0x000000));
             c.paint(intersect(rect(150, 40, 10, 120), body), hex(0xFFFFFF, 0.85f));
             c.paint(circle(160, 105, 6), hex(0x212121));
         }},
        {"gecko_skin.png",
         [](Canvas& c) {
             // Leopard gecko skin: yellow with dark spots and a purple band.
             c.shade([](float x, float y) {
                 Rgba col = mix(hex(0xFFD54F), hex(0xFFB300), fbm(x / 40, y / 40, 3, 27));
                 if (std::fmod(y + 20 * std::sin(x / 35), 70.0f) < 20) col = mix(col, hex(0x9575CD), 0.55f);
                 return col;
             }, 1);
             Random r(27);
             for (int i = 0; i < 70; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(2.5f, 6);
                 c.paint(ellipse(x, y, s, s * r.range(0.6f, 1), r.range(0, 180)), hex(0x3E2723));
             }
             gloss(c, 0.12f);
         }},
        {"tiger_skin.png", [](Canvas& c) { animalStripes(c, hex(0xF57C00), hex(0x141414), 30, 8, 28, 0.62f); }},
        {"zebra_skin.png", [](Canvas& c) { animalStripes(c, hex(0xF7F7F2), hex(0x101010), 24, 80, 29, 0.45f); }},
        {"clouds_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x1E88E5), Hf, hex(0x90CAF9)), 1);
             cloud(c, 20, 50, 1.1f, hex(0xFFFFFF));
             cloud(c, 140, 35, 0.8f, hex(0xFFFFFF));
             cloud(c, 90, 120, 1.4f, hex(0xFFFFFF));
             cloud(c, 200, 150, 0.9f, hex(0xF5F5F5));
             cloud(c, -20, 170, 1.0f, hex(0xF5F5F5));
         }},
        {"water_drops_skin.png",
         [](Canvas& c) {
             c.shade(radial(125, 97, 180, hex(0x4DB6AC), hex(0x00352F)), 1);
             Random r(31);
             for (int i = 0; i < 38; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(4, 14);
                 c.paint(ellipse(x + 1.5f, y + 2, s, s * 1.1f), hex(0x00251F, 0.35f));
                 c.paint(ellipse(x, y, s, s * 1.1f), radial(x - s * 0.3f, y - s * 0.3f, s * 1.4f, hex(0xE0F2F1, 0.9f), hex(0x26A69A, 0.6f)));
                 c.paint(ellipse(x - s * 0.35f, y - s * 0.45f, s * 0.28f, s * 0.18f, -30), hex(0xFFFFFF, 0.95f));
             }
         }},
        {"flag_us_skin.png",
         [](Canvas& c) {
             for (int i = 0; i < 13; ++i)
                 c.paint(rect(0, static_cast<float>(i) * Hf / 13, Wf, Hf / 13 + 1), hex(i % 2 ? 0xFFFFFF : 0xB22234));
             const float cw = 110, ch = Hf * 7 / 13;
             c.paint(rect(0, 0, cw, ch), hex(0x3C3B6E));
             for (int row = 0; row < 9; ++row)
                 for (int col = 0; col < (row % 2 ? 5 : 6); ++col) {
                     const float x = 9 + static_cast<float>(col) * 18.4f + (row % 2 ? 9.2f : 0), y = 6 + static_cast<float>(row) * (ch - 12) / 8;
                     c.paint(star(x, y, 4.2f, 1.7f, 5), hex(0xFFFFFF));
                 }
             cloth(c);
         }},
        {"flag_uk_skin.png",
         [](Canvas& c) {
             c.fill(hex(0x012169));
             c.paint(segment({0, 0}, {Wf, Hf}, 36), hex(0xFFFFFF));
             c.paint(segment({Wf, 0}, {0, Hf}, 36), hex(0xFFFFFF));
             // The red saltire, counterchanged.
             c.paint(intersect(segment({0, 0}, {Wf, Hf}, 12), polygon({{0, 0}, {Wf, Hf}, {0, Hf}})), hex(0xC8102E));
             c.paint(intersect(segment({0, 0}, {Wf, Hf}, 12), polygon({{0, 0}, {Wf, 0}, {Wf, Hf}})), hex(0xC8102E));
             c.paint(intersect(segment({Wf, 0}, {0, Hf}, 12), polygon({{Wf, 0}, {Wf, Hf}, {0, Hf}})), hex(0xC8102E));
             c.paint(intersect(segment({Wf, 0}, {0, Hf}, 12), polygon({{Wf, 0}, {0, Hf}, {0, 0}})), hex(0xC8102E));
             c.paint(rect(Wf / 2 - 26, 0, 52, Hf), hex(0xFFFFFF));
             c.paint(rect(0, Hf / 2 - 26, Wf, 52), hex(0xFFFFFF));
             c.paint(rect(Wf / 2 - 16, 0, 32, Hf), hex(0xC8102E));
             c.paint(rect(0, Hf / 2 - 16, Wf, 32), hex(0xC8102E));
             cloth(c);
         }},
        {"flag_france_skin.png",
         [](Canvas& c) {
             flagStripes(c, {0x0055A4, 0xFFFFFF, 0xEF4135}, true);
             cloth(c);
         }},
        {"flag_china_skin.png",
         [](Canvas& c) {
             c.fill(hex(0xDE2910));
             c.paint(star(45, 50, 29, 11, 5), hex(0xFFDE00));
             const Pt small[] = {{90, 20}, {108, 38}, {108, 64}, {90, 82}};
             for (const auto& p : small) {
                 const float a = std::atan2(50 - p.y, 45 - p.x) * 180 / kPi;
                 c.paint(star(p.x, p.y, 9, 3.5f, 5, a), hex(0xFFDE00));
             }
             cloth(c);
         }},
        {"puerto_rico_skin.png",
         [](Canvas& c) {
             flagStripes(c, {0xED0000, 0xFFFFFF, 0xED0000, 0xFFFFFF, 0xED0000}, false);
             c.paint(polygon({{0, 0}, {150, Hf / 2}, {0, Hf}}), hex(0x0050F0));
             c.paint(star(48, Hf / 2, 24, 9.5f, 5), hex(0xFFFFFF));
             cloth(c);
         }},
        {"tour_eiffel_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x283593), Hf, hex(0xFF8A65)), 1);
             stars(c, 37, 20, hex(0xFFFFFF, 0.8f), 1.2f);
             const Rgba ink = hex(0x1A1A2E);
             c.paint(polygon({{122, 4}, {129, 4}, {136, 60}, {148, 110}, {185, 194}, {155, 194}, {125.5f, 140}, {96, 194}, {66, 194}, {103, 110}, {115, 60}}), ink);
             c.paint(subtract(rect(90, 160, 71, 34), ellipse(125.5f, 194, 24, 30)), ink);
             c.paint(rect(100, 108, 51, 6), ink);
             c.paint(rect(112, 60, 27, 4), ink);
             c.paint(rect(125, 0, 1.5f, 6), ink);
             c.paint(rect(0, 186, Wf, 8), hex(0x10101E));
         }},
        {"snowflakes_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x0D47A1), Hf, hex(0x42A5F5)), 1);
             Random r(38);
             for (int i = 0; i < 16; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(7, 20), rot = r.range(0, 60);
                 for (int k = 0; k < 6; ++k) {
                     const float a = (rot + static_cast<float>(k) * 60) * kPi / 180;
                     const Pt tip{x + std::cos(a) * s, y + std::sin(a) * s};
                     c.paint(segment({x, y}, tip, s * 0.1f + 0.6f), hex(0xFFFFFF));
                     for (float side : {-1.0f, 1.0f}) {
                         const float b = a + side * 0.7f;
                         const Pt mid{x + std::cos(a) * s * 0.55f, y + std::sin(a) * s * 0.55f};
                         c.paint(segment(mid, {mid.x + std::cos(b) * s * 0.3f, mid.y + std::sin(b) * s * 0.3f}, s * 0.07f + 0.5f), hex(0xFFFFFF));
                     }
                 }
             }
         }},
        {"anime_hair_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x4FC3F7), Hf, hex(0x0288D1)), 1);
             // Spiky hair, drawn as long sharp locks from a crown off the bottom.
             Random r(39);
             for (int i = 0; i < 16; ++i) {
                 const float bx = 20 + static_cast<float>(i) * 14, a = r.range(-150, -30) * kPi / 180, l = r.range(90, 170);
                 const Pt tip{bx + std::cos(a) * l, 194 + std::sin(a) * l};
                 c.paint(polygon({{bx - 22, 200}, {bx + 22, 200}, tip}), vertical(tip.y, hex(0xFFF176), 194, hex(0xF9A825)));
                 c.paint(segment({bx, 196}, {(bx + tip.x) / 2, (196 + tip.y) / 2}, 2), hex(0xFFFDE7, 0.7f));
             }
         }},
        {"anime_eyes_skin.png",
         [](Canvas& c) {
             c.fill(hex(0xFFE0C8));
             for (float cx : {68.0f, 183.0f}) {
                 Shape eye = ellipse(cx, 100, 46, 36);
                 c.paint(eye, hex(0xFFFFFF));
                 c.paint(intersect(ellipse(cx, 104, 26, 34), eye), vertical(70, hex(0x283593), 138, hex(0x7E57C2)));
                 c.paint(intersect(ellipse(cx, 106, 12, 16), eye), hex(0x0D0D26));
                 c.paint(circle(cx - 10, 88, 8), hex(0xFFFFFF));
                 c.paint(circle(cx + 9, 118, 4), hex(0xFFFFFF, 0.9f));
                 c.paint(outline(intersect(eye, rect(cx - 50, 56, 100, 40)), 5), hex(0x1A1A1A));
                 c.paint(segment({cx - 40, 52}, {cx + 35, 46}, 6), hex(0x5D4037));
                 c.paint(ellipse(cx, 150, 26, 6), hex(0xF48FB1, 0.5f));
             }
         }},
        {"flaming_guitar_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const float f = fbm(x / 30, y / 22 + 3, 5, 41) + (1 - y / Hf) * -0.5f + 0.25f;
                 return mix(mix(hex(0x1A0000), hex(0xD32F2F), smoothstep(0.2f, 0.5f, f)), hex(0xFFEB3B), smoothstep(0.5f, 0.8f, f));
             }, 1);
             // The guitar lying across, body left, neck right.
             Shape body = unite(circle(70, 118, 40), circle(108, 98, 30));
             c.paint(rotated(body, 125, 97, -15), vertical(60, hex(0x212121), 160, hex(0x000000)));
             c.paint(rotated(circle(88, 108, 10), 125, 97, -15), hex(0xFFB300));
             c.paint(rotated(rect(110, 98, 120, 12), 125, 97, -15), hex(0x4E342E));
             c.paint(rotated(roundRect(225, 92, 22, 24, 4), 125, 97, -15), hex(0x212121));
             for (int s = 0; s < 4; ++s)
                 c.paint(rotated(rect(60, 100 + static_cast<float>(s) * 3, 170, 0.8f), 125, 97, -15), hex(0xE0E0E0));
         }},
        {"guitar_flame_play_skin.png",
         [](Canvas& c) {
             c.fill(hex(0x120312));
             c.paint(polygon({{80, 0}, {170, 0}, {230, 194}, {20, 194}}), [](float, float y) { return Rgba{1, 0.9f, 0.6f, 0.25f * (1 - y / 194)}; });
             c.shade([](float x, float y) {
                 const float f = fbm(x / 25, y / 18, 4, 42) - (194 - y) / 140;
                 return Rgba{1, 0.45f + 0.5f * smoothstep(0.1f, 0.4f, f), 0.1f, smoothstep(-0.05f, 0.3f, f)};
             }, 1);
             // The player: head, body, arms and the guitar across.
             const Rgba ink = hex(0x050505);
             c.paint(circle(125, 52, 16), ink);
             c.paint(polygon({{105, 70}, {145, 70}, {152, 150}, {98, 150}}), ink);
             c.paint(polygon({{98, 150}, {120, 150}, {112, 194}, {88, 194}}), ink);
             c.paint(polygon({{130, 150}, {152, 150}, {162, 194}, {138, 194}}), ink);
             c.paint(rotated(unite(circle(112, 122, 20), rect(112, 117, 80, 8)), 125, 110, -25), hex(0xB71C1C));
             c.paint(segment({108, 80}, {95, 120}, 9), ink);
             c.paint(segment({142, 80}, {168, 100}, 9), ink);
         }},
        {"beluga_whale_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x4FC3F7), Hf, hex(0x01345A)), 1);
             for (int i = 0; i < 5; ++i)
                 c.paint(polygon({{30 + static_cast<float>(i) * 50, 0}, {50 + static_cast<float>(i) * 50, 0}, {10 + static_cast<float>(i) * 55, 194}, {-5 + static_cast<float>(i) * 55, 194}}), hex(0xFFFFFF, 0.06f));
             Shape whale = unite(unite(ellipse(120, 105, 78, 34, -5), circle(60, 96, 30)), polygon({{190, 100}, {235, 70}, {226, 105}, {238, 135}}));
             c.paint(whale, vertical(60, hex(0xFFFFFF), 140, hex(0xB0BEC5)));
             c.paint(circle(52, 96, 3.5f), hex(0x263238));
             c.paint(segment({38, 112}, {58, 116}, 2), hex(0x78909C));
             c.paint(ellipse(110, 130, 16, 6, 30), hex(0xCFD8DC));
         }},
        {"cloudy_sky_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const float n = fbm(x / 70, y / 35, 5, 44);
                 const Rgba skyCol = mix(hex(0x78909C), hex(0xB0BEC5), y / Hf);
                 return mix(skyCol, mix(hex(0xECEFF1), hex(0x90A4AE), y / Hf), smoothstep(0.45f, 0.7f, n));
             }, 1);
         }},
        {"retro_surfing_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0xFF5E62), 110, hex(0xFFC371)), 1);
             Shape sun = circle(170, 95, 48);
             c.paint(sun, vertical(47, hex(0xFFF59D), 143, hex(0xFF8A65)));
             for (int i = 0; i < 5; ++i) c.paint(rect(110, 100 + static_cast<float>(i) * 9, 120, 2.5f + static_cast<float>(i) * 0.6f), hex(0xFF7E5F));
             c.paint(rect(0, 120, Wf, 74), hex(0x00838F));
             // The wave's curl.
             Shape wave = subtract(circle(60, 130, 70), circle(80, 120, 42));
             c.paint(intersect(wave, rect(-20, 60, 160, 140)), vertical(60, hex(0x4DD0E1), 194, hex(0x006064)));
             c.paint(intersect(outline(circle(60, 130, 68), 5), rect(-20, 58, 150, 60)), hex(0xFFFFFF, 0.9f));
             c.paint(rotated(ellipse(120, 150, 22, 5), 120, 150, -20), hex(0xFDD835));
         }},
        {"stardust_skin.png",
         [](Canvas& c) {
             c.shade(radial(125, 97, 170, hex(0x3B1E54), hex(0x0B0614)), 1);
             Random r(46);
             for (int i = 0; i < 200; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(0.3f, 1.5f);
                 c.paint(circle(x, y, s), hex(r.next() > 0.5f ? 0xFFD54F : 0xFFFFFF, r.range(0.4f, 1)));
             }
             for (int i = 0; i < 12; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf), s = r.range(4, 9);
                 c.glow(circle(x, y, 1), hex(0xFFE082, 0.8f), s);
                 c.paint(star(x, y, s, s * 0.15f, 4, 0), hex(0xFFF8E1));
             }
         }},
        {"whale_pattern_skin.png",
         [](Canvas& c) {
             c.fill(hex(0xBBDEFB));
             for (int row = 0; row < 5; ++row)
                 for (int col = 0; col < 5; ++col) {
                     const float x = static_cast<float>(col) * 56 + (row % 2 ? 28 : 0) - 8, y = static_cast<float>(row) * 42 + 18;
                     const Rgba ink = hex(0x1A237E);
                     c.paint(unite(ellipse(x, y, 17, 10), polygon({{x + 12, y}, {x + 27, y - 10}, {x + 25, y + 1}, {x + 28, y + 9}})), ink);
                     c.paint(circle(x - 9, y - 2, 1.6f), hex(0xFFFFFF));
                     c.paint(segment({x - 4, y - 10}, {x - 6, y - 17}, 1.4f), hex(0x64B5F6));
                     c.paint(segment({x - 4, y - 10}, {x - 1, y - 17}, 1.4f), hex(0x64B5F6));
                 }
         }},
        {"cows_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const float n = fbm(x / 45, y / 45, 4, 48);
                 return n > 0.58f ? hex(0x111111) : hex(0xFAFAFA);
             }, 3);
         }},
        {"golden_gate_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0xFF7043), 130, hex(0xFFE0B2)), 1);
             c.paint(rect(0, 140, Wf, 54), vertical(140, hex(0x5C6BC0), 194, hex(0x1A237E)));
             const Rgba red = hex(0xC1440E);
             for (float tx : {60.0f, 190.0f}) {
                 c.paint(rect(tx - 7, 20, 5, 130), red);
                 c.paint(rect(tx + 2, 20, 5, 130), red);
                 for (float y : {30.0f, 60.0f, 90.0f}) c.paint(rect(tx - 7, y, 14, 4), red);
             }
             c.paint(rect(0, 118, Wf, 7), red);
             // The main cable sags between the towers; suspenders hang from it to the deck.
             auto cable = [](float t) { return 22 + 80 * (1 - 4 * (t - 0.5f) * (t - 0.5f)); };
             for (int i = 0; i < 100; ++i) {
                 const float t0 = static_cast<float>(i) / 100.0f, t1 = static_cast<float>(i + 1) / 100.0f;
                 c.paint(segment({60 + 130 * t0, cable(t0)}, {60 + 130 * t1, cable(t1)}, 2.5f), red);
             }
             for (int i = 1; i < 13; ++i) {
                 const float t = static_cast<float>(i) / 13.0f, y = cable(t);
                 c.paint(rect(60 + 130 * t, y, 1, 118 - y), red);
             }
             c.paint(segment({60, 22}, {0, 110}, 3), red);
             c.paint(segment({190, 22}, {251, 110}, 3), red);
             c.paint(rect(0, 150, Wf, 3), hex(0xFFFFFF, 0.2f));
         }},
        {"hong_kong_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x0D0221), 140, hex(0x3F1D5B)), 1);
             Random r(50);
             float x = 0;
             while (x < Wf) {
                 const float w = r.range(14, 30), h = r.range(50, 125), top = 140 - h;
                 const Rgba tower = hex(r.next() > 0.5f ? 0x1B1B3A : 0x24244A);
                 c.paint(rect(x, top, w - 2, h), tower);
                 const uint32_t lights[] = {0xFFE082, 0x80DEEA, 0xF48FB1};
                 for (float wy = top + 4; wy < 136; wy += 6)
                     for (float wx = x + 3; wx < x + w - 5; wx += 5)
                         if (r.next() > 0.45f) c.paint(rect(wx, wy, 2, 3), hex(lights[static_cast<int>(r.next() * 3)]));
                 x += w;
             }
             c.paint(rect(0, 140, Wf, 54), vertical(140, hex(0x1A1040), 194, hex(0x05030F)));
             for (int i = 0; i < 70; ++i) {
                 const float rx = r.range(0, Wf), ry = r.range(144, 190);
                 c.paint(rect(rx, ry, r.range(3, 10), 1.2f), hex(0xFFE082, r.range(0.2f, 0.6f)));
             }
         }},
        {"graffiti_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float y) {
                 const int row = static_cast<int>(y / 16);
                 const float off = row % 2 ? 17.0f : 0.0f;
                 const bool mortar = std::fmod(y, 16.0f) < 2 || std::fmod(x + off, 34.0f) < 2;
                 return mortar ? hex(0xBDBDBD) : mix(hex(0x8D3B2B), hex(0xA84A35), noise(std::floor((x + off) / 34) * 3.1f, static_cast<float>(row) * 1.7f, 51));
             }, 1);
             Random r(51);
             const uint32_t cs[] = {0xFF4081, 0x00E5FF, 0x76FF03, 0xFFEA00, 0xD500F9};
             for (int i = 0; i < 9; ++i) {
                 const float x = r.range(0, Wf), y = r.range(0, Hf);
                 c.glow(circle(x, y, r.range(10, 24)), hex(cs[i % 5], 0.7f), 10);
             }
             c.text(boldFont(), 58, "VOLT", Wf / 2 + 3, 61, hex(0x000000, 0.6f), Align::Center);
             c.text(boldFont(), 58, "VOLT", Wf / 2, 58, hex(0xFFEA00), Align::Center);
             c.text(boldFont(), 26, "wise!", Wf / 2 + 40, 124, hex(0x00E5FF), Align::Center);
             c.paint(segment({20, 170}, {110, 150}, 5), hex(0xFF4081));
             c.paint(segment({140, 160}, {230, 175}, 5), hex(0x76FF03));
         }},
        {"wolf_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0x0A1931), Hf, hex(0x185ADB)), 1);
             stars(c, 52, 40, hex(0xFFFFFF), 1.4f);
             c.glow(circle(175, 60, 34), hex(0xFFFDE7, 0.5f), 16);
             c.paint(circle(175, 60, 34), hex(0xFFFDE7));
             c.paint(circle(165, 52, 6), hex(0xE0DCC0));
             c.paint(circle(186, 72, 4), hex(0xE0DCC0));
             const Rgba ink = hex(0x050A14);
             c.paint(polygon({{0, 160}, {60, 150}, {120, 165}, {180, 150}, {251, 160}, {251, 194}, {0, 194}}), ink);
             // Sitting wolf, muzzle raised to the moon.
             c.paint(polygon({{70, 160}, {78, 120}, {92, 95}, {100, 70}, {108, 58}, {124, 44}, {128, 50}, {120, 62}, {118, 72}, {124, 82}, {118, 92}, {122, 130}, {130, 160}}), ink);
             c.paint(polygon({{104, 60}, {108, 44}, {114, 56}}), ink);
             c.paint(polygon({{70, 160}, {50, 150}, {40, 158}, {60, 165}}), ink);
         }},
        {"tropical_island_skin.png",
         [](Canvas& c) {
             sky(c, 0x29B6F6, 0xE1F5FE, 100);
             cloud(c, 20, 35, 0.6f, hex(0xFFFFFF));
             cloud(c, 170, 25, 0.5f, hex(0xFFFFFF));
             c.paint(rect(0, 100, Wf, 94), vertical(100, hex(0x26C6DA), 194, hex(0x00838F)));
             for (int i = 0; i < 8; ++i) c.paint(rect(10 + static_cast<float>(i) * 30, 150 + static_cast<float>(i % 3) * 12, 18, 1.5f), hex(0xFFFFFF, 0.5f));
             c.paint(ellipse(125, 132, 70, 16), hex(0xFFE082));
             c.paint(ellipse(125, 136, 80, 14), hex(0x80DEEA, 0.4f));
             palm(c, 118, 130, 90, hex(0x2E7D32));
         }},
        {"worldcup_ball_skin.png",
         [](Canvas& c) {
             c.shade([](float x, float) { return static_cast<int>(x / 25) % 2 ? hex(0x388E3C) : hex(0x43A047); }, 1);
             const float cx = 125, cy = 97, r = 72;
             c.paint(ellipse(cx + 6, cy + r - 2, r * 0.8f, 8), hex(0x000000, 0.3f));
             Shape ball = circle(cx, cy, r);
             c.paint(ball, radial(cx - 25, cy - 25, r * 1.7f, hex(0xFFFFFF), hex(0xB0B0B0)));
             c.paint(intersect(star(cx, cy, 24, 19.5f, 5), ball), hex(0x111111));
             for (int k = 0; k < 5; ++k) {
                 const float a = (-90 + static_cast<float>(k) * 72) * kPi / 180;
                 const float px = cx + std::cos(a) * r * 0.82f, py = cy + std::sin(a) * r * 0.82f;
                 c.paint(intersect(star(px, py, 19, 15.5f, 5, -90 + static_cast<float>(k) * 72 + 36), ball), hex(0x111111));
                 c.paint(segment({cx + std::cos(a) * 24, cy + std::sin(a) * 24}, {px - std::cos(a) * 14, py - std::sin(a) * 14}, 2), hex(0x555555));
             }
             c.paint(outline(ball, 2), hex(0x333333));
         }},
        {"aero_car_skin.png",
         [](Canvas& c) {
             c.shade(vertical(0, hex(0xCFD8DC), Hf, hex(0x607D8B)), 1);
             for (int i = 0; i < 9; ++i) {
                 const float y = 40 + static_cast<float>(i) * 12;
                 c.paint(rect(0, y, 60 + static_cast<float>(i % 3) * 20, 1.5f), hex(0xFFFFFF, 0.7f));
             }
             c.paint(rect(0, 150, Wf, 44), hex(0x37474F));
             for (int i = 0; i < 5; ++i) c.paint(rect(static_cast<float>(i) * 60, 168, 30, 3), hex(0xFFFFFF, 0.8f));
             car(c, 40, 154, 1.0f, hex(0x90A4AE), hex(0x1A237E, 0.85f));
         }},
        {"enzo_skin.png",
         [](Canvas& c) {
             c.shade(radial(125, 80, 200, hex(0x424242), hex(0x0A0A0A)), 1);
             c.paint(rect(0, 150, Wf, 44), vertical(150, hex(0x212121), 194, hex(0x000000)));
             c.paint(ellipse(125, 152, 110, 6), hex(0x000000, 0.7f));
             car(c, 40, 154, 1.0f, hex(0xD50000), hex(0x101010, 0.9f));
             c.paint(rect(196, 104, 16, 4), hex(0xFFEB3B));
         }},
        {"soccer_player_skin.png",
         [](Canvas& c) {
             c.shade([](float, float y) { return y < 60 ? mix(hex(0x1565C0), hex(0x64B5F6), y / 60) : (static_cast<int>((y - 60) / 22) % 2 ? hex(0x2E7D32) : hex(0x388E3C)); }, 1);
             c.paint(rect(0, 60, Wf, 2), hex(0xFFFFFF, 0.8f));
             const Rgba kit = hex(0xFFEB3B), ink = hex(0x1A1A1A);
             c.paint(circle(110, 42, 11), ink);
             c.paint(polygon({{96, 56}, {124, 56}, {128, 100}, {94, 100}}), kit);
             c.paint(segment({98, 62}, {72, 86}, 8), kit);
             c.paint(segment({122, 62}, {150, 70}, 8), kit);
             c.paint(segment({100, 100}, {92, 150}, 10), ink);
             c.paint(segment({92, 150}, {86, 182}, 9), ink);
             c.paint(segment({120, 100}, {150, 130}, 10), ink);
             c.paint(segment({150, 130}, {178, 122}, 9), ink);
             c.paint(rect(94, 96, 34, 14), hex(0x1A237E));
             c.paint(circle(196, 126, 11), hex(0xFFFFFF));
             c.paint(star(196, 126, 5, 4, 5), hex(0x111111));
             for (int i = 0; i < 3; ++i) c.paint(segment({210 + static_cast<float>(i) * 3, 118 + static_cast<float>(i) * 6}, {235, 116 + static_cast<float>(i) * 6}, 1.5f), hex(0xFFFFFF, 0.7f));
         }},
    };
    return m;
}

}  // namespace

Canvas drawSkin(const std::string& file) {
    const auto& m = designs();
    auto it = m.find(file);
    if (it == m.end()) throw std::runtime_error("no design for skin " + file);
    Canvas c(W, H, hex(0x000000));
    it->second(c);
    return c;
}

std::vector<std::string> skinDesigns() {
    std::vector<std::string> names;
    for (const auto& [name, draw] : designs()) names.push_back(name);
    return names;
}

}  // namespace vw::art
