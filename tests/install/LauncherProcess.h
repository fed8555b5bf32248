// Runs an installed launcher as the desktop or a shell would: from a working
// directory and with an environment of the test's choosing, its output kept
// in files. Because the launcher hands its process over to the game, the
// game's window carries the launcher's process id; the test finds it by that,
// holds keys through XTest and closes it as a window manager does.
#ifndef ZIBO_TESTS_INSTALL_LAUNCHER_PROCESS_H
#define ZIBO_TESTS_INSTALL_LAUNCHER_PROCESS_H

#include "TestWindow.h"

#include <sys/types.h>

#include <string>
#include <vector>

// Xlib stays out of the tests: its macros clash with GoogleTest's names.
struct _XDisplay;

// The caption the game gives its window.
const char* const kGameCaption = "Z.I.B.O. -- Zibonauts";

class LauncherProcess {
public:
    LauncherProcess();
    ~LauncherProcess();  // kills the process if it still runs
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    // Starts the program in the directory with the test's environment changed
    // by the settings ("NAME=value"; a bare "NAME" removes the variable).
    bool Start(const std::string& program, const std::string& workingDirectory,
               const std::vector<std::string>& environment);
    // Waits for a mapped window of the process; false after the time bound
    // or when the process ended first.
    bool WaitForWindow(double seconds = 60.0);
    // The exit status, -1 when the process did not end in time (it is then
    // killed), -2 when a signal ended it.
    int WaitForExit(double seconds = 60.0);
    bool Running();

    // Holds a key down in the window until done() is true or the time is up;
    // true when done() became true.
    template <typename Done>
    bool HoldKeyUntil(const char* keysym, Done done, double seconds = 20.0);
    // WM_DELETE_WINDOW, as a window manager closes a window.
    void CloseWindow();
    // The window's caption once the program has set one (it maps the window
    // first); empty when none came in time.
    std::string WaitForCaption(double seconds = 10.0);

    std::string Out() const { return ReadFileBytes(output.File("stdout")); }
    std::string Err() const { return ReadFileBytes(output.File("stderr")); }

private:
    unsigned long FindWindowOfPid(unsigned long root);  // X window ids
    void Key(const char* keysym, bool down);
    std::string Caption();
    double Elapsed() const;
    void Pause() const;

    TempDir output;
    pid_t pid;
    _XDisplay* display;
    unsigned long window;
    int exitStatus;
    double started;
};

template <typename Done>
bool LauncherProcess::HoldKeyUntil(const char* keysym, Done done, double seconds) {
    const double until = Elapsed() + seconds;
    bool finished = false;
    // Pressed again on every step: a repeat is harmless, and the window gets
    // its focus back should something else have taken it.
    while (!finished && Elapsed() < until && Running()) {
        Key(keysym, true);
        Pause();
        finished = done();
    }
    Key(keysym, false);
    return finished;
}

#endif
