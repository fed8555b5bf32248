#include "TestWindow.h"

#include "Video.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

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

void OpenTestWindow() {
    static bool opened = false;
    if (opened) {
        return;
    }
    if (InitVideo(kTestWindowWidth, kTestWindowHeight) != 0) {
        fprintf(stderr, "test: cannot open the window (is an X server running?)\n");
        abort();
    }
    InitGl(kTestWindowWidth, kTestWindowHeight);
    opened = true;
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
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, kTestWindowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return Rgba{p[0], p[1], p[2], p[3]};
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

CanvasArea::CanvasArea(int left, int top, int width, int height)
    : pixels(static_cast<size_t>(width) * height) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // OpenGL counts rows from the bottom; the order of the pixels does not
    // matter to the counts.
    glReadPixels(left, kTestWindowHeight - top - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

int CanvasArea::Count(const std::function<bool(Rgba)>& test) const {
    int count = 0;
    for (const Rgba& p : pixels) {
        count += test(p) ? 1 : 0;
    }
    return count;
}

int CanvasArea::Count(Rgba colour, int tolerance) const {
    return Count([&](Rgba p) { return Near(p, colour, tolerance); });
}

Rgba CanvasArea::Max() const {
    Rgba most{0, 0, 0, 0};
    for (const Rgba& p : pixels) {
        most = Rgba{std::max(most.r, p.r), std::max(most.g, p.g), std::max(most.b, p.b),
                    std::max(most.a, p.a)};
    }
    return most;
}

std::string Describe(Rgba c) {
    std::ostringstream s;
    s << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
    return s.str();
}

bool SaveCanvasPng(const std::string& path) {
    std::vector<Rgba> pixels(static_cast<size_t>(kTestWindowWidth) * kTestWindowHeight);
    std::vector<unsigned char> raw(pixels.size() * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kTestWindowWidth, kTestWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int y = 0; y < kTestWindowHeight; ++y) {
        for (int x = 0; x < kTestWindowWidth; ++x) {
            const unsigned char* p = &raw[((kTestWindowHeight - 1 - y) * kTestWindowWidth + x) * 4];
            pixels[y * kTestWindowWidth + x] = Rgba{p[0], p[1], p[2], 255};
        }
    }
    return WritePngRgba(path, kTestWindowWidth, kTestWindowHeight, pixels);
}

TempDir::TempDir() {
    char name[] = "/tmp/zibo-test-XXXXXX";
    path = mkdtemp(name);
}

TempDir::~TempDir() {
    const std::string command = "rm -rf '" + path + "'";
    if (system(command.c_str()) != 0) {
        fprintf(stderr, "test: could not remove %s\n", path.c_str());
    }
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}
