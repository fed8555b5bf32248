// Small DSP building blocks for the sound effects and the music: filters,
// band-limited oscillators, envelopes and sample-buffer helpers.
#ifndef ZIBO_TOOLS_SYNTH_H
#define ZIBO_TOOLS_SYNTH_H

#include "Angles.h"
#include "GameSettings.h"

#include <cmath>
#include <vector>

// Every sound is made at the rate the game opens the mixer at.
const int kSampleRate = kAudioFrequency;

// An RBJ-cookbook biquad in direct form I.
class Biquad {
public:
    enum Kind { LowPass, HighPass, BandPass };
    void Set(Kind kind, double frequency, double q) {
        frequency = std::fmin(frequency, kSampleRate * 0.45);
        const double w = kTau * frequency / kSampleRate;
        const double cw = std::cos(w), alpha = std::sin(w) / (2.0 * q);
        double b0, b1, b2;
        const double a0 = 1 + alpha;
        switch (kind) {
            case LowPass:
                b0 = (1 - cw) / 2, b1 = 1 - cw, b2 = (1 - cw) / 2;
                break;
            case HighPass:
                b0 = (1 + cw) / 2, b1 = -(1 + cw), b2 = (1 + cw) / 2;
                break;
            default:  // constant 0 dB peak gain
                b0 = alpha, b1 = 0, b2 = -alpha;
                break;
        }
        c0 = b0 / a0, c1 = b1 / a0, c2 = b2 / a0, d1 = -2 * cw / a0, d2 = (1 - alpha) / a0;
    }
    double Process(double x) {
        const double y = c0 * x + c1 * x1 + c2 * x2 - d1 * y1 - d2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }

private:
    double c0 = 1, c1 = 0, c2 = 0, d1 = 0, d2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

class OnePole {
public:
    void SetCutoff(double frequency) { k = 1.0 - std::exp(-kTau * frequency / kSampleRate); }
    double LowPass(double x) { return y += k * (x - y); }

private:
    double k = 1.0, y = 0.0;
};

// PolyBLEP correction for a discontinuity at phase 0 (t in [0, 1), dt = f / fs).
inline double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A band-limited sawtooth / pulse oscillator.
class Oscillator {
public:
    explicit Oscillator(double startPhase = 0.0) : phase(startPhase) {}
    double Saw(double frequency) {
        const double dt = frequency / kSampleRate;
        const double v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
        Advance(dt);
        return v;
    }
    double Pulse(double frequency, double width) {
        const double dt = frequency / kSampleRate;
        double v = phase < width ? 1.0 : -1.0;
        v += PolyBlep(phase, dt);
        double t2 = phase - width;
        if (t2 < 0) {
            t2 += 1.0;
        }
        v -= PolyBlep(t2, dt);
        Advance(dt);
        return v;
    }
    double Sine(double frequency) {
        const double v = std::sin(kTau * phase);
        Advance(frequency / kSampleRate);
        return v;
    }

private:
    void Advance(double dt) {
        phase += dt;
        phase -= std::floor(phase);
    }
    double phase;
};

inline double NoteFrequency(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

// Exponential decay with time constant tau after a linear attack.
inline double AttackDecay(double t, double attack, double tau) {
    if (t < 0) {
        return 0.0;
    }
    if (t < attack) {
        return t / attack;
    }
    return std::exp(-(t - attack) / tau);
}

// Largest absolute sample value.
inline double Peak(const std::vector<double>& samples) {
    double p = 0.0;
    for (double s : samples) {
        p = std::fmax(p, std::fabs(s));
    }
    return p;
}

// Scales the samples so that their peak is `target`.
inline void Normalize(std::vector<double>& samples, double target) {
    const double p = Peak(samples);
    if (p > 0) {
        for (double& s : samples) {
            s *= target / p;
        }
    }
}

// Short fades at both ends so a sample starts and stops without a click.
inline void FadeEdges(std::vector<double>& samples, int fadeIn, int fadeOut) {
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < fadeIn && i < n; ++i) {
        samples[i] *= static_cast<double>(i) / fadeIn;
    }
    for (int i = 0; i < fadeOut && i < n; ++i) {
        samples[n - 1 - i] *= static_cast<double>(i) / fadeOut;
    }
}

#endif
