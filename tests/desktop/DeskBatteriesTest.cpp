// The batteries on the desk: this computer's, then each peripheral, shown
// one at a time by Tab or a touch on the percentage.
#include "platform/desktop/DeskBatteries.h"
#include "tests/controller/AppFixture.h"

namespace vw::desktop {
namespace {

using testing::App;

// This computer with fixed figures.
struct Laptop final : history::ThisComputer {
    std::string name() const override { return "Lenovo ThinkPad X1"; }
    history::Figures figures() override { return {}; }
    std::vector<history::Reading> history(double) override { return {}; }
    history::Health health() const override { return {}; }
    double now() const override { return 0; }
};

PowerDevice device(const std::string& name, uint32_t type, const std::string& model, double percent, uint32_t state = 2) {
    PowerDevice d;
    d.path = "/org/freedesktop/UPower/devices/" + name;
    d.type = type;
    d.powerSupply = type == 2;
    d.model = model;
    d.percentage = percent;
    d.state = state;
    d.present = true;
    return d;
}

const std::vector<PowerDevice> kDesk = {device("battery_BAT0", 2, "5B10W13930", 64), device("battery_BAT1", 2, "5B10W13931", 70),
                                        device("mouse_dev_F0", 5, "MX Master 3", 45), device("headset_dev_A1", 17, "", 80, 1)};

TEST(DeskBatteries, FindsADeviceByNameOrModelAndSaysWhichThereAre) {
    const std::vector<PowerDevice> peripherals = peripheralsOf(kDesk);
    ASSERT_EQ(peripherals.size(), 2u) << "the laptop's own batteries are this computer's";
    const std::pair<std::string, std::string> found[] = {
        {"mouse_dev_F0", "MX Master 3 (Mouse)"}, {"mx master 3", "MX Master 3 (Mouse)"}, {"headset_dev_A1", "Headset"}};
    for (const auto& [name, title] : found) EXPECT_EQ(findDevice(peripherals, name)->title(), title) << name;
    EXPECT_EQ(findDevice(peripherals, "trackball").error().what, "no device named 'trackball' (there are mouse_dev_F0, headset_dev_A1)");
    EXPECT_EQ(findDevice({}, "x").error().what, "no device named 'x' (there are none)");
}

struct DeskScreen : ::testing::Test {
    void SetUp() override {
        app.launchToNormalMode();
        desk.setDevices(kDesk);
    }
    // The controller, which listens to the desk, goes before the desk does.
    void TearDown() override { app.delegate.setViewController(nullptr); }
    std::vector<std::string> rows() { return app.picker().titles(); }
    Laptop laptop;
    App app{platform::RecordingOptions{}, AppConfig{}, &desk};
    DeskBatteries desk{laptop, &app.rp.plainDevice, nullptr};
};

TEST_F(DeskScreen, TabAndATouchOnThePercentageGoRoundTheDesk) {
    ASSERT_EQ(rows().at(0), "Lenovo ThinkPad X1");
    EXPECT_TRUE(app.c().showNextBattery(1));  // Tab
    app.rp.runPending();
    EXPECT_EQ(rows(), (std::vector<std::string>{"MX Master 3 (Mouse)", "No time figures for this device"}));
    EXPECT_EQ(app.percent().text(), "45%");
    app.touch(150, 160);  // on the percentage
    app.rp.runPending();
    EXPECT_EQ(rows().at(0), "Headset");
    EXPECT_EQ(app.percent().text(), "80%");
    EXPECT_EQ(app.mode(), Mode::Normal) << "not the history";
    EXPECT_TRUE(app.c().showNextBattery(1));
    EXPECT_EQ(rows().at(0), "Lenovo ThinkPad X1") << "round again";
    EXPECT_TRUE(app.c().showNextBattery(-1));  // Shift+Tab
    EXPECT_EQ(rows().at(0), "Headset");
    app.touch(160, 60);  // elsewhere on the battery: the history
    EXPECT_EQ(app.mode(), Mode::History);
}

TEST_F(DeskScreen, TheDeviceOnShowFollowsItsReadingAndGoesBackToTheComputerWhenUnplugged) {
    app.c().showNextBattery(1);
    app.rp.runPending();
    std::vector<PowerDevice> now = kDesk;
    now[2].percentage = 30;
    desk.setDevices(now);
    app.rp.runPending();
    EXPECT_EQ(app.percent().text(), "30%");
    now.erase(now.begin() + 2);
    desk.setDevices(now);
    app.rp.runPending();
    EXPECT_EQ(rows().at(0), "Lenovo ThinkPad X1");
    DeskBatteries alone(laptop, nullptr, nullptr);
    EXPECT_FALSE(alone.showNext(1)) << "no other battery";
}
}  // namespace
}  // namespace vw::desktop
