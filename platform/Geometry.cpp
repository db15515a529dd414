#include "platform/Geometry.h"

#include <cstdio>

namespace vw::platform {
namespace {
std::string num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
    return buf;
}
}  // namespace

std::string toString(Point p) { return "(" + num(p.x) + ", " + num(p.y) + ")"; }
std::string toString(Size s) { return "(" + num(s.width) + ", " + num(s.height) + ")"; }
std::string toString(Rect r) {
    return "(" + num(r.x) + ", " + num(r.y) + ", " + num(r.width) + ", " + num(r.height) + ")";
}
std::string toString(Transform t) {
    if (t == Transform::identity()) return "identity";
    return "scale(" + num(t.sx) + ", " + num(t.sy) + ")";
}
std::string toString(Colour c) {
    if (c == Colour::white()) return "white";
    if (c == Colour::red()) return "red";
    if (c == Colour::clear()) return "clear";
    if (c == Colour::black()) return "black";
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x%02x", c.r, c.g, c.b, c.a);
    return buf;
}

std::string fourCharText(uint32_t code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xff);
    return s;
}

}  // namespace vw::platform
