#include "MusicPlayer.h"

#include "NumberedPath.h"

#include <SDL.h>

#include <cstdio>

namespace {
const size_t kPathBufferSize = 400;
const int kLoopForever = -1;
const int kPlayOnce = 0;
// A track start turns down an effects channel, not the music: the game's
// mix has always had effects on channel 0 a little quieter once music runs.
const int kEffectChannel = 0;
const int kEffectChannelVolume = 100;
const char kPathTooLong[] = "path too long";
}  // namespace

MusicPlayer::MusicPlayer(const char* directory) : currentTrack(-1) {
    char path[kPathBufferSize];
    for (int32_t n = 0;; ++n) {
        if (!FormatNumberedPath(path, sizeof(path), directory, n, "ogg")) {
            // Reported as the mixer's own failure would be, never loaded.
            fprintf(stderr, "Err.) Can't load %s... %s\n", path, kPathTooLong);
            break;
        }
        if (LoadTrack(path) == -1) {
            break;
        }
    }
    fprintf(stderr, "Err.) Music file %s is missing\n", path);
    if (tracks.empty()) {
        fprintf(stderr, "Err.) No music found, disabling\n");
    }
}

MusicPlayer::~MusicPlayer() {
    for (MusicTrack* track : tracks) {
        Mix_FreeMusic(track->music);
        delete track->tag;
        delete track;
    }
}

int32_t MusicPlayer::LoadTrack(const char* path) {
    Mix_Music* music = Mix_LoadMUS(path);
    if (music == nullptr) {
        fprintf(stderr, "Err.) Can't load %s... %s\n", path, SDL_GetError());
        return -1;
    }
    tracks.push_back(new MusicTrack{music, ReadId3v1Tag(path)});
    return 0;
}

void MusicPlayer::PlayTrack(int32_t track, bool repeat) {
    if (track < 0 || track >= GetTrackCount()) {
        fprintf(stderr, "Err.) Music track %i is out of range [0,%i]\n", track,
                GetTrackCount() - 1);
        return;
    }
    const MusicTrack* chosen = tracks[track];
    if (Mix_PlayMusic(chosen->music, repeat ? kLoopForever : kPlayOnce) == -1) {
        fprintf(stderr, "Err.) SDL_mixer error %s\n", SDL_GetError());
        return;
    }
    if (chosen->tag != nullptr) {
        printf("Pass) Playing track %i (%s - %s)\n", track, chosen->tag->artist.c_str(),
               chosen->tag->title.c_str());
    } else {
        printf("Pass) Playing track %i\n", track);
    }
    Mix_Volume(kEffectChannel, kEffectChannelVolume);
    currentTrack = track;
}
