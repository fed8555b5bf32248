// Frame timing across the clock's edges, the player's own joystick setting
// kept at start-up, and screenshots read back from the BMP file. The window
// is an odd 101 x 60 pixels: its rows are padded both in OpenGL's read-back
// and in the BMP file.
#include "OutputCapture.h"
#include "TestWindow.h"
#include "Video.h"
#include "VirtualPad.h"

#include <SDL_opengl.h>

#include <cstdlib>
#include <tuple>

namespace {

const int kWidth = 101;
const int kHeight = 60;

const uint32_t* readings = nullptr;  // the clock's script, read in turn
uint32_t ScriptedClock() {
    return *readings++;
}

uint32_t Measured(std::initializer_list<uint32_t> script) {
    readings = script.begin();
    SetTickSource(ScriptedClock);
    const float seconds = MeasureFrameTime();
    SetTickSource(nullptr);
    EXPECT_EQ(readings, script.end());  // two readings a call
    return static_cast<uint32_t>(seconds * 1000 + 0.5f);
}

TEST(FrameTime, CountsFromTheSecondReadingOfTheCallBefore) {
    EXPECT_EQ(Measured({2500, 2501}), 2500u);  // the first call counts from 0
    EXPECT_EQ(Measured({2501, 2600}), 0u);     // the same millisecond
    EXPECT_EQ(Measured({2700, 0xFFFFFF00u}), 100u);
    EXPECT_EQ(Measured({0x100, 0x101}), 512u);  // across the 32-bit wrap
}

// The window, opened once, as for a player who reads joysticks raw: SDL
// then lists every joystick by its own axes and buttons.
void OpenVideo() {
    static const bool opened = [] {
        setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "0", 1);
        return InitVideo(kWidth, kHeight) == 0 && InitGl(kWidth, kHeight) == 0;
    }();
    ASSERT_TRUE(opened);
}

// The player's own setting stays, and a joystick short of the layout's axes
// or buttons is no pad: read by the layout's numbers it would be nonsense.
TEST(VideoStart, KeepsThePlayersRawJoysticksOfWhichOnlyThoseWithTheLayoutArePads) {
    OpenVideo();
    for (const auto& [axes, buttons, isPad] :
         {std::tuple<int, int, bool>{5, 15, false}, {6, 14, false}, {6, 15, true}}) {
        VirtualPad joystick(axes, buttons);
        RescanGamePads();
        EXPECT_EQ(GamePadOpen(), isPad) << axes << " axes, " << buttons << " buttons";
        CloseGamePad();
    }
}

TEST(Screenshot, ShowsTheWindowTheRightWayUpWhateverSizeIsPassed) {
    OpenVideo();
    // Top row red, bottom row green, blue between, in window coordinates.
    glClearColor(0, 0, 1, 1);
    ClearScreen();
    glColor3f(1, 0, 0);
    glRecti(0, 0, kWidth, 1);
    glColor3f(0, 1, 0);
    glRecti(0, kHeight - 1, kWidth, kHeight);

    TempDir dir;
    const std::string path = dir.File("screenshot.bmp");
    ASSERT_TRUE(WriteFileBytes(path, "an older file"));
    // The picture is the window's whatever size the caller passes.
    for (const auto& [width, height] : {std::pair<int, int>{3, 2}, {1024, 1024}}) {
        OutputCapture capture;
        SaveScreenshot(path.c_str(), width, height);
        SaveScreenshot(dir.File("no/such/dir/screenshot.bmp").c_str(), width, height);
        EXPECT_EQ(capture.Out() + capture.Err(), "");  // an unwritable place is skipped silently
        const std::string bmp = ReadFileBytes(path);
        ASSERT_GE(bmp.size(), 54u);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        // 101 x 60 pixels, bottom row first, one plane of 24 bits, no compression.
        EXPECT_EQ(bmp.substr(18, 16), std::string("\x65\0\0\0\x3C\0\0\0\x01\0\x18\0\0\0\0\0", 16));
        EXPECT_EQ(bmp.substr(10, 4), std::string("\x36\0\0\0", 4));  // pixels after 54 bytes
        const size_t rowBytes = (kWidth * 3 + 3) / 4 * 4;
        ASSERT_EQ(bmp.size(), 54 + kHeight * rowBytes);
        // Blue, green, red bytes of the pixel at (x, y) from the top.
        const auto pixel = [&](int x, int y) {
            return bmp.substr(54 + (kHeight - 1 - y) * rowBytes + x * 3, 3);
        };
        EXPECT_EQ(pixel(100, 0), std::string("\x00\x00\xFF", 3));
        EXPECT_EQ(pixel(50, 30), std::string("\xFF\x00\x00", 3));
        EXPECT_EQ(pixel(0, 59), std::string("\x00\xFF\x00", 3));
    }
}

}  // namespace
