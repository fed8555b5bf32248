// The benchmark's own parts, against the real game under Xvfb: a built round
// has the size asked for, stands still while it is measured and comes out
// the same whatever was built before; the recorder's quads, saved and loaded
// back exactly, redraw the game's picture and make one reference batch a
// texture; and the frame times' summary.
#include "BenchScene.h"
#include "FrameSamples.h"
#include "Game.h"
#include "OutputCapture.h"
#include "QuadRecorder.h"
#include "ReferenceRenderer.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

namespace {

const SceneSize kSmallRound = {200, 40, 20};

}  // namespace

TEST(BenchReferenceTest, BuiltRoundsStandStillRepeatAndTheirRecordedQuadsRedrawThePicture) {
    OpenTestWindow();
    InitAudio(kAudioFrequency, kAudioChannels);
    // The game reads "sprites" and "sfx" there and writes nothing.
    char previousDirectory[4096];
    ASSERT_NE(getcwd(previousDirectory, sizeof(previousDirectory)), nullptr);
    ASSERT_EQ(chdir(ZIBO_BUILD_DIR), 0);
    ResetTestCanvas();
    BenchScene bench;
    bench.enterFirstRound();
    // A kill without a free mixer channel prints a line: a hundred kills stay
    // out of the test's output.
    auto quietly = [](const std::function<bool()>& step) {
        OutputCapture quiet;
        return step();
    };
    auto build = [&](SceneSize size) { return quietly([&] { return bench.buildRound(size); }); };
    EXPECT_FALSE(build(SceneSize{3, 0, 0}));  // decals come two to a kill
    ASSERT_TRUE(build(kSmallRound));
    Game& game = bench.game();
    EXPECT_EQ((std::vector<size_t>{game.decals.size(), game.enemies.size(), game.bullets.size(),
                                   static_cast<size_t>(game.bodyCount)}),
              (std::vector<size_t>{200, 40, 20, 100}));
    const std::string first = bench.digest();
    for (int i = 0; i < 5; ++i) {
        bench.runFrame();
    }
    // Nothing walked, spawned, flew or died, and the player is unhurt.
    EXPECT_TRUE(bench.digest() == first && game.health == 100.0f);
    ASSERT_TRUE(build(SceneSize{40, 10, 6}));
    EXPECT_NE(bench.digest(), first);
    ASSERT_TRUE(build(kSmallRound));
    EXPECT_EQ(bench.digest(), first);

    // One frame as runFrame draws it, left in the back buffer.
    ClearScreen();
    StartQuadRecording();
    game.frameTime = MeasureFrameTime();
    game.drawWorld();
    glColor4f(1, 1, 1, 1);
    game.playFrame();
    const QuadList recorded = {"late", bench.digest(), StopQuadRecording()};
    EXPECT_EQ(UnexpectedPrimitiveCount(), 0);
    const Picture picture = ReadCanvas(0, 0, kTestWindowWidth, kTestWindowHeight);
    EXPECT_EQ(chdir(previousDirectory), 0);
    // Floor, decals, player, enemies and bullets, the HUD's panel and bars,
    // and the glyphs of its texts with their shadows.
    ASSERT_GT(recorded.quads.size(), 6u + 200u + 1u + 7u);

    // Saved and loaded back exactly; a file cut short mid-line is refused,
    // not drawn in part.
    TempDir dir;
    QuadList loaded;
    ASSERT_TRUE(SaveQuadList(recorded, dir.File("late.quads")) &&
                LoadQuadList(dir.File("late.quads"), &loaded));
    EXPECT_TRUE(loaded.digest == recorded.digest && loaded.quads.size() == recorded.quads.size() &&
                memcmp(loaded.quads.data(), recorded.quads.data(),
                       sizeof(Quad) * loaded.quads.size()) == 0);
    const std::string bytes = ReadFileBytes(dir.File("late.quads"));
    ASSERT_TRUE(WriteFileBytes(dir.File("cut.quads"), bytes.substr(0, bytes.size() / 2)));
    EXPECT_FALSE(quietly([&] { return LoadQuadList(dir.File("cut.quads"), &loaded); }));

    // The quads one after another with raw OpenGL. Their corners went through
    // the game's matrices on the recorder's side: an edge pixel may round the
    // other way (about 150 pixels by a few levels), nothing more.
    ClearScreen();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    std::set<uint32_t> textures;
    for (const Quad& quad : recorded.quads) {
        textures.insert(quad.texture);
        glBindTexture(GL_TEXTURE_2D, quad.texture);
        glBegin(GL_QUADS);
        for (const QuadCorner& c : quad.corners) {
            glColor4f(c.red, c.green, c.blue, c.alpha);
            glTexCoord2f(c.s, c.t);
            glVertex2f(c.x, c.y);
        }
        glEnd();
    }
    const Picture replay = ReadCanvas(0, 0, kTestWindowWidth, kTestWindowHeight);
    size_t different = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        different += !Near(picture.pixels[i], replay.pixels[i], 8);
    }
    EXPECT_LT(different, picture.pixels.size() / 1000) << different << " pixels differ";
    // Floor, blood, corpses, player, walk frames, bullet, HUD, pixel, font.
    EXPECT_GE(textures.size(), 8u);
    EXPECT_EQ(ReferenceRenderer(recorded).batchCount(), textures.size());
}

TEST(FrameSamplesTest, MedianAndNearestRankPercentile) {
    FrameSamples samples;
    for (int i = 100; i >= 1; --i) {
        samples.add(i);
    }
    EXPECT_TRUE(samples.median() == 50.5 && samples.percentile(0.99) == 99.0 &&
                samples.percentile(0.0) == 1.0);
    EXPECT_DOUBLE_EQ(samples.totalSeconds(), 5.05);
    samples.add(1000);
    // 99 % of 101 samples: the 100th, the nearest rank above.
    EXPECT_TRUE(samples.median() == 51.0 && samples.percentile(0.99) == 100.0 &&
                samples.percentile(1.0) == 1000.0);
}
