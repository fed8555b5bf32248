// zibo-bench-record DIR: builds every benchmark scene and writes the quads of
// one of its frames to DIR/<scene>.quads, for the reference renderer of the
// measuring program. Run from the directory that holds "sprites" and "sfx".
#include "BenchCatalogue.h"
#include "BenchScene.h"
#include "QuadRecorder.h"
#include "Video.h"

#include <cstdio>
#include <string>

namespace {

bool RecordFrame(BenchScene& bench, const std::string& name, const std::string& directory) {
    QuadList list;
    list.scene = name;
    list.digest = bench.digest();
    StartQuadRecording();
    bench.runFrame();
    list.quads = StopQuadRecording();
    if (UnexpectedPrimitiveCount() != 0) {
        fprintf(stderr, "record: %s drew %i primitives the reference cannot stand in for\n",
                name.c_str(), UnexpectedPrimitiveCount());
        return false;
    }
    printf("record: %s: %zu quads (%s)\n", name.c_str(), list.quads.size(), list.digest.c_str());
    return SaveQuadList(list, QuadFilePath(directory, name));
}

bool RecordRound(BenchScene& bench, const std::string& name, const SceneSize& size,
                 const std::string& directory) {
    if (!bench.buildRound(size)) {
        return false;
    }
    for (int i = 0; i < kWarmUpFrames; ++i) {
        bench.runFrame();
    }
    return RecordFrame(bench, name, directory);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: zibo-bench-record OUTPUT_DIR\n");
        return 2;
    }
    const std::string directory = argv[1];
    if (!GameDriver::OpenWindow()) {
        return 1;
    }
    bool recorded = true;
    {
        BenchScene bench;
        for (int i = 0; i < kWarmUpFrames; ++i) {
            bench.advanceClock(kTitleFrameMs);
            bench.runFrame();
        }
        bench.advanceClock(kTitleFrameMs);
        recorded = RecordFrame(bench, kTitleSceneName, directory) && recorded;
        bench.enterFirstRound();
        for (const RoundScene& scene : kRoundScenes) {
            recorded = recorded && RecordRound(bench, scene.name, scene.size, directory);
        }
        for (const int decals : kSweepDecals) {
            const SceneSize size = {decals, kSweepEnemies, kSweepBullets};
            recorded = recorded && RecordRound(bench, SweepSceneName(decals), size, directory);
        }
    }
    ShutDownVideo();
    return recorded ? 0 : 1;
}
