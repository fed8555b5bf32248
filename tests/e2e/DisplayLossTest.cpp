// The game on an X server of its own that goes away under it, as when the
// session ends or the server crashes: the game has to end with it. Left to
// Xlib, the lost connection calls exit(), whose SDL_Quit talks to the dead
// server again and spins there for good.
#include "GameProcess.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

const double kStartUpBoundSeconds = 60.0;
const double kExitBoundSeconds = 30.0;
const std::chrono::milliseconds kPollStep(50);

// An Xvfb of the test's own, on the first free display number.
class PrivateXServer {
public:
    PrivateXServer() : pid(-1) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the display number and a newline once it accepts clients.
        char digit;
        std::string number;
        while (read(fds[0], &digit, 1) == 1 && digit != '\n') {
            number += digit;
        }
        close(fds[0]);
        if (!number.empty()) {
            display = ":" + number;
        }
    }
    ~PrivateXServer() { Stop(); }
    const std::string& Display() const { return display; }
    void Stop() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }

private:
    pid_t pid;
    std::string display;
};

bool WaitForOut(GameProcess& game, const std::string& text) {
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() <
           kStartUpBoundSeconds) {
        if (game.Out().find(text) != std::string::npos) {
            return true;
        }
        if (!game.Running()) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return false;
}

}  // namespace

TEST(DisplayLossTest, TheGameEndsWhenItsXServerGoesAway) {
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    GameProcess game;
    game.LinkAssets();
    ASSERT_TRUE(game.Start({"DISPLAY=" + server.Display(), "XAUTHORITY"}));
    ASSERT_TRUE(WaitForOut(game, "PASS) Startup sequence completed in ")) << game.Err();

    server.Stop();

    EXPECT_EQ(game.WaitForExit(kExitBoundSeconds), 1) << "the game did not end on its own";
    EXPECT_NE(game.Err().find("Err.) Lost the connection to the X server\n"), std::string::npos)
        << game.Err();
}
