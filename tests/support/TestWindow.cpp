#include "TestWindow.h"

#include "Video.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {
// Shuts SDL down when the tests are over, before exit-time handlers run (see
// ShutDownVideo).
class VideoShutDown : public ::testing::Environment {
public:
    void TearDown() override { ShutDownVideo(); }
};
::testing::Environment* const kVideoShutDown =
    ::testing::AddGlobalTestEnvironment(new VideoShutDown);

}  // namespace

// Rows from the top: OpenGL counts from the bottom.
Picture ReadCanvas(int left, int top, int width, int height) {
    Picture bottomUp{width, height, std::vector<Rgba>(static_cast<size_t>(width) * height)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(left, kTestWindowHeight - top - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    Picture picture{width, height, {}};
    for (int row = height - 1; row >= 0; --row) {
        picture.pixels.insert(picture.pixels.end(), bottomUp.pixels.begin() + row * width,
                              bottomUp.pixels.begin() + (row + 1) * width);
    }
    return picture;
}

void OpenTestWindow() {
    static bool opened = false;
    if (!opened && InitVideo(kTestWindowWidth, kTestWindowHeight) != 0) {
        fprintf(stderr, "test: cannot open the window (is an X server running?)\n");
        abort();
    }
    opened = opened || InitGl(kTestWindowWidth, kTestWindowHeight) == 0;
    // Other tests' windows take the focus, whose loss would pause a round.
    SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
}

void ResetTestCanvas() {
    OpenTestWindow();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, kTestWindowWidth, kTestWindowHeight, 0);
    glColor4f(1, 1, 1, 1);
    ClearScreen();
}

Rgba ReadPixel(int x, int y) {
    return ReadCanvas(x, y, 1, 1).pixels[0];
}

bool Near(Rgba a, Rgba b, int tolerance) {
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance &&
           abs(a.b - b.b) <= tolerance;
}

::testing::AssertionResult PixelIs(int x, int y, Rgba expected, int tolerance) {
    const Rgba actual = ReadPixel(x, y);
    if (Near(actual, expected, tolerance)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is "
                                         << Describe(actual) << ", not " << Describe(expected);
}

Picture Picture::Crop(int left, int top, int w, int h) const {
    Picture crop{w, h, {}};
    for (int y = top; y < top + h; ++y) {
        crop.pixels.insert(crop.pixels.end(), pixels.begin() + y * width + left,
                           pixels.begin() + y * width + left + w);
    }
    return crop;
}

int Picture::Count(const std::function<bool(Rgba)>& test) const {
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), test));
}

int Picture::Count(Rgba colour, int tolerance) const {
    return Count([&](Rgba p) { return Near(p, colour, tolerance); });
}

std::string Describe(Rgba c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

TempDir::TempDir() {
    char name[] = "/tmp/zibo-test-XXXXXX";
    path = mkdtemp(name);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}
