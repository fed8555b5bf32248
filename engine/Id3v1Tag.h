// ID3v1 tags: the fixed 128-byte block at the end of a music file that names
// its title, artist and album. The music player shows artist and title.
#ifndef CINDERMILL_ID3V1_TAG_H
#define CINDERMILL_ID3V1_TAG_H

#include <cstddef>
#include <cstdint>
#include <string>

// The block's layout: the marker "TAG", the text fields one after the other,
// each zero-padded to its fixed width, and the genre byte last. The reader
// below and the asset generator's writer both lay the block out from these.
const size_t kId3v1TagSize = 128;
const char kId3v1Marker[] = "TAG";
const size_t kId3v1MarkerSize = sizeof(kId3v1Marker) - 1;

struct Id3v1Field {
    size_t offset;  // from the start of the block
    size_t width;
};
const Id3v1Field kId3v1Title = {3, 30};
const Id3v1Field kId3v1Artist = {33, 30};
const Id3v1Field kId3v1Album = {63, 30};
const Id3v1Field kId3v1Year = {93, 4};
const Id3v1Field kId3v1Comment = {97, 30};
const size_t kId3v1GenreOffset = 127;

// A tag's fields as text, each at most its field's width.
struct Id3v1Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    uint8_t genre;  // the genre byte as stored
};

// Parses the tag from the last kId3v1TagSize bytes of data. Returns false,
// leaving tag untouched, when data is shorter than that or the block does not
// start with the marker. Touches nothing outside data[0, size).
bool ParseId3v1Tag(const uint8_t* data, size_t size, Id3v1Tag& tag);

// Reads the tag at the end of the file at path. A new tag, or null with a
// line on standard error when the file cannot be opened or holds no tag.
Id3v1Tag* ReadId3v1Tag(const char* path);

#endif
