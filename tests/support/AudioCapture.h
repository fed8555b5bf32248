// What the mixer really plays, for sound tests: SDL's disk audio driver
// writes every mixed buffer into a file at real-time pace, and the tests look
// for their tones in it with a Goertzel filter.
#ifndef ZIBO_TESTS_AUDIO_CAPTURE_H
#define ZIBO_TESTS_AUDIO_CAPTURE_H

#include "GameSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The device format that the game's InitAudio opens: 16-bit samples.
const int kCaptureRate = kAudioFrequency;
const int kCaptureChannels = kAudioChannels;

class AudioCapture {
public:
    // Points SDL's audio at the disk driver writing into path, starts SDL's
    // audio subsystem and opens the mixer as the game does.
    explicit AudioCapture(const std::string& path);
    // Closes the mixer if Finish was not called.
    ~AudioCapture();
    AudioCapture(const AudioCapture&) = delete;
    AudioCapture& operator=(const AudioCapture&) = delete;

    bool IsOpen() const { return open; }
    // Waits until the driver has written at least seconds more audio. False
    // when that does not happen in many times as long (no disk driver).
    bool Wait(double seconds);
    // Closes the mixer and SDL's audio, so the file is complete, and returns
    // its interleaved left/right samples.
    std::vector<int16_t> Finish();

private:
    long FileSize() const;

    std::string path;
    bool open;
};

// Amplitude (peak, out of 32767) of the sine at frequency in the left channel
// of frames [first, first + count) of interleaved stereo samples, measured
// through a Hann window; about 0 when the tone is absent.
double ToneLevel(const std::vector<int16_t>& samples, size_t first, size_t count, double frequency);
// ToneLevel of each whole block of blockFrames frames, in order.
std::vector<double> ToneLevels(const std::vector<int16_t>& samples, size_t blockFrames,
                               double frequency);
// Largest absolute sample value.
int PeakLevel(const std::vector<int16_t>& samples);

#endif
