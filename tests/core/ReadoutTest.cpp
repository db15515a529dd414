#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "battery/Readout.h"

namespace vw {
namespace {

using ::testing::ElementsAre;

const std::string kGreen = "green_skin.png";

Readout readout(const char* model, const char* machine, float fraction, BatteryState state, uint8_t beep) {
    return buildReadout(fraction, state, profileForDevice(model, machine), beep, 0, 0, kGreen);
}

TEST(BuildReadout, Phone3GSOffCharge) {
    const Readout r = readout("iPhone", "iPhone2,1", 0.57f, BatteryState::Unplugged, 0);
    EXPECT_EQ(r.level, 57);
    EXPECT_FALSE(r.onCharge);
    EXPECT_EQ(r.selectedRow, 2);
    EXPECT_FALSE(r.playChime);
    EXPECT_EQ(r.percentText, "57%");
    EXPECT_EQ(r.percentColour, TextColour::White);
    EXPECT_EQ(r.band.secondsToCharge100, 7511);
    EXPECT_THAT(r.lines, ElementsAre("Your Device        iPhone 3GS",
                                     "3D Game Play        0hr 57min",
                                     "Game Play             1hr 54min",
                                     "Talk Time 3G         2hr 51min",
                                     "3G Internet             2hr 51min",
                                     "Recharge Time       2hr 05min",
                                     "Wi-Fi Internet         5hr 07min",
                                     "Video Playback      5hr 42min",
                                     "Audio Playback    17hr 06min",
                                     "Standby Time     171hr 00min"));
    // The working values are the Standby line's.
    EXPECT_EQ(r.hoursAvail, 171);
    EXPECT_EQ(r.minutesAvail, 0);
    EXPECT_EQ(r.hourLessThan10Space, "");
}

TEST(BuildReadout, Phone5FullForcesOneHundred) {
    const Readout r = readout("iPhone", "iPhone5,1", 0.98f, BatteryState::Full, 1);
    EXPECT_EQ(r.level, 100);
    EXPECT_TRUE(r.onCharge);
    EXPECT_EQ(r.selectedRow, 6);
    EXPECT_EQ(r.beepOnLoad, 0);
    EXPECT_FALSE(r.playChime);
    EXPECT_EQ(r.percentText, "100%");
    EXPECT_EQ(r.percentColour, TextColour::White);
    ASSERT_EQ(r.lines.size(), 11u);
    EXPECT_EQ(r.lines[5], "LTE Internet            8hr 00min");
    EXPECT_EQ(r.lines[6], "Recharge Time       0hr 00min");
    EXPECT_EQ(r.lines[10], "Standby Time     225hr 00min");
    EXPECT_EQ(r.band.gaugeScale, 0.001f);
}

TEST(BuildReadout, TabletCharging) {
    const Readout r = readout("iPad", "iPad2,1", 0.08f, BatteryState::Charging, 1);
    EXPECT_EQ(r.level, 8);
    EXPECT_EQ(r.selectedRow, 3);
    EXPECT_TRUE(r.playChime);
    EXPECT_EQ(r.percentText, "8%");
    EXPECT_EQ(r.percentColour, TextColour::Red);
    EXPECT_EQ(r.band.skinFileInUse, "battery_fill_red_3.png");
    EXPECT_THAT(r.lines, ElementsAre("Your Device      iPad 2nd Gen",
                                     "3D Game Play        0hr 28min",
                                     "Game Play             0hr 40min",
                                     "Recharge Time       5hr 51min",
                                     "Wi-Fi Internet         0hr 48min",
                                     "Video Playback      0hr 48min",
                                     "Audio Playback    11hr 12min",
                                     "Standby Time       57hr 36min"));
    EXPECT_EQ(r.band.secondsToCharge100, 21093);
}

TEST(BuildReadout, FirstGenerationPhoneCharging) {
    const Readout r = readout("iPhone", "iPhone1,1", 0.29f, BatteryState::Charging, 1);
    EXPECT_EQ(r.level, 29);
    EXPECT_EQ(r.selectedRow, 4);
    ASSERT_EQ(r.lines.size(), 9u);
    EXPECT_EQ(r.lines[3], "Talk Time 2G         2hr 19min");
    EXPECT_EQ(r.lines[4], "Recharge Time       2hr 57min");
    for (const auto& line : r.lines) EXPECT_EQ(line.find("3G Internet"), std::string::npos);
    EXPECT_TRUE(r.playChime);
}

TEST(BuildReadout, SelectedRowIsTheRechargeLineOnCharge) {
    const struct {
        const char* model;
        const char* machine;
        std::size_t lines;
        int32_t row;
    } cases[] = {
        {"iPhone", "iPhone2,1", 10, 5}, {"iPhone", "iPhone1,2", 10, 5}, {"iPhone", "iPhone4,1", 10, 5},
        {"iPhone", "iPhone5,3", 11, 6}, {"iPhone", "iPhone7,1", 11, 6}, {"iPhone", "iPhone1,1", 9, 4},
        {"iPod touch", "iPod4,1", 8, 3}, {"iPad", "iPad3,4", 8, 3},     {"Kindle", "x", 8, 3},
    };
    for (const auto& c : cases) {
        const Readout r = readout(c.model, c.machine, 0.42f, BatteryState::Charging, 0);
        ASSERT_EQ(r.lines.size(), c.lines) << c.machine;
        EXPECT_EQ(r.selectedRow, c.row) << c.machine;
        EXPECT_EQ(r.lines[c.row].rfind("Recharge Time", 0), 0u) << c.machine;
        // Off charge the Game Play line.
        EXPECT_EQ(readout(c.model, c.machine, 0.42f, BatteryState::Unplugged, 0).selectedRow, 2);
        EXPECT_EQ(readout(c.model, c.machine, 0.42f, BatteryState::Unknown, 0).selectedRow, 2);
    }
}

TEST(BuildReadout, LevelTruncatesInSinglePrecision) {
    const DeviceProfile p = profileForDevice("iPhone", "iPhone2,1");
    auto level = [&](float f) { return buildReadout(f, BatteryState::Unplugged, p, 0, 0, 0, kGreen).level; };
    EXPECT_EQ(level(0.53f), 52);
    EXPECT_EQ(level(0.59f), 58);
    EXPECT_EQ(level(0.57f), 57);
    EXPECT_EQ(level(1.0f), 100);
    EXPECT_EQ(level(0.0f), 0);
    EXPECT_EQ(level(-1.0f), -100);
    // Charging at 100 percent (not Full) also clears the chime.
    const Readout full = buildReadout(1.0f, BatteryState::Charging, p, 1, 0, 0, kGreen);
    EXPECT_EQ(full.beepOnLoad, 0);
    EXPECT_FALSE(full.playChime);
    // Full reads 100 whatever the fraction, also an unknown one.
    EXPECT_EQ(buildReadout(-1.0f, BatteryState::Full, p, 1, 0, 0, kGreen).level, 100);
    // Off charge the chime flag is passed through.
    EXPECT_TRUE(buildReadout(1.0f, BatteryState::Unplugged, p, 1, 0, 0, kGreen).playChime);
}

TEST(BuildReadout, UnknownLevelGivesNegativeFigures) {
    const Readout r = readout("iPhone", "iPhone2,1", -1.0f, BatteryState::Unplugged, 0);
    EXPECT_EQ(r.percentText, "-100%");
    EXPECT_EQ(r.percentColour, TextColour::Red);
    EXPECT_EQ(r.band.gaugeScale, 0.95f);
    EXPECT_EQ(r.lines[2], "Game Play             -3hr -20min");
}

TEST(BuildReadout, PercentColourTurnsRedAtTen) {
    EXPECT_EQ(percentColourFor(10), TextColour::Red);
    EXPECT_EQ(percentColourFor(11), TextColour::White);
    EXPECT_EQ(readout("iPad", "iPad1,1", 0.11f, BatteryState::Unplugged, 0).percentColour, TextColour::White);
    EXPECT_EQ(readout("iPad", "iPad1,1", 0.10f, BatteryState::Unplugged, 0).percentColour, TextColour::Red);
}

DeviceProfile customProfile() {
    DeviceProfile p;
    p.deviceStr = "Your Device      Test";
    p.deviceStrShort = "IPOD";
    return p;
}

// Line `row` of a full battery's readout on off charge, with the time to 100%.
std::string lineAtFull(const DeviceProfile& p, std::size_t row, float fraction = 1.0f, int32_t secondsTo100 = 0) {
    return buildReadout(fraction, BatteryState::Unplugged, p, 0, 0, secondsTo100, kGreen).lines.at(row);
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
    EXPECT_EQ(buildReadout(1.0f, BatteryState::Unplugged, p, 0, 0, 0, kGreen).lines.back(),
              lineAtFull(p, 7));  // Standby Time is the last line
    // Recharge Time: ten hours and more lose the padding too.
    EXPECT_EQ(lineAtFull(p, 3, 0.5f, 36000), "Recharge Time       0hr 53min");  // band 11, IPOD: 3230 s + 0
    p.deviceStrShort = std::nullopt;
    EXPECT_EQ(lineAtFull(p, 3, 0.5f, 36000), "Recharge Time     10hr 00min");
}

TEST(BuildReadout, LteLineOnANonPhone) {
    DeviceProfile p = customProfile();
    p.lteMultiplier = 1;
    const Readout r = buildReadout(0.5f, BatteryState::Charging, p, 0, 0, 0, kGreen);
    ASSERT_EQ(r.lines.size(), 9u);
    EXPECT_EQ(r.lines[3], "LTE Internet            0hr 50min");
    EXPECT_EQ(r.selectedRow, 3);  // no longer the Recharge Time line
}

TEST(BuildReadout, UnknownModelShowsItsOwnLabel) {
    const Readout r = readout("Android", "x", 0.57f, BatteryState::Unplugged, 0);
    ASSERT_EQ(r.lines.size(), 8u);
    EXPECT_EQ(r.lines[0], "Your Device      Unknown");
    EXPECT_EQ(r.lines[3], "Recharge Time       0hr 00min");
    EXPECT_EQ(r.lines[1], "3D Game Play        0hr 00min");
}

TEST(BuildReadout, RechargeFiguresCarryOverForUnknownFamilies) {
    const DeviceProfile p;  // no family key
    const Readout r = buildReadout(0.5f, BatteryState::Charging, p, 1, 500, 9000, kGreen);
    EXPECT_EQ(r.band.secondsToCharge95, 500);
    EXPECT_EQ(r.band.secondsToCharge100, 9000);
    EXPECT_EQ(r.lines[3], "Recharge Time       2hr 30min");
}

}  // namespace
}  // namespace vw
