#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/DeviceProfile.h"

namespace vw {
namespace {

// game, game3D, talk3G, talk2G, threeG, wifi, video, audio, standby, lte
using Factors = std::array<float, 10>;

DeviceProfile profile(const char* label, const char* family, const Factors& f) {
    DeviceProfile p;
    p.deviceStr = label;
    p.deviceStrShort = family;
    p.gameMultiplier = f[0];
    p.game3DMultiplier = f[1];
    p.talk3GMultiplier = f[2];
    p.talk2GMultiplier = f[3];
    p.threeGMultiplier = f[4];
    p.wifiMultiplier = f[5];
    p.videoPlaybackMultiplier = f[6];
    p.audioPlaybackMultiplier = f[7];
    p.standbyMultiplier = f[8];
    p.lteMultiplier = f[9];
    return p;
}

DeviceProfile phone(const char* label, const char* family, bool firstGen, const Factors& f, int32_t s3GS, int32_t s3G,
                    int32_t s2G) {
    DeviceProfile p = profile(label, family, f);
    p.isIphone = true;
    p.isIphone1stgen = firstGen;
    p.last5percentSeconds3GS = s3GS;
    p.last5percentSeconds3G = s3G;
    p.last5percentSeconds2G = s2G;
    return p;
}

DeviceProfile pod(const char* label, float game, float game3D, float video, float audio) {
    DeviceProfile p = profile(label, "IPOD", {game, game3D, 0, 0, 0, 5.4f, video, audio, 180, 0});
    p.last5percentSecondsiPodTouch = 380;
    return p;
}

DeviceProfile pad(const char* label) {
    DeviceProfile p = profile(label, "IPAD", {5.1f, 3.6f, 0, 0, 0, 6, 6, 84, 432, 0});
    p.isIpad = true;
    p.last5percentSecondsiPad = 1140;
    return p;
}

// Every row of the model tables, each reached by an identifier that its test
// is the first to match, and the identifiers that fall through them.
TEST(ProfileForDevice, ModelTables) {
    const DeviceProfile p3GS = phone("Your Device        iPhone 3GS", "3GS", false, {2, 1, 3, 7.2f, 3, 5.4f, 6, 18, 180, 0}, 1190, 0, 0);
    const DeviceProfile p4 = phone("Your Device             iPhone 4", "3G", false, {2, 1, 4.35f, 8.7f, 3.6f, 6, 6, 24, 180, 0}, 1190, 562, 0);
    const DeviceProfile p5 = phone("Your Device             iPhone 5", "3G", false, {2, 1, 4.8f, 8.7f, 4.8f, 6, 6, 24, 135, 4.8f}, 1190, 562, 0);
    const DeviceProfile p5c = phone("Your Device            iPhone 5c", "3G", false, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0);
    const DeviceProfile p5S = phone("Your Device            iPhone 5S", "3G", false, {2, 1, 6, 8.7f, 4.8f, 6, 6, 24, 150, 6}, 1190, 562, 0);
    const DeviceProfile p6Plus = phone("Your Device      iPhone 6 Plus", "3G", false,
                                       {2.8f, 1.4f, 14.4f, 8.7f, 7.2f, 7.2f, 8.405f, 48, 230.4f, 7.2f}, 1190, 562, 0);
    const DeviceProfile pod2 = pod("Your Device     iPod 2nd Gen", 2, 1, 3.6f, 18);
    const DeviceProfile pad2 = pad("Your Device      iPad 2nd Gen");
    const DeviceProfile padAir = pad("Your Device               iPad Air");
    const struct {
        const char* model;
        const char* machine;
        DeviceProfile want;
    } cases[] = {
        {"iPhone", "iPhone2,1", p3GS},
        {"iPhone", "iPhone1,2", phone("Your Device          iPhone 3G", "3G", false, {2, 1, 3, 6, 3, 3.6f, 4.209f, 14.4f, 180, 0}, 0, 562, 0)},
        {"iPhone", "iPhone1,1", phone("Your Device          iPhone 2G", "2G", true, {2, 1, 0, 4.8f, 0, 3.6f, 4.209f, 14.4f, 150, 0}, 0, 0, 576)},
        {"iPhone", "iPhone3,1", p4},
        {"iPhone", "iPhone3,3", p4},
        {"iPhone", "xiPhone3,9", p4},  // the later rows test containment
        {"iPhone", "iPhone4,1", phone("Your Device            iPhone 4S", "3G", false, {2, 1, 4.8f, 8.7f, 3.6f, 5.4f, 6, 24, 120, 0}, 1190, 562, 0)},
        {"iPhone", "iPhone5,1", p5},
        {"iPhone", "iPhone5,2", p5},
        {"iPhone", "iPhone5,3", p5c},
        {"iPhone", "iPhone5,4", p5c},
        {"iPhone", "iPhone6,1", p5S},
        {"iPhone", "iPhone6,2", p5S},
        {"iPhone", "iPhone7,2", phone("Your Device             iPhone 6", "3G", false, {2.2f, 1.1f, 8.5f, 8.7f, 6, 6.6f, 6.6f, 30, 150, 6}, 1190, 562, 0)},
        // The last row takes everything the others miss; rows 1 to 3 test equality.
        {"iPhone", "iPhone7,1", p6Plus},
        {"iPhone", "", p6Plus},
        {"iPhone", "iPhone2,1x", p6Plus},
        {"iPod touch", "iPod2,1", pod2},
        {"iPod touch", "iPod1iPod2", pod2},  // "iPod2" is tested before "iPod1"
        {"iPod touch", "iPod1,1", pod("Your Device      iPod 1st Gen", 2, 1, 3.6f, 18)},
        {"iPod touch", "iPod3,1", pod("Your Device      iPod 3rd Gen", 2, 1, 3.6f, 18)},
        {"iPod touch", "iPod4,1", pod("Your Device      iPod 4th Gen", 2.8f, 1.4f, 4.209f, 24)},
        {"iPod touch", "iPod5,1", pod("Your Device      iPod 5th Gen", 2.8f, 1.4f, 4.8f, 24)},
        {"iPod touch", "iPod7,1", pod("Your Device      iPod 5th Gen", 2.8f, 1.4f, 4.8f, 24)},
        {"iPad", "iPad1,1", pad("Your Device       iPad 1st Gen")},
        {"iPad", "iPad2,1", pad2},
        {"iPad", "iPad2,5", pad2},
        {"iPad", "iPad2,7", pad2},
        {"iPad", "iPad3,1", pad("Your Device      iPad 3rd Gen")},
        {"iPad", "iPad3,2", pad("Your Device      iPad 3rd Gen")},
        {"iPad", "iPad3,3", pad("Your Device      iPad 3rd Gen")},
        {"iPad", "iPad3,4", pad("Your Device      iPad 4th Gen")},
        {"iPad", "iPad3,5", pad("Your Device      iPad 4th Gen")},
        {"iPad", "iPad3,6", pad("Your Device      iPad 4th Gen")},
        {"iPad", "iPad4,4", padAir},
        {"iPad", "iPad1,2", padAir},     // row 1 is equality only
        {"iPad", "iPhone2,1", padAir},   // the model name chooses the family
        // A model no table knows: the empty profile.
        {"iPhone Simulator", "iPhone2,1", {}},
        {"iphone", "iPhone2,1", {}},
        {"IPAD", "iPad1,1", {}},
        {"iPod", "iPod1,1", {}},
        {"iPhone ", "iPhone2,1", {}},
        {"", "iPhone2,1", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(profileForDevice(c.model, c.machine), c.want) << c.model << " " << c.machine;
}

}  // namespace
}  // namespace vw
