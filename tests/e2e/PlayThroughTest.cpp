// The real game played through as a person plays it: its window and
// caption, a round, the statistics, the credits, a clean end and its log; a
// pad attached before start-up; walking by the keys' places on a French
// keyboard. The game's own tests cover every state's window close, the
// screenshot, the sounds and each pad control; the bad-files test closes the
// window.
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

#include <cstdio>
#include <regex>
#include <string>

namespace {

bool White(Rgba p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}
// The band's two white lines, edge to edge: title, statistics and credits.
bool ShowsBand(const Picture& p) {
    return p.width == 640 && p.height == 480 && White(p.At(3, 190)) && White(p.At(636, 190)) &&
           White(p.At(3, 291)) && White(p.At(636, 291));
}
// The health bar's red fill: play.
bool ShowsHud(const Picture& p) {
    return p.width == 640 && p.Crop(40, 24, 80, 8).Count([](Rgba q) {
        return q.r > q.g + 60 && q.r > q.b + 60;
    }) > 300;
}
// The statistics' left column of figures, left of anything the title writes.
bool ShowsFigures(const Picture& p) {
    return p.Crop(170, 198, 38, 77).Count(White) > 20;
}
bool OnTitle(const Picture& p) {
    return ShowsBand(p) && !ShowsFigures(p);
}
bool InPlay(const Picture& p) {
    return ShowsHud(p) && !ShowsBand(p);
}
bool OnStatistics(const Picture& p) {
    return ShowsBand(p) && ShowsFigures(p);
}

std::string Digitless(const std::string& text) {
    return std::regex_replace(text, std::regex("[0-9]+ ms"), "N ms");
}

}  // namespace

// Each case that plays by real input has an X server of its own: on a shared
// one, another test's new window may take the focus or lie over this one.
TEST(PlayThroughTest, TitleCaptionPlayStatisticsCreditsAndOut) {
    PrivateXServer server;
    GameProcess game(server.Display());
    ASSERT_TRUE(game.StartWithAssets());
    Picture picture;
    // The title, in a window of 640 x 480.
    ASSERT_TRUE(WaitUntil([&] { return OnTitle(picture = game.Picture()); }))
        << picture.width << " x " << picture.height << "\n"
        << game.Err();
    // The caption as the frames run: the engine gives the window one of its own.
    EXPECT_EQ(game.WaitForCaption(), kGameCaption);

    // Into play, and out through the statistics and the credits with ESC
    // held, SPACE too: with both held ESC decides.
    game.Key("space", true);
    ASSERT_TRUE(WaitUntil([&] { return InPlay(game.Picture()); }));
    game.Key("Escape", true);
    EXPECT_TRUE(WaitUntil([&] { return OnStatistics(game.Picture()); }));
    EXPECT_EQ(game.WaitForExit(), 0);
    game.Key("Escape", false);
    game.Key("space", false);
    EXPECT_EQ(Digitless(game.Out()),
              "Loaded 0 sprites\n"
              "INFO) Initializing bitmap font load (tga:sprites/font.png fnt:sprites/font.fnt)\n"
              "setting lineHeight\nsetting base\nsetting scaleW\nsetting scaleH\n"
              "ignoring pages for now\n"
              "PASS) Startup sequence completed in N ms using sprites/font.png, "
              "sprites/font.fnt\n"
              "Pass) Playing track 0 (The Zibonauts - Zibonauts Theme)\n"
              "INFO) Emptying bitmap font\n"
              "PASS) Bitmap font emptied in N ms\n");
    // The probes for numbered files, which the generated assets do not have.
    EXPECT_EQ(game.Err(),
              "Sorry, sprite sprites/0.png is missing\n"
              "Err.) Can't load sfx/1.ogg... Couldn't open 'sfx/1.ogg'\n"
              "Err.) Music file sfx/1.ogg is missing\n"
              "sfx/0.wav is missing\n");
}

namespace {

// The middle of the picture shows bare floor: the same as 256 pixels to the
// left, one floor tile away, where nothing stands.
bool BareMiddle(const Picture& p) {
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

}  // namespace

// The pad that the preloaded shim attaches before SDL starts is the game's:
// its A begins a round. What each control does is the in-process pad test's.
TEST(PlayThroughTest, APadAttachedBeforeStartUpBeginsARound) {
    PrivateXServer server;
    GameProcess game(server.Display());
    const std::string pipe = game.File("pad");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_TRUE(game.StartWithAssets({"LD_PRELOAD=" ZIBO_PAD_SHIM, "ZIBO_TEST_PAD=" + pipe}));
    game.Focus();  // SDL reads a pad for the window with the input focus
    // Open once the game reads the pipe.
    int pad = -1;
    ASSERT_TRUE(WaitUntil([&] { return (pad = open(pipe.c_str(), O_WRONLY | O_NONBLOCK)) >= 0; }));
    dprintf(pad, "press %d 1\n", static_cast<int>(PadButton::A));
    EXPECT_TRUE(WaitUntil([&] { return InPlay(game.Picture()); })) << game.Err();
    close(pad);
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
}

// On a keyboard whose key in W's place writes Z (a French one), that key
// walks the player up, as do keys by place everywhere; with the layout taken
// into account, as a player may ask, it does not.
TEST(PlayThroughTest, TheKeyInWsPlaceWalksUpWhateverItWrites) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty());
    Display* x = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(x, nullptr);
    KeySym w = XK_w, z = XK_z;
    const KeyCode wPlace = XKeysymToKeycode(x, w), zPlace = XKeysymToKeycode(x, z);
    XChangeKeyboardMapping(x, wPlace, 1, &z, 1);
    XChangeKeyboardMapping(x, zPlace, 1, &w, 1);
    XSync(x, False);
    // With the layout asked for, that key does not walk: held with S, which
    // walks down, it would stand the player still.
    for (const bool byPlace : {true, false}) {
        GameProcess game(server.Display());
        ASSERT_TRUE(
            game.StartWithAssets({"XAUTHORITY", byPlace ? "SDL12COMPAT_USE_KEYBOARD_LAYOUT"
                                                        : "SDL12COMPAT_USE_KEYBOARD_LAYOUT=1"}));
        ASSERT_TRUE(game.HoldKeyUntil("space", [&] { return InPlay(game.Picture()); }));
        ASSERT_FALSE(BareMiddle(game.Picture()));
        game.Key("z", !byPlace);
        EXPECT_TRUE(game.HoldKeyUntil(byPlace ? "z" : "s", [&] {
            return BareMiddle(game.Picture());
        })) << (byPlace ? "by its place" : "by the layout");
        game.Key("z", false);
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    }
    XCloseDisplay(x);
}
