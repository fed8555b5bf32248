// Writing one of the generator's files whole, for the writers that build the
// file's bytes in memory first.
#ifndef ZIBO_TOOLS_OUTPUT_FILE_H
#define ZIBO_TOOLS_OUTPUT_FILE_H

#include <string>

// Creates or replaces the file at path with bytes. Returns false, with a line
// on standard error, when the file cannot be opened or written whole.
bool WriteOutputFile(const std::string& path, const std::string& bytes);

#endif
