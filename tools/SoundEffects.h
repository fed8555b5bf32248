// The game's sound effects, synthesised: two gun shots, two bad-guy death
// cries, the player's death cry and a cat's death meow, each also slowed to a
// quarter of its speed and pitch for slow motion. Mono, 44.1 kHz, peaks below
// full scale.
#ifndef ZIBO_TOOLS_SOUND_EFFECTS_H
#define ZIBO_TOOLS_SOUND_EFFECTS_H

#include <vector>

typedef std::vector<double> Samples;

Samples GunShot(int variant);   // 0 or 1
Samples DeathCry(int variant);  // 0, 1: bad guys; 2: the player
Samples CatDeathMeow();
// The same sound at a quarter of the speed and pitch: exactly factor times as
// many samples, band-limited interpolation between the originals.
Samples Slowed(const Samples& original, int factor);
// Slow-motion samples play at a quarter of the speed and pitch, as the world
// runs in slow motion.
const int kSlowFactor = 4;

// Peak level that every effect is normalised to (-3 dBFS): loud, with headroom
// for the mixer, which sums overlapping shots, cries and the music and clamps.
const double kEffectPeak = 0.708;

#endif
