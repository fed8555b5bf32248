// Cindermill music player: numbered Ogg tracks streamed by SDL_mixer, each
// with the ID3v1 tag that names it in the log, started by track number.
#ifndef CINDERMILL_MUSIC_PLAYER_H
#define CINDERMILL_MUSIC_PLAYER_H

#include "Id3v1Tag.h"

#include <SDL_mixer.h>

#include <cstdint>
#include <vector>

struct MusicTrack {
    Mix_Music* music;  // owned
    Id3v1Tag* tag;     // owned; null when the file holds no readable tag
};

class MusicPlayer {
public:
    // Loads "directory/0.ogg", "directory/1.ogg", ... up to the first gap and
    // always names that gap in an "Err.)" line. Needs the audio device open.
    explicit MusicPlayer(const char* directory);
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // 0 when the file loaded as the next track, -1 (with a line) otherwise.
    int32_t LoadTrack(const char* path);
    // Starts the track once, or looping forever when repeat is set, in place
    // of whatever music plays. A bad number is logged and changes nothing.
    void PlayTrack(int32_t track, bool repeat);
    int32_t GetTrackCount() const { return static_cast<int32_t>(tracks.size()); }

private:
    std::vector<MusicTrack*> tracks;
    int32_t currentTrack;
};

#endif
