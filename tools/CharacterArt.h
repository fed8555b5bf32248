// The characters seen from above: the player's soldier, the bad guy and the
// cat, four walk frames each and a corpse. Every walking figure faces right
// (+x of the image): the game draws angle 0 upright and points an actor with
// angle a along (cos a, -sin a), so the image's right edge is the direction of
// travel and the soldier's gun points at the mouse.
#ifndef ZIBO_TOOLS_CHARACTER_ART_H
#define ZIBO_TOOLS_CHARACTER_ART_H

#include "Image.h"

// Images are twice their drawn size: 64 x 64 for a 32 x 32 soldier or bad
// guy, 64 x 32 for a 32 x 16 cat.
const int kArtScale = 2;

// frame 0..3: the walk cycle.
Image SoldierFrame(int frame);
Image SoldierCorpse();
Image BadGuyFrame(int frame);
Image BadGuyCorpse();
Image CatFrame(int frame);
Image CatCorpse();

#endif
