// ID3v1 tags: the fixed 128-byte block at the end of a music file that names
// its title, artist and album. The music player shows artist and title.
#ifndef CINDERMILL_ID3V1_TAG_H
#define CINDERMILL_ID3V1_TAG_H

#include <cstddef>
#include <cstdint>
#include <string>

struct Id3v1Tag {
    std::string title;    // up to 30 characters
    std::string artist;   // up to 30 characters
    std::string album;    // up to 30 characters
    std::string year;     // up to 4 characters
    std::string comment;  // up to 30 characters
    uint8_t genre;        // the genre byte as stored
};

// Size of the block at the end of the file that holds the tag.
const size_t kId3v1TagSize = 128;

// Parses the tag from the last kId3v1TagSize bytes of data. Returns false,
// leaving tag untouched, when data is shorter than that or the block does not
// start with "TAG". Touches nothing outside data[0, size).
bool ParseId3v1Tag(const uint8_t* data, size_t size, Id3v1Tag& tag);

// Reads the tag at the end of the file at path. A new tag, or null with a
// line on standard error when the file cannot be opened or holds no tag.
Id3v1Tag* ReadId3v1Tag(const char* path);

#endif
