// An Xvfb of the test's own on the first free display number, for tests that
// need a screen of a given size, an X server they may take away, or one
// without some extension. Ended with the object.
#ifndef ZIBO_TESTS_PRIVATE_X_SERVER_H
#define ZIBO_TESTS_PRIVATE_X_SERVER_H

#include <sys/types.h>

#include <string>
#include <vector>

class PrivateXServer {
public:
    // screen: "WIDTHxHEIGHTxDEPTH"; extraArguments go to Xvfb as they are.
    explicit PrivateXServer(const std::string& screen = "1024x768x24",
                            const std::vector<std::string>& extraArguments = {});
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // ":N" once the server accepts clients; empty, and a failure of the test,
    // when it did not start.
    const std::string& Display() const { return display; }
    void Stop();

private:
    pid_t pid;
    std::string display;
};

#endif
