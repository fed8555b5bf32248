#include "OruBitmapFont.h"

#include "RgbaTexture.h"
#include "Video.h"

#ifdef __EMSCRIPTEN__
#include "QuadBatch.h"
#endif

#include <SDL_opengl.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

// How this file names itself in the one message that carries a source line.
const char* const kSourcePath = "engine\\OruBitmapFont";
const int kMalformedDefinitionExitCode = 1;
const int kNoPageExitCode = 1;

// A definition line holds at most 199 characters; the buffer adds the terminator.
const size_t kLineBufferSize = 200;
const size_t kCommonTokenCount = 6;
const size_t kCharTokenCount = 9;
// Tokens this short (a lone "=", say) carry no value and are dropped before
// the char line's values are taken by position.
const size_t kShortTokenLength = 1;
const char* const kCommonWord = "common";
const char* const kCharWord = "char";
const char* const kKerningWord = "kerning";

// Value positions of a char line, in the order BMFont writes its keys.
int32_t Glyph::*const kCharFields[] = {
    nullptr,        &Glyph::id,      &Glyph::x,       &Glyph::y,        &Glyph::width,
    &Glyph::height, &Glyph::xoffset, &Glyph::yoffset, &Glyph::xadvance, &Glyph::page,
};
const size_t kCharFieldCount = sizeof(kCharFields) / sizeof(kCharFields[0]);

const unsigned char kLineBreak = '\\';
// Texture coordinates assume a 256 x 256 image whatever the common line says.
const float kAssumedImageSize = 256.0f;
const float kFullComponent = 255.0f;
const float kOpaque = 1.0f;

// One line of a definition text, cut to what the buffer holds.
struct TextLine {
    char text[kLineBufferSize];
    bool truncated;  // characters beyond the 199th were dropped
    bool atEnd;      // the stream ended while the line was read
};

// Reads up to the next line feed; a carriage return right before it is not
// part of the line. Characters past the buffer's room are read and dropped, so
// an overlong line is cut rather than split into several lines. A NUL byte
// ends the line's text.
void ReadLine(FILE* stream, TextLine* line) {
    size_t length = 0;
    bool pendingReturn = false;
    line->truncated = false;
    line->atEnd = false;
    const auto keep = [&](char c) {
        if (length < kLineBufferSize - 1) {
            line->text[length++] = c;
        } else {
            line->truncated = true;
        }
    };
    for (;;) {
        const int c = getc(stream);
        if (c == EOF) {
            line->atEnd = true;
            break;
        }
        if (c == '\n') {
            pendingReturn = false;
            break;
        }
        if (pendingReturn) {
            keep('\r');
            pendingReturn = false;
        }
        if (c == '\r') {
            pendingReturn = true;
        } else {
            keep(static_cast<char>(c));
        }
    }
    if (pendingReturn) {
        keep('\r');
    }
    line->text[length] = '\0';
}

void WarnIfTruncated(const TextLine& line, int lineNumber) {
    if (line.truncated) {
        fprintf(stderr, "WARN) Line %i is longer than %zu characters; the rest of it is ignored.\n",
                lineNumber, kLineBufferSize - 1);
    }
}

// Runs of spaces separate tokens; tabs and everything else belong to them.
std::vector<std::string> SplitAtSpaces(const char* line) {
    std::vector<std::string> tokens;
    std::string current;
    for (const char* c = line; *c != '\0'; ++c) {
        if (*c != ' ') {
            current += *c;
        } else if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    }
    if (!current.empty()) {
        tokens.push_back(current);
    }
    return tokens;
}

void RemoveShortTokens(std::vector<std::string>* tokens) {
    std::vector<std::string> kept;
    for (const std::string& token : *tokens) {
        if (token.size() > kShortTokenLength) {
            kept.push_back(token);
        }
    }
    tokens->swap(kept);
}

// Reads a decimal the way atoi does (leading white space, a sign, digits up
// to the first non-digit, 0 without any), but saturates at the int32 range
// where atoi's result would be undefined.
int32_t ReadDecimal(const char* text) {
    const long value = strtol(text, nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

void PrintTooManyTokens() {
    fprintf(stderr, "FAIL) Too many tokens in this line.\n");
}

GLint ClampToGlInt(int64_t value) {
    if (value > std::numeric_limits<GLint>::max()) {
        return std::numeric_limits<GLint>::max();
    }
    if (value < std::numeric_limits<GLint>::min()) {
        return std::numeric_limits<GLint>::min();
    }
    return static_cast<GLint>(value);
}

// Formats into a buffer of OruBitmapFont::kFormatBufferSize characters,
// cutting what does not fit; a format that fails leaves an empty text.
void FormatText(char* text, const char* format, va_list arguments) {
    if (vsnprintf(text, OruBitmapFont::kFormatBufferSize, format, arguments) < 0) {
        text[0] = '\0';
    }
}

float TextureCoordinate(int64_t imagePixels) {
    return static_cast<float>(imagePixels) / kAssumedImageSize;
}

}  // namespace

OruBitmapFont::OruBitmapFont(const char* imagePath, const char* definitionPath) {
    printf("INFO) Initializing bitmap font load (tga:%s fnt:%s)\n", imagePath, definitionPath);
    const uint32_t start = GetTicks();
    if (LoadImage(imagePath) < 0) {
        fprintf(stderr, "FAIL) Bitmap font bitmap file %s not found or unusable\n", imagePath);
        return;
    }
    if (LoadDefinition(definitionPath) < 0) {
        fprintf(stderr, "FAIL) Bitmap font definition file %s not found or unusable\n",
                definitionPath);
        return;
    }
    const int32_t elapsed = static_cast<int32_t>(GetTicks() - start);
    printf("PASS) Startup sequence completed in %i ms using %s, %s\n", elapsed, imagePath,
           definitionPath);
    ready = true;
}

OruBitmapFont::OruBitmapFont() {}

OruBitmapFont::~OruBitmapFont() {
    printf("INFO) Emptying bitmap font\n");
    const uint32_t start = GetTicks();
    for (uint32_t* page : pages) {
        delete page;
    }
    pages.clear();
    const int32_t elapsed = static_cast<int32_t>(GetTicks() - start);
    printf("PASS) Bitmap font emptied in %i ms\n", elapsed);
}

int32_t OruBitmapFont::LoadImage(const char* path) {
    // Pure black is the font image's background and must come out
    // transparent, whether or not the image carries alpha of its own.
    uint32_t* page = new uint32_t(0);
    const ImageLoad loaded = LoadRgbaTexture(path, true, page);
    if (loaded != ImageLoad::Loaded) {
        if (loaded == ImageLoad::Missing) {
            fprintf(stderr, "FAIL) Image file %s not found\n", path);
        }
        // Otherwise the constructor's "not found or unusable" line reports it.
        delete page;
        return -1;
    }
    pages.push_back(page);
    return 0;
}

int32_t OruBitmapFont::LoadDefinition(const char* path) {
    FILE* file = fopen(path, "r");
    if (file == nullptr) {
        fprintf(stderr, "[%s] wasn't found\n", path);
        return -1;
    }
    const DefinitionVerdict verdict = ReadDefinition(file);
    fclose(file);
    if (verdict == DefinitionVerdict::Malformed) {
        EndOnMalformedDefinition();
    }
    if (verdict == DefinitionVerdict::Unreadable) {
        fprintf(stderr, "[%s] wasn't found\n", path);
        return -1;
    }
    return 0;
}

void OruBitmapFont::EndOnMalformedDefinition() {
    // The offending line has been reported; the font is not usable and the
    // game has no fallback, so it stops before its first frame.
    exit(kMalformedDefinitionExitCode);
}

DefinitionVerdict OruBitmapFont::ReadDefinition(FILE* stream) {
    TextLine line;
    int lineNumber = 1;
    ReadLine(stream, &line);  // BMFont's info line: nothing in it is used
    if (ferror(stream)) {
        return DefinitionVerdict::Unreadable;
    }

    ReadLine(stream, &line);
    ++lineNumber;
    WarnIfTruncated(line, lineNumber);
    if (ParseCommonLine(line.text) == LineVerdict::Malformed) {
        return DefinitionVerdict::Malformed;
    }

    // After a final line feed one empty line is still read, which is where
    // the blank-line warning of a file ending in a line feed comes from.
    while (!line.atEnd) {
        ReadLine(stream, &line);
        ++lineNumber;
        WarnIfTruncated(line, lineNumber);
        Glyph glyph;
        const LineVerdict verdict = ParseCharLine(line.text, &glyph);
        if (verdict == LineVerdict::Malformed) {
            return DefinitionVerdict::Malformed;
        }
        if (verdict == LineVerdict::EndOfGlyphs) {
            break;
        }
        StoreGlyph(glyph);
    }
    return ferror(stream) ? DefinitionVerdict::Unreadable : DefinitionVerdict::Complete;
}

OruBitmapFont::LineVerdict OruBitmapFont::ParseCommonLine(const char* line) {
    const std::vector<std::string> tokens = SplitAtSpaces(line);
    if (tokens.size() < kCommonTokenCount) {
        fprintf(stderr,
                "FAIL) Line \"%s\" does not contain enough tokens to be a commons definition\n",
                line);
        return LineVerdict::Malformed;
    }
    if (tokens[0] != kCommonWord) {
        fprintf(stderr,
                "FAIL) Line \"%s\" does not contain magic word 'common' at start. Not commons "
                "definition.\n",
                line);
        return LineVerdict::Malformed;
    }
    // Values are taken by position; the keys are never compared.
    struct PositionalValue {
        const char* message;
        int32_t OruBitmapFont::*field;  // null: read no value
    };
    static const PositionalValue kValues[] = {
        {"setting lineHeight\n", &OruBitmapFont::lineHeight},
        {"setting base\n", &OruBitmapFont::base},
        {"setting scaleW\n", &OruBitmapFont::scaleW},
        {"setting scaleH\n", &OruBitmapFont::scaleH},
        {"ignoring pages for now\n", nullptr},
    };
    const size_t valueCount = sizeof(kValues) / sizeof(kValues[0]);
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (i > valueCount) {
            PrintTooManyTokens();
            continue;
        }
        const PositionalValue& value = kValues[i - 1];
        fputs(value.message, stdout);
        if (value.field != nullptr) {
            this->*value.field = ReadFieldValue(tokens[i].c_str());
        }
    }
    return LineVerdict::Continue;
}

OruBitmapFont::LineVerdict OruBitmapFont::ParseCharLine(const char* line, Glyph* glyph) {
    // Fields the line leaves out stay 0, and an id of 0 is never stored.
    *glyph = Glyph{};
    if (line[0] == '\0') {
        fprintf(stderr, "WARN) Detected blank line.\n");
        return LineVerdict::Continue;
    }
    std::vector<std::string> tokens = SplitAtSpaces(line);
    if (tokens.size() < kCharTokenCount) {
        fprintf(stderr, "FAIL) Line \"%s\" does not contain enough tokens to be a character ID\n",
                line);
        // Kerning pairs are never used, so the first one ends the glyph data.
        if (!tokens.empty() && tokens[0] == kKerningWord) {
            return LineVerdict::EndOfGlyphs;
        }
        return LineVerdict::Malformed;
    }
    const int magicWordCheckLine = __LINE__ + 1;
    if (tokens[0] != kCharWord) {
        fprintf(stderr,
                "FAIL %s:%i) Line \"%s\" does not contain magic word 'char' at start. Not "
                "character id.\n",
                kSourcePath, magicWordCheckLine, line);
        return LineVerdict::Malformed;
    }
    RemoveShortTokens(&tokens);
    for (size_t i = 1; i < tokens.size(); ++i) {
        if (i < kCharFieldCount) {
            glyph->*kCharFields[i] = ReadFieldValue(tokens[i].c_str());
        } else {
            PrintTooManyTokens();
        }
    }
    return LineVerdict::Continue;
}

int32_t OruBitmapFont::ReadFieldValue(const char* token) {
    std::string text;
    for (const char* c = token; *c != '\0'; ++c) {
        if (*c != '\n' && *c != '\r' && *c != ' ') {
            text += *c;
        }
    }
    if (text.empty()) {
        return -1;
    }
    // Without an "=" the whole token is the key and the value text is empty,
    // which reads as 0, as does an "=" with nothing after it.
    const size_t equals = text.find('=');
    const std::string key = text.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : text.substr(equals + 1);
    if (key.empty()) {
        fprintf(stderr, "WARN) Name too short: '%s' (must be at least 1 character)\n", key.c_str());
    }
    return ReadDecimal(value.c_str());
}

void OruBitmapFont::StoreGlyph(const Glyph& glyph) {
    if (glyph.id <= 0) {
        return;
    }
    if (glyph.id >= kGlyphCount) {
        fprintf(stderr, "WARN) Character id %i is beyond the glyph table; line ignored.\n",
                glyph.id);
        return;
    }
    glyphs[glyph.id] = glyph;
}

const Glyph& OruBitmapFont::GetGlyph(int code) const {
    static const Glyph kNoGlyph{};
    if (code < 0 || code >= kGlyphCount) {
        return kNoGlyph;
    }
    return glyphs[code];
}

void OruBitmapFont::SetColor(uint8_t newRed, uint8_t newGreen, uint8_t newBlue) {
    red = newRed;
    green = newGreen;
    blue = newBlue;
}

int32_t OruBitmapFont::GetLineHeight() {
    return lineHeight;
}

bool OruBitmapFont::GuardReady() const {
    if (!ready) {
        fprintf(stderr, "FAIL) This font isn't ready to print to. Didn't complete construction\n");
    }
    return ready;
}

void OruBitmapFont::DrawText(const char* text, int32_t x, int32_t y, float alpha) {
    if (!GuardReady() || text == nullptr) {
        return;
    }
    // Wide enough that no file's metrics can overflow the pen.
    int64_t pen = x;
    int64_t lineY = y;
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char code = static_cast<unsigned char>(*c);
        if (code == kLineBreak) {
            pen = x;
            lineY += GetLineHeight();
            continue;
        }
        const Glyph& glyph = glyphs[code];
        DrawGlyph(glyph, pen + glyph.xoffset, lineY + glyph.yoffset, alpha);
        pen += glyph.xadvance;
    }
}

void OruBitmapFont::DrawText(const char* text, int32_t x, int32_t y) {
    if (!GuardReady()) {
        return;
    }
    DrawText(text, x, y, kOpaque);
}

void OruBitmapFont::DrawFormatted(int32_t x, int32_t y, const char* format, ...) {
    if (!GuardReady()) {
        return;
    }
    char text[kFormatBufferSize];
    va_list arguments;
    va_start(arguments, format);
    FormatText(text, format, arguments);
    va_end(arguments);
    DrawText(text, x, y);
}

void OruBitmapFont::DrawFormatted(int32_t x, int32_t y, float alpha, const char* format, ...) {
    if (!GuardReady()) {
        return;
    }
    char text[kFormatBufferSize];
    va_list arguments;
    va_start(arguments, format);
    FormatText(text, format, arguments);
    va_end(arguments);
    DrawText(text, x, y, alpha);
}

void OruBitmapFont::DrawFormattedRight(int32_t x, int32_t y, const char* format, ...) {
    char text[kFormatBufferSize];
    va_list arguments;
    va_start(arguments, format);
    FormatText(text, format, arguments);
    va_end(arguments);
    // The alpha form makes the readiness test, so a not-ready font still
    // reports once per call.
    DrawFormattedRight(x, y, kOpaque, "%s", text);
}

void OruBitmapFont::DrawFormattedRight(int32_t x, int32_t y, float alpha, const char* format, ...) {
    if (!GuardReady()) {
        return;
    }
    char text[kFormatBufferSize];
    va_list arguments;
    va_start(arguments, format);
    FormatText(text, format, arguments);
    va_end(arguments);
    DrawRightAligned(text, x, y, alpha);
}

void OruBitmapFont::DrawRightAligned(const char* text, int32_t x, int32_t y, float alpha) {
    int64_t pen = x;
    int64_t lineY = y;
    // Walking backwards, a line break moves down: the text's last line lands
    // at y and earlier lines below it. The game right-aligns single lines only.
    for (size_t i = strlen(text); i-- > 0;) {
        const unsigned char code = static_cast<unsigned char>(text[i]);
        if (code == kLineBreak) {
            pen = x;
            lineY += GetLineHeight();
            continue;
        }
        const Glyph& glyph = glyphs[code];
        DrawGlyph(glyph, pen - glyph.width + glyph.xoffset, lineY + glyph.yoffset, alpha);
        pen -= glyph.xadvance;
    }
}

void OruBitmapFont::DrawGlyph(const Glyph& cell, int64_t quadX, int64_t quadY, float alpha) {
    glPushMatrix();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (pages.empty()) {
        // Unreachable for a ready font, which always holds its one page.
        fprintf(stderr, "Page #0 is gone!\n");
        exit(kNoPageExitCode);
    }
    glBindTexture(GL_TEXTURE_2D, *pages[0]);
    const float s0 = TextureCoordinate(cell.x);
    const float t0 = TextureCoordinate(cell.y);
    const float s1 = TextureCoordinate(static_cast<int64_t>(cell.x) + cell.width);
    const float t1 = TextureCoordinate(static_cast<int64_t>(cell.y) + cell.height);
    const GLint left = ClampToGlInt(quadX);
    const GLint top = ClampToGlInt(quadY);
    const GLint right = ClampToGlInt(quadX + cell.width);
    const GLint bottom = ClampToGlInt(quadY + cell.height);

    // Before glBegin: a browser's OpenGL emulation drops a quad whose colour
    // is set between glBegin and its first vertex.
    glColor4f(red / kFullComponent, green / kFullComponent, blue / kFullComponent, alpha);
#ifdef __EMSCRIPTEN__
    const float x0 = static_cast<float>(left);
    const float y0 = static_cast<float>(top);
    const float x1 = static_cast<float>(right);
    const float y1 = static_cast<float>(bottom);
    const QuadCorner corners[4] = {
        {x0, y0, s0, t0}, {x1, y0, s1, t0}, {x1, y1, s1, t1}, {x0, y1, s0, t1}};
    BatchQuad(*pages[0], corners);
#else
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2i(left, top);
    glTexCoord2f(s1, t0);
    glVertex2i(right, top);
    glTexCoord2f(s1, t1);
    glVertex2i(right, bottom);
    glTexCoord2f(s0, t1);
    glVertex2i(left, bottom);
    glEnd();
#endif
    // Sprites drawn after text expect the neutral colour.
    glColor3f(1, 1, 1);
    glPopMatrix();
}
