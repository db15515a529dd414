// Small helpers over cairo for the generated artwork: colours, paths,
// gradients, text, soft shadows, noise and per-pixel textures.
//
// Every drawing works in the image's own units (a skin is 251 x 194); the
// generator scales the context for the 2x files, so nothing here may assume
// one unit is one pixel. Where a helper needs pixels (shadows, textures) it
// asks the context for its scale.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace vw::art {

inline constexpr double kPi = 3.14159265358979323846;

struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an opacity.
Colour hex(uint32_t rgb, double alpha = 1.0);
Colour mix(Colour a, Colour b, double t);
Colour withAlpha(Colour c, double alpha);
Colour lighter(Colour c, double amount);  // towards white
Colour darker(Colour c, double amount);   // towards black
Colour hsv(double hueDegrees, double saturation, double value, double alpha = 1.0);

void setColour(cairo_t* cr, Colour c);
// Fills the current path with a colour and clears the path.
void fill(cairo_t* cr, Colour c);
// Fills keeping the path, for a stroke after it.
void fillPreserve(cairo_t* cr, Colour c);
void stroke(cairo_t* cr, Colour c, double width);

struct Pt {
    double x = 0, y = 0;
};

// Paths: each adds a closed sub-path to the current path and paints nothing.
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double angleDegrees = 0);
void circlePath(cairo_t* cr, double cx, double cy, double r);
void polygonPath(cairo_t* cr, const std::vector<Pt>& points);
void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotationDegrees = -90);
// A smooth closed curve through the points (Catmull-Rom turned into Beziers).
void smoothClosedPath(cairo_t* cr, const std::vector<Pt>& points);
// A smooth open curve through the points, for strokes.
void smoothOpenPath(cairo_t* cr, const std::vector<Pt>& points);

// Gradients. A stop is an offset in [0, 1] and a colour.
struct Stop {
    double offset;
    Colour colour;
};
using PatternPtr = std::unique_ptr<cairo_pattern_t, void (*)(cairo_pattern_t*)>;
PatternPtr linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops);
PatternPtr radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1, std::initializer_list<Stop> stops);
// Fills the current path with a pattern and clears the path.
void fill(cairo_t* cr, const PatternPtr& pattern);
// Paints the whole clip region with a pattern or colour.
void paint(cairo_t* cr, const PatternPtr& pattern, double opacity = 1.0);
void paint(cairo_t* cr, Colour c);

// Text in DejaVu Sans (found through fontconfig). (x, y) is the top of the
// text's line box at its left, centre or right, as `align` says.
enum class Align { Left, Center, Right };
struct Font {
    double size = 12;
    bool bold = false;
    bool serif = false;
};
double textWidth(cairo_t* cr, const Font& font, const std::string& utf8);
// Draws one line; returns its width.
double text(cairo_t* cr, const Font& font, const std::string& utf8, double x, double y, Colour c,
            Align align = Align::Left);
// Draws words wrapped at `width`; returns the height used.
double wrappedText(cairo_t* cr, const Font& font, const std::string& utf8, double x, double y, double width, Colour c,
                   Align align = Align::Left, double lineSpacing = 1.25);

// A soft shadow or glow: whatever `shape` adds to the path (in the current
// user space) filled with `c` and blurred by `radius` units.
void softShadow(cairo_t* cr, const std::function<void(cairo_t*)>& shape, Colour c, double radius, double dx = 0,
                double dy = 0);

// Per-pixel painting for textures that have no simple path (fur, hide, grain):
// `shade` gets the user-space point at each pixel centre of the rectangle and
// returns the colour to put there, composited over what is drawn.
void shadePixels(cairo_t* cr, double x, double y, double w, double h, const std::function<Colour(double, double)>& shade);

// Smooth value noise in [0, 1], and a sum of octaves of it.
double noise(double x, double y, uint32_t seed = 0);
double fbm(double x, double y, int octaves, uint32_t seed = 0);
double smoothstep(double e0, double e1, double x);

// Deterministic pseudo-random numbers for scattering things, so every build
// draws the same picture.
class Random {
public:
    explicit Random(uint32_t seed) : s_(seed * 2654435761u + 1) {}
    double next();  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }
    int below(int n) { return static_cast<int>(next() * n) % (n > 0 ? n : 1); }

private:
    uint32_t s_;
};

// Saves and restores the context's state around a scope.
class Saved {
public:
    explicit Saved(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
    ~Saved() { cairo_restore(cr_); }
    Saved(const Saved&) = delete;
    Saved& operator=(const Saved&) = delete;

private:
    cairo_t* cr_;
};

}  // namespace vw::art
