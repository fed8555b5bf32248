// Preloaded into the real game by the end-to-end tests: attaches SDL 2's
// virtual game pad before the game starts SDL, then presses its buttons as
// the test writes lines into the pipe that ZIBO_TEST_PAD names: "press
// BUTTON 1" (0 lets go), numbered as the game's pad module numbers them.
#include "VirtualPad.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void FollowCommands(VirtualPad* pad, const char* path) {
    FILE* commands = fopen(path, "r");
    int button, down;
    while (commands != nullptr && fscanf(commands, " press %d %d", &button, &down) == 2) {
        pad->Press(static_cast<PadButton>(button), down != 0);
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
