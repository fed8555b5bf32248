// The real game played through once, as a person plays it: its window, a
// screenshot, a round with a shot heard in the sound it plays, the
// statistics, the credits and a clean end. The game's own tests cover every
// state's window close and the screenshot's details; the bad-files test
// closes the window.
#include "AudioCapture.h"
#include "GameProcess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

namespace {

bool White(Rgba p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}
// The band's two white lines, edge to edge: title, statistics and credits.
bool ShowsBand(const WindowPicture& p) {
    return p.width == 640 && p.height == 480 && White(p.At(3, 190)) && White(p.At(636, 190)) &&
           White(p.At(3, 291)) && White(p.At(636, 291));
}
// The health bar's red fill: play.
bool ShowsHud(const WindowPicture& p) {
    return p.width == 640 &&
           p.Count(40, 24, 120, 32, [](Rgba q) { return q.r > q.g + 60 && q.r > q.b + 60; }) > 300;
}
// The statistics' left column of figures, left of anything the title writes.
bool ShowsFigures(const WindowPicture& p) {
    return p.Count(170, 198, 208, 275, White) > 20;
}
bool OnTitle(const WindowPicture& p) {
    return ShowsBand(p) && !ShowsFigures(p);
}
bool InPlay(const WindowPicture& p) {
    return ShowsHud(p) && !ShowsBand(p);
}
bool OnStatistics(const WindowPicture& p) {
    return ShowsBand(p) && ShowsFigures(p);
}

// Below the heading, whose echoes drift from frame to frame.
const int kSteadyTop = 90;
const int kSteadyPixels = 640 * (480 - kSteadyTop);

// How many of the picture's pixels below the heading the BMP (24-bit, rows
// bottom first, blue-green-red) shows alike.
int AlikeInScreenshot(const std::string& bmp, const WindowPicture& picture) {
    if (bmp.size() != kScreenshotBytes || picture.width != 640) {
        return 0;
    }
    int alike = 0;
    for (int y = kSteadyTop; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const size_t at = kBmpHeader + (479 - y) * kBmpRowBytes + x * 3;
            const Rgba shot{static_cast<uint8_t>(bmp[at + 2]), static_cast<uint8_t>(bmp[at + 1]),
                            static_cast<uint8_t>(bmp[at]), 255};
            alike += Near(shot, picture.At(x, y), 8) ? 1 : 0;
        }
    }
    return alike;
}

std::string Digitless(const std::string& text) {
    return std::regex_replace(text, std::regex("[0-9]+ ms"), "N ms");
}

}  // namespace

TEST(PlayThroughTest, TitleScreenshotPlayShotStatisticsCreditsAndOut) {
    GameProcess game;
    game.LinkAssets("sprites");
    // The effects, and a quiet tone for the music, so that the shot is all
    // that is loud.
    ASSERT_EQ(mkdir(game.File("sfx").c_str(), 0755), 0);
    for (const char* name : {"man0", "man1", "man2", "man0_slow", "man1_slow", "man2_slow", "shot0",
                             "shot1", "shot0_slow", "shot1_slow", "cat0", "cat0_slow"}) {
        const std::string file = "sfx/" + std::string(name) + ".wav";
        ASSERT_EQ(symlink((ZIBO_BUILD_DIR "/" + file).c_str(), game.File(file).c_str()), 0);
    }
    const double kToneHz = 440;
    ASSERT_TRUE(WriteFileBytes(
        game.File("sfx/0.ogg"),
        ToneOgg(kToneHz, 2.0, 0.02) + MakeId3v1Block({"Tone", "Tester", "", "", "", 0})));
    const std::string capture = game.File("sound.pcm");
    ASSERT_TRUE(game.Start({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + capture}));
    ASSERT_TRUE(game.WaitForWindow()) << game.Err();
    WindowPicture picture;
    // The title, in a window of 640 x 480.
    ASSERT_TRUE(WaitUntil([&] { return OnTitle(picture = game.Picture()); }))
        << picture.width << " x " << picture.height << "\n"
        << game.Err();

    // The caption as the frames run: the engine gives the window one of its own.
    EXPECT_EQ(game.WaitForCaption(), kGameCaption);

    // F12's picture matched against the window, tried again should the
    // window have moved on meanwhile.
    int alike = 0;
    WaitUntil([&] {
        alike = AlikeInScreenshot(game.Screenshot(game.File("screenshot.bmp")), game.Picture());
        return alike > kSteadyPixels * 99 / 100;
    });
    EXPECT_GT(alike, kSteadyPixels * 99 / 100);

    // Into play, a shot, and out through the statistics and the credits with
    // ESC held, SPACE too: with both held ESC decides.
    game.Key("space", true);
    ASSERT_TRUE(WaitUntil([&] { return InPlay(game.Picture()); }));
    // The game runs for four more seconds after the shot, sounding all along.
    const size_t clickAt = ReadFileBytes(capture).size() / 2;
    game.Click(500, 200);
    game.Key("Escape", true);
    EXPECT_TRUE(WaitUntil([&] { return OnStatistics(game.Picture()); }));
    EXPECT_EQ(game.WaitForExit(15.0), 0);
    game.Key("Escape", false);
    game.Key("space", false);

    // The music's tone, and nothing loud, until the shot.
    const std::string pcm = ReadFileBytes(capture);
    std::vector<int16_t> samples(pcm.size() / 2);
    memcpy(samples.data(), pcm.data(), samples.size() * 2);
    const size_t kHalfSecond = kAudioFrequency / 2 * kAudioChannels;
    ASSERT_GT(samples.size(), clickAt + 4 * kHalfSecond);
    const auto peak = [&](size_t first, size_t end) {
        int level = 0;
        for (size_t i = first; i < end; ++i) {
            level = std::max(level, std::abs(static_cast<int>(samples[i])));
        }
        return level;
    };
    const std::vector<int16_t> lastHalfSecond(samples.begin() + clickAt - kHalfSecond,
                                              samples.begin() + clickAt);
    EXPECT_NEAR(Loudest(ToneLevels(lastHalfSecond, kToneHz, kAudioFrequency / 2)), 0.02 * 32767,
                100);
    EXPECT_LT(peak(0, clickAt), 1000);
    EXPECT_GT(peak(clickAt, samples.size()), 8000);

    EXPECT_EQ(Digitless(game.Out()),
              "Loaded 0 sprites\n"
              "INFO) Initializing bitmap font load (tga:sprites/font.png fnt:sprites/font.fnt)\n"
              "setting lineHeight\nsetting base\nsetting scaleW\nsetting scaleH\n"
              "ignoring pages for now\n"
              "PASS) Startup sequence completed in N ms using sprites/font.png, "
              "sprites/font.fnt\n"
              "Pass) Playing track 0 (Tester - Tone)\n"
              "INFO) Emptying bitmap font\n"
              "PASS) Bitmap font emptied in N ms\n");
    // SDL's own warnings about the disk audio driver aside.
    EXPECT_EQ(std::regex_replace(game.Err(), std::regex("CRITICAL:.*\n"), ""),
              "Sorry, sprite sprites/0.png is missing\n"
              "Err.) Can't load sfx/1.ogg... Couldn't open 'sfx/1.ogg'\n"
              "Err.) Music file sfx/1.ogg is missing\n"
              "sfx/0.wav is missing\n");
}
