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

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
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

struct Pixel {
    int x, y;
    Rgba colour;
};

// Values found, each followed by the value the rules give it.
template <typename... T>
void ExpectValues(T... values) {
    const double v[] = {static_cast<double>(values)...};
    for (size_t i = 0; i + 1 < sizeof...(T); i += 2) {
        EXPECT_NEAR(v[i], v[i + 1], 1e-5) << "pair " << i / 2;
    }
}
inline void ExpectPixels(std::initializer_list<Pixel> pixels, int tolerance = 4) {
    for (const Pixel& p : pixels) {
        EXPECT_TRUE(PixelIs(p.x, p.y, p.colour, tolerance));
    }
}

class GameTest : public ::testing::Test {
protected:
    // Early in the program's life: the first enemy of a round then comes only
    // after some 35 seconds, so rounds stay empty unless a test spawns.
    static constexpr uint32_t kStartTicks = 1000;

    void SetUp() override {
        static const bool windowOpen = GameDriver::OpenWindow();
        ASSERT_TRUE(windowOpen);
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        previousDirectory = cwd;
        for (const std::string directory : {"sprites", "sfx"}) {
            const std::string assets = ZIBO_BUILD_DIR "/" + directory;
            ASSERT_EQ(symlink(assets.c_str(), work.File(directory).c_str()), 0);
        }
        ASSERT_EQ(chdir(work.Path().c_str()), 0);
        OutputCapture quiet;
        driver.reset(new GameDriver(kStartTicks));
        game = &driver->game();
        delete game->font;
        game->font = font = new RecordingFont();
    }
    void TearDown() override {
        driver.reset();
        EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
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
    static void Hold(SDLKey key, bool down = true) { GameDriver::holdKey(key, down); }
    static void Press(Uint8 button, int x = 400, int y = 300) {
        GameDriver::pushButton(button, true, x, y);
    }
    static void Release(Uint8 button) { GameDriver::pushButton(button, false, 400, 300); }
    // From the title screen into a fresh round, through the real fade.
    void BeginRound() {
        Hold(SDLK_SPACE);
        Frame(10);
        Hold(SDLK_SPACE, false);
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
    // Seeds rand() with the first seed whose next results pass the test and
    // gives those results: the test then knows every random choice to come.
    static std::vector<int> SeedRandWhere(
        const std::function<bool(const std::vector<int>&)>& fits = nullptr) {
        for (unsigned seed = 1;; ++seed) {
            srand(seed);
            std::vector<int> r(12);
            for (int& value : r) {
                value = rand();
            }
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
        int32_t* fields[] = {
            &game->manSounds[0],      &game->manSounds[1],     &game->manSounds[2],
            &game->manSlowSounds[0],  &game->manSlowSounds[1], &game->manSlowSounds[2],
            &game->shotSounds[0],     &game->shotSounds[1],    &game->shotSlowSounds[0],
            &game->shotSlowSounds[1], &game->catSound,         &game->catSlowSound};
        for (int32_t*& field : fields) {
            *field = 100 + static_cast<int32_t>(&field - fields);
        }
    }
    // One frame; the numbers of the samples it played, in order.
    std::vector<int> FrameSounds(uint32_t ms) {
        OutputCapture capture;
        Frame(ms);
        capture.Stop();
        std::vector<int> played;
        int sample = 0;
        for (const char* line = capture.Out().c_str();
             sscanf(line, "Sample %d is out", &sample) == 1; line = strchr(line, '\n') + 1) {
            played.push_back(sample);
        }
        return played;
    }

    // Texts, each followed by its x and y, written in the last frame.
    void ExpectTexts() {}
    template <typename... Rest>
    void ExpectTexts(const char* text, int32_t x, int32_t y, Rest... rest) {
        bool found = false;
        for (const DrawnText& d : font->drawn) {
            found = found || (d.text == text && d.x == x && d.y == y);
        }
        EXPECT_TRUE(found) << '"' << text << "\" at " << x << ", " << y;
        ExpectTexts(rest...);
    }

    TempDir work;
    std::string previousDirectory;
    std::unique_ptr<GameDriver> driver;
    Game* game = nullptr;
    RecordingFont* font = nullptr;
};

#endif
