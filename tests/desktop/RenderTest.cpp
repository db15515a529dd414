// The screen drawn off screen: where the filler, the slide show and an alert
// land in pixels, and what changes the picture.
#include "tests/desktop/DesktopFixture.h"

namespace vw::testing {
namespace {

using desktop::OffscreenScreen;

// The filler varies only from top to bottom, so its pixel at any x of a row
// is known from the image.
uint32_t fillerRow(float y) { return resourcePixel("battery_empty_filler.png", 100, static_cast<int>(y - 74)); }
uint32_t greenSkin(float x, float y) { return resourcePixel("green_skin.png", static_cast<int>(x - 31), static_cast<int>(y - 75)); }

TEST(Render, FillerCoversItsRectangleAtEveryGaugeAndPixelScale) {
    for (float level : {0.57f, 0.05f, 0.97f})
        for (int scale : {1, 2, 3}) {
            DesktopApp app(level);
            app.launchToNormalMode();
            const float s = app.on("imageSliceView").transform().sx, left = 282.5f - 251.0f * s, y = 100;  // above the text
            auto shot = app.render(scale);
            SCOPED_TRACE("level " + std::to_string(level) + " scale " + std::to_string(scale) + " gauge " + std::to_string(s));
            EXPECT_TRUE(near(shot->pixelAtPoint(left + 2, y), fillerRow(y)));
            EXPECT_TRUE(near(shot->pixelAtPoint(281, y), fillerRow(y)));
            EXPECT_TRUE(near(shot->pixelAtPoint(281, 260), fillerRow(260)));
            if (left > 36) {
                EXPECT_TRUE(near(shot->pixelAtPoint(left - 4, y), greenSkin(left - 4, y))) << "left of it, the skin";
            }
            EXPECT_TRUE(near(shot->pixelAtPoint(283.5f, 150), resourcePixel("battery_empty_4.png", 282, 145), 12))
                << "right of the filler: the battery outline";
        }
}

// The slide show's header, pixel for pixel against a file at the screen's own density.
double headerDifference(const OffscreenScreen& shot, const std::string& file) {
    const auto img = loadRgba(platform::builtResourceDir() + "/" + file), screen = rgba(shot.surface());
    if (!img) return 1e9;
    double total = 0;
    int n = 0;
    for (int y = 0; y < img->h && y < screen->h; ++y)
        for (int x = 0; x < img->w && x < screen->w; ++x, n += 3)
            for (int c = 0; c < 3; ++c) total += std::abs(int(bytesAt(img.get(), x, y)[c]) - int(bytesAt(screen.get(), x, y)[c]));
    return n ? total / n : 1e9;
}

TEST(Render, SlideShowCoversTheScreenAtTheScreensDensity) {
    DesktopApp app, normal;
    app.launchToNormalMode();
    normal.launchToNormalMode();
    app.touch(150, 248);  // Get Pro
    ASSERT_EQ(app.mode(), Mode::SlideShow);
    auto shot = app.render(2), before = normal.render(2);
    // Header, the first panel, and the backdrop's footer: nothing of the main screen.
    EXPECT_TRUE(near(shot->pixelAtPoint(160, 72 + 200), resourcePixel("ad_music_panel.png", 160, 200)));
    EXPECT_TRUE(near(shot->pixelAtPoint(8, 442), resourcePixel("ad_backdrop.png", 8, 442)));
    EXPECT_TRUE(near(shot->pixelAtPoint(88, 476), resourcePixel("ad_backdrop.png", 88, 476)));
    int differing = 0;
    for (int y = 0; y < 480; y += 16)
        for (int x = 0; x < 320; x += 16)
            differing += !near(shot->pixelAtPoint(float(x), float(y)), before->pixelAtPoint(float(x), float(y)), 3);
    EXPECT_GT(differing, 20 * 30 * 9 / 10) << "the show should replace nearly every pixel";
    // The header at one pixel a point is the image; at two, the twice-size
    // drawing itself, not the small one stretched (which blurs the lettering
    // by several levels on average).
    EXPECT_LT(headerDifference(*app.render(1), "ad_panel_music_on.png"), 1.0);
    EXPECT_LT(headerDifference(*shot, "ad_panel_music_on@2x.png"), 1.0);
    const std::pair<const char*, int> noSharper[] = {{"/r/a.png", 1}, {"/r.d/a", 3}, {"/r/a@2x.png", 2}};
    for (const auto& [file, scale] : noSharper) EXPECT_EQ(desktop::sharperImagePath(file, scale), "") << file << scale;
}

// Fonts, pictures and sounds the window keeps open are closed in whatever
// program it starts.
TEST(Render, EveryFileTheRendererKeepsOpenIsClosedOnExec) {
    DesktopApp app;
    app.launchToNormalMode();
    auto shot = app.render();
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const auto target = std::filesystem::read_symlink(e.path(), ec);
        const std::string ext = target.extension().string();  // ours, not what the test runner handed down
        if (ec || (ext != ".ttf" && ext != ".otf" && ext != ".png" && ext != ".wav" && ext != ".mp3")) continue;
        ++files;
        EXPECT_TRUE(::fcntl(std::stoi(e.path().filename().string()), F_GETFD) & FD_CLOEXEC) << target;
    }
    EXPECT_GT(files, 0) << "the fonts are open";
}

TEST(Render, AlertIsABoxOverTheDimmedScreen) {
    DesktopApp app;
    app.rp.settings.removeObject(kSettingsVersionKey);  // a first install: the welcome alert
    app.launchToNormalMode();
    ASSERT_NE(app.rp.ui.alerts().front(), nullptr);
    auto shot = app.render();
    const auto layout = shot->renderer().layoutAlert(*app.rp.ui.alerts().front(), {320, 480});
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_GT(layout.box.y, 0);
    EXPECT_LT(layout.box.maxY(), 480);
    // Inside the box: its dark blue; outside: the white picker, dimmed.
    const uint32_t inBox = shot->pixelAtPoint(layout.box.x + 6, layout.box.y + layout.box.height / 2);
    EXPECT_LT((inBox >> 16) & 0xFF, 60u);
    EXPECT_GT(inBox & 0xFF, 60u);
    EXPECT_LT((shot->pixelAtPoint(2, 470) >> 16) & 0xFF, 200u);
}

using namespace platform;

// One of every kind of view, on the manual clock, drawn off screen: the
// stage for checking change detection against the pictures drawn.
struct Stage : PickerDataSource, PickerDelegate {
    Stage() {
        window->setBackgroundColor(Colour::black());
        plain->setBackgroundColor(Colour::red());
        image->setImage(ui.imageNamed("green_skin.png"));
        text->setText("Fully charged");
        text->setFont(Font{"DejaVu Sans", 17});
        scroll->setContentSize({280, 100});
        for (float x : {0.0f, 140.0f}) {
            auto half = std::make_shared<View>(ui, Rect{x, 0, 140, 100});
            half->setBackgroundColor(x ? Colour::white() : Colour::red());
            scroll->addSubview(half);
        }
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
        const auto* p = static_cast<const uint8_t*>(shot->surface()->pixels);
        return {p, p + static_cast<std::ptrdiff_t>(shot->surface()->pitch) * shot->surface()->h};
    }
    void animate(const std::function<void()>& change) {
        ui.animator().beginAnimations("a", nullptr);
        ui.animator().setAnimationDuration(1);
        change();
        ui.animator().commitAnimations();
    }
    void shrinkAnimated() { animate([this] { plain->setTransform(Transform::scale(0.2f, 1)); }); }
    // A view kept for the stage's life.
    template <class V> std::shared_ptr<V> made(Rect frame) { return std::static_pointer_cast<V>(keep.emplace_back(std::make_shared<V>(ui, frame))); }
    void alert() { ui.alerts().show({"Battery", "Full", std::string("OK"), {}, "", {}}); }
    std::vector<std::string> rows{"Green", "Pink", "Steel", "Zebra", "Carbon"};
    float rowHeight = 44;
    RecordingPlatform rp{DesktopApp::options(480)};
    Ui& ui = rp.ui;
    std::shared_ptr<Window> window = std::make_shared<Window>(ui, Rect{0, 0, 320, 480});
    std::shared_ptr<View> plain = std::make_shared<View>(ui, Rect{10, 10, 60, 60});
    std::shared_ptr<ImageView> image = std::make_shared<ImageView>(ui, Rect{80, 10, 60, 60});
    std::shared_ptr<TextView> text = std::make_shared<TextView>(ui, Rect{150, 10, 160, 60});
    std::shared_ptr<ScrollView> scroll = std::make_shared<ScrollView>(ui, Rect{10, 80, 140, 100});
    std::shared_ptr<PickerView> picker = std::make_shared<PickerView>(ui, Rect{0, 264, 0, 0});
    std::vector<std::shared_ptr<View>> keep;
};

// Whatever changes the picture moves the view system's revision on, which is
// what the event loop redraws by; and whatever leaves the revision alone
// leaves the picture alone.
TEST(ChangeDetection, EveryDrawnChangeMovesTheRevisionAndChangesThePictureAndNothingElseDoes) {
    const struct {
        const char* what;
        bool drawn;
        std::function<void(Stage&)> change, before = {};  // before: set up first, outside what is measured
    } cases[] = {
        {"view.setFrame", true, [](Stage& s) { s.plain->setFrame({20, 10, 60, 60}); }},
        {"view.setAnchorPoint", true, [](Stage& s) { s.plain->setAnchorPoint({0, 0}); }},
        {"view.setTransform", true, [](Stage& s) { s.plain->setTransform(Transform::scale(0.5f, 1)); }},
        {"view.setHidden", true, [](Stage& s) { s.image->setHidden(true); }},
        {"view.setBackgroundColor", true, [](Stage& s) { s.plain->setBackgroundColor(Colour::white()); }},
        {"view.addSubview", true, [](Stage& s) {
             s.plain->addSubview(s.made<View>(Rect{0, 0, 10, 10}));
             s.keep.back()->setBackgroundColor(Colour::white());
         }},
        {"view.addSubview moves a subview to the front", true, [](Stage& s) { s.window->addSubview(s.plain); },
         [](Stage& s) { s.plain->setFrame({0, 264, 60, 60}); }},
        {"window.makeKeyAndVisible", true, [](Stage& s) { s.made<Window>(Rect{0, 0, 320, 480})->makeKeyAndVisible(); }},
        {"imageView.setImage", true, [](Stage& s) { s.image->setImage(nullptr); }},
        {"textView.setText", true, [](Stage& s) { s.text->setText("Charging"); }},
        {"textView.setTextColor", true, [](Stage& s) { s.text->setTextColor(Colour::red()); }},
        {"textView.setFont", true, [](Stage& s) { s.text->setFont(Font{"DejaVu Sans", 24}); }},
        {"textView.setTextAlignment", true, [](Stage& s) { s.text->setTextAlignment(TextAlignment::Right); }},
        {"picker.setShowsSelectionIndicator", true, [](Stage& s) { s.picker->setShowsSelectionIndicator(false); }},
        {"picker.reloadAllComponents: rows", true, [](Stage& s) { s.rows[0] = "Grey", s.picker->reloadAllComponents(); }},
        {"picker.reloadAllComponents: row height", true, [](Stage& s) { s.rowHeight = 30, s.picker->reloadAllComponents(); }},
        {"picker.selectRow", true, [](Stage& s) { s.picker->selectRow(2, 0, false); }},
        {"picker.selectRow animated, a frame later", true, [](Stage& s) { s.picker->selectRow(3, 0, true), s.rp.advance(0.1); }},
        {"picker.userDragWheelBy", true, [](Stage& s) { s.picker->userDragWheelBy(-20); }},
        {"picker.userSelectRow", true, [](Stage& s) { s.picker->userSelectRow(4); }},
        {"picker.userTurnWheelBy, a frame later", true, [](Stage& s) { s.picker->userTurnWheelBy(1), s.rp.advance(0.1); }},
        {"scrollView.setContentOffset", true, [](Stage& s) { s.scroll->setContentOffset({70, 0}); }},
        {"scrollView.scrollRectToVisible", true, [](Stage& s) { s.scroll->scrollRectToVisible({140, 0, 140, 100}, false); }},
        {"scrollView.scrollRectToVisible animated, a frame later", true,
         [](Stage& s) { s.scroll->scrollRectToVisible({140, 0, 140, 100}, true), s.rp.advance(0.1); }},
        {"scrollView.userDragBy", true, [](Stage& s) { s.scroll->userDragBy(-30, 0); }},
        {"scrollView.userSwipeTo", true, [](Stage& s) { s.scroll->userSwipeTo({140, 0}); }, [](Stage& s) { s.scroll->setPagingEnabled(true); }},
        {"a transform animation, a frame later", true, [](Stage& s) { s.rp.advance(0.3); }, [](Stage& s) { s.shrinkAnimated(); }},
        {"a transform animation cut short", true, [](Stage& s) { s.plain->setTransform(Transform::identity()); },
         [](Stage& s) { s.shrinkAnimated(), s.rp.advance(0.3); }},
        {"alert.show", true, [](Stage& s) { s.alert(); }},
        {"alert.clickedButtonAtIndex", true, [](Stage& s) { s.ui.alerts().clickButtonAtIndex(0); }, [](Stage& s) { s.alert(); }},
        {"the same frame again", false, [](Stage& s) { s.plain->setFrame(s.plain->frame()); }},
        {"the same colour again", false, [](Stage& s) { s.plain->setBackgroundColor(Colour::red()); }},
        {"the same text again", false, [](Stage& s) { s.text->setText("Fully charged"); }},
        {"the same image again", false, [](Stage& s) { s.image->setImage(s.ui.imageNamed("green_skin.png")); }},
        {"the same rows reloaded", false, [](Stage& s) { s.picker->reloadAllComponents(); }},
        {"the selected row again", false, [](Stage& s) { s.picker->selectRow(0, 0, true); }},
        {"the same offset again", false, [](Stage& s) { s.scroll->setContentOffset({0, 0}); }},
        {"the key window again", false, [](Stage& s) { s.window->makeKeyAndVisible(); }},
        {"view.setUserInteractionEnabled", false, [](Stage& s) { s.plain->setUserInteractionEnabled(false); }},
        {"view.setName", false, [](Stage& s) { s.plain->setName("box"); }},
        {"textView.setEditable", false, [](Stage& s) { s.text->setEditable(false); }},
        {"scrollView.setBounces", false, [](Stage& s) { s.scroll->setBounces(false); }},
        {"scrollView.setPagingEnabled", false, [](Stage& s) { s.scroll->setPagingEnabled(true); }},
        {"scrollView.setContentSize", false, [](Stage& s) { s.scroll->setContentSize({420, 100}); }},
        {"picker.setDataSource until reloaded", false, [](Stage& s) { s.picker->setDataSource(nullptr, "nil"); }},
        {"an empty animation block", false, [](Stage& s) { s.animate([] {}); }},
        {"time passing with nothing animating", false, [](Stage& s) { s.rp.advance(1); }},
        {"a transform animation after its end", false, [](Stage& s) { s.rp.advance(1); }, [](Stage& s) { s.shrinkAnimated(), s.rp.advance(2); }},
    };
    for (const auto& c : cases) {
        Stage s;
        if (c.before) c.before(s);
        const auto picture = s.picture();
        const uint64_t revision = s.ui.revision();
        c.change(s);
        EXPECT_EQ(s.ui.revision() != revision, c.drawn) << c.what << ": the revision";
        EXPECT_EQ(s.picture() != picture, c.drawn) << c.what << ": the picture";
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
}  // namespace
}  // namespace vw::testing
