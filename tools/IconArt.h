// The desktop icon: the Z.I.B.O. emblem, a fiery "Z" in a gun sight on a dark
// steel badge. Each size is drawn afresh rather than scaled, with the letter
// snapped to whole pixels so that it stays readable at 16 x 16.
#ifndef ZIBO_TOOLS_ICON_ART_H
#define ZIBO_TOOLS_ICON_ART_H

#include "Image.h"

#include <string>

// The sizes of the icon theme's usual folders ("16x16" ... "256x256"). The
// build reads this list to install the icons.
static const int kIconSizes[] = {16, 32, 48, 64, 128, 256};
static const int kIconSizeCount = sizeof(kIconSizes) / sizeof(kIconSizes[0]);

// The emblem, size x size pixels with a transparent surround.
Image GameIcon(int size);

// The file name of one size, "zibo-<size>.png".
std::string IconFileName(int size);

#endif
