// The real game, played through X like a person plays it: every screen in
// turn, window closes, screenshots and the sound of a shot.
#include "ScreenProbes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool OnTitle(const WindowPicture& p) {
    return ShowsBand(p) && ShowsSpacePrompt(p) && !ShowsStatisticsFigures(p);
}
bool InPlay(const WindowPicture& p) { return ShowsHud(p) && !ShowsBand(p); }
bool OnStatistics(const WindowPicture& p) { return ShowsBand(p) && ShowsStatisticsFigures(p); }

class PlayThroughTest : public ::testing::Test {
protected:
    void StartOnTitle(const std::vector<std::string>& environment = {}) {
        if (!game.Path().empty() && environment.empty()) {
            game.LinkAssets();
        }
        ASSERT_TRUE(game.Start(environment));
        ASSERT_TRUE(game.WaitForWindow()) << game.Err();
        ASSERT_TRUE(game.WaitForPicture(OnTitle)) << game.Err();
    }
    void IntoPlay() {
        game.Key("space", true);
        ASSERT_TRUE(game.WaitForPicture(InPlay));
        game.Key("space", false);
    }
    GameProcess game;
};

TEST_F(PlayThroughTest, OpensItsCaptionedWindowAndLogsOnlyTheNumberedProbes) {
    StartOnTitle();
    EXPECT_EQ(game.Caption(), "Z.I.B.O. -- Zibonauts");
    EXPECT_EQ(game.WindowSize(), std::make_pair(640, 480));
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
    const std::string err = game.Err();
    EXPECT_NE(err.find("Sorry, sprite sprites/0.png is missing\n"), std::string::npos) << err;
    EXPECT_NE(err.find("sfx/0.wav is missing\n"), std::string::npos);
    EXPECT_NE(err.find("Err.) Music file sfx/1.ogg is missing\n"), std::string::npos);
    // No named file is missing and nothing fails.
    EXPECT_EQ(err.find("sprites/player"), std::string::npos);
    EXPECT_EQ(err.find("FAIL"), std::string::npos) << err;
    EXPECT_EQ(err.find("WARN"), std::string::npos) << err;
    const std::string out = game.Out();
    EXPECT_NE(out.find("Loaded 0 sprites\n"), std::string::npos);
    EXPECT_NE(out.find("PASS) Startup sequence completed in "), std::string::npos);
    EXPECT_NE(out.find("Pass) Playing track 0 (The Zibonauts - Zibonauts Theme)\n"),
              std::string::npos)
        << out;
}

TEST_F(PlayThroughTest, TitleToPlayToStatisticsToCreditsToTheEnd) {
    StartOnTitle();
    IntoPlay();
    game.Key("Escape", true);
    EXPECT_TRUE(game.WaitForPicture(OnStatistics));
    // ESC still held: the statistics fade to the credits, which end at once.
    EXPECT_EQ(game.WaitForExit(), 0);
    game.Key("Escape", false);
    const std::string out = game.Out();
    EXPECT_NE(out.find("INFO) Emptying bitmap font\n"), std::string::npos) << out;
    EXPECT_NE(out.find("PASS) Bitmap font emptied in "), std::string::npos);
}

TEST_F(PlayThroughTest, EscFromTheTitleRollsTheCreditsAndLeaves) {
    StartOnTitle();
    // Held until the title fades, then let go before the credits see it.
    ASSERT_TRUE(game.HoldKeyUntil("Escape", [&] { return !OnTitle(game.Picture()); }));
    EXPECT_TRUE(game.WaitForPicture([](const WindowPicture& p) {
        return ShowsBand(p) && !ShowsSpacePrompt(p) && !ShowsStatisticsFigures(p);
    }));
    EXPECT_TRUE(game.HoldKeyUntil("Escape", [&] { return !game.Running(); }));
    EXPECT_EQ(game.WaitForExit(), 0);
}

TEST_F(PlayThroughTest, WindowCloseEndsTheGameOnTheTitle) {
    StartOnTitle();
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
}

TEST_F(PlayThroughTest, WindowCloseEndsTheGameInPlay) {
    StartOnTitle();
    IntoPlay();
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
}

TEST_F(PlayThroughTest, WindowCloseEndsTheGameOnTheStatisticsScreen) {
    StartOnTitle();
    IntoPlay();
    ASSERT_TRUE(game.HoldKeyUntil("Escape", [&] { return !InPlay(game.Picture()); }));
    ASSERT_TRUE(game.WaitForPicture(OnStatistics));
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
}


TEST_F(PlayThroughTest, F12SavesWhatIsOnTheScreen) {
    StartOnTitle();
    const std::string shot = game.Path() + "/screenshot.bmp";
    game.Key("F12", true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    game.Key("F12", false);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string bytes = ReadWholeFile(shot);
    ASSERT_EQ(bytes.size(), 54u + 640u * 480u * 3u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes[28], 24);
    // Rows are stored bottom first, blue-green-red: the band's white line.
    const auto pixel = [&](int x, int y) {
        const size_t at = 54 + static_cast<size_t>(479 - y) * 1920 + x * 3;
        return Pixel{static_cast<unsigned char>(bytes[at + 2]),
                     static_cast<unsigned char>(bytes[at + 1]),
                     static_cast<unsigned char>(bytes[at])};
    };
    for (int x : {3, 320, 636}) {
        const Pixel p = pixel(x, 190);
        EXPECT_GT(p.r + p.g + p.b, 3 * 200) << "x " << x;
    }
    // The floor under the title: nothing black along row 120.
    for (int x = 0; x < 640; x += 80) {
        const Pixel p = pixel(x, 120);
        EXPECT_GT(p.r + p.g + p.b, 30) << "x " << x;
    }

    IntoPlay();
    game.Key("F12", true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    game.Key("F12", false);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string play = ReadWholeFile(shot);
    ASSERT_EQ(play.size(), bytes.size());
    // The health bar's red fill in the HUD.
    const size_t at = 54 + static_cast<size_t>(479 - 27) * 1920 + 60 * 3;
    EXPECT_GT(static_cast<unsigned char>(play[at + 2]),
              static_cast<unsigned char>(play[at + 1]) + 60);
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
}

TEST_F(PlayThroughTest, F12WhereNoFileCanBeWrittenIsHarmless) {
    game.LinkAssets();
    // A directory in the file's place: unwritable even for root, who may
    // write into a read-only directory.
    ASSERT_EQ(mkdir((game.Path() + "/screenshot.bmp").c_str(), 0755), 0);
    ASSERT_EQ(chmod(game.Path().c_str(), 0555), 0);
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.WaitForWindow());
    ASSERT_TRUE(game.WaitForPicture(OnTitle));
    game.Key("F12", true);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    game.Key("F12", false);
    EXPECT_TRUE(game.WaitForPicture(OnTitle));  // still running, still drawing
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
    EXPECT_EQ(game.Out().find("Couldn't"), std::string::npos);
    struct stat info;
    ASSERT_EQ(stat((game.Path() + "/screenshot.bmp").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

// Root-mean-square level of 16-bit stereo samples in [from, to) bytes.
double Level(const std::string& pcm, size_t from, size_t to) {
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = from; i + 1 < to && i + 1 < pcm.size(); i += 2) {
        int16_t sample;
        memcpy(&sample, pcm.data() + i, 2);
        sum += static_cast<double>(sample) * sample;
        ++count;
    }
    return count == 0 ? 0.0 : std::sqrt(sum / count);
}

TEST_F(PlayThroughTest, AShotIsHeardInThePlayedSound) {
    // The effects without the music, so that the shot is all there is to hear.
    game.LinkAssets();
    const std::string sfx = game.Path() + "/sfx";
    ASSERT_EQ(unlink(sfx.c_str()), 0);
    ASSERT_EQ(mkdir(sfx.c_str(), 0755), 0);
    for (const char* name : {"man0", "man1", "man2", "man0_slow", "man1_slow", "man2_slow",
                             "shot0", "shot1", "shot0_slow", "shot1_slow", "cat0", "cat0_slow"}) {
        const std::string file = std::string(name) + ".wav";
        ASSERT_EQ(symlink((std::string(ZIBO_BUILD_DIR) + "/sfx/" + file).c_str(),
                          (sfx + "/" + file).c_str()),
                  0);
    }
    const std::string capture = game.Path() + ".pcm";
    ASSERT_TRUE(game.Start({"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + capture}));
    ASSERT_TRUE(game.WaitForWindow());
    ASSERT_TRUE(game.WaitForPicture(OnTitle));
    IntoPlay();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const size_t before = ReadWholeFile(capture).size();
    ASSERT_GT(before, 0u);
    EXPECT_LT(Level(ReadWholeFile(capture), 0, before), 1.0);  // silence so far
    game.Click(1, 500, 200);
    // Wait until a second more of sound has been written after the click.
    const auto start = std::chrono::steady_clock::now();
    while (ReadWholeFile(capture).size() < before + 44100 * 4 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const std::string pcm = ReadWholeFile(capture);
    EXPECT_GT(Level(pcm, before, pcm.size()), 300.0);
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0);
    unlink(capture.c_str());
}

}  // namespace
