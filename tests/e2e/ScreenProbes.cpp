#include "ScreenProbes.h"

namespace {
bool White(Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; }
}  // namespace

bool ShowsBand(const WindowPicture& p) {
    return p.width >= 640 && White(p.At(3, 190)) && White(p.At(320, 190)) &&
           White(p.At(636, 190)) && White(p.At(3, 291)) && White(p.At(636, 291));
}

bool ShowsHud(const WindowPicture& p) {
    return p.width >= 640 &&
           p.Count(40, 24, 120, 32, [](Pixel q) { return q.r > q.g + 60 && q.r > q.b + 60; }) >
               300;
}

bool ShowsStatisticsFigures(const WindowPicture& p) {
    // The left column of figures starts at x 170, left of anything the title
    // or the first credits pages write in the band.
    return p.width >= 640 && p.Count(170, 198, 208, 275, White) > 20;
}

bool ShowsSpacePrompt(const WindowPicture& p) {
    return p.width >= 640 && p.Count(232, 440, 410, 456, White) > 30;
}
