#include "resources/Canvas.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "platform/desktop/Fonts.h"

namespace vw::art {

namespace {
constexpr float kPi = 3.14159265358979f;

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
float len(float x, float y) { return std::sqrt(x * x + y * y); }

Box grow(Box b, float by) { return {b.x0 - by, b.y0 - by, b.x1 + by, b.y1 + by}; }
Box join(Box a, Box b) { return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)}; }

TTF_Font* openFont(const std::string& file, int size) {
    static std::map<std::pair<std::string, int>, TTF_Font*> fonts;
    auto key = std::make_pair(file, size);
    if (auto it = fonts.find(key); it != fonts.end()) return it->second;
    if (!TTF_WasInit() && TTF_Init() != 0) throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
    TTF_Font* f = TTF_OpenFont(file.c_str(), size);
    if (!f) throw std::runtime_error("cannot open font " + file + ": " + TTF_GetError());
    TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    fonts.emplace(key, f);
    return f;
}
}  // namespace

Rgba hex(uint32_t rgb, float alpha) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f, alpha};
}

Rgba mix(Rgba a, Rgba b, float t) {
    t = clamp01(t);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Rgba withAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }
Rgba lighter(Rgba c, float amount) { return mix(c, {1, 1, 1, c.a}, amount); }
Rgba darker(Rgba c, float amount) { return mix(c, {0, 0, 0, c.a}, amount); }

// ---- shapes ----

Shape circle(float cx, float cy, float r) {
    return {[=](float x, float y) { return len(x - cx, y - cy) - r; }, {cx - r, cy - r, cx + r, cy + r}};
}

Shape ellipse(float cx, float cy, float rx, float ry, float angleDegrees) {
    const float a = angleDegrees * kPi / 180.0f, c = std::cos(a), s = std::sin(a);
    const float m = std::max(rx, ry);
    return {[=](float x, float y) {
                const float dx = x - cx, dy = y - cy;
                const float u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
                return (len(u, v) - 1.0f) * std::min(rx, ry);
            },
            {cx - m, cy - m, cx + m, cy + m}};
}

Shape rect(float x, float y, float w, float h) { return roundRect(x, y, w, h, 0); }

Shape roundRect(float x, float y, float w, float h, float radius) {
    const float cx = x + w / 2, cy = y + h / 2, hx = w / 2 - radius, hy = h / 2 - radius;
    return {[=](float px, float py) {
                const float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
                return len(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
            },
            {x, y, x + w, y + h}};
}

Shape polygon(std::vector<Pt> v) {
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& p : v) b = join(b, {p.x, p.y, p.x, p.y});
    return {[v = std::move(v)](float x, float y) {
                const std::size_t n = v.size();
                float d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
                float s = 1.0f;
                for (std::size_t i = 0, j = n - 1; i < n; j = i, ++i) {
                    const float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
                    const float wx = x - v[i].x, wy = y - v[i].y;
                    const float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
                    const float bx = wx - ex * t, by = wy - ey * t;
                    d = std::min(d, bx * bx + by * by);
                    const bool c1 = y >= v[i].y, c2 = y < v[j].y, c3 = ex * wy > ey * wx;
                    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
                }
                return s * std::sqrt(d);
            },
            b};
}

Shape segment(Pt a, Pt b, float width) {
    const float r = width / 2;
    return {[=](float x, float y) {
                const float px = x - a.x, py = y - a.y, bx = b.x - a.x, by = b.y - a.y;
                const float h = std::clamp((px * bx + py * by) / std::max(1e-6f, bx * bx + by * by), 0.0f, 1.0f);
                return len(px - bx * h, py - by * h) - r;
            },
            {std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r}};
}

Shape star(float cx, float cy, float outer, float inner, int points, float rotationDegrees) {
    std::vector<Pt> v;
    for (int i = 0; i < points * 2; ++i) {
        const float a = (rotationDegrees + 180.0f * static_cast<float>(i) / static_cast<float>(points)) * kPi / 180.0f;
        const float r = i % 2 == 0 ? outer : inner;
        v.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return polygon(std::move(v));
}

Shape unite(const Shape& a, const Shape& b) {
    return {[da = a.d, db = b.d](float x, float y) { return std::min(da(x, y), db(x, y)); }, join(a.box, b.box)};
}

Shape subtract(const Shape& a, const Shape& b) {
    return {[da = a.d, db = b.d](float x, float y) { return std::max(da(x, y), -db(x, y)); }, a.box};
}

Shape intersect(const Shape& a, const Shape& b) {
    return {[da = a.d, db = b.d](float x, float y) { return std::max(da(x, y), db(x, y)); }, a.box};
}

Shape outline(const Shape& s, float width) {
    return {[d = s.d, width](float x, float y) { return std::fabs(d(x, y)) - width / 2; }, grow(s.box, width)};
}

Shape rotated(const Shape& s, float cx, float cy, float degrees) {
    const float a = degrees * kPi / 180.0f, c = std::cos(a), sn = std::sin(a);
    // The box of the turned shape: the turned corners of the old one.
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (float px : {s.box.x0, s.box.x1})
        for (float py : {s.box.y0, s.box.y1}) {
            const float dx = px - cx, dy = py - cy;
            const float x = cx + dx * c - dy * sn, y = cy + dx * sn + dy * c;
            b = join(b, {x, y, x, y});
        }
    return {[d = s.d, cx, cy, c, sn](float x, float y) {
                const float dx = x - cx, dy = y - cy;
                return d(cx + dx * c + dy * sn, cy - dx * sn + dy * c);
            },
            b};
}

// ---- noise ----

namespace {
float lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}
}  // namespace

float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

float noise(float x, float y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    const float a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    const float c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

float fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise(x, y, seed + static_cast<uint32_t>(i) * 131u);
        norm += amp;
        x = x * 2.03f + 17.1f;
        y = y * 2.01f + 5.3f;
        amp *= 0.5f;
    }
    return sum / norm;
}

float Random::next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return static_cast<float>(s_ & 0xFFFFFF) / 16777216.0f;
}

// ---- paints ----

Paint solid(Rgba c) {
    return [c](float, float) { return c; };
}
Paint vertical(float y0, Rgba top, float y1, Rgba bottom) {
    return [=](float, float y) { return mix(top, bottom, (y - y0) / (y1 - y0)); };
}
Paint horizontal(float x0, Rgba left, float x1, Rgba right) {
    return [=](float x, float) { return mix(left, right, (x - x0) / (x1 - x0)); };
}
Paint radial(float cx, float cy, float r, Rgba inner, Rgba outer) {
    return [=](float x, float y) { return mix(inner, outer, len(x - cx, y - cy) / r); };
}

// ---- canvas ----

Canvas::Canvas(int width, int height, Rgba background)
    : w_(width), h_(height), px_(static_cast<std::size_t>(width * height), background) {}

void Canvas::blend(int x, int y, Rgba c, float coverage) {
    const float a = clamp01(c.a * coverage);
    if (a <= 0) return;
    Rgba& d = px_[static_cast<std::size_t>(y * w_ + x)];
    const float outA = a + d.a * (1 - a);
    if (outA <= 0) return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Canvas::shade(const Paint& paint, int ss) {
    ss = std::max(1, ss);
    const float n = static_cast<float>(ss * ss);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            Rgba sum{};
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    const Rgba c = paint(static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / static_cast<float>(ss),
                                         static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / static_cast<float>(ss));
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            if (sum.a <= 0) continue;
            blend(x, y, {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, 1.0f}, sum.a / n);
        }
}

void Canvas::paint(const Shape& s, const Paint& paint, float opacity) {
    const int x0 = std::max(0, static_cast<int>(std::floor(s.box.x0 - 1)));
    const int y0 = std::max(0, static_cast<int>(std::floor(s.box.y0 - 1)));
    const int x1 = std::min(w_ - 1, static_cast<int>(std::ceil(s.box.x1 + 1)));
    const int y1 = std::min(h_ - 1, static_cast<int>(std::ceil(s.box.y1 + 1)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
            const float cov = clamp01(0.5f - s.d(cx, cy));
            if (cov > 0) blend(x, y, paint(cx, cy), cov * opacity);
        }
}

void Canvas::glow(const Shape& s, Rgba c, float radius) {
    const Shape wide{s.d, grow(s.box, radius)};
    paint(wide, [&](float x, float y) { return withAlpha(c, c.a * (1 - smoothstep(-radius, radius, s.d(x, y)))); });
}

int Canvas::textWidth(const std::string& fontFile, int size, const std::string& utf8) {
    int w = 0, h = 0;
    TTF_SizeUTF8(openFont(fontFile, size), utf8.c_str(), &w, &h);
    return w;
}

int Canvas::text(const std::string& fontFile, int size, const std::string& utf8, float x, float y, Rgba c, Align align,
                 int wrap) {
    if (utf8.empty()) return 0;
    TTF_Font* font = openFont(fontFile, size);
    const SDL_Color white{255, 255, 255, 255};
    SDL_Surface* s = nullptr;
    if (wrap > 0) {
        TTF_SetFontWrappedAlign(font, align == Align::Center ? TTF_WRAPPED_ALIGN_CENTER
                                      : align == Align::Right ? TTF_WRAPPED_ALIGN_RIGHT
                                                              : TTF_WRAPPED_ALIGN_LEFT);
        s = TTF_RenderUTF8_Blended_Wrapped(font, utf8.c_str(), white, static_cast<Uint32>(wrap));
    } else {
        s = TTF_RenderUTF8_Blended(font, utf8.c_str(), white);
    }
    if (!s) return 0;
    SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(s);
    if (!rgba) return 0;
    float left = x;
    const float boxWidth = wrap > 0 ? static_cast<float>(wrap) : static_cast<float>(rgba->w);
    if (align == Align::Center) left = x - boxWidth / 2 + (boxWidth - static_cast<float>(rgba->w)) / 2;
    if (align == Align::Right) left = x - static_cast<float>(rgba->w);
    if (wrap > 0 && align == Align::Center) left = x - static_cast<float>(rgba->w) / 2;
    const int ox = static_cast<int>(std::lround(left)), oy = static_cast<int>(std::lround(y));
    SDL_LockSurface(rgba);
    for (int j = 0; j < rgba->h; ++j) {
        const auto* row = static_cast<const uint8_t*>(rgba->pixels) + j * rgba->pitch;
        for (int i = 0; i < rgba->w; ++i) {
            const int px = ox + i, py = oy + j;
            if (px < 0 || py < 0 || px >= w_ || py >= h_) continue;
            const float cov = static_cast<float>(row[i * 4 + 3]) / 255.0f;
            if (cov > 0) blend(px, py, c, cov);
        }
    }
    SDL_UnlockSurface(rgba);
    const int height = rgba->h;
    SDL_FreeSurface(rgba);
    return height;
}

void Canvas::draw(const Canvas& other, int x, int y, float opacity) {
    for (int j = 0; j < other.h_; ++j)
        for (int i = 0; i < other.w_; ++i) {
            const int px = x + i, py = y + j;
            if (px < 0 || py < 0 || px >= w_ || py >= h_) continue;
            const Rgba c = other.at(i, j);
            blend(px, py, {c.r, c.g, c.b, 1.0f}, c.a * opacity);
        }
}

bool Canvas::savePng(const std::string& path) const {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w_, h_, 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return false;
    SDL_LockSurface(s);
    for (int y = 0; y < h_; ++y) {
        auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
        for (int x = 0; x < w_; ++x) {
            const Rgba c = at(x, y);
            row[x * 4 + 0] = static_cast<uint8_t>(std::lround(clamp01(c.r) * 255));
            row[x * 4 + 1] = static_cast<uint8_t>(std::lround(clamp01(c.g) * 255));
            row[x * 4 + 2] = static_cast<uint8_t>(std::lround(clamp01(c.b) * 255));
            row[x * 4 + 3] = static_cast<uint8_t>(std::lround(clamp01(c.a) * 255));
        }
    }
    SDL_UnlockSurface(s);
    const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

const std::string& boldFont() {
    static const std::string f = desktop::fontFileFor("DejaVu Sans-Bold");
    return f;
}
const std::string& regularFont() {
    static const std::string f = desktop::fontFileFor("DejaVu Sans");
    return f;
}

}  // namespace vw::art
