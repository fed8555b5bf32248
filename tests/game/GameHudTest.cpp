// What play shows: the HUD bars, texts and overlay, and the world layer
// under it, read back as pixels.
#include "GameHarness.h"

#include "PngWriter.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

#include <vector>

namespace {

class GameHudTest : public GameHarness {
protected:
    void SetUp() override {
        GameHarness::SetUp();
        BeginRound();
        // A black floor and panel make every bar's colour exact.
        ASSERT_TRUE(WriteSolidPng(work.File("black.png"), 4, 4, Rgba{0, 0, 0, 255}));
        const int32_t black = game->sprites->LoadSprite(work.File("black.png").c_str());
        ASSERT_GE(black, 0);
        for (int i = 0; i < 3; ++i) {
            realFloor[i] = game->floorSprites[i];
            game->floorSprites[i] = black;
        }
        game->hudSprite = black;
    }
    // The frame driver's drawing of a play frame, without time passing and
    // read back before a swap could show it.
    void DrawPlayFrame() {
        glColor4f(1, 1, 1, 1);
        ClearScreen();
        game->frameTime = 0.0f;
        game->drawWorld();
        glColor4f(1, 1, 1, 1);
        game->playFrame();
    }
    int32_t realFloor[3];
};

const Rgba kFillOnFrame{191, 63, 63, 255};  // red at half over the white frame at half
const Rgba kFrameOnly{127, 127, 127, 255};
const Rgba kBlack{0, 0, 0, 255};

TEST_F(GameHudTest, HealthBarFillIsTheTruncatedHealthWide) {
    // Health 37.9 asks for a fill 37 wide and a frame 39 wide; the sprite
    // store halves sizes in integers, so each odd width shows one pixel less.
    game->health = 37.9f;
    DrawPlayFrame();
    EXPECT_TRUE(Near(ReadPixel(33, 27), kFillOnFrame, 4)) << Describe(ReadPixel(33, 27));
    EXPECT_TRUE(Near(ReadPixel(68, 27), kFillOnFrame, 4)) << Describe(ReadPixel(68, 27));
    EXPECT_TRUE(Near(ReadPixel(69, 27), kFrameOnly, 4)) << Describe(ReadPixel(69, 27));
    EXPECT_TRUE(Near(ReadPixel(70, 27), kBlack, 4)) << Describe(ReadPixel(70, 27));
    EXPECT_TRUE(Near(ReadPixel(32, 22), kFrameOnly, 4));
    EXPECT_TRUE(Near(ReadPixel(50, 21), kBlack, 4));
    game->health = 38.9f;  // even widths show in full
    DrawPlayFrame();
    EXPECT_TRUE(Near(ReadPixel(70, 27), kFillOnFrame, 4)) << Describe(ReadPixel(70, 27));
    EXPECT_TRUE(Near(ReadPixel(71, 27), kFrameOnly, 4)) << Describe(ReadPixel(71, 27));
}

TEST_F(GameHudTest, EmptyHealthLeavesOnlyTheFrameSliver) {
    game->health = 0.0f;
    game->state = PlayToStatistics;  // no death scene, only the bars
    DrawPlayFrame();
    EXPECT_TRUE(Near(ReadPixel(32, 27), kFrameOnly, 4)) << Describe(ReadPixel(32, 27));
    EXPECT_TRUE(Near(ReadPixel(33, 27), kFrameOnly, 4)) << Describe(ReadPixel(33, 27));
    EXPECT_TRUE(Near(ReadPixel(34, 27), kBlack, 4)) << Describe(ReadPixel(34, 27));
}

TEST_F(GameHudTest, FullEnergyBarIsAHundredPixelsOfBrighterWhite) {
    DrawPlayFrame();
    const Rgba doubled{191, 191, 191, 255};
    EXPECT_TRUE(Near(ReadPixel(33, 44), doubled, 4)) << Describe(ReadPixel(33, 44));
    EXPECT_TRUE(Near(ReadPixel(132, 44), doubled, 4)) << Describe(ReadPixel(132, 44));
    EXPECT_TRUE(Near(ReadPixel(133, 44), kFrameOnly, 4)) << Describe(ReadPixel(133, 44));
}

TEST_F(GameHudTest, BarsFadeWithTheEndedRound) {
    game->health = 100.0f;
    game->state = PlayToStatistics;
    game->fadeAlpha = 0.5f;
    DrawPlayFrame();
    // Frame white at a quarter, then red fill at a quarter over it.
    const Rgba faded{112, 48, 48, 255};
    EXPECT_TRUE(Near(ReadPixel(60, 27), faded, 5)) << Describe(ReadPixel(60, 27));
}

TEST_F(GameHudTest, SlowMotionOverlayTintsTheWholeScreenAtFullStrength) {
    for (int i = 0; i < 3; ++i) {
        game->floorSprites[i] = realFloor[i];
    }
    const auto sample = [&]() {
        std::vector<Rgba> points;
        for (int y = 100; y < 480; y += 60) {
            for (int x = 150; x < 640; x += 70) {
                points.push_back(ReadPixel(x, y));
            }
        }
        return points;
    };
    DrawPlayFrame();
    const std::vector<Rgba> plain = sample();
    game->slowMo = true;
    game->state = PlayToStatistics;  // the rest of the HUD fades, the overlay does not
    game->fadeAlpha = 0.1f;
    DrawPlayFrame();
    const std::vector<Rgba> tinted = sample();
    int changed = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        changed += !Near(plain[i], tinted[i], 6);
    }
    EXPECT_GT(changed, static_cast<int>(plain.size()) / 2);
}

TEST_F(GameHudTest, BodyCountAndRoundTimeStandInTheBottomCorners) {
    game->bodyCount = 42;
    game->roundTime = 12.5f;
    DrawPlayFrame();
    const auto brightIn = [](int left, int top, int right, int bottom) {
        int bright = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const Rgba p = ReadPixel(x, y);
                bright += p.r > 200 && p.g > 200 && p.b > 200;
            }
        }
        return bright;
    };
    EXPECT_GT(brightIn(7, 458, 120, 478), 40);
    EXPECT_GT(brightIn(540, 458, 630, 478), 30);
    EXPECT_EQ(brightIn(631, 440, 640, 480), 0);  // right-aligned: nothing past x
    EXPECT_EQ(brightIn(200, 440, 440, 480), 0);
}

TEST_F(GameHudTest, PlayerStandsCentredOnTheScreen) {
    // The walking soldier's sprite is centred on world (0, 0), window (320, 240).
    DrawPlayFrame();
    int lit = 0;
    for (int y = 224; y < 256; ++y) {
        for (int x = 304; x < 336; ++x) {
            const Rgba p = ReadPixel(x, y);
            lit += p.r + p.g + p.b > 60;
        }
    }
    EXPECT_GT(lit, 100);
    for (int y = 200; y < 280; ++y) {
        EXPECT_TRUE(Near(ReadPixel(300, y), kBlack, 4));
        EXPECT_TRUE(Near(ReadPixel(340, y), kBlack, 4));
    }
}

}  // namespace
