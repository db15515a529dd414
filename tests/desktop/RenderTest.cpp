// The screen drawn off screen: where the filler, the buttons, the percentage,
// the picker and the slide show land in pixels.
#include <fcntl.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "tests/desktop/DesktopFixture.h"

namespace vw::testing {
namespace {

using desktop::OffscreenScreen;

// The filler varies only from top to bottom, so its pixel at any x of a row
// is known from the image.
uint32_t fillerRow(float y) { return resourcePixel("battery_empty_filler.png", 100, static_cast<int>(y - 74)); }
uint32_t greenSkin(float x, float y) { return resourcePixel("green_skin.png", static_cast<int>(x - 31), static_cast<int>(y - 75)); }

TEST(Render, FillerCoversItsRectangleAtEveryGaugeAndPixelScale) {
    for (float level : {0.57f, 0.05f, 0.97f}) {
        for (int scale : {1, 2, 3}) {
            DesktopApp app(level);
            app.launchToNormalMode();
            const float s = app.on("imageSliceView").transform().sx;
            const float left = 282.5f - 251.0f * s;
            auto shot = app.render(scale);
            const float y = 100;  // above the percentage text
            SCOPED_TRACE("level " + std::to_string(level) + " scale " + std::to_string(scale) + " gauge " + std::to_string(s));
            // Inside the filler's rectangle: the filler.
            EXPECT_TRUE(near(shot->pixelAtPoint(left + 2, y), fillerRow(y)));
            EXPECT_TRUE(near(shot->pixelAtPoint(281, y), fillerRow(y)));
            EXPECT_TRUE(near(shot->pixelAtPoint(281, 260), fillerRow(260)));
            // Left of it, the skin shows (when the gauge leaves any).
            if (left > 36) {
                EXPECT_TRUE(near(shot->pixelAtPoint(left - 4, y), greenSkin(left - 4, y)));
            }
            EXPECT_TRUE(near(shot->pixelAtPoint(283.5f, 150), resourcePixel("battery_empty_4.png", 282, 145), 12))
                << "right of the filler: the battery outline";
        }
    }
}

TEST(Render, TheGaugeGrowsFromEmptyOverTwoSeconds) {
    DesktopApp app(0.57f);
    app.launch();
    app.rp.runPending();
    // At the start the filler covers the whole skin.
    EXPECT_TRUE(near(app.render()->pixelAtPoint(40, 100), fillerRow(100)));
    app.rp.advance(1.0);
    const float shown = app.on("imageSliceView").presentationTransform().sx;
    EXPECT_GT(shown, app.on("imageSliceView").transform().sx);
    EXPECT_LT(shown, 1.0f);
    const float left = 282.5f - 251.0f * shown;
    auto mid = app.render(2);
    EXPECT_TRUE(near(mid->pixelAtPoint(left + 2, 100), fillerRow(100)));
    EXPECT_TRUE(near(mid->pixelAtPoint(left - 3, 100), greenSkin(left - 3, 100)));
}

TEST(Render, ButtonStripHiddenWhileLoadingShownAfterTheFirstGrow) {
    for (float height : {480.0f, 568.0f}) {
        DesktopApp app(0.57f, BatteryState::Unplugged, height);
        app.launch();
        app.rp.advance(1.0);
        const float y = app.on("btnCustomizeView").frame().y + 11;
        const uint32_t customize = resourcePixel("btn_chrome_customize.png", 10, 11);
        const uint32_t ourApps = resourcePixel("btn_chrome_our_apps.png", 10, 11);
        auto loading = app.render();
        EXPECT_FALSE(near(loading->pixelAtPoint(13, y), customize, 2));
        EXPECT_FALSE(near(loading->pixelAtPoint(232, y), ourApps, 2));
        app.rp.advance(1.5);
        ASSERT_EQ(app.mode(), Mode::Normal);
        auto normal = app.render();
        EXPECT_TRUE(near(normal->pixelAtPoint(13, y), customize));
        EXPECT_TRUE(near(normal->pixelAtPoint(123, y), resourcePixel("btn_chrome_pro_vs_free.png", 10, 11)));
        EXPECT_TRUE(near(normal->pixelAtPoint(232, y), ourApps));
    }
}

// Counts pixels of the percentage text close to pure red and to pure white.
std::pair<int, int> redAndWhite(const OffscreenScreen& shot) {
    int red = 0, white = 0;
    for (int y = 127; y < 175; ++y)
        for (int x = 118; x < 230; ++x) {
            const uint32_t p = shot.pixelAtPoint(static_cast<float>(x), static_cast<float>(y));
            if (near(p, 0xFF0000, 30)) ++red;
            if (near(p, 0xFFFFFF, 20)) ++white;
        }
    return {red, white};
}

TEST(Render, PercentageIsRedAtTenAndWhiteAtEleven) {
    for (const auto& [level, text, red] : {std::tuple{0.10f, "10%", true}, std::tuple{0.11f, "11%", false}}) {
        DesktopApp app(level);
        app.launchToNormalMode();
        ASSERT_EQ(app.percent().text(), text);
        const auto [reds, whites] = redAndWhite(*app.render());
        EXPECT_EQ(reds > 100, red) << text;
        EXPECT_EQ(whites > 100, !red) << text;
        EXPECT_EQ(red ? whites : reds, 0) << text;
    }
}

// The rows under the selection indicator, as pixels.
std::vector<uint32_t> indicatorBand(const OffscreenScreen& shot) {
    std::vector<uint32_t> band;
    for (int y = 350; y < 395; ++y)
        for (int x = 10; x < 310; x += 2) band.push_back(shot.pixelAtPoint(static_cast<float>(x), static_cast<float>(y)));
    return band;
}

TEST(Render, PickerShowsTheSelectedRowUnderTheIndicator) {
    DesktopApp app;
    app.launchToNormalMode();
    app.touch(50, 248);  // Customize
    app.rp.advance(0.5);
    const auto green = indicatorBand(*app.render());
    app.picker().userSelectRow(12);
    app.rp.runPending();
    EXPECT_EQ(app.imageOf("imageViewSkin"), "forest_road_skin.png");
    EXPECT_EQ(app.picker().wheelPosition(), 12.0f);
    const auto forest = indicatorBand(*app.render());
    EXPECT_NE(green, forest);

    // The same row reached by the program's own (animated) selection draws the same.
    DesktopApp other;
    other.launchToNormalMode();
    other.touch(50, 248);
    other.picker().selectRow(12, 0, true);
    other.rp.advance(0.5);
    EXPECT_EQ(indicatorBand(*other.render()), forest);
    // The readout's own selected line sits under the indicator in normal mode too.
    DesktopApp normal;
    normal.launchToNormalMode();
    EXPECT_EQ(normal.picker().wheelPosition(), static_cast<float>(normal.picker().selectedRowInComponent(0)));
}

// The slide show's header, pixel for pixel against a file at the screen's
// own density.
double headerDifference(const OffscreenScreen& shot, const std::string& file) {
    SDL_Surface* raw = IMG_Load(file.c_str());
    if (!raw) return 1e9;
    SDL_Surface* img = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
    SDL_FreeSurface(raw);
    SDL_Surface* screen = SDL_ConvertSurfaceFormat(shot.surface(), SDL_PIXELFORMAT_RGBA32, 0);
    double total = 0;
    int n = 0;
    for (int y = 0; y < img->h && y < screen->h; ++y)
        for (int x = 0; x < img->w && x < screen->w; ++x) {
            const auto* a = static_cast<const uint8_t*>(img->pixels) + y * img->pitch + x * 4;
            const auto* b = static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch + x * 4;
            for (int c = 0; c < 3; ++c) total += std::abs(int(a[c]) - int(b[c]));
            n += 3;
        }
    SDL_FreeSurface(img);
    SDL_FreeSurface(screen);
    return n ? total / n : 1e9;
}

TEST(Render, SlideShowCoversTheScreenAtTheScreensDensity) {
    DesktopApp app;
    app.launchToNormalMode();
    app.touch(150, 248);  // Get Pro
    ASSERT_EQ(app.mode(), Mode::SlideShow);
    auto shot = app.render(2);
    // Header, the first panel, and the backdrop's footer: nothing of the main screen.
    EXPECT_TRUE(near(shot->pixelAtPoint(160, 72 + 200), resourcePixel("ad_music_panel.png", 160, 200)));
    EXPECT_TRUE(near(shot->pixelAtPoint(8, 442), resourcePixel("ad_backdrop.png", 8, 442)));
    EXPECT_TRUE(near(shot->pixelAtPoint(88, 476), resourcePixel("ad_backdrop.png", 88, 476)));
    int differing = 0;
    auto normal = DesktopApp();
    normal.launchToNormalMode();
    auto before = normal.render(2);
    for (int y = 0; y < 480; y += 16)
        for (int x = 0; x < 320; x += 16)
            if (!near(shot->pixelAtPoint(static_cast<float>(x), static_cast<float>(y)),
                      before->pixelAtPoint(static_cast<float>(x), static_cast<float>(y)), 3))
                ++differing;
    EXPECT_GT(differing, 20 * 30 * 9 / 10) << "the show should replace nearly every pixel";
    // The header at one pixel a point is the image; at two, the twice-size
    // drawing itself, not the small one stretched (which blurs the lettering
    // by several levels on average).
    EXPECT_LT(headerDifference(*app.render(1), platform::builtResourceDir() + "/ad_panel_music_on.png"), 1.0);
    EXPECT_LT(headerDifference(*shot, platform::builtResourceDir() + "/ad_panel_music_on@2x.png"), 1.0);
    EXPECT_EQ(desktop::sharperImagePath("/r/a.png", 2), "/r/a@2x.png");
    EXPECT_EQ(desktop::sharperImagePath("/r/a.png", 1), "");
    EXPECT_EQ(desktop::sharperImagePath("/r.d/a", 3), "");
    EXPECT_EQ(desktop::sharperImagePath("/r/a@2x.png", 2), "");
}

// Fonts, pictures and sounds the window keeps open are closed in whatever
// program it starts.
TEST(Render, EveryFileTheRendererKeepsOpenIsClosedOnExec) {
    DesktopApp app;
    app.launchToNormalMode();
    auto shot = desktop::renderOffscreen(app.rp.ui, {320, 480}, 1);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const auto target = std::filesystem::read_symlink(e.path(), ec);
        // Ours: fonts, pictures, sounds (not what the test runner handed down).
        const std::string ext = target.extension().string();
        if (ec || (ext != ".ttf" && ext != ".otf" && ext != ".png" && ext != ".wav" && ext != ".mp3")) continue;
        const int fd = std::stoi(e.path().filename().string());
        ++files;
        EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC) << target;
    }
    EXPECT_GT(files, 0) << "the fonts are open";
}

TEST(Render, AlertIsABoxOverTheDimmedScreen) {
    DesktopApp app;
    app.rp.settings.removeObject(kSettingsVersionKey);  // a first install: the welcome alert
    app.launchToNormalMode();
    ASSERT_NE(app.rp.ui.alerts().front(), nullptr);
    auto shot = desktop::renderOffscreen(app.rp.ui, {320, 480}, 1);
    const auto layout = shot->renderer().layoutAlert(*app.rp.ui.alerts().front(), {320, 480});
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_GT(layout.box.y, 0);
    EXPECT_LT(layout.box.maxY(), 480);
    // Inside the box: its dark blue; outside: the screen, dimmed.
    const uint32_t inBox = shot->pixelAtPoint(layout.box.x + 6, layout.box.y + layout.box.height / 2);
    EXPECT_LT((inBox >> 16) & 0xFF, 60u);
    EXPECT_GT(inBox & 0xFF, 60u);
    const uint32_t dimmed = shot->pixelAtPoint(2, 470);  // the white picker, dimmed
    EXPECT_LT((dimmed >> 16) & 0xFF, 200u);
}

using namespace platform;

// One of every kind of view, on the manual clock, drawn off screen: the
// stage for checking change detection against the pictures drawn.
struct Stage : PickerDataSource, PickerDelegate {
    Stage() {
        window = std::make_shared<Window>(ui, Rect{0, 0, 320, 480});
        window->setBackgroundColor(Colour::black());
        plain = std::make_shared<View>(ui, Rect{10, 10, 60, 60});
        plain->setBackgroundColor(Colour::red());
        image = std::make_shared<ImageView>(ui, Rect{80, 10, 60, 60});
        image->setImage(ui.imageNamed("green_skin.png"));
        text = std::make_shared<TextView>(ui, Rect{150, 10, 160, 60});
        text->setText("Fully charged");
        text->setFont(Font{"DejaVu Sans", 17});
        scroll = std::make_shared<ScrollView>(ui, Rect{10, 80, 140, 100});
        scroll->setContentSize({280, 100});
        auto left = std::make_shared<View>(ui, Rect{0, 0, 140, 100});
        left->setBackgroundColor(Colour::red());
        auto right = std::make_shared<View>(ui, Rect{140, 0, 140, 100});
        right->setBackgroundColor(Colour::white());
        scroll->addSubview(left);
        scroll->addSubview(right);
        picker = std::make_shared<PickerView>(ui, Rect{0, 264, 0, 0});
        picker->setDataSource(this, "stage");
        picker->setDelegate(this, "stage");
        picker->setShowsSelectionIndicator(true);
        picker->reloadAllComponents();
        for (const auto& v : std::vector<std::shared_ptr<View>>{plain, image, text, scroll, picker}) window->addSubview(v);
        window->makeKeyAndVisible();
    }
    int numberOfComponentsInPickerView(PickerView&) override { return 1; }
    int pickerViewNumberOfRowsInComponent(PickerView&, int) override { return static_cast<int>(rows.size()); }
    float pickerViewRowHeightForComponent(PickerView&, int) override { return rowHeight; }
    std::string pickerViewTitleForRow(PickerView&, int row, int) override { return rows[static_cast<std::size_t>(row)]; }
    void pickerViewDidSelectRow(PickerView&, int, int) override {}

    std::vector<uint8_t> picture() {
        auto shot = desktop::renderOffscreen(ui, {320, 480}, 1);
        const SDL_Surface* s = shot->surface();
        const auto* p = static_cast<const uint8_t*>(s->pixels);
        return {p, p + static_cast<std::ptrdiff_t>(s->pitch) * s->h};
    }
    void animate(const std::function<void()>& change) {
        ui.animator().beginAnimations("a", nullptr);
        ui.animator().setAnimationDuration(1);
        change();
        ui.animator().commitAnimations();
    }

    std::vector<std::string> rows{"Green", "Pink", "Steel", "Zebra", "Carbon"};
    float rowHeight = 44;
    RecordingPlatform rp{DesktopApp::options(480)};
    Ui& ui = rp.ui;
    std::shared_ptr<Window> window;
    std::shared_ptr<View> plain;
    std::shared_ptr<ImageView> image;
    std::shared_ptr<TextView> text;
    std::shared_ptr<ScrollView> scroll;
    std::shared_ptr<PickerView> picker;
    std::vector<std::shared_ptr<View>> keep;  // views a change made
};

struct StageChange {
    const char* what;
    std::function<void(Stage&)> change;
    std::function<void(Stage&)> before = {};  // set up first, outside what is measured
};

// Whether the change moved the revision on, and whether it changed the picture.
std::pair<bool, bool> revisionAndPictureMoved(const StageChange& c) {
    Stage s;
    if (c.before) c.before(s);
    const auto picture = s.picture();
    const uint64_t revision = s.ui.revision();
    c.change(s);
    return {s.ui.revision() != revision, s.picture() != picture};
}

// Whatever changes the picture moves the view system's revision on, which is
// what the event loop redraws by; and whatever leaves the revision alone
// leaves the picture alone.
TEST(ChangeDetection, EveryDrawnChangeMovesTheRevisionAndChangesThePicture) {
    const std::vector<StageChange> drawn = {
        {"view.setFrame", [](Stage& s) { s.plain->setFrame({20, 10, 60, 60}); }},
        {"view.setAnchorPoint", [](Stage& s) { s.plain->setAnchorPoint({0, 0}); }},
        {"view.setTransform", [](Stage& s) { s.plain->setTransform(Transform::scale(0.5f, 1)); }},
        {"view.setHidden", [](Stage& s) { s.image->setHidden(true); }},
        {"view.setBackgroundColor", [](Stage& s) { s.plain->setBackgroundColor(Colour::white()); }},
        {"view.addSubview", [](Stage& s) {
             auto dot = std::make_shared<View>(s.ui, Rect{0, 0, 10, 10});
             dot->setBackgroundColor(Colour::white());
             s.plain->addSubview(dot);
         }},
        {"view.addSubview moves a subview to the front", [](Stage& s) { s.window->addSubview(s.plain); },
         [](Stage& s) { s.plain->setFrame({0, 264, 60, 60}); }},
        {"window.makeKeyAndVisible", [](Stage& s) {
             auto other = std::make_shared<Window>(s.ui, Rect{0, 0, 320, 480});
             other->makeKeyAndVisible();
             s.keep.push_back(other);
         }},
        {"imageView.setImage", [](Stage& s) { s.image->setImage(nullptr); }},
        {"textView.setText", [](Stage& s) { s.text->setText("Charging"); }},
        {"textView.setTextColor", [](Stage& s) { s.text->setTextColor(Colour::red()); }},
        {"textView.setFont", [](Stage& s) { s.text->setFont(Font{"DejaVu Sans", 24}); }},
        {"textView.setTextAlignment", [](Stage& s) { s.text->setTextAlignment(TextAlignment::Right); }},
        {"picker.setShowsSelectionIndicator", [](Stage& s) { s.picker->setShowsSelectionIndicator(false); }},
        {"picker.reloadAllComponents: rows", [](Stage& s) {
             s.rows[0] = "Grey";
             s.picker->reloadAllComponents();
         }},
        {"picker.reloadAllComponents: row height", [](Stage& s) {
             s.rowHeight = 30;
             s.picker->reloadAllComponents();
         }},
        {"picker.selectRow", [](Stage& s) { s.picker->selectRow(2, 0, false); }},
        {"picker.selectRow animated, a frame later", [](Stage& s) {
             s.picker->selectRow(3, 0, true);
             s.rp.advance(0.1);
         }},
        {"picker.userDragWheelBy", [](Stage& s) { s.picker->userDragWheelBy(-20); }},
        {"picker.userSelectRow", [](Stage& s) { s.picker->userSelectRow(4); }},
        {"picker.userTurnWheelBy, a frame later", [](Stage& s) {
             s.picker->userTurnWheelBy(1);
             s.rp.advance(0.1);
         }},
        {"scrollView.setContentOffset", [](Stage& s) { s.scroll->setContentOffset({70, 0}); }},
        {"scrollView.scrollRectToVisible", [](Stage& s) { s.scroll->scrollRectToVisible({140, 0, 140, 100}, false); }},
        {"scrollView.scrollRectToVisible animated, a frame later", [](Stage& s) {
             s.scroll->scrollRectToVisible({140, 0, 140, 100}, true);
             s.rp.advance(0.1);
         }},
        {"scrollView.userDragBy", [](Stage& s) { s.scroll->userDragBy(-30, 0); }},
        {"scrollView.userSwipeTo", [](Stage& s) { s.scroll->userSwipeTo({140, 0}); }, [](Stage& s) {
             s.scroll->setPagingEnabled(true);
         }},
        {"a transform animation, a frame later", [](Stage& s) { s.rp.advance(0.3); },
         [](Stage& s) { s.animate([&] { s.plain->setTransform(Transform::scale(0.2f, 1)); }); }},
        {"a transform animation cut short", [](Stage& s) { s.plain->setTransform(Transform::identity()); },
         [](Stage& s) {
             s.animate([&] { s.plain->setTransform(Transform::scale(0.2f, 1)); });
             s.rp.advance(0.3);
         }},
        {"alert.show", [](Stage& s) { s.ui.alerts().show({"Battery", "Full", std::string("OK"), {}, "", {}}); }},
        {"alert.clickedButtonAtIndex", [](Stage& s) { s.ui.alerts().clickButtonAtIndex(0); },
         [](Stage& s) { s.ui.alerts().show({"Battery", "Full", std::string("OK"), {}, "", {}}); }},
    };
    for (const auto& c : drawn) {
        const auto [revision, picture] = revisionAndPictureMoved(c);
        EXPECT_TRUE(revision) << c.what;
        EXPECT_TRUE(picture) << c.what << ": the case draws no change";
    }
}

// The screen at rest draws nothing: the slide show's timer, which fires
// every four seconds while the show is closed, changes nothing drawn, and
// neither does the battery reporting the same reading again.
TEST(ChangeDetection, TheScreenAtRestMovesNoRevision) {
    DesktopApp app;
    app.launchToNormalMode();
    app.rp.advance(5);  // the button strip's late loading and anything else of the start
    const uint64_t settled = app.rp.ui.revision();
    app.rp.setBattery(0.57f, BatteryState::Unplugged);
    app.rp.advance(20);
    EXPECT_EQ(app.rp.ui.revision(), settled);
    app.rp.setBattery(0.58f, BatteryState::Unplugged);
    app.rp.advance(0.1);
    EXPECT_NE(app.rp.ui.revision(), settled) << "a new reading shows";
}

TEST(ChangeDetection, WhatIsNotDrawnLeavesTheRevisionAndThePictureAlone) {
    const std::vector<StageChange> undrawn = {
        {"the same frame again", [](Stage& s) { s.plain->setFrame(s.plain->frame()); }},
        {"the same colour again", [](Stage& s) { s.plain->setBackgroundColor(Colour::red()); }},
        {"the same text again", [](Stage& s) { s.text->setText("Fully charged"); }},
        {"the same image again", [](Stage& s) { s.image->setImage(s.ui.imageNamed("green_skin.png")); }},
        {"the same rows reloaded", [](Stage& s) { s.picker->reloadAllComponents(); }},
        {"the selected row again", [](Stage& s) { s.picker->selectRow(0, 0, true); }},
        {"the same offset again", [](Stage& s) { s.scroll->setContentOffset({0, 0}); }},
        {"the key window again", [](Stage& s) { s.window->makeKeyAndVisible(); }},
        {"view.setUserInteractionEnabled", [](Stage& s) { s.plain->setUserInteractionEnabled(false); }},
        {"view.setName", [](Stage& s) { s.plain->setName("box"); }},
        {"textView.setEditable", [](Stage& s) { s.text->setEditable(false); }},
        {"scrollView.setBounces", [](Stage& s) { s.scroll->setBounces(false); }},
        {"scrollView.setPagingEnabled", [](Stage& s) { s.scroll->setPagingEnabled(true); }},
        {"scrollView.setContentSize", [](Stage& s) { s.scroll->setContentSize({420, 100}); }},
        {"picker.setDataSource until reloaded", [](Stage& s) { s.picker->setDataSource(nullptr, "nil"); }},
        {"an empty animation block", [](Stage& s) { s.animate([] {}); }},
        {"time passing with nothing animating", [](Stage& s) { s.rp.advance(1); }},
        {"a transform animation after its end", [](Stage& s) { s.rp.advance(1); },
         [](Stage& s) {
             s.animate([&] { s.plain->setTransform(Transform::scale(0.2f, 1)); });
             s.rp.advance(2);
         }},
    };
    for (const auto& c : undrawn) {
        const auto [revision, picture] = revisionAndPictureMoved(c);
        EXPECT_FALSE(revision) << c.what;
        EXPECT_FALSE(picture) << c.what;
    }
}

}  // namespace
}  // namespace vw::testing
