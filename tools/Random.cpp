#include "Random.h"

#include <cmath>

namespace {
// The top 53 bits of a random word, as a double in [0, 1): every double there
// is a multiple of 2^-53.
double UnitInterval(uint64_t bits) {
    return static_cast<double>(bits >> 11) * (1.0 / 9007199254740992.0);
}
}  // namespace

uint64_t Random::Next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::Uniform() {
    return UnitInterval(Next());
}

double Random::Range(double low, double high) {
    return low + (high - low) * Uniform();
}

int Random::Below(int count) {
    return static_cast<int>(Uniform() * count);
}

double LatticeValue(uint64_t seed, int x, int y, int layer) {
    uint64_t h = seed * 0x9E3779B97F4A7C15ull;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(x)) * 0xC2B2AE3D27D4EB4Full;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(y)) * 0x165667B19E3779F9ull;
    h ^= static_cast<uint64_t>(static_cast<uint32_t>(layer)) * 0x27D4EB2F165667C5ull;
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
    h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return UnitInterval(h);
}

namespace {
double Fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}
int Wrap(int i, int n) {
    return ((i % n) + n) % n;
}
}  // namespace

double PeriodicValueNoise(uint64_t seed, double u, double v, int cells, int layer) {
    return PeriodicValueNoise2(seed, u, v, cells, cells, layer);
}

double PeriodicValueNoise2(uint64_t seed, double u, double v, int cellsX, int cellsY, int layer) {
    const double fu = std::floor(u);
    const double fv = std::floor(v);
    const int x0 = static_cast<int>(fu);
    const int y0 = static_cast<int>(fv);
    const double tx = Fade(u - fu);
    const double ty = Fade(v - fv);
    const int xa = Wrap(x0, cellsX), xb = Wrap(x0 + 1, cellsX);
    const int ya = Wrap(y0, cellsY), yb = Wrap(y0 + 1, cellsY);
    const double a = LatticeValue(seed, xa, ya, layer);
    const double b = LatticeValue(seed, xb, ya, layer);
    const double c = LatticeValue(seed, xa, yb, layer);
    const double d = LatticeValue(seed, xb, yb, layer);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double TileFractalNoise(uint64_t seed, double x, double y, int size, int baseCells, int octaves,
                        double persistence) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    int cells = baseCells;
    for (int o = 0; o < octaves; ++o) {
        const double scale = static_cast<double>(cells) / size;
        sum += weight * PeriodicValueNoise(seed, x * scale, y * scale, cells, o);
        total += weight;
        weight *= persistence;
        cells *= 2;
    }
    return sum / total;
}
