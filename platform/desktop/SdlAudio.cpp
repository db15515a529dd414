#include "platform/desktop/SdlAudio.h"

#include "platform/desktop/Files.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <thread>

namespace vw::desktop {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

bool readable(const std::string& path) {
    if (path.empty()) return false;
    std::FILE* f = std::fopen(path.c_str(), "rbe");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

struct MixerDevice {
    struct Sound {
        std::string path;
        ChunkPtr chunk;  // on the open device
    };

    SdlAudio::LogFn log;
    platform::MainLoop* loop = nullptr;
    double closeAfter = SdlAudio::kCloseAfter;
    bool open = false;
    bool failed = false;
    std::map<uint32_t, Sound> sounds;
    uint32_t nextSound = 1;
    std::set<SdlAudioPlayer*> players;
    platform::MainLoop::Timer closeTimer;
    double busyUntil = 0;  // loop time the sounds started so far end by
    // Closing the device waits for SDL's audio thread to drain and end (about
    // a tenth of a second); the closing thread spares the main thread that.
    std::thread closer;

    ~MixerDevice() {
        finishClosing();
        close(true);
    }

    void finishClosing() {
        if (closer.joinable()) closer.join();
    }

    bool ensureOpen() {
        if (open) return true;
        if (failed) return false;
        finishClosing();
        std::string why;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            why = SDL_GetError();
        } else {
            Mix_Init(MIX_INIT_MP3);
            if (Mix_OpenAudio(kRate, AUDIO_S16SYS, kChannels, 2048) != 0) {
                why = Mix_GetError();
                Mix_Quit();
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            } else {
                Mix_AllocateChannels(8);
                open = true;
                return true;
            }
        }
        failed = true;
        if (log) log("audio: no device (" + why + "); running silent");
        return false;
    }

    // Halts and frees everything on the device, then closes it: at once with
    // `wait`, else on the closing thread (the next open waits for it).
    void close(bool wait) {
        closeTimer.cancel();
        if (!open) return;
        Mix_HaltChannel(-1);
        Mix_HaltMusic();
        for (auto& [id, s] : sounds) s.chunk.reset();
        for (SdlAudioPlayer* p : players) p->unload();
        open = false;
        auto shut = [] {
            Mix_CloseAudio();
            Mix_Quit();
            // Also the driver: some keep a thread of their own while initialised.
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        };
        if (wait) shut();
        else closer = std::thread(shut);
    }

    bool musicPlaying() const {
        for (const SdlAudioPlayer* p : players)
            if (p->isPlaying()) return true;
        return false;
    }

    // Something started that lasts `seconds` (or, for the tune, an unknown
    // while): the device closes `closeAfter` after everything has ended.
    void busyFor(double seconds) {
        if (!loop) return;
        busyUntil = std::max(busyUntil, loop->clock().monotonic() + seconds);
        scheduleCheck();
    }

    void scheduleCheck() {
        if (!loop || !open) return;
        const double delay = std::max(0.0, busyUntil - loop->clock().monotonic()) + closeAfter;
        closeTimer = loop->scheduleTimer(delay, false, [this] { closeIfQuiet(); });
    }

    void closeIfQuiet() {
        if (!open) return;
        const double now = loop ? loop->clock().monotonic() : 0;
        if (Mix_Playing(-1) > 0 || musicPlaying()) {
            // Still sounding (a chunk a little longer than reckoned, or the
            // tune): look again once it may have ended.
            busyUntil = std::max(busyUntil, now);
            scheduleCheck();
            return;
        }
        close(false);
    }
};

// ---- player ----

SdlAudioPlayer::SdlAudioPlayer(std::shared_ptr<MixerDevice> device, std::string path)
    : device_(std::move(device)), path_(std::move(path)) {
    device_->players.insert(this);
}

SdlAudioPlayer::~SdlAudioPlayer() {
    if (isPlaying()) Mix_HaltMusic();
    unload();
    device_->players.erase(this);
}

bool SdlAudioPlayer::load() const {
    if (music_) return true;
    if (!device_->open) return false;
    SDL_RWops* rw = readOnlyFile(path_);
    music_.reset(rw ? Mix_LoadMUS_RW(rw, 1) : nullptr);
    return music_ != nullptr;
}

void SdlAudioPlayer::unload() {
    if (!music_) return;
    if (playing_ && Mix_PlayingMusic()) position_ = currentTime();
    playing_ = false;
    music_.reset();
}

void SdlAudioPlayer::setVolume(float volume) {
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    if (isPlaying()) Mix_VolumeMusic(static_cast<int>(volume_ * MIX_MAX_VOLUME + 0.5f));
}

void SdlAudioPlayer::setNumberOfLoops(int loops) { loops_ = loops; }

void SdlAudioPlayer::play() {
    if (isPlaying()) return;
    if (!device_->ensureOpen() || !load()) return;
    Mix_VolumeMusic(static_cast<int>(volume_ * MIX_MAX_VOLUME + 0.5f));
    // Loops after the first play: -1 repeats until stopped. The mixer counts plays.
    if (Mix_PlayMusic(music_.get(), loops_ < 0 ? -1 : loops_ + 1) != 0) return;
    if (position_ > 0) Mix_SetMusicPosition(position_);
    playing_ = true;
    device_->busyFor(0);
}

void SdlAudioPlayer::stop() {
    if (!playing_) return;
    position_ = currentTime();
    if (Mix_PlayingMusic()) Mix_HaltMusic();
    playing_ = false;
    device_->busyFor(0);
}

void SdlAudioPlayer::setCurrentTime(double seconds) {
    position_ = std::max(0.0, seconds);
    if (isPlaying()) Mix_SetMusicPosition(position_);
}

double SdlAudioPlayer::currentTime() const {
    if (!isPlaying()) return position_;
    const double p = Mix_GetMusicPosition(music_.get());
    return p >= 0 ? p : position_;
}

bool SdlAudioPlayer::isPlaying() const { return playing_ && music_ && Mix_PlayingMusic() != 0; }

double SdlAudioPlayer::duration() const {
    if (!device_->ensureOpen() || !load()) return 0;
    device_->busyFor(0);
    const double d = Mix_MusicDuration(music_.get());
    return d > 0 ? d : 0;
}

// ---- audio ----

SdlAudio::SdlAudio(LogFn log, platform::MainLoop* loop, double closeAfter) : device_(std::make_shared<MixerDevice>()) {
    device_->log = std::move(log);
    device_->loop = loop;
    device_->closeAfter = closeAfter;
}

SdlAudio::~SdlAudio() {
    // Players that outlive the audio keep the device open, with no loop to close it.
    device_->closeTimer.cancel();
    device_->loop = nullptr;
    if (device_->open) Mix_HaltChannel(-1);
    device_->sounds.clear();
}

bool SdlAudio::available() const { return !device_->failed; }

bool SdlAudio::deviceOpen() const { return device_->open; }

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
    if (device_->failed || !readable(path)) return 0;
    const uint32_t id = device_->nextSound++;
    device_->sounds.emplace(id, MixerDevice::Sound{path, nullptr});
    return id;
}

void SdlAudio::playSystemSound(uint32_t id) {
    auto it = device_->sounds.find(id);
    if (it == device_->sounds.end() || !device_->ensureOpen()) return;
    MixerDevice::Sound& s = it->second;
    if (!s.chunk)
        if (SDL_RWops* rw = readOnlyFile(s.path)) s.chunk.reset(Mix_LoadWAV_RW(rw, 1));
    if (!s.chunk || Mix_PlayChannel(-1, s.chunk.get(), 0) < 0) {
        device_->busyFor(0);
        return;
    }
    int rate = kRate, channels = kChannels;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&rate, &format, &channels);
    const double bytesPerSecond = static_cast<double>(rate) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    device_->busyFor(bytesPerSecond > 0 ? s.chunk->alen / bytesPerSecond : 0);
}

void SdlAudio::disposeSystemSound(uint32_t id) {
    auto it = device_->sounds.find(id);
    if (it == device_->sounds.end()) return;
    if (const Mix_Chunk* chunk = it->second.chunk.get())
        for (int ch = 0; ch < Mix_AllocateChannels(-1); ++ch)
            if (Mix_GetChunk(ch) == chunk) Mix_HaltChannel(ch);
    device_->sounds.erase(it);
}

int SdlAudio::playingSounds() const { return device_->open ? Mix_Playing(-1) : 0; }

std::shared_ptr<platform::AudioPlayer> SdlAudio::createPlayer(const std::string& path) {
    if (device_->failed || !readable(path)) return nullptr;
    return std::make_shared<SdlAudioPlayer>(device_, path);
}

}  // namespace vw::desktop
