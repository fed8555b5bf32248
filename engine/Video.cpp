#include "Video.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_opengl.h>
#ifdef __EMSCRIPTEN__
#include "QuadBatch.h"

#include <emscripten.h>
#else
#include <X11/Xlib.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const Uint32 kAllSubsystems = 0x0000FFFF;
const Uint32 kVideoModeFlags = SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT | SDL_ANYFORMAT;
const int kMixerChunkFrames = 4096;
const float kMillisecondsToSeconds = 0.001f;
// SDL's drivers that draw into memory only.
const char* const kInvisibleDrivers[] = {"offscreen", "dummy"};
const int kDriverNameLength = 32;

#ifndef __EMSCRIPTEN__
uint32_t SdlTicks() {
    return SDL_GetTicks();
}
#else
// A browser runs no frame at all while its page is hidden, so the first
// frame after it would span the whole time away, and a round would leap
// ahead before it could pause. The clock leaves that time out, as it leaves
// out a pause.
// JavaScript, which clang-format would take for C++.
// clang-format off
EM_JS(void, WatchPageVisibility, (), {
    Module.cindermillHiddenTime = 0;
    var hiddenSince = null;
    document.addEventListener("visibilitychange", function() {
        if (document.hidden) {
            hiddenSince = performance.now();
        } else if (hiddenSince != null) {
            Module.cindermillHiddenTime += performance.now() - hiddenSince;
            hiddenSince = null;
        }
    });
});
// clang-format on
EM_JS(uint32_t, HiddenMilliseconds, (), { return Math.floor(Module.cindermillHiddenTime || 0); });
// A page may give the engine a millisecond clock of its own, as the desktop's
// tests install a tick source: the browser's tests play frames at known times.
EM_JS(double, PageClock, (), { return Module.cindermillClock ? Module.cindermillClock() : -1; });

uint32_t SdlTicks() {
    const double given = PageClock();
    if (given >= 0) {
        return static_cast<uint32_t>(given);
    }
    return SDL_GetTicks() - HiddenMilliseconds();
}
#endif

bool ShowsNothing(const char* driver) {
    for (const char* invisible : kInvisibleDrivers) {
        if (strcmp(driver, invisible) == 0) {
            return true;
        }
    }
    return false;
}

// The driver SDL settled on when it shows nothing and the player did not ask
// for it; null otherwise.
const char* UnaskedInvisibleDriver(char* name, int length) {
    const char* asked = getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && *asked != '\0') {
        return nullptr;
    }
    if (SDL_VideoDriverName(name, length) == nullptr || !ShowsNothing(name)) {
        return nullptr;
    }
    return name;
}

#ifndef __EMSCRIPTEN__
const int kLostDisplayExitStatus = 1;

// Xlib's own handler calls exit(), and the SDL_Quit registered for exit then
// waits on the dead connection for ever, spinning. Without the server there
// is nothing left to show, so the process ends here, past the exit handlers.
int EndOnLostDisplay(Display*) {
    fputs("Err.) Lost the connection to the X server\n", stderr);
    fflush(nullptr);
    _exit(kLostDisplayExitStatus);
}
#endif

TickSource tickSource = SdlTicks;
// Clock reading from which the next frame time counts; 0 at program start,
// so the first frame spans the whole start-up.
uint32_t lastFrameTicks = 0;
// Milliseconds the clock has stood still, and while it stands, the tick
// source's reading when it stopped.
uint32_t pausedTicks = 0;
bool clockPaused = false;
uint32_t pausedSince = 0;

// The tick source less the time spent paused.
uint32_t ClockTicks() {
    return (clockPaused ? pausedSince : tickSource()) - pausedTicks;
}

#ifndef __EMSCRIPTEN__
// The crosshair while it is the pointer, null while the usual one is.
SDL_Cursor* crosshair = nullptr;
// 16 x 16, hot spot in the middle of the cross: 'X' black, '.' white, ' '
// clear. White arms edged in black show on any floor.
const int kCursorSize = 16;
const int kCursorHotSpot = 7;
const char* const kCrosshairPicture[kCursorSize] = {
    "      XXX       ", "      X.X       ", "      X.X       ", "      X.X       ",
    "      X.X       ", "      XXX       ", "XXXXXX X XXXXXX ", "X....XX.XX....X ",
    "XXXXXX X XXXXXX ", "      XXX       ", "      X.X       ", "      X.X       ",
    "      X.X       ", "      X.X       ", "      XXX       ", "                ",
};

SDL_Cursor* MakeCrosshair() {
    // One bit a pixel, eight pixels a byte; SDL draws data 1 black and data 0
    // white where the mask is 1, nothing where it is 0.
    Uint8 data[kCursorSize * kCursorSize / 8] = {};
    Uint8 mask[kCursorSize * kCursorSize / 8] = {};
    for (int y = 0; y < kCursorSize; ++y) {
        for (int x = 0; x < kCursorSize; ++x) {
            const char pixel = kCrosshairPicture[y][x];
            const int byte = (y * kCursorSize + x) / 8;
            const Uint8 bit = static_cast<Uint8>(0x80 >> (x % 8));
            data[byte] |= pixel == 'X' ? bit : 0;
            mask[byte] |= pixel != ' ' ? bit : 0;
        }
    }
    return SDL_CreateCursor(data, mask, kCursorSize, kCursorSize, kCursorHotSpot, kCursorHotSpot);
}
#else
// The page's canvas stands in a frame of its own, which the whole screen
// shows: the page keeps the picture's proportions at any size.
EM_JS(void, ToggleCanvasFullScreen, (), {
    if (document.fullscreenElement) {
        document.exitFullscreen();
    } else {
        Module.canvas.parentElement.requestFullscreen().catch(function(e){});
    }
});
EM_JS(int, CanvasFullScreen, (), { return document.fullscreenElement ? 1 : 0; });
EM_JS(void, ShowCanvasCrosshair, (int show),
      { Module.canvas.style.cursor = show ? "crosshair" : ""; });
// A browser cannot write into the player's folder: the picture is offered
// as a download once the key is let go, not once a frame while it is held.
EM_JS(void, OfferPicture, (const unsigned char* rgba, int width, int height), {
    var picture = document.createElement("canvas");
    picture.width = width;
    picture.height = height;
    var context = picture.getContext("2d");
    var image = context.createImageData(width, height);
    var rowBytes = width * 4;
    for (var row = 0; row < height; ++row) {
        var from = rgba + (height - 1 - row) * rowBytes;
        image.data.set(HEAPU8.subarray(from, from + rowBytes), row * rowBytes);
    }
    context.putImageData(image, 0, 0);
    clearTimeout(Module.cindermillPictureTimer);
    Module.cindermillPictureTimer = setTimeout(
        function() {
            picture.toBlob(function(blob) {
                var link = document.createElement("a");
                link.href = URL.createObjectURL(blob);
                link.download = "screenshot.png";
                link.click();
            });
        },
        250);
});

struct FrameLoop {
    bool (*frame)(void*);
    void (*finish)(void*);
    void* context;
};

void RunBrowserFrame(void* loop) {
    const FrameLoop* frames = static_cast<FrameLoop*>(loop);
    if (frames->frame(frames->context)) {
        emscripten_cancel_main_loop();
        frames->finish(frames->context);
        delete frames;
        // A page cannot close itself: it says that the game is over.
        EM_ASM({
            if (Module.onGameEnd)
                Module.onGameEnd();
        });
    }
}
#endif

}  // namespace

int32_t InitVideo(int32_t width, int32_t height) {
    // Both are read once, as SDL starts; a player's own setting stays.
    setenv("SDL12COMPAT_USE_KEYBOARD_LAYOUT", "0", 0);
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "1", 0);
    if (SDL_Init(kAllSubsystems) < 0) {
        return -1;
    }
    char driver[kDriverNameLength];
    if (UnaskedInvisibleDriver(driver, sizeof(driver)) != nullptr) {
        const char* display = getenv("DISPLAY");
        std::string why = "DISPLAY is not set";
        if (display != nullptr && *display != '\0') {
            why = std::string("DISPLAY \"") + display + "\" cannot be reached";
        }
        SDL_SetError(
            "no display to show it on (%s; SDL fell back to its \"%s\" video driver, which "
            "shows nothing)",
            why.c_str(), driver);
        return -1;
    }
#ifdef __EMSCRIPTEN__
    // Nothing is depth-tested: left alone, the browser's SDL asks WebGL for a
    // depth buffer, which SwiftShader would then clear with every frame.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
#endif
    SDL_Surface* window = SDL_SetVideoMode(width, height, 0, kVideoModeFlags);
    // Registered only once the GL driver is loaded, so that SDL_Quit runs
    // before the driver's own exit-time teardown; the other way round the
    // context is destroyed inside a driver that has already shut down.
    atexit(SDL_Quit);
    if (window == nullptr) {
        return -1;
    }
#ifdef __EMSCRIPTEN__
    WatchPageVisibility();
#else
    XSetIOErrorHandler(EndOnLostDisplay);
#endif
    SDL_WM_SetCaption("Cindermill", nullptr);
    return 0;
}

const char* VideoFailure() {
    return SDL_GetError();
}

int32_t InitGl(int32_t width, int32_t height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, width, height, 0);
    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glClearColor(0, 0, 0, 0);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    return 0;
}

int32_t SetCaption(const char* text) {
    SDL_WM_SetCaption(text, nullptr);
    return 0;
}

int32_t InitAudio(int32_t frequency, int32_t channels) {
    if (Mix_OpenAudio(frequency, AUDIO_S16LSB, channels, kMixerChunkFrames) < 0) {
        return -1;
    }
    return 0;
}

void ClearScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

float MeasureFrameTime() {
    const uint32_t now = ClockTicks();
    // Unsigned subtraction keeps the difference right across a clock wrap.
    const uint32_t elapsed = now - lastFrameTicks;
    const float seconds = static_cast<float>(elapsed) * kMillisecondsToSeconds;
    lastFrameTicks = ClockTicks();
    return seconds;
}

uint32_t GetTicks() {
    return ClockTicks();
}

void PauseClock() {
    if (!clockPaused) {
        pausedSince = tickSource();
        clockPaused = true;
    }
}

void ResumeClock() {
    if (clockPaused) {
        pausedTicks += tickSource() - pausedSince;
        clockPaused = false;
    }
}

void SwapBuffers() {
#ifdef __EMSCRIPTEN__
    FlushQuads();
#endif
    SDL_GL_SwapBuffers();
}

void Delay(uint32_t milliseconds) {
#ifdef __EMSCRIPTEN__
    // The browser calls a frame once a display refresh, and no waiting on
    // its main thread can be undone.
    (void)milliseconds;
#else
    SDL_Delay(milliseconds);
#endif
}

void RunFrames(bool (*frame)(void*), void (*finish)(void*), void* context) {
#ifdef __EMSCRIPTEN__
    emscripten_set_main_loop_arg(RunBrowserFrame, new FrameLoop{frame, finish, context}, 0, 0);
#else
    while (!frame(context)) {
    }
    finish(context);
#endif
}

void ShutDownVideo() {
    ShowCrosshair(false);
    SDL_Quit();
}

void SetTickSource(TickSource source) {
    tickSource = source != nullptr ? source : SdlTicks;
    pausedTicks = 0;
    clockPaused = false;
}

#ifdef __EMSCRIPTEN__
void ToggleFullScreen() {
    ToggleCanvasFullScreen();
}

bool IsFullScreen() {
    return CanvasFullScreen() != 0;
}

void ShowCrosshair(bool show) {
    ShowCanvasCrosshair(show);
}
#else
void ToggleFullScreen() {
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (screen == nullptr || SDL_WM_ToggleFullScreen(screen) == 0) {
        return;
    }
    // Keeps the pointer on the screen that the game fills; a window lets it go.
    SDL_WM_GrabInput(IsFullScreen() ? SDL_GRAB_ON : SDL_GRAB_OFF);
}

bool IsFullScreen() {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    return screen != nullptr && (screen->flags & SDL_FULLSCREEN) != 0;
}

void ShowCrosshair(bool show) {
    if (show && crosshair == nullptr) {
        crosshair = MakeCrosshair();
        SDL_SetCursor(crosshair);
    } else if (!show && crosshair != nullptr) {
        // Freeing the pointer in use brings SDL's default, the desktop's own,
        // back: SDL offers no other way to it.
        SDL_FreeCursor(crosshair);
        crosshair = nullptr;
    }
}
#endif

#ifndef __EMSCRIPTEN__
namespace {
void WriteScreenshot(const char* path, int w, int h) {
    SDL_Surface* image = SDL_CreateRGBSurface(0, w, h, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
    if (image == nullptr) {
        printf("Couldn't create rgbsurface\n");
        return;
    }
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    // glReadPixels pads each row to the default pack alignment of 4 bytes.
    const size_t readRowBytes = (rowBytes + 3) & ~static_cast<size_t>(3);
    unsigned char* pixels = static_cast<unsigned char*>(malloc(readRowBytes * h));
    if (pixels == nullptr) {
        SDL_FreeSurface(image);
        printf("Couldn't malloc\n");
        return;
    }
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    // OpenGL hands rows over bottom first; the picture is stored top first.
    for (int row = 0; row < h; ++row) {
        memcpy(static_cast<unsigned char*>(image->pixels) + row * image->pitch,
               pixels + (h - 1 - row) * readRowBytes, rowBytes);
    }
    free(pixels);
    SDL_RWops* file = SDL_RWFromFile(path, "wb");
    if (file != nullptr) {
        SDL_SaveBMP_RW(image, file, 1);
    }
    SDL_FreeSurface(image);
}
}  // namespace
#endif

void SaveScreenshot(const char* path, int32_t width, int32_t height) {
    // The read, the buffer and the surface all use the window's size: a
    // caller's width and height that differ from it must not overrun anything.
    (void)width;
    (void)height;
    SDL_Surface* window = SDL_GetVideoSurface();
    if (window == nullptr) {
        return;
    }
#ifdef __EMSCRIPTEN__
    (void)path;
    FlushQuads();
    std::vector<unsigned char> rgba(static_cast<size_t>(window->w) * window->h * 4);
    glReadPixels(0, 0, window->w, window->h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    OfferPicture(rgba.data(), window->w, window->h);
#else
    WriteScreenshot(path, window->w, window->h);
#endif
}
