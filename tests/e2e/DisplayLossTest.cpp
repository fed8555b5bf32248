// The game and its display: one that goes away under it, as when the session
// ends or the server crashes, and none at all. Left to Xlib, a lost
// connection calls exit(), whose SDL_Quit talks to the dead server again and
// spins there for good; and without a display SDL quietly falls back to a
// driver that draws into memory, where the game would play on unseen. The
// launcher's test runs that driver when asked for by name.
#include "GameProcess.h"
#include "PrivateXServer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The one complaint the game makes when it has no window, and proof that it
// got no further: no asset folders are laid out, so a start-up that went on
// would report every file missing, and it prints its first lines on
// standard output.
void ExpectEndedBeforeLoading(GameProcess& game, const std::string& reason) {
    EXPECT_EQ(game.WaitForExit(), 1) << "the game did not end on its own";
    // A game that went on logs for every frame: the start of it says enough.
    const std::string err = game.Err();
    EXPECT_NE(err.find("FAIL) Can't open the game window: " + reason), std::string::npos)
        << err.substr(0, 2000);
    EXPECT_EQ(err.find("missing"), std::string::npos) << err.substr(0, 2000);
    EXPECT_EQ(game.Out(), "");
}

}  // namespace

TEST(DisplayLossTest, TheGameEndsWhenItsXServerGoesAway) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty());
    // The test itself stays on the X server the test command gives it, which
    // outlives this one.
    GameProcess game;
    game.LinkAssets("sprites");
    game.LinkAssets("sfx");
    ASSERT_TRUE(game.Start({"DISPLAY=" + server.Display(), "XAUTHORITY"}));
    ASSERT_TRUE(WaitUntil([&] {
        return game.Out().find("Pass) Playing track 0") != std::string::npos;
    })) << game.Err();
    server.Stop();
    EXPECT_EQ(game.WaitForExit(), 1) << "the game did not end on its own";
    EXPECT_NE(game.Err().find("Err.) Lost the connection to the X server\n"), std::string::npos)
        << game.Err();
}

TEST(DisplayLossTest, WithoutADisplayTheGameSaysSoAndEndsBeforeLoadingAnything) {
    GameProcess game;
    ASSERT_TRUE(game.Start({"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}));
    ExpectEndedBeforeLoading(game, "no display to show it on (DISPLAY is not set; ");
}

TEST(DisplayLossTest, AnXServerWithoutOpenGlGivesNoWindowEither) {
    PrivateXServer server("1024x768x24", {"-extension", "GLX"});
    ASSERT_FALSE(server.Display().empty());
    GameProcess game(server.Display());
    ASSERT_TRUE(game.Start({"XAUTHORITY"}));
    ExpectEndedBeforeLoading(game, "");
}
