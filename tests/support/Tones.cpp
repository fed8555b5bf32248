#include "Tones.h"

#include "Angles.h"
#include "Synth.h"

#include <cmath>
#include <vector>

namespace {
// Good enough for test tones, which are checked by level.
const double kToneQuality = 0.3;

std::vector<double> Tone(double frequency, double seconds, double level) {
    std::vector<double> samples(static_cast<size_t>(seconds * kSampleRate));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = level * std::sin(kTau * frequency * static_cast<double>(i) / kSampleRate);
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
