// A real Game played in-process through the benchmark's GameDriver: the
// generated assets, the game's window under Xvfb, a stepped clock, held keys
// and pushed SDL events. The font records what it is asked to write, and the
// sample fields can be pointed past the bank so that each sound played is
// named in a log line.
#ifndef ZIBO_TESTS_GAME_HARNESS_H
#define ZIBO_TESTS_GAME_HARNESS_H

#include "Game.h"
#include "GameDriver.h"
#include "GameState.h"
#include "OruBitmapFont.h"
#include "OutputCapture.h"
#include "SpriteManager.h"
#include "TestWindow.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct DrawnText {
    std::string text;
    int32_t x, y;
    float alpha;
};

// The game's font, drawing as usual, that also keeps what it was asked to write.
class RecordingFont : public OruBitmapFont {
public:
    RecordingFont() : OruBitmapFont("sprites/font.png", "sprites/font.fnt") {}
    using OruBitmapFont::DrawFormattedRight;
    using OruBitmapFont::DrawText;
    void DrawText(const char* text, int32_t x, int32_t y, float alpha) override {
        drawn.push_back({text, x, y, alpha});
        OruBitmapFont::DrawText(text, x, y, alpha);
    }
    void DrawFormattedRight(int32_t x, int32_t y, float alpha, const char* format, ...) override {
        char text[kFormatBufferSize];
        va_list arguments;
        va_start(arguments, format);
        vsnprintf(text, sizeof(text), format, arguments);
        va_end(arguments);
        drawn.push_back({text, x, y, alpha});
        OruBitmapFont::DrawFormattedRight(x, y, alpha, "%s", text);
    }
    std::vector<DrawnText> drawn;
};

// EXPECT_TRUE(Values(found, expected, found, expected, ...)): each value
// found next to the one the rules give it; a failure names the first pair
// that differs.
template <typename... T>
::testing::AssertionResult Values(T... values) {
    const double v[] = {static_cast<double>(values)...};
    for (size_t i = 0; i + 1 < sizeof...(T); i += 2) {
        if (!(std::fabs(v[i] - v[i + 1]) <= 1e-5)) {
            return ::testing::AssertionFailure()
                   << "pair " << i / 2 << " is " << v[i] << ", not " << v[i + 1];
        }
    }
    return ::testing::AssertionSuccess();
}
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool windowOpen = GameDriver::OpenWindow();
        ASSERT_TRUE(windowOpen);
        // The generated "sprites" and "sfx" are there.
        ASSERT_EQ(chdir(ZIBO_BUILD_DIR), 0);
        glReadBuffer(GL_BACK);
        OutputCapture quiet;
        // Early in the program's life: the first enemy of a round then comes
        // only after some 35 seconds, so rounds stay empty unless a test
        // spawns.
        driver.reset(new GameDriver(1000));
        game = &driver->game();
        delete game->font;
        game->font = font = new RecordingFont();
    }

    // As the program ends: everything the game owns is released but the
    // sound bank and the music player, which live on with the mixer.
    void TearDown() override {
        game->shutDown();
        EXPECT_TRUE(!game->font && !game->player && !game->camera && !game->sprites &&
                    game->sounds && game->music && game->enemies.capacity() == 0 &&
                    game->decals.capacity() == 0);
    }

    // One frame as the game runs it (its screenshot reads the picture being
    // drawn); the test then reads the picture that the window shows.
    bool Frame(uint32_t ms) {
        font->drawn.clear();
        glReadBuffer(GL_BACK);
        const bool quit = driver->frame(ms);
        glReadBuffer(GL_FRONT);
        return quit;
    }
    static void Hold(std::initializer_list<SDLKey> keys, bool down = true) {
        for (SDLKey key : keys) {
            GameDriver::holdKey(key, down);
        }
    }
    static void Press(Uint8 button, int x = 400, int y = 300) {
        GameDriver::pushButton(button, true, x, y);
    }
    // A key held for one frame of ms.
    void Tap(SDLKey key, uint32_t ms) {
        Hold({key});
        Frame(ms);
        Hold({key}, false);
    }
    // From the title screen into a fresh round, through the real fade.
    void BeginRound() {
        Tap(SDLK_SPACE, 10);
        Frame(2000);
        ASSERT_EQ(game->state, Playing);
    }
    // An enemy of the game's own making, placed at (x, y).
    Enemy& AddEnemy(float x, float y) {
        game->spawnEnemy();
        game->enemies.back().setX(x);
        game->enemies.back().setY(y);
        return game->enemies.back();
    }
    // A 4 x 4 sprite of one colour in the game's store.
    int32_t SolidSprite(Rgba colour) {
        const std::string path =
            work.File(std::to_string(game->sprites->GetSpriteCount()) + ".png");
        EXPECT_TRUE(WriteSolidPng(path, 4, 4, colour));
        return game->sprites->LoadSprite(path.c_str());
    }
    // Every floor tile one colour.
    void LayFloor(Rgba colour) {
        const int32_t tile = SolidSprite(colour);
        std::fill(game->floorSprites, game->floorSprites + 3, tile);
    }
    // Seeds rand() with the first seed whose next results pass the test and
    // gives those results: the test then knows every random choice to come.
    using Draws = std::vector<int>;
    static Draws SeedRandWhere(const std::function<bool(const Draws&)>& fits = nullptr) {
        Draws r(12);
        for (unsigned seed = 1;; ++seed) {
            srand(seed);
            std::generate(r.begin(), r.end(), rand);
            if (!fits || fits(r)) {
                srand(seed);
                return r;
            }
        }
    }
    // Sample numbers past the bank make PlaySample name each: the man's cries
    // 100 to 102 and slowed 103 to 105, shots 106 and 107 and slowed 108 and
    // 109, the cat 110 and slowed 111.
    void NameTheSounds() {
        int32_t sample = 100;
        for (int32_t* field :
             {&game->manSounds[0], &game->manSounds[1], &game->manSounds[2],
              &game->manSlowSounds[0], &game->manSlowSounds[1], &game->manSlowSounds[2],
              &game->shotSounds[0], &game->shotSounds[1], &game->shotSlowSounds[0],
              &game->shotSlowSounds[1], &game->catSound, &game->catSlowSound}) {
            *field = sample++;
        }
    }
    // One frame; the numbers of the samples it played, in order.
    using Sounds = std::vector<int>;
    Sounds FrameSounds(uint32_t ms) {
        OutputCapture capture;
        Frame(ms);
        capture.Stop();
        Sounds played;
        const std::string& out = capture.Out();
        int sample = 0;
        for (size_t at = 0; sscanf(out.c_str() + at, "Sample %d is out", &sample) == 1;
             at = out.find('\n', at) + 1) {
            played.push_back(sample);
        }
        return played;
    }

    // EXPECT_TRUE(Pixels(x, y, colour, ...)): pixels of the picture and their
    // colours.
    static ::testing::AssertionResult Pixels() { return ::testing::AssertionSuccess(); }
    template <typename... Rest>
    static ::testing::AssertionResult Pixels(int x, int y, Rgba colour, Rest... rest) {
        const ::testing::AssertionResult pixel = PixelIs(x, y, colour, 4);
        return pixel ? Pixels(rest...) : pixel;
    }
    // EXPECT_TRUE(Wrote(text, x, y, ...)): texts written in the last frame at
    // these places.
    ::testing::AssertionResult Wrote() { return ::testing::AssertionSuccess(); }
    template <typename... Rest>
    ::testing::AssertionResult Wrote(const char* text, int32_t x, int32_t y, Rest... rest) {
        for (const DrawnText& d : font->drawn) {
            if (d.text == text && d.x == x && d.y == y) {
                return Wrote(rest...);
            }
        }
        return ::testing::AssertionFailure() << '"' << text << "\" is not at " << x << ", " << y;
    }

    TempDir work;
    std::unique_ptr<GameDriver> driver;
    Game* game = nullptr;
    RecordingFont* font = nullptr;
};

#endif
