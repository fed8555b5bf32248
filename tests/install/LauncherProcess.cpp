#include "LauncherProcess.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

const useconds_t kPollStepMicroseconds = 100000;
// exec failed in the child
const int kExecFailed = 127;

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

double Now() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}

void ApplyEnvironment(const std::vector<std::string>& environment) {
    for (const std::string& setting : environment) {
        const size_t equals = setting.find('=');
        if (equals == std::string::npos) {
            unsetenv(setting.c_str());
        } else {
            setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
    }
}

}  // namespace

LauncherProcess::LauncherProcess()
    : pid(-1), display(nullptr), window(0), exitStatus(-1), started(Now()) {
    XSetErrorHandler(IgnoreXErrors);
    display = XOpenDisplay(nullptr);
}

LauncherProcess::~LauncherProcess() {
    if (Running()) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

double LauncherProcess::Elapsed() const {
    return Now() - started;
}

void LauncherProcess::Pause() const {
    usleep(kPollStepMicroseconds);
}

bool LauncherProcess::Start(const std::string& program, const std::string& workingDirectory,
                            const std::vector<std::string>& environment) {
    const std::string out = output.File("stdout");
    const std::string err = output.File("stderr");
    pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outFd < 0 || errFd < 0 || chdir(workingDirectory.c_str()) != 0) {
            _exit(kExecFailed);
        }
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        ApplyEnvironment(environment);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(kExecFailed);
    }
    started = Now();
    return true;
}

bool LauncherProcess::Running() {
    if (pid <= 0 || exitStatus != -1) {
        return false;
    }
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == 0) {
        return true;
    }
    exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    return false;
}

int LauncherProcess::WaitForExit(double seconds) {
    const double until = Elapsed() + seconds;
    while (Elapsed() < until) {
        if (!Running()) {
            return exitStatus;
        }
        Pause();
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
    return -1;
}

unsigned long LauncherProcess::FindWindowOfPid(unsigned long root) {
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
            XWindowAttributes attributes;
            if (items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid &&
                XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable) {
                found = children[i];
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

bool LauncherProcess::WaitForWindow(double seconds) {
    if (display == nullptr) {
        return false;
    }
    const double until = Elapsed() + seconds;
    while (Elapsed() < until && Running()) {
        window = FindWindowOfPid(DefaultRootWindow(display));
        if (window != 0) {
            return true;
        }
        Pause();
    }
    return false;
}

void LauncherProcess::Key(const char* keysym, bool down) {
    if (display == nullptr || window == 0) {
        return;
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, XStringToKeysym(keysym)),
                      down ? True : False, CurrentTime);
    XSync(display, False);
}

void LauncherProcess::CloseWindow() {
    if (display == nullptr || window == 0) {
        return;
    }
    XEvent event;
    memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

std::string LauncherProcess::Caption() {
    char* name = nullptr;
    std::string caption;
    if (display != nullptr && window != 0 && XFetchName(display, window, &name) &&
        name != nullptr) {
        caption = name;
        XFree(name);
    }
    return caption;
}

std::string LauncherProcess::WaitForCaption(double seconds) {
    const double until = Elapsed() + seconds;
    std::string caption = Caption();
    while (caption.empty() && Elapsed() < until && Running()) {
        Pause();
        caption = Caption();
    }
    return caption;
}
