// Frame timing across the clock's edges, the fixed GL state, and screenshots
// read back from the BMP file.
#include "OutputCapture.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

namespace {

uint32_t fakeNow = 0;
uint32_t FakeClock() { return fakeNow; }
// A clock that moves one millisecond on every reading.
uint32_t TickingClock() { return fakeNow++; }

class FrameTimeTest : public ::testing::Test {
protected:
    void TearDown() override { SetTickSource(nullptr); }
};

TEST_F(FrameTimeTest, FirstCallCountsFromClockStartAndSameMillisecondGivesZero) {
    fakeNow = 2500;
    SetTickSource(FakeClock);
    EXPECT_FLOAT_EQ(MeasureFrameTime(), 2.5f);
    EXPECT_EQ(MeasureFrameTime(), 0.0f);
    EXPECT_EQ(GetTicks(), 2500u);
}

TEST_F(FrameTimeTest, ClockWrapGivesTheTrueSmallDifference) {
    SetTickSource(FakeClock);
    fakeNow = 0xFFFFFF00u;
    MeasureFrameTime();
    fakeNow = 0x00000100u;
    EXPECT_EQ(MeasureFrameTime(), 512 * 0.001f);
}

TEST_F(FrameTimeTest, SecondClockReadingStartsTheNextFrame) {
    SetTickSource(TickingClock);
    fakeNow = 1000;
    MeasureFrameTime();  // reads 1000, keeps 1001
    // Reads 1002: the millisecond between the two readings counts for nobody.
    EXPECT_EQ(MeasureFrameTime(), 0.001f);
}

TEST_F(FrameTimeTest, RealClockRestoredByNull) {
    SetTickSource(FakeClock);
    fakeNow = 7;
    EXPECT_EQ(GetTicks(), 7u);
    SetTickSource(nullptr);
    OpenTestWindow();
    const uint32_t before = SDL_GetTicks();
    EXPECT_GE(GetTicks(), before);
}

TEST(VideoSetUp, WindowIsOpenGlAt640x480WithProjectionMatrixCurrent) {
    OpenTestWindow();
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->w, 640);
    EXPECT_EQ(window->h, 480);
    EXPECT_TRUE(window->flags & SDL_OPENGL);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST(VideoSetUp, CaptionStartsAsEngineNameAndIsReplaced) {
    OpenTestWindow();
    SetCaption("Z.I.B.O. -- Zibonauts");
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Z.I.B.O. -- Zibonauts");
}

TEST(VideoSetUp, AudioOpensOnDummyDriver) {
    OpenTestWindow();
    EXPECT_EQ(InitAudio(44100, 2), 0);
}

// Fills window rows [top, bottom) with a colour without touching textures.
void FillRows(int top, int bottom, float r, float g, float b) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, kTestWindowHeight - bottom, kTestWindowWidth, bottom - top);
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
}

uint32_t ReadLe32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    memcpy(&v, bytes.data() + at, 4);
    return v;
}

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestCanvas();
        FillRows(0, 1, 1, 0, 0);        // top row red
        FillRows(1, 479, 0, 0, 1);      // blue
        FillRows(479, 480, 0, 1, 0);    // bottom row green
    }
    void ExpectPictureRightWayUp(const std::string& path) {
        const std::string bytes = ReadFileBytes(path);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(ReadLe32(bytes, 18), 640u);
        EXPECT_EQ(ReadLe32(bytes, 22), 480u);
        EXPECT_EQ(bytes[28], 24);
        EXPECT_EQ(ReadLe32(bytes, 30), 0u);  // uncompressed
        SDL_Surface* image = SDL_LoadBMP(path.c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->format->BitsPerPixel, 24);
        const auto pixel = [&](int x, int y) {
            const Uint8* p = static_cast<Uint8*>(image->pixels) + y * image->pitch + x * 3;
            Uint32 value = p[0] | (p[1] << 8) | (p[2] << 16);
            Uint8 r, g, b;
            SDL_GetRGB(value, image->format, &r, &g, &b);
            return Rgba{r, g, b, 255};
        };
        EXPECT_TRUE(Near(pixel(10, 0), Rgba{255, 0, 0, 255})) << Describe(pixel(10, 0));
        EXPECT_TRUE(Near(pixel(639, 240), Rgba{0, 0, 255, 255}));
        EXPECT_TRUE(Near(pixel(10, 479), Rgba{0, 255, 0, 255})) << Describe(pixel(10, 479));
        SDL_FreeSurface(image);
    }
    TempDir dir;
};

TEST_F(ScreenshotTest, WritesA640x480TwentyFourBitBmpWithTopRowFirst) {
    OutputCapture capture;
    SaveScreenshot(dir.File("screenshot.bmp").c_str(), 640, 480);
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    ExpectPictureRightWayUp(dir.File("screenshot.bmp"));
}

TEST_F(ScreenshotTest, SizeArgumentsOtherThanTheWindowsCannotOverrun) {
    SaveScreenshot(dir.File("big.bmp").c_str(), 1024, 1024);
    SaveScreenshot(dir.File("small.bmp").c_str(), 3, 2);
    ExpectPictureRightWayUp(dir.File("big.bmp"));
    ExpectPictureRightWayUp(dir.File("small.bmp"));
}

TEST_F(ScreenshotTest, OverwritesAnExistingFile) {
    ASSERT_TRUE(WriteFileBytes(dir.File("screenshot.bmp"), "old contents"));
    SaveScreenshot(dir.File("screenshot.bmp").c_str(), 640, 480);
    ExpectPictureRightWayUp(dir.File("screenshot.bmp"));
}

TEST_F(ScreenshotTest, UnwritablePlaceIsSilentlySkipped) {
    OutputCapture capture;
    SaveScreenshot(dir.File("no/such/dir/screenshot.bmp").c_str(), 640, 480);
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    struct stat info;
    EXPECT_NE(stat(dir.File("no/such/dir/screenshot.bmp").c_str(), &info), 0);
}

}  // namespace
