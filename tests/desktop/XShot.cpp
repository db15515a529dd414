// A test tool for the X server sessions:
//   vw_xshot grab OUT.png [X Y W H]  the screen of $DISPLAY (or that part of it), as a PNG
//   vw_xshot pixel FILE.png X Y    prints the pixel at (X, Y) as RRGGBB
#include <SDL.h>
#include <SDL_image.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int grab(const char* out, int gx, int gy, int gw, int gh) {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return std::fprintf(stderr, "vw_xshot: cannot open the display\n"), 1;
    XWindowAttributes a{};
    XGetWindowAttributes(d, DefaultRootWindow(d), &a);
    if (gw > 0 && gh > 0) a.width = gw, a.height = gh;
    else gx = gy = 0;
    XImage* img = XGetImage(d, DefaultRootWindow(d), gx, gy, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
    if (!img) return XCloseDisplay(d), 1;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, a.width, a.height, 32, SDL_PIXELFORMAT_RGBA32);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            auto* px = static_cast<unsigned char*>(s->pixels) + y * s->pitch + x * 4;
            px[0] = static_cast<unsigned char>((p & img->red_mask) >> 16);
            px[1] = static_cast<unsigned char>((p & img->green_mask) >> 8);
            px[2] = static_cast<unsigned char>(p & img->blue_mask);
            px[3] = 255;
        }
    const int rc = IMG_SavePNG(s, out) == 0 ? 0 : 1;
    SDL_FreeSurface(s);
    XDestroyImage(img);
    XCloseDisplay(d);
    return rc;
}

int pixel(const char* file, int x, int y) {
    SDL_Surface* raw = IMG_Load(file);
    if (!raw) return 1;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    const bool inside = x >= 0 && y >= 0 && x < s->w && y < s->h;
    if (inside) {
        const auto* p = static_cast<const unsigned char*>(s->pixels) + y * s->pitch + x * 4;
        std::printf("%02X%02X%02X\n", p[0], p[1], p[2]);
    }
    SDL_FreeSurface(s);
    return inside ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    const bool grabbing = argc > 2 && std::strcmp(argv[1], "grab") == 0;
    if (grabbing && argc == 3) return grab(argv[2], 0, 0, 0, 0);
    if (grabbing && argc == 7) return grab(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]));
    if (argc == 5 && std::strcmp(argv[1], "pixel") == 0) return pixel(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    std::fprintf(stderr, "usage: vw_xshot grab OUT.png [X Y W H] | pixel FILE.png X Y\n");
    return 2;
}
