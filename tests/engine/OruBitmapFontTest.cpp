// The bitmap font against a real OpenGL context: construction and teardown
// messages, readiness, and where text lands on the screen in which colour,
// read back pixel by pixel.
#include "OruBitmapFont.h"
#include "OutputCapture.h"
#include "PngWriter.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kNearBlack{1, 1, 1, 255};
const int kImageSize = 256;

// The test font's image: black background, one cell per glyph.
class FontImage {
public:
    FontImage() : pixels(kImageSize * kImageSize, kBlack) {}
    void Fill(int x, int y, int width, int height, Rgba colour) {
        for (int row = y; row < y + height; ++row) {
            for (int column = x; column < x + width; ++column) {
                pixels[row * kImageSize + column] = colour;
            }
        }
    }
    std::vector<Rgba> pixels;
};

// Glyph cells and metrics (lineHeight 20). The backslash has a cell of its own
// so that drawing it by mistake would show; 'K' is half pure black, half
// nearly black; code 200 tests the upper half of the table; 'G' sits in the
// image's far corner.
const char* const kDefinition =
    "info face=\"Test\" size=16\n"
    "common lineHeight=20 base=16 scaleW=512 scaleH=512 pages=1\n"
    "char id=65 x=0 y=0 width=8 height=16 xoffset=1 yoffset=2 xadvance=10 page=0\n"
    "char id=66 x=16 y=0 width=6 height=12 xoffset=0 yoffset=4 xadvance=7 page=0\n"
    "char id=92 x=32 y=0 width=8 height=8 xoffset=0 yoffset=0 xadvance=9 page=0\n"
    "char id=75 x=48 y=0 width=16 height=16 xoffset=0 yoffset=0 xadvance=16 page=0\n"
    "char id=73 x=64 y=0 width=1 height=4 xoffset=0 yoffset=0 xadvance=1 page=0\n"
    "char id=200 x=72 y=0 width=4 height=4 xoffset=0 yoffset=0 xadvance=5 page=0\n"
    "char id=87 x=80 y=0 width=16 height=16 xoffset=0 yoffset=0 xadvance=16 page=0\n"
    "char id=71 x=240 y=240 width=16 height=16 xoffset=0 yoffset=0 xadvance=16 page=0";

FontImage TestFontImage() {
    FontImage image;
    image.Fill(0, 0, 8, 16, kWhite);       // A
    image.Fill(16, 0, 6, 12, kWhite);      // B
    image.Fill(32, 0, 8, 8, kRed);         // backslash
    image.Fill(56, 0, 8, 16, kNearBlack);  // right half of K
    image.Fill(64, 0, 1, 4, kWhite);       // I
    image.Fill(72, 0, 4, 4, kGreen);       // code 200
    image.Fill(80, 0, 16, 16, kWhite);     // W
    image.Fill(240, 240, 16, 16, kBlue);   // G
    return image;
}

const std::string kNotReady =
    "FAIL) This font isn't ready to print to. Didn't complete construction\n";

class OruBitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestCanvas();
        ASSERT_TRUE(
            WritePngRgb(dir.File("font.png"), kImageSize, kImageSize, TestFontImage().pixels));
        ASSERT_TRUE(WriteFileBytes(dir.File("font.fnt"), kDefinition));
    }
    void TearDown() override {
        glClearColor(0, 0, 0, 0);
        OutputCapture quiet;
        delete font;
    }
    OruBitmapFont* Build(const std::string& image, const std::string& definition) {
        OutputCapture quiet;
        font = new OruBitmapFont(image.c_str(), definition.c_str());
        return font;
    }
    OruBitmapFont* BuildTestFont() { return Build(dir.File("font.png"), dir.File("font.fnt")); }
    void ClearTo(float grey) {
        glClearColor(grey, grey, grey, 1);
        ClearScreen();
    }
    void ExpectPixel(int x, int y, Rgba expected, int tolerance = 3) {
        const Rgba actual = ReadPixel(x, y);
        EXPECT_TRUE(Near(actual, expected, tolerance))
            << "at (" << x << ", " << y << ") got " << Describe(actual) << ", expected "
            << Describe(expected);
    }
    // Every pixel of the rectangle [x, x + width) x [y, y + height).
    void ExpectArea(int x, int y, int width, int height, Rgba expected) {
        int wrong = 0;
        for (int row = y; row < y + height; ++row) {
            for (int column = x; column < x + width; ++column) {
                wrong += Near(ReadPixel(column, row), expected) ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0) << "in " << width << " x " << height << " at (" << x << ", " << y
                            << "), expected " << Describe(expected);
    }
    // A glyph quad exactly at [x, x + width) x [y, y + height): lit inside,
    // background on the four sides just outside.
    void ExpectQuad(int x, int y, int width, int height, Rgba colour) {
        ExpectArea(x, y, width, height, colour);
        ExpectPixel(x - 1, y + height / 2, kBlack);
        ExpectPixel(x + width, y + height / 2, kBlack);
        ExpectPixel(x + width / 2, y - 1, kBlack);
        ExpectPixel(x + width / 2, y + height, kBlack);
    }

    TempDir dir;
    OruBitmapFont* font = nullptr;
};

uint32_t clockReadings[4];
int clockReadingCount = 0;
const int kClockReadings = sizeof(clockReadings) / sizeof(clockReadings[0]);
uint32_t ScriptedClock() {
    const int reading = clockReadingCount < kClockReadings ? clockReadingCount : kClockReadings - 1;
    ++clockReadingCount;
    return clockReadings[reading];
}

TEST_F(OruBitmapFontTest, ConstructionAndTeardownPrintTheirLinesWithTheirMilliseconds) {
    const std::string image = dir.File("font.png");
    const std::string definition = dir.File("font.fnt");
    clockReadings[0] = 1000;
    clockReadings[1] = 1042;
    clockReadings[2] = 5000;
    clockReadings[3] = 5003;
    clockReadingCount = 0;
    SetTickSource(ScriptedClock);
    OutputCapture building;
    OruBitmapFont* built = new OruBitmapFont(image.c_str(), definition.c_str());
    building.Stop();
    OutputCapture emptying;
    delete built;
    emptying.Stop();
    SetTickSource(nullptr);

    EXPECT_EQ(building.Out(), "INFO) Initializing bitmap font load (tga:" + image +
                                  " fnt:" + definition +
                                  ")\n"
                                  "setting lineHeight\nsetting base\nsetting scaleW\n"
                                  "setting scaleH\nignoring pages for now\n"
                                  "PASS) Startup sequence completed in 42 ms using " +
                                  image + ", " + definition + "\n");
    EXPECT_EQ(building.Err(), "");
    EXPECT_EQ(emptying.Out(), "INFO) Emptying bitmap font\nPASS) Bitmap font emptied in 3 ms\n");
    EXPECT_EQ(emptying.Err(), "");
    EXPECT_EQ(clockReadingCount, 4);
}

TEST_F(OruBitmapFontTest, ReadyFontKeepsTheCommonValuesAndWhiteColour) {
    BuildTestFont();
    EXPECT_EQ(font->GetLineHeight(), 20);
    font->DrawText("W", 100, 100);
    ExpectQuad(100, 100, 16, 16, kWhite);
}

TEST_F(OruBitmapFontTest, MissingImageLeavesTheFontNotReadyAndEveryDrawCallSaysSo) {
    // The definition would end the program if it were read.
    ASSERT_TRUE(WriteFileBytes(dir.File("bad.fnt"), "info\n"));
    const std::string image = dir.File("nothere.png");
    OutputCapture capture;
    font = new OruBitmapFont(image.c_str(), dir.File("bad.fnt").c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "INFO) Initializing bitmap font load (tga:" + image +
                                 " fnt:" + dir.File("bad.fnt") + ")\n");
    EXPECT_EQ(capture.Err(), "FAIL) Image file " + image +
                                 " not found\n"
                                 "FAIL) Bitmap font bitmap file " +
                                 image + " not found or unusable\n");

    OutputCapture drawing;
    font->DrawText("A", 100, 100, 1.0f);
    font->DrawText("A", 100, 100);
    font->DrawFormatted(100, 100, "%s", "A");
    font->DrawFormatted(100, 100, 0.5f, "%s", "A");
    font->DrawFormattedRight(100, 100, "%s", "A");
    font->DrawFormattedRight(100, 100, 0.5f, "%s", "A");
    drawing.Stop();
    EXPECT_EQ(drawing.Err(), kNotReady + kNotReady + kNotReady + kNotReady + kNotReady + kNotReady);
    EXPECT_EQ(drawing.Out(), "");
    ExpectArea(90, 90, 30, 30, kBlack);
}

TEST_F(OruBitmapFontTest, MissingOrUnreadableDefinitionLeavesTheFontNotReady) {
    for (const std::string& definition : {dir.File("nothere.fnt"), dir.Path()}) {
        OutputCapture capture;
        OruBitmapFont failed(dir.File("font.png").c_str(), definition.c_str());
        capture.Stop();
        EXPECT_EQ(capture.Err(), "[" + definition +
                                     "] wasn't found\n"
                                     "FAIL) Bitmap font definition file " +
                                     definition + " not found or unusable\n");
        EXPECT_EQ(capture.Out().find("PASS)"), std::string::npos);
        OutputCapture drawing;
        failed.DrawText("A", 10, 10);
        drawing.Stop();
        EXPECT_EQ(drawing.Err(), kNotReady);
    }
}

TEST_F(OruBitmapFontTest, TwoLineDefinitionGivesAReadyFontThatDrawsNothing) {
    ASSERT_TRUE(WriteFileBytes(dir.File("empty.fnt"),
                               "info\ncommon lineHeight=20 base=16 scaleW=256 scaleH=256 pages=1"));
    OutputCapture capture;
    font = new OruBitmapFont(dir.File("font.png").c_str(), dir.File("empty.fnt").c_str());
    capture.Stop();
    EXPECT_EQ(capture.Err(), "");
    OutputCapture drawing;
    font->DrawText("ABW", 100, 100);
    drawing.Stop();
    EXPECT_EQ(drawing.Err(), "");
    ExpectArea(95, 95, 50, 30, kBlack);
}

TEST_F(OruBitmapFontTest, LeftAlignedTextAdvancesThePenByEachGlyph) {
    BuildTestFont();
    font->DrawText("AB", 100, 50);
    ExpectQuad(101, 52, 8, 16, kWhite);  // pen 100 + xoffset 1, y 50 + yoffset 2
    ExpectQuad(110, 54, 6, 12, kWhite);  // pen 100 + xadvance 10
}

TEST_F(OruBitmapFontTest, UndefinedCharactersDrawNothingAndDoNotMoveThePen) {
    BuildTestFont();
    font->DrawText("A?B", 100, 50);
    font->DrawText("", 300, 50);
    ExpectQuad(101, 52, 8, 16, kWhite);
    ExpectQuad(110, 54, 6, 12, kWhite);
    ExpectArea(290, 40, 30, 30, kBlack);
}

TEST_F(OruBitmapFontTest, BackslashBreaksTheLineByLineHeightAndIsNeverDrawn) {
    BuildTestFont();
    font->DrawText("A\\A", 100, 50);
    ExpectQuad(101, 52, 8, 16, kWhite);
    ExpectQuad(101, 72, 8, 16, kWhite);  // same pen x, 20 lower
    ExpectArea(110, 50, 8, 8, kBlack);   // where a drawn backslash would have gone
}

TEST_F(OruBitmapFontTest, RightAlignedTextEndsAtThePenWalkingBackwards) {
    BuildTestFont();
    font->DrawFormattedRight(300, 100, "%s", "AB");
    // B: 300 - width 6 + xoffset 0; A: pen 300 - xadvance 7 = 293, minus
    // width 8, plus xoffset 1, so the two quads touch.
    ExpectArea(294, 104, 6, 12, kWhite);
    ExpectArea(286, 102, 8, 16, kWhite);
    ExpectPixel(300, 110, kBlack);
    ExpectPixel(285, 110, kBlack);
    ExpectPixel(297, 103, kBlack);
    ExpectPixel(297, 116, kBlack);

    font->DrawFormattedRight(300, 200, 0.5f, "%c", 'A');  // one character, same rule
    ExpectPixel(293, 202, Rgba{127, 127, 127, 255}, 2);
    ExpectPixel(300, 202, Rgba{127, 127, 127, 255}, 2);
    ExpectPixel(301, 202, kBlack);
    ExpectPixel(292, 202, kBlack);
}

TEST_F(OruBitmapFontTest, RightAlignedLineBreakPutsTheLastLineOnTop) {
    BuildTestFont();
    font->DrawFormattedRight(400, 300, "A\\B");
    ExpectQuad(394, 304, 6, 12, kWhite);  // B, the last line, at y
    ExpectQuad(393, 322, 8, 16, kWhite);  // A one line height lower, at pen x again
}

TEST_F(OruBitmapFontTest, CharacterCodesAbove127IndexTheTableByTheirByte) {
    BuildTestFont();
    font->DrawText("\xC8\xC8", 10, 300);
    ExpectQuad(10, 300, 4, 4, kGreen);
    ExpectQuad(15, 300, 4, 4, kGreen);
}

TEST_F(OruBitmapFontTest, TextureCoordinatesDivideByTheAssumed256Pixels) {
    // The common line says 512 x 512; the cell at (240, 240) is still the
    // image's last 16 x 16 pixels.
    BuildTestFont();
    font->DrawText("G", 200, 200);
    ExpectQuad(200, 200, 16, 16, kBlue);
}

TEST_F(OruBitmapFontTest, ColourAndAlphaTintTheQuadAndTheColourIsRestoredAfterwards) {
    BuildTestFont();
    font->SetColor(255, 0, 0);
    font->DrawText("W", 100, 100, 0.5f);
    ExpectArea(100, 100, 16, 16, Rgba{128, 0, 0, 255});
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_FLOAT_EQ(current[0], 1.0f);
    EXPECT_FLOAT_EQ(current[1], 1.0f);
    EXPECT_FLOAT_EQ(current[2], 1.0f);
    EXPECT_FLOAT_EQ(current[3], 1.0f);

    font->DrawText("W", 200, 100);  // the colour stays until changed
    ExpectArea(200, 100, 16, 16, kRed);
    font->DrawFormatted(300, 100, 0.25f, "%s", "W");
    ExpectArea(300, 100, 16, 16, Rgba{64, 0, 0, 255});
    font->SetColor(0, 255, 255);
    font->DrawFormatted(400, 100, "W");
    ExpectArea(400, 100, 16, 16, Rgba{0, 255, 255, 255});
}

TEST_F(OruBitmapFontTest, AlphaAboveOneDrawsOpaque) {
    BuildTestFont();
    ClearTo(1.0f);
    font->SetColor(100, 100, 100);
    font->DrawText("W", 100, 100, 2.5f);
    font->DrawFormattedRight(216, 200, 2.5f, "W");
    // Unclamped, 2.5 x 100 - 1.5 x 255 would come out black.
    ExpectArea(100, 100, 16, 16, Rgba{100, 100, 100, 255});
    ExpectArea(200, 200, 16, 16, Rgba{100, 100, 100, 255});
}

TEST_F(OruBitmapFontTest, PureBlackOfTheImageIsTransparentAndNearlyBlackIsNot) {
    BuildTestFont();
    ClearTo(1.0f);
    font->DrawText("K", 100, 100);
    ExpectArea(100, 100, 8, 16, kWhite);
    ExpectArea(108, 100, 8, 16, kNearBlack);
}

TEST_F(OruBitmapFontTest, ImageWithAlphaKeepsItsAlphaAndLosesItsBlack) {
    FontImage image = TestFontImage();
    image.Fill(80, 0, 8, 16, Rgba{255, 255, 255, 128});  // left half of W half transparent
    image.Fill(88, 0, 8, 16, Rgba{0, 0, 0, 255});        // right half opaque black
    ASSERT_TRUE(WritePngRgba(dir.File("alpha.png"), kImageSize, kImageSize, image.pixels));
    Build(dir.File("alpha.png"), dir.File("font.fnt"));
    ClearTo(0.0f);
    font->DrawText("W", 100, 100);
    ExpectArea(100, 100, 8, 16, Rgba{128, 128, 128, 255});
    ClearTo(1.0f);
    font->DrawText("W", 100, 100);
    ExpectArea(108, 100, 8, 16, kWhite);
}

TEST_F(OruBitmapFontTest, FormattedTextIsCutTo255Characters) {
    BuildTestFont();
    const std::string longText(300, 'I');  // each 'I' is one pixel wide
    font->DrawFormatted(0, 400, "%s", longText.c_str());
    ExpectArea(0, 400, 255, 4, kWhite);
    ExpectPixel(255, 401, kBlack);

    font->DrawFormattedRight(639, 420, "%s", longText.c_str());
    ExpectArea(384, 420, 255, 4, kWhite);
    ExpectPixel(383, 421, kBlack);

    font->DrawFormatted(0, 440, 1.0f, "%s%d", longText.c_str(), 7);
    ExpectPixel(254, 441, kWhite);
    ExpectPixel(255, 441, kBlack);
}

}  // namespace
