// The sprite store against a real OpenGL context: loading messages, and what
// a draw puts on the screen.
#include "NumberedPath.h"
#include "OutputCapture.h"
#include "SpriteManager.h"
#include "TestWindow.h"

namespace {

// The numbered paths of all three stores: whole when they fit the buffer,
// terminator included, and cut (still terminated) when they do not.
TEST(NumberedPath, FitsItsBufferOrIsReportedCut) {
    char path[12];
    EXPECT_TRUE(FormatNumberedPath(path, sizeof(path), "sprites", 12, ""));  // "sprites/12."
    EXPECT_FALSE(FormatNumberedPath(path, sizeof(path), "sprites", 123, ""));
    EXPECT_STREQ(path, "sprites/123");
}

// A store made before any window is open, as these cases run in order:
// without an OpenGL context the image still takes its index, and nothing
// is uploaded that could crash the program.
TEST(SpriteManagerWithoutAWindow, LoadsItsImagesAndUploadsNothing) {
    TempDir dir;
    ASSERT_TRUE(WriteSolidPng(dir.File("red.png"), 4, 4, kRed));
    OutputCapture quiet;
    SpriteManager sprites(dir.Path().c_str());
    EXPECT_EQ(sprites.LoadSprite(dir.File("red.png").c_str()), 0);
}

class SpriteManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestCanvas();
        OutputCapture quiet;
        sprites = new SpriteManager(dir.Path().c_str());
        sprites->SetViewSize(640, 480);
        ASSERT_TRUE(WriteSolidPng(dir.File("red.png"), 4, 4, kRed));
        red = sprites->LoadSprite(dir.File("red.png").c_str());
    }
    void TearDown() override { delete sprites; }

    TempDir dir;
    SpriteManager* sprites = nullptr;
    int32_t red = -1;
};

TEST_F(SpriteManagerTest, NumberedImagesStopAtTheFirstGapAndLoadsCountOn) {
    for (const char* name : {"0.png", "1.png", "2.png", "3.png", "4.png", "6.png"}) {
        ASSERT_TRUE(WriteSolidPng(dir.File(name), 4, 4, kRed));
    }
    ASSERT_TRUE(WriteFileBytes(dir.File("junk.png"), "not a picture"));
    OutputCapture capture;
    SpriteManager numbered(dir.Path().c_str());
    EXPECT_EQ(numbered.LoadSprite(dir.File("6.png").c_str()), 5);
    EXPECT_EQ(numbered.LoadSprite(dir.File("junk.png").c_str()), -1);
    EXPECT_EQ(numbered.LoadSprite(dir.File("0.png").c_str()), 6);  // a failure used no index
    SpriteManager tooLong(std::string(250, 'd').c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "Loaded 5 sprites\nLoaded 0 sprites\n");
    EXPECT_EQ(capture.Err(), "Sorry, sprite " + dir.File("5.png") + " is missing\nSorry, sprite " +
                                 dir.File("junk.png") + " is missing\nSorry, sprite " +
                                 std::string(199, 'd') + " is missing\n");  // cut to its buffer
    numbered.Clear();
    EXPECT_EQ(numbered.GetSpriteCount(), 0);
}

TEST_F(SpriteManagerTest, ImageIsUprightAndTurnsCounterClockwise) {
    // Quadrants red, green / blue, white, 16 x 16.
    std::vector<Rgba> pixels;
    for (int i = 0; i < 256; ++i) {
        pixels.push_back(i < 128 ? (i % 16 < 8 ? kRed : kGreen) : (i % 16 < 8 ? kBlue : kWhite));
    }
    ASSERT_TRUE(WritePngRgba(dir.File("quadrants.png"), 16, 16, pixels));
    const int32_t quadrants = sprites->LoadSprite(dir.File("quadrants.png").c_str());
    sprites->DrawSprite(quadrants, 100, 100, 64, 64, 0.0f);
    sprites->DrawSprite(quadrants, 300, 100, 64, 64, 90.0f);
    EXPECT_TRUE(PixelIs(110, 110, kRed));  // upright
    EXPECT_TRUE(PixelIs(150, 110, kGreen));
    EXPECT_TRUE(PixelIs(310, 150, kRed));  // its top-left corner at the bottom left
    EXPECT_TRUE(PixelIs(310, 110, kGreen));
}

// Over white: alpha is kept, an image without alpha is opaque whatever its
// pixels, and a palette's transparent entry shows what lies beneath.
TEST_F(SpriteManagerTest, EachImageFormatKeepsItsTransparency) {
    ASSERT_TRUE(WriteSolidPng(dir.File("white.png"), 4, 4, kWhite));
    ASSERT_TRUE(WriteSolidPng(dir.File("half.png"), 8, 8, Rgba{255, 0, 0, 128}));
    ASSERT_TRUE(WritePngRgb(dir.File("rgb.png"), 8, 8, std::vector<Rgba>(64, Rgba{0, 255, 0, 0})));
    std::vector<uint8_t> halves(16 * 16);  // left half entry 0, the transparent one
    for (size_t i = 0; i < halves.size(); ++i) {
        halves[i] = i % 16 < 8 ? 0 : 1;
    }
    ASSERT_TRUE(
        WritePngPalette(dir.File("keyed.png"), 16, 16, halves, {Rgba{255, 0, 255, 255}, kBlue}, 0));
    sprites->DrawSprite(sprites->LoadSprite(dir.File("white.png").c_str()), 0, 0, 400, 100);
    sprites->DrawSprite(sprites->LoadSprite(dir.File("half.png").c_str()), 10, 10, 40, 40);
    sprites->DrawSprite(sprites->LoadSprite(dir.File("rgb.png").c_str()), 100, 10, 40, 40);
    sprites->DrawSprite(sprites->LoadSprite(dir.File("keyed.png").c_str()), 200, 10, 80, 80);
    EXPECT_TRUE(PixelIs(30, 30, Rgba{255, 127, 127, 255}, 4));
    EXPECT_TRUE(PixelIs(120, 30, kGreen));
    EXPECT_TRUE(PixelIs(210, 50, kWhite));
    EXPECT_TRUE(PixelIs(270, 50, kBlue));
}

TEST_F(SpriteManagerTest, BadIndexPrintsBothLinesUnlessCulledAndDrawsNothing) {
    OutputCapture capture;
    sprites->DrawSprite(-1, 10, 20, 8, 8);
    sprites->DrawSprite(1, SpriteManager::kCentreSentinel, SpriteManager::kCentreSentinel, 8, 8);
    EXPECT_EQ(sprites->GetTexture(5), nullptr);
    capture.Stop();
    EXPECT_EQ(capture.Out() + "|" + capture.Err(),  // nothing on standard output
              "|Requested sprite -1 is out of bounds\n"
              "FAIL) Requested dead sprite -1 to be drawn at (10,20)\n"
              "Requested sprite 1 is out of bounds\n"
              "FAIL) Requested dead sprite 1 to be drawn at (320,240)\n"
              "Requested sprite 5 is out of bounds\n");
    // The matrix is as it was: a good sprite lands where it should.
    sprites->DrawSprite(red, 10, 20, 8, 8);
    EXPECT_EQ(ReadCanvas(10, 20, 8, 8).Count(kRed), 64);
    EXPECT_EQ(ReadCanvas(0, 0, 640, 480).Count(kBlack), 640 * 480 - 64);
    sprites->SetViewSize(200, 100);
    // x, y, and 1 where a rectangle of 10 x 20 passes culling: a bad index
    // reports only when it does.
    const int kCases[] = {-10, 0,   1, -11, 0,   0, 199, 0,  1, 200, 0,   0,
                          0,   -20, 1, 0,   -21, 0, 0,   99, 1, 0,   100, 0};
    for (size_t i = 0; i < sizeof(kCases) / sizeof(kCases[0]); i += 3) {
        OutputCapture capture;
        sprites->DrawSprite(99, kCases[i], kCases[i + 1], 10, 20);
        EXPECT_EQ(!capture.Err().empty(), kCases[i + 2] == 1) << kCases[i] << ", " << kCases[i + 1];
    }
}

}  // namespace
