#include "SoundBank.h"

#include "NumberedPath.h"

#include <SDL.h>

#include <cstdio>

namespace {
const size_t kPathBufferSize = 200;
const int kFirstFreeChannel = -1;
const int kChannelZero = 0;
const int kPlayOnce = 0;
const int kNoTimeLimit = -1;
}  // namespace

SoundBank::SoundBank(const char* directory) {
    char path[kPathBufferSize];
    for (int32_t n = 0;; ++n) {
        // A path too long for the buffer is a gap like a missing file.
        if (!FormatNumberedPath(path, sizeof(path), directory, n, "wav") ||
            LoadSample(path) == -1) {
            fprintf(stderr, "%s is missing\n", path);
            break;
        }
    }
}

SoundBank::~SoundBank() {
    for (Mix_Chunk* sample : samples) {
        Mix_FreeChunk(sample);
    }
}

int32_t SoundBank::LoadSample(const char* path) {
    // The mixer closes the stream itself, and takes a null stream (a file
    // that cannot be opened) as a failed load.
    Mix_Chunk* sample = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    if (sample == nullptr) {
        return -1;
    }
    samples.push_back(sample);
    return GetSampleCount() - 1;
}

void SoundBank::PlaySample(int32_t index, bool onChannelZero) {
    // Taken as unsigned, every negative index is out of bounds as well.
    if (samples.empty() || static_cast<uint32_t>(index) >= samples.size()) {
        printf("Sample %i is out of bounds\n", index);
        return;
    }
    const int channel = onChannelZero ? kChannelZero : kFirstFreeChannel;
    if (Mix_PlayChannelTimed(channel, samples[index], kPlayOnce, kNoTimeLimit) < 0) {
        fprintf(stderr, "Couldn't play sample %i: %s\n", index, SDL_GetError());
    }
}

void SoundBank::PlaySample(int32_t index) {
    PlaySample(index, false);
}
