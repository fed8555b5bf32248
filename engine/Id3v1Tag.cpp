#include "Id3v1Tag.h"

#include <cstdio>
#include <cstring>

namespace {

// A fixed-width field holds its text up to the first zero byte, or fills the
// whole width without one. Blanks are part of the text: taggers pad with them.
std::string ReadTextField(const uint8_t* block, Id3v1Field field) {
    const char* text = reinterpret_cast<const char*>(block + field.offset);
    const void* zero = memchr(text, 0, field.width);
    const size_t length = zero != nullptr ? static_cast<const char*>(zero) - text : field.width;
    return std::string(text, length);
}

}  // namespace

bool ParseId3v1Tag(const uint8_t* data, size_t size, Id3v1Tag& tag) {
    if (data == nullptr || size < kId3v1TagSize) {
        return false;
    }
    const uint8_t* block = data + (size - kId3v1TagSize);
    if (memcmp(block, kId3v1Marker, kId3v1MarkerSize) != 0) {
        return false;
    }
    tag.title = ReadTextField(block, kId3v1Title);
    tag.artist = ReadTextField(block, kId3v1Artist);
    tag.album = ReadTextField(block, kId3v1Album);
    tag.year = ReadTextField(block, kId3v1Year);
    tag.comment = ReadTextField(block, kId3v1Comment);
    tag.genre = block[kId3v1GenreOffset];
    return true;
}

Id3v1Tag* ReadId3v1Tag(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        fprintf(stderr, "Can't open %s\n", path);
        return nullptr;
    }
    // A file shorter than the block fails the seek, and one that cannot be
    // read fails the read; both count as untagged rather than reading
    // whatever lies at the start of the file.
    uint8_t block[kId3v1TagSize];
    const bool haveBlock = fseek(file, -static_cast<long>(kId3v1TagSize), SEEK_END) == 0 &&
                           fread(block, 1, sizeof(block), file) == sizeof(block);
    fclose(file);

    Id3v1Tag parsed;
    if (!haveBlock || !ParseId3v1Tag(block, sizeof(block), parsed)) {
        fprintf(stderr, "This file does not contain ID3v1 information\n");
        return nullptr;
    }
    return new Id3v1Tag(parsed);
}
