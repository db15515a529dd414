#include <gtest/gtest.h>
#include "device/DeviceProfile.h"

namespace vw {
namespace {

// game, game3D, talk3G, talk2G, threeG, wifi, video, audio, standby, lte
using Factors = std::array<float, 10>;

DeviceProfile profile(const char* label, const char* family, const Factors& f, std::array<int32_t, 5> lastFive,
                      bool iphone, bool firstGen, bool ipad) {
    return {label, family, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9],
            lastFive[0], lastFive[1], lastFive[2], lastFive[3], lastFive[4], iphone, firstGen, ipad};
}
DeviceProfile phone(const char* label, const char* family, const Factors& f, int32_t s3GS = 1190, int32_t s3G = 562,
                    int32_t s2G = 0, bool firstGen = false) {
    return profile(label, family, f, {s3GS, s3G, s2G, 0, 0}, true, firstGen, false);
}
DeviceProfile pod(const char* label, float game, float game3D, float video, float audio) {
    return profile(label, "IPOD",
                   {game, game3D, 0, 0, 0, 5.4f, video, audio, 180, 0}, {0, 0, 0, 380, 0}, false, false, false);
}
DeviceProfile pad(const char* label) {
    return profile(label, "IPAD", {5.1f, 3.6f, 0, 0, 0, 6, 6, 84, 432, 0}, {0, 0, 0, 0, 1140}, false, false, true);
}

// Every row of the model tables, each reached by an identifier that its test
// is the first to match, and the identifiers that fall through them.
TEST(ProfileForDevice, ModelTables) {
    const DeviceProfile p3GS = phone("Your Device        iPhone 3GS", "3GS", {2, 1, 3, 7.2f, 3, 5.4f, 6, 18, 180, 0}, 1190, 0);
    const DeviceProfile p4 = phone("Your Device             iPhone 4", "3G", {2, 1, 4.35f, 8.7f, 3.6f, 6, 6, 24, 180, 0});
    const DeviceProfile p5 = phone("Your Device             iPhone 5", "3G", {2, 1, 4.8f, 8.7f, 4.8f, 6, 6, 24, 135, 4.8f});
    const DeviceProfile p5c = phone("Your Device            iPhone 5c", "3G", {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6});
    const DeviceProfile p5S = phone("Your Device            iPhone 5S", "3G", {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6});
    const DeviceProfile p6Plus =
        phone("Your Device      iPhone 6 Plus", "3G", {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f});
    const DeviceProfile pod2 = pod("Your Device     iPod 2nd Gen", 2, 1, 3.6f, 18);
    const DeviceProfile pod5 = pod("Your Device      iPod 5th Gen", 2.8f, 1.4f, 4.8f, 24);
    const DeviceProfile pad2 = pad("Your Device      iPad 2nd Gen"), pad3 = pad("Your Device      iPad 3rd Gen");
    const DeviceProfile pad4 = pad("Your Device      iPad 4th Gen"), padAir = pad("Your Device               iPad Air");
    const struct { const char *model, *machine; DeviceProfile want; } cases[] = {
        {"iPhone", "iPhone2,1", p3GS},
        {"iPhone", "iPhone1,2", phone("Your Device          iPhone 3G", "3G", {2, 1, 3, 6, 3, 3.6f, 4.209f, 14.4f, 180, 0}, 0)},
        {"iPhone", "iPhone1,1",
         phone("Your Device          iPhone 2G", "2G", {2, 1, 0, 4.8f, 0, 3.6f, 4.209f, 14.4f, 150, 0}, 0, 0, 576, true)},
        {"iPhone", "iPhone3,1", p4}, {"iPhone", "xiPhone3,9", p4},  // the later rows test containment
        {"iPhone", "iPhone4,1", phone("Your Device            iPhone 4S", "3G", {2, 1, 4.8f, 8.7f, 3.6f, 5.4f, 6, 24, 120, 0})},
        {"iPhone", "iPhone5,1", p5},  {"iPhone", "iPhone5,2", p5},  {"iPhone", "iPhone5,3", p5c}, {"iPhone", "iPhone5,4", p5c},
        {"iPhone", "iPhone6,1", p5S}, {"iPhone", "iPhone6,2", p5S},
        {"iPhone", "iPhone7,2", phone("Your Device             iPhone 6", "3G", {2.2f, 1.1f, 8.5f, 8.7f, 6, 6.6f, 6.6f, 30, 150, 6})},
        // The last row takes everything the others miss; rows 1 to 3 test equality.
        {"iPhone", "iPhone7,1", p6Plus}, {"iPhone", "", p6Plus}, {"iPhone", "iPhone2,1x", p6Plus},
        {"iPod touch", "iPod2,1", pod2}, {"iPod touch", "iPod1iPod2", pod2},  // "iPod2" is tested before "iPod1"
        {"iPod touch", "iPod1,1", pod("Your Device      iPod 1st Gen", 2, 1, 3.6f, 18)},
        {"iPod touch", "iPod3,1", pod("Your Device      iPod 3rd Gen", 2, 1, 3.6f, 18)},
        {"iPod touch", "iPod4,1", pod("Your Device      iPod 4th Gen", 2.8f, 1.4f, 4.209f, 24)},
        {"iPod touch", "iPod5,1", pod5}, {"iPod touch", "iPod7,1", pod5},
        {"iPad", "iPad1,1", pad("Your Device       iPad 1st Gen")}, {"iPad", "iPad2,1", pad2}, {"iPad", "iPad2,7", pad2},
        {"iPad", "iPad3,1", pad3},    {"iPad", "iPad3,2", pad3},    {"iPad", "iPad3,3", pad3},
        {"iPad", "iPad3,4", pad4},    {"iPad", "iPad3,5", pad4},    {"iPad", "iPad3,6", pad4},    {"iPad", "iPad4,4", padAir},
        {"iPad", "iPad1,2", padAir},     // row 1 is equality only
        {"iPad", "iPhone2,1", padAir},   // the model name chooses the family
        // A model no table knows: the empty profile.
        {"iPhone Simulator", "iPhone2,1", {}}, {"iphone", "iPhone2,1", {}}, {"IPAD", "iPad1,1", {}}, {"iPod", "iPod1,1", {}},
        {"iPhone ", "iPhone2,1", {}}, {"", "iPhone2,1", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(profileForDevice(c.model, c.machine), c.want) << c.model << " " << c.machine;
}

}  // namespace
}  // namespace vw
