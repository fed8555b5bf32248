// zibo-bench: frame times of the game's own runFrame in the benchmark's
// scenes, each beside its reference renderer, the game logic alone, and the
// peak memory of the extreme scene. Run from the directory that holds
// "sprites" and "sfx", after zibo-bench-record has written the quads.
//
//   zibo-bench frames QUADS_DIR RESULTS   title, empty, late and extreme rounds
//   zibo-bench sweep QUADS_DIR RESULTS    frame time against the number of decals
//   zibo-bench logic RESULTS              play logic alone, late and extreme rounds
//   zibo-bench memory RESULTS             peak resident memory, extreme round
//   zibo-bench memory-reference QUADS_DIR RESULTS   the same for its reference
//   zibo-bench pictures DIR RESULTS       the game's F12 screenshot of each scene, the
//                                         slow motion, statistics and credits too
//
// Results are appended to RESULTS as tab-separated lines.
#include "BenchCatalogue.h"
#include "BenchScene.h"
#include "FrameSamples.h"
#include "Game.h"
#include "GameSettings.h"
#include "GameState.h"
#include "QuadList.h"
#include "ReferenceRenderer.h"
#include "Video.h"

#include <GL/glx.h>
#include <SDL.h>
#include <SDL_opengl.h>

#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

const double kSceneSeconds = 2.0;
const double kSweepSeconds = 1.0;
// Slow scenes run longer than the seconds above, to this many frames a side.
const size_t kSceneFrames = 20;
const size_t kSweepFrames = 10;
const double kLogicSeconds = 2.0;
const double kMemorySeconds = 2.0;
// Game and reference frames take turns in blocks this long, so that a change
// in the machine's load falls on both alike.
const double kBlockSeconds = 0.25;
const double kPercentile99 = 0.99;

// The end of a round: play goes on for a moment in steps this long, long
// enough for enemies to walk and bullets to kill.
const int kPlayOnFrames = 10;
const uint32_t kPlayOnFrameMs = 50;
const int kCreditsFrames = 40;

// The logic runs in episodes of a second of play at 60 frames a second, each
// from the same built scene: enough for bullets to reach the ring of enemies
// and kill, and for a few spawns, without the scene drifting far from its size.
const int kEpisodeFrames = 60;
const uint32_t kLogicFrameMs = 16;
// Two minutes into the round: an enemy spawns every third of a second.
const uint32_t kLateInRoundMs = 120000;
const double kAimTurnPerFrame = 0.15;  // radians: the player sprays the ring
const int kAimRadius = 200;
const int kScreenCentreX = kScreenWidth / 2;
const int kScreenCentreY = kScreenHeight / 2;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double TimeOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return MillisecondsSince(start);
}

// Processor time of every thread of the process (the renderer's workers
// included), which another program's load on the machine hardly changes.
double ProcessCpuMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1.0e6;
}

struct FrameTimes {
    FrameSamples wall;
    FrameSamples cpu;
};

class Results {
public:
    explicit Results(const std::string& path) : file(path, std::ios::app) {}
    bool good() const { return static_cast<bool>(file); }
    void samples(const std::string& kind, const std::string& scene, const std::string& who,
                 const FrameSamples& s, const FrameSamples& cpu) {
        char line[256];
        snprintf(line, sizeof(line), "%s\t%s\t%s\t%.3f\t%.3f\t%zu\t%.3f\t%.3f\n", kind.c_str(),
                 scene.c_str(), who.c_str(), s.median(), s.percentile(kPercentile99), s.count(),
                 cpu.median(), cpu.percentile(kPercentile99));
        file << line;
        printf("bench: %s", line);
        fflush(stdout);
    }
    void value(const std::string& kind, const std::string& key, const std::string& value) {
        file << kind << '\t' << key << '\t' << value << '\n';
        printf("bench: %s\t%s\t%s\n", kind.c_str(), key.c_str(), value.c_str());
        fflush(stdout);
    }

private:
    std::ofstream file;
};

struct Comparison {
    FrameTimes game;
    FrameTimes reference;
};

// Runs frames until a block's time is up.
void RunBlock(FrameTimes& times, const std::function<void()>& frame) {
    const Clock::time_point blockStart = Clock::now();
    do {
        const double cpuStart = ProcessCpuMilliseconds();
        times.wall.add(TimeOf(frame));
        times.cpu.add(ProcessCpuMilliseconds() - cpuStart);
    } while (MillisecondsSince(blockStart) < kBlockSeconds * 1000.0);
}

Comparison CompareWithReference(BenchScene& bench, const ReferenceRenderer& reference,
                                double seconds, size_t frames, uint32_t stepMs) {
    const auto gameFrame = [&bench, stepMs]() {
        bench.advanceClock(stepMs);
        bench.runFrame();
    };
    const auto referenceFrame = [&reference]() { reference.drawFrame(); };
    for (int i = 0; i < kWarmUpFrames; ++i) {
        gameFrame();
        referenceFrame();
    }
    Comparison result;
    while (result.game.wall.totalSeconds() < seconds ||
           result.reference.wall.totalSeconds() < seconds || result.game.wall.count() < frames ||
           result.reference.wall.count() < frames) {
        RunBlock(result.game, gameFrame);
        RunBlock(result.reference, referenceFrame);
    }
    return result;
}

bool LoadReference(const std::string& directory, const std::string& scene, const BenchScene& bench,
                   QuadList* list) {
    if (!LoadQuadList(QuadFilePath(directory, scene), list)) {
        return false;
    }
    if (list->digest != bench.digest()) {
        fprintf(stderr,
                "bench: %s differs from the recorded scene:\n  recorded %s\n  built    %s\n",
                scene.c_str(), list->digest.c_str(), bench.digest().c_str());
        return false;
    }
    return true;
}

struct Measurement {
    const char* kind;
    double seconds;
    size_t frames;
};
const Measurement kSceneMeasurement = {"frame", kSceneSeconds, kSceneFrames};
const Measurement kSweepMeasurement = {"sweep", kSweepSeconds, kSweepFrames};

bool MeasureScene(BenchScene& bench, const std::string& scene, const std::string& quads,
                  const Measurement& measurement, uint32_t stepMs, Results& results) {
    QuadList list;
    if (!LoadReference(quads, scene, bench, &list)) {
        return false;
    }
    const ReferenceRenderer reference(list);
    const Comparison comparison =
        CompareWithReference(bench, reference, measurement.seconds, measurement.frames, stepMs);
    const std::string kind = measurement.kind;
    results.samples(kind, scene, "game", comparison.game.wall, comparison.game.cpu);
    results.samples(kind, scene, "reference", comparison.reference.wall, comparison.reference.cpu);
    results.value(
        "quads", scene,
        std::to_string(list.quads.size()) + "\t" + std::to_string(reference.batchCount()));
    return true;
}

bool RunFrames(const std::string& quads, Results& results) {
    results.value("info", "renderer", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    results.value("info", "version", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    BenchScene bench;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        bench.advanceClock(kTitleFrameMs);
        bench.runFrame();
    }
    if (!MeasureScene(bench, kTitleSceneName, quads, kSceneMeasurement, kTitleFrameMs, results)) {
        return false;
    }
    bench.enterFirstRound();
    for (const RoundScene& scene : kRoundScenes) {
        if (!bench.buildRound(scene.size) ||
            !MeasureScene(bench, scene.name, quads, kSceneMeasurement, 0, results)) {
            return false;
        }
    }
    return true;
}

bool RunSweep(const std::string& quads, Results& results) {
    BenchScene bench;
    bench.enterFirstRound();
    for (const int decals : kSweepDecals) {
        const SceneSize size = {decals, kSweepEnemies, kSweepBullets};
        if (!bench.buildRound(size) ||
            !MeasureScene(bench, SweepSceneName(decals), quads, kSweepMeasurement, 0, results)) {
            return false;
        }
    }
    return true;
}

// What an episode of play changes, put back before the next one.
struct RoundSnapshot {
    explicit RoundSnapshot(const Game& game) : player(*game.player), fields(game) {
        enemies = game.enemies;
        bullets = game.bullets;
        decals = game.decals;
    }
    // Only the per-round values and the lists; the engine objects stay.
    void restore(Game& g) const {
        g.enemies = enemies;
        g.bullets = bullets;
        g.decals = decals;
        *g.player = player;
        g.health = fields.health;
        g.slowMoEnergy = fields.slowMoEnergy;
        g.playerSpeed = fields.playerSpeed;
        g.spawnInterval = fields.spawnInterval;
        g.roundStartTime = fields.roundStartTime;
        g.lastSpawnTime = fields.lastSpawnTime;
        g.fadeAlpha = fields.fadeAlpha;
        g.roundTime = fields.roundTime;
        g.distanceRan = fields.distanceRan;
        g.damageDealt = fields.damageDealt;
        g.aimX = fields.aimX;
        g.aimY = fields.aimY;
        g.state = fields.state;
        g.bodyCount = fields.bodyCount;
        g.shotsFired = fields.shotsFired;
        g.slowMo = fields.slowMo;
        g.slowMoLocked = fields.slowMoLocked;
    }
    std::vector<Enemy> enemies;
    std::vector<Bullet> bullets;
    std::vector<Actor> decals;
    Actor player;
    struct Fields {
        explicit Fields(const Game& g)
            : health(g.health),
              slowMoEnergy(g.slowMoEnergy),
              playerSpeed(g.playerSpeed),
              spawnInterval(g.spawnInterval),
              roundStartTime(g.roundStartTime),
              lastSpawnTime(g.lastSpawnTime),
              fadeAlpha(g.fadeAlpha),
              roundTime(g.roundTime),
              distanceRan(g.distanceRan),
              damageDealt(g.damageDealt),
              aimX(g.aimX),
              aimY(g.aimY),
              state(g.state),
              bodyCount(g.bodyCount),
              shotsFired(g.shotsFired),
              slowMo(g.slowMo),
              slowMoLocked(g.slowMoLocked) {}
        float health, slowMoEnergy, playerSpeed, spawnInterval, roundStartTime, lastSpawnTime,
            fadeAlpha, roundTime, distanceRan, damageDealt;
        int32_t aimX, aimY, state, bodyCount, shotsFired;
        bool slowMo, slowMoLocked;
    } fields;
};

void PushAimAndShot(int frame) {
    const double angle = frame * kAimTurnPerFrame;
    const int x = kScreenCentreX + static_cast<int>(kAimRadius * std::cos(angle));
    const int y = kScreenCentreY + static_cast<int>(kAimRadius * std::sin(angle));
    GameDriver::pushMotion(x, y);
    GameDriver::pushButton(SDL_BUTTON_LEFT, true, x, y);
}

// Episodes of play with the player walking, aiming, firing every frame,
// enemies chasing, bullets killing and enemies spawning; only playFrame is
// timed, and with no OpenGL context current every drawing call it makes
// goes to the driver's no-op entry, so what is left is the logic.
FrameTimes MeasureLogic(BenchScene& bench, int* kills, int* spawns) {
    Game& game = bench.game();
    const RoundSnapshot snapshot(game);
    const uint32_t episodeStart = bench.now() + kLateInRoundMs;
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    const GLXContext context = glXGetCurrentContext();
    glXMakeCurrent(display, None, nullptr);
    Uint8* keys = SDL_GetKeyState(nullptr);
    FrameTimes samples;
    *kills = 0;
    *spawns = 0;
    while (samples.wall.totalSeconds() < kLogicSeconds) {
        snapshot.restore(game);
        bench.setClock(episodeStart);
        keys[SDLK_s] = 1;
        keys[SDLK_d] = 1;
        const size_t enemiesBefore = game.enemies.size();
        for (int frame = 0; frame < kEpisodeFrames; ++frame) {
            bench.advanceClock(kLogicFrameMs);
            PushAimAndShot(frame);
            game.frameTime = MeasureFrameTime();
            const double cpuStart = ProcessCpuMilliseconds();
            samples.wall.add(TimeOf([&game]() { game.playFrame(); }));
            samples.cpu.add(ProcessCpuMilliseconds() - cpuStart);
        }
        keys[SDLK_s] = 0;
        keys[SDLK_d] = 0;
        *kills += game.bodyCount - snapshot.fields.bodyCount;
        *spawns += static_cast<int>(game.enemies.size() + game.bodyCount) -
                   static_cast<int>(enemiesBefore + snapshot.fields.bodyCount);
    }
    glXMakeCurrent(display, drawable, context);
    snapshot.restore(game);
    bench.setClock(episodeStart - kLateInRoundMs);
    return samples;
}

bool RunLogic(Results& results) {
    BenchScene bench;
    bench.enterFirstRound();
    for (const RoundScene& scene : kRoundScenes) {
        if (scene.size.enemies == 0) {
            continue;
        }
        if (!bench.buildRound(scene.size)) {
            return false;
        }
        int kills = 0;
        int spawns = 0;
        const FrameTimes samples = MeasureLogic(bench, &kills, &spawns);
        results.samples("logic", scene.name, "game", samples.wall, samples.cpu);
        const size_t episodes = samples.wall.count() / kEpisodeFrames;
        results.value("logic-events", scene.name,
                      std::to_string(kills / static_cast<double>(episodes)) + "\t" +
                          std::to_string(spawns / static_cast<double>(episodes)));
    }
    return true;
}

long PeakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmHWM:") == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

bool ReportPeakMemory(const std::string& who, Results& results) {
    const long kilobytes = PeakResidentKilobytes();
    char megabytes[32];
    snprintf(megabytes, sizeof(megabytes), "%.1f", kilobytes / 1024.0);
    results.value("memory", who, megabytes);
    return kilobytes > 0;
}

void RunFor(double seconds, const std::function<void()>& frame) {
    const Clock::time_point start = Clock::now();
    while (MillisecondsSince(start) < seconds * 1000.0) {
        frame();
    }
}

bool RunMemory(Results& results) {
    BenchScene bench;
    bench.enterFirstRound();
    if (!bench.buildRound(kExtremeScene.size)) {
        return false;
    }
    RunFor(kMemorySeconds, [&bench]() { bench.runFrame(); });
    return ReportPeakMemory("game", results);
}

// The same process without the round: the game started (its textures,
// sounds and music loaded) and its title frame drawn, then the extreme
// round's quads drawn by the reference renderer. What is left of the game's
// peak above this is what its round costs.
bool RunMemoryReference(const std::string& quads, Results& results) {
    BenchScene bench;
    bench.advanceClock(kTitleFrameMs);
    bench.runFrame();
    QuadList list;
    if (!LoadQuadList(QuadFilePath(quads, kExtremeScene.name), &list)) {
        return false;
    }
    const ReferenceRenderer reference(list);
    RunFor(kMemorySeconds, [&reference]() { reference.drawFrame(); });
    return ReportPeakMemory("reference", results);
}

// The game's own F12 screenshot of a frame of each scene, for comparing the
// picture byte for byte before and after a change to the engine or the game.
bool TakeScreenshot(BenchScene& bench, const std::string& directory, const std::string& scene) {
    Uint8* keys = SDL_GetKeyState(nullptr);
    keys[SDLK_F12] = 1;
    bench.runFrame();
    keys[SDLK_F12] = 0;
    const std::string path = directory + "/" + scene + ".bmp";
    if (rename("screenshot.bmp", path.c_str()) != 0) {
        fprintf(stderr, "bench: no screenshot for %s\n", scene.c_str());
        return false;
    }
    return true;
}

// The late round in slow motion, then played on for a moment, ended with
// ESC, summed up on the statistics screen and left for the credits roll.
bool PictureTheRoundsEnd(BenchScene& bench, const std::string& directory, Results& results) {
    if (!bench.buildRound(kLateScene.size)) {
        return false;
    }
    bench.pressRightButton();
    if (!TakeScreenshot(bench, directory, kSlowMotionSceneName)) {
        return false;
    }
    results.value("picture", kSlowMotionSceneName, bench.digest());
    bench.runFrames(kPlayOnFrames, kPlayOnFrameMs);
    bench.releaseRightButton();
    bench.runFrames(kPlayOnFrames, kPlayOnFrameMs);
    if (!bench.pressEscapeUntil(Statistics, kPlayOnFrameMs)) {
        return false;
    }
    bench.runFrames(kWarmUpFrames, kTitleFrameMs);
    if (!TakeScreenshot(bench, directory, kStatisticsSceneName)) {
        return false;
    }
    results.value("picture", kStatisticsSceneName, bench.digest());
    if (!bench.pressEscapeUntil(Credits, kPlayOnFrameMs)) {
        return false;
    }
    // Into the first page's full strength.
    bench.runFrames(kCreditsFrames, kTitleFrameMs);
    return TakeScreenshot(bench, directory, kCreditsSceneName);
}

bool RunPictures(const std::string& directory, Results& results) {
    BenchScene bench;
    for (int i = 0; i < kWarmUpFrames; ++i) {
        bench.advanceClock(kTitleFrameMs);
        bench.runFrame();
    }
    bench.advanceClock(kTitleFrameMs);
    if (!TakeScreenshot(bench, directory, kTitleSceneName)) {
        return false;
    }
    bench.enterFirstRound();
    for (const RoundScene& scene : kRoundScenes) {
        if (!bench.buildRound(scene.size) || !TakeScreenshot(bench, directory, scene.name)) {
            return false;
        }
        results.value("picture", scene.name, bench.digest());
    }
    return PictureTheRoundsEnd(bench, directory, results);
}

int Usage() {
    fprintf(stderr,
            "usage: zibo-bench frames|sweep|memory-reference QUADS_DIR RESULTS\n"
            "       zibo-bench pictures OUTPUT_DIR RESULTS\n"
            "       zibo-bench logic|memory RESULTS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return Usage();
    }
    const std::string mode = argv[1];
    const bool needsQuads =
        mode == "frames" || mode == "sweep" || mode == "memory-reference" || mode == "pictures";
    if ((needsQuads && argc != 4) || (!needsQuads && argc != 3)) {
        return Usage();
    }
    Results results(argv[argc - 1]);
    if (!results.good()) {
        fprintf(stderr, "bench: cannot write %s\n", argv[argc - 1]);
        return 1;
    }
    if (!GameDriver::OpenWindow()) {
        return 1;
    }
    bool measured = false;
    if (mode == "frames") {
        measured = RunFrames(argv[2], results);
    } else if (mode == "sweep") {
        measured = RunSweep(argv[2], results);
    } else if (mode == "logic") {
        measured = RunLogic(results);
    } else if (mode == "memory") {
        measured = RunMemory(results);
    } else if (mode == "memory-reference") {
        measured = RunMemoryReference(argv[2], results);
    } else if (mode == "pictures") {
        measured = RunPictures(argv[2], results);
    } else {
        return Usage();
    }
    ShutDownVideo();
    return measured ? 0 : 1;
}
