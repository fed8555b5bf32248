// zibo-assets: makes every image, sound, font and music file of the game.
//
//   zibo-assets [OUTPUT_DIR] [--contact-sheet FILE] [--report]
//   zibo-assets --icons ICON_DIR
//
// Writes the files of the game's asset manifest below OUTPUT_DIR (the
// working directory by default): the images, the font and the samples into
// "sprites" and "sfx", the music into "sfx". The output is deterministic:
// every run writes the same bytes. --contact-sheet also writes a PNG of all
// images for a person to look at; --report prints the font's text widths and
// the sounds' levels. --icons writes only the desktop icons,
// ICON_DIR/zibo-<size>.png, which the game never reads and which are
// installed apart from its assets.
#include "AudioFiles.h"
#include "CharacterArt.h"
#include "ContactSheet.h"
#include "EffectArt.h"
#include "FontAtlas.h"
#include "GameSettings.h"
#include "IconArt.h"
#include "Music.h"
#include "OutputFile.h"
#include "ScreenArt.h"
#include "SoundEffects.h"
#include "Synth.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const kAssetDirectories[] = {"sprites", "sfx"};
const double kMusicQuality = 0.3;  // libvorbisenc's VBR quality, -0.1 to 1
// The ID3v1 fields that the manifest leaves to the generator.
const char* const kMusicAlbum = "Z.I.B.O. Original Soundtrack";
const char* const kMusicYear = "2024";
const char* const kMusicComment = "Composed by zibo-assets";
const unsigned char kMusicGenreGame = 36;

struct Options {
    std::string outDir = ".";
    std::string sheetPath;
    std::string iconDir;
    bool report = false;
};

// What a run wrote: every file it tried, and whether all of them were made.
struct Tally {
    int files = 0;
    bool ok = true;
    void add(bool written) {
        ++files;
        ok = ok && written;
    }
};

struct DrawnImage {
    const char* file;
    Image image;
    int drawnWidth, drawnHeight;
    bool alpha;  // written with an alpha channel
};

struct Sound {
    const char* file;
    Samples samples;
};

struct MusicTrack {
    const char* file = nullptr;
    StereoLoop loop;
    bool ok = false;
};

bool MakeDirectories(const std::string& path) {
    std::string partial;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!partial.empty() && mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) {
                fprintf(stderr, "zibo-assets: cannot create %s: %s\n", partial.c_str(),
                        strerror(errno));
                return false;
            }
        }
        if (i < path.size()) {
            partial.push_back(path[i]);
        }
    }
    return true;
}

// The name under its directory, as the contact sheet labels it.
const char* FileName(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

// False with the exit status set when the run is to end at once.
bool ParseOptions(int argc, char** argv, Options* options, int* status) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            options->sheetPath = argv[++i];
        } else if (arg == "--icons" && i + 1 < argc) {
            options->iconDir = argv[++i];
        } else if (arg == "--report") {
            options->report = true;
        } else if (arg == "--help" || arg == "-h") {
            printf(
                "usage: zibo-assets [OUTPUT_DIR] [--contact-sheet FILE] [--report]\n"
                "       zibo-assets --icons ICON_DIR\n");
            *status = 0;
            return false;
        } else if (!arg.empty() && arg[0] == '-') {
            fprintf(stderr, "zibo-assets: unknown option %s\n", arg.c_str());
            *status = 2;
            return false;
        } else {
            options->outDir = arg;
        }
    }
    return true;
}

bool WriteIcons(const std::string& dir) {
    if (!MakeDirectories(dir)) {
        return false;
    }
    bool ok = true;
    for (int i = 0; i < kIconSizeCount; ++i) {
        const std::string path = dir + "/" + IconFileName(kIconSizes[i]);
        if (!GameIcon(kIconSizes[i]).SavePng(path, true)) {
            fprintf(stderr, "zibo-assets: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    printf("zibo-assets: %s %d icons into %s\n", ok ? "wrote" : "FAILED writing", kIconSizeCount,
           dir.c_str());
    return ok;
}

std::vector<DrawnImage> DrawImages() {
    std::vector<DrawnImage> images;
#define ZIBO_IMAGE(file, width, height, field, art) \
    images.push_back({file, art, width, height, true});
#define ZIBO_OPAQUE_IMAGE(file, width, height, field, art) \
    images.push_back({file, art, width, height, false});
#include "AssetManifest.def"
    return images;
}

std::vector<DrawnImage> WriteImages(const std::string& outDir, Tally* tally) {
    std::vector<DrawnImage> images = DrawImages();
    for (const DrawnImage& drawn : images) {
        const bool written = drawn.image.SavePng(outDir + "/" + drawn.file, drawn.alpha);
        if (!written) {
            fprintf(stderr, "zibo-assets: cannot write %s/%s\n", outDir.c_str(), drawn.file);
        }
        tally->add(written);
    }
    return images;
}

FontAtlas WriteFont(const std::string& outDir, Tally* tally) {
    const FontAtlas atlas = BuildFontAtlas();
    bool written = atlas.ok;
#define ZIBO_FONT(imageFile, definitionFile)                                    \
    written = written && atlas.image.SavePng(outDir + "/" + imageFile, true) && \
              WriteOutputFile(outDir + "/" + definitionFile, atlas.definition);
#include "AssetManifest.def"
    if (!written) {
        fprintf(stderr, "zibo-assets: the font was not made\n");
    }
    // The image and the definition.
    tally->add(written);
    tally->add(written);
    return atlas;
}

std::vector<Sound> WriteSounds(const std::string& outDir, Tally* tally) {
    std::vector<Sound> sounds;
#define ZIBO_SAMPLE(file, field, sound) sounds.push_back({file, sound});
#include "AssetManifest.def"
    for (const Sound& sound : sounds) {
        tally->add(WriteWav(outDir + "/" + sound.file, sound.samples));
    }
    return sounds;
}

void WriteMusic(const std::string& outDir, MusicTrack* music) {
    music->loop = ComposeMusic();
    Id3v1Tag tag;
    tag.album = kMusicAlbum;
    tag.year = kMusicYear;
    tag.comment = kMusicComment;
    tag.genre = kMusicGenreGame;
#define ZIBO_MUSIC(musicFile, track, musicArtist, musicTitle) \
    music->file = musicFile;                                  \
    tag.artist = musicArtist;                                 \
    tag.title = musicTitle;
#include "AssetManifest.def"
    music->ok = WriteOggVorbis(outDir + "/" + music->file, music->loop.left, music->loop.right,
                               kMusicQuality, tag);
    if (!music->ok) {
        fprintf(stderr, "zibo-assets: the music was not made\n");
    }
}

bool WriteSheet(const std::vector<DrawnImage>& images, const FontAtlas& atlas,
                const std::string& path) {
    std::vector<SheetEntry> entries;
    for (const DrawnImage& drawn : images) {
        entries.push_back(
            SheetEntry{FileName(drawn.file), &drawn.image, drawn.drawnWidth, drawn.drawnHeight});
    }
#define ZIBO_FONT(imageFile, definitionFile) \
    entries.push_back(                       \
        SheetEntry{FileName(imageFile), &atlas.image, atlas.image.Width(), atlas.image.Height()});
#include "AssetManifest.def"
    if (!WriteContactSheet(entries, path)) {
        fprintf(stderr, "zibo-assets: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Peak and mean power of a sound over all its channels.
struct Levels {
    double peak = 0.0, sum = 0.0;
    size_t count = 0;
    void add(double v) {
        peak = std::max(peak, std::fabs(v));
        sum += v * v;
        ++count;
    }
};

void PrintLevels(const char* file, size_t frames, const Levels& levels) {
    printf("%-20s %6.3f s  peak %6.2f dBFS  rms %6.2f dBFS\n", file,
           static_cast<double>(frames) / kSampleRate, 20 * std::log10(levels.peak),
           10 * std::log10(levels.sum / levels.count));
}

void Report(const FontAtlas& atlas, const std::vector<Sound>& sounds, const MusicTrack& music) {
    const char* texts[] = {"Press SPACEBAR to begin",
                           "while clicking the RIGHT mouse button",
                           "Programming and Graphics by",
                           "Press ESC to quit",
                           "THANK YOU FOR PLAYING",
                           "Try holding SHIFT",
                           "Right Button"};
    const int expected[] = {176, 272, 210, 118, 182, 126, 88};
    printf("font: lineHeight %d, base %d\n", atlas.lineHeight, atlas.base);
    for (int i = 0; i < 7; ++i) {
        printf("  %-40s %3d px (layout expects about %d)\n", texts[i],
               AtlasTextWidth(atlas, texts[i]), expected[i]);
    }
    for (const Sound& sound : sounds) {
        Levels levels;
        for (double v : sound.samples) {
            levels.add(v);
        }
        PrintLevels(sound.file, sound.samples.size(), levels);
    }
    Levels levels;
    for (size_t i = 0; i < music.loop.left.size(); ++i) {
        levels.add(music.loop.left[i]);
        levels.add(music.loop.right[i]);
    }
    PrintLevels(music.file, music.loop.left.size(), levels);
}

bool WriteAssets(const Options& options, Tally* tally) {
    const std::string& outDir = options.outDir;
    for (const char* directory : kAssetDirectories) {
        if (!MakeDirectories(outDir + "/" + directory)) {
            return false;
        }
    }
    // The music takes longest: it is composed and encoded on a second thread.
    MusicTrack music;
    std::thread musicThread([&outDir, &music] { WriteMusic(outDir, &music); });
    const std::vector<DrawnImage> images = WriteImages(outDir, tally);
    const FontAtlas atlas = WriteFont(outDir, tally);
    const std::vector<Sound> sounds = WriteSounds(outDir, tally);
    musicThread.join();
    tally->add(music.ok);

    if (!options.sheetPath.empty() && !WriteSheet(images, atlas, options.sheetPath)) {
        tally->ok = false;
    }
    if (options.report) {
        Report(atlas, sounds, music);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    Options options;
    int status = 0;
    if (!ParseOptions(argc, argv, &options, &status)) {
        return status;
    }
    if (!options.iconDir.empty()) {
        return WriteIcons(options.iconDir) ? 0 : 1;
    }
    Tally tally;
    if (!WriteAssets(options, &tally)) {
        return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("zibo-assets: %s %d files into %s/sprites and %s/sfx in %.1f s\n",
           tally.ok ? "wrote" : "FAILED after", tally.files, options.outDir.c_str(),
           options.outDir.c_str(), seconds);
    return tally.ok ? 0 : 1;
}
