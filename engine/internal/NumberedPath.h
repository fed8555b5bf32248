// Paths of numbered asset files ("%s/%i.png" and the like) in fixed buffers.
#ifndef CINDERMILL_NUMBERED_PATH_H
#define CINDERMILL_NUMBERED_PATH_H

#include <cstddef>

// Writes "directory/number.extension" into out. Returns false when the path
// does not fit in size characters, terminator included; out then holds as much
// of it as fits, still terminated, and the caller treats the load as failed.
bool FormatNumberedPath(char* out, size_t size, const char* directory, int number,
                        const char* extension);

#endif
