// Cindermill input: the event queue and the keyboard, read the same way on
// the desktop and in a browser, whose SDL reports the window's focus and
// numbers its modifier keys in its own way.
#ifndef CINDERMILL_INPUT_H
#define CINDERMILL_INPUT_H

#include <SDL.h>

// SDL_PollEvent, with the loss of the input focus, or of the page's
// visibility, as an SDL_ACTIVEEVENT.
int PollEvent(SDL_Event* event);
// The key is down now.
bool KeyHeld(SDLKey key);
// Shift, Control, Alt, the system keys and the locks: keys that only change
// what another key does.
bool IsModifierKey(SDLKey key);

#endif
