// Audio file writers: 16-bit PCM WAV, and Ogg Vorbis through libvorbisenc with
// an ID3v1 tag appended. Both are deterministic: the same samples make the
// same bytes.
#ifndef ZIBO_TOOLS_AUDIO_FILES_H
#define ZIBO_TOOLS_AUDIO_FILES_H

#include <string>
#include <vector>

// Mono samples in [-1, 1] at 44.1 kHz, written as 16-bit mono PCM.
bool WriteWav(const std::string& path, const std::vector<double>& samples);

struct Id3v1 {
    std::string title, artist, album, year, comment;
    unsigned char genre = 12;  // "Other"
};

// The 128-byte ID3v1 block: "TAG", then the fields zero-padded.
std::string MakeId3v1Block(const Id3v1& tag);

// Interleaved stereo samples in [-1, 1] at 44.1 kHz, encoded as Ogg Vorbis
// (VBR at `quality`) with a fixed stream serial number, the tag's title and
// artist also written as Vorbis comments, and the ID3v1 block appended.
bool WriteOggVorbis(const std::string& path, const std::vector<float>& left,
                    const std::vector<float>& right, double quality, const Id3v1& tag);

#endif
