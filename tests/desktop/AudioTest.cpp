// Sound through SDL_mixer on SDL's dummy audio driver (which plays in real
// time into nothing), the device opened only while something sounds, and the
// silent fallback without a device.
#include "platform/desktop/SdlAudio.h"
#include "tests/desktop/DesktopFixture.h"

namespace vw::desktop {
namespace {

std::string resource(const char* name) { return platform::builtResourceDir() + "/" + name; }
std::shared_ptr<SdlAudioPlayer> tune(SdlAudio& audio) {
    return std::dynamic_pointer_cast<SdlAudioPlayer>(audio.createPlayer(resource("saxophone_cool_riff_1.mp3")));
}

// The threads SDL runs an open audio device on ("SDLAudioP1", ...), once a
// new thread has had time to name itself.
int audioThreads(int expected) {
    auto now = [] {
        int n = 0;
        for (const auto& t : std::filesystem::directory_iterator("/proc/self/task")) {
            std::string name;
            std::getline(std::ifstream(t.path() / "comm"), name);
            n += name.rfind("SDLAudio", 0) == 0;
        }
        return n;
    };
    for (int i = 0; i < 100 && now() != expected; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return now();
}

// The device opens for a sound and closes a while after the last one ends;
// the run loop's timer closes it.
struct DummyDriver : ::testing::Test {
    void runFor(double seconds) { vw::testing::runFor(loop, seconds); }
    const test::ScopedEnv driver{"SDL_AUDIODRIVER", "dummy"};
    platform::SystemClock clock;
    platform::MainLoop loop{clock};
};

TEST_F(DummyDriver, ChimeIsASystemSound) {
    std::vector<std::string> lines;
    SdlAudio audio([&](const std::string& l) { lines.push_back(l); });
    ASSERT_TRUE(audio.available()) << (lines.empty() ? "" : lines[0]);
    const uint32_t chime = audio.createSystemSound(resource("voltwise_sound.wav"));
    EXPECT_EQ(audio.createSystemSound(resource("no_such_sound.wav")), 0u);
    EXPECT_EQ(audio.createSystemSound(""), 0u);
    audio.playSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 1);
    audio.playSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 2) << "plays again over the first, without waiting";
    audio.disposeSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 0);
    audio.playSystemSound(chime);
    EXPECT_EQ(audio.playingSounds(), 0) << "gone: nothing";
}

TEST_F(DummyDriver, TuneLoopsStopsKeepingItsPlaceAndRewinds) {
    SdlAudio audio;
    ASSERT_TRUE(audio.available());
    EXPECT_EQ(audio.createPlayer(resource("missing.mp3")), nullptr);
    auto player = tune(audio);
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
    player->play();
    EXPECT_GE(player->currentTime(), kept - 0.05) << "resumes where it stopped";
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
    const test::ScopedEnv driver{"SDL_AUDIODRIVER", "no-such-driver"};
    std::vector<std::string> lines;
    SdlAudio audio([&](const std::string& l) { lines.push_back(l); });
    EXPECT_TRUE(audio.available()) << "nothing is opened until a sound plays";
    EXPECT_TRUE(lines.empty());
    const uint32_t chime = audio.createSystemSound(resource("voltwise_sound.wav"));
    audio.playSystemSound(chime);
    EXPECT_FALSE(audio.available()) << "then the device fails, once";
    EXPECT_FALSE(audio.deviceOpen());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("audio: no device (", 0), 0u) << lines[0];
    audio.playSystemSound(chime);
    EXPECT_EQ(lines.size(), 1u) << "said once";
    EXPECT_EQ(audio.createSystemSound(resource("voltwise_sound.wav")), 0u);
    EXPECT_EQ(tune(audio), nullptr);
    EXPECT_EQ(audio.sessionGetProperty(platform::kAudioSessionPropertyOtherAudioIsPlaying), 0u);
    audio.sessionSetProperty(platform::kAudioSessionPropertyAudioCategory, platform::kAudioSessionCategorySoloAmbientSound);
    EXPECT_EQ(audio.category(), platform::kAudioSessionCategorySoloAmbientSound);
}

TEST_F(DummyDriver, ChimeOpensTheDeviceWhichClosesAfterTheLastSoundEnds) {
    SdlAudio audio({}, &loop, 1.0);
    const uint32_t chime = audio.createSystemSound(resource("voltwise_sound.wav"));
    ASSERT_NE(chime, 0u);
    EXPECT_FALSE(audio.deviceOpen()) << "nothing opened before a sound plays";
    EXPECT_EQ(audioThreads(0), 0);
    audio.playSystemSound(chime);
    ASSERT_TRUE(audio.deviceOpen());
    EXPECT_EQ(audioThreads(1), 1);
    EXPECT_EQ(audio.playingSounds(), 1);
    // While it sounds (and a little after) the device stays open...
    while (audio.playingSounds() > 0 && audio.deviceOpen()) runFor(0.05);
    EXPECT_TRUE(audio.deviceOpen()) << "closed while the chime sounded";
    runFor(0.3);
    EXPECT_TRUE(audio.deviceOpen()) << "closed sooner than the delay after the end";
    // ...and a moment later it is closed, its thread gone.
    runFor(1.2);
    EXPECT_FALSE(audio.deviceOpen());
    EXPECT_EQ(audioThreads(0), 0);
    EXPECT_FALSE(loop.nextTimerTime()) << "no timer left behind";
    audio.playSystemSound(chime);
    EXPECT_TRUE(audio.deviceOpen()) << "it opens again for the next chime, which plays from its file again";
    EXPECT_EQ(audio.playingSounds(), 1);
}

TEST_F(DummyDriver, TuneKeepsItsPlaceWhileTheDeviceIsClosed) {
    SdlAudio audio({}, &loop, 1.0);
    auto player = tune(audio);
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(audio.deviceOpen());
    player->setNumberOfLoops(-1);
    player->play();
    ASSERT_TRUE(player->isPlaying());
    runFor(1.5);  // longer than the delay: the playing tune keeps the device open
    EXPECT_TRUE(audio.deviceOpen());
    EXPECT_TRUE(player->isPlaying());
    player->stop();
    const double kept = player->currentTime();
    EXPECT_GT(kept, 1.0);
    runFor(1.6);
    EXPECT_FALSE(audio.deviceOpen());
    EXPECT_DOUBLE_EQ(player->currentTime(), kept);
    player->play();  // reopens and resumes where it stopped
    EXPECT_TRUE(audio.deviceOpen());
    EXPECT_TRUE(player->isPlaying());
    EXPECT_GE(player->currentTime(), kept - 0.05);
    EXPECT_LT(player->currentTime(), kept + 0.3);
}
}  // namespace
}  // namespace vw::desktop
