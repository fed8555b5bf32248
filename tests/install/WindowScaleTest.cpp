// The installed launcher on large screens, each a private Xvfb of its size:
// the window grows by the largest whole number at which it fits the screen
// with a tenth of it to spare, and at that scale the game still faces the
// pointer, finds the cat-mode spot under a shift-right-click and saves its
// 640 x 480 picture with F12. A scale the player set wins, 1 included. The
// window's picture at each scale played is left in build/window-scale/.
// Alone while it runs: the checks must be done before the round's first bad
// guys reach the player, and a 4K window is much work for a shared machine.
#include "GameProcess.h"
#include "PrivateXServer.h"
#include "StagedInstall.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kGameWidth = 640;
const int kGameHeight = 480;
// The player stands in the middle of the picture; his rifle reaches less
// than this far from there.
const int kCentreX = kGameWidth / 2;
const int kCentreY = kGameHeight / 2;
const int kReach = 24;
const size_t kScreenshotBytes = 54 + kGameWidth * kGameHeight * 3;
const double kCatBoundSeconds = 60.0;
const std::chrono::milliseconds kPollStep(20);

// The game's own pixels in a picture of (part of) a window at a whole scale:
// the window pixel in the middle of each scaled pixel.
WindowPicture GamePixels(const WindowPicture& window, int scale) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < window.height / scale; ++y) {
        for (int x = 0; x < window.width / scale; ++x) {
            pixels.push_back(window.At(x * scale + scale / 2, y * scale + scale / 2));
        }
    }
    return WindowPicture(window.width / scale, window.height / scale, std::move(pixels));
}

// The F12 file: an uncompressed 24-bit BMP, rows bottom first, blue first.
WindowPicture ScreenshotPicture(const std::string& bytes) {
    if (bytes.size() != kScreenshotBytes) {
        return WindowPicture();
    }
    const size_t rowBytes = kGameWidth * 3;
    std::vector<Pixel> pixels;
    for (int y = 0; y < kGameHeight; ++y) {
        const size_t row = 54 + static_cast<size_t>(kGameHeight - 1 - y) * rowBytes;
        for (int x = 0; x < kGameWidth; ++x) {
            const unsigned char* p = reinterpret_cast<const unsigned char*>(&bytes[row + x * 3]);
            pixels.push_back(Pixel{p[2], p[1], p[0]});
        }
    }
    return WindowPicture(kGameWidth, kGameHeight, std::move(pixels));
}

// The health bar's red fill in the HUD, shown in play only; the bar's
// rectangle starts at (left, top) of the picture.
const int kBarLeft = 40;
const int kBarTop = 24;
const int kBarWidth = 80;
const int kBarHeight = 8;
bool ShowsHealthBar(const WindowPicture& p, int left, int top) {
    const int kFilled = 300;
    return !p.Empty() && p.Count(left, top, left + kBarWidth, top + kBarHeight, [](Pixel q) {
        return q.r > q.g + 60 && q.r > q.b + 60;
    }) > kFilled;
}

int Difference(Pixel p, Pixel q) {
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
}

int Median(int a, int b, int c) {
    return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// A rectangle of the game's picture, read from only that much of the window:
// a whole 4K window takes long to read, and the checks on the player must be
// done before the round's first bad guy walks in.
WindowPicture Region(GameProcess& game, int scale, int left, int top, int width, int height) {
    const WindowPicture window =
        game.Picture(left * scale, top * scale, width * scale, height * scale);
    return window.width == width * scale ? GamePixels(window, scale) : WindowPicture();
}

WindowPicture PlayerPicture(GameProcess& game, int scale) {
    return Region(game, scale, kCentreX - kReach, kCentreY - kReach, 2 * kReach, 2 * kReach);
}

// How many pixels differ between two pictures of the same size.
int Changes(const WindowPicture& a, const WindowPicture& b) {
    const int kChanged = 60;
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            count += Difference(a.At(x, y), b.At(x, y)) > kChanged ? 1 : 0;
        }
    }
    return count;
}

// The round's clock at the bottom right ("Time: 6.35") moves on every
// hundredth of a second: a change in it tells that the game showed a frame.
WindowPicture Clock(GameProcess& game, int scale) {
    const int kClockLeft = 540;
    const int kClockTop = 450;
    const int kClockWidth = 100;
    const int kClockHeight = 30;
    return Region(game, scale, kClockLeft, kClockTop, kClockWidth, kClockHeight);
}

// The picture around the player once it differs from `previous` (if given)
// and has stayed the same over several new frames, so that it shows what
// the game made of all input sent before, whatever the lag between drawing
// a frame and its reaching the window; empty when that did not come.
WindowPicture SettledPlayerPicture(GameProcess& game, int scale, const WindowPicture* previous) {
    const int kSameFrames = 4;
    const int kTurned = 20;
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    WindowPicture clock = Clock(game, scale);
    WindowPicture last;
    int same = 0;
    while (game.Running() && std::chrono::steady_clock::now() < bound) {
        std::this_thread::sleep_for(kPollStep);
        const WindowPicture now = Clock(game, scale);
        if (now.Empty() || Changes(now, clock) == 0) {
            continue;
        }
        clock = now;
        const WindowPicture player = PlayerPicture(game, scale);
        same = !last.Empty() && Changes(player, last) == 0 ? same + 1 : 0;
        last = player;
        if (same >= kSameFrames && (previous == nullptr || Changes(player, *previous) > kTurned)) {
            return player;
        }
    }
    return WindowPicture();
}

// The soldier in three pictures of him turned three ways on the same floor
// (right, left, up): where at most one of them shows him, the median of the
// three is the floor, and he is what differs from it. This tells him from
// any of the floors, even the dark one his rifle hardly stands out from.
class Poses {
public:
    Poses(const WindowPicture& right, const WindowPicture& left, const WindowPicture& up)
        : poses{&right, &left, &up} {}

    // How many of the pose's pixels lie well ahead of the centre along
    // (dx, dy), no further than a few pixels to either side of that line:
    // the rifle, beyond the hands that hold it.
    int Ahead(int pose, int dx, int dy) const {
        const int kOnHim = 15;
        int count = 0;
        for (int y = 0; y < 2 * kReach; ++y) {
            for (int x = 0; x < 2 * kReach; ++x) {
                const Pixel a = poses[0]->At(x, y);
                const Pixel b = poses[1]->At(x, y);
                const Pixel c = poses[2]->At(x, y);
                const Pixel floor{Median(a.r, b.r, c.r), Median(a.g, b.g, c.g),
                                  Median(a.b, b.b, c.b)};
                if (Difference(poses[pose]->At(x, y), floor) <= kOnHim) {
                    continue;
                }
                const double along = (x + 0.5 - kReach) * dx + (y + 0.5 - kReach) * dy;
                const double across = std::abs((x + 0.5 - kReach) * dy - (y + 0.5 - kReach) * dx);
                count += along >= 11.0 && across <= 6.0 ? 1 : 0;
            }
        }
        return count;
    }

    // In the pose he points along (dx, dy), one of the four main
    // directions, and along none of the other three.
    bool Faces(int pose, int dx, int dy) const {
        const int ahead = Ahead(pose, dx, dy);
        return ahead >= 6 && Ahead(pose, -dx, -dy) * 2 < ahead && Ahead(pose, dy, dx) * 2 < ahead &&
               Ahead(pose, -dy, -dx) * 2 < ahead;
    }

private:
    const WindowPicture* poses[3];
};

// A cat's orange fur, which neither the floor, the bad guys, the blood nor
// the HUD show; counted below the HUD panel.
int CatPixels(const WindowPicture& p) {
    const int kBelowHud = 90;
    return p.Count(0, kBelowHud, kGameWidth, kGameHeight, [](Pixel q) {
        return q.r > 180 && q.g > 90 && q.g + 40 < q.r && q.b + 30 < q.g;
    });
}

class WindowScaleTest : public ::testing::Test {
protected:
    // Starts the launcher on the display as a fresh account would, with the
    // extra environment settings; true once its window shows.
    bool Start(GameProcess& game, const std::vector<std::string>& environment = {}) {
        std::vector<std::string> settings = {"HOME=" + home.Path(), "XDG_DATA_HOME",
                                             "SDL12COMPAT_WINDOW_SCALING", "XAUTHORITY"};
        settings.insert(settings.end(), environment.begin(), environment.end());
        return game.StartProgram(install.Launcher(), home.Path(), settings) && game.WaitForWindow();
    }

    // Plays at the scale: into a round; when asked for the checks, the
    // player turned right, left and up by the mouse and an F12 screenshot,
    // done first, while no bad guy can have come near yet; then cat mode
    // switched on at the HUD's spot, and the window's picture kept once a
    // cat has come in. Closes the window.
    void PlayAt(GameProcess& game, int scale, bool checks) {
        const auto window = [scale](int x) { return x * scale + scale / 2; };
        ASSERT_TRUE(game.HoldKeyUntil("space", [&] {
            return ShowsHealthBar(Region(game, scale, kBarLeft, kBarTop, kBarWidth, kBarHeight), 0,
                                  0);
        })) << game.Err();
        if (checks) {
            CheckAiming(game, scale);
            CheckScreenshot(game);
        }

        // Shift held through the click, as the game reads it when it handles
        // the click, and until the first cat comes in.
        game.Key("Shift_L", true);
        game.Click(3, window(48), window(67));
        EXPECT_TRUE(game.WaitForPicture(
            [&](const WindowPicture& p) { return CatPixels(GamePixels(p, scale)) > 30; },
            kCatBoundSeconds))
            << "no cat came in";
        game.Key("Shift_L", false);

        SavePicture(game.Picture(), scale);
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    }

    void CheckAiming(GameProcess& game, int scale) {
        const auto window = [scale](int x) { return x * scale + scale / 2; };
        // In slow motion, held on the right button, the bad guys walk at a
        // quarter of their speed: more time before one can reach the player.
        // He is first turned down, so that each of the turns checked (right,
        // left, up) changes what he shows. A mouse read in window pixels
        // instead of the game's would have him face down and right each time.
        game.Button(3, true);
        const int kAway = 100;
        game.MoveMouse(window(kCentreX), window(kCentreY + kAway));
        WindowPicture previous = SettledPlayerPicture(game, scale, nullptr);
        ASSERT_FALSE(previous.Empty()) << "the game stopped drawing";
        const struct {
            int x, y;
        } points[] = {{kCentreX + kAway, kCentreY},
                      {kCentreX - kAway, kCentreY},
                      {kCentreX, kCentreY - kAway}};
        WindowPicture poses[3];
        for (int i = 0; i < 3; ++i) {
            game.MoveMouse(window(points[i].x), window(points[i].y));
            poses[i] = SettledPlayerPicture(game, scale, &previous);
            ASSERT_FALSE(poses[i].Empty()) << "the player did not turn towards point " << i;
            previous = poses[i];
        }
        game.Button(3, false);
        const Poses turned(poses[0], poses[1], poses[2]);
        EXPECT_TRUE(turned.Faces(0, 1, 0)) << "the player does not face right";
        EXPECT_TRUE(turned.Faces(1, -1, 0)) << "the player does not face left";
        EXPECT_TRUE(turned.Faces(2, 0, -1)) << "the player does not face up";
    }

    void CheckScreenshot(GameProcess& game) {
        const std::string screenshot = home.Path() + "/.local/share/zibo/screenshot.bmp";
        unlink(screenshot.c_str());
        EXPECT_TRUE(game.HoldKeyUntil(
            "F12", [&] { return ReadFileBytes(screenshot).size() == kScreenshotBytes; }));
        // The game may be writing the file once more as the key goes up.
        std::string bytes, again = ReadFileBytes(screenshot);
        const auto start = std::chrono::steady_clock::now();
        while ((bytes.size() != kScreenshotBytes || bytes != again) &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            std::this_thread::sleep_for(kPollStep);
            bytes = again;
            again = ReadFileBytes(screenshot);
        }
        const WindowPicture shot = ScreenshotPicture(bytes);
        ASSERT_FALSE(shot.Empty());
        EXPECT_TRUE(ShowsHealthBar(shot, kBarLeft, kBarTop));
    }

    static void SavePicture(const WindowPicture& p, int scale) {
        const std::string directory = std::string(ZIBO_BUILD_DIR) + "/window-scale";
        mkdir(directory.c_str(), 0755);
        std::vector<Rgba> pixels;
        pixels.reserve(static_cast<size_t>(p.width) * p.height);
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const Pixel q = p.At(x, y);
                pixels.push_back(Rgba{static_cast<uint8_t>(q.r), static_cast<uint8_t>(q.g),
                                      static_cast<uint8_t>(q.b), 255});
            }
        }
        WritePngRgb(directory + "/scale-" + std::to_string(scale) + ".png", p.width, p.height,
                    pixels);
    }

    const StagedInstall install;
    const TempDir home;
};

}  // namespace

TEST_F(WindowScaleTest, OnAFullHdScreenTheWindowIsTwiceAsLargeUnlessThePlayerSaysOtherwise) {
    ASSERT_TRUE(install.Ok()) << install.Log();
    PrivateXServer server("1920x1080x24");
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    {
        GameProcess game(server.Display());
        ASSERT_TRUE(Start(game)) << game.Err();
        EXPECT_EQ(game.WindowSize(), std::make_pair(1280, 960));
        PlayAt(game, 2, true);
    }
    {
        GameProcess game(server.Display());
        ASSERT_TRUE(Start(game, {"SDL12COMPAT_WINDOW_SCALING=1"})) << game.Err();
        EXPECT_EQ(game.WindowSize(), std::make_pair(kGameWidth, kGameHeight));
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    }
}

TEST_F(WindowScaleTest, OnA4kScreenTheWindowIsFourTimesAsLargeUnlessThePlayerSaysOtherwise) {
    ASSERT_TRUE(install.Ok()) << install.Log();
    PrivateXServer server("3840x2160x24");
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    {
        GameProcess game(server.Display());
        ASSERT_TRUE(Start(game)) << game.Err();
        EXPECT_EQ(game.WindowSize(), std::make_pair(2560, 1920));
        PlayAt(game, 4, true);
    }
    {
        GameProcess game(server.Display());
        ASSERT_TRUE(Start(game, {"SDL12COMPAT_WINDOW_SCALING=3"})) << game.Err();
        EXPECT_EQ(game.WindowSize(), std::make_pair(1920, 1440));
        PlayAt(game, 3, false);
    }
}
