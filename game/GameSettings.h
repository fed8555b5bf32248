// What the game fixes for the whole run: the window that the entry function
// opens and the audio format it asks the mixer for. The generator writes its
// sounds at this rate, and the benchmark and the test rigs open this window.
#ifndef ZIBO_GAME_SETTINGS_H
#define ZIBO_GAME_SETTINGS_H

#include <cstdint>

const int32_t kScreenWidth = 640;       // pixels
const int32_t kScreenHeight = 480;      // pixels
const int32_t kAudioFrequency = 44100;  // samples per second
const int32_t kAudioChannels = 2;       // stereo
const char* const kWindowCaption = "Z.I.B.O. -- Zibonauts";

#endif
