// Points, sizes, rectangles, scale transforms and colours of the view system.
// Points have their origin at the top-left corner, y growing downwards.
#pragma once

#include <cstdint>
#include <string>

namespace vw::platform {

struct Point {
    float x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    float width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    float x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
    float maxX() const { return x + width; }
    float maxY() const { return y + height; }
    bool contains(Point p) const { return p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY(); }
};

// The view system only needs scale transforms about the layer's anchor point.
struct Transform {
    float sx = 1, sy = 1;
    static Transform identity() { return {}; }
    static Transform scale(float sx, float sy) { return {sx, sy}; }
    bool operator==(const Transform&) const = default;
};

struct Colour {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    static Colour white() { return {255, 255, 255, 255}; }
    static Colour red() { return {255, 0, 0, 255}; }
    static Colour black() { return {0, 0, 0, 255}; }
    static Colour clear() { return {0, 0, 0, 0}; }
    bool operator==(const Colour&) const = default;
};

std::string toString(Point p);
std::string toString(Size s);
std::string toString(Rect r);
std::string toString(Transform t);
std::string toString(Colour c);  // "white", "red", "clear", or #rrggbbaa

// Four-character codes are 32-bit integers, first character in the high byte.
constexpr uint32_t fourCharCode(const char (&c)[5]) {
    return (uint32_t(uint8_t(c[0])) << 24) | (uint32_t(uint8_t(c[1])) << 16) | (uint32_t(uint8_t(c[2])) << 8) |
           uint32_t(uint8_t(c[3]));
}
std::string fourCharText(uint32_t code);

}  // namespace vw::platform
