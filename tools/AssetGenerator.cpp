// zibo-assets: makes every image, sound, font and music file of the game.
//
//   zibo-assets [OUTPUT_DIR] [--contact-sheet FILE] [--report]
//   zibo-assets --icons ICON_DIR
//
// Writes OUTPUT_DIR/sprites (the 37 named images, font.png, font.fnt) and
// OUTPUT_DIR/sfx (the 12 named samples, 0.ogg); OUTPUT_DIR defaults to the
// working directory. The output is deterministic: every run writes the same
// bytes. --contact-sheet also writes a PNG of all images for a person to look
// at; --report prints the font's text widths and the sounds' levels.
// --icons writes only the desktop icons, ICON_DIR/zibo-<size>.png, which the
// game never reads and which are installed apart from its assets.
#include "AssetCatalogue.h"
#include "AudioFiles.h"
#include "CharacterArt.h"
#include "ContactSheet.h"
#include "EffectArt.h"
#include "FontAtlas.h"
#include "IconArt.h"
#include "Music.h"
#include "ScreenArt.h"
#include "SoundEffects.h"
#include "Synth.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

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

bool WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) {
        fprintf(stderr, "zibo-assets: cannot write %s\n", path.c_str());
        return false;
    }
    const bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

struct ImageJob {
    const char* file;  // as in the catalogue
    std::function<Image()> make;
    int drawnWidth, drawnHeight;
    bool alpha;  // written with an alpha channel
};

std::vector<ImageJob> ImageJobs() {
    std::vector<ImageJob> jobs;
    const char* const* name = kCatalogueImages;
    for (int f = 0; f < 4; ++f) {
        jobs.push_back({*name++, [f] { return SoldierFrame(f); }, 32, 32, true});
    }
    jobs.push_back({*name++, [] { return SoldierCorpse(); }, 32, 32, true});
    for (int f = 0; f < 4; ++f) {
        jobs.push_back({*name++, [f] { return BadGuyFrame(f); }, 32, 32, true});
    }
    jobs.push_back({*name++, [] { return BadGuyCorpse(); }, 32, 32, true});
    for (int f = 0; f < 4; ++f) {
        jobs.push_back({*name++, [f] { return CatFrame(f); }, 32, 16, true});
    }
    jobs.push_back({*name++, [] { return CatCorpse(); }, 32, 16, true});
    for (int f = 0; f < 5; ++f) {
        jobs.push_back({*name++, [f] { return BulletFrame(f); }, 16, 4, true});
    }
    for (int v = 0; v < 3; ++v) {
        jobs.push_back({*name++, [v] { return BloodSplat(v); }, 64, 64, true});
    }
    jobs.push_back({*name++, GridFloor, 256, 256, false});
    jobs.push_back({*name++, MetalFloor, 256, 256, false});
    jobs.push_back({*name++, PlainFloor, 256, 256, false});
    jobs.push_back({*name++, EngineSplash, 256, 128, false});
    jobs.push_back({*name++, SlowMotionOverlay, 640, 480, true});
    jobs.push_back({*name++, HudPanel, 128, 64, true});
    jobs.push_back({*name++, WhitePixel, 1, 1, false});
    jobs.push_back({*name++, TitleHeading, 256, 64, true});
    jobs.push_back({*name++, TitleEcho, 256, 64, true});
    jobs.push_back({*name++, TitleSubtitle, 256, 16, true});
    jobs.push_back({*name++, StatisticsHeading, 512, 64, true});
    jobs.push_back({*name++, StatisticsEcho, 512, 64, true});
    jobs.push_back({*name++, CreditsHeading, 512, 64, true});
    jobs.push_back({*name++, CreditsEcho, 512, 64, true});
    return jobs;
}

struct SoundJob {
    const char* file;
    Samples samples;
};

void Report(const FontAtlas& atlas, const std::vector<SoundJob>& sounds, const StereoLoop& music) {
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
    for (const SoundJob& s : sounds) {
        double sum = 0.0;
        for (double v : s.samples) {
            sum += v * v;
        }
        const double rms = std::sqrt(sum / s.samples.size());
        printf("%-20s %6.3f s  peak %6.2f dBFS  rms %6.2f dBFS\n", s.file,
               static_cast<double>(s.samples.size()) / kSampleRate,
               20 * std::log10(Peak(s.samples)), 20 * std::log10(rms));
    }
    double peak = 0.0, sum = 0.0;
    for (size_t i = 0; i < music.left.size(); ++i) {
        peak = std::max(peak, static_cast<double>(std::fabs(music.left[i])));
        peak = std::max(peak, static_cast<double>(std::fabs(music.right[i])));
        sum += music.left[i] * music.left[i] + music.right[i] * music.right[i];
    }
    printf("%-20s %6.3f s  peak %6.2f dBFS  rms %6.2f dBFS\n", kMusicTrack,
           static_cast<double>(music.left.size()) / kSampleRate, 20 * std::log10(peak),
           10 * std::log10(sum / (2.0 * music.left.size())));
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

}  // namespace

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    std::string outDir = ".";
    std::string sheetPath;
    bool report = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            sheetPath = argv[++i];
        } else if (arg == "--icons" && i + 1 < argc) {
            return WriteIcons(argv[i + 1]) ? 0 : 1;
        } else if (arg == "--report") {
            report = true;
        } else if (arg == "--help" || arg == "-h") {
            printf(
                "usage: zibo-assets [OUTPUT_DIR] [--contact-sheet FILE] [--report]\n"
                "       zibo-assets --icons ICON_DIR\n");
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            fprintf(stderr, "zibo-assets: unknown option %s\n", arg.c_str());
            return 2;
        } else {
            outDir = arg;
        }
    }
    if (!MakeDirectories(outDir + "/sprites") || !MakeDirectories(outDir + "/sfx")) {
        return 1;
    }
    bool ok = true;
    int written = 0;

    // the music takes longest: compose and encode it on a second thread
    StereoLoop music;
    bool musicOk = false;
    std::thread musicThread([&] {
        music = ComposeMusic();
        Id3v1Tag tag;
        tag.title = kMusicTitle;
        tag.artist = kMusicArtist;
        tag.album = "Z.I.B.O. Original Soundtrack";
        tag.year = "2024";
        tag.comment = "Composed by zibo-assets";
        tag.genre = 36;  // "Game"
        musicOk = WriteOggVorbis(outDir + "/" + kMusicTrack, music.left, music.right, 0.3, tag);
    });

    std::vector<ImageJob> jobs = ImageJobs();
    std::vector<Image> images;
    images.reserve(jobs.size());
    for (const ImageJob& job : jobs) {
        images.push_back(job.make());
        if (!images.back().SavePng(outDir + "/" + job.file, job.alpha)) {
            fprintf(stderr, "zibo-assets: cannot write %s/%s\n", outDir.c_str(), job.file);
            ok = false;
        }
        ++written;
    }

    const FontAtlas atlas = BuildFontAtlas();
    if (!atlas.ok || !atlas.image.SavePng(outDir + "/" + kFontImage, true) ||
        !WriteText(outDir + "/" + kFontDefinition, atlas.definition)) {
        fprintf(stderr, "zibo-assets: the font was not made\n");
        ok = false;
    }
    written += 2;

    std::vector<SoundJob> sounds;
    const Samples man[3] = {DeathCry(0), DeathCry(1), DeathCry(2)};
    const Samples shot[2] = {GunShot(0), GunShot(1)};
    const Samples cat = CatDeathMeow();
    sounds.push_back({kCatalogueSamples[0], man[0]});
    sounds.push_back({kCatalogueSamples[1], man[1]});
    sounds.push_back({kCatalogueSamples[2], man[2]});
    sounds.push_back({kCatalogueSamples[3], Slowed(man[0], kSlowFactor)});
    sounds.push_back({kCatalogueSamples[4], Slowed(man[1], kSlowFactor)});
    sounds.push_back({kCatalogueSamples[5], Slowed(man[2], kSlowFactor)});
    sounds.push_back({kCatalogueSamples[6], shot[0]});
    sounds.push_back({kCatalogueSamples[7], shot[1]});
    sounds.push_back({kCatalogueSamples[8], Slowed(shot[0], kSlowFactor)});
    sounds.push_back({kCatalogueSamples[9], Slowed(shot[1], kSlowFactor)});
    sounds.push_back({kCatalogueSamples[10], cat});
    sounds.push_back({kCatalogueSamples[11], Slowed(cat, kSlowFactor)});
    for (const SoundJob& s : sounds) {
        if (!WriteWav(outDir + "/" + s.file, s.samples)) {
            ok = false;
        }
        ++written;
    }

    musicThread.join();
    if (!musicOk) {
        fprintf(stderr, "zibo-assets: the music was not made\n");
        ok = false;
    }
    ++written;

    if (!sheetPath.empty()) {
        std::vector<SheetEntry> entries;
        for (size_t i = 0; i < jobs.size(); ++i) {
            entries.push_back(
                SheetEntry{jobs[i].file + 8, &images[i], jobs[i].drawnWidth, jobs[i].drawnHeight});
        }
        entries.push_back(SheetEntry{"font.png", &atlas.image, 256, 256});
        if (!WriteContactSheet(entries, sheetPath)) {
            fprintf(stderr, "zibo-assets: cannot write %s\n", sheetPath.c_str());
            ok = false;
        }
    }
    if (report) {
        Report(atlas, sounds, music);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    printf("zibo-assets: %s %d files into %s/sprites and %s/sfx in %.1f s\n",
           ok ? "wrote" : "FAILED after", written, outDir.c_str(), outDir.c_str(), seconds);
    return ok ? 0 : 1;
}
