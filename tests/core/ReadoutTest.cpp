#include <gtest/gtest.h>

#include "battery/Readout.h"

namespace vw {
namespace {

const std::string kGreen = "green_skin.png";

// The readout as the text readout shows it (the selected line marked), and
// whether it chimes.
std::string text(const Readout& r) {
    std::string s = r.percentText + (r.percentColour == TextColour::Red ? " red" : " white") +
                    (r.beepOnLoad ? " chime" : "") + "\n";
    for (std::size_t i = 0; i < r.lines.size(); ++i)
        s += (static_cast<int32_t>(i) == r.selectedRow ? "> " : "  ") + r.lines[i] + "\n";
    return s;
}

Readout readout(const char* model, const char* machine, float fraction, BatteryState state, bool beep = true) {
    return buildReadout(fraction, state, profileForDevice(model, machine), beep, 0, 0, kGreen);
}

TEST(BuildReadout, WholeReadouts) {
    const struct {
        Readout r;
        const char* text;
    } cases[] = {
        {readout("iPhone", "iPhone2,1", 0.57f, BatteryState::Unplugged, false),
         "57% white\n"
         "  Your Device        iPhone 3GS\n"
         "  3D Game Play        0hr 57min\n"
         "> Game Play             1hr 54min\n"
         "  Talk Time 3G         2hr 51min\n"
         "  3G Internet             2hr 51min\n"
         "  Recharge Time       2hr 05min\n"
         "  Wi-Fi Internet         5hr 07min\n"
         "  Video Playback      5hr 42min\n"
         "  Audio Playback    17hr 06min\n"
         "  Standby Time     171hr 00min\n"},
        // An unknown level: minus a hundred percent, negative figures.
        {readout("iPhone", "iPhone2,1", -1.0f, BatteryState::Unplugged, false),
         "-100% red\n"
         "  Your Device        iPhone 3GS\n"
         "  3D Game Play        -1hr -40min\n"
         "> Game Play             -3hr -20min\n"
         "  Talk Time 3G         -5hr 00min\n"
         "  3G Internet             -5hr 00min\n"
         "  Recharge Time       4hr 01min\n"
         "  Wi-Fi Internet         -9hr 00min\n"
         "  Video Playback      -10hr 00min\n"
         "  Audio Playback      -30hr 00min\n"
         "  Standby Time         -300hr 00min\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(text(c.r), c.text);
}

// The lines that only some devices have.
TEST(BuildReadout, LinesOfEachKindOfDevice) {
    const struct {
        const char* model;
        const char* machine;
        std::size_t lines;
        std::size_t row;
        const char* line;
    } cases[] = {
        {"iPhone", "iPhone1,1", 9, 3, "Talk Time 2G         2hr 19min"},
        {"iPhone", "iPhone5,1", 11, 5, "LTE Internet            2hr 19min"},
        {"iPad", "iPad2,1", 8, 3, "Recharge Time       4hr 16min"},
        {"iPod touch", "iPod4,1", 8, 6, "Audio Playback    11hr 36min"},
    };
    for (const auto& c : cases) {
        const Readout r = readout(c.model, c.machine, 0.29f, BatteryState::Charging);
        ASSERT_EQ(r.lines.size(), c.lines) << c.machine;
        EXPECT_EQ(r.lines[c.row], c.line) << c.machine;
    }
}

// On charge the picker selects the Recharge Time line, wherever it falls;
// otherwise Game Play.
TEST(BuildReadout, SelectedRow) {
    const struct {
        const char* model;
        const char* machine;
        int32_t row;
    } cases[] = {
        {"iPhone", "iPhone2,1", 5}, {"iPhone", "iPhone1,2", 5},    {"iPhone", "iPhone4,1", 5},
        {"iPhone", "iPhone5,3", 6}, {"iPhone", "iPhone7,1", 6},    {"iPhone", "iPhone1,1", 4},
        {"iPod touch", "iPod4,1", 3}, {"iPad", "iPad3,4", 3},     {"Kindle", "x", 3},
    };
    for (const auto& c : cases) {
        for (BatteryState state : {BatteryState::Charging, BatteryState::Full}) {
            const Readout r = readout(c.model, c.machine, 0.42f, state);
            EXPECT_EQ(r.selectedRow, c.row) << c.machine;
            EXPECT_EQ(r.lines.at(static_cast<std::size_t>(c.row)).rfind("Recharge Time", 0), 0u) << c.machine;
        }
        EXPECT_EQ(readout(c.model, c.machine, 0.42f, BatteryState::Unplugged).selectedRow, 2);
        EXPECT_EQ(readout(c.model, c.machine, 0.42f, BatteryState::Unknown).selectedRow, 2);
    }
    // A model no table knows has a line of its own for the device, and zeros.
    EXPECT_EQ(readout("Kindle", "x", 0.42f, BatteryState::Unplugged).lines,
              (std::vector<std::string>{std::string(kUnknownDeviceLabel), "3D Game Play        0hr 00min",
                                        "Game Play             0hr 00min", "Recharge Time       0hr 00min",
                                        "Wi-Fi Internet         0hr 00min", "Video Playback      0hr 00min",
                                        "Audio Playback      0hr 00min", "Standby Time         0hr 00min"}));
}

// The level is the fraction times 100 truncated in single precision; full
// (or charging at 100) reads 100 and clears the chime.
TEST(BuildReadout, LevelColourAndChime) {
    const struct {
        float fraction;
        BatteryState state;
        const char* text;  // percentage, colour, chime
    } cases[] = {
        {0.53f, BatteryState::Unplugged, "52% white chime"}, {0.59f, BatteryState::Unplugged, "58% white chime"},
        {0.11f, BatteryState::Unplugged, "11% white chime"}, {0.10f, BatteryState::Unplugged, "10% red chime"},
        {0.0f, BatteryState::Unplugged, "0% red chime"},     {1.0f, BatteryState::Unplugged, "100% white chime"},
        {1.0f, BatteryState::Charging, "100% white"},        {0.99f, BatteryState::Charging, "99% white chime"},
        {-1.0f, BatteryState::Full, "100% white"},           {0.2f, BatteryState::Full, "100% white"},
    };
    for (const auto& c : cases) {
        const std::string all = text(readout("iPhone", "iPhone2,1", c.fraction, c.state));
        EXPECT_EQ(all.substr(0, all.find('\n')), c.text) << c.fraction;
    }
}

DeviceProfile customProfile() {
    DeviceProfile p;
    p.deviceStr = "Your Device      Test";
    p.deviceStrShort = "IPOD";
    return p;
}

// Line `row` of a full battery's readout on off charge, with the time to 100%.
std::string lineAtFull(const DeviceProfile& p, std::size_t row, float fraction = 1.0f, int32_t secondsTo100 = 0) {
    return buildReadout(fraction, BatteryState::Unplugged, p, false, 0, secondsTo100, kGreen).lines.at(row);
}

TEST(BuildReadout, HourPaddingOfEachLine) {
    DeviceProfile p = customProfile();
    struct Case {
        float DeviceProfile::*factor;
        float value;
        std::size_t row;
        const char* line;
    };
    const Case cases[] = {
        // Audio: the format changes at a hundred hours; below ten, two blanks more.
        {&DeviceProfile::audioPlaybackMultiplier, 60, 6, "Audio Playback  100hr 00min"},
        {&DeviceProfile::audioPlaybackMultiplier, 59.4f, 6, "Audio Playback    99hr 00min"},
        {&DeviceProfile::audioPlaybackMultiplier, 5.4f, 6, "Audio Playback      9hr 00min"},
        // Standby: its own padding in three steps.
        {&DeviceProfile::standbyMultiplier, 5.4f, 7, "Standby Time         9hr 00min"},
        {&DeviceProfile::standbyMultiplier, 6.0f, 7, "Standby Time       10hr 00min"},
        {&DeviceProfile::standbyMultiplier, 59.4f, 7, "Standby Time       99hr 00min"},
        {&DeviceProfile::standbyMultiplier, 60.0f, 7, "Standby Time     100hr 00min"},
        // The other lines pad below ten hours.
        {&DeviceProfile::gameMultiplier, 5.4f, 2, "Game Play             9hr 00min"},
        {&DeviceProfile::gameMultiplier, 6.0f, 2, "Game Play           10hr 00min"},
    };
    for (const Case& c : cases) {
        DeviceProfile q = p;
        q.*c.factor = c.value;
        EXPECT_EQ(lineAtFull(q, c.row), c.line) << c.value;
    }
    // Recharge Time: ten hours and more lose the padding too.
    EXPECT_EQ(lineAtFull(p, 3, 0.5f, 36000), "Recharge Time       0hr 53min");  // band 11, IPOD: 3230 s + 0
    p.deviceStrShort = std::nullopt;
    EXPECT_EQ(lineAtFull(p, 3, 0.5f, 36000), "Recharge Time     10hr 00min");
}

TEST(BuildReadout, LteLineOnANonPhone) {
    DeviceProfile p = customProfile();
    p.lteMultiplier = 1;
    const Readout r = buildReadout(0.5f, BatteryState::Charging, p, false, 0, 0, kGreen);
    ASSERT_EQ(r.lines.size(), 9u);
    EXPECT_EQ(r.lines[3], "LTE Internet            0hr 50min");
    EXPECT_EQ(r.selectedRow, 3);  // no longer the Recharge Time line
}

// Without a family the band's recharge figures are the ones carried over.
TEST(BuildReadout, RechargeFiguresCarryOverForUnknownFamilies) {
    const Readout r = buildReadout(0.5f, BatteryState::Charging, DeviceProfile{}, true, 500, 9000, kGreen);
    EXPECT_EQ(r.band.secondsToCharge95, 500);
    EXPECT_EQ(r.lines[3], "Recharge Time       2hr 30min");
}

}  // namespace
}  // namespace vw
