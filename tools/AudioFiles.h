// Audio file writers: 16-bit PCM WAV, and Ogg Vorbis through libvorbisenc with
// an ID3v1 tag appended. Both are deterministic: the same samples make the
// same bytes.
#ifndef ZIBO_TOOLS_AUDIO_FILES_H
#define ZIBO_TOOLS_AUDIO_FILES_H

#include "Id3v1Tag.h"

#include <string>
#include <vector>

// Mono samples in [-1, 1] at kSampleRate (Synth.h), written as 16-bit PCM.
bool WriteWav(const std::string& path, const std::vector<double>& samples);

// The ID3v1 block that ends the music file, laid out as the engine reads it;
// a text longer than its field is cut to the field's width.
std::string MakeId3v1Block(const Id3v1Tag& tag);

// Stereo samples in [-1, 1] at kSampleRate, one vector a channel, encoded as
// Ogg Vorbis (VBR at `quality`) with a fixed stream serial number and the
// tag's title, artist and album as Vorbis comments. Empty when the encoder
// refuses.
std::string EncodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right,
                            double quality, const Id3v1Tag& tag);

// The Ogg Vorbis stream with the tag's ID3v1 block appended.
bool WriteOggVorbis(const std::string& path, const std::vector<float>& left,
                    const std::vector<float>& right, double quality, const Id3v1Tag& tag);

#endif
