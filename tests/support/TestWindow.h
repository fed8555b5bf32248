// The real window and OpenGL context that drawing tests need, opened once per
// test process under the X server the test command provides, plus pixel
// read-back in window coordinates (origin top-left, y down).
#ifndef ZIBO_TESTS_TEST_WINDOW_H
#define ZIBO_TESTS_TEST_WINDOW_H

#include "GameSettings.h"
#include "PngWriter.h"

#include <string>

const int kTestWindowWidth = kScreenWidth;
const int kTestWindowHeight = kScreenHeight;

// InitVideo + InitGl at the game's window size; repeated calls do nothing.
void OpenTestWindow();
// Clears to black and resets the projection to the state InitGl leaves.
void ResetTestCanvas();
// The pixel of the back buffer at window (x, y).
Rgba ReadPixel(int x, int y);
// True when every channel of a is within tolerance of b.
bool Near(Rgba a, Rgba b, int tolerance = 3);
std::string Describe(Rgba c);
// Writes the back buffer as a PNG for a person to look at.
bool SaveCanvasPng(const std::string& path);

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
