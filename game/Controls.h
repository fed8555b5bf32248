// Which key, mouse button, pad button and stick does what: the one place that
// says so. The keyboard and the mouse are the game's own controls; a pad in
// SDL's game controller layout (GamePad.h) does the same through the same
// code. Cat mode stays a keyboard-and-mouse secret.
#ifndef ZIBO_CONTROLS_H
#define ZIBO_CONTROLS_H

#include <SDL.h>

#include <cstdint>

// The pad as the game reads it, one bit an input: its buttons, and its
// sticks and triggers pushed past their thresholds.
enum PadSignal : uint32_t {
    PadStickUp = 1u << 0,
    PadStickDown = 1u << 1,
    PadStickLeft = 1u << 2,
    PadStickRight = 1u << 3,
    PadDpadUp = 1u << 4,
    PadDpadDown = 1u << 5,
    PadDpadLeft = 1u << 6,
    PadDpadRight = 1u << 7,
    PadA = 1u << 8,
    PadB = 1u << 9,
    PadStart = 1u << 10,
    PadBack = 1u << 11,
    PadLeftTrigger = 1u << 12,
    PadRightTrigger = 1u << 13,
    PadLeftShoulder = 1u << 14,
    PadRightShoulder = 1u << 15,
};
const uint32_t kPadStickSignals = PadStickUp | PadStickDown | PadStickLeft | PadStickRight;

// A stick counts as pushed along one axis past this share of its full
// travel, each axis on its own, as a walk key held: a diagonal holds two.
const float kWalkDeadZone = 0.4f;
// The right stick aims once pushed past this share of its full travel from
// its centre; nearer the centre the aim stays where it was.
const float kAimDeadZone = 0.5f;
// The aim point the right stick sets lies this many pixels from the player.
const float kStickAimDistance = 100.0f;
// A trigger counts as pressed past this share of its full travel.
const float kTriggerThreshold = 0.5f;

// A key held, or any of its pad signals.
struct Control {
    SDLKey key;
    uint32_t padSignals;
};

const Control kWalkUp = {SDLK_w, PadStickUp | PadDpadUp};
const Control kWalkDown = {SDLK_s, PadStickDown | PadDpadDown};
const Control kWalkLeft = {SDLK_a, PadStickLeft | PadDpadLeft};
const Control kWalkRight = {SDLK_d, PadStickRight | PadDpadRight};
// Held: a round from the title screen, another from the statistics screen.
const Control kBegin = {SDLK_SPACE, PadA | PadStart};
// Held: the credits from the title and statistics screens; the end of a
// round in play, paused or not; the end of the program in the credits.
const Control kBack = {SDLK_ESCAPE, PadB | PadBack};
// Pressed in play: the round pauses, or goes on.
const Control kPause = {SDLK_p, PadStart};

// Fire: a press of the left mouse button, or of either of these; one bullet
// a press.
const Uint8 kFireButton = SDL_BUTTON_LEFT;
const uint32_t kFireSignals[] = {PadRightTrigger, PadRightShoulder};
// Slow motion while the right mouse button is held, or either of these.
const Uint8 kSlowMotionButton = SDL_BUTTON_RIGHT;
const uint32_t kSlowMotionSignals = PadLeftTrigger | PadLeftShoulder;
// Aim: the mouse pointer, or the right stick.
// Cat mode: a slow-motion click on the HUD's status text with either Shift.
const SDLKey kCatModeKeys[] = {SDLK_LSHIFT, SDLK_RSHIFT};

// Held: the picture is saved, every frame.
const SDLKey kScreenshotKey = SDLK_F12;
// Pressed, on every screen: the window or the whole screen.
bool SwitchesFullScreen(const SDL_keysym& key);
// Pressed in a paused round: play goes on. Any key but those that change the
// window or take pictures, and the modifiers (an Alt+Tab back into the game
// must not count).
bool ResumesPlay(const SDL_keysym& key);

// The pad's signals now; none without a pad.
uint32_t ReadPadSignals();

#endif
