// The real game played through as a person plays it: its window, a
// screenshot, a round with a shot heard in the sound it plays, the
// statistics, the credits and a clean end; a round played with a pad alone;
// walking by the keys' places on a French keyboard. The game's own tests
// cover every state's window close and the screenshot's details; the
// bad-files test closes the window.
#include "AudioCapture.h"
#include "GamePad.h"
#include "GameProcess.h"
#include "PrivateXServer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// After the test framework, whose names Xlib's macros would clash with.
#include <X11/Xlib.h>
#include <X11/keysym.h>

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

// How many of the picture's pixels below the heading the F12 picture shows
// alike.
int AlikeInScreenshot(const std::string& bmp, const WindowPicture& picture) {
    const WindowPicture shot = ScreenshotPicture(bmp);
    if (shot.Empty() || picture.width != 640) {
        return 0;
    }
    int alike = 0;
    for (int y = kSteadyTop; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            alike += Near(shot.At(x, y), picture.At(x, y), 8) ? 1 : 0;
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

namespace {

// Lines for the pad that the preloaded shim attaches to the game.
class PadCommands {
public:
    // Once the game reads the pipe.
    explicit PadCommands(const std::string& path) {
        WaitUntil([&] { return (fd = open(path.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; });
    }
    ~PadCommands() { close(fd); }
    bool Open() const { return fd >= 0; }
    void Move(PadAxis axis, float value) {
        dprintf(fd, "move %d %g\n", static_cast<int>(axis), value);
    }
    void Press(PadButton button, bool down = true) {
        dprintf(fd, "press %d %d\n", static_cast<int>(button), down ? 1 : 0);
    }

private:
    int fd = -1;
};

// The middle of the picture shows bare floor: the same as 256 pixels to the
// left, one floor tile away, where nothing stands.
bool BareMiddle(const WindowPicture& p) {
    if (p.width != 640) {
        return false;
    }
    for (int y = 224; y < 256; ++y) {
        for (int x = 304; x < 336; ++x) {
            if (!Near(p.At(x, y), p.At(x - 256, y), 0)) {
                return false;
            }
        }
    }
    return true;
}

int Count(const std::string& text, const std::string& line) {
    int count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

// A round begun, aimed, fired, walked, ended and retried by a pad alone. Each
// shot names its sample, made unusable for that.
TEST(PlayThroughTest, APadAloneBeginsAimsFiresWalksEndsAndRetries) {
    GameProcess game;
    game.LinkAssets("sprites");
    game.CopyAssets("sfx");
    for (const char* shot : {"sfx/shot0.wav", "sfx/shot1.wav"}) {
        ASSERT_TRUE(WriteFileBytes(game.File(shot), ""));
    }
    const std::string pipe = game.File("pad");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_TRUE(game.Start({"LD_PRELOAD=" ZIBO_PAD_SHIM, "ZIBO_TEST_PAD=" + pipe}));
    ASSERT_TRUE(game.WaitForWindow()) << game.Err();
    game.Focus();  // SDL reads a pad for the window with the input focus
    PadCommands pad(pipe);
    ASSERT_TRUE(pad.Open());
    pad.Press(PadButton::A);
    ASSERT_TRUE(WaitUntil([&] { return InPlay(game.Picture()); })) << game.Err();
    pad.Press(PadButton::A, false);

    const float aims[3][2] = {{1, 0}, {-1, 0}, {0, -1}};
    WindowPicture shots[3];
    for (int i = 0; i < 3; ++i) {
        pad.Move(PadAxis::RightX, aims[i][0]);
        pad.Move(PadAxis::RightY, aims[i][1]);
        // The world is drawn before play reads the pad: the second picture
        // is the first sure to show it.
        game.Screenshot(game.File("screenshot.bmp"));
        shots[i] = ScreenshotPicture(game.Screenshot(game.File("screenshot.bmp")));
    }
    EXPECT_TRUE(FacesAlong(shots, 0, 1, 0)) << "the player does not face right";
    EXPECT_TRUE(FacesAlong(shots, 1, -1, 0)) << "the player does not face left";
    EXPECT_TRUE(FacesAlong(shots, 2, 0, -1)) << "the player does not face up";

    const auto shotsFired = [&] { return Count(game.Out(), "Sample -1 is out of bounds\n"); };
    pad.Move(PadAxis::RightTrigger, 1);
    EXPECT_TRUE(WaitUntil([&] { return shotsFired() == 1; }));
    game.Screenshot(game.File("screenshot.bmp"));  // frames go by with the trigger held
    pad.Move(PadAxis::RightTrigger, 0);
    pad.Press(PadButton::RightShoulder);
    EXPECT_TRUE(WaitUntil([&] { return shotsFired() == 2; }));
    pad.Press(PadButton::RightShoulder, false);

    pad.Move(PadAxis::LeftX, 1);
    EXPECT_TRUE(WaitUntil([&] { return BareMiddle(game.Picture()); }));
    pad.Move(PadAxis::LeftX, 0);

    // B held ends the round; let go before the statistics screen, which would
    // take it for the way to the credits.
    pad.Press(PadButton::B);
    EXPECT_TRUE(WaitUntil([&] { return !InPlay(game.Picture()); }));
    pad.Press(PadButton::B, false);
    EXPECT_TRUE(WaitUntil([&] { return OnStatistics(game.Picture()); }));
    pad.Press(PadButton::A);
    EXPECT_TRUE(WaitUntil([&] { return InPlay(game.Picture()); }));
    EXPECT_EQ(shotsFired(), 2);
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
}

// On a keyboard whose key in W's place writes Z (a French one), that key
// walks the player up, as do keys by place everywhere; with the layout taken
// into account, as a player may ask, it does not.
TEST(PlayThroughTest, TheKeyInWsPlaceWalksUpWhateverItWrites) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    Display* x = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(x, nullptr);
    KeySym w = XK_w, z = XK_z;
    const KeyCode wPlace = XKeysymToKeycode(x, w), zPlace = XKeysymToKeycode(x, z);
    XChangeKeyboardMapping(x, wPlace, 1, &z, 1);
    XChangeKeyboardMapping(x, zPlace, 1, &w, 1);
    XSync(x, False);
    for (const bool byPlace : {true, false}) {
        GameProcess game(server.Display());
        game.LinkAssets("sprites");
        game.LinkAssets("sfx");
        ASSERT_TRUE(game.Start({"XAUTHORITY", byPlace ? "SDL12COMPAT_USE_KEYBOARD_LAYOUT"
                                                      : "SDL12COMPAT_USE_KEYBOARD_LAYOUT=1"}));
        ASSERT_TRUE(game.WaitForWindow()) << game.Err();
        ASSERT_TRUE(game.HoldKeyUntil("space", [&] { return InPlay(game.Picture()); }));
        ASSERT_FALSE(BareMiddle(game.Picture()));
        EXPECT_EQ(game.HoldKeyUntil(
                      "z", [&] { return BareMiddle(game.Picture()); }, 1.5),
                  byPlace);
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    }
    XCloseDisplay(x);
}
