// Helpers for the desktop tests: the application on the recording double,
// drawn off screen, and pixels of the generated images to compare with.
#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include "platform/desktop/Renderer.h"
#include "tests/controller/AppFixture.h"
#include "tests/lib/RunLoop.h"
#include "tests/lib/Scratch.h"

namespace vw::testing {

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;
// A surface, or a PNG file, as RGBA bytes (null when it cannot be read).
inline SurfacePtr rgba(SDL_Surface* s) { return {s ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0) : nullptr, &SDL_FreeSurface}; }
inline SurfacePtr loadRgba(const std::string& path) { return rgba(SurfacePtr(IMG_Load(path.c_str()), &SDL_FreeSurface).get()); }
inline const uint8_t* bytesAt(const SDL_Surface* s, int x, int y) { return static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 4; }

// 0xRRGGBB of a PNG file's pixel (all ones when it cannot be read).
inline uint32_t filePixel(const std::string& path, int x, int y) {
    const auto s = loadRgba(path);
    if (!s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0xFFFFFFFFu;
    const uint8_t* p = bytesAt(s.get(), x, y);
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

// The same of a generated image.
inline uint32_t resourcePixel(const std::string& file, int x, int y) {
    return filePixel(platform::builtResourceDir() + "/" + file, x, y);
}

// Colours equal within `tolerance` on every channel.
inline ::testing::AssertionResult near(uint32_t a, uint32_t b, int tolerance = 6) {
    for (int shift : {16, 8, 0}) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "#%06X is not #%06X", a, b);
            return ::testing::AssertionFailure() << buf;
        }
    }
    return ::testing::AssertionSuccess();
}

// An application whose settings were saved by an earlier run, so no welcome
// alert covers the screen.
struct DesktopApp : App {
    explicit DesktopApp(float level = 0.57f, BatteryState state = BatteryState::Unplugged, float height = 480)
        : App(options(height)) {
        rp.plainSettings.preload(kSettingsVersionKey, std::string(kCurrentSettingsVersion));
        rp.plainSettings.preload(kSkinFileKey, std::string("green_skin.png"));
        rp.plainSettings.preload(kSkinRowSelectedKey, std::string("1"));
        rp.setBattery(level, state);
    }
    static platform::RecordingOptions options(float height) {
        platform::RecordingOptions o;
        o.screenSize = platform::Size{320, height};
        o.resourceDir = platform::builtResourceDir();  // the generated artwork, to compare pixels with
        return o;
    }
    std::unique_ptr<desktop::OffscreenScreen> render(int scale = 1) {
        return desktop::renderOffscreen(rp.ui, {320, rp.application.screenBounds()->height}, scale);
    }
};
}  // namespace vw::testing
