#include "FrameSamples.h"

#include <algorithm>
#include <cmath>

void FrameSamples::add(double milliseconds) {
    samples.push_back(milliseconds);
    totalMs += milliseconds;
}

double FrameSamples::median() const {
    if (samples.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2.0;
}

double FrameSamples::percentile(double share) const {
    if (samples.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const size_t rank = static_cast<size_t>(std::ceil(share * sorted.size()));
    return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}
