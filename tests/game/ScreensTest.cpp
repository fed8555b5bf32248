// The title, statistics and credits screens through whole frames: what they
// write (recorded by the font) and draw (read back, with solid colour sprites
// standing in for the art), and the credits roll's clock.
#include "GameHarness.h"

namespace {

class ScreensTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        LayFloor(kBlack);
    }
    void ShowStatistics(int32_t kills, int32_t shots, float time, float distance, float damage) {
        game->resetRound();
        game->state = Statistics;
        game->bodyCount = kills;
        game->shotsFired = shots;
        game->roundTime = time;
        game->distanceRan = distance;
        game->damageDealt = damage;
        Frame(0);
    }
};

TEST_F(ScreensTest, TitleShowsHeadingEchoesBandControlsAndPrompts) {
    game->titleSprites[0] = SolidSprite(kRed);
    game->titleSprites[1] = SolidSprite(kWhite);
    game->titleSprites[2] = SolidSprite(kGreen);
    // Each pair of echoes is drawn, then drifts 25 pixels a second each way
    // and fades by 0.5 a second; the second pair wakes when the first is down
    // to 0.5 and is drawn from the next frame on, at its home x, 192.
    for (uint32_t ms : {250, 250, 250, 0}) {
        Frame(ms);
    }
    // The heading at (192, 10), 256 x 64, with the subtitle over its foot;
    // the band's white lines, two pixels high, at rows 190 and 290.
    const Rgba first{96, 96, 96, 255};    // white at 0.375
    const Rgba both{195, 195, 195, 255};  // white at 0.625 over that
    EXPECT_TRUE(Pixels(172, 40, kBlack, 173, 40, first, 184, 40, first, 185, 40, both, 453, 40,
                       both, 454, 40, first, 465, 40, first, 466, 40, kBlack, 192, 10, kRed, 447,
                       63, kRed, 192, 64, kGreen, 447, 79, kGreen, 300, 80, kBlack, 10, 189, kBlack,
                       10, 190, kWhite, 10, 191, kWhite, 10, 192, kBlack, 10, 289, kBlack, 10, 290,
                       kWhite, 10, 291, kWhite, 10, 292, kBlack));
    EXPECT_GT(ReadCanvas(261, 458, 140, 16).Count(kRed, 60), 30);
    EXPECT_TRUE(Wrote("Press SPACEBAR to begin", 232, 440, "Press SPACEBAR to begin", 233, 441,
                      "Press ESC to quit", 261, 458, "Press ESC to quit", 262, 459));
    EXPECT_TRUE(Wrote("WASD", 247, 200, "- Move", 340, 200, "Mouse", 247, 220, "- Aim", 340, 220,
                      "Left Button", 247, 240, "- Fire", 340, 240, "Right Button", 247, 260,
                      "- Slow Motion", 340, 260, "- Slow Motion", 341, 261));

    // On a grey floor the band darkens by 0.3; in a fade the whole screen
    // carries the fade's alpha.
    LayFloor(Rgba{128, 128, 128, 255});
    Frame(0);
    EXPECT_TRUE(Pixels(10, 189, Rgba{128, 128, 128, 255}, 10, 200, Rgba{90, 90, 90, 255}));
    Tap(SDLK_SPACE, 0);
    Frame(1000);
    EXPECT_TRUE(Pixels(10, 200, Rgba{109, 109, 109, 255}, 10, 190, Rgba{182, 182, 182, 255}));
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
}

// The third pair wakes when the second is down to 0.25, after 1.5 seconds,
// and is first drawn at home in the next frame, as is the first, faded out
// in that same frame; a frame later both stand 6 pixels out at 0.625, over
// the second at 0.125. Over a white floor the prompts' shadows are black.
TEST_F(ScreensTest, TheEchoPairsWakeInTurnAndTheShadowsAreBlack) {
    game->titleSprites[0] = SolidSprite(kRed);
    game->titleSprites[1] = SolidSprite(kWhite);
    for (uint32_t ms : {250, 250, 250, 250, 250, 250, 250, 0}) {
        Frame(ms);
    }
    EXPECT_TRUE(Pixels(159, 40, kBlack, 160, 40, Rgba{32, 32, 32, 255}, 184, 40,
                       Rgba{32, 32, 32, 255}, 185, 40, Rgba{224, 224, 224, 255}));
    LayFloor(kWhite);
    Frame(0);
    EXPECT_GT(ReadCanvas(233, 441, 170, 14).Count(kBlack), 25);
}

TEST_F(ScreensTest, StatisticsSumUpTheRoundInEightFigures) {
    game->gameOverSprites[0] = SolidSprite(kWhite);
    ShowStatistics(5, 20, 12.0f, 987.9f, 99.99f);
    EXPECT_TRUE(Pixels(64, 10, kRed, 575, 73, kRed));  // the heading, tinted red
    EXPECT_TRUE(Wrote("Corpse Count: 5", 170, 200, "Corpse Count: 5", 171, 201, "Shots Fired: 20",
                      170, 220, "Accuracy: 25.0%", 170, 240, "Total Time: 12.00s", 170, 260,
                      "Distance Ran: 987px", 340, 200, "Damage Dealt: 99hp", 340, 220,
                      "Avg Kills/sec: 0.42", 340, 240, "Avg Dmg/sec: 8.33hp", 340, 260,
                      "Press SPACEBAR to retry", 232, 440, "Press ESC to quit", 261, 458));
    // Accuracy is kills per shot, 0 without a shot.
    ShowStatistics(3, 2, 12.0f, 0.0f, 300.0f);
    EXPECT_TRUE(Wrote("Accuracy: 150.0%", 170, 240, "Avg Kills/sec: 0.25", 340, 240));
    ShowStatistics(0, 0, 5.0f, 0.0f, 0.0f);
    EXPECT_TRUE(Wrote("Accuracy: 0.0%", 170, 240));
}

TEST_F(ScreensTest, CreditsRollSeventeenPagesThenEndTheProgram) {
    Tap(SDLK_ESCAPE, 10);
    Frame(2000);
    // Page 1 starts at full strength, its clock at 1 and rising; the clock
    // turns at 2, falls from 2.5 and, at 0, brings the next page at alpha 0.
    for (int frame = 1; frame <= 6; ++frame) {
        EXPECT_FALSE(Frame(500));
        EXPECT_TRUE(Wrote("Programming and Graphics by", 215, 210));
    }
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
    EXPECT_TRUE(Wrote("...and lots of Pepsi...", 247, 250));
    EXPECT_FALSE(Frame(500));
    EXPECT_TRUE(Wrote("Built using Cindermill by", 212, 210));
    EXPECT_EQ(font->drawn.at(0).alpha, 0.0f);
    // Frames longer than the clock: one page turns in two frames, never more.
    for (int frame = 1; frame <= 32; ++frame) {
        EXPECT_EQ(Frame(4500), frame == 32) << frame;
        const int page = 2 + frame / 2;
        if (page == 8 && frame % 2 == 1) {
            EXPECT_TRUE(Wrote("...or else...", 281, 250));
            EXPECT_GT(ReadCanvas(281, 250, 80, 16).Count(kRed, 60), 10);
        } else if (page == 10 || page == 17) {
            EXPECT_EQ(font->drawn.size(), 2u) << page;  // only the ESC prompt
        } else if (page == 16) {
            EXPECT_TRUE(Wrote("on the                text in the HUD", 213, 250, "STATUS", 264, 251,
                              "STATUS", 265, 252));
        }
    }
}

}  // namespace
