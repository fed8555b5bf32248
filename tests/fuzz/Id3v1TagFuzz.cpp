// libFuzzer target for the ID3v1 tag parser: any file tail, of any length,
// must parse without touching memory outside it, and every text it yields
// fits its field.
#include "Id3v1Tag.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kTextFieldSize = 30;
const size_t kYearSize = 4;

void Check(bool condition) {
    if (!condition) {
        abort();
    }
}

bool FitsField(const std::string& text, size_t width) {
    return text.size() <= width && text.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Id3v1Tag tag;
    tag.genre = 0;
    const bool parsed = ParseId3v1Tag(data, size, tag);
    const bool tagged = size >= kId3v1TagSize && memcmp(data + size - kId3v1TagSize, "TAG", 3) == 0;
    Check(parsed == tagged);
    if (parsed) {
        Check(FitsField(tag.title, kTextFieldSize));
        Check(FitsField(tag.artist, kTextFieldSize));
        Check(FitsField(tag.album, kTextFieldSize));
        Check(FitsField(tag.year, kYearSize));
        Check(FitsField(tag.comment, kTextFieldSize));
        Check(tag.genre == data[size - 1]);
    }
    return 0;
}
