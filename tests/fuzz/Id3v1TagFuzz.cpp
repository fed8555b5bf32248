// libFuzzer target for the ID3v1 tag parser: any file tail, of any length,
// must parse without touching memory outside it, and every text it yields
// fits its field.
#include "Id3v1Tag.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Id3v1Tag tag{};
    const bool tagged = size >= 128 && memcmp(data + size - 128, "TAG", 3) == 0;
    bool fits =
        ParseId3v1Tag(data, size, tag) == tagged && (!tagged || tag.genre == data[size - 1]);
    for (const std::string* text : {&tag.title, &tag.artist, &tag.album, &tag.comment, &tag.year}) {
        fits = fits && text->size() <= (text == &tag.year ? 4u : 30u) &&
               text->find('\0') == std::string::npos;
    }
    if (!fits) {
        __builtin_trap();
    }
    return 0;
}
