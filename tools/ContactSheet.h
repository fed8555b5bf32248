// A contact sheet of the generated images for a person to look at: each image
// at the size the game draws it (on a floor-coloured patch) and magnified.
#ifndef ZIBO_TOOLS_CONTACT_SHEET_H
#define ZIBO_TOOLS_CONTACT_SHEET_H

#include "Image.h"

#include <string>
#include <vector>

struct SheetEntry {
    std::string name;
    const Image* image;
    int drawnWidth;
    int drawnHeight;
};

bool WriteContactSheet(const std::vector<SheetEntry>& entries, const std::string& path);

#endif
