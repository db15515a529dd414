// A small painting surface for the generated artwork: float RGBA pixels,
// shapes given as signed distance functions (negative inside, in pixels) so
// every edge comes out anti-aliased, gradients, noise and text.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vw::art {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with an opacity.
Rgba hex(uint32_t rgb, float alpha = 1.0f);
Rgba mix(Rgba a, Rgba b, float t);
Rgba withAlpha(Rgba c, float alpha);
Rgba lighter(Rgba c, float amount);  // towards white
Rgba darker(Rgba c, float amount);   // towards black

struct Pt {
    float x = 0, y = 0;
};

struct Box {
    float x0, y0, x1, y1;
};

using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Rgba(float x, float y)>;

struct Shape {
    Sdf d;
    Box box;  // where the shape can be; painting looks nowhere else
};

Shape circle(float cx, float cy, float r);
Shape ellipse(float cx, float cy, float rx, float ry, float angleDegrees = 0);
Shape rect(float x, float y, float w, float h);
Shape roundRect(float x, float y, float w, float h, float radius);
Shape polygon(std::vector<Pt> points);
Shape segment(Pt a, Pt b, float width);  // with round caps
Shape star(float cx, float cy, float outer, float inner, int points, float rotationDegrees = -90);
Shape unite(const Shape& a, const Shape& b);
Shape subtract(const Shape& a, const Shape& b);
Shape intersect(const Shape& a, const Shape& b);
Shape outline(const Shape& s, float width);  // a band along the edge
// The shape moved and turned about (cx, cy).
Shape rotated(const Shape& s, float cx, float cy, float degrees);

// Smooth value noise in [0, 1], and a sum of octaves of it.
float noise(float x, float y, uint32_t seed = 0);
float fbm(float x, float y, int octaves, uint32_t seed = 0);
float smoothstep(float e0, float e1, float x);
// Deterministic pseudo-random numbers for scattering things.
class Random {
public:
    explicit Random(uint32_t seed) : s_(seed * 2654435761u + 1) {}
    float next();  // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * next(); }

private:
    uint32_t s_;
};

Paint solid(Rgba c);
Paint vertical(float y0, Rgba top, float y1, Rgba bottom);
Paint horizontal(float x0, Rgba left, float x1, Rgba right);
Paint radial(float cx, float cy, float r, Rgba inner, Rgba outer);

enum class Align { Left, Center, Right };

class Canvas {
public:
    Canvas(int width, int height, Rgba background = {});

    int width() const { return w_; }
    int height() const { return h_; }
    Rgba at(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }

    // Every pixel, from a colour function sampled `ss` x `ss` times a pixel.
    void shade(const Paint& paint, int ss = 2);
    void fill(Rgba c) { shade(solid(c), 1); }
    void paint(const Shape& s, const Paint& paint, float opacity = 1.0f);
    void paint(const Shape& s, Rgba c) { paint(s, solid(c), 1.0f); }
    // A soft shadow or glow: the shape blurred by `radius` pixels.
    void glow(const Shape& s, Rgba c, float radius);

    // Text in a font file at `size` pixels, its top-left (or top-centre, ...)
    // at (x, y); wrapped at `wrap` pixels when that is positive. Returns the
    // height drawn.
    int text(const std::string& fontFile, int size, const std::string& utf8, float x, float y, Rgba c,
             Align align = Align::Left, int wrap = 0);
    // The width the text would take on one line.
    static int textWidth(const std::string& fontFile, int size, const std::string& utf8);

    // Another canvas drawn at (x, y).
    void draw(const Canvas& other, int x, int y, float opacity = 1.0f);

    bool savePng(const std::string& path) const;

private:
    void blend(int x, int y, Rgba c, float coverage);
    int w_, h_;
    std::vector<Rgba> px_;
};

// The font files the artwork uses.
const std::string& boldFont();
const std::string& regularFont();

}  // namespace vw::art
