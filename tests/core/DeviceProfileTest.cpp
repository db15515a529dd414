#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/DeviceProfile.h"

namespace vw {
namespace {

struct Expected {
    const char* machine;
    const char* label;
    const char* family;
    uint8_t firstGen;
    // game, game3D, talk3G, talk2G, threeG, wifi, video, audio, standby, lte
    std::vector<float> f;
    int32_t s3GS, s3G, s2G;
};

void expectFactors(const DeviceProfile& p, const std::vector<float>& f, const std::string& ctx) {
    const float got[] = {p.gameMultiplier,   p.game3DMultiplier, p.talk3GMultiplier,       p.talk2GMultiplier,
                         p.threeGMultiplier, p.wifiMultiplier,   p.videoPlaybackMultiplier, p.audioPlaybackMultiplier,
                         p.standbyMultiplier, p.lteMultiplier};
    const char* names[] = {"game", "game3D", "talk3G", "talk2G", "threeG", "wifi", "video", "audio", "standby", "lte"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(got[i], f[i]) << ctx << " " << names[i];
}

// Every phone row, reached by an identifier that its test is the first to match.
TEST(ProfileForDevice, PhoneTable) {
    const std::vector<Expected> rows = {
        {"iPhone2,1", "Your Device        iPhone 3GS", "3GS", 0, {2, 1, 3, 7.2f, 3, 5.4f, 6, 18, 180, 0}, 1190, 0, 0},
        {"iPhone1,2", "Your Device          iPhone 3G", "3G", 0, {2, 1, 3, 6, 3, 3.6f, 4.209f, 14.4f, 180, 0}, 0, 562, 0},
        {"iPhone1,1", "Your Device          iPhone 2G", "2G", 1, {2, 1, 0, 4.8f, 0, 3.6f, 4.209f, 14.4f, 150, 0}, 0, 0, 576},
        {"iPhone3,1", "Your Device             iPhone 4", "3G", 0, {2, 1, 4.35f, 8.7f, 3.6f, 6, 6, 24, 180, 0}, 1190, 562, 0},
        {"iPhone3,3", "Your Device             iPhone 4", "3G", 0, {2, 1, 4.35f, 8.7f, 3.6f, 6, 6, 24, 180, 0}, 1190, 562, 0},
        {"iPhone4,1", "Your Device            iPhone 4S", "3G", 0, {2, 1, 4.8f, 8.7f, 3.6f, 5.4f, 6, 24, 120, 0}, 1190, 562, 0},
        {"iPhone5,1", "Your Device             iPhone 5", "3G", 0, {2, 1, 4.8f, 8.7f, 4.8f, 6, 6, 24, 135, 4.8f}, 1190, 562, 0},
        {"iPhone5,2", "Your Device             iPhone 5", "3G", 0, {2, 1, 4.8f, 8.7f, 4.8f, 6, 6, 24, 135, 4.8f}, 1190, 562, 0},
        {"iPhone5,3", "Your Device            iPhone 5c", "3G", 0, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0},
        {"iPhone5,4", "Your Device            iPhone 5c", "3G", 0, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0},
        {"iPhone6,1", "Your Device            iPhone 5S", "3G", 0, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0},
        {"iPhone6,2", "Your Device            iPhone 5S", "3G", 0, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0},
        {"iPhone7,2", "Your Device             iPhone 6", "3G", 0, {2.2f, 1.1f, 8.5f, 8.7f, 6, 6.6f, 6.6f, 30, 150, 6}, 1190, 562, 0},
        // The last row takes everything the others miss.
        {"iPhone7,1", "Your Device      iPhone 6 Plus", "3G", 0, {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f}, 1190, 562, 0},
        {"iPhone8,1", "Your Device      iPhone 6 Plus", "3G", 0, {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f}, 1190, 562, 0},
        {"", "Your Device      iPhone 6 Plus", "3G", 0, {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f}, 1190, 562, 0},
        // Rows 1 to 3 test equality: a longer identifier falls through to containment.
        {"iPhone2,1x", "Your Device      iPhone 6 Plus", "3G", 0, {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f}, 1190, 562, 0},
        // Containment: any identifier holding the key.
        {"xiPhone3,9", "Your Device             iPhone 4", "3G", 0, {2, 1, 4.35f, 8.7f, 3.6f, 6, 6, 24, 180, 0}, 1190, 562, 0},
    };
    for (const auto& e : rows) {
        const DeviceProfile p = profileForDevice("iPhone", e.machine);
        const std::string ctx = std::string("machine ") + e.machine;
        EXPECT_EQ(p.deviceStr, std::optional<std::string>(e.label)) << ctx;
        EXPECT_EQ(p.deviceStrShort, std::optional<std::string>(e.family)) << ctx;
        EXPECT_EQ(p.isIphone, 1) << ctx;
        EXPECT_EQ(p.isIphone1stgen, e.firstGen) << ctx;
        EXPECT_EQ(p.isIpad, 0) << ctx;
        expectFactors(p, e.f, ctx);
        EXPECT_EQ(p.last5percentSeconds3GS, e.s3GS) << ctx;
        EXPECT_EQ(p.last5percentSeconds3G, e.s3G) << ctx;
        EXPECT_EQ(p.last5percentSeconds2G, e.s2G) << ctx;
        EXPECT_EQ(p.last5percentSecondsiPodTouch, 0) << ctx;
        EXPECT_EQ(p.last5percentSecondsiPad, 0) << ctx;
    }
}

TEST(ProfileForDevice, LabelsKeepTheirRunsOfBlanks) {
    auto blanks = [](const std::string& label) {
        const auto start = std::string("Your Device").size();
        return label.find_first_not_of(' ', start) - start;
    };
    EXPECT_EQ(blanks(*profileForDevice("iPhone", "iPhone2,1").deviceStr), 8u);
    EXPECT_EQ(blanks(*profileForDevice("iPhone", "iPhone1,2").deviceStr), 10u);
    EXPECT_EQ(blanks(*profileForDevice("iPhone", "iPhone3,1").deviceStr), 13u);
    EXPECT_EQ(blanks(*profileForDevice("iPhone", "iPhone9,9").deviceStr), 6u);
    EXPECT_EQ(blanks(*profileForDevice("iPod touch", "iPod2,1").deviceStr), 5u);
    EXPECT_EQ(blanks(*profileForDevice("iPad", "iPad1,1").deviceStr), 7u);
    EXPECT_EQ(blanks(*profileForDevice("iPad", "iPad4,4").deviceStr), 15u);
}

TEST(ProfileForDevice, MusicPlayerTable) {
    struct Row {
        const char* machine;
        const char* label;
        float game, game3D, wifi, video, audio, standby;
    };
    const std::vector<Row> rows = {
        {"iPod2,1", "Your Device     iPod 2nd Gen", 2, 1, 5.4f, 3.6f, 18, 180},
        {"iPod1,1", "Your Device      iPod 1st Gen", 2, 1, 5.4f, 3.6f, 18, 180},
        {"iPod3,1", "Your Device      iPod 3rd Gen", 2, 1, 5.4f, 3.6f, 18, 180},
        {"iPod4,1", "Your Device      iPod 4th Gen", 2.8f, 1.4f, 5.4f, 4.209f, 24, 180},
        {"iPod5,1", "Your Device      iPod 5th Gen", 2.8f, 1.4f, 5.4f, 4.8f, 24, 180},
        {"iPod7,1", "Your Device      iPod 5th Gen", 2.8f, 1.4f, 5.4f, 4.8f, 24, 180},
        // "iPod2" is tested before "iPod1": an identifier holding both takes row 1.
        {"iPod1iPod2", "Your Device     iPod 2nd Gen", 2, 1, 5.4f, 3.6f, 18, 180},
    };
    for (const auto& e : rows) {
        const DeviceProfile p = profileForDevice("iPod touch", e.machine);
        const std::string ctx = std::string("machine ") + e.machine;
        EXPECT_EQ(p.deviceStr, std::optional<std::string>(e.label)) << ctx;
        EXPECT_EQ(p.deviceStrShort, std::optional<std::string>("IPOD")) << ctx;
        EXPECT_EQ(p.isIphone, 0) << ctx;
        EXPECT_EQ(p.isIphone1stgen, 0) << ctx;
        EXPECT_EQ(p.isIpad, 0) << ctx;
        expectFactors(p, {e.game, e.game3D, 0, 0, 0, e.wifi, e.video, e.audio, e.standby, 0}, ctx);
        EXPECT_EQ(p.last5percentSecondsiPodTouch, 380) << ctx;
        EXPECT_EQ(p.last5percentSeconds3GS + p.last5percentSeconds3G + p.last5percentSeconds2G +
                      p.last5percentSecondsiPad, 0) << ctx;
    }
}

TEST(ProfileForDevice, TabletTable) {
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"iPad1,1", "Your Device       iPad 1st Gen"},
        {"iPad2,1", "Your Device      iPad 2nd Gen"},
        {"iPad2,5", "Your Device      iPad 2nd Gen"},
        {"iPad2,7", "Your Device      iPad 2nd Gen"},
        {"iPad3,1", "Your Device      iPad 3rd Gen"},
        {"iPad3,2", "Your Device      iPad 3rd Gen"},
        {"iPad3,3", "Your Device      iPad 3rd Gen"},
        {"iPad3,4", "Your Device      iPad 4th Gen"},
        {"iPad3,5", "Your Device      iPad 4th Gen"},
        {"iPad3,6", "Your Device      iPad 4th Gen"},
        {"iPad4,4", "Your Device               iPad Air"},
        {"iPad1,2", "Your Device               iPad Air"},  // row 1 is equality only
        {"iPhone2,1", "Your Device               iPad Air"},  // the model name chooses the family
    };
    for (const auto& [machine, label] : rows) {
        const DeviceProfile p = profileForDevice("iPad", machine);
        const std::string ctx = std::string("machine ") + machine;
        EXPECT_EQ(p.deviceStr, std::optional<std::string>(label)) << ctx;
        EXPECT_EQ(p.deviceStrShort, std::optional<std::string>("IPAD")) << ctx;
        EXPECT_EQ(p.isIphone, 0) << ctx;
        EXPECT_EQ(p.isIpad, 1) << ctx;
        expectFactors(p, {5.1f, 3.6f, 0, 0, 0, 6, 6, 84, 432, 0}, ctx);
        EXPECT_EQ(p.last5percentSecondsiPad, 1140) << ctx;
        EXPECT_EQ(p.last5percentSecondsiPodTouch, 0) << ctx;
    }
}

TEST(ProfileForDevice, UnknownModelsGiveTheEmptyProfile) {
    for (const char* model : {"iPhone Simulator", "iphone", "IPAD", "iPod", "iPod Touch", "iPhone ", "", "Android"}) {
        EXPECT_EQ(profileForDevice(model, "iPhone2,1"), DeviceProfile{}) << model;
    }
    EXPECT_FALSE(profileForDevice("Pixel", "x").deviceStr.has_value());
}

TEST(ProfileForDevice, SinglePrecisionFactors) {
    // The stored factor is the float nearest the decimal, not a double.
    const DeviceProfile p = profileForDevice("iPhone", "iPhone2,1");
    EXPECT_EQ(p.talk2GMultiplier, 7.2f);
    EXPECT_NE(static_cast<double>(p.talk2GMultiplier), 7.2);
}

}  // namespace
}  // namespace vw
