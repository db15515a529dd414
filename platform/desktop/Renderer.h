// Draws the view model with SDL: a window's views (images, text, the picker's
// wheel, scroll views) and the alert on show, at a whole-number scale of
// pixels per point. Works on any SDL renderer, including the software
// renderer on a plain surface, so it needs no display.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/desktop/SdlHandles.h"
#include "platform/ui/Ui.h"

namespace vw::desktop {

// Where an alert's parts lie on the screen, in points.
struct AlertLayout {
    platform::Rect box;
    platform::Rect title;
    platform::Rect message;
    std::vector<platform::Rect> buttons;  // by button index
};

// The picker's wheel: rows sit on a drum whose radius is half the picker's
// height, so a row `offset` points along the drum from the indicator shows
// at R sin(offset / R) from the centre.
float pickerWheelRadius(const platform::PickerView& picker);
// The distance along the drum for a point `dy` points below the centre.
float pickerArcOffset(const platform::PickerView& picker, float dy);

inline constexpr const char* kPickerFont = "DejaVu Sans-Bold";
inline constexpr const char* kDefaultTextFont = "Helvetica";
inline constexpr float kTextInset = 8;  // a text view's margin around its text

class Renderer {
public:
    Renderer(SDL_Renderer* renderer, int scale);
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    int scale() const { return scale_; }
    SDL_Renderer* sdl() const { return sdl_; }

    // The views under `root` (the key window), then the alert on show, if any,
    // over a dimmed screen of `screen` points.
    void draw(const platform::View& root, const platform::Alert* alert, platform::Size screen);
    // The key window of `ui` and its alert; black without a key window.
    void draw(const platform::Ui& ui, platform::Size screen);
    AlertLayout layoutAlert(const platform::Alert& alert, platform::Size screen);
    // The alert button being held down, drawn lit (-1: none).
    void setPressedAlertButton(int index) { pressedButton_ = index; }

    // The font size, in points, that the picker uses for its rows now.
    float pickerFontSize(const platform::PickerView& picker);

private:
    struct Text {
        TexturePtr texture;
        int width = 0, height = 0;  // pixels
    };
    // The font library, started for this renderer (counted: every start
    // pairs with a quit) and quit after its fonts are closed.
    struct FontLibrary {
        FontLibrary() { TTF_Init(); }
        ~FontLibrary() { TTF_Quit(); }
        FontLibrary(const FontLibrary&) = delete;
        FontLibrary& operator=(const FontLibrary&) = delete;
    };
    using TextKey = std::tuple<std::string, int, std::string, int, int>;

    SDL_Rect pixels(platform::Rect r) const;
    void fill(platform::Rect r, platform::Colour c);
    void fillRound(platform::Rect r, float radius, platform::Colour top, platform::Colour bottom);
    void gradient(platform::Rect r, platform::Colour top, platform::Colour bottom);
    SDL_Texture* image(const std::string& path);
    TTF_Font* font(const std::string& file, int pixels);
    // Text rendered in white (tinted when drawn); wrapped at `wrapPixels` when positive.
    const Text& text(const std::string& fontName, float points, const std::string& utf8, int wrapPixels, int align);
    void drawText(const Text& t, float x, float y, platform::Colour c, float heightScale = 1.0f);

    class Painter;
    void drawView(const platform::View& v, platform::Point origin, SDL_Rect clip);
    void drawGraph(const platform::GraphView& v, platform::Rect r);
    void drawTextView(const platform::TextView& v, platform::Rect r);
    void drawPicker(const platform::PickerView& v, platform::Rect r);
    void drawAlert(const platform::Alert& alert, platform::Size screen);
    void setClip(SDL_Rect clip);

    FontLibrary fontLibrary_;  // before the fonts: it goes after them
    SDL_Renderer* sdl_;
    int scale_;
    int pressedButton_ = -1;
    std::map<std::string, TexturePtr> images_;
    std::map<std::pair<std::string, int>, FontPtr> fonts_;
    std::map<TextKey, Text> texts_;
    std::vector<std::string> pickerTitles_;
    float pickerWidth_ = 0, pickerFont_ = 0;
};

// The twice-size file drawn for an image ("a/b.png" -> "a/b@2x.png") when the
// screen has two or more pixels a point; empty at one pixel a point.
std::string sharperImagePath(const std::string& path, int scale);

// Something the views are drawn to.
class Screen {
public:
    virtual ~Screen() = default;
    virtual Renderer& renderer() = 0;
    virtual platform::Size points() const = 0;
    // Draws the key window of `ui` and its alert, and shows the frame.
    virtual void draw(platform::Ui& ui) = 0;
};

// A picture in memory: no display needed.
class OffscreenScreen final : public Screen {
public:
    OffscreenScreen(platform::Size points, int scale);
    Renderer& renderer() override { return *renderer_; }
    platform::Size points() const override { return points_; }
    void draw(platform::Ui& ui) override;

    SDL_Surface* surface() const { return surface_.get(); }
    // The pixel at (x, y) pixels, as 0xRRGGBB.
    uint32_t pixel(int x, int y) const;
    // The pixel at the centre of the point (x, y).
    uint32_t pixelAtPoint(float x, float y) const;
    bool savePng(const std::string& path) const;

private:
    platform::Size points_;
    int scale_;
    // Each drawn by the next: they go in the opposite order.
    SurfacePtr surface_;
    RendererPtr sdl_;
    std::unique_ptr<Renderer> renderer_;
};

// A window on the display, drawn through the window's SDL renderer.
class WindowScreen final : public Screen {
public:
    // Takes neither the window nor the renderer over.
    WindowScreen(SDL_Renderer* renderer, int scale, platform::Size points);
    Renderer& renderer() override { return renderer_; }
    platform::Size points() const override { return points_; }
    void draw(platform::Ui& ui) override;

private:
    platform::Size points_;
    Renderer renderer_;
};

// Draws `ui`'s key window once into a new picture.
std::unique_ptr<OffscreenScreen> renderOffscreen(platform::Ui& ui, platform::Size points, int scale);

}  // namespace vw::desktop
