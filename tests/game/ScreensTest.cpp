// The title, statistics and credits screens: keys against states, the logo
// echoes, the texts each screen draws (recorded through the font's virtual
// DrawText) and what the band and prompts put on the screen.
#include "GameHarness.h"

#include "OruBitmapFont.h"
#include "PngWriter.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

#include <limits>
#include <string>
#include <vector>

namespace {

struct DrawnText {
    std::string text;
    int32_t x, y;
    float alpha;
};

// The real font, drawing as usual, that also keeps what it was asked to draw.
class RecordingFont : public OruBitmapFont {
public:
    RecordingFont() : OruBitmapFont("sprites/font.png", "sprites/font.fnt") {}
    using OruBitmapFont::DrawText;
    void DrawText(const char* text, int32_t x, int32_t y, float alpha) override {
        drawn.push_back(DrawnText{text, x, y, alpha});
        OruBitmapFont::DrawText(text, x, y, alpha);
    }
    bool Has(const std::string& text, int32_t x, int32_t y) const {
        for (const DrawnText& d : drawn) {
            if (d.text == text && d.x == x && d.y == y) {
                return true;
            }
        }
        return false;
    }
    std::vector<DrawnText> drawn;
};

class ScreensTest : public GameHarness {
protected:
    void SetUp() override {
        GameHarness::SetUp();
        OutputCapture quiet;
        delete game->font;
        recorder = new RecordingFont();
        game->font = recorder;
    }
    enum Screen { Title, Stats, Roll };
    // Draws one screen frame as the frame driver would, without a swap.
    void DrawScreen(Screen screen, float frameTime) {
        recorder->drawn.clear();
        glColor4f(1, 1, 1, 1);
        ClearScreen();
        game->frameTime = frameTime;
        game->drawWorld();
        glColor4f(1, 1, 1, 1);
        switch (screen) {
            case Title:
                game->titleFrame();
                break;
            case Stats:
                game->statisticsFrame();
                break;
            case Roll:
                game->creditsFrame();
                break;
        }
    }
    void UseBlackFloor() {
        ASSERT_TRUE(WriteSolidPng(work.File("black.png"), 4, 4, Rgba{0, 0, 0, 255}));
        const int32_t black = game->sprites->LoadSprite(work.File("black.png").c_str());
        for (int32_t& tile : game->floorSprites) {
            tile = black;
        }
        game->player->setX(5000.0f);  // off the screen
    }
    void ShowStatistics(int32_t kills, int32_t shots, float time, float distance, float damage) {
        game->resetRound();
        game->bodyCount = kills;
        game->shotsFired = shots;
        game->roundTime = time;
        game->distanceRan = distance;
        game->damageDealt = damage;
        game->state = Statistics;
        DrawScreen(Stats, 0.016f);
    }
    RecordingFont* recorder = nullptr;
};

TEST_F(ScreensTest, TitleDrawsTheControlsShadowsFirstAndThePrompts) {
    DrawScreen(Title, 0.016f);
    EXPECT_TRUE(recorder->Has("Press SPACEBAR to begin", 232, 440));
    EXPECT_TRUE(recorder->Has("Press SPACEBAR to begin", 233, 441));
    EXPECT_TRUE(recorder->Has("Press ESC to quit", 261, 458));
    EXPECT_TRUE(recorder->Has("WASD", 247, 200));
    EXPECT_TRUE(recorder->Has("- Slow Motion", 340, 260));
    EXPECT_TRUE(recorder->Has("Right Button", 248, 261));
    ASSERT_EQ(recorder->drawn.size(), 4u + 16u);
    // The eight shadows come before the eight white texts.
    EXPECT_EQ(recorder->drawn[4].text, "WASD");
    EXPECT_EQ(recorder->drawn[4].x, 248);
    EXPECT_EQ(recorder->drawn[12].text, "WASD");
    EXPECT_EQ(recorder->drawn[12].x, 247);
}

TEST_F(ScreensTest, StatisticsFiguresForTheStatedCases) {
    ShowStatistics(5, 20, 12.0f, 987.9f, 99.99f);
    EXPECT_TRUE(recorder->Has("Corpse Count: 5", 170, 200));
    EXPECT_TRUE(recorder->Has("Corpse Count: 5", 171, 201));
    EXPECT_TRUE(recorder->Has("Shots Fired: 20", 170, 220));
    EXPECT_TRUE(recorder->Has("Accuracy: 25.0%", 170, 240));
    EXPECT_TRUE(recorder->Has("Total Time: 12.00s", 170, 260));
    EXPECT_TRUE(recorder->Has("Distance Ran: 987px", 340, 200));
    EXPECT_TRUE(recorder->Has("Damage Dealt: 99hp", 340, 220));
    EXPECT_TRUE(recorder->Has("Avg Kills/sec: 0.42", 340, 240));
    EXPECT_TRUE(recorder->Has("Avg Dmg/sec: 8.33hp", 340, 260));
    EXPECT_TRUE(recorder->Has("Press SPACEBAR to retry", 232, 440));

    ShowStatistics(0, 0, 5.0f, 0.0f, 0.0f);
    EXPECT_TRUE(recorder->Has("Accuracy: 0.0%", 170, 240));
    ShowStatistics(3, 2, 12.0f, 0.0f, 300.0f);
    EXPECT_TRUE(recorder->Has("Accuracy: 150.0%", 170, 240));
    EXPECT_TRUE(recorder->Has("Avg Kills/sec: 0.25", 340, 240));
}

TEST_F(ScreensTest, ARoundOfNoTimeShowsZeroRatesNotInfinity) {
    ShowStatistics(2, 2, 0.0f, 0.0f, 200.0f);
    EXPECT_TRUE(recorder->Has("Avg Kills/sec: 0.00", 340, 240));
    EXPECT_TRUE(recorder->Has("Avg Dmg/sec: 0.00hp", 340, 260));
    EXPECT_TRUE(recorder->Has("Total Time: 0.00s", 170, 260));
}

// The distance and the damage are whole numbers on the screen: beyond the
// int32 range they stop at its ends, and NaN shows as 0.
TEST_F(ScreensTest, WholeFiguresStopAtTheIntegerRangeAndShowNanAsZero) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    ShowStatistics(0, 0, 5.0f, 1.0e10f, nan);
    EXPECT_TRUE(recorder->Has("Distance Ran: 2147483647px", 340, 200));
    EXPECT_TRUE(recorder->Has("Damage Dealt: 0hp", 340, 220));
    ShowStatistics(0, 0, 5.0f, infinity, -infinity);
    EXPECT_TRUE(recorder->Has("Distance Ran: 2147483647px", 340, 200));
    EXPECT_TRUE(recorder->Has("Damage Dealt: -2147483648hp", 340, 220));
    // The largest floats inside the range still show as they are.
    ShowStatistics(0, 0, 5.0f, 2147483520.0f, -2147483648.0f);
    EXPECT_TRUE(recorder->Has("Distance Ran: 2147483520px", 340, 200));
    EXPECT_TRUE(recorder->Has("Damage Dealt: -2147483648hp", 340, 220));
}

TEST_F(ScreensTest, StatisticsKeysSteerTheFadeWithoutRestartingIt) {
    game->resetRound();
    game->state = Statistics;
    Hold(SDLK_SPACE);
    Hold(SDLK_ESCAPE);
    Frame(10);
    EXPECT_EQ(game->state, StatisticsToCredits);
    Release(SDLK_ESCAPE);
    Frame(1000);
    const float alpha = game->fadeAlpha;
    EXPECT_EQ(game->state, StatisticsToPlay);  // SPACE still held turns it back
    Release(SDLK_SPACE);
    Frame(0);
    EXPECT_EQ(game->fadeAlpha, alpha);
}

TEST_F(ScreensTest, EchoesStartAtHomeAndMoveAfterDrawing) {
    DrawScreen(Title, 0.2f);
    const EchoPair& first = game->titleEchoes.pair(0);
    EXPECT_FLOAT_EQ(first.leftX, 192.0f - 5.0f);
    EXPECT_FLOAT_EQ(first.rightX, 192.0f + 5.0f);
    EXPECT_FLOAT_EQ(first.alpha, 0.75f - 0.1f);
    EXPECT_FALSE(game->titleEchoes.pair(1).active);
    // Each screen keeps its own echoes.
    EXPECT_FALSE(game->statisticsEchoes.isStarted());
}

TEST_F(ScreensTest, ALongFrameResetsPairOneAndWakesPairTwoTogether) {
    DrawScreen(Title, 1.5f);
    const EchoPair& first = game->titleEchoes.pair(0);
    EXPECT_EQ(first.alpha, 0.75f);
    EXPECT_EQ(first.leftX, 192.0f);
    EXPECT_EQ(first.rightX, 192.0f);
    EXPECT_TRUE(game->titleEchoes.pair(1).active);
    EXPECT_FALSE(game->titleEchoes.pair(2).active);
    EXPECT_EQ(game->titleEchoes.pair(1).alpha, 0.75f);  // first drawn next frame
}

TEST_F(ScreensTest, StatisticsEchoesUseTheirOwnHome) {
    game->resetRound();
    DrawScreen(Stats, 0.0f);
    EXPECT_EQ(game->statisticsEchoes.pair(0).leftX, 64.0f);
}

TEST_F(ScreensTest, BandAndPromptsCarryTheFade) {
    UseBlackFloor();
    DrawScreen(Title, 0.0f);
    EXPECT_TRUE(Near(ReadPixel(10, 190), Rgba{255, 255, 255, 255}, 3));
    EXPECT_TRUE(Near(ReadPixel(10, 291), Rgba{255, 255, 255, 255}, 3));
    EXPECT_TRUE(Near(ReadPixel(10, 192), Rgba{0, 0, 0, 255}, 3));
    EXPECT_TRUE(Near(ReadPixel(10, 292), Rgba{0, 0, 0, 255}, 3));
    const auto reddest = [](int left, int top, int right, int bottom) {
        int best = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const Rgba p = ReadPixel(x, y);
                if (p.g < 40 && p.r > best) {
                    best = p.r;
                }
            }
        }
        return best;
    };
    EXPECT_GT(reddest(261, 458, 400, 476), 230);

    game->fadeAlpha = 0.5f;
    DrawScreen(Title, 0.0f);
    EXPECT_TRUE(Near(ReadPixel(10, 190), Rgba{128, 128, 128, 255}, 3))
        << Describe(ReadPixel(10, 190));
    const int halfRed = reddest(261, 458, 400, 476);
    EXPECT_GT(halfRed, 110);
    EXPECT_LT(halfRed, 145);
}

class CreditsTest : public ScreensTest {
protected:
    void SetUp() override {
        ScreensTest::SetUp();
        game->state = Credits;
        game->fadeAlpha = 1.0f;
    }
    // Runs frames of ms until the roll ends; returns the number of frames.
    int RunToTheEnd(uint32_t ms) {
        int frames = 0;
        while (!Frame(ms) && frames < 100000) {
            ++frames;
        }
        return frames + 1;
    }
};

TEST_F(CreditsTest, TheRollEndsAfterSeventyFiveAndAHalfSeconds) {
    // 250 ms steps are exact in binary: page 1 lasts 14, every later page 18.
    for (int i = 0; i < 13; ++i) {
        ASSERT_FALSE(Frame(250));
        ASSERT_EQ(game->creditsPage, 1);
    }
    ASSERT_FALSE(Frame(250));
    EXPECT_EQ(game->creditsPage, 2);
    EXPECT_EQ(game->pageTimer, 0.0f);
    EXPECT_EQ(RunToTheEnd(250), 16 * 18);
    EXPECT_EQ(game->creditsPage, 18);
}

TEST_F(CreditsTest, ALongRisingFrameJumpsToTheFallAndNoPageIsSkipped) {
    Frame(2100);
    EXPECT_FALSE(game->pageRising);
    EXPECT_EQ(game->pageTimer, 2.5f);
    Frame(60000);
    EXPECT_EQ(game->creditsPage, 2);
    EXPECT_TRUE(game->pageRising);
}

TEST_F(CreditsTest, EscHeldAtEntryEndsAtOnce) {
    Hold(SDLK_ESCAPE);
    EXPECT_TRUE(Frame(16));
}

TEST_F(CreditsTest, PagesDrawTheirLinesWithTheClockAsAlpha) {
    DrawScreen(Roll, 0.0f);
    EXPECT_TRUE(recorder->Has("Programming and Graphics by", 215, 210));
    EXPECT_TRUE(recorder->Has("...and lots of Pepsi...", 247, 250));
    EXPECT_EQ(recorder->drawn[0].alpha, 1.0f);
    game->creditsPage = 16;
    game->pageTimer = 0.5f;
    DrawScreen(Roll, 0.0f);
    EXPECT_TRUE(recorder->Has("STATUS", 264, 251));
    EXPECT_TRUE(recorder->Has("STATUS", 265, 252));
    EXPECT_TRUE(recorder->Has("on the                text in the HUD", 213, 250));
    EXPECT_EQ(recorder->drawn[0].alpha, 0.5f);
    game->creditsPage = 10;
    DrawScreen(Roll, 0.0f);
    ASSERT_EQ(recorder->drawn.size(), 2u);  // only the ESC prompt
    EXPECT_EQ(recorder->drawn[1].text, "Press ESC to quit");
}

TEST_F(CreditsTest, OrElseIsRedButItsShadowIsBlack) {
    UseBlackFloor();
    game->creditsPage = 8;
    game->pageTimer = 2.0f;
    DrawScreen(Roll, 0.0f);
    EXPECT_TRUE(recorder->Has("...or else...", 281, 250));
    int red = 0;
    for (int y = 250; y < 268; ++y) {
        for (int x = 281; x < 360; ++x) {
            const Rgba p = ReadPixel(x, y);
            red += p.r > 150 && p.g < 60;
        }
    }
    EXPECT_GT(red, 10);
}

}  // namespace
