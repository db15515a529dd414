// Sound through SDL_mixer: short system sounds as chunks on the mixer's
// channels, players as the mixer's music stream.
//
// The audio device is open only while there is something to hear: it opens
// when a sound or the tune starts and, when the session has a run loop,
// closes `closeAfter` seconds after the last one ends. An open device keeps
// an audio thread waking many times a second and the sound card powered, so
// a silent application holds none. The sounds' data is loaded again when the
// device reopens; a player keeps its place across a close. The close itself
// (SDL lets its audio thread drain for about a tenth of a second) runs on a
// short-lived thread of its own, so that the window does not stall.
//
// Without an audio device (or when the device cannot be opened) nothing
// plays: one line tells the log, and from then on createSystemSound gives 0
// and createPlayer none, so the application runs silent.
#pragma once

#include <SDL_mixer.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Audio.h"
#include "platform/MainLoop.h"
#include "platform/desktop/SdlHandles.h"

namespace vw::desktop {

// The device and the sounds on it, shared by the audio and its players.
struct MixerDevice;

class SdlAudioPlayer final : public platform::AudioPlayer {
public:
    SdlAudioPlayer(std::shared_ptr<MixerDevice> device, std::string path);
    ~SdlAudioPlayer() override;
    void setVolume(float volume) override;
    void setNumberOfLoops(int loops) override;
    void prepareToPlay() override {}
    void play() override;  // opens the device when it is closed
    void stop() override;
    void setCurrentTime(double seconds) override;
    double currentTime() const override;
    bool isPlaying() const override;
    float volume() const { return volume_; }
    int numberOfLoops() const { return loops_; }
    // The tune's length in seconds (decoding it needs the device open); 0
    // when it cannot be played.
    double duration() const;

private:
    friend struct MixerDevice;
    bool load() const;  // the music on the open device
    void unload();      // before the device closes

    std::shared_ptr<MixerDevice> device_;
    std::string path_;
    mutable MusicPtr music_;
    float volume_ = 1.0f;
    int loops_ = 0;
    bool playing_ = false;
    double position_ = 0;  // where play resumes from
};

class SdlAudio final : public platform::Audio {
public:
    using LogFn = std::function<void(const std::string&)>;
    static constexpr double kCloseAfter = 2.0;

    // Opens nothing yet ($SDL_AUDIODRIVER picks the driver when a sound
    // first plays). `loop` runs the timer that closes the device again;
    // without one the device stays open once opened. The loop must outlive
    // this object.
    explicit SdlAudio(LogFn log = {}, platform::MainLoop* loop = nullptr, double closeAfter = kCloseAfter);
    ~SdlAudio() override;

    // False once the device has failed to open.
    bool available() const;
    // Whether the device is open now.
    bool deviceOpen() const;
    uint32_t category() const { return category_; }
    bool active() const { return active_; }
    // Channels playing a system sound now.
    int playingSounds() const;

    void sessionInitialize() override {}
    std::optional<uint32_t> sessionGetProperty(uint32_t property) override;
    void sessionSetProperty(uint32_t property, uint32_t value) override;
    void sessionSetActive(bool active) override { active_ = active; }
    uint32_t createSystemSound(const std::string& path) override;
    void playSystemSound(uint32_t id) override;
    void disposeSystemSound(uint32_t id) override;
    std::shared_ptr<platform::AudioPlayer> createPlayer(const std::string& path) override;

private:
    std::shared_ptr<MixerDevice> device_;
    uint32_t category_ = 0;
    bool active_ = false;
};

}  // namespace vw::desktop
