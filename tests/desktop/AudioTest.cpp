// Sound through SDL_mixer on SDL's dummy audio driver (which plays in real
// time into nothing), and the silent fallback without a device.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/desktop/SdlAudio.h"
#include "platform/recording/RecordingPlatform.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::desktop {
namespace {

std::string resource(const char* name) { return platform::builtResourceDir() + "/" + name; }

struct DummyDriver : ::testing::Test {
    void SetUp() override { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }
    void TearDown() override { ::unsetenv("SDL_AUDIODRIVER"); }
};

TEST_F(DummyDriver, ChimeIsASystemSound) {
    std::vector<std::string> lines;
    SdlAudio audio([&](const std::string& l) { lines.push_back(l); });
    ASSERT_TRUE(audio.available()) << (lines.empty() ? "" : lines[0]);
    const uint32_t chime = audio.createSystemSound(resource("voltwise_sound.wav"));
    EXPECT_NE(chime, 0u);
    EXPECT_EQ(audio.createSystemSound(resource("no_such_sound.wav")), 0u);
    EXPECT_EQ(audio.createSystemSound(""), 0u);
    audio.playSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 1);
    audio.playSystemSound(chime);  // plays again over the first, without waiting
    EXPECT_EQ(audio.playingSounds(), 2);
    audio.disposeSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 0);
    audio.playSystemSound(chime);  // gone: nothing
    EXPECT_EQ(audio.playingSounds(), 0);
}

TEST_F(DummyDriver, TuneLoopsStopsKeepingItsPlaceAndRewinds) {
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    EXPECT_EQ(audio.createPlayer(resource("missing.mp3")), nullptr);
    auto player = std::dynamic_pointer_cast<SdlAudioPlayer>(audio.createPlayer(resource("saxophone_cool_riff_1.mp3")));
    ASSERT_NE(player, nullptr);
    EXPECT_NEAR(player->duration(), 8.0, 0.2);  // decoded as MP3: it knows its length
    player->setVolume(0.15f);
    player->setNumberOfLoops(-1);
    player->prepareToPlay();
    player->play();
    EXPECT_TRUE(player->isPlaying());
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    const double kept = player->currentTime();
    EXPECT_GT(kept, 0.1);
    player->play();  // resumes where it stopped
    EXPECT_GE(player->currentTime(), kept - 0.05);
    player->stop();
    player->setCurrentTime(0.0);
    EXPECT_EQ(player->currentTime(), 0.0);
    player->setCurrentTime(7.9);
    player->play();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_TRUE(player->isPlaying()) << "loops -1 repeats past the end";
    EXPECT_LT(player->currentTime(), 7.9);
}

TEST(NoAudioDevice, EverythingIsSilent) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::vector<std::string> lines;
    {
        SdlAudio audio([&](const std::string& l) { lines.push_back(l); });
        EXPECT_FALSE(audio.available());
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("audio: no device (", 0), 0u) << lines[0];
        EXPECT_EQ(audio.createSystemSound(resource("voltwise_sound.wav")), 0u);
        EXPECT_EQ(audio.createPlayer(resource("saxophone_cool_riff_1.mp3")), nullptr);
        audio.playSystemSound(1);
        EXPECT_EQ(audio.sessionGetProperty(platform::kAudioSessionPropertyOtherAudioIsPlaying), 0u);
        audio.sessionSetProperty(platform::kAudioSessionPropertyAudioCategory, platform::kAudioSessionCategorySoloAmbientSound);
        EXPECT_EQ(audio.category(), platform::kAudioSessionCategorySoloAmbientSound);
    }
    ::unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace vw::desktop
