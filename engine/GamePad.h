// Cindermill game pad: the first pad SDL lists, read in SDL's game controller
// layout, which sdl12-compat gives every pad SDL knows when the video module
// starts SDL: left stick on axes 0 and 1, right stick on 2 and 3, the
// triggers on 4 and 5, the buttons in the order below. One pad at a time;
// others are left alone.
#ifndef CINDERMILL_GAME_PAD_H
#define CINDERMILL_GAME_PAD_H

enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };

enum class PadButton {
    A,
    B,
    X,
    Y,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight
};

// Opens the first pad of that layout that SDL lists; true when one is open.
bool OpenGamePad();
// SDL 1.2 lists pads only when its joystick subsystem starts, so a pad
// plugged in later is found by starting it again, which closes the open pad
// and takes some milliseconds: never during play. True when a pad is open.
bool RescanGamePads();
void CloseGamePad();
bool GamePadOpen();
// Sticks from -1 to 1, right and down positive; triggers from 0 to 1. With no
// pad, or one pulled out, every axis reads 0 and no button is down.
float GamePadAxis(PadAxis axis);
bool GamePadButton(PadButton button);

#endif
