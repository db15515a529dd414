// The generated resources: every file the screen and the slide show name is
// there after the build, decodes, and has its size (and its twice-size
// drawing twice the size); every skin has its own design; the sounds decode
// to what was synthesised, and the tune loops without a click.
#include <SDL_mixer.h>
#include <set>
#include "resources/Icon.h"
#include "resources/Images.h"
#include "resources/Skins.h"
#include "resources/Sounds.h"
#include "screen/SkinCatalogue.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::testing {
namespace {

std::string path(std::string_view name) { return platform::builtResourceDir() + "/" + std::string(name); }

// What the screen and the slide show ask for by name, and the skins.
std::map<std::string, std::pair<int, int>> namedImages() {
    std::map<std::string, std::pair<int, int>> images;
    for (const char* f : {"battery_empty_filler.png", "battery_fill_red_3.png"}) images[f] = {251, 194};
    for (const char* f : {"btn_chrome_customize.png", "btn_chrome_pro_vs_free.png", "btn_chrome_our_apps.png", "btn_chrome_save.png"})
        images[f] = {95, 23};
    for (const char* panel : {"music", "accuracy", "full_cycle", "charge_display", "tips"}) {
        images["ad_" + std::string(panel) + "_panel.png"] = {320, 366};
        images["ad_panel_" + std::string(panel) + "_on.png"] = {320, 73};
    }
    images["battery_empty_4.png"] = {320, 264};
    images["ad_backdrop.png"] = {320, 480};
    for (const auto& skin : kSkinCatalogue) images[std::string(skin.file)] = {251, 194};
    return images;
}

TEST(Resources, EveryNamedImageDecodesAtItsSizeAndTwiceIt) {
    for (const auto& [file, size] : namedImages()) {
        SCOPED_TRACE(file);
        for (int scale : {1, 2}) {
            const auto image = loadRgba(path(scale == 1 ? file : art::scaledName(file, 2)));
            ASSERT_TRUE(image) << IMG_GetError();
            EXPECT_EQ(std::make_pair(image->w, image->h), std::make_pair(scale * size.first, scale * size.second));
            std::set<uint32_t> colours;  // a blank or a flat fill has one or two
            for (int y = 0; y < image->h; y += 3)
                for (int x = 0; x < image->w; x += 3) colours.insert(*reinterpret_cast<const uint32_t*>(bytesAt(image.get(), x, y)));
            EXPECT_GT(colours.size(), 4u) << "looks blank";
        }
    }
}

TEST(Resources, TheGeneratorDrawsExactlyWhatTheApplicationNames) {
    std::map<std::string, std::pair<int, int>> drawn;
    for (const auto& image : art::allImages())
        EXPECT_TRUE(drawn.emplace(image.file, std::make_pair(image.width, image.height)).second) << "drawn twice: " << image.file;
    EXPECT_EQ(drawn, namedImages());
}

// The application icon fills its square at every size, on a clear
// background, and the bolt is at its heart; the SVG is drawn with paths only.
TEST(Resources, TheIconIsDrawnAtEverySizeAndAsPaths) {
    const test::TempDir dir;
    ASSERT_TRUE(art::writeAppIcons(dir.path.string(), "test.icon"));
    for (int px : art::appIconSizes()) {
        SCOPED_TRACE(px);
        const auto s = loadRgba((dir / "hicolor" / (std::to_string(px) + "x" + std::to_string(px)) / "apps" / "test.icon.png").string());
        ASSERT_TRUE(s);
        EXPECT_EQ(std::make_pair(s->w, s->h), std::make_pair(px, px));
        EXPECT_EQ(bytesAt(s.get(), 0, 0)[3], 0) << "the corners are clear";
        EXPECT_EQ(bytesAt(s.get(), px - 1, px - 1)[3], 0);
        const uint8_t* heart = bytesAt(s.get(), px * 64 / 128, px * 72 / 128);  // inside the bolt, which is yellow
        EXPECT_EQ(heart[3], 255);
        EXPECT_GT(heart[0], 200);
        EXPECT_GT(heart[1], 150);
        EXPECT_LT(heart[2], 150);
    }
    const std::string svg = test::readFile(dir / "hicolor" / "scalable" / "apps" / "test.icon.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("<path"), std::string::npos);
    EXPECT_EQ(svg.find("<image"), std::string::npos) << "no bitmap inside";
}

TEST(Resources, EverySkinHasItsOwnDesign) {
    std::set<std::string> contents;
    for (const auto& skin : kSkinCatalogue) {
        EXPECT_NE(art::skinDesign(skin.file), nullptr) << skin.file << " (" << skin.title << ") is a placeholder";
        contents.insert(test::readFile(path(skin.file)));
    }
    EXPECT_EQ(contents.size(), kSkinCatalogue.size());
}

// The sounds decoded the way the application plays them, as mono 16-bit
// samples at the synthesis rate.
struct Decoder : ::testing::Test {
    static void SetUpTestSuite() {
        driver.emplace("SDL_AUDIODRIVER", "dummy");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        Mix_Init(MIX_INIT_MP3);
        ASSERT_EQ(Mix_OpenAudio(art::kSampleRate, AUDIO_S16SYS, 1, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        driver.reset();
    }
    static std::vector<short> decode(const std::string& file) {
        Mix_Chunk* chunk = Mix_LoadWAV(file.c_str());
        if (!chunk) return {};
        const auto* s = reinterpret_cast<const short*>(chunk->abuf);
        std::vector<short> out(s, s + chunk->alen / sizeof(short));
        Mix_FreeChunk(chunk);
        return out;
    }
    static inline std::optional<test::ScopedEnv> driver;  // the silent audio driver while the suite runs
};

TEST_F(Decoder, TheChimeIsTheSynthesisedChime) {
    const auto made = art::chimeSamples();
    EXPECT_EQ(decode(path("voltwise_sound.wav")), made);
    EXPECT_GT(static_cast<double>(made.size()) / art::kSampleRate, 0.2);
    EXPECT_LT(static_cast<double>(made.size()) / art::kSampleRate, 2.0);
}

TEST_F(Decoder, TheTuneIsAnMp3OfItsFullLengthThatLoopsWithoutAClick) {
    const std::string mp3 = test::readFile(path("saxophone_cool_riff_1.mp3"));
    ASSERT_GT(mp3.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(mp3[0]), 0xFF);  // an MPEG audio frame, not a wave
    EXPECT_EQ(static_cast<unsigned char>(mp3[1]) & 0xE0, 0xE0);
    const auto decoded = decode(path("saxophone_cool_riff_1.mp3"));
    ASSERT_FALSE(decoded.empty()) << Mix_GetError();
    // The encoder's delay and padding are dropped: the loop is as long as the
    // tune, to within a few samples, and not a frame (1152 samples) longer.
    EXPECT_NEAR(static_cast<double>(decoded.size()), static_cast<double>(art::riffSamples().size()), 8.0);
    // The step from the last sample round to the first is no bigger than the
    // tune's own steps from one sample to the next; and the start is the
    // tune, not leading silence from the encoder.
    double largestStep = 0, early = 0;
    for (std::size_t i = 1; i < decoded.size(); ++i) largestStep = std::max(largestStep, std::abs(double(decoded[i]) - decoded[i - 1]));
    for (std::size_t i = 0; i < 2048 && i < decoded.size(); ++i) early = std::max(early, std::abs(double(decoded[i])));
    EXPECT_LE(std::abs(double(decoded.front()) - decoded.back()), largestStep);
    EXPECT_GT(early, 100.0);
}
}  // namespace
}  // namespace vw::testing
