// The desktop's pictures of the title screen and of a round's first moment,
// for the browser's test to hold its own against: the real Game over the
// generated assets in the working directory, its clock stepped frame by
// frame, one screenshot for each of the three floors (the browser's C library
// draws other random numbers from the same seed). Its log is the desktop's.
//   zibo-title-reference FRAMES FADE_FRAMES MILLISECONDS OUTPUT_DIR
#include "Game.h"
#include "GameDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const int kFloors = 3;

// Frames of no time change nothing but the floor laid.
bool PictureEachFloor(GameDriver& driver, const std::string& stem) {
    GameDriver::holdKey(SDLK_F12);
    for (int floor = 0; floor < kFloors; ++floor) {
        driver.game().floorChoice = floor;
        driver.frame(0);
        const std::string path = stem + std::to_string(floor) + ".bmp";
        if (rename("screenshot.bmp", path.c_str()) != 0) {
            fprintf(stderr, "zibo-title-reference: no screenshot for %s\n", path.c_str());
            return false;
        }
    }
    GameDriver::holdKey(SDLK_F12, false);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: zibo-title-reference FRAMES FADE_FRAMES MILLISECONDS OUTPUT_DIR\n");
        return 2;
    }
    const int frames = atoi(argv[1]);
    const int fadeFrames = atoi(argv[2]);
    const uint32_t milliseconds = static_cast<uint32_t>(atoi(argv[3]));
    const std::string directory = argv[4];
    if (!GameDriver::OpenWindow()) {
        return 1;
    }
    GameDriver driver(0);
    for (int i = 0; i < frames; ++i) {
        driver.frame(milliseconds);
    }
    if (!PictureEachFloor(driver, directory + "/title-")) {
        return 1;
    }
    // SPACE held through the fade into the round: the player, the HUD and
    // its text, before the first enemy comes.
    GameDriver::holdKey(SDLK_SPACE);
    for (int i = 0; i < fadeFrames; ++i) {
        driver.frame(milliseconds);
    }
    GameDriver::holdKey(SDLK_SPACE, false);
    driver.frame(0);
    return PictureEachFloor(driver, directory + "/round-") ? 0 : 1;
}
