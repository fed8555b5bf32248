#include "Music.h"

#include "Angles.h"
#include "Random.h"
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const int kStep = kMusicFramesPerSixteenth;
const int kBar = 16 * kStep;

// The mix bus: two channels that wrap around at the loop's end.
class Bus {
public:
    Bus() : left(kMusicFrames, 0.0), right(kMusicFrames, 0.0) {}
    void Add(long frame, double value, double pan) {
        const long i = ((frame % kMusicFrames) + kMusicFrames) % kMusicFrames;
        // equal-power pan, pan in [-1, 1]
        const double a = (pan + 1.0) * 0.25 * kPi;
        left[i] += value * std::cos(a);
        right[i] += value * std::sin(a);
    }
    std::vector<double> left, right;
};

// --- Drums --------------------------------------------------------------------

void Kick(Bus& bus, long at, double velocity) {
    Oscillator osc;
    const int n = static_cast<int>(0.35 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = 45.0 + 120.0 * std::exp(-t / 0.03);
        double s = osc.Sine(f) * AttackDecay(t, 0.001, 0.16);
        s += (i < 40 ? (1.0 - i / 40.0) * 0.5 : 0.0);  // the beater's click
        bus.Add(at + i, std::tanh(s * 1.5) * velocity, 0.0);
    }
}

void Snare(Bus& bus, long at, double velocity, uint64_t seed) {
    Random rng(seed);
    Biquad band, high;
    band.Set(Biquad::BandPass, 1900, 0.8);
    high.Set(Biquad::HighPass, 5000, 0.7);
    Oscillator body;
    const int n = static_cast<int>(0.3 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double white = rng.Uniform() * 2 - 1;
        double s = band.Process(white) * 1.6 * AttackDecay(t, 0.001, 0.09);
        s += high.Process(white) * 0.5 * AttackDecay(t, 0.001, 0.05);
        s += body.Sine(185.0 + 40 * std::exp(-t / 0.02)) * AttackDecay(t, 0.001, 0.05) * 0.8;
        bus.Add(at + i, s * velocity, 0.05);
    }
}

void HiHat(Bus& bus, long at, double velocity, bool open, uint64_t seed) {
    Random rng(seed);
    Biquad high, band;
    high.Set(Biquad::HighPass, 7000, 0.7);
    band.Set(Biquad::BandPass, 10000, 1.5);
    const double tau = open ? 0.14 : 0.028;
    const int n = static_cast<int>((open ? 0.5 : 0.12) * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double white = rng.Uniform() * 2 - 1;
        const double s =
            (high.Process(white) + band.Process(white) * 0.6) * AttackDecay(t, 0.0005, tau);
        bus.Add(at + i, s * velocity, 0.35);
    }
}

void Crash(Bus& bus, long at, double velocity, uint64_t seed) {
    Random rng(seed);
    Biquad high;
    high.Set(Biquad::HighPass, 4000, 0.6);
    OnePole shimmer;
    shimmer.SetCutoff(9000);
    const int n = static_cast<int>(2.2 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double white = rng.Uniform() * 2 - 1;
        const double s = shimmer.LowPass(high.Process(white)) * AttackDecay(t, 0.002, 0.7);
        bus.Add(at + i, s * velocity * 0.9, -0.3);
        bus.Add(at + i + 331, s * velocity * 0.5, 0.5);  // a little width
    }
}

void Tom(Bus& bus, long at, double velocity, double pitch) {
    Oscillator osc;
    const int n = static_cast<int>(0.4 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = pitch * (1.0 + 0.6 * std::exp(-t / 0.04));
        const double s = osc.Sine(f) * AttackDecay(t, 0.001, 0.18);
        bus.Add(at + i, std::tanh(s * 1.3) * velocity, (pitch - 120) / 200.0);
    }
}

// --- Tonal instruments ----------------------------------------------------------

void Bass(Bus& bus, long at, int steps, int note, double velocity, double brightness) {
    Oscillator saw, sub, saw2(0.37);
    Biquad filter;
    const double f = NoteFrequency(note);
    const int gate = steps * kStep - 400;
    const int n = gate + static_cast<int>(0.05 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            const double cutoff = 180 + brightness * (300 + 2200 * std::exp(-t / 0.07));
            filter.Set(Biquad::LowPass, cutoff, 1.4);
        }
        double s = saw.Saw(f) * 0.6 + saw2.Saw(f * 1.004) * 0.4;
        s = filter.Process(s) + sub.Sine(f * 0.5) * 0.0 + sub.Sine(f) * 0.35;
        double env = AttackDecay(t, 0.003, 0.6);
        if (i > gate) {
            env *= std::exp(-(i - gate) / (0.012 * kSampleRate));
        }
        bus.Add(at + i, std::tanh(s * 1.4) * env * velocity, 0.0);
    }
}

// Vibrato depth over a note: none at first, full after a third of a second.
double DelayedVibrato(double t) {
    return std::min(1.0, std::max(0.0, (t - 0.15) / 0.2));
}

// The lead: a pulse wave with delayed vibrato, and echoes on both sides.
void Lead(Bus& bus, long at, int steps, int note, double velocity, double pan) {
    const double f = NoteFrequency(note);
    const int gate = steps * kStep - 600;
    const int n = gate + static_cast<int>(0.12 * kSampleRate);
    std::vector<double> voice(n);
    Oscillator a, b(0.5), lfo;
    OnePole tone;
    tone.SetCutoff(3800);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double vib = 1.0 + 0.006 * DelayedVibrato(t) * lfo.Sine(5.5);
        const double width = 0.3 + 0.12 * std::sin(t * 2.1);
        double s = a.Pulse(f * vib, width) * 0.6 + b.Saw(f * vib * 1.003) * 0.4;
        s = tone.LowPass(s);
        double env = AttackDecay(t, 0.006, 1.6) * 0.85 + 0.15 * AttackDecay(t, 0.001, 0.05);
        if (i > gate) {
            env *= std::exp(-(i - gate) / (0.04 * kSampleRate));
        }
        voice[i] = s * env * velocity;
    }
    for (int i = 0; i < n; ++i) {
        bus.Add(at + i, voice[i], pan);
        bus.Add(at + i + 3 * kStep, voice[i] * 0.32, -0.7);  // dotted-eighth echoes
        bus.Add(at + i + 6 * kStep, voice[i] * 0.14, 0.7);
    }
}

// Fast arpeggio plucks: a bright saw whose filter snaps shut.
void Pluck(Bus& bus, long at, int note, double velocity, double pan) {
    const double f = NoteFrequency(note);
    Oscillator osc, osc2(0.21);
    Biquad filter;
    const int n = static_cast<int>(0.25 * kSampleRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            filter.Set(Biquad::LowPass, 500 + 5000 * std::exp(-t / 0.035), 2.0);
        }
        const double s = filter.Process(osc.Saw(f) * 0.5 + osc2.Pulse(f * 2.0, 0.5) * 0.2);
        bus.Add(at + i, s * AttackDecay(t, 0.002, 0.09) * velocity, pan);
    }
}

// A soft pad chord: detuned saws, slow swell, warm filter, spread wide.
void Pad(Bus& bus, long at, int steps, const std::vector<int>& notes, double velocity) {
    const int gate = steps * kStep;
    const int n = gate + static_cast<int>(0.4 * kSampleRate);
    for (size_t v = 0; v < notes.size(); ++v) {
        for (int side = -1; side <= 1; side += 2) {
            Oscillator osc(0.13 * v + 0.31 * (side + 1));
            OnePole warm, warm2;
            warm.SetCutoff(1400);
            warm2.SetCutoff(1400);
            const double f = NoteFrequency(notes[v]) * (1.0 + side * 0.0035);
            for (int i = 0; i < n; ++i) {
                const double t = static_cast<double>(i) / kSampleRate;
                double env = std::min(1.0, t / 0.25);
                if (i > gate) {
                    env *= std::exp(-(i - gate) / (0.15 * kSampleRate));
                }
                const double s = warm2.LowPass(warm.LowPass(osc.Saw(f)));
                bus.Add(at + i, s * env * velocity / notes.size(), side * 0.7);
            }
        }
    }
}

// --- Harmony -------------------------------------------------------------------

struct Chord {
    int root;  // MIDI note of the root in the bass octave
    bool minor;
};

const int kA = 45, kC = 48, kD = 50, kE = 52, kF = 41, kG = 43;

// One chord per bar.
const Chord kProgression[kMusicBars] = {
    // intro
    {kA, true},
    {kA, true},
    {kF, false},
    {kG, false},
    // A
    {kA, true},
    {kF, false},
    {kC, false},
    {kG, false},
    {kA, true},
    {kF, false},
    {kG, false},
    {kE, false},
    // B
    {kD, true},
    {kA, true},
    {kD, true},
    {kA, true},
    {kF, false},
    {kG, false},
    {kE, false},
    {kE, false},
    // A'
    {kA, true},
    {kF, false},
    {kC, false},
    {kG, false},
    {kA, true},
    {kF, false},
    {kG, false},
    {kE, false},
    // turnaround
    {kF, false},
    {kG, false},
    {kE, false},
    {kE, false},
};

std::vector<int> ChordTones(const Chord& c) {
    return {c.root % 12, (c.root + (c.minor ? 3 : 4)) % 12, (c.root + 7) % 12};
}

// A harmonic minor over E major chords (G sharp), natural minor elsewhere.
bool InScale(int note, const Chord& c) {
    static const int natural[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    const int pc = note % 12;
    const bool dominant = c.root % 12 == 4 && !c.minor;
    for (int s : natural) {
        if (s == pc && !(dominant && pc == 7)) {
            return true;
        }
    }
    return dominant && pc == 8;
}

bool IsChordTone(int note, const Chord& c) {
    for (int t : ChordTones(c)) {
        if (t == note % 12) {
            return true;
        }
    }
    return false;
}

int NearestChordTone(int from, const Chord& c, Random& rng, int low, int high) {
    int best = from, bestDistance = 1000;
    for (int n = low; n <= high; ++n) {
        if (!IsChordTone(n, c)) {
            continue;
        }
        // a small random preference between equally near tones
        const int d = std::abs(n - from) * 4 + rng.Below(3);
        if (d < bestDistance) {
            bestDistance = d;
            best = n;
        }
    }
    return best;
}

int ScaleStep(int from, int steps, const Chord& c) {
    int n = from;
    const int dir = steps > 0 ? 1 : -1;
    for (int k = 0; k < std::abs(steps); ++k) {
        do {
            n += dir;
        } while (!InScale(n, c));
    }
    return n;
}

struct Note {
    int start;   // in sixteenths from the phrase's start
    int length;  // in sixteenths
    int pitch;
};

// Two bars of melody: chord tones on the beats, steps of the scale between.
std::vector<Note> Motif(const std::vector<std::pair<int, int>>& rhythm, int firstBar,
                        int startPitch, Random& rng, int low, int high) {
    std::vector<Note> notes;
    int pitch = startPitch;
    for (const auto& r : rhythm) {
        const Chord& chord = kProgression[firstBar + r.first / 16];
        const bool strong = r.first % 4 == 0;
        if (strong || r.second >= 4) {
            pitch = NearestChordTone(pitch + (rng.Below(5) - 2), chord, rng, low, high);
        } else {
            int step = rng.Below(2) == 0 ? 1 : 2;
            if (rng.Below(2) == 0) {
                step = -step;
            }
            if (pitch + step * 2 > high) {
                step = -std::abs(step);
            }
            if (pitch + step * 2 < low) {
                step = std::abs(step);
            }
            pitch = ScaleStep(pitch, step, chord);
        }
        notes.push_back(Note{r.first, r.second, pitch});
    }
    return notes;
}

// Moves a motif onto other chords, keeping its rhythm and contour, each note
// pulled to the nearest fitting tone.
std::vector<Note> Sequence(const std::vector<Note>& motif, int firstBar, int shift, Random& rng) {
    std::vector<Note> out;
    for (const Note& n : motif) {
        const Chord& chord = kProgression[firstBar + n.start / 16];
        int p = n.pitch + shift;
        const bool strong = n.start % 4 == 0 || n.length >= 4;
        if (strong) {
            p = NearestChordTone(p, chord, rng, p - 4, p + 4);
        } else {
            while (!InScale(p, chord)) {
                ++p;
            }
        }
        out.push_back(Note{n.start, n.length, p});
    }
    return out;
}

void PlayMelody(Bus& bus, const std::vector<Note>& notes, int bar, int transpose, double velocity,
                double pan) {
    for (const Note& n : notes) {
        Lead(bus, static_cast<long>(bar) * kBar + static_cast<long>(n.start) * kStep, n.length,
             n.pitch + transpose, velocity, pan);
    }
}

}  // namespace

StereoLoop ComposeMusic() {
    Bus bus;
    Random rng(0x21B0);

    // --- the melody of the A section (8 bars), made once, played twice -------
    const std::vector<std::pair<int, int>> rhythmA = {{0, 3},  {3, 3},  {6, 2},  {8, 4},
                                                      {12, 2}, {14, 2}, {16, 2}, {18, 2},
                                                      {20, 2}, {22, 2}, {24, 6}, {30, 2}};
    const std::vector<std::pair<int, int>> cadence = {{0, 2}, {2, 2},  {4, 2},  {6, 2},
                                                      {8, 4}, {12, 4}, {16, 12}};
    const int low = 69, high = 84;                                               // A4 .. C6
    std::vector<Note> a1 = Motif(rhythmA, 4, 76, rng, low, high);                // bars 4-5
    std::vector<Note> a2 = Sequence(a1, 6, 2, rng);                              // bars 6-7
    std::vector<Note> a3 = a1;                                                   // bars 8-9
    std::vector<Note> a4 = Motif(cadence, 10, a1.back().pitch, rng, low, high);  // bars 10-11
    // end the phrase on the E chord's G sharp or B, held
    a4.back().pitch = NearestChordTone(a4.back().pitch, kProgression[11], rng, low, high);

    // the B section's slow counter-melody: one long note per bar, third or fifth
    std::vector<Note> counter;
    int cp = 72;
    for (int b = 0; b < 8; ++b) {
        const Chord& chord = kProgression[12 + b];
        cp = NearestChordTone(cp + (b % 2 == 0 ? 2 : -1), chord, rng, 67, 79);
        counter.push_back(Note{b * 16, 10, cp});
        counter.push_back(Note{b * 16 + 10, 6, ScaleStep(cp, b % 2 == 0 ? 1 : -1, chord)});
    }

    for (int bar = 0; bar < kMusicBars; ++bar) {
        const long at = static_cast<long>(bar) * kBar;
        const Chord& chord = kProgression[bar];
        const bool intro = bar < 4;
        const bool sectionB = bar >= 12 && bar < 20;
        const bool turnaround = bar >= 28;
        const bool fillBar = bar == 11 || bar == 19 || bar == 27 || bar == 31;
        const uint64_t seed = 0xD000 + bar * 64;

        // drums
        if (bar == 0 || bar == 4 || bar == 12 || bar == 20 || bar == 28) {
            Crash(bus, at, 0.5, seed + 1);
        }
        for (int s = 0; s < 16; ++s) {
            const long t = at + static_cast<long>(s) * kStep;
            const bool lastBeat = s >= 12;
            if (fillBar && lastBeat && bar != 31) {
                Snare(bus, t, 0.35 + 0.1 * (s - 12), seed + 10 + s);
                continue;
            }
            if (bar == 31 && s >= 8) {
                const double toms[8] = {220, 220, 180, 180, 140, 140, 110, 95};
                Tom(bus, t, 0.55, toms[s - 8]);
                if (s % 2 == 0) {
                    Kick(bus, t, 0.6);
                }
                continue;
            }
            if (intro && bar < 2) {
                if (s % 4 == 0) {
                    Kick(bus, t, 0.85);
                }
                if (bar == 1 && s % 2 == 0) {
                    HiHat(bus, t, s % 4 == 2 ? 0.18 : 0.08, false, seed + s);
                }
                continue;
            }
            if (sectionB) {
                // half-time: kick on 1 and the "and" of 2, snare on 3
                if (s == 0 || s == 6 || s == 10) {
                    Kick(bus, t, 0.9);
                }
                if (s == 8) {
                    Snare(bus, t, 0.6, seed + s);
                }
                HiHat(bus, t, s % 2 == 0 ? 0.16 : 0.07, s == 14, seed + 100 + s);
                continue;
            }
            // the main beat
            if (s == 0 || s == 8 || s == 10 || (s == 6 && !intro)) {
                Kick(bus, t, 0.95);
            }
            if ((s == 4 || s == 12) && (bar >= 3 || s == 12)) {
                Snare(bus, t, 0.62, seed + s);
            }
            if (s % 2 == 0) {
                HiHat(bus, t, s % 4 == 2 ? 0.2 : 0.11, turnaround && s == 14, seed + 100 + s);
            } else if (!intro) {
                HiHat(bus, t, 0.05, false, seed + 200 + s);
            }
        }

        // bass
        const double bright = intro ? 0.3 + 0.2 * bar : (sectionB ? 0.7 : 1.0);
        if (sectionB) {
            const int pattern[4][3] = {{0, 6, 0}, {6, 2, 0}, {8, 6, 0}, {14, 2, 12}};
            for (const auto& p : pattern) {
                Bass(bus, at + static_cast<long>(p[0]) * kStep, p[1], chord.root + p[2], 0.5,
                     bright);
            }
        } else {
            const int pattern[8][3] = {{0, 3, 0}, {3, 1, 12},  {4, 2, 0},  {6, 2, 0},
                                       {8, 3, 0}, {11, 1, 12}, {12, 2, 0}, {14, 2, 7}};
            for (const auto& p : pattern) {
                Bass(bus, at + static_cast<long>(p[0]) * kStep, p[1], chord.root + p[2], 0.5,
                     bright);
            }
        }

        // pad: the chord in the middle register
        {
            std::vector<int> pad;
            for (int t : ChordTones(chord)) {
                int n = 57 + ((t - 57) % 12 + 12) % 12;  // A3 and up
                pad.push_back(n);
            }
            Pad(bus, at, 16, pad, intro ? 0.22 : 0.16);
        }

        // arpeggios in the B section and under the second A section
        if (sectionB || (bar >= 20 && bar < 28)) {
            std::vector<int> tones;
            for (int octave = 0; octave < 2; ++octave) {
                for (int t : ChordTones(chord)) {
                    tones.push_back(69 + ((t - 69) % 12 + 12) % 12 + 12 * octave);
                }
            }
            std::sort(tones.begin(), tones.end());
            const int order[16] = {0, 1, 2, 3, 4, 5, 4, 3, 1, 2, 3, 4, 5, 4, 3, 2};
            for (int s = 0; s < 16; ++s) {
                Pluck(bus, at + static_cast<long>(s) * kStep, tones[order[s]],
                      sectionB ? 0.16 : 0.09, s % 2 == 0 ? -0.45 : 0.45);
            }
        }
    }

    // the lead: the A melody, its repeat an octave up with a harmony below,
    // and the counter-melody in B
    PlayMelody(bus, a1, 4, 0, 0.3, 0.0);
    PlayMelody(bus, a2, 6, 0, 0.3, 0.0);
    PlayMelody(bus, a3, 8, 0, 0.3, 0.0);
    PlayMelody(bus, a4, 10, 0, 0.3, 0.0);
    PlayMelody(bus, counter, 12, 0, 0.2, 0.2);
    PlayMelody(bus, a1, 20, 12, 0.24, 0.1);
    PlayMelody(bus, a2, 22, 12, 0.24, 0.1);
    PlayMelody(bus, a3, 24, 12, 0.24, 0.1);
    PlayMelody(bus, a4, 26, 12, 0.24, 0.1);
    PlayMelody(bus, a1, 20, 0, 0.13, -0.3);
    PlayMelody(bus, a2, 22, 0, 0.13, -0.3);
    PlayMelody(bus, a3, 24, 0, 0.13, -0.3);
    PlayMelody(bus, a4, 26, 0, 0.13, -0.3);

    // master: a gentle saturating limiter, then the level
    StereoLoop out;
    out.left.resize(kMusicFrames);
    out.right.resize(kMusicFrames);
    double peak = 0.0;
    for (int i = 0; i < kMusicFrames; ++i) {
        bus.left[i] = std::tanh(bus.left[i] * 0.9);
        bus.right[i] = std::tanh(bus.right[i] * 0.9);
        peak = std::max(peak, std::max(std::fabs(bus.left[i]), std::fabs(bus.right[i])));
    }
    // peaks at -6 dBFS: the game plays the music at the mixer's full volume
    // under the effects, which then stand out above it
    const double gain = peak > 0 ? 0.5 / peak : 1.0;
    for (int i = 0; i < kMusicFrames; ++i) {
        out.left[i] = static_cast<float>(bus.left[i] * gain);
        out.right[i] = static_cast<float>(bus.right[i] * gain);
    }
    return out;
}
