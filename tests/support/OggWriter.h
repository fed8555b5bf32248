// Sine-tone Ogg Vorbis files for music tests, encoded with libvorbisenc, and
// the ID3v1 block that tests append to them by hand.
#ifndef ZIBO_TESTS_OGG_WRITER_H
#define ZIBO_TESTS_OGG_WRITER_H

#include <string>

// An Ogg Vorbis file (44100 Hz stereo) holding a sine tone of peak amplitude
// level (0 to 1). Returns the file's bytes, empty when encoding failed.
std::string MakeToneOgg(double frequency, double seconds, float level);
bool WriteToneOgg(const std::string& path, double frequency, double seconds, float level);

// A 128-byte ID3v1 block: "TAG", then each field copied into its fixed width,
// cut to the width or padded with zero bytes.
std::string MakeId3v1Block(const std::string& title, const std::string& artist,
                           const std::string& album = "", const std::string& year = "",
                           const std::string& comment = "", unsigned char genre = 0);

#endif
