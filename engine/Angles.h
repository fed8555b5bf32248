// Angle units for everything that turns: the sprite store turns sprites in
// degrees, the game keeps its actors' facings in degrees, and the asset
// generator's arcs and oscillators and the benchmark's layouts measure in
// radians with this one pi.
#ifndef CINDERMILL_ANGLES_H
#define CINDERMILL_ANGLES_H

#include <cstdint>

// Whole numbers, so that they convert exactly to whatever type an angle is
// kept in.
constexpr int32_t kQuarterTurnDegrees = 90;
constexpr int32_t kHalfTurnDegrees = 180;
constexpr int32_t kFullTurnDegrees = 360;

constexpr double kPi = 3.14159265358979323846;
// A full turn in radians: a whole circle in cairo, one cycle of an oscillator.
constexpr double kTau = 2 * kPi;

#endif
