// The sound tests' rig: sine tones written with the asset generator's own WAV
// and Ogg Vorbis writers, and what the mixer really plays, captured by SDL's
// disk audio driver into a file in which the tests look for their tones.
#ifndef ZIBO_TESTS_AUDIO_CAPTURE_H
#define ZIBO_TESTS_AUDIO_CAPTURE_H

#include "AudioFiles.h"

#include <cstdint>
#include <string>
#include <vector>

// A mono WAV file holding a tone of the given peak level (0 to 1).
bool WriteToneWav(const std::string& path, double frequency, double seconds, double level);
// An Ogg Vorbis stream without tag holding the tone in both channels; empty
// when encoding failed.
std::string ToneOgg(double frequency, double seconds, double level);

// One audio device, at the game's format, serves the whole test program:
// closing one takes SDL a fifth of a second.
class AudioCapture {
public:
    // Opens the device on first use (and again after a test closed the
    // mixer), silences every channel and the music, restores full channel
    // volumes, and captures from then on.
    AudioCapture();
    // Waits until the driver has written at least seconds more audio; false
    // when that does not happen within a few seconds.
    bool Wait(double seconds);
    // Interleaved left/right samples captured so far.
    std::vector<int16_t> Samples() const;

private:
    long start = 0;  // file offset at which this capture begins
};

// Level (peak, out of 32767) of the sine at frequency in the left channel of
// each whole block of blockFrames frames, in order; about 0 where it is absent.
std::vector<double> ToneLevels(const std::vector<int16_t>& samples, double frequency,
                               size_t blockFrames = 2048);
double Loudest(const std::vector<double>& levels);

#endif
