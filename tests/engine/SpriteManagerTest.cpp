// The sprite store against a real OpenGL context: loading messages, and what
// a draw puts on the screen, read back pixel by pixel.
#include "OutputCapture.h"
#include "PngWriter.h"
#include "SpriteManager.h"
#include "TestWindow.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kBlack{0, 0, 0, 255};

class SpriteManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestCanvas();
        OutputCapture quiet;
        sprites = new SpriteManager(dir.Path().c_str());
        sprites->SetViewSize(640, 480);
    }
    void TearDown() override { delete sprites; }

    int32_t Load(const std::string& name) { return sprites->LoadSprite(dir.File(name).c_str()); }
    int32_t LoadSolid(const std::string& name, Rgba colour, int w = 8, int h = 8) {
        EXPECT_TRUE(WriteSolidPng(dir.File(name), w, h, colour));
        return Load(name);
    }
    // A 16 x 16 image whose quadrants are red (top left), green (top right),
    // blue (bottom left) and white (bottom right).
    int32_t LoadQuadrants() {
        std::vector<Rgba> pixels(16 * 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                pixels[y * 16 + x] = y < 8 ? (x < 8 ? kRed : kGreen) : (x < 8 ? kBlue : kWhite);
            }
        }
        EXPECT_TRUE(WritePngRgba(dir.File("quadrants.png"), 16, 16, pixels));
        return Load("quadrants.png");
    }
    void ExpectPixel(int x, int y, Rgba expected, int tolerance = 3) {
        const Rgba actual = ReadPixel(x, y);
        EXPECT_TRUE(Near(actual, expected, tolerance))
            << "at (" << x << ", " << y << ") got " << Describe(actual) << ", expected "
            << Describe(expected);
    }

    TempDir dir;
    SpriteManager* sprites = nullptr;
};

TEST(SpriteManagerLoading, NumberedImagesStopAtTheFirstGap) {
    ResetTestCanvas();
    TempDir dir;
    for (int n : {0, 1, 2, 3, 4, 6}) {
        ASSERT_TRUE(WriteSolidPng(dir.File(std::to_string(n) + ".png"), 4, 4, kRed));
    }
    OutputCapture capture;
    SpriteManager sprites(dir.Path().c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "Loaded 5 sprites\n");
    EXPECT_EQ(capture.Err(), "Sorry, sprite " + dir.File("5.png") + " is missing\n");
    EXPECT_EQ(sprites.GetSpriteCount(), 5);
    EXPECT_EQ(sprites.GetViewWidth(), 100000);
    EXPECT_EQ(sprites.GetViewHeight(), 100000);
}

TEST(SpriteManagerLoading, EmptyDirectoryThenNamedLoadsCountFromZero) {
    ResetTestCanvas();
    TempDir dir;
    ASSERT_TRUE(WriteSolidPng(dir.File("a.png"), 4, 4, kRed));
    ASSERT_TRUE(WriteSolidPng(dir.File("b.png"), 4, 4, kRed));
    OutputCapture capture;
    SpriteManager sprites(dir.Path().c_str());
    const int32_t a = sprites.LoadSprite(dir.File("a.png").c_str());
    const int32_t missing = sprites.LoadSprite(dir.File("nothere.png").c_str());
    const int32_t b = sprites.LoadSprite(dir.File("b.png").c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "Loaded 0 sprites\n");
    EXPECT_EQ(capture.Err(), "Sorry, sprite " + dir.File("0.png") + " is missing\nSorry, sprite " +
                                 dir.File("nothere.png") + " is missing\n");
    EXPECT_EQ(a, 0);
    EXPECT_EQ(missing, -1);
    EXPECT_EQ(b, 1);  // a failed load uses up no index
    sprites.Clear();
    EXPECT_EQ(sprites.GetSpriteCount(), 0);
}

TEST(SpriteManagerLoading, DirectoryTooLongForThePathBufferLoadsNothing) {
    ResetTestCanvas();
    const std::string longName(250, 'd');
    OutputCapture capture;
    SpriteManager sprites(longName.c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "Loaded 0 sprites\n");
    EXPECT_EQ(capture.Err().rfind("Sorry, sprite ddd", 0), 0u) << capture.Err();
    EXPECT_LT(capture.Err().size(), 240u);  // the path is cut at the buffer's size
    EXPECT_EQ(sprites.GetSpriteCount(), 0);
}

TEST(SpriteManagerLoading, NotAnImageIsMissing) {
    ResetTestCanvas();
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.File("junk.png"), "this is not a picture"));
    ASSERT_TRUE(WriteFileBytes(dir.File("empty.png"), ""));
    OutputCapture capture;
    SpriteManager sprites(dir.Path().c_str());
    EXPECT_EQ(sprites.LoadSprite(dir.File("junk.png").c_str()), -1);
    EXPECT_EQ(sprites.LoadSprite(dir.File("empty.png").c_str()), -1);
    EXPECT_EQ(sprites.LoadSprite(dir.Path().c_str()), -1);  // a directory
    capture.Stop();
    EXPECT_NE(capture.Err().find("Sorry, sprite " + dir.File("junk.png") + " is missing\n"),
              std::string::npos);
    EXPECT_NE(capture.Err().find("Sorry, sprite " + dir.File("empty.png") + " is missing\n"),
              std::string::npos);
}

TEST_F(SpriteManagerTest, DrawsStretchedOverTheRectangleAtItsCorner) {
    const int32_t red = LoadSolid("red.png", kRed, 4, 4);
    sprites->DrawSprite(red, 100, 50, 32, 32);
    ExpectPixel(100, 50, kRed);
    ExpectPixel(131, 81, kRed);
    ExpectPixel(99, 50, kBlack);
    ExpectPixel(132, 60, kBlack);
    ExpectPixel(110, 49, kBlack);
    ExpectPixel(110, 82, kBlack);
}

TEST_F(SpriteManagerTest, CentreSentinelPutsTheCornerAtTheViewCentre) {
    const int32_t red = LoadSolid("red.png", kRed);
    sprites->DrawSprite(red, SpriteManager::kCentreSentinel, SpriteManager::kCentreSentinel, 10, 10);
    ExpectPixel(320, 240, kRed);
    ExpectPixel(329, 249, kRed);
    ExpectPixel(319, 240, kBlack);
    ExpectPixel(320, 239, kBlack);
}

TEST_F(SpriteManagerTest, OddWidthDrawsOnePixelNarrowerAroundTheHalvedCentre) {
    const int32_t red = LoadSolid("red.png", kRed);
    sprites->DrawSprite(red, 100, 100, 33, 32);
    ExpectPixel(100, 110, kRed);
    ExpectPixel(131, 110, kRed);
    ExpectPixel(132, 110, kBlack);
}

TEST_F(SpriteManagerTest, CullingBoundariesAreTestedBeforeTheTextureLookup) {
    // A bad index reports only when the rectangle passes culling.
    const auto messagesFor = [&](int x, int y) {
        OutputCapture capture;
        sprites->DrawSprite(99, x, y, 10, 20);
        capture.Stop();
        return capture.Err();
    };
    EXPECT_NE(messagesFor(-10, 0), "");   // x = -width passes
    EXPECT_EQ(messagesFor(-11, 0), "");
    EXPECT_EQ(messagesFor(640, 0), "");   // x = viewWidth is culled
    EXPECT_NE(messagesFor(639, 0), "");
    EXPECT_NE(messagesFor(0, -20), "");   // y = -height passes
    EXPECT_EQ(messagesFor(0, -21), "");
    EXPECT_EQ(messagesFor(0, 480), "");
    EXPECT_NE(messagesFor(0, 479), "");
}

TEST_F(SpriteManagerTest, CulledAgainstTheViewNotTheWindow) {
    const int32_t red = LoadSolid("red.png", kRed);
    sprites->SetViewSize(200, 200);
    sprites->DrawSprite(red, 199, 10, 10, 10);
    sprites->DrawSprite(red, 200, 50, 10, 10);
    ExpectPixel(204, 15, kRed);
    ExpectPixel(204, 55, kBlack);
}

TEST_F(SpriteManagerTest, NonPowerOfTwoImageFillsTheWholeRectangle) {
    std::vector<Rgba> pixels(100 * 50);
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 100; ++x) {
            pixels[y * 100 + x] = x < 50 ? kRed : kBlue;
        }
    }
    ASSERT_TRUE(WritePngRgb(dir.File("wide.png"), 100, 50, pixels));
    const int32_t wide = Load("wide.png");
    sprites->DrawSprite(wide, 200, 100, 200, 100);
    ExpectPixel(205, 150, kRed, 8);
    ExpectPixel(290, 105, kRed, 8);
    ExpectPixel(310, 195, kBlue, 8);
    ExpectPixel(394, 150, kBlue, 8);
    ExpectPixel(199, 150, kBlack);
    ExpectPixel(400, 150, kBlack);
}

TEST_F(SpriteManagerTest, AngleZeroIsUprightAndNinetyTurnsCounterClockwise) {
    const int32_t quadrants = LoadQuadrants();
    sprites->DrawSprite(quadrants, 100, 100, 64, 64, 0.0f);
    ExpectPixel(110, 110, kRed);
    ExpectPixel(150, 110, kGreen);
    ExpectPixel(110, 150, kBlue);
    ExpectPixel(150, 150, kWhite);

    sprites->DrawSprite(quadrants, 300, 100, 64, 64, 90.0f);
    // The image's top-left corner is now at the bottom left.
    ExpectPixel(310, 150, kRed);
    ExpectPixel(310, 110, kGreen);
    ExpectPixel(350, 150, kBlue);
    ExpectPixel(350, 110, kWhite);
}

TEST_F(SpriteManagerTest, AlphaIsKeptAndImagesWithoutAlphaAreOpaque) {
    ASSERT_TRUE(WriteSolidPng(dir.File("half.png"), 8, 8, Rgba{255, 0, 0, 128}));
    ASSERT_TRUE(WritePngRgb(dir.File("opaque.png"), 8, 8,
                            std::vector<Rgba>(64, Rgba{0, 255, 0, 0})));
    const int32_t white = LoadSolid("white.png", kWhite);
    const int32_t half = Load("half.png");
    const int32_t opaque = Load("opaque.png");
    sprites->DrawSprite(white, 0, 0, 200, 100);
    sprites->DrawSprite(half, 10, 10, 40, 40);
    sprites->DrawSprite(opaque, 100, 10, 40, 40);
    ExpectPixel(30, 30, Rgba{255, 127, 127, 255}, 4);
    ExpectPixel(120, 30, kGreen);
}

TEST_F(SpriteManagerTest, ColourKeyedPixelsAreTransparent) {
    // Left half palette entry 0 (transparent), right half entry 1 (blue).
    std::vector<uint8_t> indices(16 * 16);
    for (int i = 0; i < 256; ++i) {
        indices[i] = (i % 16) < 8 ? 0 : 1;
    }
    ASSERT_TRUE(WritePngPalette(dir.File("keyed.png"), 16, 16, indices,
                                {Rgba{255, 0, 255, 255}, kBlue}, 0));
    const int32_t white = LoadSolid("white.png", kWhite);
    const int32_t keyed = Load("keyed.png");
    ASSERT_GE(keyed, 0);
    sprites->DrawSprite(white, 0, 0, 200, 200);
    sprites->DrawSprite(keyed, 20, 20, 160, 160);
    ExpectPixel(40, 100, kWhite);
    ExpectPixel(160, 100, kBlue);
}

TEST_F(SpriteManagerTest, TintedByTheCurrentColour) {
    const int32_t white = LoadSolid("white.png", kWhite);
    glColor4f(1, 0, 0, 0.5f);
    sprites->DrawSprite(white, 0, 0, 50, 50);
    glColor4f(1, 1, 1, 1);
    ExpectPixel(25, 25, Rgba{128, 0, 0, 255}, 4);
}

TEST_F(SpriteManagerTest, BadIndexPrintsBothLinesAndLeavesTheProjectionAlone) {
    LoadSolid("red.png", kRed);
    GLfloat before[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);
    OutputCapture capture;
    sprites->DrawSprite(-1, 10, 20, 8, 8);
    sprites->DrawSprite(1, SpriteManager::kCentreSentinel, SpriteManager::kCentreSentinel, 8, 8);
    capture.Stop();
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(capture.Err(),
              "Requested sprite -1 is out of bounds\n"
              "FAIL) Requested dead sprite -1 to be drawn at (10,20)\n"
              "Requested sprite 1 is out of bounds\n"
              "FAIL) Requested dead sprite 1 to be drawn at (320,240)\n");
    EXPECT_EQ(capture.Out(), "");
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[i], after[i]);
    }
    ExpectPixel(12, 22, kBlack);
}

TEST_F(SpriteManagerTest, GetTextureReportsBadIndices) {
    const int32_t red = LoadSolid("red.png", kRed);
    EXPECT_NE(sprites->GetTexture(red), nullptr);
    OutputCapture capture;
    EXPECT_EQ(sprites->GetTexture(5), nullptr);
    capture.Stop();
    EXPECT_EQ(capture.Err(), "Requested sprite 5 is out of bounds\n");
}

}  // namespace
