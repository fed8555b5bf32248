// The installed launcher on large screens, each a private Xvfb of its size:
// the window grows by the largest whole number at which it fits the screen
// with a tenth of it to spare, and a scale the player set wins, 1 included.
// How the game reads the pointer and saves its picture at a scale is the
// desktop test's part.
#include "GameProcess.h"
#include "PrivateXServer.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class WindowScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string command = "DESTDIR='" + install.Path() + "' cmake --install '" +
                                    ZIBO_BUILD_DIR + "' --prefix /usr >/dev/null";
        ASSERT_EQ(system(command.c_str()), 0);
    }

    // The launcher on the server's display, as a fresh account starts it:
    // the width of the window it opens.
    int WindowWidth(const PrivateXServer& server, const std::string& scaling) {
        GameProcess game(server.Display());
        if (!game.StartProgram(install.File("usr/games/zibo"), home.Path(),
                               {"HOME=" + home.Path(), "XDG_DATA_HOME", "XAUTHORITY",
                                scaling.empty() ? "SDL12COMPAT_WINDOW_SCALING"
                                                : "SDL12COMPAT_WINDOW_SCALING=" + scaling}) ||
            !game.WaitForWindow()) {
            ADD_FAILURE() << "no window: " << game.Err();
            return 0;
        }
        const std::pair<int, int> size = game.WindowSize();
        EXPECT_EQ(size.first * kScreenHeight, size.second * kScreenWidth);
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
        return size.first;
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
        ASSERT_FALSE(server.Display().empty());
        EXPECT_EQ(WindowWidth(server, ""), kScreenWidth * screen.scale);
        EXPECT_EQ(WindowWidth(server, screen.playersScale), screen.playersWidth);
    }
}
