#include "platform/desktop/SdlAudio.h"

#include <SDL.h>

#include <algorithm>

namespace vw::desktop {

struct MixerDevice {
    ~MixerDevice() {
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

// ---- player ----

SdlAudioPlayer::SdlAudioPlayer(std::shared_ptr<MixerDevice> device, Mix_Music* music)
    : device_(std::move(device)), music_(music) {}

SdlAudioPlayer::~SdlAudioPlayer() {
    if (isPlaying()) Mix_HaltMusic();
    Mix_FreeMusic(music_);
}

void SdlAudioPlayer::setVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (playing_) Mix_VolumeMusic(static_cast<int>(volume_ * MIX_MAX_VOLUME + 0.5f));
}

void SdlAudioPlayer::setNumberOfLoops(int loops) { loops_ = loops; }

void SdlAudioPlayer::play() {
    if (isPlaying()) return;
    Mix_VolumeMusic(static_cast<int>(volume_ * MIX_MAX_VOLUME + 0.5f));
    // Loops after the first play: -1 repeats until stopped. The mixer counts plays.
    if (Mix_PlayMusic(music_, loops_ < 0 ? -1 : loops_ + 1) != 0) return;
    if (position_ > 0) Mix_SetMusicPosition(position_);
    playing_ = true;
}

void SdlAudioPlayer::stop() {
    if (!playing_) return;
    position_ = currentTime();
    Mix_HaltMusic();
    playing_ = false;
}

void SdlAudioPlayer::setCurrentTime(double seconds) {
    position_ = std::max(0.0, seconds);
    if (isPlaying()) Mix_SetMusicPosition(position_);
}

double SdlAudioPlayer::currentTime() const {
    if (!isPlaying()) return position_;
    const double p = Mix_GetMusicPosition(music_);
    return p >= 0 ? p : position_;
}

bool SdlAudioPlayer::isPlaying() const { return playing_ && Mix_PlayingMusic() != 0; }

double SdlAudioPlayer::duration() const { return Mix_MusicDuration(music_); }

// ---- audio ----

SdlAudio::SdlAudio(LogFn log) {
    std::string why;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
    } else {
        Mix_Init(MIX_INIT_MP3);
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) != 0) {
            why = Mix_GetError();
            Mix_Quit();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        } else {
            device_ = std::make_shared<MixerDevice>();
            Mix_AllocateChannels(8);
        }
    }
    if (!device_ && log) log("audio: no device (" + why + "); running silent");
}

SdlAudio::~SdlAudio() {
    if (device_) Mix_HaltChannel(-1);
    for (auto& [id, chunk] : sounds_) Mix_FreeChunk(chunk);
}

std::optional<uint32_t> SdlAudio::sessionGetProperty(uint32_t property) {
    // The desktop does not say what other programs play: none, as far as we know.
    if (property == platform::kAudioSessionPropertyOtherAudioIsPlaying) return 0u;
    if (property == platform::kAudioSessionPropertyAudioCategory) return category_;
    return std::nullopt;
}

void SdlAudio::sessionSetProperty(uint32_t property, uint32_t value) {
    if (property == platform::kAudioSessionPropertyAudioCategory) category_ = value;
}

uint32_t SdlAudio::createSystemSound(const std::string& path) {
    if (!device_ || path.empty()) return 0;
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) return 0;
    const uint32_t id = nextSound_++;
    sounds_.emplace(id, chunk);
    return id;
}

void SdlAudio::playSystemSound(uint32_t id) {
    auto it = sounds_.find(id);
    if (it != sounds_.end()) Mix_PlayChannel(-1, it->second, 0);
}

void SdlAudio::disposeSystemSound(uint32_t id) {
    auto it = sounds_.find(id);
    if (it == sounds_.end()) return;
    for (int ch = 0; ch < Mix_AllocateChannels(-1); ++ch)
        if (Mix_GetChunk(ch) == it->second) Mix_HaltChannel(ch);
    Mix_FreeChunk(it->second);
    sounds_.erase(it);
}

int SdlAudio::playingSounds() const { return device_ ? Mix_Playing(-1) : 0; }

std::shared_ptr<platform::AudioPlayer> SdlAudio::createPlayer(const std::string& path) {
    if (!device_ || path.empty()) return nullptr;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    if (!music) return nullptr;
    return std::make_shared<SdlAudioPlayer>(device_, music);
}

}  // namespace vw::desktop
