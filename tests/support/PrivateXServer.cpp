#include "PrivateXServer.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

PrivateXServer::PrivateXServer(const std::string& screen,
                               const std::vector<std::string>& extraArguments)
    : pid(-1) {
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    const std::string fd = std::to_string(fds[1]);
    // Without -noreset the server resets whenever its last client leaves,
    // and refuses whoever connects meanwhile.
    std::vector<std::string> arguments = {"Xvfb", "-displayfd", fd,    "-screen", "0",
                                          screen, "-nolisten",  "tcp", "-noreset"};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(&argument[0]);
    }
    argv.push_back(nullptr);
    pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Gone with the test, should it crash before its destructor runs.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        execvp("Xvfb", argv.data());
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
    } else {
        ADD_FAILURE() << "Xvfb did not start";
    }
}

PrivateXServer::~PrivateXServer() {
    Stop();
}

void PrivateXServer::Stop() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}
