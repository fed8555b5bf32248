// The font definition parser: line kinds, values by position, the exact
// messages on their streams, and the exit status of a malformed file. The
// in-process cases read texts through ReadDefinition; the death tests build a
// real font, whose constructor is where a malformed file ends the program.
#include "OruBitmapFont.h"
#include "OutputCapture.h"
#include "PngWriter.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

namespace {

const std::string kInfo =
    "info face=\"Test\" size=16 bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=1 "
    "aa=1 padding=0,0,0,0 spacing=1,1\n";
const std::string kCommon = "common lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1\n";
const std::string kCommonMessages =
    "setting lineHeight\nsetting base\nsetting scaleW\nsetting scaleH\nignoring pages for now\n";
const std::string kCharA =
    "char id=65 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7 page=8\n";
const std::string kCharB =
    "char id=66 x=11 y=12 width=13 height=14 xoffset=15 yoffset=16 xadvance=17 page=18\n";
const std::string kTooMany = "FAIL) Too many tokens in this line.\n";
const std::string kBlank = "WARN) Detected blank line.\n";

std::string NotEnoughForChar(const std::string& line) {
    return "FAIL) Line \"" + line + "\" does not contain enough tokens to be a character ID\n";
}

struct Reading {
    DefinitionVerdict verdict;
    std::string out;
    std::string err;
};

class FontDefinitionTest : public ::testing::Test {
protected:
    void TearDown() override {
        OutputCapture quiet;
        font.reset();
    }

    Reading Read(const std::string& text) {
        FILE* stream = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
        EXPECT_NE(stream, nullptr);
        OutputCapture capture;
        const DefinitionVerdict verdict = font->ReadDefinition(stream);
        capture.Stop();
        fclose(stream);
        return Reading{verdict, capture.Out(), capture.Err()};
    }
    const Glyph& G(int code) const { return font->GetGlyph(code); }
    void ExpectGlyph(int code, const Glyph& expected) {
        const Glyph& g = G(code);
        EXPECT_EQ(g.id, expected.id) << "code " << code;
        EXPECT_EQ(g.x, expected.x) << "code " << code;
        EXPECT_EQ(g.y, expected.y) << "code " << code;
        EXPECT_EQ(g.width, expected.width) << "code " << code;
        EXPECT_EQ(g.height, expected.height) << "code " << code;
        EXPECT_EQ(g.xoffset, expected.xoffset) << "code " << code;
        EXPECT_EQ(g.yoffset, expected.yoffset) << "code " << code;
        EXPECT_EQ(g.xadvance, expected.xadvance) << "code " << code;
        EXPECT_EQ(g.page, expected.page) << "code " << code;
    }
    int StoredGlyphCount() const {
        int count = 0;
        for (int code = 0; code < OruBitmapFont::kGlyphCount; ++code) {
            count += G(code).id != 0 ? 1 : 0;
        }
        return count;
    }

    std::unique_ptr<OruBitmapFont> font{new OruBitmapFont()};
};

// Field order of the record is x, y, width, height, xadvance, id, page,
// xoffset, yoffset; the file gives id, x, y, width, height, xoffset, yoffset,
// xadvance, page.
Glyph Expected(int id, int x, int y, int width, int height, int xoffset, int yoffset, int xadvance,
               int page) {
    return Glyph{x, y, width, height, xadvance, id, page, xoffset, yoffset};
}

TEST_F(FontDefinitionTest, CharLinesFillTheirFieldsByPositionAndUndefinedCodesStayZero) {
    const Reading r = Read(kInfo + kCommon + kCharA + kCharB);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.out, kCommonMessages);
    EXPECT_EQ(r.err, kBlank);
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    ExpectGlyph('B', Expected(66, 11, 12, 13, 14, 15, 16, 17, 18));
    EXPECT_EQ(StoredGlyphCount(), 2);
    ExpectGlyph('C', Glyph{});
    ExpectGlyph(255, Glyph{});
    ExpectGlyph(-1, Glyph{});
    ExpectGlyph(256, Glyph{});
    EXPECT_EQ(font->GetLineHeight(), 16);
}

TEST_F(FontDefinitionTest, FileAsBmfontWritesItStopsAtItsPageLine) {
    const std::string page = "page id=0 file=\"font.png\"";
    const Reading r = Read(kInfo +
                           "common lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1 packed=0 "
                           "alphaChnl=1\n" +
                           page + "\nchars count=1\n" + kCharA);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
    EXPECT_EQ(r.out, kCommonMessages);
    // The two extra common tokens, then line 3; nothing after it is read.
    EXPECT_EQ(r.err, kTooMany + kTooMany + NotEnoughForChar(page));
    EXPECT_EQ(StoredGlyphCount(), 0);
}

TEST_F(FontDefinitionTest, FirstKerningLineEndsTheReadingSuccessfully) {
    const std::string kerning = "kerning first=65 second=66 amount=-1";
    const Reading r =
        Read(kInfo + kCommon + kCharA + kCharB + kerning + "\n" +
             "kerning first=66 second=65 amount=-1\n" + "not a char line at all\n" +
             "char id=67 x=1 y=1 width=1 height=1 xoffset=1 yoffset=1 xadvance=1 page=1\n");
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, NotEnoughForChar(kerning));
    EXPECT_EQ(StoredGlyphCount(), 2);
    EXPECT_EQ(G('C').id, 0);
}

TEST_F(FontDefinitionTest, BlankLinesWarnOnceEachAndAreSkipped) {
    // The trailing line feed reads as one last blank line.
    EXPECT_EQ(Read(kInfo + kCommon + kCharA).err, kBlank);

    const std::string noFinalLineFeed = kCharB.substr(0, kCharB.size() - 1);
    const Reading r = Read(kInfo + kCommon + "\n" + kCharA + "\n\n" + noFinalLineFeed);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, kBlank + kBlank + kBlank);
    EXPECT_EQ(StoredGlyphCount(), 2);
}

TEST_F(FontDefinitionTest, TwoLineFileHasNoGlyphs) {
    Reading r = Read(kInfo + kCommon.substr(0, kCommon.size() - 1));
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(StoredGlyphCount(), 0);
    EXPECT_EQ(font->GetLineHeight(), 16);

    r = Read(kInfo + kCommon);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, kBlank);
}

TEST_F(FontDefinitionTest, TenthAndLaterCharTokensWarnOnceEachAndTheGlyphIsStored) {
    const Reading r =
        Read(kInfo + kCommon + kCharA.substr(0, kCharA.size() - 1) + " chnl=15\n" +
             "char id=66 x=11 y=12 width=13 height=14 xoffset=15 yoffset=16 xadvance=17 page=18 "
             "chnl=15 extra=1 more=2");
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, kTooMany + kTooMany + kTooMany + kTooMany);
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    ExpectGlyph('B', Expected(66, 11, 12, 13, 14, 15, 16, 17, 18));
}

TEST_F(FontDefinitionTest, CommonValuesAreTakenByPositionWhateverTheKeys) {
    const Reading r = Read(kInfo + "common   made=31 up=32  keys=33 here=34 pages=1 x=0 y=0");
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.out, kCommonMessages);
    EXPECT_EQ(r.err, kTooMany + kTooMany);
    EXPECT_EQ(font->GetLineHeight(), 31);
}

TEST_F(FontDefinitionTest, ValueTextsReadAsAtoiReadsThem) {
    const Reading r = Read(kInfo + "common a=12abc b=abc c=-5 =7 pages=1\n" +
                           "char id=65 x=+4 y=\t9 width= height xoffset=99999999999 "
                           "yoffset=-99999999999 xadvance=3=4 page=0x1F");
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, "WARN) Name too short: '' (must be at least 1 character)\n");
    EXPECT_EQ(font->GetLineHeight(), 12);  // digits followed by letters
    const Glyph& g = G('A');
    EXPECT_EQ(g.x, 4);
    EXPECT_EQ(g.y, 9);       // leading white space other than spaces is skipped
    EXPECT_EQ(g.width, 0);   // nothing after the "="
    EXPECT_EQ(g.height, 0);  // no "=" at all
    // Beyond the int32 range the value saturates rather than wrapping.
    EXPECT_EQ(g.xoffset, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(g.yoffset, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(g.xadvance, 3);  // split at the first "="
    EXPECT_EQ(g.page, 0);      // decimal only
}

TEST_F(FontDefinitionTest, ValueOfOnlyCarriageReturnsIsMinusOne) {
    // A mid-line carriage return is part of the line; stripped, nothing is left.
    const Reading r = Read(kInfo + "common \r\r base=1 scaleW=2 scaleH=3 pages=1");
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(font->GetLineHeight(), -1);
}

TEST_F(FontDefinitionTest, OneCharacterTokensAreDroppedAfterTheTokenCount) {
    // A lone "=" moves every later value up one position.
    Read(kInfo + kCommon + "char id=65 = a=1 b=2 = c=3 d=4 e=5 f=6 g=7 h=8\n" +
         // Nine tokens before the removal pass the count; four values stay.
         "char = = = = id=66 x=1 y=2 width=3");
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    ExpectGlyph('B', Expected(66, 1, 2, 3, 0, 0, 0, 0, 0));
}

TEST_F(FontDefinitionTest, OnlyIdsFromOneTo255AreStoredAndTheLaterDuplicateWins) {
    const Reading r =
        Read(kInfo + kCommon +
             "char id=0 x=1 y=1 width=1 height=1 xoffset=1 yoffset=1 xadvance=1 page=1\n"
             "char id=-2 x=1 y=1 width=1 height=1 xoffset=1 yoffset=1 xadvance=1 page=1\n"
             "char id=-66 x=1 y=1 width=1 height=1 xoffset=1 yoffset=1 xadvance=1 page=1\n"
             "char id=1 x=5 y=5 width=5 height=5 xoffset=5 yoffset=5 xadvance=5 page=5\n"
             "char id=255 x=2 y=2 width=2 height=2 xoffset=2 yoffset=2 xadvance=2 page=2\n"
             "char id=256 x=3 y=3 width=3 height=3 xoffset=3 yoffset=3 xadvance=3 page=3\n"
             "char id=2147483647 x=3 y=3 width=3 height=3 xoffset=3 yoffset=3 xadvance=3 page=3\n"
             "char id=65 x=9 y=9 width=9 height=9 xoffset=9 yoffset=9 xadvance=9 page=9\n" +
             kCharA);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err,
              "WARN) Character id 256 is beyond the glyph table; line ignored.\n"
              "WARN) Character id 2147483647 is beyond the glyph table; line ignored.\n" +
                  kBlank);
    ExpectGlyph(0, Glyph{});
    ExpectGlyph(1, Expected(1, 5, 5, 5, 5, 5, 5, 5, 5));
    ExpectGlyph(255, Expected(255, 2, 2, 2, 2, 2, 2, 2, 2));
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_EQ(StoredGlyphCount(), 3);  // an id of -2 does not end the reading either
}

TEST_F(FontDefinitionTest, CarriageReturnLineFeedEndingsAreLineEnds) {
    std::string text = kInfo + kCommon + kCharA + kCharB;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.insert(at, "\r");
    }
    const Reading r = Read(text);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, kBlank);
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    ExpectGlyph('B', Expected(66, 11, 12, 13, 14, 15, 16, 17, 18));
}

TEST_F(FontDefinitionTest, LinesAreCutAt199CharactersAndTheRestIsDropped) {
    // Exactly 199 characters, then a carriage return before the line feed.
    std::string exact = kCharA.substr(0, kCharA.size() - 1);
    exact += std::string(199 - exact.size(), ' ');
    ASSERT_EQ(exact.size(), 199u);
    // A cut inside the "page" value: its first digit survives.
    std::string cut = "char id=66 x=11 y=12 width=13 height=14 xoffset=15 yoffset=16 xadvance=17";
    cut += std::string(193 - cut.size(), ' ') + "page=123456789";
    // Far too long, and the next line must still read as a line of its own.
    const std::string huge = "char id=67 x=1 y=1 width=1 height=1 xoffset=1 yoffset=1 xadvance=1 " +
                             std::string(100000, ' ') + "char id=68";
    const std::string afterHuge =
        "char id=69 x=2 y=2 width=2 height=2 xoffset=2 yoffset=2 xadvance=2 page=2";
    const Reading r = Read(kInfo + kCommon + exact + "\r\n" + cut + "\n" + huge + "\n" + afterHuge);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err,
              "WARN) Line 4 is longer than 199 characters; the rest of it is ignored.\n"
              "WARN) Line 5 is longer than 199 characters; the rest of it is ignored.\n");
    ExpectGlyph('A', Expected(65, 1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_EQ(G('B').xadvance, 17);
    EXPECT_EQ(G('B').page, 1);
    ExpectGlyph('C', Expected(67, 1, 1, 1, 1, 1, 1, 1, 0));
    EXPECT_EQ(G('D').id, 0);
    ExpectGlyph('E', Expected(69, 2, 2, 2, 2, 2, 2, 2, 2));
}

TEST_F(FontDefinitionTest, LongFirstLineIsIgnoredWhole) {
    const Reading r = Read("info " + std::string(500, 'x') + "\n" + kCommon + kCharA);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
    EXPECT_EQ(r.err, kBlank);
    EXPECT_EQ(G('A').id, 65);
}

TEST_F(FontDefinitionTest, MalformedCommonLinesAreReportedWithTheLine) {
    Reading r = Read(kInfo + "common lineHeight=16 base=12 scaleW=256 scaleH=256\n" + kCharA);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err,
              "FAIL) Line \"common lineHeight=16 base=12 scaleW=256 scaleH=256\" does not "
              "contain enough tokens to be a commons definition\n");

    r = Read(kInfo + "Common lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1\n" + kCharA);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
    EXPECT_EQ(r.err,
              "FAIL) Line \"Common lineHeight=16 base=12 scaleW=256 scaleH=256 pages=1\" does not "
              "contain magic word 'common' at start. Not commons definition.\n");

    // A file of one line: the missing second line is an empty common line.
    for (const std::string& oneLine : {kInfo, std::string("info"), std::string()}) {
        r = Read(oneLine);
        EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
        EXPECT_EQ(r.err,
                  "FAIL) Line \"\" does not contain enough tokens to be a commons definition\n");
    }
}

TEST_F(FontDefinitionTest, ShortLinesOtherThanKerningAreMalformed) {
    for (const std::string& line : {std::string("   "), std::string("kerning"),
                                    std::string("chars count=95"), std::string("\t")}) {
        const Reading r = Read(kInfo + kCommon + kCharA + line + "\n" + kCharB);
        if (line == "kerning") {
            EXPECT_EQ(r.verdict, DefinitionVerdict::Complete);
        } else {
            EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed) << "line \"" << line << "\"";
        }
        EXPECT_EQ(r.err, NotEnoughForChar(line));
        EXPECT_EQ(G('B').id, 0);
    }
}

TEST_F(FontDefinitionTest, LongLineNotStartingWithCharNamesThisSourceLine) {
    // Nine tokens, so the count passes; a kerning line this long is no end
    // marker, and a tab does not separate "char" from the id.
    for (const std::string& line :
         {std::string("chars id=65 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7"),
          std::string("kerning a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8"),
          std::string("char\tid=65 x=1 y=2 width=3 height=4 xoffset=5 yoffset=6 xadvance=7 p=0")}) {
        const Reading r = Read(kInfo + kCommon + line + "\n" + kCharB);
        EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
        const std::string prefix = "FAIL engine\\OruBitmapFont:";
        ASSERT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
        const int sourceLine = atoi(r.err.c_str() + prefix.size());
        EXPECT_EQ(r.err, prefix + std::to_string(sourceLine) + ") Line \"" + line +
                             "\" does not contain magic word 'char' at start. Not character id.\n");
        // The number names the line of the check itself.
        std::ifstream source(std::string(ZIBO_SOURCE_DIR) + "/engine/OruBitmapFont.cpp");
        std::string text;
        for (int n = 0; n < sourceLine && std::getline(source, text); ++n) {
        }
        EXPECT_NE(text.find("kCharWord"), std::string::npos)
            << "line " << sourceLine << ": " << text;
        EXPECT_EQ(G('B').id, 0);
    }
}

TEST_F(FontDefinitionTest, NulByteEndsTheLineText) {
    const std::string line = "char id=65 x=0";
    std::string text = kInfo + kCommon + line + std::string(1, '\0') +
                       " y=0 width=8 height=16 xoffset=1 yoffset=2 xadvance=10 page=0\n";
    const Reading r = Read(text);
    EXPECT_EQ(r.verdict, DefinitionVerdict::Malformed);
    EXPECT_EQ(r.err, NotEnoughForChar(line));
}

TEST_F(FontDefinitionTest, StreamThatFailsToReadIsUnreadableNotMalformed) {
    TempDir dir;
    FILE* stream = fopen(dir.Path().c_str(), "r");  // opens, but every read fails
    ASSERT_NE(stream, nullptr);
    OutputCapture capture;
    EXPECT_EQ(font->ReadDefinition(stream), DefinitionVerdict::Unreadable);
    capture.Stop();
    fclose(stream);
    EXPECT_EQ(capture.Err(), "");
    EXPECT_EQ(capture.Out(), "");
}

// A malformed file ends the program with status 1 while the font is built.
class FontDefinitionDeathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteSolidPng(dir.File("font.png"), 256, 256, Rgba{255, 255, 255, 255}));
    }
    void BuildFont(const std::string& definition) {
        WriteFileBytes(dir.File("font.fnt"), definition);
        OpenTestWindow();
        OruBitmapFont font(dir.File("font.png").c_str(), dir.File("font.fnt").c_str());
        // Reaching this line is the failure the death tests look for.
        fprintf(stderr, "font built\n");
        exit(0);
    }
    TempDir dir;
};

TEST_F(FontDefinitionDeathTest, BmfontFileExitsAtLineThree) {
    EXPECT_EXIT(
        BuildFont(kInfo + kCommon + "page id=0 file=\"font.png\"\nchars count=1\n" + kCharA),
        ::testing::ExitedWithCode(1),
        "FAIL\\) Line \"page id=0 file=\"font.png\"\" does not contain enough tokens to be "
        "a character ID\n$");
}

TEST_F(FontDefinitionDeathTest, OneLineFileExits) {
    EXPECT_EXIT(
        BuildFont(kInfo), ::testing::ExitedWithCode(1),
        "(^|\n)FAIL\\) Line \"\" does not contain enough tokens to be a commons definition\n$");
}

TEST_F(FontDefinitionDeathTest, CommonLineWithoutItsMagicWordExits) {
    EXPECT_EXIT(BuildFont(kInfo + "info a=1 b=2 c=3 d=4 e=5\n"), ::testing::ExitedWithCode(1),
                "does not contain magic word 'common' at start. Not commons definition.\n$");
}

TEST_F(FontDefinitionDeathTest, LongLineNotStartingWithCharExits) {
    EXPECT_EXIT(
        BuildFont(kInfo + kCommon + kCharA + "glyph a=1 b=2 c=3 d=4 e=5 f=6 g=7 h=8\n"),
        ::testing::ExitedWithCode(1),
        "(^|\n)FAIL engine\\\\OruBitmapFont:[0-9]+\\) Line \"glyph a=1 b=2 c=3 d=4 e=5 f=6 g=7 "
        "h=8\" does not contain magic word 'char' at start. Not character id.\n$");
}

TEST_F(FontDefinitionDeathTest, LineOfSpacesExits) {
    EXPECT_EXIT(
        BuildFont(kInfo + kCommon + kCharA + "    \n"), ::testing::ExitedWithCode(1),
        "(^|\n)FAIL\\) Line \"    \" does not contain enough tokens to be a character ID\n$");
}

TEST_F(FontDefinitionDeathTest, KerningEndedFileBuildsAReadyFont) {
    // The control case: the same route runs to the end when the file is sound.
    EXPECT_EXIT(BuildFont(kInfo + kCommon + kCharA + "kerning first=65 second=66 amount=-1\n" +
                          "page id=0\n"),
                ::testing::ExitedWithCode(0), "font built\n$");
}

}  // namespace
