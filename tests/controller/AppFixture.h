// A launched application on the recording double, and helpers to read the trace.
#pragma once
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/VoltwiseAppDelegate.h"
#include "platform/recording/RecordingPlatform.h"
#include "rating/RatingPrompt.h"
#include "screen/SkinCatalogue.h"
#include "tests/lib/Scratch.h"

namespace vw::testing {

// A resources folder with a stand-in file for every resource the
// application names, so tests do not depend on the generated artwork.
// Images are PNG headers only; their size is what the header says.
inline const std::string& testResourceDir() {
    struct Dir : test::TempDir {
        Dir() {
            const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\x40\0\0\x01\x6c", 24);  // 320 x 364
            std::vector<std::string> images = {"battery_empty_4.png", "battery_empty_filler.png", "battery_fill_red_3.png",
                                               "btn_chrome_save.png", "btn_chrome_customize.png", "ad_backdrop.png",
                                               "btn_chrome_pro_vs_free.png", "btn_chrome_our_apps.png"};
            for (const std::string panel : {"music", "accuracy", "full_cycle", "charge_display", "tips"})
                images.insert(images.end(), {"ad_" + panel + "_panel.png", "ad_panel_" + panel + "_on.png"});
            for (const auto& row : kSkinCatalogue) images.emplace_back(row.file);
            for (const auto& name : images) test::writeFile(*this / name, png);
            test::writeFile(*this / "voltwise_sound.wav", "RIFF");
            test::writeFile(*this / "saxophone_cool_riff_1.mp3", "ID3");
            pathText = path.string();
        }
        std::string pathText;
    };
    static const Dir dir;
    return dir.pathText;
}

inline platform::RecordingOptions withTestResources(platform::RecordingOptions o) {
    if (o.resourceDir.empty()) o.resourceDir = testResourceDir();
    return o;
}

struct App {
    explicit App(platform::RecordingOptions options = {}, AppConfig config = {}, history::ThisComputer* computer = nullptr)
        : rp(withTestResources(std::move(options))), delegate(rp.platform, std::move(config), computer) {
        VoltwiseViewController::resetProcessStateForTesting();
        rp.setBattery(0.57f, BatteryState::Unplugged);  // tests change it before launching
    }
    // The rating prompt's background run uses the platform: it has ended before the platform goes.
    ~App() { EXPECT_TRUE(RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(60))); }
    // Launches, and waits for the rating prompt's background run, so nothing
    // more is recorded from another thread afterwards.
    void launch() {
        delegate.applicationDidFinishLaunching(rp.application);
        EXPECT_TRUE(RatingPrompt::waitForBackgroundRuns(std::chrono::seconds(60)));
    }
    // Launches, lets the first grow animation end and the first state report arrive.
    void launchToNormalMode() {
        launch();
        rp.advance(2.5);
    }
    VoltwiseViewController& c() { return *delegate.viewController(); }
    Mode mode() { return c().mode(); }
    void touch(float x, float y) { c().touchesBegan({platform::Touch{{x, y}}}, nullptr); }
    // What is on screen: the view of that name (see screen/MainScreen.cpp,
    // promo/SlideShow.cpp), which must be there.
    template <class T = platform::View>
    T& on(const std::string& name) {
        T* v = platform::findView<T>(*c().view(), name);
        if (!v) throw std::runtime_error("no view " + name);
        return *v;
    }
    platform::PickerView& picker() { return on<platform::PickerView>("pickerView"); }
    platform::TextView& percent() { return on<platform::TextView>("textView"); }
    std::string text(const std::string& view) { return on<platform::TextView>(view).text(); }
    // The name of the image a view shows ("" for none).
    std::string imageOf(const std::string& view) {
        const auto& image = on<platform::ImageView>(view).image();
        return image ? image->name : "";
    }
    std::vector<std::string> calls() const { return rp.calls(); }
    std::vector<std::string> log() const { return rp.log.lines(); }
    std::vector<std::string> logSince(std::size_t from) const {
        auto l = log();
        return {l.begin() + static_cast<std::ptrdiff_t>(from), l.end()};
    }
    void preload(const std::map<std::string, std::string>& stored) {
        for (const auto& [k, v] : stored) rp.plainSettings.preload(k, v);
    }
    platform::RecordingPlatform rp;
    VoltwiseAppDelegate delegate;
};

// Index of the first call at or after `from` that equals `call`, or matches
// it as a prefix when `call` ends with '*'; -1 when there is none.
inline long findCall(const std::vector<std::string>& calls, const std::string& call, std::size_t from = 0) {
    const bool prefix = call.ends_with('*');
    const std::string want = prefix ? call.substr(0, call.size() - 1) : call;
    for (std::size_t i = from; i < calls.size(); ++i)
        if (prefix ? calls[i].starts_with(want) : calls[i] == want) return static_cast<long>(i);
    return -1;
}

// The calls appear in this order (others may come between).
inline ::testing::AssertionResult inOrder(const std::vector<std::string>& calls, const std::vector<std::string>& expected) {
    std::size_t from = 0;
    for (const auto& e : expected) {
        const long i = findCall(calls, e, from);
        if (i < 0) {
            std::string all;
            for (const auto& c : calls) all += "  " + c + "\n";
            return ::testing::AssertionFailure() << "missing, in order: " << e << "\nafter position " << from << " of:\n" << all;
        }
        from = static_cast<std::size_t>(i) + 1;
    }
    return ::testing::AssertionSuccess();
}

inline std::size_t countCalls(const std::vector<std::string>& calls, const std::string& call) {
    std::size_t n = 0;
    for (long i = findCall(calls, call); i >= 0; i = findCall(calls, call, static_cast<std::size_t>(i) + 1)) ++n;
    return n;
}

}  // namespace vw::testing
