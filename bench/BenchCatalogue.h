// The scenes the benchmark measures, shared by the recorder and the
// measuring program so that both build the same ones under the same names.
#ifndef ZIBO_BENCH_CATALOGUE_H
#define ZIBO_BENCH_CATALOGUE_H

#include "BenchScene.h"

#include <string>

struct RoundScene {
    const char* name;
    SceneSize size;
};

const char* const kTitleSceneName = "title";
const RoundScene kRoundScenes[] = {
    {"empty", {0, 0, 0}},
    {"late", {1000, 150, 50}},
    {"extreme", {5000, 1000, 300}},
};
const RoundScene kLateScene = kRoundScenes[1];
const RoundScene kExtremeScene = kRoundScenes[2];
// Pictures only: the late round in slow motion, and the screens after it.
const char* const kSlowMotionSceneName = "slowmo";
const char* const kStatisticsSceneName = "statistics";
const char* const kCreditsSceneName = "credits";

// Frame time against the number of decals, with the late round's enemies
// and bullets.
const int kSweepDecals[] = {0, 500, 1000, 2000, 3000, 4000, 5000};
const int kSweepEnemies = 150;
const int kSweepBullets = 50;

// The title screen's clock runs at a steady 60 frames a second of game time.
const uint32_t kTitleFrameMs = 16;
const int kWarmUpFrames = 10;

inline std::string SweepSceneName(int decals) {
    return "sweep-" + std::to_string(decals);
}
inline std::string QuadFilePath(const std::string& directory, const std::string& scene) {
    return directory + "/" + scene + ".quads";
}

#endif
