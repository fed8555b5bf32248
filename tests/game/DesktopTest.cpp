// The game's window on a desktop of its own: a private 1600 x 1200 Xvfb with a
// window manager (openbox), the window scaled by 2 as the launcher scales it,
// and real X input into it. Fullscreen at F11 and Alt+Enter on every screen,
// with the pointer aiming where it stands and F12 still 640 x 480; the
// crosshair over play. What pauses a round, and what ends the pause, is the
// play test's.
#include "GameHarness.h"

#include "GameProcess.h"
#include "PrivateXServer.h"
#include "Video.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace {

const int kDesktopWidth = 1600;
const int kDesktopHeight = 1200;
const int kWindowScale = 2;
const double kFullScreenScale = 2.5;  // 640 x 480 on 1600 x 1200

// The server, its window manager and the test's own connection, for the
// whole program: the game's window, opened once, lives on it.
class Desktop : public ::testing::Environment {
public:
    void SetUp() override {
        server.reset(new PrivateXServer(std::to_string(kDesktopWidth) + "x" +
                                        std::to_string(kDesktopHeight) + "x24"));
        ASSERT_FALSE(server->Display().empty());
        setenv("DISPLAY", server->Display().c_str(), 1);
        unsetenv("XAUTHORITY");
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(kWindowScale).c_str(), 1);
        // A request on a window that has just gone or is not shown is no
        // reason to end the program.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        if ((manager = fork()) == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        // At work once it frames a window: the game's must not be mapped
        // before, for SDL waits for its window to show.
        const Window probe =
            XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
        XMapWindow(display, probe);
        ASSERT_TRUE(WaitUntil([&] {
            Window root, parent, *children = nullptr;
            unsigned int count = 0;
            XQueryTree(display, probe, &root, &parent, &children, &count);
            XFree(children);
            return parent != root;
        })) << "the window manager frames no window";
        XDestroyWindow(display, probe);
    }
    // SDL lets go of the server before it goes.
    void TearDown() override {
        ShutDownVideo();
        kill(manager, SIGTERM);
        waitpid(manager, nullptr, 0);
        XCloseDisplay(display);
        server.reset();
    }
    std::unique_ptr<PrivateXServer> server;
    pid_t manager = -1;
    Display* display = nullptr;
};
Desktop* const desktop = static_cast<Desktop*>(::testing::AddGlobalTestEnvironment(new Desktop));

class DesktopTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SDL_EventState(SDL_ACTIVEEVENT, SDL_ENABLE);  // the focus is the test here
        x = desktop->display;
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        ASSERT_EQ(SDL_GetWMInfo(&info), 1);
        window = info.info.x11.window;
        if (IsFullScreen()) {
            ToggleFullScreen();
        }
        Focus();
        ASSERT_TRUE(FrameUntil([&] { return Size().first == kScreenWidth * kWindowScale; }));
        ASSERT_EQ(chdir(work.Path().c_str()), 0);
    }
    // 0-ms frames, which move nothing, until the condition holds.
    bool FrameUntil(const std::function<bool()>& done) {
        return WaitUntil([&] {
            Frame(0);
            return done();
        });
    }
    // xdotool with these arguments, on the desktop: real X input, and the
    // window manager asked as a task bar asks it.
    static void Xdo(const std::string& arguments) {
        EXPECT_EQ(system(("xdotool " + arguments).c_str()), 0) << arguments;
    }
    // The window raised and given the input focus.
    void Focus() {
        Xdo("windowactivate --sync " + std::to_string(window));
        // SDL drops a click that it reads within 10 ms of the focus, as the
        // click that brought the focus.
        EXPECT_TRUE(FrameUntil([] { return (SDL_GetAppState() & SDL_APPINPUTFOCUS) != 0; }));
        SDL_Delay(20);
    }
    // The pointer to (sx, sy) of the screen, and a click of the button there.
    static void Point(int sx, int sy, int button = 0) {
        Xdo("mousemove " + std::to_string(sx) + " " + std::to_string(sy) +
            (button != 0 ? " click " + std::to_string(button) : ""));
    }
    // Whether the game holds the pointer, so that no one else can grab it.
    bool PointerHeld() {
        const int grab = XGrabPointer(x, DefaultRootWindow(x), False, 0, GrabModeAsync,
                                      GrabModeAsync, None, None, CurrentTime);
        XUngrabPointer(x, CurrentTime);
        return grab == AlreadyGrabbed;
    }
    std::pair<int, int> Size() {
        XWindowAttributes attributes;
        XGetWindowAttributes(x, window, &attributes);
        return {attributes.width, attributes.height};
    }
    // The window's top-left corner on the screen.
    std::pair<int, int> Corner() {
        int left, top;
        Window child;
        XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
        return {left, top};
    }
    // The red of the HUD's health bar in F12's 640 x 480 picture.
    int HealthBarRed() {
        Hold({SDLK_F12});
        Frame(0);
        Hold({SDLK_F12}, false);
        // A 24-bit BMP of 640 x 480, rows bottom first, blue-green-red,
        // after a header of 54 bytes.
        const std::string bmp = ReadFileBytes("screenshot.bmp");
        const size_t row = kScreenWidth * 3, red = 54 + (kScreenHeight - 1 - 28) * row + 60 * 3 + 2;
        return bmp.size() == 54 + kScreenHeight * row ? static_cast<uint8_t>(bmp[red]) : -1;
    }
    // The cursor shown where the pointer stands.
    std::pair<unsigned long, int> Cursor() {
        XFixesCursorImage* image = XFixesGetCursorImage(x);
        const std::pair<unsigned long, int> cursor = {image->cursor_serial, image->width};
        XFree(image);
        return cursor;
    }
    Display* x = nullptr;
    Window window = 0;
};

// F11 on the title, Alt+Enter in play, and F11 and the keypad's Alt+Enter
// while paused switch between the window and the whole screen; the round
// goes on across the switches, the pointer aims where it stands on the
// screen (the cat-mode spot included) and cannot leave it, and F12 still
// saves 640 x 480.
TEST_F(DesktopTest, FullScreenAtF11OrAltEnterOnEveryScreenAimsWhereThePointerStands) {
    Xdo("key F11");
    ASSERT_TRUE(FrameUntil([&] { return Size().first == kDesktopWidth; }));
    EXPECT_TRUE(IsFullScreen());
    EXPECT_EQ(Corner(), std::make_pair(0, 0));
    EXPECT_EQ(Size().second, kDesktopHeight);
    EXPECT_TRUE(PointerHeld());
    BeginRound();
    Point(1000, 300);  // window (400, 120): 80 right of and 120 above the middle
    ASSERT_TRUE(FrameUntil([&] { return game->aimX == 80 && game->aimY == -120; }));
    Hold({SDLK_LSHIFT});
    Point(static_cast<int>(48 * kFullScreenScale), static_cast<int>(68 * kFullScreenScale), 3);
    EXPECT_TRUE(FrameUntil([&] { return game->catMode; }));
    GameDriver::releaseAllKeys();
    EXPECT_GT(HealthBarRed(), 120);

    Hold({SDLK_d});
    Xdo("key alt+Return");
    ASSERT_TRUE(FrameUntil([&] { return Size().first == kScreenWidth * kWindowScale; }));
    EXPECT_EQ(Size().second, kScreenHeight * kWindowScale);
    EXPECT_FALSE(PointerHeld());
    const float x0 = game->player->getX(), time0 = game->roundTime;
    Frame(100);
    EXPECT_TRUE(
        Values(game->player->getX(), x0 + 10, game->roundTime, time0 + 0.1f, game->state, Playing));
    GameDriver::releaseAllKeys();
    Xdo("key p");
    ASSERT_TRUE(FrameUntil([&] { return game->paused; }));
    Xdo("key F11");
    ASSERT_TRUE(FrameUntil([&] { return Size().first == kDesktopWidth; }));
    Xdo("key alt+KP_Enter");
    ASSERT_TRUE(FrameUntil([&] { return Size().first == kScreenWidth * kWindowScale; }));
    EXPECT_TRUE(game->paused);
}

// A crosshair while a round is played, the desktop's usual pointer on the
// screens and while paused.
TEST_F(DesktopTest, ThePointerIsACrosshairOnlyWhileARoundIsPlayed) {
    Point(Corner().first + 300, Corner().second + 300);
    const auto arrow = Cursor();
    BeginRound();
    ASSERT_TRUE(FrameUntil([&] { return Cursor() != arrow; }));
    EXPECT_EQ(Cursor().second, 16);
    Xdo("key p");
    EXPECT_TRUE(FrameUntil([&] { return Cursor() == arrow; }));
    Xdo("key p");
    Tap(SDLK_ESCAPE, 10);
    EXPECT_NE(Cursor(), arrow);  // still aiming through the fade
    Frame(2000);
    EXPECT_TRUE(FrameUntil([&] { return game->state == Statistics && Cursor() == arrow; }));
}

}  // namespace
