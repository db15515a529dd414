#include <gtest/gtest.h>
#include "battery/Readout.h"

namespace vw {
namespace {

using enum BatteryState;

// The readout as the text readout shows it (the selected line marked), and
// whether it chimes.
std::string text(const Readout& r) {
    std::string s = r.percentText + (r.percentColour == TextColour::Red ? " red" : " white") +
                    (r.beepOnLoad ? " chime" : "") + "\n";
    for (std::size_t i = 0; i < r.lines.size(); ++i)
        s += (static_cast<int32_t>(i) == r.selectedRow ? "> " : "  ") + r.lines[i] + "\n";
    return s;
}

Readout readout(const DeviceProfile& p, float fraction, BatteryState state, bool beep = true, int32_t to95 = 0,
                int32_t to100 = 0) {
    return buildReadout(fraction, state, p, beep, to95, to100, "green_skin.png");
}
Readout readout(const char* model, const char* machine, float fraction, BatteryState state, bool beep = true) {
    return readout(profileForDevice(model, machine), fraction, state, beep);
}

DeviceProfile customProfile(float DeviceProfile::*factor = nullptr, float value = 0) {
    DeviceProfile p;
    p.deviceStr = "Your Device      Test";
    p.deviceStrShort = "IPOD";
    if (factor) p.*factor = value;
    return p;
}

TEST(BuildReadout, WholeReadouts) {
    EXPECT_EQ(text(readout("iPhone", "iPhone2,1", 0.57f, Unplugged, false)),
              "57% white\n  Your Device        iPhone 3GS\n  3D Game Play        0hr 57min\n"
              "> Game Play             1hr 54min\n  Talk Time 3G         2hr 51min\n  3G Internet             2hr 51min\n"
              "  Recharge Time       2hr 05min\n  Wi-Fi Internet         5hr 07min\n  Video Playback      5hr 42min\n"
              "  Audio Playback    17hr 06min\n  Standby Time     171hr 00min\n");
    // An unknown level: minus a hundred percent, negative figures.
    EXPECT_EQ(text(readout("iPhone", "iPhone2,1", -1.0f, Unplugged, false)),
              "-100% red\n  Your Device        iPhone 3GS\n  3D Game Play        -1hr -40min\n"
              "> Game Play             -3hr -20min\n  Talk Time 3G         -5hr 00min\n  3G Internet             -5hr 00min\n"
              "  Recharge Time       4hr 01min\n  Wi-Fi Internet         -9hr 00min\n  Video Playback      -10hr 00min\n"
              "  Audio Playback      -30hr 00min\n  Standby Time         -300hr 00min\n");
}

// The lines that only some devices have, on charge; without a family the
// recharge figures are the ones carried over.
TEST(BuildReadout, LinesOfEachKindOfDevice) {
    const struct { DeviceProfile profile; float fraction; int32_t to95, to100; std::size_t lines, row; const char* line;
                   int32_t selected; } cases[] = {
        {profileForDevice("iPhone", "iPhone1,1"), 0.29f, 0, 0, 9, 3, "Talk Time 2G         2hr 19min", 4},
        {profileForDevice("iPhone", "iPhone5,1"), 0.29f, 0, 0, 11, 5, "LTE Internet            2hr 19min", 6},
        {profileForDevice("iPad", "iPad2,1"), 0.29f, 0, 0, 8, 3, "Recharge Time       4hr 16min", 3},
        {profileForDevice("iPod touch", "iPod4,1"), 0.29f, 0, 0, 8, 6, "Audio Playback    11hr 36min", 3},
        {customProfile(&DeviceProfile::lteMultiplier, 1), 0.5f, 0, 0, 9, 3, "LTE Internet            0hr 50min", 3},
        {DeviceProfile{}, 0.5f, 500, 9000, 8, 3, "Recharge Time       2hr 30min", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const Readout r = readout(c.profile, c.fraction, Charging, true, c.to95, c.to100);
        ASSERT_EQ(r.lines.size(), c.lines);
        EXPECT_EQ(r.lines[c.row], c.line);
        EXPECT_EQ(r.selectedRow, c.selected);
    }
    EXPECT_EQ(readout(DeviceProfile{}, 0.5f, Charging, true, 500, 9000).band.secondsToCharge95, 500);
}

// On charge the picker selects the Recharge Time line, wherever it falls;
// otherwise Game Play.
TEST(BuildReadout, SelectedRow) {
    const struct { const char *model, *machine; int32_t row; } cases[] = {
        {"iPhone", "iPhone2,1", 5}, {"iPhone", "iPhone5,3", 6}, {"iPhone", "iPhone1,1", 4},
        {"iPod touch", "iPod4,1", 3}, {"Kindle", "x", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.machine);
        for (BatteryState state : {Charging, Full}) {
            const Readout r = readout(c.model, c.machine, 0.42f, state);
            EXPECT_EQ(r.selectedRow, c.row);
            EXPECT_EQ(r.lines.at(static_cast<std::size_t>(c.row)).rfind("Recharge Time", 0), 0u);
        }
        for (BatteryState state : {Unplugged, Unknown}) EXPECT_EQ(readout(c.model, c.machine, 0.42f, state).selectedRow, 2);
    }
    // A model no table knows has a line of its own for the device, and zeros.
    EXPECT_EQ(readout("Kindle", "x", 0.42f, Unplugged).lines,
              (std::vector<std::string>{std::string(kUnknownDeviceLabel), "3D Game Play        0hr 00min",
                                        "Game Play             0hr 00min", "Recharge Time       0hr 00min",
                                        "Wi-Fi Internet         0hr 00min", "Video Playback      0hr 00min",
                                        "Audio Playback      0hr 00min", "Standby Time         0hr 00min"}));
}

// The level is the fraction times 100 truncated in single precision; full
// (or charging at 100) reads 100 and clears the chime.
TEST(BuildReadout, LevelColourAndChime) {
    const struct { float fraction; BatteryState state; const char* text; } cases[] = {  // text: percentage, colour, chime
        {0.53f, Unplugged, "52% white chime"}, {0.11f, Unplugged, "11% white chime"}, {0.10f, Unplugged, "10% red chime"},
        {0.0f, Unplugged, "0% red chime"},     {1.0f, Unplugged, "100% white chime"}, {1.0f, Charging, "100% white"},
        {0.99f, Charging, "99% white chime"},  {-1.0f, Full, "100% white"},
    };
    for (const auto& c : cases) {
        const std::string all = text(readout("iPhone", "iPhone2,1", c.fraction, c.state));
        EXPECT_EQ(all.substr(0, all.find('\n')), c.text) << c.fraction;
    }
}

TEST(BuildReadout, HourPaddingOfEachLine) {
    using P = DeviceProfile;
    const struct { float P::*factor; float value; std::size_t row; const char* line; } cases[] = {
        // Audio: the format changes at a hundred hours; below ten, two blanks more.
        {&P::audioPlaybackMultiplier, 60, 6, "Audio Playback  100hr 00min"}, {&P::audioPlaybackMultiplier, 59.4f, 6, "Audio Playback    99hr 00min"},
        {&P::audioPlaybackMultiplier, 5.4f, 6, "Audio Playback      9hr 00min"},
        // Standby: its own padding in three steps.
        {&P::standbyMultiplier, 5.4f, 7, "Standby Time         9hr 00min"}, {&P::standbyMultiplier, 6.0f, 7, "Standby Time       10hr 00min"},
        {&P::standbyMultiplier, 59.4f, 7, "Standby Time       99hr 00min"}, {&P::standbyMultiplier, 60.0f, 7, "Standby Time     100hr 00min"},
        // The other lines pad below ten hours.
        {&P::gameMultiplier, 5.4f, 2, "Game Play             9hr 00min"}, {&P::gameMultiplier, 6.0f, 2, "Game Play           10hr 00min"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readout(customProfile(c.factor, c.value), 1.0f, Unplugged, false).lines.at(c.row), c.line) << c.value;
    // Recharge Time: ten hours and more lose the padding too.
    DeviceProfile p = customProfile();
    EXPECT_EQ(readout(p, 0.5f, Unplugged, false, 0, 36000).lines.at(3), "Recharge Time       0hr 53min");  // band 11, IPOD
    p.deviceStrShort = std::nullopt;
    EXPECT_EQ(readout(p, 0.5f, Unplugged, false, 0, 36000).lines.at(3), "Recharge Time     10hr 00min");
}

}  // namespace
}  // namespace vw
