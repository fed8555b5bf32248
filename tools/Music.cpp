#include "Music.h"

#include "Angles.h"
#include "Random.h"
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The loop's time: 140 beats a minute, four beats a bar, counted in
// sixteenths of a whole number of frames each.
const int kBeatsPerMinute = 140;
const int kStepsPerBeat = 4;
const int kStepsPerBar = 4 * kStepsPerBeat;
const int kStep = kSampleRate * 60 / (kBeatsPerMinute * kStepsPerBeat);  // in frames
const int kBar = kStepsPerBar * kStep;

// The frame on which sixteenth `step` of bar `bar` starts; steps may run on
// past the bar.
long FrameAt(int bar, int step) {
    return static_cast<long>(bar) * kBar + static_cast<long>(step) * kStep;
}

// The mix bus: two channels that wrap around at the loop's end.
class Bus {
public:
    explicit Bus(int frames) : left(frames, 0.0), right(frames, 0.0) {}
    void Add(long frame, double value, double pan) {
        const long frames = static_cast<long>(left.size());
        const long i = ((frame % frames) + frames) % frames;
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
    Oscillator saw, fifth, saw2(0.37);
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
        // The sine under the saws is stepped twice a sample, by half the root
        // and then by the root, so it sounds a fifth above the root (1.5 f).
        // One step of 1.5 f would round its phase otherwise and change the
        // music's bytes, so it keeps its two.
        fifth.Sine(f * 0.5);
        s = filter.Process(s) + fifth.Sine(f) * 0.35;
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

const Chord kAm{45, true}, kC{48, false}, kDm{50, true}, kE{52, false}, kF{41, false},
    kG{43, false};

// The lowest note of a pitch class (0 to 11) at or above `lowest`.
int AtOrAbove(int pitchClass, int lowest) {
    return lowest + ((pitchClass - lowest) % 12 + 12) % 12;
}

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

// --- Melody --------------------------------------------------------------------

struct Note {
    int start;   // in sixteenths from the phrase's start
    int length;  // in sixteenths
    int pitch;
};

struct RhythmNote {
    int start;   // in sixteenths from the phrase's start
    int length;  // in sixteenths
};

// A melody note on a beat or held for a beat or more sounds a chord tone.
bool WantsChordTone(int start, int length) {
    return start % kStepsPerBeat == 0 || length >= kStepsPerBeat;
}

// Two bars of melody over chords[firstBar] and the next: chord tones where
// they are wanted, steps of the scale between.
std::vector<Note> Motif(const std::vector<RhythmNote>& rhythm, const std::vector<Chord>& chords,
                        int firstBar, int startPitch, Random& rng, int low, int high) {
    std::vector<Note> notes;
    int pitch = startPitch;
    for (const RhythmNote& r : rhythm) {
        const Chord& chord = chords[firstBar + r.start / kStepsPerBar];
        if (WantsChordTone(r.start, r.length)) {
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
        notes.push_back(Note{r.start, r.length, pitch});
    }
    return notes;
}

// Moves a motif onto chords[firstBar] and the next, keeping its rhythm and
// contour, each note pulled to the nearest fitting tone.
std::vector<Note> Sequence(const std::vector<Note>& motif, const std::vector<Chord>& chords,
                           int firstBar, int shift, Random& rng) {
    std::vector<Note> out;
    for (const Note& n : motif) {
        const Chord& chord = chords[firstBar + n.start / kStepsPerBar];
        int p = n.pitch + shift;
        if (WantsChordTone(n.start, n.length)) {
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

// Adds a phrase to a melody, the phrase starting at the melody's bar `bar`.
void AppendPhrase(std::vector<Note>& melody, const std::vector<Note>& phrase, int bar) {
    for (const Note& n : phrase) {
        melody.push_back(Note{bar * kStepsPerBar + n.start, n.length, n.pitch});
    }
}

// --- The form --------------------------------------------------------------------

// The chords of each part of the loop, one a bar.
const std::vector<Chord> kIntroChords = {kAm, kAm, kF, kG};
const std::vector<Chord> kThemeChords = {kAm, kF, kC, kG, kAm, kF, kG, kE};
const std::vector<Chord> kBreakdownChords = {kDm, kAm, kDm, kAm, kF, kG, kE, kE};
const std::vector<Chord> kTurnaroundChords = {kF, kG, kE, kE};

// The theme's eight bars over its chords: a two-bar motif, the motif moved
// onto the next two chords, the motif again, and a cadence that ends on a
// tone of the last chord, the E chord's G sharp or B, held.
std::vector<Note> ThemeMelody(Random& rng) {
    const std::vector<RhythmNote> motifRhythm = {{0, 3},  {3, 3},  {6, 2},  {8, 4},
                                                 {12, 2}, {14, 2}, {16, 2}, {18, 2},
                                                 {20, 2}, {22, 2}, {24, 6}, {30, 2}};
    const std::vector<RhythmNote> cadenceRhythm = {{0, 2}, {2, 2},  {4, 2},  {6, 2},
                                                   {8, 4}, {12, 4}, {16, 12}};
    const int low = 69, high = 84;  // A4 .. C6
    const std::vector<Note> motif = Motif(motifRhythm, kThemeChords, 0, 76, rng, low, high);
    const std::vector<Note> answer = Sequence(motif, kThemeChords, 2, 2, rng);
    std::vector<Note> cadence =
        Motif(cadenceRhythm, kThemeChords, 6, motif.back().pitch, rng, low, high);
    cadence.back().pitch =
        NearestChordTone(cadence.back().pitch, kThemeChords.back(), rng, low, high);

    std::vector<Note> melody;
    AppendPhrase(melody, motif, 0);
    AppendPhrase(melody, answer, 2);
    AppendPhrase(melody, motif, 4);
    AppendPhrase(melody, cadence, 6);
    return melody;
}

// The breakdown's slow counter-melody: in each bar a held tone of the bar's
// chord, then a step of the scale, up in even bars and down in odd ones.
std::vector<Note> CounterMelody(Random& rng) {
    const int low = 67, high = 79;  // G4 .. G5
    const int held = 10;            // sixteenths, the step takes the rest of the bar
    std::vector<Note> notes;
    int pitch = 72;
    for (int bar = 0; bar < static_cast<int>(kBreakdownChords.size()); ++bar) {
        const Chord& chord = kBreakdownChords[bar];
        const bool even = bar % 2 == 0;
        const int start = bar * kStepsPerBar;
        pitch = NearestChordTone(pitch + (even ? 2 : -1), chord, rng, low, high);
        notes.push_back(Note{start, held, pitch});
        notes.push_back(
            Note{start + held, kStepsPerBar - held, ScaleStep(pitch, even ? 1 : -1, chord)});
    }
    return notes;
}

enum Melody { kThemeMelody, kCounterMelody };

// What the drums play through a section.
enum Groove {
    kBuildUp,      // the intro's: the kick alone, then hats, then a thin beat
    kBeat,         // the snare on 2 and 4, hats on the eighths and softly between
    kBeatOpenHat,  // the same, the bar's last eighth hat left open
    kHalfTime,     // the snare on 3 only, hats on every sixteenth, the last eighth open
};

// What the drums play over the end of a section's last bar, into the next.
enum Fill {
    kNoFill,
    kSnareFill,  // sixteenths, louder and louder over the last beat
    kTomFill,    // falling over the last two beats, a kick on each eighth
};

// A bass note: start and length in sixteenths, and its interval above the
// chord's root in semitones.
struct BassNote {
    int start, length, interval;
};

// Eighths and sixteenths with octave jumps, a fifth to lead on.
const std::vector<BassNote> kDrivingBass = {{0, 3, 0}, {3, 1, 12},  {4, 2, 0},  {6, 2, 0},
                                            {8, 3, 0}, {11, 1, 12}, {12, 2, 0}, {14, 2, 7}};
const std::vector<BassNote> kHalfTimeBass = {{0, 6, 0}, {6, 2, 0}, {8, 6, 0}, {14, 2, 12}};

struct BassPart {
    const std::vector<BassNote>& line;  // played in every bar
    double brightness;                  // of its filter, 0 to 1, in the first bar
    double brightening;                 // added in each bar after that
};

const double kNoArpeggio = 0.0;

struct LeadPart {
    Melody melody;  // starting on the section's first bar
    int transpose;  // in semitones
    double velocity, pan;
};

const std::vector<LeadPart> kNoLead = {};
const std::vector<LeadPart> kThemeLead = {{kThemeMelody, 0, 0.3, 0.0}};
const std::vector<LeadPart> kCounterLead = {{kCounterMelody, 0, 0.2, 0.2}};
// the theme an octave up, and at its own pitch, softer, as a harmony below
const std::vector<LeadPart> kThemeAgainLead = {{kThemeMelody, 12, 0.24, 0.1},
                                               {kThemeMelody, 0, 0.13, -0.3}};

// A part of the loop and what each instrument plays in it. Every section
// starts with a crash, and the pad holds its chords.
struct Section {
    const std::vector<Chord>& chords;  // one a bar: the section's length
    Groove groove;
    Fill fill;  // on its last bar
    BassPart bass;
    double padVelocity;
    double arpeggioVelocity;  // kNoArpeggio: none
    const std::vector<LeadPart>& lead;
};

const Section kForm[] = {
    // intro: the drums come in and the bass opens up under a louder pad
    {kIntroChords, kBuildUp, kNoFill, {kDrivingBass, 0.3, 0.2}, 0.22, kNoArpeggio, kNoLead},
    // theme
    {kThemeChords, kBeat, kSnareFill, {kDrivingBass, 1, 0}, 0.16, kNoArpeggio, kThemeLead},
    // breakdown: half time, arpeggios and the counter-melody
    {kBreakdownChords, kHalfTime, kSnareFill, {kHalfTimeBass, 0.7, 0}, 0.16, 0.16, kCounterLead},
    // the theme again, over softer arpeggios
    {kThemeChords, kBeat, kSnareFill, {kDrivingBass, 1, 0}, 0.16, 0.09, kThemeAgainLead},
    // turnaround: the toms fall back into the loop's start
    {kTurnaroundChords, kBeatOpenHat, kTomFill, {kDrivingBass, 1, 0}, 0.16, kNoArpeggio, kNoLead},
};

int LoopBars() {
    int bars = 0;
    for (const Section& section : kForm) {
        bars += static_cast<int>(section.chords.size());
    }
    return bars;
}

// --- The instruments' parts, bar by bar ------------------------------------------

// The main beat at one step. A thin beat leaves out the kick on the "and" of
// 2 and the soft sixteenth hats.
struct Beat {
    bool thin;
    bool snareOnTwo;  // as well as on 4
    bool openHat;     // on the bar's last eighth
};

void BeatStep(Bus& bus, const Beat& beat, int s, long t, uint64_t seed) {
    if (s == 0 || s == 8 || s == 10 || (s == 6 && !beat.thin)) {
        Kick(bus, t, 0.95);
    }
    if ((s == 4 && beat.snareOnTwo) || s == 12) {
        Snare(bus, t, 0.62, seed + s);
    }
    if (s % 2 == 0) {
        HiHat(bus, t, s % 4 == 2 ? 0.2 : 0.11, beat.openHat && s == 14, seed + 100 + s);
    } else if (!beat.thin) {
        HiHat(bus, t, 0.05, false, seed + 200 + s);
    }
}

// The intro's drums by its bar: kicks on the beats, then soft eighth hats over
// them, then the thin beat with the snare on 4 only, then on 2 and 4.
void BuildUpStep(Bus& bus, int barInSection, int s, long t, uint64_t seed) {
    const int hatsFrom = 1, beatFrom = 2, backbeatFrom = 3;
    if (barInSection < beatFrom) {
        if (s % 4 == 0) {
            Kick(bus, t, 0.85);
        }
        if (barInSection >= hatsFrom && s % 2 == 0) {
            HiHat(bus, t, s % 4 == 2 ? 0.18 : 0.08, false, seed + s);
        }
        return;
    }
    BeatStep(bus, Beat{true, barInSection >= backbeatFrom, false}, s, t, seed);
}

// Kicks on 1 and on the "and" of 2 and of 3, the snare on 3.
void HalfTimeStep(Bus& bus, int s, long t, uint64_t seed) {
    if (s == 0 || s == 6 || s == 10) {
        Kick(bus, t, 0.9);
    }
    if (s == 8) {
        Snare(bus, t, 0.6, seed + s);
    }
    HiHat(bus, t, s % 2 == 0 ? 0.16 : 0.07, s == 14, seed + 100 + s);
}

// Plays the fill's step and returns true, or returns false where the fill has
// not yet begun.
bool FillStep(Bus& bus, Fill fill, int s, long t, uint64_t seed) {
    const int snareFrom = 12, tomsFrom = 8;
    if (fill == kSnareFill && s >= snareFrom) {
        Snare(bus, t, 0.35 + 0.1 * (s - snareFrom), seed + 10 + s);
        return true;
    }
    if (fill == kTomFill && s >= tomsFrom) {
        const double pitches[kStepsPerBar - tomsFrom] = {220, 220, 180, 180, 140, 140, 110, 95};
        Tom(bus, t, 0.55, pitches[s - tomsFrom]);
        if (s % 2 == 0) {
            Kick(bus, t, 0.6);
        }
        return true;
    }
    return false;
}

// Each drum's noise is seeded by the bar and step it plays on.
void PlayDrums(Bus& bus, const Section& section, int barInSection, int bar) {
    const uint64_t seed = 0xD000 + bar * 64;
    const bool lastBar = barInSection + 1 == static_cast<int>(section.chords.size());
    if (barInSection == 0) {
        Crash(bus, FrameAt(bar, 0), 0.5, seed + 1);
    }
    for (int s = 0; s < kStepsPerBar; ++s) {
        const long t = FrameAt(bar, s);
        if (lastBar && FillStep(bus, section.fill, s, t, seed)) {
            continue;
        }
        switch (section.groove) {
            case kBuildUp:
                BuildUpStep(bus, barInSection, s, t, seed);
                break;
            case kBeat:
                BeatStep(bus, Beat{false, true, false}, s, t, seed);
                break;
            case kBeatOpenHat:
                BeatStep(bus, Beat{false, true, true}, s, t, seed);
                break;
            case kHalfTime:
                HalfTimeStep(bus, s, t, seed);
                break;
        }
    }
}

void PlayBass(Bus& bus, const BassPart& part, const Chord& chord, int barInSection, int bar) {
    const double brightness = part.brightness + part.brightening * barInSection;
    for (const BassNote& n : part.line) {
        Bass(bus, FrameAt(bar, n.start), n.length, chord.root + n.interval, 0.5, brightness);
    }
}

// The chord held through the bar in the middle register, from A3 up.
void PlayPad(Bus& bus, const Chord& chord, double velocity, int bar) {
    std::vector<int> notes;
    for (int t : ChordTones(chord)) {
        notes.push_back(AtOrAbove(t, 57));
    }
    Pad(bus, FrameAt(bar, 0), kStepsPerBar, notes, velocity);
}

// Sixteenths up and down the chord's tones over two octaves from A4, panned
// left and right in turn.
void PlayArpeggio(Bus& bus, const Chord& chord, double velocity, int bar) {
    std::vector<int> tones;
    for (int octave = 0; octave < 2; ++octave) {
        for (int t : ChordTones(chord)) {
            tones.push_back(AtOrAbove(t, 69) + 12 * octave);
        }
    }
    std::sort(tones.begin(), tones.end());
    const int order[kStepsPerBar] = {0, 1, 2, 3, 4, 5, 4, 3, 1, 2, 3, 4, 5, 4, 3, 2};
    for (int s = 0; s < kStepsPerBar; ++s) {
        Pluck(bus, FrameAt(bar, s), tones[order[s]], velocity, s % 2 == 0 ? -0.45 : 0.45);
    }
}

void PlayLead(Bus& bus, const std::vector<Note>& melody, const LeadPart& part, int bar) {
    for (const Note& n : melody) {
        Lead(bus, FrameAt(bar, n.start), n.length, n.pitch + part.transpose, part.velocity,
             part.pan);
    }
}

// A gentle saturating limiter, then the level: peaks at -6 dBFS, because the
// game plays the music at the mixer's full volume under the effects, which
// then stand out above it.
StereoLoop Master(Bus& bus) {
    const size_t frames = bus.left.size();
    double peak = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        bus.left[i] = std::tanh(bus.left[i] * 0.9);
        bus.right[i] = std::tanh(bus.right[i] * 0.9);
        peak = std::max(peak, std::max(std::fabs(bus.left[i]), std::fabs(bus.right[i])));
    }
    const double gain = peak > 0 ? 0.5 / peak : 1.0;
    StereoLoop out;
    out.left.resize(frames);
    out.right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        out.left[i] = static_cast<float>(bus.left[i] * gain);
        out.right[i] = static_cast<float>(bus.right[i] * gain);
    }
    return out;
}

}  // namespace

StereoLoop ComposeMusic() {
    // The melodies draw from one seeded generator, in this order; the drums
    // seed their own.
    Random rng(0x21B0);
    const std::vector<Note> theme = ThemeMelody(rng);
    const std::vector<Note> counter = CounterMelody(rng);

    // Bar by bar, the accompaniment; then the lead over all of it. The order
    // in which the parts are added to the bus is part of the music's bytes.
    Bus bus(LoopBars() * kBar);
    int bar = 0;
    for (const Section& section : kForm) {
        for (int i = 0; i < static_cast<int>(section.chords.size()); ++i, ++bar) {
            const Chord& chord = section.chords[i];
            PlayDrums(bus, section, i, bar);
            PlayBass(bus, section.bass, chord, i, bar);
            PlayPad(bus, chord, section.padVelocity, bar);
            if (section.arpeggioVelocity != kNoArpeggio) {
                PlayArpeggio(bus, chord, section.arpeggioVelocity, bar);
            }
        }
    }
    bar = 0;
    for (const Section& section : kForm) {
        for (const LeadPart& part : section.lead) {
            PlayLead(bus, part.melody == kThemeMelody ? theme : counter, part, bar);
        }
        bar += static_cast<int>(section.chords.size());
    }
    return Master(bus);
}
