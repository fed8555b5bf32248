#include "GameProcess.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const std::chrono::milliseconds kPollStep(50);

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int WindowPicture::Count(int left, int top, int right, int bottom,
                         const std::function<bool(Pixel)>& test) const {
    int count = 0;
    for (int y = top; y < bottom && y < height; ++y) {
        for (int x = left; x < right && x < width; ++x) {
            count += test(At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

GameProcess::GameProcess(const std::string& displayName)
    : displayName(displayName), pid(-1), display(nullptr), window(0), exitStatus(-1) {
    char name[] = "/tmp/zibo-e2e-XXXXXX";
    directory = mkdtemp(name);
    XSetErrorHandler(IgnoreXErrors);
    display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
}

GameProcess::~GameProcess() {
    if (pid > 0 && Running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (display != nullptr) {
        XCloseDisplay(display);
    }
    const std::string command = "chmod -R u+w '" + directory + "' 2>/dev/null; rm -rf '" +
                                directory + "' '" + directory + ".out' '" + directory + ".err'";
    if (system(command.c_str()) != 0) {
        fprintf(stderr, "e2e: could not remove %s\n", directory.c_str());
    }
}

void GameProcess::LinkAssets(const std::string& only) {
    const std::string build = ZIBO_BUILD_DIR;
    for (const std::string folder : {"sprites", "sfx"}) {
        if (!only.empty() && folder != only) {
            continue;
        }
        const std::string link = directory + "/" + folder;
        if (symlink((build + "/" + folder).c_str(), link.c_str()) != 0) {
            perror("e2e: symlink");
        }
    }
}

void GameProcess::CopyAssets(const std::string& folder) {
    const std::string command = std::string("cp -rL '") + ZIBO_BUILD_DIR + "/" + folder + "' '" +
                                directory + "/" + folder + "'";
    if (system(command.c_str()) != 0) {
        fprintf(stderr, "e2e: could not copy %s\n", folder.c_str());
    }
}

bool GameProcess::Start(const std::vector<std::string>& environment) {
    return StartProgram(std::string(ZIBO_BUILD_DIR) + "/zibo", directory, environment);
}

bool GameProcess::StartProgram(const std::string& program, const std::string& workingDirectory,
                               const std::vector<std::string>& environment) {
    if (display == nullptr) {
        return false;
    }
    pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        if (chdir(workingDirectory.c_str()) != 0) {
            _exit(126);
        }
        const int out = open((directory + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((directory + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (!displayName.empty()) {
            setenv("DISPLAY", displayName.c_str(), 1);
        }
        for (const std::string& setting : environment) {
            const size_t equals = setting.find('=');
            if (equals == std::string::npos) {
                unsetenv(setting.c_str());
            } else {
                setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
            }
        }
        // Line-buffered streams, so the log can be read while the game runs.
        // stdbuf preloads a library of its own, which a sanitizer build of the
        // game accepts only when told to.
        const char* sanitizer = getenv("ASAN_OPTIONS");
        const std::string options = std::string(sanitizer != nullptr ? sanitizer : "") +
                                    (sanitizer != nullptr && *sanitizer ? ":" : "") +
                                    "verify_asan_link_order=0";
        setenv("ASAN_OPTIONS", options.c_str(), 1);
        execlp("stdbuf", "stdbuf", "-oL", "-eL", program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return true;
}

unsigned long GameProcess::FindWindowOfPid(unsigned long root) {
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None) {
        return 0;
    }
    Window rootReturn, parent;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &data) == Success &&
            data != nullptr) {
            if (items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display, children[i], &attributes) &&
                    attributes.map_state == IsViewable) {
                    found = children[i];
                }
            }
            XFree(data);
        }
        if (found == 0) {
            found = FindWindowOfPid(children[i]);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool GameProcess::WaitForWindow(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds) {
        window = FindWindowOfPid(DefaultRootWindow(display));
        if (window != 0) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            Flush();
            return true;
        }
        if (!Running()) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return false;
}

bool GameProcess::Running() {
    if (pid <= 0) {
        return false;
    }
    if (exitStatus != -1) {
        return false;
    }
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    if (result == 0) {
        return true;
    }
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return false;
}

int GameProcess::WaitForExit(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds) {
        if (!Running()) {
            return exitStatus;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    exitStatus = -1;
    pid = -1;
    return -1;
}

void GameProcess::Flush() {
    XSync(display, False);
}

void GameProcess::Key(const char* keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keysym));
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    Flush();
}

void GameProcess::MoveMouse(int x, int y) {
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    Flush();
}

void GameProcess::Button(int button, bool down) {
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    Flush();
}

void GameProcess::Click(int button, int x, int y) {
    MoveMouse(x, y);
    Button(button, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    Button(button, false);
}

void GameProcess::Terminate() {
    if (pid > 0 && Running()) {
        kill(pid, SIGTERM);
    }
}

void GameProcess::CloseWindow() {
    XEvent event;
    memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    Flush();
}

bool GameProcess::HoldKeyUntil(const char* keysym, const std::function<bool()>& done,
                               double seconds) {
    const auto start = std::chrono::steady_clock::now();
    bool finished = false;
    while (!finished && SecondsSince(start) < seconds && Running()) {
        Key(keysym, true);
        std::this_thread::sleep_for(kPollStep);
        finished = done();
    }
    Key(keysym, false);
    return finished;
}

std::string GameProcess::WaitForCaption(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds && Running()) {
        const std::string caption = Caption();
        if (!caption.empty()) {
            return caption;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return Caption();
}

WindowPicture GameProcess::Picture() {
    XWindowAttributes attributes;
    if (window == 0 || !XGetWindowAttributes(display, window, &attributes)) {
        return WindowPicture();
    }
    return Picture(0, 0, attributes.width, attributes.height);
}

WindowPicture GameProcess::Picture(int left, int top, int width, int height) {
    if (window == 0) {
        return WindowPicture();
    }
    XImage* image = XGetImage(display, window, left, top, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return WindowPicture();
    }
    std::vector<Pixel> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long value = XGetPixel(image, x, y);
            pixels.push_back(Pixel{static_cast<int>((value & image->red_mask) >> 16),
                                   static_cast<int>((value & image->green_mask) >> 8),
                                   static_cast<int>(value & image->blue_mask)});
        }
    }
    XDestroyImage(image);
    return WindowPicture(width, height, std::move(pixels));
}

bool GameProcess::WaitForPicture(const std::function<bool(const WindowPicture&)>& test,
                                 double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds && Running()) {
        const WindowPicture picture = Picture();
        if (!picture.Empty() && test(picture)) {
            return true;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return false;
}

std::string GameProcess::Caption() {
    char* name = nullptr;
    std::string caption;
    if (XFetchName(display, window, &name) && name != nullptr) {
        caption = name;
        XFree(name);
    }
    return caption;
}

std::pair<int, int> GameProcess::WindowSize() {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}

std::string GameProcess::Out() const {
    return ReadWholeFile(directory + ".out");
}
std::string GameProcess::Err() const {
    return ReadWholeFile(directory + ".err");
}
