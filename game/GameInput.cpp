// Keys, buttons and sticks as the controls table (Controls.h) maps them: held
// controls, the pad's presses and releases, aiming with the right stick, the
// fullscreen keys and the search for a pad.
#include "Game.h"

#include "Controls.h"
#include "GamePad.h"
#include "Input.h"
#include "Video.h"

#include <cmath>

namespace {
// A pad plugged in while the title or statistics screen shows is found
// within this many milliseconds.
const uint32_t kPadScanInterval = 1000;
}  // namespace

bool Game::held(const Control& control) const {
    return KeyHeld(control.key) || (padSignals & control.padSignals) != 0;
}

// Any of the signals newly given in this frame.
bool Game::padPressed(uint32_t signals) const {
    return (padSignals & ~padSignalsBefore & signals) != 0;
}

// The last of the signals let go in this frame.
bool Game::padReleased(uint32_t signals) const {
    return (padSignalsBefore & signals) != 0 && (padSignals & signals) == 0;
}

void Game::readPad() {
    padSignalsBefore = padSignals;
    padSignals = ReadPadSignals();
}

// The pad in play, after the frame's events: what the mouse buttons and P
// would do, through the same steps.
void Game::playPad() {
    readPad();
    for (const uint32_t signal : kFireSignals) {
        if (padPressed(signal)) {
            fire();
        }
    }
    if (padPressed(kSlowMotionSignals)) {
        startSlowMotion();
    }
    if (padReleased(kSlowMotionSignals)) {
        stopSlowMotion();
    }
    if (padPressed(kPause.padSignals)) {
        pauseRound();
    }
    aimWithStick();
}

// Past its dead zone the right stick puts the aim point where the mouse
// pointer would stand to aim that way, at a fixed distance from the player;
// inside it the aim stays, until the stick or the mouse moves it.
void Game::aimWithStick() {
    const float x = GamePadAxis(PadAxis::RightX);
    const float y = GamePadAxis(PadAxis::RightY);
    const float length = std::sqrt(x * x + y * y);
    if (length <= kAimDeadZone) {
        return;
    }
    aimX = static_cast<int32_t>(std::lround(player->getX() + kStickAimDistance * x / length));
    aimY = static_cast<int32_t>(std::lround(player->getY() + kStickAimDistance * y / length));
}

// The aim point is the pointer's place in world coordinates.
void Game::aimAtPointer(int x, int y) {
    aimX = x - screenWidth / 2;
    aimY = y - screenHeight / 2;
}

bool Game::switchScreenOnKey(const SDL_Event& pressed) {
    if (pressed.type != SDL_KEYDOWN || !SwitchesFullScreen(pressed.key.keysym)) {
        return false;
    }
    ToggleFullScreen();
    return true;
}

// SDL lists pads only when its joystick subsystem starts; starting it again
// takes some milliseconds, which only the screens between rounds can spare.
void Game::scanForPadWhenDue() {
    if (GetTicks() - lastPadScan >= kPadScanInterval) {
        RescanGamePads();
        lastPadScan = GetTicks();
    }
}
