// A game pad of the test's own: SDL 2's virtual game controller (6 axes, 15
// buttons, numbered as the game's pad module numbers them), reached through
// dlsym because SDL 2 is loaded under sdl12-compat. The test holds SDL 2's joystick subsystem
// itself, so that the pad outlives the game's searches for pads, which start
// that subsystem again. Attached before SDL 1.2 starts, or before a search,
// the game finds it as its pad.
#ifndef ZIBO_TESTS_VIRTUAL_PAD_H
#define ZIBO_TESTS_VIRTUAL_PAD_H

#include "GamePad.h"

#include <cstdint>

struct _SDL_Joystick;

class VirtualPad {
public:
    // Attached, sticks centred, triggers and buttons released; with fewer
    // axes or buttons it is a joystick short of the layout.
    explicit VirtualPad(int axes = 6, int buttons = 15);
    ~VirtualPad();  // pulled out
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Attached() const { return joystick != nullptr; }
    // Sticks from -1 to 1 (right and down positive), triggers from 0 to 1.
    void Move(PadAxis axis, float value);
    // The stick whose x axis is xAxis.
    void Stick(PadAxis xAxis, float x, float y);
    void Press(PadButton button, bool down = true);
    // As a player pulls the cable: the game's pad then reads nothing.
    void PullOut();

private:
    _SDL_Joystick* joystick = nullptr;
    int32_t instance = -1;
};

#endif
