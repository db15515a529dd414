#include "platform/desktop/Renderer.h"

#include "platform/desktop/Files.h"

#include <SDL_image.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/desktop/Fonts.h"

namespace vw::desktop {

using namespace platform;

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kAlertWidth = 270, kAlertPadding = 16, kAlertButtonHeight = 40;
constexpr const char* kAlertTitleFont = "DejaVu Sans-Bold";
constexpr const char* kAlertTextFont = "DejaVu Sans";

Colour rgba(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return {r, g, b, a}; }

SDL_Rect intersect(SDL_Rect a, SDL_Rect b) {
    SDL_Rect out{};
    if (!SDL_IntersectRect(&a, &b, &out)) return {a.x, a.y, 0, 0};
    return out;
}
}  // namespace

float pickerWheelRadius(const PickerView& picker) { return std::max(1.0f, picker.boundsSize().height / 2); }

float pickerArcOffset(const PickerView& picker, float dy) {
    const float r = pickerWheelRadius(picker);
    return r * std::asin(std::clamp(dy / r, -1.0f, 1.0f));
}

Renderer::Renderer(SDL_Renderer* renderer, int scale) : sdl_(renderer), scale_(std::max(1, scale)) {
    SDL_SetRenderDrawBlendMode(sdl_, SDL_BLENDMODE_BLEND);
}

SDL_Rect Renderer::pixels(Rect r) const {
    const float s = static_cast<float>(scale_);
    const int x0 = static_cast<int>(std::lround(r.x * s)), y0 = static_cast<int>(std::lround(r.y * s));
    const int x1 = static_cast<int>(std::lround((r.x + r.width) * s)), y1 = static_cast<int>(std::lround((r.y + r.height) * s));
    return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void Renderer::fill(Rect r, Colour c) {
    if (c.a == 0) return;
    const SDL_Rect p = pixels(r);
    SDL_SetRenderDrawColor(sdl_, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(sdl_, &p);
}

void Renderer::gradient(Rect r, Colour top, Colour bottom) { fillRound(r, 0, top, bottom); }

void Renderer::fillRound(Rect r, float radius, Colour top, Colour bottom) {
    const float s = static_cast<float>(scale_);
    const float x0 = r.x * s, y0 = r.y * s, x1 = (r.x + r.width) * s, y1 = (r.y + r.height) * s;
    const float rad = std::min({radius * s, (x1 - x0) / 2, (y1 - y0) / 2});
    auto colourAt = [&](float y) {
        const float t = y1 > y0 ? std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f) : 0.0f;
        auto lerp = [t](uint8_t a, uint8_t b) { return static_cast<uint8_t>(std::lround(a + (b - a) * t)); };
        return SDL_Color{lerp(top.r, bottom.r), lerp(top.g, bottom.g), lerp(top.b, bottom.b), lerp(top.a, bottom.a)};
    };
    std::vector<SDL_FPoint> outline;
    if (rad <= 0.5f) {
        outline = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    } else {
        const int steps = 8;
        const SDL_FPoint centres[4] = {{x1 - rad, y0 + rad}, {x1 - rad, y1 - rad}, {x0 + rad, y1 - rad}, {x0 + rad, y0 + rad}};
        for (int corner = 0; corner < 4; ++corner)
            for (int i = 0; i <= steps; ++i) {
                const float a = (-90.0f + 90.0f * static_cast<float>(corner) + 90.0f * static_cast<float>(i) / steps) * kPi / 180.0f;
                outline.push_back({centres[corner].x + rad * std::cos(a), centres[corner].y + rad * std::sin(a)});
            }
    }
    std::vector<SDL_Vertex> v;
    v.reserve(outline.size() * 3);
    const SDL_FPoint centre{(x0 + x1) / 2, (y0 + y1) / 2};
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const SDL_FPoint a = outline[i], b = outline[(i + 1) % outline.size()];
        v.push_back({centre, colourAt(centre.y), {0, 0}});
        v.push_back({a, colourAt(a.y), {0, 0}});
        v.push_back({b, colourAt(b.y), {0, 0}});
    }
    SDL_RenderGeometry(sdl_, nullptr, v.data(), static_cast<int>(v.size()), nullptr, 0);
}

std::string sharperImagePath(const std::string& path, int scale) {
    if (scale < 2) return {};
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    if (dot >= 3 && path.compare(dot - 3, 3, "@2x") == 0) return {};
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

SDL_Texture* Renderer::image(const std::string& path) {
    auto it = images_.find(path);
    if (it != images_.end()) return it->second.get();
    // On a dense screen the twice-size drawing of the same picture, where
    // there is one, stays sharp; either way it fills the same rectangle.
    // Only files whose header promises a picture of a sensible size are
    // decoded; one that then fails to decode stays blank.
    SDL_Texture* t = nullptr;
    auto load = [&](const std::string& file) {
        if (!Ui::acceptableImageSize(file)) return static_cast<SDL_Texture*>(nullptr);
        SDL_RWops* rw = readOnlyFile(file);
        return rw ? IMG_LoadTexture_RW(sdl_, rw, 1) : nullptr;
    };
    if (const std::string sharp = sharperImagePath(path, scale_); !sharp.empty()) t = load(sharp);
    if (!t) t = load(path);
    if (t) {
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(t, SDL_ScaleModeLinear);
    }
    images_.emplace(path, TexturePtr(t));  // a file that will not load stays blank
    return t;
}

TTF_Font* Renderer::font(const std::string& file, int px) {
    auto k = std::make_pair(file, px);
    auto it = fonts_.find(k);
    if (it != fonts_.end()) return it->second.get();
    SDL_RWops* rw = file.empty() ? nullptr : readOnlyFile(file);
    TTF_Font* f = rw ? TTF_OpenFontRW(rw, 1, px) : nullptr;
    if (f) TTF_SetFontHinting(f, TTF_HINTING_LIGHT);
    fonts_.emplace(k, FontPtr(f));
    return f;
}

const Renderer::Text& Renderer::text(const std::string& fontName, float points, const std::string& utf8, int wrapPixels,
                                     int align) {
    const int px = std::max(1, static_cast<int>(std::lround(points * static_cast<float>(scale_))));
    const std::string file = fontFileFor(fontName);
    const TextKey k{file, px, utf8, wrapPixels, align};
    auto it = texts_.find(k);
    if (it != texts_.end()) return it->second;
    if (texts_.size() > 1024) texts_.clear();  // readouts change; keep the cache from growing without end
    Text t;
    TTF_Font* f = font(file, px);
    if (f && !utf8.empty()) {
        const SDL_Color white{255, 255, 255, 255};
        SurfacePtr s;
        if (wrapPixels > 0) {
            TTF_SetFontWrappedAlign(f, align);
            s.reset(TTF_RenderUTF8_Blended_Wrapped(f, utf8.c_str(), white, static_cast<Uint32>(wrapPixels)));
        } else {
            s.reset(TTF_RenderUTF8_Blended(f, utf8.c_str(), white));
        }
        if (s) {
            t.texture.reset(SDL_CreateTextureFromSurface(sdl_, s.get()));
            t.width = s->w;
            t.height = s->h;
            if (t.texture) {
                SDL_SetTextureBlendMode(t.texture.get(), SDL_BLENDMODE_BLEND);
                SDL_SetTextureScaleMode(t.texture.get(), SDL_ScaleModeLinear);
            }
        }
    }
    return texts_.emplace(k, std::move(t)).first->second;
}

void Renderer::drawText(const Text& t, float x, float y, Colour c, float heightScale) {
    if (!t.texture || c.a == 0) return;
    const float s = static_cast<float>(scale_);
    const float h = static_cast<float>(t.height) * heightScale;
    SDL_FRect dst{std::round(x * s), std::round(y * s - h / 2 + static_cast<float>(t.height) / 2), static_cast<float>(t.width), h};
    SDL_SetTextureColorMod(t.texture.get(), c.r, c.g, c.b);
    SDL_SetTextureAlphaMod(t.texture.get(), c.a);
    SDL_RenderCopyF(sdl_, t.texture.get(), nullptr, &dst);
}

void Renderer::setClip(SDL_Rect clip) { SDL_RenderSetClipRect(sdl_, &clip); }

void Renderer::draw(const View& root, const Alert* alert, Size screen) {
    SDL_Rect all = pixels({0, 0, screen.width, screen.height});
    SDL_SetRenderDrawColor(sdl_, 0, 0, 0, 255);
    SDL_RenderSetClipRect(sdl_, nullptr);
    SDL_RenderClear(sdl_);
    Point origin{0, 0};
    if (root.superview()) origin = root.superview()->originInWindow();
    drawView(root, origin, all);
    SDL_RenderSetClipRect(sdl_, nullptr);
    if (alert) drawAlert(*alert, screen);
}

void Renderer::draw(const Ui& ui, Size screen) {
    if (const Window* w = ui.keyWindow()) {
        draw(*w, ui.alerts().front(), screen);
        return;
    }
    SDL_SetRenderDrawColor(sdl_, 0, 0, 0, 255);
    SDL_RenderSetClipRect(sdl_, nullptr);
    SDL_RenderClear(sdl_);
}

// What each kind of view draws of its own, in `rect` (the window's points),
// before its subviews; `clip` is the clip it was given.
class Renderer::Painter final : public ConstViewVisitor {
public:
    Painter(Renderer& r, Rect rect, SDL_Rect clip) : r_(r), rect_(rect), clip_(clip) {}
    void visit(const View& v) override { background(v); }
    void visit(const Window& v) override { background(v); }
    void visit(const ScrollView& v) override { background(v); }
    void visit(const ImageView& v) override {
        background(v);
        if (const auto& img = v.image())
            if (SDL_Texture* t = r_.image(img->path)) {
                const SDL_Rect dst = r_.pixels(rect_);
                SDL_RenderCopy(r_.sdl_, t, nullptr, &dst);
            }
    }
    void visit(const TextView& v) override {
        background(v);
        clippedToView([&] { r_.drawTextView(v, rect_); });
    }
    // The wheel paints its own background.
    void visit(const PickerView& v) override {
        clippedToView([&] { r_.drawPicker(v, rect_); });
    }
    void visit(const GraphView& v) override {
        background(v);
        clippedToView([&] { r_.drawGraph(v, rect_); });
    }

private:
    void background(const View& v) { r_.fill(rect_, v.backgroundColor()); }
    // Draws within the view's own rectangle, then gives the clip back.
    template <class Draw>
    void clippedToView(Draw draw) {
        r_.setClip(intersect(clip_, r_.pixels(rect_)));
        draw();
        r_.setClip(clip_);
    }
    Renderer& r_;
    Rect rect_;
    SDL_Rect clip_;
};

void Renderer::drawView(const View& v, Point origin, SDL_Rect clip) {
    if (v.hidden()) return;
    const Rect f = v.frameWithTransform(v.presentationTransform());
    const Rect r{origin.x + f.x, origin.y + f.y, f.width, f.height};
    setClip(clip);
    Painter painter(*this, r, clip);
    v.accept(painter);
    const Point bounds = v.boundsOrigin();
    const Point childOrigin{r.x - bounds.x, r.y - bounds.y};
    const SDL_Rect childClip = v.clipsToBounds() ? intersect(clip, pixels(r)) : clip;
    for (const auto& child : v.subviews()) drawView(*child, childOrigin, childClip);
}

void Renderer::drawGraph(const GraphView& v, Rect r) {
    auto at = [&](Point p) {
        return SDL_FPoint{(r.x + p.x * r.width) * static_cast<float>(scale_),
                          (r.y + (1 - p.y) * r.height) * static_cast<float>(scale_)};
    };
    // Marks across, dashed.
    for (const auto& m : v.marks()) {
        SDL_SetRenderDrawColor(sdl_, m.colour.r, m.colour.g, m.colour.b, m.colour.a);
        const float dash = 4.0f / r.width;
        for (float x = 0; x < 1; x += 2 * dash) {
            const SDL_FPoint a = at({x, m.y}), b = at({std::min(1.0f, x + dash), m.y});
            SDL_RenderDrawLineF(sdl_, a.x, a.y, b.x, b.y);
        }
    }
    // Lines two pixels thick (a point's worth on a dense screen).
    std::vector<SDL_FPoint> points;
    for (const auto& line : v.lines()) {
        if (line.points.size() < 2) continue;
        SDL_SetRenderDrawColor(sdl_, line.colour.r, line.colour.g, line.colour.b, line.colour.a);
        for (float dy : {0.0f, 1.0f}) {
            points.clear();
            for (const Point& p : line.points) {
                SDL_FPoint q = at(p);
                q.y += dy;
                points.push_back(q);
            }
            SDL_RenderDrawLinesF(sdl_, points.data(), static_cast<int>(points.size()));
        }
    }
}

void Renderer::drawTextView(const TextView& v, Rect r) {
    const std::string name = v.font() ? v.font()->name : kDefaultTextFont;
    const float size = v.font() ? v.font()->size : 17.0f;
    const int align = v.textAlignment() == TextAlignment::Center  ? TTF_WRAPPED_ALIGN_CENTER
                      : v.textAlignment() == TextAlignment::Right ? TTF_WRAPPED_ALIGN_RIGHT
                                                                  : TTF_WRAPPED_ALIGN_LEFT;
    const int wrap = std::max(1, static_cast<int>(std::lround((r.width - 2 * kTextInset) * static_cast<float>(scale_))));
    const Text& t = text(name, size, v.text(), wrap, align);
    float x = r.x + kTextInset;
    const float textWidth = static_cast<float>(t.width) / static_cast<float>(scale_);
    if (v.textAlignment() == TextAlignment::Center) x = r.x + (r.width - textWidth) / 2;
    if (v.textAlignment() == TextAlignment::Right) x = r.x + r.width - kTextInset - textWidth;
    drawText(t, x, r.y + kTextInset, v.textColor());
}

float Renderer::pickerFontSize(const PickerView& picker) {
    const auto& titles = picker.titles();
    const float width = picker.boundsSize().width;
    if (titles == pickerTitles_ && width == pickerWidth_ && pickerFont_ > 0) return pickerFont_;
    // The largest size up to 21 points at which the widest row fits.
    const std::string file = fontFileFor(kPickerFont);
    float size = 21;
    TTF_Font* f = font(file, 100);
    if (f) {
        int widest = 0;
        for (const auto& t : titles) {
            int w = 0, h = 0;
            TTF_SizeUTF8(f, t.c_str(), &w, &h);
            widest = std::max(widest, w);
        }
        if (widest > 0) size = std::min(size, (width - 28) * 100.0f / static_cast<float>(widest));
    }
    pickerTitles_ = titles;
    pickerWidth_ = width;
    pickerFont_ = std::max(11.0f, std::floor(size * 2) / 2);
    return pickerFont_;
}

void Renderer::drawPicker(const PickerView& v, Rect r) {
    const Colour bg = v.backgroundColor().a ? v.backgroundColor() : Colour::white();
    fill(r, bg);
    const float centreY = r.y + r.height / 2;
    const float radius = pickerWheelRadius(v);
    const float rowH = v.rowHeight();
    const float pos = v.wheelPosition();
    const float size = pickerFontSize(v);
    const auto& titles = v.titles();
    // The drum: rows turn away from the viewer above and below the indicator.
    const int reach = static_cast<int>(std::ceil(radius * kPi / 2 / std::max(1.0f, rowH))) + 1;
    const int first = std::max(0, static_cast<int>(std::floor(pos)) - reach);
    const int last = std::min(static_cast<int>(titles.size()) - 1, static_cast<int>(std::ceil(pos)) + reach);
    for (int i = first; i <= last; ++i) {
        const float angle = (static_cast<float>(i) - pos) * rowH / radius;
        if (std::fabs(angle) >= kPi / 2) continue;
        const float y = centreY + radius * std::sin(angle);
        const float squash = std::cos(angle);
        const Text& t = text(kPickerFont, size, titles[static_cast<std::size_t>(i)], 0, 0);
        const float w = static_cast<float>(t.width) / static_cast<float>(scale_);
        const float h = static_cast<float>(t.height) / static_cast<float>(scale_);
        const auto shade = static_cast<uint8_t>(std::lround(255 * (0.3f + 0.7f * squash)));
        drawText(t, r.x + (r.width - w) / 2, y - h / 2, rgba(20, 24, 30, shade), squash);
    }
    // Shading towards the top and bottom edges, and the frame.
    const float band = r.height * 0.38f;
    gradient({r.x, r.y, r.width, band}, rgba(40, 44, 52, 170), rgba(40, 44, 52, 0));
    gradient({r.x, r.y + r.height - band, r.width, band}, rgba(40, 44, 52, 0), rgba(40, 44, 52, 170));
    fill({r.x, r.y, r.width, 3}, rgba(60, 64, 72));
    if (v.showsSelectionIndicator()) {
        const Rect ind{r.x + 2, centreY - rowH / 2, r.width - 4, rowH};
        fillRound(ind, 6, rgba(150, 190, 235, 90), rgba(90, 140, 210, 110));
        fill({ind.x, ind.y, ind.width, 1}, rgba(90, 110, 140, 200));
        fill({ind.x, ind.y + ind.height - 1, ind.width, 1}, rgba(90, 110, 140, 200));
    }
}

AlertLayout Renderer::layoutAlert(const Alert& alert, Size screen) {
    AlertLayout l;
    const float inner = kAlertWidth - 2 * kAlertPadding;
    const int wrap = static_cast<int>(std::lround(inner * static_cast<float>(scale_)));
    const float s = static_cast<float>(scale_);
    const Text& title = text(kAlertTitleFont, 17, alert.title, wrap, TTF_WRAPPED_ALIGN_CENTER);
    const Text& message = text(kAlertTextFont, 14, alert.message, wrap, TTF_WRAPPED_ALIGN_CENTER);
    const float titleH = static_cast<float>(title.height) / s, messageH = static_cast<float>(message.height) / s;
    const auto buttons = alert.buttonTitles();
    const bool sideBySide = buttons.size() <= 2;
    const float buttonsH = buttons.empty() ? 0
                           : sideBySide    ? kAlertButtonHeight
                                           : static_cast<float>(buttons.size()) * (kAlertButtonHeight + 8) - 8;
    float messageRoom = messageH;
    const float fixed = kAlertPadding * 3 + titleH + 8 + buttonsH;
    messageRoom = std::max(0.0f, std::min(messageRoom, screen.height - 24 - fixed));
    const float height = fixed + messageRoom;
    l.box = {std::round((screen.width - kAlertWidth) / 2), std::round((screen.height - height) / 2), kAlertWidth, height};
    l.title = {l.box.x + kAlertPadding, l.box.y + kAlertPadding, inner, titleH};
    l.message = {l.box.x + kAlertPadding, l.title.maxY() + 8, inner, messageRoom};
    const float top = l.message.maxY() + kAlertPadding;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (sideBySide) {
            const float w = buttons.size() == 1 ? inner : (inner - 8) / 2;
            l.buttons.push_back({l.box.x + kAlertPadding + static_cast<float>(i) * (w + 8), top, w, kAlertButtonHeight});
        } else {
            l.buttons.push_back({l.box.x + kAlertPadding, top + static_cast<float>(i) * (kAlertButtonHeight + 8), inner, kAlertButtonHeight});
        }
    }
    return l;
}

void Renderer::drawAlert(const Alert& alert, Size screen) {
    const AlertLayout l = layoutAlert(alert, screen);
    const float s = static_cast<float>(scale_);
    fill({0, 0, screen.width, screen.height}, rgba(0, 0, 0, 115));
    fillRound({l.box.x - 2, l.box.y - 2, l.box.width + 4, l.box.height + 4}, 14, rgba(230, 236, 245, 240), rgba(170, 180, 200, 240));
    fillRound(l.box, 12, rgba(44, 66, 112, 245), rgba(20, 32, 70, 245));
    // A sheen over the top half of the box.
    fillRound({l.box.x, l.box.y, l.box.width, 36}, 12, rgba(255, 255, 255, 60), rgba(255, 255, 255, 8));
    const int wrap = static_cast<int>(std::lround(l.title.width * s));
    const Text& title = text(kAlertTitleFont, 17, alert.title, wrap, TTF_WRAPPED_ALIGN_CENTER);
    drawText(title, l.title.x + (l.title.width - static_cast<float>(title.width) / s) / 2, l.title.y, Colour::white());
    const Text& message = text(kAlertTextFont, 14, alert.message, wrap, TTF_WRAPPED_ALIGN_CENTER);
    setClip(pixels(l.message));
    drawText(message, l.message.x + (l.message.width - static_cast<float>(message.width) / s) / 2, l.message.y, Colour::white());
    SDL_RenderSetClipRect(sdl_, nullptr);
    const auto buttons = alert.buttonTitles();
    for (std::size_t i = 0; i < l.buttons.size(); ++i) {
        const Rect b = l.buttons[i];
        const bool lit = static_cast<int>(i) == pressedButton_;
        fillRound({b.x - 1, b.y - 1, b.width + 2, b.height + 2}, 9, rgba(10, 16, 36, 200), rgba(10, 16, 36, 200));
        fillRound(b, 8, lit ? rgba(150, 180, 235) : rgba(120, 140, 185), lit ? rgba(70, 100, 170) : rgba(50, 68, 120));
        const Text& t = text(kAlertTitleFont, 16, buttons[i], 0, 0);
        drawText(t, b.x + (b.width - static_cast<float>(t.width) / s) / 2, b.y + (b.height - static_cast<float>(t.height) / s) / 2,
                 Colour::white());
    }
}

// ---- the offscreen screen ----

OffscreenScreen::OffscreenScreen(Size points, int scale) : points_(points), scale_(std::max(1, scale)) {
    surface_.reset(SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(points.width) * scale_,
                                                  static_cast<int>(points.height) * scale_, 32, SDL_PIXELFORMAT_RGBA32));
    if (surface_) sdl_.reset(SDL_CreateSoftwareRenderer(surface_.get()));
    if (sdl_) renderer_ = std::make_unique<Renderer>(sdl_.get(), scale_);
}

void OffscreenScreen::draw(Ui& ui) {
    if (!renderer_) return;
    renderer_->draw(ui, points_);
    SDL_RenderFlush(sdl_.get());
}

uint32_t OffscreenScreen::pixel(int x, int y) const {
    if (!surface_ || x < 0 || y < 0 || x >= surface_->w || y >= surface_->h) return 0;
    const auto* p = static_cast<const uint8_t*>(surface_->pixels) + y * surface_->pitch + x * 4;
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

uint32_t OffscreenScreen::pixelAtPoint(float x, float y) const {
    const float s = static_cast<float>(scale_);
    return pixel(static_cast<int>(std::floor(x * s + s / 2)), static_cast<int>(std::floor(y * s + s / 2)));
}

bool OffscreenScreen::savePng(const std::string& path) const {
    if (!surface_) return false;
    // Whatever stood at `path` (a symbolic link, say) is replaced, never
    // written through, and a reader never sees half a picture.
    const auto written = platform::replaceFile(
        path,
        [this](int fd) -> Result<void> {
            const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            std::FILE* f = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
            if (!f && copy >= 0) ::close(copy);
            SDL_RWops* rw = f ? SDL_RWFromFP(f, SDL_TRUE) : nullptr;
            if (!rw && f) std::fclose(f);
            if (!rw || IMG_SavePNG_RW(surface_.get(), rw, 1) != 0) return Error{SDL_GetError()};  // closes the file
            return {};
        },
        {0666, false});
    if (!written) SDL_SetError("%s", written.error().what.c_str());
    return written.ok();
}

WindowScreen::WindowScreen(SDL_Renderer* renderer, int scale, Size points) : points_(points), renderer_(renderer, scale) {}

void WindowScreen::draw(Ui& ui) {
    renderer_.draw(ui, points_);
    SDL_RenderPresent(renderer_.sdl());
}

std::unique_ptr<OffscreenScreen> renderOffscreen(Ui& ui, Size points, int scale) {
    auto screen = std::make_unique<OffscreenScreen>(points, scale);
    screen->draw(ui);
    return screen;
}

}  // namespace vw::desktop
