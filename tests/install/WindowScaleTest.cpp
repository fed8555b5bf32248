// The installed launcher on large screens, each a private Xvfb of its size:
// the window grows by the largest whole number at which it fits the screen
// with a tenth of it to spare, and at that scale the game still faces the
// pointer, takes a shift-right-click on the HUD's spot for cat mode and saves
// its 640 x 480 picture with F12. A scale the player set wins, 1 included.
#include "GameProcess.h"
#include "PrivateXServer.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int kCentreX = kScreenWidth / 2;
const int kCentreY = kScreenHeight / 2;

bool Red(Rgba q) {
    return q.r > q.g + 60 && q.r > q.b + 60;
}

// The HUD's red health bar shows in play only.
bool InPlay(GameProcess& game, int scale) {
    const WindowPicture bar = game.Picture(40 * scale, 24 * scale, 80 * scale, 8 * scale);
    return !bar.Empty() && bar.Count(0, 0, bar.width, bar.height, Red) > 300 * scale * scale;
}

class WindowScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string command = "DESTDIR='" + install.Path() + "' cmake --install '" +
                                    ZIBO_BUILD_DIR + "' --prefix /usr >/dev/null";
        ASSERT_EQ(system(command.c_str()), 0);
    }

    // The launcher on the display, as a fresh account starts it.
    bool Start(GameProcess& game, const std::string& scaling) {
        return game.StartProgram(install.File("usr/games/zibo"), home.Path(),
                                 {"HOME=" + home.Path(), "XDG_DATA_HOME", "XAUTHORITY",
                                  scaling.empty() ? "SDL12COMPAT_WINDOW_SCALING"
                                                  : "SDL12COMPAT_WINDOW_SCALING=" + scaling}) &&
               game.WaitForWindow();
    }

    // The game's F12 picture. The world is drawn before play reads its
    // input, so the second picture after an input is the first sure to show
    // what it did.
    std::string Screenshot(GameProcess& game) {
        const std::string path = home.File(".local/share/zibo/screenshot.bmp");
        game.Screenshot(path);
        return game.Screenshot(path);
    }

    // Into a round; the player turned right, left and up by the pointer, each
    // seen in an F12 picture; cat mode switched on at the HUD's spot, until a
    // cat comes in.
    void PlayAt(GameProcess& game, int scale) {
        const auto window = [scale](int x) { return x * scale + scale / 2; };
        ASSERT_TRUE(game.HoldKeyUntil("space", [&] { return InPlay(game, scale); })) << game.Err();
        const int kAway = 100;
        const int points[3][2] = {{kAway, 0}, {-kAway, 0}, {0, -kAway}};
        WindowPicture shots[3];
        for (int i = 0; i < 3; ++i) {
            game.MoveMouse(window(kCentreX + points[i][0]), window(kCentreY + points[i][1]));
            shots[i] = ScreenshotPicture(Screenshot(game));
            ASSERT_FALSE(shots[i].Empty()) << "no 640 x 480 picture at scale " << scale;
        }
        EXPECT_TRUE(FacesAlong(shots, 0, 1, 0)) << "the player does not face right";
        EXPECT_TRUE(FacesAlong(shots, 1, -1, 0)) << "the player does not face left";
        EXPECT_TRUE(FacesAlong(shots, 2, 0, -1)) << "the player does not face up";

        game.Key("Shift_L", true);
        game.Click(window(48), window(67), 3);
        EXPECT_TRUE(game.WaitForPicture(
            [scale](const WindowPicture& p) {
                // A cat's orange fur, which nothing else on screen shows.
                return p.Count(0, p.height / 5, p.width, p.height, [](Rgba q) {
                    return q.r > 180 && q.g > 90 && q.g + 40 < q.r && q.b + 30 < q.g;
                }) > 30 * scale * scale;
            },
            60.0))
            << "no cat came in";
        game.Key("Shift_L", false);
    }

    const TempDir install;
    const TempDir home;
};

}  // namespace

TEST_F(WindowScaleTest, TheWindowFillsTheScreenByAWholeNumberUnlessThePlayerSaysOtherwise) {
    const struct {
        const char* screen;
        int scale;
        const char* playersScale;
        int playersWidth;
    } screens[] = {{"1920x1080x24", 2, "1", 640}, {"3840x2160x24", 4, "3", 1920}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.screen);
        PrivateXServer server(screen.screen);
        ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
        {
            GameProcess game(server.Display());
            ASSERT_TRUE(Start(game, "")) << game.Err();
            EXPECT_EQ(game.WindowSize(),
                      std::make_pair(kScreenWidth * screen.scale, kScreenHeight * screen.scale));
            PlayAt(game, screen.scale);
            game.CloseWindow();
            EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
        }
        GameProcess game(server.Display());
        ASSERT_TRUE(Start(game, screen.playersScale)) << game.Err();
        EXPECT_EQ(game.WindowSize().first, screen.playersWidth);
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    }
}
