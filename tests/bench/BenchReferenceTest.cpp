// The benchmark's own parts, against the real game under Xvfb: scenes that
// stand still while they are measured and come out the same every time, a
// recorder whose quads redraw the game's picture, and the summaries.
#include "BenchScene.h"
#include "FrameSamples.h"
#include "Game.h"
#include "OutputCapture.h"
#include "QuadList.h"
#include "QuadRecorder.h"
#include "ReferenceRenderer.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

const SceneSize kSmallRound = {200, 40, 20};

std::vector<unsigned char> ReadCanvas() {
    std::vector<unsigned char> pixels(static_cast<size_t>(kTestWindowWidth) * kTestWindowHeight *
                                      4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kTestWindowWidth, kTestWindowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return pixels;
}

// The quads one after another, as the game drew them, with raw OpenGL.
void ReplayInOrder(const std::vector<Quad>& quads) {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const Quad& quad : quads) {
        glBindTexture(GL_TEXTURE_2D, quad.texture);
        glBegin(GL_QUADS);
        for (const QuadCorner& c : quad.corners) {
            glColor4f(c.red, c.green, c.blue, c.alpha);
            glTexCoord2f(c.s, c.t);
            glVertex2f(c.x, c.y);
        }
        glEnd();
    }
    glColor4f(1, 1, 1, 1);
}

class BenchReferenceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        OpenTestWindow();
        InitAudio(44100, 2);
    }
    void SetUp() override {
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        previousDirectory = cwd;
        // The game reads "sprites" and "sfx" there and writes nothing.
        ASSERT_EQ(chdir(ZIBO_BUILD_DIR), 0);
        ResetTestCanvas();
        OutputCapture quiet;
        bench = new BenchScene();
        bench->enterFirstRound();
    }
    void TearDown() override {
        {
            OutputCapture quiet;
            delete bench;
        }
        EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
    }

    // The game's log lines (kills without a free mixer channel print one
    // each) stay out of the test's output.
    bool Build(const SceneSize& size) {
        OutputCapture quiet;
        return bench->buildRound(size);
    }

    // One frame as runFrame draws it, left in the back buffer, with its quads.
    std::vector<Quad> DrawRecordedFrame() {
        Game& game = bench->game();
        ClearScreen();
        StartQuadRecording();
        game.frameTime = MeasureFrameTime();
        game.drawWorld();
        glColor4f(1, 1, 1, 1);
        game.playFrame();
        return StopQuadRecording();
    }

    std::string previousDirectory;
    BenchScene* bench = nullptr;
};

TEST_F(BenchReferenceTest, BuiltRoundHasTheAskedSizeAndStandsStillWhileMeasured) {
    ASSERT_TRUE(Build(kSmallRound));
    const Game& game = bench->game();
    EXPECT_EQ(game.decals.size(), 200u);
    EXPECT_EQ(game.enemies.size(), 40u);
    EXPECT_EQ(game.bullets.size(), 20u);
    EXPECT_EQ(game.bodyCount, 100);
    const std::string before = bench->digest();
    {
        OutputCapture quiet;
        for (int i = 0; i < 5; ++i) {
            bench->runFrame();
        }
    }
    // Nothing walked, spawned, flew or died, and the player is unhurt.
    EXPECT_EQ(bench->digest(), before);
    EXPECT_EQ(game.health, 100.0f);
}

TEST_F(BenchReferenceTest, SameSizeBuildsTheSameSceneWhateverCameBefore) {
    ASSERT_TRUE(Build(kSmallRound));
    const std::string first = bench->digest();
    ASSERT_TRUE(Build(SceneSize{40, 10, 6}));
    EXPECT_NE(bench->digest(), first);
    ASSERT_TRUE(Build(kSmallRound));
    EXPECT_EQ(bench->digest(), first);
}

TEST_F(BenchReferenceTest, OddDecalCountIsRefused) {
    EXPECT_FALSE(Build(SceneSize{3, 0, 0}));
}

TEST_F(BenchReferenceTest, RecordedQuadsRedrawTheGamesPicture) {
    ASSERT_TRUE(Build(kSmallRound));
    const std::vector<Quad> quads = DrawRecordedFrame();
    EXPECT_EQ(UnexpectedPrimitiveCount(), 0);
    const std::vector<unsigned char> game = ReadCanvas();
    // Floor, decals, player, enemies and bullets on the screen, the HUD's
    // panel and bars, and the glyphs of its two texts with their shadows.
    EXPECT_GT(quads.size(), 6u + 200u + 1u + 7u);

    ClearScreen();
    ReplayInOrder(quads);
    const std::vector<unsigned char> replay = ReadCanvas();
    // The quads' corners went through the game's matrices on the recorder's
    // side and arrive as window coordinates: an edge pixel may round the
    // other way (about 150 pixels by a few levels), nothing more.
    size_t different = 0;
    for (size_t i = 0; i < game.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            if (abs(game[i + c] - replay[i + c]) > 8) {
                ++different;
                break;
            }
        }
    }
    EXPECT_LT(different, game.size() / 4 / 1000) << different << " pixels differ";
}

TEST_F(BenchReferenceTest, ReferenceDrawsOneBatchPerTexture) {
    ASSERT_TRUE(Build(kSmallRound));
    QuadList list;
    list.quads = DrawRecordedFrame();
    std::set<uint32_t> textures;
    for (const Quad& quad : list.quads) {
        textures.insert(quad.texture);
    }
    // Floor, blood, corpses, player, walk frames, bullet, HUD, pixel, font.
    EXPECT_GE(textures.size(), 8u);
    EXPECT_EQ(ReferenceRenderer(list).batchCount(), textures.size());
}

TEST(QuadListTest, SavedListLoadsBackExactly) {
    TempDir dir;
    QuadList list;
    list.scene = "late";
    list.digest = "state=2 floor=1 decals=2 hash=00ff";
    Quad quad;
    quad.texture = 17;
    for (int k = 0; k < 4; ++k) {
        quad.corners[k] = QuadCorner{0.1f * k, 1.0f / 3.0f, 303.999985f + k, -12.5f,
                                     1,        0.5f,        0.25f,           0.123456789f};
    }
    list.quads = {quad, quad};
    ASSERT_TRUE(SaveQuadList(list, dir.File("late.quads")));
    QuadList loaded;
    ASSERT_TRUE(LoadQuadList(dir.File("late.quads"), &loaded));
    EXPECT_EQ(loaded.scene, "late");
    EXPECT_EQ(loaded.digest, list.digest);
    ASSERT_EQ(loaded.quads.size(), 2u);
    EXPECT_EQ(loaded.quads[1].texture, 17u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(loaded.quads[1].corners[k].x, quad.corners[k].x);
        EXPECT_EQ(loaded.quads[1].corners[k].s, quad.corners[k].s);
        EXPECT_EQ(loaded.quads[1].corners[k].alpha, quad.corners[k].alpha);
    }
}

TEST(QuadListTest, MissingOrTruncatedFileIsRefused) {
    TempDir dir;
    QuadList list;
    OutputCapture quiet;
    EXPECT_FALSE(LoadQuadList(dir.File("none.quads"), &list));
    ASSERT_TRUE(WriteFileBytes(dir.File("cut.quads"), "scene late\ndigest x\n5 0.1 0.2\n"));
    EXPECT_FALSE(LoadQuadList(dir.File("cut.quads"), &list));
    ASSERT_TRUE(WriteFileBytes(dir.File("bare.quads"), "5 0.1 0.2\n"));
    EXPECT_FALSE(LoadQuadList(dir.File("bare.quads"), &list));
}

TEST(FrameSamplesTest, MedianAndNearestRankPercentile) {
    FrameSamples none;
    EXPECT_EQ(none.median(), 0.0);
    FrameSamples samples;
    for (int i = 100; i >= 1; --i) {
        samples.add(i);
    }
    EXPECT_EQ(samples.median(), 50.5);
    EXPECT_EQ(samples.percentile(0.99), 99.0);
    EXPECT_EQ(samples.percentile(1.0), 100.0);
    EXPECT_DOUBLE_EQ(samples.totalSeconds(), 5.05);
    samples.add(1000);
    EXPECT_EQ(samples.median(), 51.0);
    FrameSamples one;
    one.add(7);
    EXPECT_EQ(one.percentile(0.99), 7.0);
    EXPECT_EQ(one.percentile(0.0), 7.0);
}

}  // namespace
