// The title, statistics and credits screens through whole frames: what they
// write (recorded by the font) and draw (read back, with solid colour sprites
// standing in for the art), and the credits roll's clock.
#include "GameHarness.h"

#include <limits>

namespace {

const Rgba kGrey{128, 128, 128, 255};

class ScreensTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        floor = SolidSprite(kBlack);
        for (int32_t& tile : game->floorSprites) {
            tile = floor;
        }
        game->player->setX(5000.0f);  // off the screen
    }
    void ShowStatistics(int32_t kills, int32_t shots, float time, float distance, float damage) {
        game->resetRound();
        game->player->setX(5000.0f);
        game->state = Statistics;
        game->bodyCount = kills;
        game->shotsFired = shots;
        game->roundTime = time;
        game->distanceRan = distance;
        game->damageDealt = damage;
        Frame(0);
    }
    int RedPixels(int left, int top, int width, int height) {
        return CanvasArea(left, top, width, height).Count([](Rgba p) {
            return p.r > 200 && p.g < 60;
        });
    }
    int32_t floor = -1;
};

TEST_F(ScreensTest, TitleShowsHeadingEchoesBandControlsAndPrompts) {
    game->titleSprites[0] = SolidSprite(kRed);
    game->titleSprites[1] = SolidSprite(kWhite);
    game->titleSprites[2] = SolidSprite(kGreen);
    // Each pair of echoes is drawn, then drifts 25 pixels a second each way
    // and fades by 0.5 a second; the second pair wakes when the first is down
    // to 0.5 and is drawn from the next frame on, at its home x, 192.
    Frame(250);
    Frame(250);
    Frame(250);
    Frame(0);
    // The heading at (192, 10), 256 x 64, with the subtitle over its foot;
    // the band's white lines, two pixels high, at rows 190 and 290.
    const Rgba first{96, 96, 96, 255};    // white at 0.375
    const Rgba both{195, 195, 195, 255};  // white at 0.625 over that
    ExpectPixels({{172, 40, kBlack}, {173, 40, first},  {184, 40, first},  {185, 40, both},
                  {453, 40, both},   {454, 40, first},  {465, 40, first},  {466, 40, kBlack},
                  {192, 10, kRed},   {447, 63, kRed},   {192, 64, kGreen}, {447, 79, kGreen},
                  {300, 80, kBlack}, {10, 189, kBlack}, {10, 190, kWhite}, {10, 191, kWhite},
                  {10, 192, kBlack}, {10, 289, kBlack}, {10, 290, kWhite}, {10, 291, kWhite},
                  {10, 292, kBlack}});
    EXPECT_GT(CanvasArea(232, 440, 180, 16).Count(kWhite, 20), 30);
    EXPECT_GT(RedPixels(261, 458, 140, 16), 30);
    ExpectTexts("Press SPACEBAR to begin", 232, 440, "Press SPACEBAR to begin", 233, 441,
                "Press ESC to quit", 261, 458, "Press ESC to quit", 262, 459);
    // The controls: all eight shadows first, then the texts, in this order.
    const DrawnText controls[] = {{"WASD", 247, 200, 1},         {"- Move", 340, 200, 1},
                                  {"Mouse", 247, 220, 1},        {"- Aim", 340, 220, 1},
                                  {"Left Button", 247, 240, 1},  {"- Fire", 340, 240, 1},
                                  {"Right Button", 247, 260, 1}, {"- Slow Motion", 340, 260, 1}};
    ASSERT_EQ(font->drawn.size(), 20u);
    for (int i = 0; i < 8; ++i) {
        const DrawnText& shadow = font->drawn[4 + i];
        const DrawnText& text = font->drawn[12 + i];
        EXPECT_EQ(shadow.text, controls[i].text);
        EXPECT_EQ(shadow.x, controls[i].x + 1);
        EXPECT_EQ(shadow.y, controls[i].y + 1);
        EXPECT_EQ(text.text, controls[i].text);
        EXPECT_EQ(text.x, controls[i].x);
        EXPECT_EQ(text.y, controls[i].y);
    }

    // On a grey floor the band darkens by 0.3; in a fade the whole screen
    // carries the fade's alpha.
    const int32_t grey = SolidSprite(kGrey);
    for (int32_t& tile : game->floorSprites) {
        tile = grey;
    }
    Frame(0);
    ExpectPixels({{10, 189, kGrey}, {10, 200, Rgba{90, 90, 90, 255}}});
    Hold(SDLK_SPACE);
    Frame(0);
    Frame(1000);
    ExpectPixels({{10, 200, Rgba{109, 109, 109, 255}}, {10, 190, Rgba{182, 182, 182, 255}}});
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
}

TEST_F(ScreensTest, StatisticsSumUpTheRoundInEightFigures) {
    game->gameOverSprites[0] = SolidSprite(kWhite);
    ShowStatistics(5, 20, 12.0f, 987.9f, 99.99f);
    ExpectPixels({{64, 10, kRed}, {575, 73, kRed}});  // the heading, tinted red
    ExpectTexts("Corpse Count: 5", 170, 200, "Corpse Count: 5", 171, 201, "Shots Fired: 20", 170,
                220, "Accuracy: 25.0%", 170, 240, "Total Time: 12.00s", 170, 260,
                "Distance Ran: 987px", 340, 200, "Damage Dealt: 99hp", 340, 220,
                "Avg Kills/sec: 0.42", 340, 240, "Avg Dmg/sec: 8.33hp", 340, 260,
                "Press SPACEBAR to retry", 232, 440, "Press ESC to quit", 261, 458);
    // Accuracy is kills per shot, 0 without a shot.
    ShowStatistics(3, 2, 12.0f, 0.0f, 300.0f);
    ExpectTexts("Accuracy: 150.0%", 170, 240, "Avg Kills/sec: 0.25", 340, 240);
    ShowStatistics(0, 0, 5.0f, 0.0f, 0.0f);
    ExpectTexts("Accuracy: 0.0%", 170, 240);
    // No time, no rates; a figure beyond the int32 range stops at its end,
    // and NaN shows as 0.
    ShowStatistics(2, 2, 0.0f, 1.0e10f, std::numeric_limits<float>::quiet_NaN());
    ExpectTexts("Avg Kills/sec: 0.00", 340, 240, "Avg Dmg/sec: 0.00hp", 340, 260,
                "Distance Ran: 2147483647px", 340, 200, "Damage Dealt: 0hp", 340, 220);
}

TEST_F(ScreensTest, CreditsRollSeventeenPagesThenEndTheProgram) {
    Hold(SDLK_ESCAPE);
    Frame(10);
    Hold(SDLK_ESCAPE, false);
    Frame(2000);
    ASSERT_EQ(game->state, Credits);
    // Page 1 starts at full strength, its clock at 1 and rising; the clock
    // turns at 2, falls from 2.5 and, at 0, brings the next page at alpha 0.
    for (int frame = 1; frame <= 6; ++frame) {
        EXPECT_FALSE(Frame(500));
        ExpectTexts("Programming and Graphics by", 215, 210);
    }
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
    ExpectTexts("...and lots of Pepsi...", 247, 250);
    EXPECT_FALSE(Frame(500));
    ExpectTexts("Built using Cindermill by", 212, 210);
    EXPECT_EQ(font->drawn.at(0).alpha, 0.0f);
    // Frames longer than the clock: one page turns in two frames, never more.
    for (int frame = 1; frame <= 32; ++frame) {
        EXPECT_EQ(Frame(4500), frame == 32) << frame;
        const int page = 2 + frame / 2;
        if (page == 8 && frame % 2 == 1) {
            ExpectTexts("...or else...", 281, 250);
            EXPECT_GT(RedPixels(281, 250, 80, 16), 10);
        } else if (page == 10 || page == 17) {
            EXPECT_EQ(font->drawn.size(), 2u) << page;  // only the ESC prompt
        } else if (page == 16) {
            ExpectTexts("on the                text in the HUD", 213, 250, "STATUS", 264, 251,
                        "STATUS", 265, 252);
        }
    }
    ExpectTexts("Press ESC to quit", 261, 458);
}

}  // namespace
