// Deterministic randomness for the asset generator: a seeded generator and
// tileable value noise. Nothing here reads the clock, so every run of the
// generator makes the same bytes.
#ifndef ZIBO_TOOLS_RANDOM_H
#define ZIBO_TOOLS_RANDOM_H

#include <cstdint>

// SplitMix64: small, fast and identical on every platform.
class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [low, high).
    double Range(double low, double high);
    // Uniform integer in [0, count).
    int Below(int count);

private:
    uint64_t state;
};

// A hash of a lattice point to [0, 1), the base of the noise functions.
double LatticeValue(uint64_t seed, int x, int y, int layer);

// Value noise that repeats every `cells` lattice cells in both directions.
// (u, v) are in cell units; the result lies in [0, 1).
double PeriodicValueNoise(uint64_t seed, double u, double v, int cells, int layer);
// The same with different periods along x and y (for stretched grain).
double PeriodicValueNoise2(uint64_t seed, double u, double v, int cellsX, int cellsY, int layer);

// Fractal sum of periodic value noise over a square tile of `size` pixels:
// seamless when the tile is repeated. `baseCells` lattice cells span the tile
// in the first octave, doubling with each further octave. Result in [0, 1).
double TileFractalNoise(uint64_t seed, double x, double y, int size, int baseCells, int octaves,
                        double persistence = 0.5);

#endif
