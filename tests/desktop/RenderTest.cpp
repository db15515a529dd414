// The screen drawn off screen: where the filler, the buttons, the percentage,
// the picker and the slide show land in pixels.
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
            const float s = app.c().transformSize;
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
    const float shown = app.c().imageSliceView->presentationTransform().sx;
    EXPECT_GT(shown, app.c().transformSize);
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
        const float y = static_cast<float>(app.c().vertSpacer) + 237 + 11;
        const uint32_t customize = resourcePixel("btn_chrome_customize.png", 10, 11);
        const uint32_t ourApps = resourcePixel("btn_chrome_our_apps.png", 10, 11);
        auto loading = app.render();
        EXPECT_FALSE(near(loading->pixelAtPoint(13, y), customize, 2));
        EXPECT_FALSE(near(loading->pixelAtPoint(232, y), ourApps, 2));
        app.rp.advance(1.5);
        ASSERT_EQ(app.c().lateLoadingDone, 1);
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
    DesktopApp ten(0.10f);
    ten.launchToNormalMode();
    ASSERT_EQ(ten.c().textView->text(), "10%");
    const auto [tenRed, tenWhite] = redAndWhite(*ten.render());
    EXPECT_GT(tenRed, 100);
    EXPECT_EQ(tenWhite, 0);

    DesktopApp eleven(0.11f);
    eleven.launchToNormalMode();
    ASSERT_EQ(eleven.c().textView->text(), "11%");
    const auto [elevenRed, elevenWhite] = redAndWhite(*eleven.render());
    EXPECT_EQ(elevenRed, 0);
    EXPECT_GT(elevenWhite, 100);
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
    app.c().pickerView->userSelectRow(12);
    app.rp.runPending();
    EXPECT_EQ(app.c().skinFileToShow, "forest_road_skin.png");
    EXPECT_EQ(app.c().pickerView->wheelPosition(), 12.0f);
    const auto forest = indicatorBand(*app.render());
    EXPECT_NE(green, forest);

    // The same row reached by the program's own (animated) selection draws the same.
    DesktopApp other;
    other.launchToNormalMode();
    other.touch(50, 248);
    other.c().pickerView->selectRow(12, 0, true);
    other.rp.advance(0.5);
    EXPECT_EQ(indicatorBand(*other.render()), forest);
    // The readout's own selected line sits under the indicator in normal mode too.
    DesktopApp normal;
    normal.launchToNormalMode();
    EXPECT_EQ(normal.c().pickerView->wheelPosition(), static_cast<float>(normal.c().pickerSelectRow));
}

TEST(Render, SlideShowCoversTheScreen) {
    DesktopApp app;
    app.launchToNormalMode();
    app.touch(150, 248);  // Get Pro
    ASSERT_EQ(app.c().showingAdSlideShow, 1);
    auto shot = app.render(2);
    // Header, the first panel, and the backdrop's footer: nothing of the main screen.
    EXPECT_TRUE(near(shot->pixelAtPoint(5, 5), resourcePixel("ad_panel_music_on.png", 5, 5)));
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

TEST(Render, DenseScreensDrawTheTwiceSizeImages) {
    DesktopApp app;
    app.launchToNormalMode();
    app.touch(150, 248);  // Get Pro: the show's first header across the top
    ASSERT_EQ(app.c().showingAdSlideShow, 1);
    const std::string header = platform::builtResourceDir() + "/ad_panel_music_on.png";
    const std::string sharp = platform::builtResourceDir() + "/ad_panel_music_on@2x.png";
    EXPECT_LT(headerDifference(*app.render(1), header), 1.0);
    // Two pixels a point: the twice-size drawing itself, not the small one
    // stretched (which blurs the lettering by several levels on average).
    EXPECT_LT(headerDifference(*app.render(2), sharp), 1.0);
    EXPECT_EQ(desktop::sharperImagePath("/r/a.png", 2), "/r/a@2x.png");
    EXPECT_EQ(desktop::sharperImagePath("/r/a.png", 1), "");
    EXPECT_EQ(desktop::sharperImagePath("/r.d/a", 3), "");
    EXPECT_EQ(desktop::sharperImagePath("/r/a@2x.png", 2), "");
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

}  // namespace
}  // namespace vw::testing
