#include "GamePad.h"

#include <algorithm>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

namespace {
// The browser's Gamepad API lists pads as they come and go, each in its
// standard layout where it has one: the sticks on axes 0 to 3, the triggers
// as buttons 6 and 7 with a travel of their own. A browser shows a page a pad
// only once a button on it has been pressed.
const int kStandardAxes = 4;
const int kStandardButtons = 16;
const int kLeftTriggerButton = 6;
const int kRightTriggerButton = 7;
// The standard layout's button for each of ours, in PadButton's order.
const int kStandardButton[] = {0, 1, 2, 3, 8, 16, 9, 10, 11, 4, 5, 12, 13, 14, 15};
const int kNoPad = -1;

int pad = kNoPad;

EM_JS(int, FirstStandardPad, (int axes, int buttons), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    for (var i = 0; i < pads.length; ++i) {
        if (pads[i] && pads[i].axes.length >= axes && pads[i].buttons.length >= buttons) {
            return i;
        }
    }
    return -1;
});
// 0 for a pad that is gone, or a control that it lacks.
EM_JS(double, PadAxisValue, (int index, int axis), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var found = pads[index];
    return found && axis < found.axes.length ? found.axes[axis] : 0;
});
EM_JS(double, PadButtonValue, (int index, int button), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var found = pads[index];
    return found && button < found.buttons.length ? found.buttons[button].value : 0;
});
EM_JS(int, PadButtonPressed, (int index, int button), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var found = pads[index];
    return found && button < found.buttons.length && found.buttons[button].pressed ? 1 : 0;
});
}  // namespace

bool OpenGamePad() {
    pad = FirstStandardPad(kStandardAxes, kStandardButtons);
    return pad != kNoPad;
}

bool RescanGamePads() {
    return OpenGamePad();
}

void CloseGamePad() {
    pad = kNoPad;
}

bool GamePadOpen() {
    return pad != kNoPad;
}

float GamePadAxis(PadAxis axis) {
    if (pad == kNoPad) {
        return 0.0f;
    }
    double value = 0.0;
    if (axis == PadAxis::LeftTrigger) {
        value = PadButtonValue(pad, kLeftTriggerButton);
    } else if (axis == PadAxis::RightTrigger) {
        value = PadButtonValue(pad, kRightTriggerButton);
    } else {
        value = PadAxisValue(pad, static_cast<int>(axis));
    }
    return std::max(-1.0f, std::min(1.0f, static_cast<float>(value)));
}

bool GamePadButton(PadButton button) {
    return pad != kNoPad && PadButtonPressed(pad, kStandardButton[static_cast<int>(button)]) != 0;
}

#else
#include <SDL.h>

namespace {
// A joystick with fewer axes or buttons than the layout is not one of its
// pads, and reading it by the layout's numbers would be nonsense.
const int kLayoutAxes = 6;
const int kLayoutButtons = 15;
const float kFullTravel = 32767.0f;  // axis units at full deflection

SDL_Joystick* pad = nullptr;

bool HasLayout(SDL_Joystick* joystick) {
    return SDL_JoystickNumAxes(joystick) >= kLayoutAxes &&
           SDL_JoystickNumButtons(joystick) >= kLayoutButtons;
}
}  // namespace

bool OpenGamePad() {
    CloseGamePad();
    for (int i = 0; i < SDL_NumJoysticks() && pad == nullptr; ++i) {
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (joystick != nullptr && !HasLayout(joystick)) {
            SDL_JoystickClose(joystick);
            joystick = nullptr;
        }
        pad = joystick;
    }
    return pad != nullptr;
}

bool RescanGamePads() {
    CloseGamePad();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
        return false;
    }
    return OpenGamePad();
}

void CloseGamePad() {
    if (pad != nullptr) {
        SDL_JoystickClose(pad);
        pad = nullptr;
    }
}

bool GamePadOpen() {
    return pad != nullptr;
}

float GamePadAxis(PadAxis axis) {
    if (pad == nullptr) {
        return 0.0f;
    }
    const float value = SDL_JoystickGetAxis(pad, static_cast<int>(axis)) / kFullTravel;
    return std::max(-1.0f, std::min(1.0f, value));
}

bool GamePadButton(PadButton button) {
    return pad != nullptr && SDL_JoystickGetButton(pad, static_cast<int>(button)) != 0;
}

#endif
