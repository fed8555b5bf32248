// Preloaded into the real game by the end-to-end tests: attaches SDL 2's
// virtual game pad before the game starts SDL, then moves it as the test
// writes lines into the pipe that ZIBO_TEST_PAD names: "move AXIS VALUE" or
// "press BUTTON 1" (0 lets go), numbered as the game's pad module numbers
// them.
#include "VirtualPad.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void FollowCommands(VirtualPad* pad, const char* path) {
    FILE* commands = fopen(path, "r");
    char verb[8];
    int which;
    float value;
    while (commands != nullptr && fscanf(commands, "%7s %d %f", verb, &which, &value) == 3) {
        if (strcmp(verb, "move") == 0) {
            pad->Move(static_cast<PadAxis>(which), value);
        } else {
            pad->Press(static_cast<PadButton>(which), value != 0.0f);
        }
    }
}

// Only in the game: stdbuf, which starts it, loads the shim first.
__attribute__((constructor)) void AttachPad() {
    const char* path = getenv("ZIBO_TEST_PAD");
    if (path == nullptr || strcmp(program_invocation_short_name, "zibo") != 0) {
        return;
    }
    // Lives as long as the game does.
    std::thread(FollowCommands, new VirtualPad(), path).detach();
}

}  // namespace
