// Angles in radians for the whole generator: cairo's arcs, the art's turns and
// the oscillators' phases all measure with this one pi.
#ifndef ZIBO_TOOLS_ANGLES_H
#define ZIBO_TOOLS_ANGLES_H

constexpr double kPi = 3.14159265358979323846;
// A full turn: a whole circle in cairo, one cycle of an oscillator.
constexpr double kTau = 2 * kPi;

#endif
