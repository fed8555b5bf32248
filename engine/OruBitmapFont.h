// Cindermill bitmap font: a definition file of glyph metrics (a narrowed text
// form of the AngelCode BMFont format) over one font image, drawn as one
// textured quad per character, left- or right-aligned, with a backslash as the
// line break.
#ifndef CINDERMILL_ORU_BITMAP_FONT_H
#define CINDERMILL_ORU_BITMAP_FONT_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// One character's record. The cell is in font image pixels (row 0 at the top);
// the offsets place the quad relative to the pen; page is kept but unused.
struct Glyph {
    int32_t x, y, width, height, xadvance, id, page, xoffset, yoffset;
};

// The outcome of reading a definition text.
enum class DefinitionVerdict {
    Complete,    // read to the end or to the first kerning line
    Malformed,   // the program must end with exit status 1
    Unreadable,  // the stream reported a read error; treated as a missing file
};

class OruBitmapFont {
public:
    static constexpr int kGlyphCount = 256;
    // Formatted texts are cut to this many characters, terminator included.
    static constexpr size_t kFormatBufferSize = 256;

    // Loads the image, then the definition. A missing or unusable file leaves
    // the font not ready; a malformed definition ends the program (status 1).
    OruBitmapFont(const char* imagePath, const char* definitionPath);
    // A font that loads nothing: not ready, no page, every glyph zeroed. Used
    // with ReadDefinition to check definition texts in-process.
    OruBitmapFont();
    OruBitmapFont(const OruBitmapFont&) = delete;
    OruBitmapFont& operator=(const OruBitmapFont&) = delete;

    // (x, y) is the first character's pen position in window pixels; alpha is
    // handed to OpenGL unchanged, so values above 1 draw opaque.
    virtual void DrawText(const char* text, int32_t x, int32_t y, float alpha);
    virtual void DrawText(const char* text, int32_t x, int32_t y);
    virtual void DrawFormatted(int32_t x, int32_t y, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    // (x, y) is the pen position at the text's right end.
    virtual void DrawFormattedRight(int32_t x, int32_t y, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    virtual void DrawFormattedRight(int32_t x, int32_t y, float alpha, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    virtual int32_t GetLineHeight();
    virtual ~OruBitmapFont();

    // Components 0 to 255; the colour stays until the next call.
    void SetColor(uint8_t red, uint8_t green, uint8_t blue);
    void DrawFormatted(int32_t x, int32_t y, float alpha, const char* format, ...)
        __attribute__((format(printf, 5, 6)));

    // The record of a character code 0 to 255; any other code gets an empty one.
    const Glyph& GetGlyph(int code) const;
    // The common line's values as read: lineHeight, base, scaleW, scaleH.
    std::array<int32_t, 4> GetCommonValues() const { return {lineHeight, base, scaleW, scaleH}; }

    // Reads a definition text from an open stream into the metrics and the
    // glyph table, printing every message as the file would, but hands a
    // malformed text back as a verdict instead of ending the program. Needs
    // neither an image nor an OpenGL context.
    DefinitionVerdict ReadDefinition(FILE* stream);

private:
    // What one line after the first means for the rest of the reading.
    enum class LineVerdict { Continue, EndOfGlyphs, Malformed };

    int32_t LoadImage(const char* path);
    int32_t LoadDefinition(const char* path);
    LineVerdict ParseCommonLine(const char* line);
    // The record goes into the table when its id is above 0.
    LineVerdict ParseCharLine(const char* line, Glyph* glyph);
    int32_t ReadFieldValue(const char* token);
    void StoreGlyph(const Glyph& glyph);
    // The one place where a malformed definition ends the program.
    [[noreturn]] static void EndOnMalformedDefinition();

    bool GuardReady() const;
    void DrawRightAligned(const char* text, int32_t x, int32_t y, float alpha);
    // (quadX, quadY) is the quad's top-left corner; wide so that no metrics
    // from a file can overflow on the way there.
    void DrawGlyph(const Glyph& cell, int64_t quadX, int64_t quadY, float alpha);

    int32_t lineHeight = 0;
    int32_t base = 0;
    int32_t scaleW = 0;
    int32_t scaleH = 0;
    bool ready = false;
    uint8_t red = 255;
    uint8_t green = 255;
    uint8_t blue = 255;
    std::vector<uint32_t*> pages;
    // Codes the file never defines stay zeroed: an empty quad, no advance.
    std::array<Glyph, kGlyphCount> glyphs{};
};

#endif
