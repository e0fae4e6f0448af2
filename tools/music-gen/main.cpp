// Makes the saver's built-in music: a slow, quiet pad of soft tones that
// loops without a seam, as a mono 16-bit wave image of 2000 samples a
// second and 50898 bytes of samples (about 12.7 seconds). Every partial
// completes a whole number of cycles over the loop, and every swell is a
// whole number of periods of it, so the end meets the start exactly.
//
// usage: music-gen OUT.wav OUT.cpp   (the .cpp embeds the same bytes)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/byte_order.h"
#include "embed/embedded_bytes.h"

namespace {

constexpr int kRate = 2000;
constexpr int kSamples = 50898 / 2;
constexpr double kPi = 3.14159265358979323846;

// The nearest frequency that fits a whole number of cycles into the loop.
double loopFrequency(double hz) {
    const double step = static_cast<double>(kRate) / kSamples;
    return std::round(hz / step) * step;
}

struct Voice {
    double hz;        // pitch
    double level;     // peak amplitude, 0..1
    int swells;       // slow swells per loop
    double phase;     // where in its swell the voice starts, in turns
};

std::vector<int16_t> compose() {
    // A suspended A chord drifting over a low drone: A2 E3 A3 B3 E4 and a
    // high C#5 shimmer, each breathing at its own slow rate.
    const Voice voices[] = {
        {110.0, 0.30, 1, 0.00}, {164.81, 0.22, 2, 0.25}, {220.0, 0.18, 3, 0.50},
        {246.94, 0.12, 2, 0.75}, {329.63, 0.10, 3, 0.10}, {554.37, 0.05, 5, 0.60},
    };
    std::vector<int16_t> out(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double loopTurn = static_cast<double>(i) / kSamples;
        double v = 0.0;
        for (const Voice& voice : voices) {
            const double swell = 0.5 - 0.5 * std::cos(2 * kPi * (voice.swells * loopTurn + voice.phase));
            const double f = loopFrequency(voice.hz);
            // A touch of the octave softens the pure tone into a pad.
            const double t = 2 * kPi * f * i / kRate;
            v += voice.level * swell * (std::sin(t) + 0.25 * std::sin(2 * t));
        }
        out[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(std::tanh(v) * 12000.0));
    }
    return out;
}

std::vector<uint8_t> waveImage(const std::vector<int16_t>& samples) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> b;
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    appendLittleEndian(b, 36 + dataBytes, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    appendLittleEndian(b, 16, 4);
    appendLittleEndian(b, 1, 2);  // PCM
    appendLittleEndian(b, 1, 2);  // mono
    appendLittleEndian(b, kRate, 4);
    appendLittleEndian(b, kRate * 2, 4);
    appendLittleEndian(b, 2, 2);
    appendLittleEndian(b, 16, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    appendLittleEndian(b, dataBytes, 4);
    for (int16_t s : samples) appendLittleEndian(b, static_cast<uint16_t>(s), 2);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: music-gen OUT.wav OUT.cpp\n");
        return 2;
    }
    return writeEmbeddedBytes(waveImage(compose()), argv[1], argv[2], "tools/music-gen",
                              "#include \"saver/background_sound.h\"\n", "std::span<const uint8_t> builtInMusic()")
               ? 0
               : 1;
}
