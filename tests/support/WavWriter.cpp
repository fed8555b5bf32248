#include "WavWriter.h"

#include "TestWindow.h"

#include <cmath>
#include <cstdint>

namespace {

const double kTwoPi = 6.283185307179586;
const int kBytesPerSample = 2;

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::string MakeToneWav(double frequency, double seconds, int amplitude, int rate, int channels) {
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    const uint32_t dataSize = frames * channels * kBytesPerSample;
    std::string wav = "RIFF";
    PutLe(wav, 36 + dataSize, 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);  // format chunk size
    PutLe(wav, 1, 2);   // PCM
    PutLe(wav, channels, 2);
    PutLe(wav, rate, 4);
    PutLe(wav, rate * channels * kBytesPerSample, 4);  // bytes per second
    PutLe(wav, channels * kBytesPerSample, 2);         // bytes per frame
    PutLe(wav, 8 * kBytesPerSample, 2);                // bits per sample
    wav += "data";
    PutLe(wav, dataSize, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const double value = amplitude * sin(kTwoPi * frequency * i / rate);
        const int16_t sample = static_cast<int16_t>(lround(value));
        for (int c = 0; c < channels; ++c) {
            PutLe(wav, static_cast<uint16_t>(sample), kBytesPerSample);
        }
    }
    return wav;
}

bool WriteToneWav(const std::string& path, double frequency, double seconds, int amplitude,
                  int rate, int channels) {
    return WriteFileBytes(path, MakeToneWav(frequency, seconds, amplitude, rate, channels));
}
