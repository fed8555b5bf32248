// Per-frame times of one measurement, in milliseconds, and their summary.
#ifndef ZIBO_BENCH_FRAME_SAMPLES_H
#define ZIBO_BENCH_FRAME_SAMPLES_H

#include <cstddef>
#include <vector>

class FrameSamples {
public:
    void add(double milliseconds);
    size_t count() const { return samples.size(); }
    double totalSeconds() const { return totalMs / 1000.0; }
    double median() const;
    // Nearest rank: the smallest sample at or above the given share of all.
    double percentile(double share) const;

private:
    std::vector<double> samples;
    double totalMs = 0.0;
};

#endif
