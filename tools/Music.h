// The game's music: an original loop in the spirit of an arcade shooter, 140
// beats a minute in A minor, 32 bars (about 55 seconds) of drums, bass, pad,
// arpeggios and a lead melody, composed by rules from a fixed seed. Every
// note's tail that runs past the end of the loop is wrapped to its start, so
// the loop joins without a seam.
#ifndef ZIBO_TOOLS_MUSIC_H
#define ZIBO_TOOLS_MUSIC_H

#include <vector>

struct StereoLoop {
    std::vector<float> left, right;
};

StereoLoop ComposeMusic();

#endif
