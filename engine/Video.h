// Cindermill video module: window, fixed 2D OpenGL state, audio device,
// frame timing and screenshots. Free functions over SDL 1.2 and OpenGL.
#ifndef CINDERMILL_VIDEO_H
#define CINDERMILL_VIDEO_H

#include <cstdint>

// Opens the window with an OpenGL context, caption "Cindermill". 0 or -1;
// VideoFailure() then says why. A video driver that shows nothing (SDL's
// offscreen and dummy drivers) counts as a failure unless the player named it
// in SDL_VIDEODRIVER: SDL falls back to one on its own when no display can be
// reached, and a game in a window nobody sees only burns the processor.
// Unless the player's environment says otherwise, SDL reads keys by their
// place on the keyboard (W A S D walk on every layout) and pads in SDL's game
// controller layout (see GamePad.h).
int32_t InitVideo(int32_t width, int32_t height);
// Why the last InitVideo failed, in words for the player.
const char* VideoFailure();
// Orthographic projection, one unit per pixel, origin top-left, y down.
int32_t InitGl(int32_t width, int32_t height);
int32_t SetCaption(const char* text);
// Opens the mixer at 16-bit little-endian samples. 0 or -1.
int32_t InitAudio(int32_t frequency, int32_t channels);

void ClearScreen();
// Seconds since the previous call; the first call counts from SDL start-up.
float MeasureFrameTime();
uint32_t GetTicks();
void SwapBuffers();
void Delay(uint32_t milliseconds);
// Calls frame until it returns true, then finish, each with the context. The
// desktop loops here; a browser, which must get its page back between
// frames, calls one frame a display refresh, and this returns at once.
void RunFrames(bool (*frame)(void*), void (*finish)(void*), void* context);
// Shuts SDL down now rather than in the exit handler InitVideo registers:
// Mesa's software renderer registers exit-time teardown of its own while the
// game runs, and destroying the GL context after that crashes the process.
void ShutDownVideo();
// Writes the window's picture as an uncompressed 24-bit BMP.
void SaveScreenshot(const char* path, int32_t width, int32_t height);

// Switches between the window and the whole screen at the desktop's
// resolution, with the picture scaled up and its proportions kept. The game
// still draws, reads the mouse and saves screenshots at its own size, and the
// pointer stays on the screen while the game fills it.
void ToggleFullScreen();
bool IsFullScreen();
// The pointer over the window: a small crosshair, or the desktop's usual one.
void ShowCrosshair(bool crosshair);

// Stops the clock behind GetTicks and MeasureFrameTime, and starts it again
// from where it stood: time spent paused shows in neither.
void PauseClock();
void ResumeClock();

// The millisecond clock behind GetTicks and MeasureFrameTime. Tests install
// their own to step time exactly or to cross the 32-bit wrap; null restores
// SDL's clock.
typedef uint32_t (*TickSource)();
void SetTickSource(TickSource source);

#endif
