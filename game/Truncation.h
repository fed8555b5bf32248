// Whole numbers from floats for every input: C++ leaves the conversion of
// NaN, or of a value beyond the target type's range, undefined.
#ifndef ZIBO_TRUNCATION_H
#define ZIBO_TRUNCATION_H

#include <cmath>
#include <cstdint>

// 2^31, the least float above every int32.
const float kInt32Bound = 2147483648.0f;

// Drops the fraction (towards zero) of a value smaller in size than limit,
// which is at most kInt32Bound; false, storing nothing, for any other value
// and for NaN.
inline bool TruncateBelow(float value, float limit, int32_t* truncated) {
    if (!(std::fabs(value) < limit)) {
        return false;
    }
    *truncated = static_cast<int32_t>(value);
    return true;
}

#endif
