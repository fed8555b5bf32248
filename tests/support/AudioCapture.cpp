#include "AudioCapture.h"

#include "Angles.h"
#include "GameSettings.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {
const int kBytesPerFrame = kAudioChannels * 2;
const int kPollMilliseconds = 2;
const int kWaitLimitMilliseconds = 10000;
const double kToneQuality = 0.3;  // test tones are checked by level only

const std::string& CapturePath() {
    static const TempDir dir;
    static const std::string path = dir.File("out.raw");
    return path;
}

long CaptureSize() {
    struct stat info;
    return stat(CapturePath().c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}

std::vector<double> Tone(double frequency, double seconds, double level) {
    std::vector<double> samples(static_cast<size_t>(seconds * kAudioFrequency));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = level * std::sin(kTau * frequency * i / kAudioFrequency);
    }
    return samples;
}
}  // namespace

bool WriteToneWav(const std::string& path, double frequency, double seconds, double level) {
    return WriteWav(path, Tone(frequency, seconds, level));
}

std::string ToneOgg(double frequency, double seconds, double level) {
    const std::vector<double> tone = Tone(frequency, seconds, level);
    const std::vector<float> channel(tone.begin(), tone.end());
    return EncodeOggVorbis(channel, channel, kToneQuality, Id3v1Tag{});
}

AudioCapture::AudioCapture() {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) {
        // SDL reads these when its audio starts, so they win over the driver
        // the test command chose. The driver runs about twenty times faster
        // than real time: the tests measure time in the captured samples.
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", CapturePath().c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "5", 1);
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        InitAudio(kAudioFrequency, kAudioChannels);
    }
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_Volume(-1, MIX_MAX_VOLUME);
    // Buffers mixed before the reset may still be on their way to the file.
    Wait(0.25);
    start = CaptureSize();
}

bool AudioCapture::Wait(double seconds) {
    const long target =
        CaptureSize() + static_cast<long>(seconds * kAudioFrequency) * kBytesPerFrame;
    for (int waited = 0; waited < kWaitLimitMilliseconds; waited += kPollMilliseconds) {
        if (CaptureSize() >= target) {
            return true;
        }
        SDL_Delay(kPollMilliseconds);
    }
    return false;
}

std::vector<int16_t> AudioCapture::Samples() const {
    std::ifstream in(CapturePath(), std::ios::binary);
    in.seekg(start);
    std::vector<int16_t> samples((CaptureSize() - start) / kBytesPerFrame * kAudioChannels);
    in.read(reinterpret_cast<char*>(samples.data()), samples.size() * sizeof(int16_t));
    return samples;
}

std::vector<double> ToneLevels(const std::vector<int16_t>& samples, double frequency,
                               size_t blockFrames) {
    // One bin of the Fourier transform over a Hann window, whose sum is half
    // the block: a block-long sine of peak A gives A.
    const double step = kTau * frequency / kAudioFrequency;
    std::vector<double> levels;
    for (size_t first = 0; (first + blockFrames) * kAudioChannels <= samples.size();
         first += blockFrames) {
        double re = 0.0, im = 0.0;
        for (size_t i = 0; i < blockFrames; ++i) {
            const double x = (0.5 - 0.5 * std::cos(kTau * i / blockFrames)) *
                             samples[(first + i) * kAudioChannels];
            re += x * std::cos(step * i);
            im += x * std::sin(step * i);
        }
        levels.push_back(4.0 * std::hypot(re, im) / blockFrames);
    }
    return levels;
}

double Loudest(const std::vector<double>& levels) {
    return levels.empty() ? 0.0 : *std::max_element(levels.begin(), levels.end());
}
