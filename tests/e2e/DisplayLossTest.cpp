// The game on an X server of its own that goes away under it, as when the
// session ends or the server crashes: the game has to end with it. Left to
// Xlib, the lost connection calls exit(), whose SDL_Quit talks to the dead
// server again and spins there for good.
#include "GameProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

TEST(DisplayLossTest, TheGameEndsWhenItsXServerGoesAway) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t server = fork();
    if (server == 0) {
        execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(fds[1]).c_str(), "-screen", "0",
               "640x480x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number and a newline once it takes clients.
    std::string display = ":";
    for (char c; read(fds[0], &c, 1) == 1 && c != '\n';) {
        display += c;
    }
    close(fds[0]);
    GameProcess game;
    game.LinkAssets("sprites");
    game.LinkAssets("sfx");
    ASSERT_TRUE(game.Start({"DISPLAY=" + display, "XAUTHORITY"}));
    const bool started =
        WaitUntil([&] {
            return game.Out().find("Pass) Playing track 0") != std::string::npos || !game.Running();
        }) &&
        game.Running();
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    ASSERT_TRUE(started) << display << game.Err();
    EXPECT_EQ(game.WaitForExit(), 1) << "the game did not end on its own";
    EXPECT_NE(game.Err().find("Err.) Lost the connection to the X server\n"), std::string::npos)
        << game.Err();
}
