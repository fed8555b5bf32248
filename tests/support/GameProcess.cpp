#include "GameProcess.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

bool WaitUntil(const std::function<bool()>& condition, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool met = false;
    while (!(met = condition()) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return met;
}

GameProcess::GameProcess(const std::string& displayName)
    : directory(logs.File("game")), displayName(displayName) {
    mkdir(directory.c_str(), 0755);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
}

GameProcess::~GameProcess() {
    if (Running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

void GameProcess::AddAssets(const std::string& how, const std::string& folder) {
    const std::string command = how + " '" ZIBO_BUILD_DIR "/" + folder + "' '" + directory + "'";
    EXPECT_EQ(system(command.c_str()), 0) << command;
}

bool GameProcess::Start(const std::vector<std::string>& environment) {
    return StartProgram(ZIBO_BUILD_DIR "/zibo", directory, environment);
}

bool GameProcess::StartProgram(const std::string& program, const std::string& workingDirectory,
                               const std::vector<std::string>& environment) {
    if (display == nullptr) {
        ADD_FAILURE() << "the test has no connection to the X server " << displayName;
        return false;
    }
    if ((pid = fork()) < 0) {
        return false;
    }
    if (pid == 0) {
        const int out = open(logs.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(logs.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(workingDirectory.c_str()) != 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) {
            _exit(126);
        }
        if (!displayName.empty()) {
            setenv("DISPLAY", displayName.c_str(), 1);
        }
        for (const std::string& setting : environment) {
            setting.find('=') == std::string::npos ? unsetenv(setting.c_str())
                                                   : putenv(strdup(setting.c_str()));
        }
        // Line-buffered streams, so the log can be read while the game runs.
        // stdbuf preloads a library of its own, which a sanitizer build of the
        // game accepts only when told to.
        const char* sanitizer = getenv("ASAN_OPTIONS");
        const std::string options = sanitizer != nullptr ? sanitizer : "";
        setenv("ASAN_OPTIONS", (options + ":verify_asan_link_order=0").c_str(), 1);
        execlp("stdbuf", "stdbuf", "-oL", "-eL", program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return true;
}

bool GameProcess::StartWithAssets(const std::vector<std::string>& environment) {
    LinkAssets("sprites");
    LinkAssets("sfx");
    if (!Start(environment) || !WaitForWindow()) {
        ADD_FAILURE() << "no window: " << Err();
        return false;
    }
    return true;
}

unsigned long GameProcess::FindWindowOfPid(unsigned long root) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    Window rootReturn, parent, *children = nullptr;
    unsigned int count = 0;
    if (pidAtom == None || !XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        XWindowAttributes attributes;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, AnyPropertyType, &type,
                               &format, &items, &after, &data) == Success &&
            items == 1 && static_cast<int>(*reinterpret_cast<unsigned long*>(data)) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
        XFree(data);
        found = found != 0 ? found : FindWindowOfPid(children[i]);
    }
    XFree(children);
    return found;
}

bool GameProcess::WaitForWindow(double seconds) {
    WaitUntil(
        [&] { return !Running() || (window = FindWindowOfPid(DefaultRootWindow(display))) != 0; },
        seconds);
    return window != 0;
}

bool GameProcess::Running() {
    int status = 0;
    if (pid > 0 && exitStatus == -1 && waitpid(pid, &status, WNOHANG) == pid) {
        exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }
    return pid > 0 && exitStatus == -1;
}

int GameProcess::WaitForExit(double seconds) {
    if (!WaitUntil([&] { return !Running(); }, seconds)) {
        kill(pid, SIGKILL);  // reaped by the destructor
    }
    return exitStatus;
}

void GameProcess::Focus() {
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
}

void GameProcess::Key(const char* keysym, bool down) {
    Focus();
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XStringToKeysym(keysym)), down,
                      CurrentTime);
    XSync(display, False);
}

void GameProcess::Click(int x, int y, int button) {
    XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
}

void GameProcess::CloseWindow() {
    XEvent event;
    memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

bool GameProcess::HoldKeyUntil(const char* keysym, const std::function<bool()>& done,
                               double seconds) {
    bool finished = false;
    WaitUntil(
        [&] {
            Key(keysym, true);
            return (finished = done()) || !Running();
        },
        seconds);
    Key(keysym, false);
    return finished;
}

std::string GameProcess::WaitForCaption(double seconds) {
    char* name = nullptr;
    WaitUntil([&] { return XFetchName(display, window, &name) != 0 || !Running(); }, seconds);
    const std::string caption = name != nullptr ? name : "";
    XFree(name);
    return caption;
}

Picture GameProcess::Picture() {
    ::Picture picture;
    const std::pair<int, int> size = WindowSize();
    XImage* image = nullptr;
    if (size.first <= 0 || (image = XGetImage(display, window, 0, 0, size.first, size.second,
                                              AllPlanes, ZPixmap)) == nullptr) {
        return picture;
    }
    picture.width = size.first;
    picture.height = size.second;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long value = XGetPixel(image, x, y);  // 0xRRGGBB at depth 24
            picture.pixels.push_back(
                Rgba{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value), 255});
        }
    }
    XDestroyImage(image);
    return picture;
}

std::pair<int, int> GameProcess::WindowSize() {
    XWindowAttributes attributes;
    if (window == 0 || !XGetWindowAttributes(display, window, &attributes)) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}
