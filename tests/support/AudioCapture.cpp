#include "AudioCapture.h"

#include "TestWindow.h"
#include "Video.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const double kTwoPi = 6.283185307179586;
const int kBytesPerFrame = kCaptureChannels * 2;
const int kPollMilliseconds = 5;
// The driver paces itself in real time; a busy machine may lag far behind.
const double kWaitSlack = 20.0;
const int kMinimumWaitMilliseconds = 5000;

}  // namespace

AudioCapture::AudioCapture(const std::string& path) : path(path), open(false) {
    // SDL reads these when its audio starts, so they win over whatever driver
    // the test command chose for the process.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        return;
    }
    open = InitAudio(kCaptureRate, kCaptureChannels) == 0;
}

AudioCapture::~AudioCapture() {
    if (open) {
        Finish();
    }
}

long AudioCapture::FileSize() const {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_size) : 0;
}

bool AudioCapture::Wait(double seconds) {
    const long target = FileSize() + static_cast<long>(seconds * kCaptureRate) * kBytesPerFrame;
    const int limit =
        std::max(kMinimumWaitMilliseconds, static_cast<int>(seconds * 1000 * kWaitSlack));
    for (int waited = 0; waited < limit; waited += kPollMilliseconds) {
        if (FileSize() >= target) {
            return true;
        }
        SDL_Delay(kPollMilliseconds);
    }
    return false;
}

std::vector<int16_t> AudioCapture::Finish() {
    if (open) {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        open = false;
    }
    const std::string bytes = ReadFileBytes(path);
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) {
        memcpy(samples.data(), bytes.data(), samples.size() * 2);
    }
    return samples;
}

double ToneLevel(const std::vector<int16_t>& samples, size_t first, size_t count,
                 double frequency) {
    const size_t frames = samples.size() / kCaptureChannels;
    if (first >= frames || count < 2) {
        return 0.0;
    }
    count = std::min(count, frames - first);
    const double coefficient = 2.0 * cos(kTwoPi * frequency / kCaptureRate);
    double previous = 0.0;
    double beforePrevious = 0.0;
    double windowSum = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double window = 0.5 - 0.5 * cos(kTwoPi * i / (count - 1));
        windowSum += window;
        const double x = window * samples[(first + i) * kCaptureChannels];
        const double current = x + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    // A full-block sine of peak A gives a magnitude of A * windowSum / 2.
    return 2.0 * sqrt(std::max(power, 0.0)) / windowSum;
}

std::vector<double> ToneLevels(const std::vector<int16_t>& samples, size_t blockFrames,
                               double frequency) {
    std::vector<double> levels;
    const size_t frames = samples.size() / kCaptureChannels;
    for (size_t first = 0; first + blockFrames <= frames; first += blockFrames) {
        levels.push_back(ToneLevel(samples, first, blockFrames, frequency));
    }
    return levels;
}

int PeakLevel(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (const int16_t s : samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
}
