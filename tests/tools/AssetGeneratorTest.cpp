// The asset generator's output: the catalogue is complete, every file loads
// the way the game loads it, the font file has the narrowed format the parser
// accepts, the sounds are clean, and generation is deterministic and quick.
// Not pixel-by-pixel tests of the art.
#include "AssetFiles.h"
#include "OutputCapture.h"
#include "SpriteManager.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

std::string Basename(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Tokens(const std::string& line) {
    std::vector<std::string> tokens;
    std::istringstream in(line);
    std::string t;
    while (in >> t) {
        tokens.push_back(t);
    }
    return tokens;
}

// key=value tokens of a line, by key.
std::map<std::string, int> Fields(const std::string& line) {
    std::map<std::string, int> fields;
    for (const std::string& t : Tokens(line)) {
        const size_t eq = t.find('=');
        if (eq != std::string::npos) {
            fields[t.substr(0, eq)] = atoi(t.c_str() + eq + 1);
        }
    }
    return fields;
}

int CountAlpha(const LoadedImage& image, int below) {
    int n = 0;
    for (const Rgba& p : image.pixels) {
        if (p.a < below) {
            ++n;
        }
    }
    return n;
}

void OpenAudio() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    OpenTestWindow();
    static bool opened = false;
    if (!opened) {
        ASSERT_EQ(InitAudio(44100, 2), 0) << Mix_GetError();
        opened = true;
    }
}

}  // namespace

TEST(AssetCatalogue, EveryFileOfTheCatalogueIsThere) {
    const std::vector<std::string> files = AllCatalogueFiles();
    for (const std::string& f : files) {
        EXPECT_TRUE(Exists(BuiltAsset(f))) << f << " was not generated";
    }
}

TEST(AssetCatalogue, NoNumberedFilesThatWouldShiftTheIndices) {
    // numbered images or samples would be loaded first and move every index
    EXPECT_FALSE(Exists(BuiltAsset("sprites/0.png")));
    EXPECT_FALSE(Exists(BuiltAsset("sfx/0.wav")));
    EXPECT_FALSE(Exists(BuiltAsset("sfx/1.ogg")));
}

TEST(AssetImages, EveryImageLoadsThroughTheSpriteStoreSilentlyAndInOrder) {
    ResetTestCanvas();
    const std::string dir = BuiltAsset("sprites");
    OutputCapture construction;
    SpriteManager sprites(dir.c_str());
    construction.Stop();
    EXPECT_EQ(construction.Out(), "Loaded 0 sprites\n");
    OutputCapture capture;
    const std::vector<std::string> images = CatalogueImages();
    std::vector<int32_t> indices;
    for (const std::string& image : images) {
        indices.push_back(sprites.LoadSprite(BuiltAsset(image).c_str()));
    }
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), "");
    for (size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(indices[i], static_cast<int32_t>(i)) << images[i];  // sets get consecutive indices
    }
}

TEST(AssetImages, SizesSuitTheirUse) {
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"sprites/grid.png", {256, 256}},      {"sprites/metalfloor.png", {256, 256}},
        {"sprites/floor.png", {256, 256}},     {"sprites/health.png", {128, 64}},
        {"sprites/pixel.png", {1, 1}},         {"sprites/zibo01.png", {256, 64}},
        {"sprites/zibo02.png", {256, 64}},     {"sprites/zibo03.png", {256, 16}},
        {"sprites/gameover01.png", {512, 64}}, {"sprites/gameover02.png", {512, 64}},
        {"sprites/credits01.png", {512, 64}},  {"sprites/credits02.png", {512, 64}},
        {"sprites/font.png", {256, 256}},
    };
    for (const auto& s : sizes) {
        const LoadedImage image = LoadImageRgba(BuiltAsset(s.first));
        EXPECT_EQ(image.width, s.second.first) << s.first;
        EXPECT_EQ(image.height, s.second.second) << s.first;
    }
    // the characters keep the shape of the box they are drawn in
    const std::vector<std::string> images = CatalogueImages();
    for (size_t i = 0; i < 15; ++i) {
        const LoadedImage image = LoadImageRgba(BuiltAsset(images[i]));
        const bool cat = i >= 10;
        EXPECT_EQ(image.width, cat ? image.height * 2 : image.height) << images[i];
    }
    const LoadedImage bullet = LoadImageRgba(BuiltAsset("sprites/bullet01.png"));
    EXPECT_EQ(bullet.width, bullet.height * 8);  // a 16 x 4 (or 64 x 4) streak
}

TEST(AssetImages, SpritesHaveTransparentPartsWhereTheyHaveNoBody) {
    // characters, corpses, bullets, blood and the screens' headings stand on
    // whatever is below them
    for (const std::string& file : CatalogueImages()) {
        const std::string name = Basename(file);
        const bool needsClearParts = name.rfind("player", 0) == 0 || name.rfind("badguy", 0) == 0 ||
                                     name.rfind("cat", 0) == 0 || name.rfind("bullet", 0) == 0 ||
                                     name.rfind("blood", 0) == 0 || name.rfind("zibo", 0) == 0 ||
                                     name.rfind("gameover", 0) == 0 ||
                                     name.rfind("credits", 0) == 0 || name == "health.png";
        if (!needsClearParts) {
            continue;
        }
        const LoadedImage image = LoadImageRgba(BuiltAsset(file));
        ASSERT_GT(image.width, 0) << name;
        const int clear = CountAlpha(image, 1);
        const int solid = image.width * image.height - CountAlpha(image, 200);
        EXPECT_GT(clear, 0) << name << " has no fully transparent pixel";
        EXPECT_GT(solid, 0) << name << " has no solid pixel";
    }
}

TEST(AssetImages, FloorsAreOpaqueAndSeamless) {
    for (const char* name : {"sprites/grid.png", "sprites/metalfloor.png", "sprites/floor.png"}) {
        const LoadedImage image = LoadImageRgba(BuiltAsset(name));
        ASSERT_EQ(image.width, 256) << name;
        EXPECT_EQ(CountAlpha(image, 255), 0) << name;
        // the step across a tile edge is no larger than the steps inside it
        auto diff = [](const Rgba& a, const Rgba& b) {
            return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        };
        double inside = 0, across = 0;
        for (int i = 0; i < 256; ++i) {
            inside +=
                diff(image.At(127, i), image.At(128, i)) + diff(image.At(i, 127), image.At(i, 128));
            across +=
                diff(image.At(255, i), image.At(0, i)) + diff(image.At(i, 255), image.At(i, 0));
        }
        EXPECT_LT(across, inside * 1.5 + 256) << name;
    }
}

TEST(AssetImages, SlowMotionOverlayTintsButLeavesPlayVisible) {
    const LoadedImage image = LoadImageRgba(BuiltAsset("sprites/slowmo.png"));
    ASSERT_GT(image.width, 0);
    const Rgba centre = image.At(image.width / 2, image.height / 2);
    const Rgba corner = image.At(2, 2);
    EXPECT_GT(centre.a, 0);    // a tint over the middle
    EXPECT_LT(centre.a, 80);   // that leaves play visible
    EXPECT_GT(corner.a, 128);  // darker towards the edges
    EXPECT_GT(centre.b, centre.r);
}

TEST(AssetImages, WhitePixelIsWhite) {
    const LoadedImage image = LoadImageRgba(BuiltAsset("sprites/pixel.png"));
    ASSERT_EQ(image.width, 1);
    ASSERT_EQ(image.height, 1);
    EXPECT_EQ(image.At(0, 0).r, 255);
    EXPECT_EQ(image.At(0, 0).g, 255);
    EXPECT_EQ(image.At(0, 0).b, 255);
    EXPECT_EQ(image.At(0, 0).a, 255);
}

TEST(AssetImages, CharactersFaceTheImagesRightEdge) {
    // the walking figures face +x: the soldier's gun reaches the right edge,
    // the cat's head is right of its middle and its tail left of it
    auto opaqueColumns = [](const LoadedImage& image, int x0, int x1) {
        int n = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += image.At(x, y).a > 200;
            }
        }
        return n;
    };
    for (int f = 1; f <= 4; ++f) {
        const LoadedImage soldier =
            LoadImageRgba(BuiltAsset("sprites/player0" + std::to_string(f) + ".png"));
        const int w = soldier.width;
        EXPECT_GT(opaqueColumns(soldier, w * 15 / 16, w), 0) << "frame " << f;
        EXPECT_EQ(opaqueColumns(soldier, 0, w / 8), 0) << "frame " << f;
    }
}

TEST(AssetScreen, PlayerGunPointsAtTheTopWhenDrawnAtAngle90) {
    // Angle 90 is "up" in the game (it moves an actor along (0, -1)); the
    // store turns a positive angle counter-clockwise. So the gun, which points
    // at the image's right edge, must point up on the screen.
    ResetTestCanvas();
    OutputCapture quiet;
    SpriteManager sprites(BuiltAsset("sprites").c_str());
    sprites.SetViewSize(640, 480);
    const int32_t white = sprites.LoadSprite(BuiltAsset("sprites/pixel.png").c_str());
    const int32_t player = sprites.LoadSprite(BuiltAsset("sprites/player01.png").c_str());
    quiet.Stop();
    ASSERT_GE(player, 0);
    // a white backdrop, then the soldier twice his size so pixels are clear
    sprites.DrawSprite(white, 0, 0, 640, 480);
    const int size = 128, cx = 320, cy = 240;
    sprites.DrawSprite(player, cx - size / 2, cy - size / 2, size, size, 90.0f);
    SaveCanvasPng(std::string(ZIBO_BUILD_DIR) + "/asset-preview/player-angle90.png");
    // darkness (the black gun) along a band of rows at the top, the bottom and
    // the sides, within the figure's reach
    auto darkIn = [](int x0, int x1, int y0, int y1) {
        int dark = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                const Rgba p = ReadPixel(x, y);
                dark += (p.r + p.g + p.b) < 180;
            }
        }
        return dark;
    };
    const int reach = size / 2 - 2, band = size / 8;
    const int top = darkIn(cx - band, cx + band, cy - reach, cy - reach + band);
    const int bottom = darkIn(cx - band, cx + band, cy + reach - band, cy + reach);
    const int left = darkIn(cx - reach, cx - reach + band, cy - band, cy + band);
    const int right = darkIn(cx + reach - band, cx + reach, cy - band, cy + band);
    EXPECT_GT(top, 8) << "no gun at the top";
    EXPECT_EQ(bottom, 0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 0);

    // and at angle 0 the gun points right
    sprites.DrawSprite(white, 0, 0, 640, 480);
    sprites.DrawSprite(player, cx - size / 2, cy - size / 2, size, size, 0.0f);
    EXPECT_GT(darkIn(cx + reach - band, cx + reach, cy - band, cy + band), 8);
    EXPECT_EQ(darkIn(cx - band, cx + band, cy - reach, cy - reach + band), 0);
}

TEST(AssetFont, DefinitionHasTheNarrowedFormat) {
    const std::string text = ReadFileBytes(BuiltAsset(kFontDefinition));
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n') << "a line feed after the last line reads as a blank line";
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos) << "blank line";
    const std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("info ", 0), 0u);
    const std::vector<std::string> common = Tokens(lines[1]);
    ASSERT_EQ(common.size(), 6u) << "the common line takes exactly six tokens: " << lines[1];
    EXPECT_EQ(common[0], "common");
    const std::map<std::string, int> c = Fields(lines[1]);
    EXPECT_GE(c.at("lineHeight"), 16);
    EXPECT_LE(c.at("lineHeight"), 20);
    EXPECT_EQ(c.at("scaleW"), 256);
    EXPECT_EQ(c.at("scaleH"), 256);
    std::set<int> ids;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LT(lines[i].size(), 200u) << "line " << i + 1 << " is too long";
        if (i < 2) {
            continue;
        }
        const std::vector<std::string> tokens = Tokens(lines[i]);
        ASSERT_EQ(tokens.size(), 10u) << "char lines take exactly ten tokens: " << lines[i];
        EXPECT_EQ(tokens[0], "char");
        // the parser takes values by position: the keys must be in BMFont order
        const char* keys[] = {"id",      "x",       "y",        "width", "height",
                              "xoffset", "yoffset", "xadvance", "page"};
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(tokens[k + 1].rfind(std::string(keys[k]) + "=", 0), 0u) << lines[i];
        }
        const std::map<std::string, int> g = Fields(lines[i]);
        ids.insert(g.at("id"));
        EXPECT_GE(g.at("x"), 0);
        EXPECT_GE(g.at("y"), 0);
        EXPECT_LE(g.at("x") + g.at("width"), 256) << lines[i];
        EXPECT_LE(g.at("y") + g.at("height"), 256) << lines[i];
        EXPECT_GT(g.at("xadvance"), 0) << lines[i];
    }
    for (int code = 32; code <= 126; ++code) {
        EXPECT_EQ(ids.count(code), 1u) << "no glyph for character " << code;
    }
}

TEST(AssetFont, ImageIsWhiteGlyphsOnPureBlack) {
    const LoadedImage image = LoadImageRgba(BuiltAsset(kFontImage));
    ASSERT_EQ(image.width, 256);
    ASSERT_EQ(image.height, 256);
    int ink = 0;
    for (const Rgba& p : image.pixels) {
        if (p.a == 0) {
            EXPECT_EQ(p.r + p.g + p.b, 0) << "a transparent pixel must be pure black";
        } else {
            EXPECT_EQ(p.r, 255);
            EXPECT_EQ(p.g, 255);
            EXPECT_EQ(p.b, 255);
            ++ink;
        }
    }
    EXPECT_GT(ink, 1000);
    // every visible glyph's box holds ink
    const std::vector<std::string> lines = Lines(ReadFileBytes(BuiltAsset(kFontDefinition)));
    for (size_t i = 2; i < lines.size(); ++i) {
        const std::map<std::string, int> g = Fields(lines[i]);
        if (g.at("id") == 32) {
            continue;
        }
        int glyphInk = 0;
        for (int y = g.at("y"); y < g.at("y") + g.at("height"); ++y) {
            for (int x = g.at("x"); x < g.at("x") + g.at("width"); ++x) {
                glyphInk += image.At(x, y).a > 0;
            }
        }
        EXPECT_GT(glyphInk, 0) << "empty glyph " << g.at("id");
    }
}

TEST(AssetFont, TextWidthsFitTheScreensCentringOffsets) {
    // the screens centre texts with fixed offsets: "Press SPACEBAR to begin"
    // at W/2 - 88 and "while clicking the RIGHT mouse button" at W/2 - 136
    const std::vector<std::string> lines = Lines(ReadFileBytes(BuiltAsset(kFontDefinition)));
    std::map<int, int> advance;
    for (size_t i = 2; i < lines.size(); ++i) {
        const std::map<std::string, int> g = Fields(lines[i]);
        advance[g.at("id")] = g.at("xadvance");
    }
    auto width = [&](const std::string& text) {
        int w = 0;
        for (unsigned char ch : text) {
            w += advance[ch];
        }
        return w;
    };
    EXPECT_NEAR(width("Press SPACEBAR to begin"), 176, 8);
    EXPECT_NEAR(width("while clicking the RIGHT mouse button"), 272, 8);
    EXPECT_NEAR(width("Press ESC to quit"), 118, 6);
}

TEST(AssetSounds, EverySampleLoadsWithTheMixer) {
    OpenAudio();
    for (const std::string& file : CatalogueSamples()) {
        Mix_Chunk* chunk = Mix_LoadWAV(BuiltAsset(file).c_str());
        EXPECT_NE(chunk, nullptr) << file << ": " << Mix_GetError();
        if (chunk != nullptr) {
            Mix_FreeChunk(chunk);
        }
    }
}

TEST(AssetSounds, SamplesAre44kHzPcmLoudButNotClipped) {
    for (const std::string& file : CatalogueSamples()) {
        const WavInfo wav = ReadWav(BuiltAsset(file));
        ASSERT_TRUE(wav.ok) << file;
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.rate, 44100);
        EXPECT_EQ(wav.bits, 16);
        int peak = 0;
        for (int16_t s : wav.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_LT(peak, 32767) << file << " clips";
        EXPECT_GT(peak, 16384) << file << " is too quiet";
        EXPECT_GT(wav.Frames(), 44100u / 10) << file;
        EXPECT_LT(wav.Frames(), 44100u * 8) << file;
    }
}

TEST(AssetSounds, SlowedSamplesAreFourTimesAsLong) {
    const std::pair<const char*, const char*> pairs[] = {
        {"sfx/man0.wav", "sfx/man0_slow.wav"},   {"sfx/man1.wav", "sfx/man1_slow.wav"},
        {"sfx/man2.wav", "sfx/man2_slow.wav"},   {"sfx/shot0.wav", "sfx/shot0_slow.wav"},
        {"sfx/shot1.wav", "sfx/shot1_slow.wav"}, {"sfx/cat0.wav", "sfx/cat0_slow.wav"}};
    for (const auto& p : pairs) {
        const WavInfo original = ReadWav(BuiltAsset(p.first));
        const WavInfo slowed = ReadWav(BuiltAsset(p.second));
        ASSERT_TRUE(original.ok && slowed.ok) << p.first;
        EXPECT_EQ(slowed.Frames(), original.Frames() * 4u) << p.second;
    }
}

TEST(AssetMusic, TrackLoadsAndCarriesItsTag) {
    OpenAudio();
    const std::string path = BuiltAsset(kMusicTrack);
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music != nullptr) {
        Mix_FreeMusic(music);
    }
    const std::string bytes = ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 128u);
    EXPECT_EQ(bytes.compare(0, 4, "OggS"), 0);
    const std::string tag = bytes.substr(bytes.size() - 128);
    EXPECT_EQ(tag.compare(0, 3, "TAG"), 0);
    EXPECT_EQ(std::string(tag.c_str() + 3), kMusicTitle);  // zero-padded fields
    EXPECT_EQ(std::string(tag.c_str() + 33), kMusicArtist);
}

TEST(AssetMusic, TrackLastsBetweenHalfAMinuteAndAMinuteAndAHalf) {
    const std::string bytes = ReadFileBytes(BuiltAsset(kMusicTrack));
    const int64_t frames = LastOggGranule(bytes.substr(0, bytes.size() - 128));
    EXPECT_GE(frames, 30 * 44100);
    EXPECT_LE(frames, 90 * 44100);
}

TEST(AssetGeneration, IsDeterministic) {
    // How long generation takes is measured, not asserted: see the README.
    TempDir first, second;
    const std::string generator = ZIBO_ASSET_GENERATOR;
    for (const TempDir* dir : {&first, &second}) {
        const std::string command = "'" + generator + "' '" + dir->Path() + "' >/dev/null";
        ASSERT_EQ(system(command.c_str()), 0) << command;
    }
    for (const std::string& f : AllCatalogueFiles()) {
        const std::string a = ReadFileBytes(first.File(f));
        const std::string b = ReadFileBytes(second.File(f));
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between two runs";
    }
}
