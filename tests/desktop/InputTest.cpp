// Mouse input routed as on the platform: alerts are modal, the slide show's
// pager and the picker take drags, everything else is a touch.
#include "platform/desktop/Input.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::testing {
namespace {

using desktop::InputRouter;
using platform::Point;

struct Routed : DesktopApp {
    explicit Routed(bool firstInstall = false) {
        if (firstInstall) rp.settings.removeObject(kSettingsVersionKey);
        launchToNormalMode();
        screen = render(2);
        input = std::make_unique<InputRouter>(rp.ui, screen->renderer(), platform::Size{320, 480},
                                              [this](const platform::TouchSet& t) { c().touchesBegan(t, nullptr); });
    }
    void click(float x, float y) {
        input->press({x, y}, t);
        input->release({x, y}, t += 0.05);
    }
    // A drag in `steps` moves over `seconds`.
    void drag(Point from, Point to, double seconds = 0.2, int steps = 10) {
        input->press(from, t);
        for (int i = 1; i <= steps; ++i) {
            const float k = static_cast<float>(i) / static_cast<float>(steps);
            input->move({from.x + (to.x - from.x) * k, from.y + (to.y - from.y) * k}, t += seconds / steps);
        }
        input->release(to, t);
    }
    int row() { return picker().selectedRowInComponent(0); }
    std::unique_ptr<desktop::OffscreenScreen> screen;
    std::unique_ptr<InputRouter> input;
    double t = 100;
};

TEST(Input, PickerTakesDragsTapsAndTheMouseWheel) {
    Routed app;
    app.click(50, 248);  // Customize
    app.rp.advance(0.5);
    ASSERT_EQ(app.row(), 1);
    for (int i = 0; i < 3; ++i) app.input->wheel({160, 400}, 1);
    app.rp.advance(1.0);
    EXPECT_EQ(app.row(), 4) << "three notches down, three rows on";
    EXPECT_EQ(app.imageOf("imageViewSkin"), "orange_skin.png");
    app.drag({160, 420}, {160, 320}, 2.0, 40);
    EXPECT_FALSE(app.picker().userTurning());
    app.rp.advance(1.0);
    EXPECT_EQ(app.row(), 6) << "a slow drag up by two rows' height turns the wheel two rows on";
    app.click(160, 372 + 50);
    app.rp.advance(1.0);
    EXPECT_EQ(app.row(), 7) << "a tap one row below the indicator turns that row up to it";
    app.drag({160, 430}, {160, 380}, 0.05, 5);
    app.rp.advance(1.5);
    EXPECT_GT(app.row(), 8) << "a fast flick coasts further than the finger moved";
    // A press at y 265, inside the strip's band but on the picker, is the picker's.
    const auto touchesBefore = app.log().size();
    app.click(160, 265);
    EXPECT_EQ(app.log().size(), touchesBefore);
    EXPECT_EQ(app.mode(), Mode::SkinPicking);
}

TEST(Input, SlideShowPagerTakesDragsAndPassesTapsOn) {
    Routed app;
    app.click(150, 248);  // Get Pro
    ASSERT_EQ(app.mode(), Mode::SlideShow);
    // Drag one page on: the pager comes to rest on page 2, and only then the delegate hears.
    app.drag({250, 250}, {60, 250});
    EXPECT_EQ(app.imageOf("adHeaderView"), "ad_panel_music_on.png");
    app.rp.advance(1.0);
    EXPECT_EQ(app.on<platform::ScrollView>("sv").contentOffset().x, 640);
    EXPECT_EQ(app.imageOf("adHeaderView"), "ad_panel_accuracy_on.png");
    app.drag({100, 250}, {160, 250}, 0.05, 3);
    app.rp.advance(1.0);
    EXPECT_EQ(app.on<platform::ScrollView>("sv").contentOffset().x, 320) << "a short flick back still pages";
    app.click(200, 250);
    EXPECT_THAT(app.rp.openedUrls, ::testing::ElementsAre(app.c().config().paidEditionUrl())) << "a tap is the controller's";
}

TEST(Input, AlertsAreModalAndAnswerOnRelease) {
    Routed app(true);
    ASSERT_NE(app.rp.ui.alerts().front(), nullptr);
    const auto layout = app.screen->renderer().layoutAlert(*app.rp.ui.alerts().front(), {320, 480});
    app.click(50, 248);
    EXPECT_EQ(app.mode(), Mode::Normal) << "a click on the screen behind the alert does nothing";
    const Point ok{layout.buttons[0].x + 20, layout.buttons[0].y + 10};
    app.input->press(ok, app.t);
    app.input->release({5, 5}, app.t += 0.1);
    EXPECT_NE(app.rp.ui.alerts().front(), nullptr) << "pressing the button and sliding off it does not answer";
    app.click(ok.x, ok.y);
    EXPECT_EQ(app.rp.ui.alerts().front(), nullptr);
    app.click(50, 248);
    EXPECT_EQ(app.mode(), Mode::SkinPicking);
}

// SDL's events as the application takes them, at two pixels a point.
TEST(Input, SdlEventsAreTranslatedFromWindowPixels) {
    using namespace desktop;
    using Phase = PointerEvent::Phase;
    auto event = [](Uint32 type) {
        SDL_Event e{};
        e.type = type;
        return e;
    };
    auto mouse = [&](Uint32 type, Uint8 button, int x, int y) {
        SDL_Event e = event(type);
        e.button.button = button, e.button.x = x, e.button.y = y, e.button.timestamp = 1500;
        return e;
    };
    auto wheel = [&](int y, Uint32 direction) {
        SDL_Event e = event(SDL_MOUSEWHEEL);
        e.wheel.y = y, e.wheel.direction = direction;
        return e;
    };
    auto key = [&](SDL_Keycode sym, Uint16 mod) {
        SDL_Event e = event(SDL_KEYDOWN);
        e.key.keysym.sym = sym, e.key.keysym.mod = mod;
        return e;
    };
    SDL_Event motion = event(SDL_MOUSEMOTION);
    motion.motion.x = 31, motion.motion.y = 8;
    const struct { const char* what; SDL_Event event; std::optional<WindowEvent> expected; } cases[] = {
        {"left press", mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 496), PointerEvent{Phase::Press, {50, 248}, 1.5}},
        {"left release", mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 101, 3), PointerEvent{Phase::Release, {50.5f, 1.5f}, 1.5}},
        {"right press", mouse(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 496), std::nullopt},
        {"motion", motion, PointerEvent{Phase::Move, {15.5f, 4}, 0}},
        {"wheel up", wheel(1, SDL_MOUSEWHEEL_NORMAL), WheelEvent{-1}},
        {"wheel up, flipped", wheel(1, SDL_MOUSEWHEEL_FLIPPED), WheelEvent{1}},
        {"wheel sideways", wheel(0, SDL_MOUSEWHEEL_NORMAL), std::nullopt},
        {"shifted key", key(SDLK_UP, KMOD_LSHIFT), KeyEvent{SDLK_UP, true}},
        {"key", key(SDLK_q, KMOD_NUM), KeyEvent{SDLK_q, false}},
        {"key up", event(SDL_KEYUP), std::nullopt},
        {"quit", event(SDL_QUIT), QuitEvent{}},
        {"window", event(SDL_WINDOWEVENT), ExposeEvent{}},
    };
    for (const auto& c : cases) EXPECT_TRUE(translateEvent(c.event, 2) == c.expected) << c.what;
    // And routed: a click at (100, 496) pixels is one at (50, 248) points, Customize.
    Routed app;
    EXPECT_TRUE(app.input->handle(*translateEvent(cases[0].event, 2)));
    EXPECT_TRUE(app.input->handle(*translateEvent(mouse(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 100, 496), 2)));
    EXPECT_EQ(app.mode(), Mode::SkinPicking);
}
}  // namespace
}  // namespace vw::testing
