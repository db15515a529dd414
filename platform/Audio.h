// Sound: the audio session, short system sounds (the chime) and a player for
// longer music. Every operation of a backend without sound does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace vw::platform {

inline constexpr uint32_t kAudioSessionPropertyOtherAudioIsPlaying = 0x6F746872;  // 'othr'
inline constexpr uint32_t kAudioSessionPropertyAudioCategory = 0x61636174;        // 'acat'
inline constexpr uint32_t kAudioSessionCategoryAmbientSound = 0x616D6269;         // 'ambi'
inline constexpr uint32_t kAudioSessionCategorySoloAmbientSound = 0x736F6C6F;     // 'solo'

class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    virtual void setVolume(float volume) = 0;
    virtual void setNumberOfLoops(int loops) = 0;  // -1: until stopped
    virtual void prepareToPlay() = 0;
    virtual void play() = 0;  // from the current position
    virtual void stop() = 0;  // pauses, keeping the position
    virtual void setCurrentTime(double seconds) = 0;
    virtual double currentTime() const = 0;
    virtual bool isPlaying() const = 0;
};

class Audio {
public:
    virtual ~Audio() = default;

    virtual void sessionInitialize() = 0;
    // The property's value, or absent when the query failed.
    virtual std::optional<uint32_t> sessionGetProperty(uint32_t property) = 0;
    virtual void sessionSetProperty(uint32_t property, uint32_t value) = 0;
    virtual void sessionSetActive(bool active) = 0;

    // 0 when the sound cannot be made.
    virtual uint32_t createSystemSound(const std::string& path) = 0;
    virtual void playSystemSound(uint32_t id) = 0;
    virtual void disposeSystemSound(uint32_t id) = 0;

    // None when the file cannot be played.
    virtual std::shared_ptr<AudioPlayer> createPlayer(const std::string& path) = 0;
};

}  // namespace vw::platform
