// Sound through SDL_mixer: short system sounds as chunks on the mixer's
// channels, players as the mixer's music stream. Without an audio device
// (or when the device cannot be opened) nothing is made and nothing plays:
// createSystemSound gives 0 and createPlayer none, so the application runs
// silent.
#pragma once

#include <SDL_mixer.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Audio.h"

namespace vw::desktop {

// The open mixer; players keep it open while they exist.
struct MixerDevice;

class SdlAudioPlayer final : public platform::AudioPlayer {
public:
    SdlAudioPlayer(std::shared_ptr<MixerDevice> device, Mix_Music* music);
    ~SdlAudioPlayer() override;
    void setVolume(float volume) override;
    void setNumberOfLoops(int loops) override;
    void prepareToPlay() override {}
    void play() override;
    void stop() override;
    void setCurrentTime(double seconds) override;
    double currentTime() const override;
    bool isPlaying() const override;
    float volume() const { return volume_; }
    int numberOfLoops() const { return loops_; }
    double duration() const;

private:
    std::shared_ptr<MixerDevice> device_;
    Mix_Music* music_;
    float volume_ = 1.0f;
    int loops_ = 0;
    bool playing_ = false;
    double position_ = 0;  // where play resumes from
};

class SdlAudio final : public platform::Audio {
public:
    using LogFn = std::function<void(const std::string&)>;
    // Opens the default audio device ($SDL_AUDIODRIVER picks the driver);
    // `log` hears one line when there is none.
    explicit SdlAudio(LogFn log = {});
    ~SdlAudio() override;

    bool available() const { return device_ != nullptr; }
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
    std::map<uint32_t, Mix_Chunk*> sounds_;
    uint32_t nextSound_ = 1;
    uint32_t category_ = 0;
    bool active_ = false;
};

}  // namespace vw::desktop
