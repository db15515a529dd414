// The chime and the slide show's tune, synthesised, and their file formats.
#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <vector>

#include "resources/Sounds.h"

namespace vw::art {

namespace {
constexpr double kTau = 6.283185307179586;
constexpr double kRate = kSampleRate;

double midiHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

std::vector<short> toPcm(const std::vector<double>& v, double peak) {
    double m = 1e-9;
    for (double s : v) m = std::max(m, std::fabs(s));
    std::vector<short> out(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) out[i] = static_cast<short>(std::lround(v[i] / m * peak * 32767.0));
    return out;
}

// A bell-like partial: a sine with a soft overtone, quick attack, long decay.
void bell(std::vector<double>& out, double start, double hz, double amp, double decay) {
    const std::size_t from = static_cast<std::size_t>(start * kRate);
    for (std::size_t i = from; i < out.size(); ++i) {
        const double t = static_cast<double>(i - from) / kRate;
        const double env = std::min(1.0, t / 0.004) * std::exp(-t / decay);
        out[i] += amp * env * (std::sin(kTau * hz * t) + 0.25 * std::sin(kTau * hz * 2.76 * t) * std::exp(-t / (decay * 0.3)));
    }
}

// A reedy horn voice: harmonics with a breathy onset and a vibrato that grows.
void horn(std::vector<double>& out, double start, double length, double note, double amp) {
    const double hz = midiHz(note);
    const std::size_t from = static_cast<std::size_t>(start * kRate);
    const std::size_t n = static_cast<std::size_t>((length + 0.08) * kRate);
    double phase = 0;
    uint32_t noiseState = 12345u + static_cast<uint32_t>(note * 97);
    for (std::size_t k = 0; k < n && from + k < out.size(); ++k) {
        const double t = static_cast<double>(k) / kRate;
        const double vib = 1.0 + 0.006 * std::min(1.0, t / 0.35) * std::sin(kTau * 5.3 * t);
        phase += kTau * hz * vib / kRate;
        double s = 0;
        for (int h = 1; h <= 9; ++h) {
            const double a = (h % 2 ? 1.0 : 0.7) / h * std::exp(-0.08 * h);
            s += a * std::sin(phase * h);
        }
        noiseState = noiseState * 1664525u + 1013904223u;
        const double breath = (static_cast<double>(noiseState >> 8) / 16777216.0 - 0.5) * 0.12 * std::exp(-t / 0.06);
        const double attack = std::min(1.0, t / 0.03);
        const double release = t > length ? std::max(0.0, 1.0 - (t - length) / 0.08) : 1.0;
        out[from + k] += amp * attack * release * (0.92 + 0.08 * std::sin(kTau * 2.1 * t)) * (s + breath);
    }
}

void pluck(std::vector<double>& out, double start, double note, double amp) {
    const double hz = midiHz(note);
    const std::size_t from = static_cast<std::size_t>(start * kRate);
    for (std::size_t k = 0; k < static_cast<std::size_t>(0.6 * kRate) && from + k < out.size(); ++k) {
        const double t = static_cast<double>(k) / kRate;
        const double env = std::min(1.0, t / 0.005) * std::exp(-t / 0.25);
        out[from + k] += amp * env * (std::sin(kTau * hz * t) + 0.35 * std::sin(kTau * hz * 2 * t));
    }
}

void hat(std::vector<double>& out, double start, double amp) {
    const std::size_t from = static_cast<std::size_t>(start * kRate);
    uint32_t state = 777u + static_cast<uint32_t>(from);
    double prev = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(0.06 * kRate) && from + k < out.size(); ++k) {
        const double t = static_cast<double>(k) / kRate;
        state = state * 1664525u + 1013904223u;
        const double white = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
        const double high = white - prev;  // a crude high-pass: brushes, not a hiss
        prev = white;
        out[from + k] += amp * std::exp(-t / 0.018) * high;
    }
}

void kick(std::vector<double>& out, double start, double amp) {
    const std::size_t from = static_cast<std::size_t>(start * kRate);
    double phase = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(0.25 * kRate) && from + k < out.size(); ++k) {
        const double t = static_cast<double>(k) / kRate;
        phase += kTau * (50 + 60 * std::exp(-t / 0.04)) / kRate;
        out[from + k] += amp * std::exp(-t / 0.09) * std::sin(phase);
    }
}
}  // namespace

std::vector<short> chimeSamples() {
    std::vector<double> v(static_cast<std::size_t>(0.9 * kRate), 0.0);
    bell(v, 0.00, midiHz(88), 0.6, 0.22);  // E6
    bell(v, 0.11, midiHz(95), 0.5, 0.30);  // B6
    return toPcm(v, 0.7);
}

std::vector<short> riffSamples() {
    // Four bars of a minor blues at 120 beats a minute, swung: eight seconds
    // that loop back into themselves.
    constexpr double beat = 0.5, bars = 4;
    const std::size_t length = static_cast<std::size_t>(bars * 4 * beat * kRate);
    std::vector<double> v(length + static_cast<std::size_t>(kRate), 0.0);
    auto swing = [](double beats) {
        const double whole = std::floor(beats);
        return std::fabs(beats - whole - 0.5) < 1e-9 ? whole + 0.62 : beats;
    };
    struct Note {
        double note, beats;  // note 0: a rest
    };
    const Note melody[] = {{67, .5}, {70, .5}, {72, 1}, {70, .5}, {67, .5}, {65, 1},            // bar 1
                           {63, .5}, {65, .5}, {67, 1.5}, {0, 1.5},                              // bar 2
                           {72, .5}, {75, .5}, {77, .5}, {78, .5}, {77, .5}, {75, .5}, {72, 1},  // bar 3
                           {70, .5}, {67, .5}, {72, 2}, {0, 1}};                                 // bar 4
    double at = 0;
    for (const auto& n : melody) {
        const double on = swing(at), off = swing(at + n.beats);
        if (n.note > 0) horn(v, on * beat, (off - on) * beat * 0.92, n.note, 0.32);
        at += n.beats;
    }
    const double bass[] = {36, 39, 41, 43, 46, 43, 41, 39, 41, 44, 45, 46, 48, 43, 39, 38};
    for (int i = 0; i < 16; ++i) pluck(v, i * beat, bass[i], 0.45);
    for (int i = 0; i < 32; ++i) hat(v, swing(i * 0.5) * beat, i % 2 ? 0.25 : 0.4);
    for (int i = 0; i < 16; i += 2) kick(v, i * beat, 0.5);
    // What rings past the end comes round to the start, so the loop has no seam.
    for (std::size_t i = length; i < v.size(); ++i) v[i - length] += v[i];
    v.resize(length);
    return toPcm(v, 0.8);
}

bool writeWav(const std::string& path, const std::vector<short>& samples) {
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.put(char(v & 0xFF)).put(char((v >> 8) & 0xFF)).put(char((v >> 16) & 0xFF)).put(char(v >> 24)); };
    auto u16 = [&](uint16_t v) { out.put(char(v & 0xFF)).put(char(v >> 8)); };
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(kSampleRate);
    u32(kSampleRate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (short s : samples) u16(static_cast<uint16_t>(s));
    return static_cast<bool>(out);
}

bool writeMp3(const std::string& path, const std::vector<short>& samples) {
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 96);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }
    std::vector<unsigned char> mp3(samples.size() * 5 / 4 + 7200);
    std::vector<short> pcm = samples;
    const int n = lame_encode_buffer(lame, pcm.data(), pcm.data(), static_cast<int>(pcm.size()), mp3.data(),
                                     static_cast<int>(mp3.size()));
    if (n < 0) {
        lame_close(lame);
        return false;
    }
    const int tail = lame_encode_flush(lame, mp3.data() + n, static_cast<int>(mp3.size()) - n);
    if (tail < 0) {
        lame_close(lame);
        return false;
    }
    // The encoder opened the stream with an empty header frame; fill it in now
    // that the length is known. It tells decoders how many samples of encoder
    // delay and padding to drop, so the tune loops without a gap.
    unsigned char tag[2048];
    const std::size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (tagBytes == 0 || tagBytes > static_cast<std::size_t>(n + tail)) return false;
    std::copy(tag, tag + tagBytes, mp3.begin());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(mp3.data()), n + tail);
    return static_cast<bool>(out);
}

}  // namespace vw::art
