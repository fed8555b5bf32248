// The desktop's picture of the title screen at a known moment, for the
// browser's test to hold its own against: the real Game over the generated
// assets in the working directory, its clock stepped frame by frame, one
// screenshot for each of the three floors (the browser's C library draws
// other random numbers from the same seed). Its log is the desktop's.
//   zibo-title-reference FRAMES MILLISECONDS OUTPUT_DIR
#include "Game.h"
#include "GameDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const int kFloors = 3;
}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: zibo-title-reference FRAMES MILLISECONDS OUTPUT_DIR\n");
        return 2;
    }
    const int frames = atoi(argv[1]);
    const uint32_t milliseconds = static_cast<uint32_t>(atoi(argv[2]));
    const std::string directory = argv[3];
    if (!GameDriver::OpenWindow()) {
        return 1;
    }
    GameDriver driver(0);
    for (int i = 0; i < frames; ++i) {
        driver.frame(milliseconds);
    }
    // Frames of no time change nothing but the floor laid.
    GameDriver::holdKey(SDLK_F12);
    for (int floor = 0; floor < kFloors; ++floor) {
        driver.game().floorChoice = floor;
        driver.frame(0);
        const std::string path = directory + "/title-" + std::to_string(floor) + ".bmp";
        if (rename("screenshot.bmp", path.c_str()) != 0) {
            fprintf(stderr, "zibo-title-reference: no screenshot for %s\n", path.c_str());
            return 1;
        }
    }
    GameDriver::holdKey(SDLK_F12, false);
    return 0;
}
