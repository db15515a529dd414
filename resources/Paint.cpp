#include "resources/Paint.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace vw::art {

namespace {
double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Pixels per user unit of the context (the generator only scales, never turns).
double pixelScale(cairo_t* cr) {
    double dx = 1, dy = 0;
    cairo_user_to_device_distance(cr, &dx, &dy);
    return std::hypot(dx, dy);
}

void selectFont(cairo_t* cr, const Font& f) {
    cairo_select_font_face(cr, f.serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           f.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, f.size);
}

// One pass of a running-sum box blur over rows (step 1) or columns (step
// stride) of an 8-bit plane.
void boxPass(unsigned char* data, int count, int length, int lineStep, int step, int half, std::vector<int>& line) {
    line.resize(static_cast<std::size_t>(length));
    const int window = 2 * half + 1;
    for (int l = 0; l < count; ++l) {
        unsigned char* p = data + static_cast<std::ptrdiff_t>(l) * lineStep;
        for (int i = 0; i < length; ++i) line[static_cast<std::size_t>(i)] = p[static_cast<std::ptrdiff_t>(i) * step];
        int sum = 0;
        for (int i = -half; i <= half; ++i) sum += line[static_cast<std::size_t>(std::clamp(i, 0, length - 1))];
        for (int i = 0; i < length; ++i) {
            p[static_cast<std::ptrdiff_t>(i) * step] = static_cast<unsigned char>((sum + window / 2) / window);
            const int out = std::clamp(i - half, 0, length - 1), in = std::clamp(i + half + 1, 0, length - 1);
            sum += line[static_cast<std::size_t>(in)] - line[static_cast<std::size_t>(out)];
        }
    }
}

uint32_t lattice(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
double latticeValue(int x, int y, uint32_t seed) { return static_cast<double>(lattice(x, y, seed) & 0xFFFFFF) / 0xFFFFFF; }
}  // namespace

Colour hex(uint32_t rgb, double alpha) {
    return {static_cast<double>((rgb >> 16) & 0xFF) / 255.0, static_cast<double>((rgb >> 8) & 0xFF) / 255.0,
            static_cast<double>(rgb & 0xFF) / 255.0, alpha};
}
Colour mix(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}
Colour withAlpha(Colour c, double alpha) { return {c.r, c.g, c.b, alpha}; }
Colour lighter(Colour c, double amount) { return withAlpha(mix(c, {1, 1, 1, 1}, amount), c.a); }
Colour darker(Colour c, double amount) { return withAlpha(mix(c, {0, 0, 0, 1}, amount), c.a); }
Colour hsv(double h, double s, double v, double alpha) {
    h = std::fmod(std::fmod(h, 360.0) + 360.0, 360.0) / 60.0;
    const int i = static_cast<int>(h);
    const double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
        case 0: return {v, t, p, alpha};
        case 1: return {q, v, p, alpha};
        case 2: return {p, v, t, alpha};
        case 3: return {p, q, v, alpha};
        case 4: return {t, p, v, alpha};
        default: return {v, p, q, alpha};
    }
}

void setColour(cairo_t* cr, Colour c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }
void fill(cairo_t* cr, Colour c) {
    setColour(cr, c);
    cairo_fill(cr);
}
void fillPreserve(cairo_t* cr, Colour c) {
    setColour(cr, c);
    cairo_fill_preserve(cr);
}
void stroke(cairo_t* cr, Colour c, double width) {
    setColour(cr, c);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::max(0.0, std::min({r, w / 2, h / 2}));
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry, double angleDegrees) {
    if (rx <= 0 || ry <= 0) return;
    cairo_matrix_t saved;
    cairo_get_matrix(cr, &saved);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angleDegrees * kPi / 180);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_set_matrix(cr, &saved);
}

void circlePath(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_close_path(cr);
}

void polygonPath(cairo_t* cr, const std::vector<Pt>& points) {
    if (points.empty()) return;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double rotationDegrees) {
    std::vector<Pt> p;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = (rotationDegrees + 180.0 * i / points) * kPi / 180;
        const double r = i % 2 ? inner : outer;
        p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    polygonPath(cr, p);
}

namespace {
void catmullRom(cairo_t* cr, const std::vector<Pt>& p, bool closed) {
    const std::size_t n = p.size();
    auto at = [&](long i) -> Pt {
        if (closed) return p[static_cast<std::size_t>((i % static_cast<long>(n) + static_cast<long>(n)) % static_cast<long>(n))];
        return p[static_cast<std::size_t>(std::clamp(i, 0L, static_cast<long>(n) - 1))];
    };
    cairo_move_to(cr, p[0].x, p[0].y);
    const long segments = closed ? static_cast<long>(n) : static_cast<long>(n) - 1;
    for (long i = 0; i < segments; ++i) {
        const Pt p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        cairo_curve_to(cr, p1.x + (p2.x - p0.x) / 6, p1.y + (p2.y - p0.y) / 6, p2.x - (p3.x - p1.x) / 6,
                       p2.y - (p3.y - p1.y) / 6, p2.x, p2.y);
    }
    if (closed) cairo_close_path(cr);
}
}  // namespace

void smoothClosedPath(cairo_t* cr, const std::vector<Pt>& points) {
    if (points.size() >= 3) catmullRom(cr, points, true);
}
void smoothOpenPath(cairo_t* cr, const std::vector<Pt>& points) {
    if (points.size() >= 2) catmullRom(cr, points, false);
}

namespace {
PatternPtr withStops(cairo_pattern_t* p, std::initializer_list<Stop> stops) {
    for (const Stop& s : stops) cairo_pattern_add_color_stop_rgba(p, s.offset, s.colour.r, s.colour.g, s.colour.b, s.colour.a);
    return PatternPtr(p, cairo_pattern_destroy);
}
}  // namespace

PatternPtr linear(double x0, double y0, double x1, double y1, std::initializer_list<Stop> stops) {
    return withStops(cairo_pattern_create_linear(x0, y0, x1, y1), stops);
}
PatternPtr radial(double cx0, double cy0, double r0, double cx1, double cy1, double r1, std::initializer_list<Stop> stops) {
    return withStops(cairo_pattern_create_radial(cx0, cy0, r0, cx1, cy1, r1), stops);
}
void fill(cairo_t* cr, const PatternPtr& pattern) {
    cairo_set_source(cr, pattern.get());
    cairo_fill(cr);
}
void paint(cairo_t* cr, const PatternPtr& pattern, double opacity) {
    cairo_set_source(cr, pattern.get());
    cairo_paint_with_alpha(cr, opacity);
}
void paint(cairo_t* cr, Colour c) {
    setColour(cr, c);
    cairo_paint(cr);
}

double textWidth(cairo_t* cr, const Font& font, const std::string& utf8) {
    Saved s(cr);
    selectFont(cr, font);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    return e.x_advance;
}

double text(cairo_t* cr, const Font& font, const std::string& utf8, double x, double y, Colour c, Align align) {
    Saved s(cr);
    selectFont(cr, font);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    const double left = align == Align::Left ? x : (align == Align::Center ? x - e.x_advance / 2 : x - e.x_advance);
    cairo_move_to(cr, left, y + fe.ascent);
    setColour(cr, c);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
    return e.x_advance;
}

double wrappedText(cairo_t* cr, const Font& font, const std::string& utf8, double x, double y, double width, Colour c,
                   Align align, double lineSpacing) {
    std::vector<std::string> lines;
    std::istringstream words(utf8);
    std::string word, line;
    while (words >> word) {
        const std::string tryLine = line.empty() ? word : line + " " + word;
        if (!line.empty() && textWidth(cr, font, tryLine) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = tryLine;
        }
    }
    if (!line.empty()) lines.push_back(line);
    const double step = font.size * lineSpacing;
    for (std::size_t i = 0; i < lines.size(); ++i) text(cr, font, lines[i], x, y + step * static_cast<double>(i), c, align);
    return step * static_cast<double>(lines.size());
}

void softShadow(cairo_t* cr, const std::function<void(cairo_t*)>& shape, Colour c, double radius, double dx, double dy) {
    Saved s(cr);
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    cairo_translate(cr, dx, dy);
    cairo_new_path(cr);
    shape(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_fill(cr);
    cairo_pattern_t* group = cairo_pop_group(cr);
    cairo_surface_t* surface = nullptr;
    if (cairo_pattern_get_surface(group, &surface) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE) {
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const int half = std::max(1, static_cast<int>(std::lround(radius * pixelScale(cr) / 2)));
        std::vector<int> line;
        for (int pass = 0; pass < 3; ++pass) {
            boxPass(data, h, w, stride, 1, half, line);
            boxPass(data, w, h, 1, stride, half, line);
        }
        cairo_surface_mark_dirty(surface);
    }
    setColour(cr, c);
    cairo_mask(cr, group);
    cairo_pattern_destroy(group);
}

void shadePixels(cairo_t* cr, double x, double y, double w, double h, const std::function<Colour(double, double)>& shade) {
    double x0 = x, y0 = y, x1 = x + w, y1 = y + h;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    const int ix0 = static_cast<int>(std::floor(std::min(x0, x1))), iy0 = static_cast<int>(std::floor(std::min(y0, y1)));
    const int pw = static_cast<int>(std::ceil(std::max(x0, x1))) - ix0, ph = static_cast<int>(std::ceil(std::max(y0, y1))) - iy0;
    if (pw <= 0 || ph <= 0) return;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int j = 0; j < ph; ++j) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(j) * stride);
        for (int i = 0; i < pw; ++i) {
            double ux = ix0 + i + 0.5, uy = iy0 + j + 0.5;
            cairo_device_to_user(cr, &ux, &uy);
            const Colour col = shade(ux, uy);
            const double a = clamp01(col.a);
            auto byte = [](double v) { return static_cast<uint32_t>(std::lround(clamp01(v) * 255.0)); };
            row[i] = byte(a) << 24 | byte(col.r * a) << 16 | byte(col.g * a) << 8 | byte(col.b * a);
        }
    }
    cairo_surface_mark_dirty(surface);
    Saved s(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, surface, ix0, iy0);
    cairo_rectangle(cr, ix0, iy0, pw, ph);
    cairo_fill(cr);
    cairo_surface_destroy(surface);
}

double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

double noise(double x, double y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    const double ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    const double a = latticeValue(ix, iy, seed), b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed), d = latticeValue(ix + 1, iy + 1, seed);
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

double fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise(x, y, seed + static_cast<uint32_t>(i) * 131u);
        norm += amp;
        x = x * 2.03 + 17.1;
        y = y * 2.01 + 5.3;
        amp *= 0.5;
    }
    return sum / norm;
}

double Random::next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return static_cast<double>(s_ & 0xFFFFFF) / 16777216.0;
}

}  // namespace vw::art
