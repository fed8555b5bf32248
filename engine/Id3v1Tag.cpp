#include "Id3v1Tag.h"

#include <cstdio>
#include <cstring>

namespace {

const char kTagMarker[] = "TAG";
const size_t kMarkerSize = 3;
const size_t kTitleOffset = 3;
const size_t kArtistOffset = 33;
const size_t kAlbumOffset = 63;
const size_t kYearOffset = 93;
const size_t kCommentOffset = 97;
const size_t kGenreOffset = 127;
const size_t kTextFieldSize = 30;
const size_t kYearSize = 4;

// A fixed-width field holds its text up to the first zero byte, or fills the
// whole width without one. Blanks are part of the text: taggers pad with them.
std::string ReadTextField(const uint8_t* block, size_t offset, size_t width) {
    const char* field = reinterpret_cast<const char*>(block + offset);
    const void* zero = memchr(field, 0, width);
    const size_t length = zero != nullptr ? static_cast<const char*>(zero) - field : width;
    return std::string(field, length);
}

}  // namespace

bool ParseId3v1Tag(const uint8_t* data, size_t size, Id3v1Tag& tag) {
    if (data == nullptr || size < kId3v1TagSize) {
        return false;
    }
    const uint8_t* block = data + (size - kId3v1TagSize);
    if (memcmp(block, kTagMarker, kMarkerSize) != 0) {
        return false;
    }
    tag.title = ReadTextField(block, kTitleOffset, kTextFieldSize);
    tag.artist = ReadTextField(block, kArtistOffset, kTextFieldSize);
    tag.album = ReadTextField(block, kAlbumOffset, kTextFieldSize);
    tag.year = ReadTextField(block, kYearOffset, kYearSize);
    tag.comment = ReadTextField(block, kCommentOffset, kTextFieldSize);
    tag.genre = block[kGenreOffset];
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
