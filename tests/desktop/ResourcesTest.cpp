// The generated resources: every file the screen and the slide show name,
// at its size, the skins all different, and the sounds in their formats.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "platform/recording/RecordingPlatform.h"
#include "platform/ui/Ui.h"
#include "screen/SkinCatalogue.h"

namespace vw {
namespace {

std::string path(std::string_view name) { return platform::builtResourceDir() + "/" + std::string(name); }

std::string bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Resources, EveryImageIsThereAtItsSize) {
    const std::vector<std::pair<std::string, platform::Size>> images = {
        {"battery_empty_4.png", {320, 264}},        {"battery_empty_filler.png", {251, 194}},
        {"battery_fill_red_3.png", {251, 194}},     {"btn_chrome_customize.png", {95, 23}},
        {"btn_chrome_pro_vs_free.png", {95, 23}},   {"btn_chrome_our_apps.png", {95, 23}},
        {"btn_chrome_save.png", {95, 23}},          {"ad_backdrop.png", {320, 480}},
        {"ad_music_panel.png", {320, 366}},         {"ad_accuracy_panel.png", {320, 366}},
        {"ad_full_cycle_panel.png", {320, 366}},    {"ad_charge_display_panel.png", {320, 366}},
        {"ad_tips_panel.png", {320, 366}},          {"ad_panel_music_on.png", {320, 73}},
        {"ad_panel_accuracy_on.png", {320, 73}},    {"ad_panel_full_cycle_on.png", {320, 73}},
        {"ad_panel_charge_display_on.png", {320, 73}}, {"ad_panel_tips_on.png", {320, 73}},
    };
    for (const auto& [name, size] : images) EXPECT_EQ(platform::Ui::pngSize(path(name)), size) << name;
}

TEST(Resources, FiftyEightDistinctSkins) {
    std::set<std::string> contents;
    for (const auto& skin : kSkinCatalogue) {
        EXPECT_EQ(platform::Ui::pngSize(path(skin.file)), (platform::Size{251, 194})) << skin.file;
        contents.insert(bytes(path(skin.file)));
    }
    EXPECT_EQ(contents.size(), kSkinCatalogue.size());
}

TEST(Resources, ChimeIsAShortWaveAndTheTuneIsMp3) {
    const std::string wav = bytes(path("voltwise_sound.wav"));
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    const double seconds = static_cast<double>(wav.size() - 44) / (44100 * 2);
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 2.0);
    const std::string mp3 = bytes(path("saxophone_cool_riff_1.mp3"));
    ASSERT_GT(mp3.size(), 10000u);
    // An MPEG-1 layer III frame header: sync bits, then the layer.
    EXPECT_EQ(static_cast<unsigned char>(mp3[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(mp3[1]) & 0xFE, 0xFA);
}

}  // namespace
}  // namespace vw
