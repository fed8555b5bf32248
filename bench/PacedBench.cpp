// The browser's benchmark and its desktop counterpart, one program for both:
// the late and extreme rounds built as zibo-bench builds them, each drawn for
// a number of frames, the clock standing. The desktop build reads its own
// processor time (every thread, the software renderer's included); in a
// browser the frames come at the page's pace and the page is told which
// scene is drawn (Module.benchScene, Module.benchFrames), so that the driver
// outside (bench/web_bench.py) reads the processor time of all the
// browser's processes.
#include "BenchCatalogue.h"
#include "BenchScene.h"

#include <cstdio>
#include <ctime>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace {
const int kFramesPerScene = 240;
const RoundScene* const kScenes[] = {&kLateScene, &kExtremeScene};
const int kSceneCount = sizeof(kScenes) / sizeof(kScenes[0]);

BenchScene* bench = nullptr;
int scene = -1;
int framesDrawn = kFramesPerScene;

bool BuildNextScene() {
    ++scene;
    framesDrawn = 0;
    return scene < kSceneCount && bench->buildRound(kScenes[scene]->size);
}

#ifdef __EMSCRIPTEN__
void DrawFrame() {
    if (framesDrawn == kFramesPerScene) {
        if (!BuildNextScene()) {
            emscripten_cancel_main_loop();
            EM_ASM({ Module.benchScene = "done"; });
            return;
        }
        EM_ASM(
            {
                Module.benchScene = UTF8ToString($0);
                Module.benchFrames = 0;
            },
            kScenes[scene]->name);
    }
    bench->runFrame();
    ++framesDrawn;
    EM_ASM({ Module.benchFrames++; });
}
#else
double ProcessorSeconds() {
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
}
#endif
}  // namespace

int main(int, char**) {
    if (!GameDriver::OpenWindow()) {
        return 1;
    }
    bench = new BenchScene();
    bench->enterFirstRound();
#ifdef __EMSCRIPTEN__
    emscripten_set_main_loop(DrawFrame, 0, 0);
#else
    while (BuildNextScene()) {
        const double start = ProcessorSeconds();
        for (; framesDrawn < kFramesPerScene; ++framesDrawn) {
            bench->runFrame();
        }
        printf("%s %.3f ms\n", kScenes[scene]->name,
               (ProcessorSeconds() - start) * 1000.0 / kFramesPerScene);
    }
    delete bench;
    // A scene that could not be built ends the run early.
    return scene < kSceneCount ? 1 : 0;
#endif
    return 0;
}
