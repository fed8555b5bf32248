// Runs the real zibo executable (or its installed launcher) in a working
// directory of the test's making and plays it like a person would: real X
// input through XTest into its window, found by the process id, the window's
// picture read back from the X server, and a window close as a window
// manager sends it.
#ifndef ZIBO_TESTS_GAME_PROCESS_H
#define ZIBO_TESTS_GAME_PROCESS_H

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Xlib stays out of this header: its macros clash with the test framework's.
struct _XDisplay;

// The caption the game gives its window.
const char* const kGameCaption = "Z.I.B.O. -- Zibonauts";

struct Pixel {
    int r, g, b;
};

// A copy of the window's picture, window coordinates.
class WindowPicture {
public:
    WindowPicture() : width(0), height(0) {}
    WindowPicture(int w, int h, std::vector<Pixel> p) : width(w), height(h), pixels(std::move(p)) {}
    bool Empty() const { return pixels.empty(); }
    Pixel At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // How many pixels of the rectangle satisfy the test.
    int Count(int left, int top, int right, int bottom,
              const std::function<bool(Pixel)>& test) const;
    int width;
    int height;

private:
    std::vector<Pixel> pixels;
};

class GameProcess {
public:
    // The game's own directory layout inside a fresh temporary directory:
    // "sprites" and "sfx" link to the build's generated assets unless the
    // test lays them out itself (see Path). The game and the test's X
    // connection use the X server named by displayName, or DISPLAY's.
    explicit GameProcess(const std::string& displayName = "");
    ~GameProcess();  // kills the game if it still runs, removes the directory
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    const std::string& Path() const { return directory; }
    // Links "sprites" and "sfx" (or just the named one) to the generated assets.
    void LinkAssets(const std::string& folder = "");
    // A private copy of one asset folder, for a test that damages it.
    void CopyAssets(const std::string& folder);

    // Starts the game in Path() with extra environment settings
    // ("NAME=value"; a bare "NAME" removes it).
    bool Start(const std::vector<std::string>& environment = {});
    // Starts another program, such as the launcher, in a directory of the
    // test's choosing. A launcher that hands its process over to the game
    // gives the game's window its own process id.
    bool StartProgram(const std::string& program, const std::string& workingDirectory,
                      const std::vector<std::string>& environment);
    // Waits for the game's window to be mapped; false after the time bound.
    bool WaitForWindow(double seconds = 30.0);
    // Waits for the process to end; its exit status, or -1 when it did not end
    // in time (it is then killed), or -2 when it died from a signal.
    int WaitForExit(double seconds = 30.0);
    bool Running();

    void Key(const char* keysym, bool down);
    void MoveMouse(int x, int y);
    void Button(int button, bool down);
    void Click(int button, int x, int y);
    // WM_DELETE_WINDOW, as a window manager closes a window.
    void CloseWindow();
    // SIGTERM, as kill or a session's end sends it.
    void Terminate();
    // Holds a key down until done() is true or the time is up; true when
    // done() became true. Pressed again on every step, so the window gets
    // the focus back should something else have taken it.
    bool HoldKeyUntil(const char* keysym, const std::function<bool()>& done, double seconds = 20.0);
    // The window's caption once the program has set one (it maps the window
    // first); empty when none came in time.
    std::string WaitForCaption(double seconds = 10.0);

    WindowPicture Picture();
    // A rectangle of the window's picture, its top-left corner at (0, 0);
    // far quicker than the whole of a large window.
    WindowPicture Picture(int left, int top, int width, int height);
    // Polls the window's picture until the test passes or the time is up.
    bool WaitForPicture(const std::function<bool(const WindowPicture&)>& test,
                        double seconds = 20.0);

    std::string Caption();
    std::pair<int, int> WindowSize();
    std::string Out() const;
    std::string Err() const;

private:
    unsigned long FindWindowOfPid(unsigned long root);
    void Flush();

    std::string directory;
    std::string displayName;
    pid_t pid;
    _XDisplay* display;
    unsigned long window;
    int exitStatus;
};

// Reads a whole file; empty when it cannot.
std::string ReadWholeFile(const std::string& path);

#endif
