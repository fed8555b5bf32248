// Cindermill sound bank: WAV sound effects decoded into SDL_mixer samples and
// handed out as small integer indices, played on free mixing channels.
#ifndef CINDERMILL_SOUND_BANK_H
#define CINDERMILL_SOUND_BANK_H

#include <SDL_mixer.h>

#include <cstdint>
#include <vector>

class SoundBank {
public:
    // Loads "directory/0.wav", "directory/1.wav", ... up to the first gap,
    // which it names in one "is missing" line. Needs the audio device open.
    explicit SoundBank(const char* directory);
    ~SoundBank();
    SoundBank(const SoundBank&) = delete;
    SoundBank& operator=(const SoundBank&) = delete;

    // The new sample index, or -1 (silently) when the file cannot be opened
    // or decoded.
    int32_t LoadSample(const char* path);
    // Plays the sample once on the first free channel, or on channel 0 when
    // onChannelZero is set, cutting off what plays there. A bad index or a
    // refusal of the mixer is logged and nothing plays.
    void PlaySample(int32_t index, bool onChannelZero);
    void PlaySample(int32_t index);
    int32_t GetSampleCount() const { return static_cast<int32_t>(samples.size()); }

private:
    std::vector<Mix_Chunk*> samples;
};

#endif
