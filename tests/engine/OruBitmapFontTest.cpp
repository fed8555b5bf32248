// The bitmap font. Its definition reader: one table of texts read in-process,
// each with its verdict, its messages on both streams, the common values and
// the whole glyph table it leaves (the bad-files test sees a malformed file
// end the program). Then against a real OpenGL context: construction and teardown
// messages, readiness, and where text lands on the screen in which colour.
#include "OruBitmapFont.h"
#include "OutputCapture.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <regex>

bool operator==(const Glyph& a, const Glyph& b) {
    return memcmp(&a, &b, sizeof(Glyph)) == 0;
}

namespace {

const std::string kInfo = "info face=\"Test\" size=16\n";
const std::string kCommon = "common lineHeight=16 base=12 scaleW=256 scaleH=128 pages=1\n";
const std::string kCharA =
    "char id=65 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7 page=8\n";
const std::string kCharB =
    "char id=66 x=11 y=12 width=13 height=14 xoffset=15 yoffset=16 xadvance=17 page=18\n";
const std::string kTooMany = "FAIL) Too many tokens in this line.\n";
const std::string kBlank = "WARN) Detected blank line.\n";
const std::string kCommonLines =
    "setting lineHeight\nsetting base\nsetting scaleW\nsetting scaleH\nignoring pages for now\n";
using Common = std::array<int32_t, 4>;  // lineHeight, base, scaleW, scaleH
const Common kStandard{16, 12, 256, 128};
const Common kUnread{0, 0, 0, 0};  // a malformed common line sets nothing
const DefinitionVerdict kComplete = DefinitionVerdict::Complete;
const DefinitionVerdict kMalformed = DefinitionVerdict::Malformed;

// Values in the order the file gives them.
Glyph G(int id, int x, int y, int width, int height, int xoffset, int yoffset, int xadvance,
        int page) {
    return Glyph{x, y, width, height, xadvance, id, page, xoffset, yoffset};
}
const Glyph kA = G(65, 1, 2, 3, 4, 5, 6, 7, 8);
const Glyph kB = G(66, 11, 12, 13, 14, 15, 16, 17, 18);

// A char line and its glyph with every value v.
std::string Char(int id, int v) {
    const std::string value = " v=" + std::to_string(v);  // the keys are not read
    return "char id=" + std::to_string(id) + value + value + value + value + value + value + value +
           value + "\n";
}
Glyph Same(int id, int v) {
    return G(id, v, v, v, v, v, v, v, v);
}
std::string NoLineFeed(const std::string& line) {
    return line.substr(0, line.size() - 1);
}

std::string NotEnough(const std::string& line, const std::string& kind = "a character ID") {
    return "FAIL) Line \"" + line + "\" does not contain enough tokens to be " + kind + "\n";
}
// The message names the source line of the check that fails, which the
// test leaves to the source.
std::string NotChar(const std::string& line) {
    return "FAIL engine\\OruBitmapFont:N) Line \"" + line +
           "\" does not contain magic word 'char' at start. Not character id.\n";
}

TEST(FontDefinition, EachTextGivesItsVerdictMessagesAndGlyphs) {
    const std::string page = "page id=0 file=\"font.png\"";
    const std::string kerning = "kerning first=65 second=66 amount=-1";
    const std::string tab = "char\tid=65 a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8";
    const std::string eight = kCharA.substr(0, kCharA.find(" xadvance"));  // eight tokens
    std::string exact = NoLineFeed(Char(67, 7));
    exact += std::string(199 - exact.size(), ' ');
    std::string cut = "char id=68 x=11 y=12 width=13 height=14 xoffset=15 yoffset=16 xadvance=17";
    cut += std::string(193 - cut.size(), ' ') + "page=123456789";  // cut after "page=1"
    const std::string huge = NoLineFeed(Char(69, 1)) + std::string(100000, ' ') + Char(70, 1);
    int row = 0;
    const auto Check = [&](std::string text, DefinitionVerdict verdict, std::string err,
                           std::vector<Glyph> glyphs, Common common) {
        SCOPED_TRACE("row " + std::to_string(row++));
        FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        OutputCapture capture;
        std::unique_ptr<OruBitmapFont> font(new OruBitmapFont());
        EXPECT_EQ(font->ReadDefinition(stream), verdict);
        capture.Stop();
        fclose(stream);
        EXPECT_EQ(std::regex_replace(capture.Err(), std::regex(":[0-9]+\\)"), ":N)"), err);
        // The common line's five messages, unless it was malformed.
        EXPECT_EQ(capture.Out(), common == kUnread ? "" : kCommonLines);
        EXPECT_EQ(font->GetCommonValues(), common);
        // Every glyph stored is listed; all other codes stay zero.
        for (int code = 0; code < OruBitmapFont::kGlyphCount; ++code) {
            Glyph expected{};
            for (const Glyph& g : glyphs) {
                expected = g.id == code ? g : expected;
            }
            EXPECT_EQ(font->GetGlyph(code), expected) << "code " << code;
        }
        OutputCapture quiet;
        font.reset();
    };
    // A final line feed reads as one last, blank line; without it there is none.
    Check(kInfo + kCommon + kCharA, kComplete, kBlank, {kA}, kStandard);
    Check(kInfo + NoLineFeed(kCommon), kComplete, "", {}, kStandard);
    // Every kind of line a complete file may hold, numbered from 1 (info).
    Check(kInfo + NoLineFeed(kCommon) + "\r\n\r\n" +                  // 3: blank, CR LF ends
              NoLineFeed(kCharA) + " chnl=15\r\n\n" +                 // 4: a tenth token; 5: blank
              "char = = = = id=66 x=1 y=2 width=3\n" +                // 6: short tokens go first
              Char(0, 1) + Char(-2, 1) + Char(1, 5) + Char(255, 2) +  // 7-10: ids 1 to 255 only
              Char(256, 3) + kCharB +                                 // 11; 12: the later 66 wins
              exact + "\r\n" + cut + "\n" + huge +                    // 13-15: 199 characters kept
              kerning + "\nnot a char line\n" + Char(71, 1),          // 16: the end
          kComplete,
          kBlank + kTooMany + kBlank +
              "WARN) Character id 256 is beyond the glyph table; line ignored.\n"
              "WARN) Line 14 is longer than 199 characters; the rest of it is ignored.\n"
              "WARN) Line 15 is longer than 199 characters; the rest of it is ignored.\n" +
              NotEnough(kerning),
          {kA, Same(1, 5), Same(255, 2), kB, Same(67, 7), G(68, 11, 12, 13, 14, 15, 16, 17, 1),
           Same(69, 1)},
          kStandard);
    Check(kInfo + kCommon + page + "\nchars count=1\n" + kCharA, kMalformed, NotEnough(page), {},
          kStandard);  // BMFont's own file ends at its page line
    // Common values by position whatever the keys; runs of spaces separate.
    Check(kInfo + "common   made=31 up=32  keys=33 here=34 pages=1 x=0", kComplete, kTooMany, {},
          {31, 32, 33, 34});
    Check(kInfo + "common a=12abc b=abc c=-5 =7 pages=1", kComplete,
          "WARN) Name too short: '' (must be at least 1 character)\n", {}, {12, 0, -5, 7});
    Check(kInfo + "common \r\r base=1 scaleW=2 scaleH=3 pages=1", kComplete, "", {}, {-1, 1, 2, 3});
    // Malformed common lines; one line only reads as an empty common line.
    Check(kInfo + "common a=1 b=2 c=3 d=4\n" + kCharA, kMalformed,
          NotEnough("common a=1 b=2 c=3 d=4", "a commons definition"), {}, kUnread);
    Check(kInfo + "Common a b c d e\n" + kCharA, kMalformed,
          "FAIL) Line \"Common a b c d e\" does not contain magic word 'common' at start. Not "
          "commons definition.\n",
          {}, kUnread);
    Check(kInfo, kMalformed, NotEnough("", "a commons definition"), {}, kUnread);
    // Short lines other than kerning lines; tabs do not separate.
    Check(kInfo + kCommon + eight, kMalformed, NotEnough(eight), {}, kStandard);
    Check(kInfo + kCommon + kCharA + "   \n" + kCharB, kMalformed, NotEnough("   "), {kA},
          kStandard);
    Check(kInfo + kCommon + tab, kMalformed, NotChar(tab), {}, kStandard);
    Check(kInfo + kCommon + kCharA + "kerning a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8\n" + kCharB,
          kMalformed, NotChar("kerning a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8"), {kA}, kStandard);
}

const Rgba kGrey{128, 128, 128, 255};

// The test font's glyphs, each in a cell of one colour on a pure black image
// of 256 x 256 pixels. The common line says 512 x 512, which must not move
// where 'G' is found in the image's far corner; the backslash would show if
// it were drawn.
struct Cell {
    int id, x, y, width, height, xoffset, yoffset, xadvance;
    Rgba colour;
};
const Cell kCells[] = {
    {'A', 0, 0, 8, 16, 1, 2, 10, kWhite}, {'B', 16, 0, 6, 12, 0, 4, 7, kWhite},
    {'\\', 32, 0, 8, 8, 0, 0, 9, kRed},   {'W', 48, 0, 16, 16, 0, 0, 16, kWhite},
    {200, 64, 0, 4, 4, 0, 0, 5, kGreen},  {'G', 240, 240, 16, 16, 0, 0, 16, kBlue},
    {'K', 72, 0, 8, 16, 0, 0, 8, kBlack}, {'M', 80, 0, 8, 16, 0, 0, 8, Rgba{255, 255, 255, 128}},
};

class OruBitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTestCanvas();
        std::string text = "info\ncommon lineHeight=20 base=16 scaleW=512 scaleH=512 pages=1";
        std::vector<Rgba> pixels(256 * 256, kBlack);
        for (const Cell& c : kCells) {
            text += "\nchar";  // values by position: the keys are not read
            for (int value :
                 {c.id, c.x, c.y, c.width, c.height, c.xoffset, c.yoffset, c.xadvance}) {
                text += " v=" + std::to_string(value);
            }
            for (int row = c.y; row < c.y + c.height; ++row) {
                std::fill_n(pixels.begin() + row * 256 + c.x, c.width, c.colour);
            }
        }
        ASSERT_TRUE(WritePngRgba(image, 256, 256, pixels) && WriteFileBytes(definition, text));
        OutputCapture building;
        font = new OruBitmapFont(image.c_str(), definition.c_str());
        EXPECT_NE(building.Out().find(" ms using " + image + ", " + definition + "\n"),
                  std::string::npos);
    }
    void TearDown() override {
        OutputCapture emptying;
        delete font;
        EXPECT_EQ(
            emptying.Out().rfind("INFO) Emptying bitmap font\nPASS) Bitmap font emptied in ", 0),
            0u);
    }
    // Lit in the colour exactly over the rectangle: black just outside it.
    void ExpectQuad(int x, int y, int w, int h, Rgba colour) {
        EXPECT_EQ(ReadCanvas(x, y, w, h).Count(colour), w * h) << x << ", " << y;
        EXPECT_EQ(ReadCanvas(x - 1, y - 1, w + 2, h + 2).Count(kBlack), 2 * (w + h + 2));
    }

    TempDir dir;
    const std::string image = dir.File("font.png");
    const std::string definition = dir.File("font.fnt");
    OruBitmapFont* font = nullptr;
};

TEST_F(OruBitmapFontTest, FontMissingAFileIsNotReadyAndEveryDrawCallSaysSo) {
    const std::string missing = dir.File("nothere");
    // The definition would end the program if it were read.
    ASSERT_TRUE(WriteFileBytes(definition, "info\n"));
    OutputCapture capture;
    OruBitmapFont noImage(missing.c_str(), definition.c_str());
    noImage.DrawText("A", 100, 100);
    noImage.DrawFormatted(100, 100, 0.5f, "%s", "A");
    noImage.DrawFormattedRight(100, 100, "%s", "A");
    OruBitmapFont noDefinition(image.c_str(), missing.c_str());
    noDefinition.DrawText("A", 100, 100);
    capture.Stop();
    const std::string notReady =
        "FAIL) This font isn't ready to print to. Didn't complete construction\n";
    EXPECT_EQ(capture.Err(), "FAIL) Image file " + missing +
                                 " not found\nFAIL) Bitmap font bitmap file " + missing +
                                 " not found or unusable\n" + notReady + notReady + notReady + "[" +
                                 missing + "] wasn't found\nFAIL) Bitmap font definition file " +
                                 missing + " not found or unusable\n" + notReady);
    EXPECT_EQ(capture.Out(), "INFO) Initializing bitmap font load (tga:" + missing +
                                 " fnt:" + definition +
                                 ")\nINFO) Initializing bitmap font load (tga:" + image +
                                 " fnt:" + missing + ")\n");
}

TEST_F(OruBitmapFontTest, LeftAlignedTextMovesThePenByEachGlyph) {
    font->DrawText("A?B", 100, 50);      // '?' is not defined: nothing drawn, no advance
    ExpectQuad(101, 52, 8, 16, kWhite);  // pen 100 + xoffset 1, y 50 + yoffset 2
    ExpectQuad(110, 54, 6, 12, kWhite);  // pen 100 + xadvance 10
    font->DrawText("A\\A", 100, 150);    // the same pen x one line height lower
    ExpectQuad(101, 152, 8, 16, kWhite);
    ExpectQuad(101, 172, 8, 16, kWhite);
    font->DrawText("\xC8", 10, 300);  // codes above 127 by their byte
    ExpectQuad(10, 300, 4, 4, kGreen);
    font->DrawText("G", 200, 200);  // texture coordinates are pixels / 256
    ExpectQuad(200, 200, 16, 16, kBlue);
}

TEST_F(OruBitmapFontTest, RightAlignedTextEndsAtThePenWalkingBackwards) {
    // B: 300 - width 6 + xoffset 0; A: pen 300 - xadvance 7 = 293, minus
    // width 8, plus xoffset 1, so the two quads touch.
    font->DrawFormattedRight(300, 100, "%s", "AB");
    EXPECT_EQ(ReadCanvas(294, 104, 6, 12).Count(kWhite) + ReadCanvas(286, 102, 8, 16).Count(kWhite),
              200);
    EXPECT_EQ(ReadCanvas(280, 90, 30, 40).Count(kWhite), 200);
    font->DrawFormattedRight(400, 300, "A\\B");  // the last line at y
    ExpectQuad(394, 304, 6, 12, kWhite);
    ExpectQuad(393, 322, 8, 16, kWhite);
    font->DrawFormattedRight(300, 200, 0.5f, "%c", 'A');
    ExpectQuad(293, 202, 8, 16, kGrey);
    // Longer than the format buffer: cut to its 255 characters, not overrun.
    // Six lines of 49 glyphs, each ended by a break; the cut leaves five
    // whole lines below y and, at y, five glyphs of the sixth.
    std::string text;
    for (int i = 1; i <= 300; ++i) {
        text += i % 50 == 0 ? '\\' : '\xC8';
    }
    font->DrawFormattedRight(639, 100, "%s", text.c_str());
    EXPECT_EQ(ReadCanvas(614, 100, 26, 4).Count(kGreen), 5 * 16);
    EXPECT_EQ(ReadCanvas(0, 0, 640, 480).Count(kGreen), 250 * 16);
}

TEST_F(OruBitmapFontTest, BlackIsTransparentAndTheColourTintsUntilChangedThenWhiteIsRestored) {
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    ClearScreen();
    font->DrawText("KM", 100, 100);  // pure black, then half transparent white
    EXPECT_EQ(ReadCanvas(100, 100, 8, 16).Count(kGrey), 128);
    EXPECT_EQ(ReadCanvas(108, 100, 8, 16).Count(Rgba{191, 191, 191, 255}), 128);
    glClearColor(0, 0, 0, 0);
    ClearScreen();
    font->SetColor(255, 0, 0);
    font->DrawText("W", 100, 100, 0.5f);
    ExpectQuad(100, 100, 16, 16, Rgba{128, 0, 0, 255});
    GLfloat current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    EXPECT_EQ(std::vector<GLfloat>(current, current + 4), std::vector<GLfloat>(4, 1.0f));
    font->DrawText("W", 200, 100);  // the colour stays until changed
    ExpectQuad(200, 100, 16, 16, kRed);
    // Above 1 the alpha draws opaque: unclamped, 2.5 x 100 would be 250.
    font->SetColor(100, 100, 100);
    font->DrawFormatted(300, 100, 2.5f, "%s", "W");
    ExpectQuad(300, 100, 16, 16, Rgba{100, 100, 100, 255});
}

}  // namespace
