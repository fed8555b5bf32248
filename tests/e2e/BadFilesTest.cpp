// A damaged install, as a player's machine might have it: every case either
// runs on (a frame loop that a window close ends with status 0) or ends with
// status 1 exactly where a malformed font leaves no other way.
#include "AssetFiles.h"
#include "PngWriter.h"
#include "ScreenProbes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Damage {
    const char* name;
    // Lays out the working directory.
    std::function<void(GameProcess&)> prepare;
    // 0: the game runs and is closed; 1: it must end by itself with status 1.
    int exitStatus;
    std::vector<std::string> errLines;
    std::vector<std::string> outLines;
    std::vector<std::string> environment;
};

// Names the case in the test log instead of dumping its bytes.
void PrintTo(const Damage& damage, std::ostream* os) {
    *os << damage.name;
}

std::string In(GameProcess& game, const std::string& file) {
    return game.Path() + "/" + file;
}

void Write(GameProcess& game, const std::string& file, const std::string& bytes) {
    FILE* f = fopen(In(game, file).c_str(), "wb");
    ASSERT_NE(f, nullptr) << file;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void Truncate(GameProcess& game, const std::string& file) {
    const std::string bytes = ReadWholeFile(In(game, file));
    ASSERT_EQ(unlink(In(game, file).c_str()), 0);
    Write(game, file, bytes.substr(0, bytes.size() / 2));
}

// Copies the sprites so the test may damage them; sfx stays linked.
void OwnSprites(GameProcess& game) {
    game.CopyAssets("sprites");
    game.LinkAssets("sfx");
}
void OwnSounds(GameProcess& game) {
    game.CopyAssets("sfx");
    game.LinkAssets("sprites");
}

void WriteFont(GameProcess& game, const std::string& definition) {
    OwnSprites(game);
    unlink(In(game, "sprites/font.fnt").c_str());
    Write(game, "sprites/font.fnt", definition);
}

const std::string kCommon =
    "info face=x\ncommon lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1\n";
const std::string kCharA =
    "char id=65 x=0 y=0 width=8 height=12 xoffset=0 yoffset=0 xadvance=8 page=0\n";

const Damage kDamages[] = {
    {"EveryNamedImageMissing",
     [](GameProcess& g) {
         OwnSprites(g);
         for (const std::string& file : CatalogueImages()) {
             unlink(In(g, file).c_str());
         }
     },
     0,
     {"Sorry, sprite sprites/player01.png is missing\n",
      "Sorry, sprite sprites/credits02.png is missing\n", "Requested sprite -1 is out of bounds\n"},
     {},
     {}},
    {"TruncatedImage",
     [](GameProcess& g) { OwnSprites(g), Truncate(g, "sprites/player01.png"); },
     0,
     {"Sorry, sprite sprites/player01.png is missing\n"},
     {},
     {}},
    {"NotAnImage",
     [](GameProcess& g) {
         OwnSprites(g);
         unlink(In(g, "sprites/zibo01.png").c_str());
         Write(g, "sprites/zibo01.png", "<html>not a picture</html>\n");
     },
     0,
     {"Sorry, sprite sprites/zibo01.png is missing\n"},
     {},
     {}},
    {"ZeroByteImage",
     [](GameProcess& g) {
         OwnSprites(g);
         unlink(In(g, "sprites/health.png").c_str());
         Write(g, "sprites/health.png", "");
     },
     0,
     {"Sorry, sprite sprites/health.png is missing\n"},
     {},
     {}},
    {"DirectoryInPlaceOfAnImage",
     [](GameProcess& g) {
         OwnSprites(g);
         unlink(In(g, "sprites/pixel.png").c_str());
         mkdir(In(g, "sprites/pixel.png").c_str(), 0755);
     },
     0,
     {"Sorry, sprite sprites/pixel.png is missing\n"},
     {},
     {}},
    {"HugeImage",
     [](GameProcess& g) {
         OwnSprites(g);
         unlink(In(g, "sprites/floor.png").c_str());
         WriteSolidPng(In(g, "sprites/floor.png"), 8192, 8192, Rgba{90, 90, 90, 255});
     },
     0,
     {},
     {},
     {}},
    {"NoSpritesFolder",
     [](GameProcess& g) { g.LinkAssets("sfx"); },
     0,
     {"Sorry, sprite sprites/0.png is missing\n", "FAIL) Image file sprites/font.png not found\n",
      "FAIL) Bitmap font bitmap file sprites/font.png not found or unusable\n",
      "FAIL) This font isn't ready to print to. Didn't complete construction\n"},
     {"Loaded 0 sprites\n"},
     {}},
    {"NoSfxFolder",
     [](GameProcess& g) { g.LinkAssets("sprites"); },
     0,
     {"sfx/0.wav is missing\n", "Err.) Music file sfx/0.ogg is missing\n",
      "Err.) No music found, disabling\n", "Err.) Music track 0 is out of range [0,-1]\n"},
     {"Sample -1 is out of bounds\n"},
     {}},
    {"CorruptWav",
     [](GameProcess& g) {
         OwnSounds(g);
         unlink(In(g, "sfx/shot0.wav").c_str());
         unlink(In(g, "sfx/shot1.wav").c_str());
         Write(g, "sfx/shot0.wav", "RIFF\x10\x00\x00\x00WAVEjunk");
         Write(g, "sfx/shot1.wav", "");
     },
     0,
     {},
     {"Sample -1 is out of bounds\n"},
     {}},
    {"CorruptOgg",
     [](GameProcess& g) {
         OwnSounds(g);
         const std::string good = ReadWholeFile(In(g, "sfx/0.ogg"));
         unlink(In(g, "sfx/0.ogg").c_str());
         Write(g, "sfx/0.ogg", "OggS" + std::string(4000, '\x7f') + good.substr(good.size() - 128));
     },
     0,
     {"Err.) Can't load sfx/0.ogg... ", "Err.) No music found, disabling\n"},
     {},
     {}},
    {"OggShorterThanATag",
     [](GameProcess& g) {
         OwnSounds(g);
         unlink(In(g, "sfx/0.ogg").c_str());
         Write(g, "sfx/0.ogg", "OggS\x00\x02 tiny");
     },
     0,
     {"Err.) Music file sfx/0.ogg is missing\n"},
     {},
     {}},
    {"NoAudioDevice",
     [](GameProcess& g) { g.LinkAssets(); },
     0,
     {"Err.) SDL_mixer error "},
     {},
     {"SDL_AUDIODRIVER", "AUDIODEV=/nonexistent"}},
    {"FontFileAsBmFontWritesIt",
     [](GameProcess& g) {
         WriteFont(g, kCommon + "page id=0 file=\"font.png\"\nchars count=1\n" + kCharA);
     },
     1,
     {"FAIL) Line \"page id=0 file=\"font.png\"\" does not contain enough tokens to be a "
      "character ID\n"},
     {},
     {}},
    {"FontFileOfOneLine",
     [](GameProcess& g) { WriteFont(g, "info face=x\n"); },
     1,
     {"FAIL) Line \"\" does not contain enough tokens to be a commons definition\n"},
     {},
     {}},
    {"FontCommonLineMisnamed",
     [](GameProcess& g) {
         WriteFont(g, "info\nshared lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1\n");
     },
     1,
     {"does not contain magic word 'common' at start. Not commons definition.\n"},
     {},
     {}},
    {"FontCharLineMisnamed",
     [](GameProcess& g) {
         WriteFont(g, kCommon +
                          "glyph id=65 x=0 y=0 width=8 height=12 xoffset=0 yoffset=0 "
                          "xadvance=8 page=0\n");
     },
     1,
     {"FAIL engine\\OruBitmapFont:", "does not contain magic word 'char' at start."},
     {},
     {}},
    {"FontLineOfSpaces",
     [](GameProcess& g) { WriteFont(g, kCommon + kCharA + "    \n"); },
     1,
     {"does not contain enough tokens to be a character ID\n"},
     {},
     {}},
    {"FontKerningAndBlankLinesAreHarmless",
     [](GameProcess& g) {
         WriteFont(g, kCommon + kCharA + "\n" + kCharA + "kerning first=65 second=65 amount=-1\n");
     },
     0,
     {"WARN) Detected blank line.\n",
      "FAIL) Line \"kerning first=65 second=65 amount=-1\" does not contain enough tokens to be "
      "a character ID\n"},
     {"PASS) Startup sequence completed in "},
     {}},
    {"FontImageMissing",
     [](GameProcess& g) {
         OwnSprites(g);
         unlink(In(g, "sprites/font.png").c_str());
     },
     0,
     {"FAIL) Bitmap font bitmap file sprites/font.png not found or unusable\n",
      "FAIL) This font isn't ready to print to. Didn't complete construction\n"},
     {},
     {}},
};

class BadFilesTest : public ::testing::TestWithParam<Damage> {
protected:
    // Plays a little: the title, a round with a shot, then the window close.
    void PlayAndClose() {
        ASSERT_TRUE(game.WaitForWindow(60.0)) << game.Err().substr(0, 2000);
        // Keys count while held, so SPACE is held until play shows (or, with
        // the images gone, for as long as the fade would take).
        game.HoldKeyUntil(
            "space", [&] { return ShowsHud(game.Picture()); }, 8.0);
        game.Click(1, 400, 300);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ASSERT_TRUE(game.Running());
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(30.0), 0) << game.Err().substr(0, 2000);
    }
    GameProcess game;
};

TEST_P(BadFilesTest, ReportsAndRunsOnOrEndsWithStatusOne) {
    const Damage& damage = GetParam();
    damage.prepare(game);
    ASSERT_TRUE(game.Start(damage.environment));
    if (damage.exitStatus == 0) {
        PlayAndClose();
    } else {
        EXPECT_EQ(game.WaitForExit(60.0), damage.exitStatus);
    }
    const std::string err = game.Err();
    const std::string out = game.Out();
    for (const std::string& line : damage.errLines) {
        EXPECT_NE(err.find(line), std::string::npos) << line << "\nin:\n" << err.substr(0, 3000);
    }
    for (const std::string& line : damage.outLines) {
        EXPECT_NE(out.find(line), std::string::npos) << line << "\nin:\n" << out.substr(0, 3000);
    }
    EXPECT_EQ(err.find("AddressSanitizer"), std::string::npos);
    EXPECT_EQ(err.find("runtime error"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(DamagedInstall, BadFilesTest, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
