#include "SoundEffects.h"

#include "Angles.h"
#include "Random.h"
#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace {

int Frames(double seconds) {
    return static_cast<int>(seconds * kSampleRate);
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

// A value that follows a list of (time, value) points, linearly between them.
struct Curve {
    std::vector<std::pair<double, double>> points;
    double At(double t) const {
        if (t <= points.front().first) {
            return points.front().second;
        }
        for (size_t i = 1; i < points.size(); ++i) {
            if (t <= points[i].first) {
                const double u =
                    (t - points[i - 1].first) / (points[i].first - points[i - 1].first);
                return Lerp(points[i - 1].second, points[i].second, u);
            }
        }
        return points.back().second;
    }
};

}  // namespace

Samples GunShot(int variant) {
    const double length = variant == 0 ? 0.42 : 0.5;
    Samples out(Frames(length));
    Random rng(0x5407 + variant * 31);
    Biquad body, crack1, crack2, tailFilter;
    crack1.Set(Biquad::BandPass, variant == 0 ? 2200 : 1700, 6.0);
    crack2.Set(Biquad::BandPass, variant == 0 ? 3900 : 3100, 8.0);
    tailFilter.Set(Biquad::LowPass, 900, 0.7);
    Oscillator thump;
    const double tauNoise = variant == 0 ? 0.040 : 0.055;
    const double thumpStart = variant == 0 ? 170.0 : 140.0, thumpEnd = variant == 0 ? 50.0 : 42.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double white = rng.Uniform() * 2 - 1;
        // the body of the blast: noise through a low-pass that closes quickly
        const double cutoff = 700 + 7000 * std::exp(-t / 0.025);
        body.Set(Biquad::LowPass, cutoff, 0.9);
        double s = body.Process(white) * AttackDecay(t, 0.0008, tauNoise) * 1.1;
        // a sharp initial click and a short metallic crack
        s += white * AttackDecay(t, 0.0002, 0.0025) * 0.9;
        s += (crack1.Process(white) * 2.2 + crack2.Process(white) * 1.6) *
             AttackDecay(t, 0.0005, 0.018);
        // the low thump, its pitch dropping
        const double f = thumpEnd + (thumpStart - thumpEnd) * std::exp(-t / 0.035);
        s += thump.Sine(f) * AttackDecay(t, 0.001, variant == 0 ? 0.07 : 0.09) * 1.2;
        // the room: a dull decaying rumble
        s += tailFilter.Process(white) * AttackDecay(t, 0.01, 0.12) * 0.5;
        out[i] = std::tanh(s * 1.6);
    }
    FadeEdges(out, 8, Frames(0.03));
    Normalize(out, kEffectPeak);
    return out;
}

namespace {

struct Formants {
    double f1, f2, f3;
};

// Vowel formants of an adult male voice.
const Formants kVowelA{730, 1090, 2440};   // "ah"
const Formants kVowelUh{640, 1190, 2390};  // "uh"
const Formants kVowelO{570, 840, 2410};    // "oh"
const Formants kVowelU{300, 870, 2240};    // "oo"
const Formants kVowelAe{660, 1720, 2410};  // "a" as in cat
const Formants kVowelE{530, 1840, 2480};   // "eh"
const Formants kVowelI{270, 2290, 3010};   // "ee"

Formants MixFormants(const Formants& a, const Formants& b, double t) {
    return Formants{Lerp(a.f1, b.f1, t), Lerp(a.f2, b.f2, t), Lerp(a.f3, b.f3, t)};
}

struct VoiceSpec {
    double length;
    Curve pitch;      // Hz over time
    Curve amplitude;  // 0..1 over time
    Curve vowelMix;   // 0 = first vowel, 1 = second, 2 = third
    Formants vowels[3];
    double formantScale;               // 1 for a man, higher for a cat
    Curve breath;                      // aspiration noise level over time
    Curve growl;                       // roughness: subharmonic modulation depth
    double vibratoRate, vibratoDepth;  // Hz, fraction of pitch
    uint64_t seed;
};

// A formant voice: a band-limited glottal buzz through three resonances.
Samples Voice(const VoiceSpec& v) {
    Samples out(Frames(v.length));
    Random rng(v.seed);
    Oscillator glottis, sub;
    OnePole tilt, tilt2;
    tilt.SetCutoff(900);
    tilt2.SetCutoff(2500);
    Biquad r1, r2, r3, r4;
    Biquad breathBand;
    breathBand.Set(Biquad::HighPass, 400, 0.7);
    double jitter = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        // pitch with vibrato and a little random jitter
        jitter += (rng.Uniform() - 0.5) * 0.02;
        jitter *= 0.995;
        const double f0 =
            v.pitch.At(t) *
            (1.0 + v.vibratoDepth * std::sin(kTau * v.vibratoRate * t) + jitter * 0.4);
        double buzz = glottis.Saw(f0);
        buzz = tilt2.LowPass(tilt.LowPass(buzz) * 0.4 + buzz * 0.6);
        // growl: modulate the buzz at half the pitch (a rough, strained voice)
        const double g = v.growl.At(t);
        buzz *= 1.0 - g * 0.5 * (1.0 + sub.Sine(f0 * 0.5));
        const double breathNoise = breathBand.Process(rng.Uniform() * 2 - 1) * v.breath.At(t);
        const double excitation = buzz + breathNoise;
        const double m = v.vowelMix.At(t);
        const Formants f = m <= 1.0 ? MixFormants(v.vowels[0], v.vowels[1], m)
                                    : MixFormants(v.vowels[1], v.vowels[2], m - 1.0);
        if (i % 32 == 0) {
            r1.Set(Biquad::BandPass, f.f1 * v.formantScale, 5.0);
            r2.Set(Biquad::BandPass, f.f2 * v.formantScale, 6.0);
            r3.Set(Biquad::BandPass, f.f3 * v.formantScale, 8.0);
            r4.Set(Biquad::BandPass, 3300 * v.formantScale, 8.0);
        }
        const double s = r1.Process(excitation) * 1.0 + r2.Process(excitation) * 0.8 +
                         r3.Process(excitation) * 0.55 + r4.Process(excitation) * 0.3;
        out[i] = s * v.amplitude.At(t);
    }
    for (double& s : out) {
        s = std::tanh(s * 1.8);
    }
    FadeEdges(out, Frames(0.004), Frames(0.04));
    Normalize(out, kEffectPeak);
    return out;
}

}  // namespace

Samples DeathCry(int variant) {
    VoiceSpec v;
    v.formantScale = 1.0;
    if (variant == 0) {
        // "AAARGH!": a shout that rises, then chokes off downwards
        v.length = 0.85;
        v.pitch = Curve{{{0, 170}, {0.08, 235}, {0.35, 215}, {0.7, 120}, {0.85, 90}}};
        v.amplitude = Curve{{{0, 0}, {0.03, 1}, {0.45, 0.9}, {0.75, 0.45}, {0.85, 0}}};
        v.vowels[0] = kVowelAe, v.vowels[1] = kVowelA, v.vowels[2] = kVowelUh;
        v.vowelMix = Curve{{{0, 0}, {0.12, 1}, {0.5, 1.2}, {0.85, 2}}};
        v.breath = Curve{{{0, 0.35}, {0.05, 0.08}, {0.6, 0.12}, {0.85, 0.4}}};
        v.growl = Curve{{{0, 0.2}, {0.3, 0.35}, {0.6, 0.8}, {0.85, 1.0}}};
        v.vibratoRate = 7.0, v.vibratoDepth = 0.02;
        v.seed = 0xA11;
    } else if (variant == 1) {
        // "UGH-ohh": a short grunt knocked out of him
        v.length = 0.65;
        v.pitch = Curve{{{0, 150}, {0.06, 175}, {0.2, 140}, {0.45, 105}, {0.65, 80}}};
        v.amplitude = Curve{{{0, 0}, {0.015, 1}, {0.12, 0.8}, {0.2, 0.55}, {0.3, 0.8}, {0.65, 0}}};
        v.vowels[0] = kVowelUh, v.vowels[1] = kVowelO, v.vowels[2] = kVowelU;
        v.vowelMix = Curve{{{0, 0}, {0.18, 0.3}, {0.35, 1.0}, {0.65, 1.8}}};
        v.breath = Curve{{{0, 0.6}, {0.03, 0.15}, {0.5, 0.2}, {0.65, 0.5}}};
        v.growl = Curve{{{0, 0.5}, {0.2, 0.3}, {0.65, 0.9}}};
        v.vibratoRate = 5.0, v.vibratoDepth = 0.015;
        v.seed = 0xB22;
    } else {
        // the player: a long, falling "NOOOoo..."
        v.length = 1.3;
        v.pitch = Curve{{{0, 190}, {0.1, 215}, {0.5, 200}, {1.0, 135}, {1.3, 100}}};
        v.amplitude =
            Curve{{{0, 0}, {0.06, 0.7}, {0.15, 1.0}, {0.8, 0.85}, {1.15, 0.35}, {1.3, 0}}};
        v.vowels[0] = kVowelU, v.vowels[1] = kVowelO, v.vowels[2] = kVowelU;
        v.vowelMix = Curve{{{0, 0}, {0.12, 1.0}, {0.8, 1.1}, {1.3, 2.0}}};
        v.breath = Curve{{{0, 0.1}, {0.9, 0.15}, {1.3, 0.5}}};
        v.growl = Curve{{{0, 0.0}, {0.6, 0.2}, {1.0, 0.5}, {1.3, 0.8}}};
        v.vibratoRate = 5.5, v.vibratoDepth = 0.03;
        v.seed = 0xC33;
    }
    return Voice(v);
}

Samples CatDeathMeow() {
    // "mrrREEOWWW": a yowl that rises, cries and falls away, with a cat's
    // short vocal tract (formants well above a man's)
    VoiceSpec v;
    v.length = 1.0;
    v.pitch = Curve{{{0, 480}, {0.12, 720}, {0.35, 820}, {0.7, 560}, {1.0, 360}}};
    v.amplitude = Curve{{{0, 0}, {0.05, 0.6}, {0.2, 1.0}, {0.7, 0.8}, {1.0, 0}}};
    v.vowels[0] = kVowelI, v.vowels[1] = kVowelE, v.vowels[2] = kVowelO;
    v.vowelMix = Curve{{{0, 0}, {0.2, 0.3}, {0.45, 1.0}, {1.0, 2.0}}};
    v.formantScale = 1.55;
    v.breath = Curve{{{0, 0.2}, {0.5, 0.1}, {1.0, 0.5}}};
    v.growl = Curve{{{0, 0.6}, {0.12, 0.1}, {0.7, 0.2}, {1.0, 0.6}}};
    v.vibratoRate = 8.0, v.vibratoDepth = 0.035;
    v.seed = 0xCA7;
    Samples s = Voice(v);
    // the "m" at the start: damp the first moments
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (t < 0.08) {
            s[i] *= 0.35 + 0.65 * (t / 0.08);
        }
    }
    Normalize(s, kEffectPeak);
    return s;
}

Samples Slowed(const Samples& original, int factor) {
    // windowed-sinc (Lanczos) interpolation: a smooth, alias-free stretch
    const int a = 8;
    const int n = static_cast<int>(original.size());
    Samples out(static_cast<size_t>(n) * factor);
    auto lanczos = [a](double x) {
        if (x == 0.0) {
            return 1.0;
        }
        if (std::fabs(x) >= a) {
            return 0.0;
        }
        const double px = kPi * x;
        return a * std::sin(px) * std::sin(px / a) / (px * px);
    };
    for (size_t j = 0; j < out.size(); ++j) {
        const double t = static_cast<double>(j) / factor;
        const int base = static_cast<int>(std::floor(t));
        double s = 0.0;
        for (int k = base - a + 1; k <= base + a; ++k) {
            if (k >= 0 && k < n) {
                s += original[k] * lanczos(t - k);
            }
        }
        out[j] = s;
    }
    FadeEdges(out, 0, factor * 8);
    Normalize(out, kEffectPeak);
    return out;
}
