// The real window and OpenGL context that drawing tests need, opened once per
// test process under the X server the test command provides, plus pixel
// read-back in window coordinates (origin top-left, y down).
#ifndef ZIBO_TESTS_TEST_WINDOW_H
#define ZIBO_TESTS_TEST_WINDOW_H

#include "GameSettings.h"
#include "PngWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

const int kTestWindowWidth = kScreenWidth;
const int kTestWindowHeight = kScreenHeight;

// InitVideo + InitGl at the game's window size; repeated calls do nothing.
// The window's focus is not followed, as GameDriver does not follow it.
void OpenTestWindow();
// Clears to black and resets the projection and colour to the state InitGl leaves.
void ResetTestCanvas();
const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};

// The pixel of the back buffer at window (x, y).
Rgba ReadPixel(int x, int y);
// True when every colour channel of a is within tolerance of b.
bool Near(Rgba a, Rgba b, int tolerance = 3);
std::string Describe(Rgba c);
// EXPECT_TRUE(PixelIs(x, y, colour)): the failure names the pixel and both
// colours.
::testing::AssertionResult PixelIs(int x, int y, Rgba expected, int tolerance = 3);

// A picture, rows from the top: of the back buffer, an image file, the
// game's window or its F12 file.
struct Picture {
    int width = 0, height = 0;
    std::vector<Rgba> pixels;
    bool Empty() const { return pixels.empty(); }
    Rgba At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // The rectangle at (left, top), which lies inside the picture.
    Picture Crop(int left, int top, int width, int height) const;
    // How many of its pixels pass the test, or are near the colour.
    int Count(const std::function<bool(Rgba)>& test) const;
    int Count(Rgba colour, int tolerance = 3) const;
};
// A rectangle of the back buffer, read at once (window coordinates).
Picture ReadCanvas(int left, int top, int width, int height);

// A fresh temporary directory, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

// Whole file contents, empty when unreadable.
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

#endif
