#include "EffectArt.h"

#include "Angles.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

double Gaussian(double d, double sigma) {
    return std::exp(-(d * d) / (2 * sigma * sigma));
}

// Distance from x to the nearest multiple of period (periodic, for tiles).
double PeriodicDistance(double x, double period) {
    double m = std::fmod(x, period);
    if (m < 0) {
        m += period;
    }
    return std::min(m, period - m);
}

// Distance from point p to segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax, vy = by - ay;
    const double wx = px - ax, wy = py - ay;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? (wx * vx + wy * vy) / len2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    const double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

// --- Bullets ------------------------------------------------------------------

Image BulletFrame(int frame) {
    const int w = 64, h = 8;
    Image image(w, h);
    Random rng(0xB011E7 + frame * 7919);
    // per frame: tail length, head pulse and a few sparks in the tail
    const double tail = frame == 0 ? 0.80 : 0.62 + 0.07 * ((frame * 3) % 5);
    const double pulse = frame == 0 ? 1.0 : 0.85 + 0.08 * ((frame * 2) % 4);
    struct Spark {
        double x, y, r;
    };
    std::vector<Spark> sparks;
    const int sparkCount = frame == 0 ? 0 : 2 + frame % 3;
    for (int i = 0; i < sparkCount; ++i) {
        sparks.push_back(Spark{rng.Range(10, 44), rng.Range(2.6, 5.4), rng.Range(0.6, 1.0)});
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w;        // 0 tail end .. 1 head
            const double v = (y + 0.5 - h / 2.0);  // -4 .. 4
            // along the streak: a tail that fades in from the left, a hot head
            const double start = 1.0 - tail;
            double along = Clamp01((u - start) / (0.9 - start));
            along = std::pow(along, 1.1);
            const double nose = SmoothStep(1.0, 0.93, u);  // rounds off the tip
            const double head = Gaussian(u - 0.86, 0.07) * pulse;
            const double core = Gaussian(v, 0.9 + 0.5 * head) * (0.1 + 0.9 * along) * nose;
            const double glow = Gaussian(v, 1.8 + 0.8 * head) * (0.1 + 0.6 * along) * nose;
            double heat = Clamp01(0.6 * along + 0.9 * head);
            double sparkle = 0.0;
            for (const Spark& s : sparks) {
                const double d = std::hypot(x + 0.5 - s.x, (y + 0.5 - s.y) * 1.5);
                sparkle = std::max(sparkle, Gaussian(d, s.r) * 0.8);
            }
            // colour: white-hot at the head through yellow to orange in the tail
            const Color white{1.0, 1.0, 0.92, 1};
            const Color yellow{1.0, 0.86, 0.30, 1};
            const Color orange{1.0, 0.42, 0.08, 1};
            Color c =
                heat > 0.5 ? Mix(yellow, white, (heat - 0.5) * 2) : Mix(orange, yellow, heat * 2);
            const double coreA = Clamp01(core * (0.8 + head));
            const double glowA = Clamp01(glow * 0.7);
            c = Mix(Mix(orange, yellow, 0.3), c, coreA / std::max(1e-6, coreA + glowA * 0.5));
            // the faintest glow is cut to nothing, so the streak has clean edges
            double a = Clamp01((coreA + glowA * (1 - coreA) + sparkle - 0.03) / 0.97);
            if (sparkle > 0.05) {
                c = Mix(c, yellow, Clamp01(sparkle));
            }
            image.At(x, y) = Color{c.r, c.g, c.b, a};
        }
    }
    return image;
}

// --- Blood ------------------------------------------------------------------

namespace {

struct Blob {
    double x, y, r;
};
// A run of blood that thins from radius ra at a to rb at b.
struct Streak {
    double ax, ay, bx, by, ra, rb;
};

// A range to draw a random value from.
struct Span {
    double low, high;
};

// Adds `count` blobs around (x, y), each at a random angle and distance and of
// a random radius, drawn in that order.
// Adds `count` streaks running out from (x, y), each at a random angle and of
// a random length, radius at its start and radius at its end, drawn in that
// order.
void ScatterStreaks(Random& rng, int count, double x, double y, Span angle, Span length,
                    Span startRadius, Span endRadius, std::vector<Streak>& streaks) {
    for (int i = 0; i < count; ++i) {
        const double a = rng.Range(angle.low, angle.high);
        const double len = rng.Range(length.low, length.high);
        streaks.push_back(Streak{x, y, x + len * std::cos(a), y + len * std::sin(a),
                                 rng.Range(startRadius.low, startRadius.high),
                                 rng.Range(endRadius.low, endRadius.high)});
    }
}

void ScatterBlobs(Random& rng, int count, double x, double y, Span angle, Span distance,
                  Span radius, std::vector<Blob>& blobs) {
    for (int i = 0; i < count; ++i) {
        const double a = rng.Range(angle.low, angle.high);
        const double d = rng.Range(distance.low, distance.high);
        blobs.push_back(
            Blob{x + d * std::cos(a), y + d * std::sin(a), rng.Range(radius.low, radius.high)});
    }
}

double SmoothMin(double a, double b, double k) {
    const double h = std::max(k - std::fabs(a - b), 0.0) / k;
    return std::min(a, b) - h * h * k * 0.25;
}

// Signed distance to the splat's edge (negative inside), blobs and streaks
// merged with a smooth minimum so they flow into each other like liquid.
double SplatDistance(const std::vector<Blob>& blobs, const std::vector<Streak>& streaks, double px,
                     double py) {
    double d = 1e9;
    for (const Blob& b : blobs) {
        d = SmoothMin(d, std::hypot(px - b.x, py - b.y) - b.r, 2.5);
    }
    for (const Streak& s : streaks) {
        const double vx = s.bx - s.ax, vy = s.by - s.ay;
        double t = ((px - s.ax) * vx + (py - s.ay) * vy) / (vx * vx + vy * vy);
        t = std::max(0.0, std::min(1.0, t));
        const double r = s.ra + (s.rb - s.ra) * t;
        d = SmoothMin(d, std::hypot(px - (s.ax + t * vx), py - (s.ay + t * vy)) - r, 2.0);
    }
    return d;
}

// The blood splats' images are square.
const int kSplatSize = 64;

Image RenderSplat(const std::vector<Blob>& blobs, const std::vector<Streak>& streaks,
                  uint64_t seed) {
    const int size = kSplatSize;
    Image image(size, size);
    const int ss = 3;  // supersampling for clean soft edges
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double coverage = 0.0, depth = 0.0;
            for (int sy = 0; sy < ss; ++sy) {
                for (int sx = 0; sx < ss; ++sx) {
                    const double px = x + (sx + 0.5) / ss, py = y + (sy + 0.5) / ss;
                    // a ragged rim from a little noise
                    const double n = PeriodicValueNoise(seed, px / 3.0, py / 3.0, 64, 0) - 0.5;
                    const double d = SplatDistance(blobs, streaks, px, py) + n * 1.6;
                    coverage += Clamp01(0.5 - d / 1.4);
                    depth += Clamp01(-d / 7.0);
                }
            }
            coverage /= ss * ss;
            depth /= ss * ss;
            if (coverage <= 0.0) {
                continue;
            }
            const double grain = TileFractalNoise(seed + 1, x, y, size, 8, 3);
            // thin edges brighter red, deep pools dark and glossy
            const Color edge = Rgb(176, 20, 16);
            const Color pool = Rgb(104, 6, 8);
            Color c = Mix(edge, pool, std::pow(depth, 0.7));
            c = Mix(c, Rgb(70, 2, 4), 0.3 * grain * depth);
            // a soft highlight on the thick parts, as if wet
            const double gloss = depth * SmoothStep(0.55, 0.8, grain) * 0.3;
            c = Mix(c, Rgb(230, 90, 90), gloss);
            c.a = coverage * (0.82 + 0.14 * std::sqrt(depth));
            image.At(x, y) = c;
        }
    }
    return image;
}

}  // namespace

Image BloodSplat(int variant) {
    Random rng(0xB100D + variant * 104729);
    std::vector<Blob> blobs;
    std::vector<Streak> streaks;
    const double cx = kSplatSize / 2.0, cy = kSplatSize / 2.0;
    if (variant == 0) {
        // a round splat with spikes all round, ringed by droplets
        blobs.push_back(Blob{cx, cy, 9.0});
        for (int i = 0; i < 6; ++i) {
            const double a = kTau * i / 6 + rng.Range(-0.35, 0.35);
            const double d = rng.Range(6, 9);
            blobs.push_back(Blob{cx + d * std::cos(a), cy + d * std::sin(a), rng.Range(3.0, 4.5)});
        }
        for (int i = 0; i < 11; ++i) {
            const double a = kTau * i / 11 + rng.Range(-0.2, 0.2);
            const double len = rng.Range(13, 19);
            streaks.push_back(Streak{cx, cy, cx + len * std::cos(a), cy + len * std::sin(a),
                                     rng.Range(1.6, 2.4), rng.Range(0.3, 0.7)});
        }
        ScatterBlobs(rng, 14, cx, cy, {0, kTau}, {19, 27}, {0.6, 1.5}, blobs);
    } else if (variant == 1) {
        // a spray thrown to one side: a pool, long thinning runs, a trail of drops
        const double ax = cx - 9, ay = cy + 1;
        blobs.push_back(Blob{ax, ay, 7.0});
        blobs.push_back(Blob{ax + 6, ay - 1, 5.0});
        ScatterStreaks(rng, 7, ax + 4, ay, {-0.55, 0.55}, {16, 30}, {1.8, 2.8}, {0.3, 0.8},
                       streaks);
        ScatterBlobs(rng, 16, ax, ay, {-0.7, 0.7}, {20, 36}, {0.6, 1.6}, blobs);
        ScatterBlobs(rng, 5, ax, ay, {0, kTau}, {10, 15}, {0.7, 1.3}, blobs);
    } else {
        // an irregular pool of several lobes with a few runs
        ScatterBlobs(rng, 6, cx, cy, {0, kTau}, {2, 9}, {4.5, 7.0}, blobs);
        ScatterStreaks(rng, 5, cx, cy, {0, kTau}, {14, 22}, {1.8, 2.6}, {0.4, 0.9}, streaks);
        ScatterBlobs(rng, 10, cx, cy, {0, kTau}, {19, 27}, {0.6, 1.5}, blobs);
    }
    // keep everything clear of the image border so no splat is cut off
    Image image = RenderSplat(blobs, streaks, 0x5EED + variant);
    const double radius = kSplatSize / 2.0, fadeWidth = 3.0;
    for (int y = 0; y < kSplatSize; ++y) {
        for (int x = 0; x < kSplatSize; ++x) {
            const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            image.At(x, y).a *= SmoothStep(radius, radius - fadeWidth, r);
        }
    }
    return image;
}

// --- Floors -----------------------------------------------------------------

namespace {
const int kTile = 256;

// The shade of a height field lit from the top left, from its slopes.
double Lambert(double dx, double dy, double strength) {
    const double nx = -dx * strength, ny = -dy * strength, nz = 1.0;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double lx = -0.5, ly = -0.6, lz = 0.62;
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    return (nx * lx + ny * ly + nz * lz) / (len * ll);
}
}  // namespace

Image GridFloor() {
    Image image(kTile, kTile);
    const Color base = Rgb(38, 44, 52);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double n = TileFractalNoise(0x6D1D, px, py, kTile, 4, 5);
            const double fine = TileFractalNoise(0x6D1E, px, py, kTile, 64, 2);
            Color c = Mix(base, Rgb(22, 26, 32), 0.6 * SmoothStep(0.45, 0.8, n));
            c = Mix(c, Rgb(58, 64, 72), 0.25 * fine);
            // minor lines every 32 px, major lines every 128 px with a faint glow
            const double dMinor = std::min(PeriodicDistance(px, 32), PeriodicDistance(py, 32));
            const double dMajor = std::min(PeriodicDistance(px, 128), PeriodicDistance(py, 128));
            const double minor = SmoothStep(1.1, 0.3, dMinor);
            const double major = SmoothStep(1.6, 0.6, dMajor);
            const double glow = Gaussian(dMajor, 3.0) * 0.12;
            c = Mix(c, Rgb(70, 96, 112), glow);
            c = Mix(c, Rgb(62, 74, 86), minor * 0.8);
            c = Mix(c, Rgb(84, 118, 136), major * 0.8);
            // small crosses where major lines meet
            const double ix = PeriodicDistance(px, 128), iy = PeriodicDistance(py, 128);
            if (ix < 6 && iy < 6) {
                c = Mix(c, Rgb(130, 176, 196), SmoothStep(1.5, 0.5, std::min(ix, iy)) * 0.6);
            }
            c.a = 1.0;
            image.At(x, y) = c;
        }
    }
    return image;
}

Image MetalFloor() {
    Image image(kTile, kTile);
    // height field: diamond-plate bars in alternating directions on a 16 px
    // lattice, and grooves between 128 px plates
    std::vector<double> height(kTile * kTile);
    auto bar = [](double px, double py) {
        const double cell = 16.0;
        const int i = static_cast<int>(std::floor(px / cell));
        const int j = static_cast<int>(std::floor(py / cell));
        const double cx = (i + 0.5) * cell, cy = (j + 0.5) * cell;
        const double dir = ((i + j) & 1) ? 1.0 : -1.0;
        const double hx = 4.2 * 0.7071, hy = 4.2 * 0.7071 * dir;
        const double d = SegmentDistance(px, py, cx - hx, cy - hy, cx + hx, cy + hy);
        return SmoothStep(2.1, 0.9, d);
    };
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            double h = bar(px, py) * 1.2;
            const double seam = std::min(PeriodicDistance(px, 128), PeriodicDistance(py, 128));
            h -= SmoothStep(2.5, 0.5, seam) * 1.5;
            // bolts near each plate corner
            for (int k = 0; k < 4; ++k) {
                const double ox = (k & 1) ? 120.0 : 8.0, oy = (k & 2) ? 120.0 : 8.0;
                const double dx = PeriodicDistance(px - ox, 128),
                             dy = PeriodicDistance(py - oy, 128);
                const double d = std::hypot(dx, dy);
                h = std::max(h, 1.6 * SmoothStep(3.2, 1.8, d) + 0.3 * SmoothStep(1.8, 0.0, d));
            }
            height[y * kTile + x] = h;
        }
    }
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            auto H = [&](int xx, int yy) {
                xx = (xx + kTile) % kTile;
                yy = (yy + kTile) % kTile;
                return height[yy * kTile + xx];
            };
            const double dx = (H(x + 1, y) - H(x - 1, y)) * 0.5;
            const double dy = (H(x, y + 1) - H(x, y - 1)) * 0.5;
            const double light = Lambert(dx, dy, 0.9);
            // brushed steel: grain stretched along x
            const double grain = PeriodicValueNoise2(0x3E7A, px / 32.0, py / 1.5, 8, 171, 0) * 0.6 +
                                 PeriodicValueNoise2(0x3E7B, px / 16.0, py / 1.0, 16, 256, 0) * 0.4;
            const double grime = TileFractalNoise(0x3E7C, px, py, kTile, 4, 4);
            Color c = Rgb(92, 97, 104);
            c = Mix(c, Rgb(112, 117, 124), grain * 0.6);
            // the bars' tops are worn bright
            c = Mix(c, Rgb(150, 156, 164), Clamp01(height[y * kTile + x] / 1.2) * 0.45);
            c = Mix(c, Rgb(70, 66, 60), SmoothStep(0.5, 0.85, grime) * 0.4);
            const double shade = 0.8 + 0.6 * (light - 0.65);
            c.r *= shade;
            c.g *= shade;
            c.b *= shade;
            const double seam = std::min(PeriodicDistance(px, 128), PeriodicDistance(py, 128));
            c = Mix(c, Rgb(20, 20, 22), SmoothStep(1.2, 0.2, seam) * 0.8);
            c.r = Clamp01(c.r);
            c.g = Clamp01(c.g);
            c.b = Clamp01(c.b);
            c.a = 1.0;
            image.At(x, y) = c;
        }
    }
    return image;
}

Image PlainFloor() {
    Image image(kTile, kTile);
    Random rng(0xF100F);
    // speckles: small dark and light aggregate dots at wrapped positions
    struct Speck {
        double x, y, r, tone;
    };
    std::vector<Speck> specks;
    for (int i = 0; i < 220; ++i) {
        specks.push_back(Speck{rng.Range(0, kTile), rng.Range(0, kTile), rng.Range(0.4, 1.1),
                               rng.Uniform() < 0.6 ? -1.0 : 1.0});
    }
    std::vector<double> speckField(kTile * kTile, 0.0);
    for (const Speck& s : specks) {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const int x = static_cast<int>(std::floor(s.x)) + dx;
                const int y = static_cast<int>(std::floor(s.y)) + dy;
                const double d = std::hypot(x + 0.5 - s.x, y + 0.5 - s.y);
                const int wx = (x % kTile + kTile) % kTile, wy = (y % kTile + kTile) % kTile;
                speckField[wy * kTile + wx] += s.tone * SmoothStep(s.r + 0.6, s.r - 0.3, d);
            }
        }
    }
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double broad = TileFractalNoise(0xC0C0, px, py, kTile, 2, 3);
            const double mid = TileFractalNoise(0xC0C1, px, py, kTile, 8, 4);
            const double fine = TileFractalNoise(0xC0C2, px, py, kTile, 64, 2);
            Color c = Rgb(104, 100, 94);
            c = Mix(c, Rgb(80, 76, 70), SmoothStep(0.35, 0.75, broad) * 0.7);
            c = Mix(c, Rgb(120, 116, 108), (mid - 0.5) * 0.8 + 0.2);
            c = Mix(c, Rgb(70, 66, 62), fine * 0.25);
            const double sp = speckField[y * kTile + x];
            if (sp < 0) {
                c = Mix(c, Rgb(66, 62, 58), Clamp01(-sp) * 0.4);
            } else if (sp > 0) {
                c = Mix(c, Rgb(136, 132, 124), Clamp01(sp) * 0.35);
            }
            c.a = 1.0;
            image.At(x, y) = c;
        }
    }
    return image;
}
