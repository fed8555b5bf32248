// Runs the real zibo executable (or its installed launcher) in a working
// directory of the test's making and plays it like a person would: real X
// input through XTest into its window, found by the process id, the window's
// picture read back from the X server, and a window close as a window
// manager sends it.
#ifndef ZIBO_TESTS_GAME_PROCESS_H
#define ZIBO_TESTS_GAME_PROCESS_H

#include "TestWindow.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Xlib stays out of this header: its macros clash with the test framework's.
struct _XDisplay;

// The caption the game gives its window.
const char* const kGameCaption = "Z.I.B.O. -- Zibonauts";

// Polls the condition until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, double seconds = 20.0);

class GameProcess {
public:
    // An empty working directory of its own (File("") is its path); the
    // program's standard output and error go to files beside it. The program
    // and the test's X connection use the X server named by displayName, or
    // DISPLAY's.
    explicit GameProcess(const std::string& displayName = "");
    ~GameProcess();  // kills the program if it still runs, removes the files

    std::string File(const std::string& name) const { return directory + "/" + name; }
    // Links "sprites" or "sfx" to the build's generated assets, or copies it
    // for a test that damages it.
    void LinkAssets(const std::string& folder) { AddAssets("ln -s", folder); }
    void CopyAssets(const std::string& folder) { AddAssets("cp -rL", folder); }

    // Starts the game in Path() with extra environment settings
    // ("NAME=value"; a bare "NAME" removes it).
    bool Start(const std::vector<std::string>& environment = {});
    // Starts another program, such as the launcher, in a directory of the
    // test's choosing. A launcher that hands its process over to the game
    // gives the game's window its own process id.
    bool StartProgram(const std::string& program, const std::string& workingDirectory,
                      const std::vector<std::string>& environment);
    // The generated assets linked, the game started and its window mapped.
    bool StartWithAssets(const std::vector<std::string>& environment = {});
    // Waits for the game's window to be mapped and gives it the focus.
    bool WaitForWindow(double seconds = 30.0);
    // The exit status, or -1 when the program did not end in time (it is then
    // killed), or -2 when it died from a signal.
    int WaitForExit(double seconds = 30.0);
    bool Running();

    // Gives the window the input focus, as a click on it would.
    void Focus();
    void Key(const char* keysym, bool down);
    // A click of the button (1 left, 3 right) at window (x, y).
    void Click(int x, int y, int button = 1);
    // WM_DELETE_WINDOW, as a window manager closes a window.
    void CloseWindow();
    // Holds a key down until done() is true (true) or the time is up. Pressed
    // again on every step, so the window gets the focus back should something
    // else have taken it.
    bool HoldKeyUntil(const char* keysym, const std::function<bool()>& done, double seconds = 20.0);
    // The window's caption once the program has set one (it maps the window
    // first); empty when none came in time.
    std::string WaitForCaption(double seconds = 10.0);
    // The whole window's picture; empty when there is none.
    ::Picture Picture();
    std::pair<int, int> WindowSize();
    std::string Out() const { return ReadFileBytes(logs.File("out")); }
    std::string Err() const { return ReadFileBytes(logs.File("err")); }

private:
    void AddAssets(const std::string& how, const std::string& folder);
    unsigned long FindWindowOfPid(unsigned long root);

    TempDir logs;
    std::string directory;
    std::string displayName;
    int pid = -1;
    _XDisplay* display;
    unsigned long window = 0;
    int exitStatus = -1;
};

#endif
