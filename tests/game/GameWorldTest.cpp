// What play puts on the screen, read back from whole frames: the world layer
// under every screen (floor, decals, player) and the HUD over play. Solid
// colour sprites stand in for the art so that every pixel is known.
#include "GameHarness.h"

#include <vector>

namespace {

const Rgba kYellow{255, 255, 0, 255};

class GameWorldTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        BeginRound();
    }
    // A decal of one colour, centred on world (x, y).
    void AddDecal(int32_t sprite, float x, float y, float w, float h) {
        Actor decal(game->sprites);
        decal.setAnimation(sprite, 1, 0.0f);
        decal.setRect(x, y, w, h);
        game->decals.push_back(decal);
    }
};

TEST_F(GameWorldTest, FloorTilesThenDecalsInTheirOrderThenThePlayer) {
    // A green tile with a blue line along each edge shows where tiles meet.
    std::vector<Rgba> tile(256 * 256, kGreen);
    for (int i = 0; i < 256; ++i) {
        tile[i] = tile[255 * 256 + i] = tile[i * 256] = tile[i * 256 + 255] = kBlue;
    }
    ASSERT_TRUE(WritePngRgba(work.File("tile.png"), 256, 256, tile));
    const int32_t red = SolidSprite(kRed);
    game->floorSprites[0] = red;
    game->floorSprites[1] = game->sprites->LoadSprite(work.File("tile.png").c_str());
    game->floorSprites[2] = SolidSprite(kWhite);
    game->floorChoice = 1;
    game->player->holdFrame(SolidSprite(kWhite));
    AddDecal(red, 0.0f, 150.0f, 64.0f, 64.0f);  // clear of the screens' band
    AddDecal(red, 0.0f, 0.0f, 64.0f, 64.0f);    // under the player
    AddDecal(red, 100.0f, 0.0f, 64.0f, 64.0f);
    AddDecal(SolidSprite(kYellow), 100.0f, 0.0f, 32.0f, 16.0f);
    Frame(0);
    // Tiles meet every 256 pixels across and down, their edge lines side by
    // side. The 32 x 32 player at world (0, 0) covers window (304, 224) to
    // (335, 255) over the decal under him; the 32 x 16 decal at (100, 0)
    // covers (404, 232) to (435, 247) over the one laid before it.
    ExpectPixels({{254, 100, kGreen},  {255, 100, kBlue},   {256, 100, kBlue},  {257, 100, kGreen},
                  {510, 100, kGreen},  {511, 100, kBlue},   {512, 100, kBlue},  {513, 100, kGreen},
                  {100, 255, kBlue},   {100, 256, kBlue},   {100, 257, kGreen}, {600, 400, kGreen},
                  {304, 224, kWhite},  {335, 255, kWhite},  {303, 240, kRed},   {320, 256, kRed},
                  {404, 232, kYellow}, {435, 247, kYellow}, {403, 240, kRed},   {436, 240, kRed},
                  {420, 231, kRed},    {420, 248, kRed}});

    // The decals and the player fade with the statistics screen into the next
    // round; the floor does not.
    Hold(SDLK_ESCAPE);
    Frame(0);
    Hold(SDLK_ESCAPE, false);
    Frame(2000);
    Hold(SDLK_SPACE);
    Frame(0);
    Frame(1000);
    Frame(0);
    ASSERT_EQ(game->state, StatisticsToPlay);
    ExpectPixels({{320, 390, Rgba{128, 128, 0, 255}}, {200, 390, kGreen}});
}

TEST_F(GameWorldTest, HudBarsTextsAndOverlay) {
    const int32_t black = SolidSprite(kBlack);
    for (int32_t& tile : game->floorSprites) {
        tile = black;
    }
    game->hudSprite = black;
    game->slowMoOverlaySprite = SolidSprite(kBlue);
    game->health = 37.9f;
    game->bodyCount = 42;
    Frame(500);
    // Health 37.9 asks for a fill 37 wide and a frame 39 wide; the sprite
    // store halves sizes in integers, so each odd width shows one pixel less.
    // Full energy is 100 pixels of white fill on its white frame.
    const Rgba fillOnFrame{191, 63, 63, 255};
    const Rgba frameOnly{127, 127, 127, 255};
    const Rgba whiteOnFrame{191, 191, 191, 255};
    ExpectPixels({{33, 27, fillOnFrame},
                  {68, 27, fillOnFrame},
                  {69, 27, frameOnly},
                  {70, 27, kBlack},
                  {32, 22, frameOnly},
                  {50, 21, kBlack},
                  {100, 27, kBlack},
                  {33, 44, whiteOnFrame},
                  {132, 44, whiteOnFrame},
                  {133, 44, frameOnly},
                  {600, 300, kBlack}});
    ExpectTexts("Body Count: 42", 7, 458, "Body Count: 42", 6, 459, "Time: 0.50", 630, 458,
                "Time: 0.50", 629, 459);
    EXPECT_EQ(font->drawn.at(0).alpha, 1.0f);
    game->hudSprite = SolidSprite(kWhite);
    Frame(0);
    ExpectPixels({{15, 65, frameOnly}, {138, 65, kBlack}});  // the panel at half strength
    game->hudSprite = black;

    // After the round the HUD fades; at health 0 only the slivers of the
    // health bar's shadow and frame are left.
    Hold(SDLK_ESCAPE);
    Frame(0);
    game->health = 0.0f;
    Frame(1000);
    const Rgba quarter{64, 64, 64, 255};
    ExpectPixels({{32, 27, quarter},
                  {33, 27, quarter},
                  {34, 27, kBlack},
                  {60, 44, Rgba{112, 112, 112, 255}}});
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
    // The slow-motion overlay does not fade.
    Press(SDL_BUTTON_RIGHT);
    Frame(0);
    EXPECT_TRUE(PixelIs(600, 300, kBlue));
}

}  // namespace
