// The asset generator's output as the game uses it: every file loads through
// the engine's own stores in the catalogue's order; the images have the
// proportions, clear parts and facing that drawing relies on; the font loads
// silently with the metrics the screens centre their texts by; the sounds'
// format, levels and lengths; the music's tag; and two runs write the same
// bytes. Not pixel-by-pixel tests of the art.
#include "AssetFiles.h"
#include "AudioFiles.h"
#include "MusicPlayer.h"
#include "OruBitmapFont.h"
#include "OutputCapture.h"
#include "SoundBank.h"
#include "SpriteManager.h"
#include "Video.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <numeric>

namespace {

// A pixel test: alpha in [lowest, highest].
std::function<bool(Rgba)> Alpha(int lowest, int highest) {
    return [=](Rgba p) { return p.a >= lowest && p.a <= highest; };
}

}  // namespace

TEST(GeneratedAssets, LoadSilentlyThroughTheEnginesStoresInTheCatalogueOrder) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    OpenTestWindow();
    ASSERT_EQ(InitAudio(kAudioFrequency, kAudioChannels), 0);
    OutputCapture capture;
    // A numbered file would load first and move every index.
    SpriteManager sprites(BuiltAsset("sprites").c_str());
    SoundBank sounds(BuiltAsset("sfx").c_str());
    MusicPlayer music(BuiltAsset("sfx").c_str());
    OruBitmapFont font(BuiltAsset(kFontImage).c_str(), BuiltAsset(kFontDefinition).c_str());
    for (size_t i = 0; i < std::size(kCatalogueImages); ++i) {
        EXPECT_EQ(sprites.LoadSprite(BuiltAsset(kCatalogueImages[i].file).c_str()), int32_t(i));
    }
    for (size_t i = 0; i < std::size(kCatalogueSamples); ++i) {
        EXPECT_EQ(sounds.LoadSample(BuiltAsset(kCatalogueSamples[i]).c_str()), int32_t(i));
    }
    // The tag, as the engine reads it for the log.
    music.PlayTrack(0, true);
    capture.Stop();
    const std::string tag = std::string(kMusicArtist) + " - " + kMusicTitle;
    EXPECT_NE(capture.Out().find("Pass) Playing track 0 (" + tag + ")\n"), std::string::npos);
    // Only the four lines of the numbered files' probes: nothing fails to
    // load, and nothing in the font file draws a warning (no blank line,
    // every line as the parser takes it).
    EXPECT_EQ(std::count(capture.Err().begin(), capture.Err().end(), '\n'), 4) << capture.Err();
    EXPECT_TRUE(font.GetLineHeight() >= 16 && font.GetLineHeight() <= 20);
    // Glyphs inside the 256 x 256 image that the loader reads, each with ink,
    // white to be tinted.
    const Picture image = LoadImageRgba(BuiltAsset(kFontImage));
    ASSERT_TRUE(image.width == 256 && image.height == 256);
    for (int code = ' '; code <= '~'; ++code) {
        const Glyph& g = font.GetGlyph(code);
        EXPECT_TRUE(
            g.xadvance > 0 && g.x + g.width <= 256 && g.y + g.height <= 256 &&
            (code == ' ' || image.Crop(g.x, g.y, g.width, g.height).Count(Alpha(1, 255)) > 0))
            << "glyph " << code;
    }
    for (const Rgba& p : image.pixels) {
        ASSERT_TRUE(p.a == 0 || Near(p, kWhite, 0)) << Describe(p);
    }
    // The screens centre these texts with fixed offsets from the middle.
    auto width = [&](const std::string& text) {
        return std::accumulate(text.begin(), text.end(), 0, [&](int w, unsigned char c) {
            return w + font.GetGlyph(c).xadvance;
        });
    };
    EXPECT_NEAR(width("Press SPACEBAR to begin"), 176, 8);
    EXPECT_NEAR(width("while clicking the RIGHT mouse button"), 272, 8);
    EXPECT_NEAR(width("Press ESC to quit"), 118, 6);
}

TEST(GeneratedAssets, ImagesHaveTheProportionsClearPartsAndFacingThatDrawingNeeds) {
    for (const CatalogueImage& entry : kCatalogueImages) {
        const std::string name = entry.file;
        const Picture image = LoadImageRgba(BuiltAsset(name));
        if (name == "sprites/slowmo.png") {
            // A tint over play that leaves it visible, darker towards the edges.
            const Rgba centre = image.At(image.width / 2, image.height / 2);
            EXPECT_TRUE(centre.a > 0 && centre.a < 80 && image.At(2, 2).a > 128);
            continue;
        }
        // Stretched to the drawn size, so the proportions must match; a
        // bullet is drawn 16 x 4, and 64 x 4 in slow motion: 8:1 suits both.
        const int drawnWidth = name.find("bullet") != std::string::npos ? 32 : entry.width;
        EXPECT_EQ(image.width * entry.height, image.height * drawnWidth) << name;
        // Floors are opaque; figures, splats, the panel and the headings
        // stand on them.
        EXPECT_TRUE(entry.opaque ? image.Count(Alpha(0, 254)) == 0
                                 : image.Count(Alpha(0, 0)) > 0 && image.Count(Alpha(200, 255)) > 0)
            << name;
        // Floor tiles join without seams: the step across a tile's edge is
        // no larger than the steps inside it.
        if (entry.opaque && entry.width == 256 && entry.height == 256) {
            auto step = [&](int x0, int y0, int x1, int y1) {
                const Rgba a = image.At(x0, y0), b = image.At(x1, y1);
                return abs(a.r - b.r) + abs(a.g - b.g) + abs(a.b - b.b);
            };
            const int last = image.width - 1, middle = image.width / 2;
            double inside = 0, across = 0;
            for (int i = 0; i < image.width; ++i) {
                inside += step(middle - 1, i, middle, i) + step(i, middle - 1, i, middle);
                across += step(last, i, 0, i) + step(i, last, i, 0);
            }
            EXPECT_LT(across, inside * 1.5 + image.width) << name;
        }
    }
    // The soldier faces angle 0, the image's right edge: his gun reaches it.
    for (const char* frame : {"player01", "player02", "player03", "player04"}) {
        const Picture soldier = LoadImageRgba(BuiltAsset("sprites/" + std::string(frame) + ".png"));
        const int w = soldier.width, h = soldier.height;
        EXPECT_GT(soldier.Crop(w * 15 / 16, 0, w - w * 15 / 16, h).Count(Alpha(201, 255)), 0)
            << frame;
        EXPECT_EQ(soldier.Crop(0, 0, w / 8, h).Count(Alpha(201, 255)), 0) << frame;
    }
}

TEST(GeneratedAssets, SoundsHaveTheirFormatLevelsAndLengths) {
    std::map<std::string, size_t> frames;
    for (const std::string sample : kCatalogueSamples) {
        SDL_AudioSpec wav;
        Uint8* data = nullptr;
        Uint32 bytes = 0;
        ASSERT_NE(SDL_LoadWAV(BuiltAsset(sample).c_str(), &wav, &data, &bytes), nullptr);
        const int16_t* pcm = reinterpret_cast<const int16_t*>(data);
        const auto range = std::minmax_element(pcm, pcm + bytes / 2);
        const int peak = std::max(-*range.first, static_cast<int>(*range.second));
        SDL_FreeWAV(data);
        frames[sample] = bytes / 2 / wav.channels;
        // Loud but not clipped, between a tenth of a second and eight.
        EXPECT_TRUE(wav.freq == kAudioFrequency && wav.format == AUDIO_S16LSB && peak > 16384 &&
                    peak < 32767 && frames[sample] > kAudioFrequency / 10u &&
                    frames[sample] < 8u * kAudioFrequency)
            << sample << " peaks at " << peak;
    }
    // Slow motion runs at a quarter of the speed.
    for (const std::string sound :
         {"sfx/man0", "sfx/man1", "sfx/man2", "sfx/shot0", "sfx/shot1", "sfx/cat0"}) {
        EXPECT_EQ(frames[sound + "_slow.wav"], frames[sound + ".wav"] * 4) << sound;
    }
    // The music lasts about a minute: the last Ogg page before the tag holds
    // the stream's length in frames.
    const std::string music = ReadFileBytes(BuiltAsset(kMusicTrack));
    const size_t lastPage = music.rfind("OggS", music.size() - 128);
    int64_t length = 0;
    memcpy(&length, music.data() + lastPage + 6, 8);
    EXPECT_TRUE(length >= 30 * 44100 && length <= 90 * 44100) << length;
}

TEST(GeneratedAssets, TwoRunsWriteTheSameFiles) {
    TempDir again;
    const std::string command = "cd '" + again.Path() +
                                "' && '" ZIBO_ASSET_GENERATOR
                                "' . >/dev/null && diff -r sprites '" ZIBO_BUILD_DIR
                                "/sprites' && diff -r sfx '" ZIBO_BUILD_DIR "/sfx'";
    EXPECT_EQ(system(command.c_str()), 0) << command;
}
