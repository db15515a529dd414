// The generated resources: every file the screen and the slide show name is
// there after the build, decodes, and has its size (and its twice-size
// drawing twice the size); every skin has its own design; the sounds decode
// to what was synthesised, and the tune loops without a click.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/ResourceDir.h"
#include "resources/Icon.h"
#include "resources/Images.h"
#include "resources/Skins.h"
#include "resources/Sounds.h"
#include "screen/SkinCatalogue.h"
#include "tests/lib/Scratch.h"

namespace vw {
namespace {

std::string path(std::string_view name) { return platform::builtResourceDir() + "/" + std::string(name); }

std::string bytes(const std::string& file) { return test::readFile(file); }

struct Named {
    std::string file;
    int width, height;
};

// What the screen and the slide show ask for by name, and the skins.
std::vector<Named> namedImages() {
    std::vector<Named> images = {
        {"battery_empty_4.png", 320, 264},         {"battery_empty_filler.png", 251, 194},
        {"battery_fill_red_3.png", 251, 194},      {"btn_chrome_customize.png", 95, 23},
        {"btn_chrome_pro_vs_free.png", 95, 23},    {"btn_chrome_our_apps.png", 95, 23},
        {"btn_chrome_save.png", 95, 23},           {"ad_backdrop.png", 320, 480},
        {"ad_music_panel.png", 320, 366},          {"ad_accuracy_panel.png", 320, 366},
        {"ad_full_cycle_panel.png", 320, 366},     {"ad_charge_display_panel.png", 320, 366},
        {"ad_tips_panel.png", 320, 366},           {"ad_panel_music_on.png", 320, 73},
        {"ad_panel_accuracy_on.png", 320, 73},     {"ad_panel_full_cycle_on.png", 320, 73},
        {"ad_panel_charge_display_on.png", 320, 73}, {"ad_panel_tips_on.png", 320, 73},
    };
    for (const auto& skin : kSkinCatalogue) images.push_back({std::string(skin.file), 251, 194});
    return images;
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePtr load(const std::string& file) { return {IMG_Load(file.c_str()), &SDL_FreeSurface}; }

// How many distinct colours a sample of the picture holds: a blank or a flat
// fill has one or two.
std::size_t colourVariety(SDL_Surface* s) {
    SurfacePtr rgba(SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0), &SDL_FreeSurface);
    std::set<uint32_t> seen;
    for (int y = 0; y < rgba->h; y += 3)
        for (int x = 0; x < rgba->w; x += 3)
            seen.insert(*reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgba->pixels) + y * rgba->pitch + x * 4));
    return seen.size();
}

TEST(Resources, EveryNamedImageDecodesAtItsSizeAndTwiceIt) {
    for (const auto& [file, w, h] : namedImages()) {
        SCOPED_TRACE(file);
        auto one = load(path(file));
        ASSERT_TRUE(one) << IMG_GetError();
        EXPECT_EQ(one->w, w);
        EXPECT_EQ(one->h, h);
        auto two = load(path(art::scaledName(file, 2)));
        ASSERT_TRUE(two) << IMG_GetError();
        EXPECT_EQ(two->w, 2 * w);
        EXPECT_EQ(two->h, 2 * h);
        EXPECT_GT(colourVariety(one.get()), 4u) << "looks blank";
    }
}

TEST(Resources, TheGeneratorDrawsExactlyWhatTheApplicationNames) {
    std::set<std::string> named, drawn;
    for (const auto& n : namedImages()) named.insert(n.file);
    for (const auto& image : art::allImages()) {
        EXPECT_TRUE(drawn.insert(image.file).second) << "drawn twice: " << image.file;
        for (const auto& n : namedImages()) {
            if (n.file == image.file) EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(n.width, n.height)) << n.file;
        }
    }
    EXPECT_EQ(drawn, named);
}

// The application icon fills its square at every size, on a clear
// background, and the bolt is at its heart; the SVG is drawn with paths only.
TEST(Resources, TheIconIsDrawnAtEverySizeAndAsPaths) {
    const test::TempDir scratch;
    const auto& dir = scratch.path;
    ASSERT_TRUE(art::writeAppIcons(dir.string(), "test.icon"));
    for (int px : art::appIconSizes()) {
        const auto file = dir / "hicolor" / (std::to_string(px) + "x" + std::to_string(px)) / "apps" / "test.icon.png";
        SDL_Surface* raw = IMG_Load(file.c_str());
        ASSERT_NE(raw, nullptr) << file;
        SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(raw);
        EXPECT_EQ(s->w, px);
        EXPECT_EQ(s->h, px);
        auto at = [&](int x, int y) { return static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * 4; };
        EXPECT_EQ(at(0, 0)[3], 0) << px << ": the corners are clear";
        EXPECT_EQ(at(px - 1, px - 1)[3], 0) << px;
        const uint8_t* heart = at(px * 64 / 128, px * 72 / 128);  // inside the bolt
        EXPECT_EQ(heart[3], 255) << px;
        EXPECT_GT(heart[0], 200) << px << ": the bolt is yellow";
        EXPECT_GT(heart[1], 150) << px;
        EXPECT_LT(heart[2], 150) << px;
        SDL_FreeSurface(s);
    }
    const std::string svg = bytes((dir / "hicolor" / "scalable" / "apps" / "test.icon.svg").string());
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<path"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "no bitmap inside";
}

TEST(Resources, EverySkinHasItsOwnDesign) {
    std::set<std::string> contents;
    for (const auto& skin : kSkinCatalogue) {
        EXPECT_NE(art::skinDesign(skin.file), nullptr) << skin.file << " (" << skin.title << ") is a placeholder";
        contents.insert(bytes(path(skin.file)));
    }
    EXPECT_EQ(contents.size(), kSkinCatalogue.size());
}

// The sounds decoded the way the application plays them, as mono 16-bit
// samples at the synthesis rate.
struct Decoder : ::testing::Test {
    static void SetUpTestSuite() {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        Mix_Init(MIX_INIT_MP3);
        ASSERT_EQ(Mix_OpenAudio(art::kSampleRate, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        ::unsetenv("SDL_AUDIODRIVER");
    }
    static std::vector<short> decode(const std::string& file) {
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        if (!chunk) return {};
        const auto* s = reinterpret_cast<const short*>(chunk->abuf);
        std::vector<short> out(s, s + chunk->alen / sizeof(short));
        Mix_FreeChunk(chunk);
        return out;
    }
};

TEST_F(Decoder, TheChimeIsTheSynthesisedChime) {
    const auto decoded = decode(path("voltwise_sound.wav"));
    const auto made = art::chimeSamples();
    ASSERT_EQ(decoded.size(), made.size());
    EXPECT_EQ(decoded, made);
    const double seconds = static_cast<double>(made.size()) / art::kSampleRate;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 2.0);
}

TEST_F(Decoder, TheTuneIsAnMp3OfItsFullLengthThatLoopsWithoutAClick) {
    const std::string mp3 = bytes(path("saxophone_cool_riff_1.mp3"));
    ASSERT_GT(mp3.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(mp3[0]), 0xFF);  // an MPEG audio frame, not a wave
    EXPECT_EQ(static_cast<unsigned char>(mp3[1]) & 0xE0, 0xE0);

    const auto decoded = decode(path("saxophone_cool_riff_1.mp3"));
    const auto made = art::riffSamples();
    ASSERT_FALSE(decoded.empty()) << Mix_GetError();
    // The encoder's delay and padding are dropped: the loop is as long as the
    // tune, to within a few samples, and not a frame (1152 samples) longer.
    EXPECT_NEAR(static_cast<double>(decoded.size()), static_cast<double>(made.size()), 8.0);

    // The step from the last sample round to the first is no bigger than the
    // tune's own steps from one sample to the next.
    double largestStep = 0;
    for (std::size_t i = 1; i < decoded.size(); ++i)
        largestStep = std::max(largestStep, std::abs(static_cast<double>(decoded[i]) - decoded[i - 1]));
    const double seam = std::abs(static_cast<double>(decoded.front()) - decoded.back());
    EXPECT_LE(seam, largestStep);
    // And the start is the tune, not leading silence from the encoder.
    double early = 0;
    for (std::size_t i = 0; i < 2048 && i < decoded.size(); ++i) early = std::max(early, std::abs(static_cast<double>(decoded[i])));
    EXPECT_GT(early, 100.0);
}

}  // namespace
}  // namespace vw
