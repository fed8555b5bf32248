// Sine-tone WAV files for sound tests: 16-bit PCM, written byte by byte so the
// tests need no audio library to make their input.
#ifndef ZIBO_TESTS_WAV_WRITER_H
#define ZIBO_TESTS_WAV_WRITER_H

#include <string>

// A RIFF/WAVE file holding a sine tone of the given peak amplitude (out of
// 32767) in every channel.
std::string MakeToneWav(double frequency, double seconds, int amplitude, int rate = 44100,
                        int channels = 2);
bool WriteToneWav(const std::string& path, double frequency, double seconds, int amplitude,
                  int rate = 44100, int channels = 2);

#endif
