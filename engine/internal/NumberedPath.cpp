#include "NumberedPath.h"

#include <cstdio>

bool FormatNumberedPath(char* out, size_t size, const char* directory, int number,
                        const char* extension) {
    const int written = snprintf(out, size, "%s/%i.%s", directory, number, extension);
    return written >= 0 && static_cast<size_t>(written) < size;
}
