#include "platform/Geometry.h"
#include "platform/Trace.h"

#include <cstdio>

namespace vw::platform {
std::string toString(Point p) { return "(" + traceNumber(p.x) + ", " + traceNumber(p.y) + ")"; }
std::string toString(Size s) { return "(" + traceNumber(s.width) + ", " + traceNumber(s.height) + ")"; }
std::string toString(Rect r) {
    return "(" + traceNumber(r.x) + ", " + traceNumber(r.y) + ", " + traceNumber(r.width) + ", " + traceNumber(r.height) + ")";
}
std::string toString(Transform t) {
    if (t == Transform::identity()) return "identity";
    return "scale(" + traceNumber(t.sx) + ", " + traceNumber(t.sy) + ")";
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
