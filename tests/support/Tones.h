// Sine tones for the sound and music tests, written with the asset
// generator's own WAV and Ogg Vorbis writers at the game's sample rate.
#ifndef ZIBO_TESTS_TONES_H
#define ZIBO_TESTS_TONES_H

#include "AudioFiles.h"

#include <string>

// A mono WAV file holding a tone of the given peak level (0 to 1).
bool WriteToneWav(const std::string& path, double frequency, double seconds, double level);
// An Ogg Vorbis stream, no tag, holding the tone in both channels; empty
// when encoding failed.
std::string ToneOgg(double frequency, double seconds, double level);

#endif
