// A damaged install, as a player's machine might have it: the game names what
// it cannot use and runs on through the title into a round with a shot until
// its window is closed (status 0), except for a malformed font definition,
// which ends it with status 1 before the first frame. Each run is damaged
// many ways at once; the engine's tests go through each kind of bad file.
#include "GameProcess.h"
#include "PrivateXServer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

void ExpectLines(const std::string& text, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text.substr(0, 3000);
    }
    EXPECT_EQ(text.find("AddressSanitizer"), std::string::npos);
    EXPECT_EQ(text.find("runtime error"), std::string::npos);
}

// SPACE held takes the title into play, where a click fires; with the shot
// samples unusable, the shot's report is what shows the round is on. Then the
// window is closed as a window manager closes it.
void PlayAShotAndClose(GameProcess& game) {
    EXPECT_TRUE(game.HoldKeyUntil("space", [&] {
        game.Click(320, 100);
        return game.Out().find("Sample -1 is out of bounds\n") != std::string::npos;
    })) << game.Err().substr(0, 3000);
    ASSERT_TRUE(game.Running());
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0) << game.Err().substr(0, 3000);
}

}  // namespace

TEST(BadFilesTest, BrokenFilesAndAnUnwritableScreenshotAreReportedAndPlayGoesOn) {
    // Its own X server, where no other test's window takes the input.
    PrivateXServer server;
    GameProcess game(server.Display());
    game.CopyAssets("sprites");
    game.CopyAssets("sfx");
    const std::string player = ReadFileBytes(game.File("sprites/player01.png"));
    ASSERT_TRUE(WriteFileBytes(game.File("sprites/player01.png"), player.substr(0, 200)));
    ASSERT_TRUE(
        WriteFileBytes(game.File("sfx/shot0.wav"), std::string("RIFF\x10\0\0\0WAVEjunk", 16)));
    ASSERT_TRUE(WriteFileBytes(game.File("sfx/shot1.wav"), ""));
    ASSERT_TRUE(WriteFileBytes(game.File("sfx/0.ogg"), "OggS" + std::string(4000, '\x7f')));
    // A directory in the screenshot's place: not writable, not even by root.
    ASSERT_EQ(mkdir(game.File("screenshot.bmp").c_str(), 0755), 0);
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.WaitForWindow()) << game.Err();
    game.Key("F12", true);
    PlayAShotAndClose(game);
    game.Key("F12", false);
    ExpectLines(game.Err(), {"Sorry, sprite sprites/player01.png is missing\n",
                             "Err.) Can't load sfx/0.ogg... ", "Err.) No music found, disabling\n",
                             "Err.) Music track 0 is out of range [0,-1]\n"});
    EXPECT_EQ(game.Out().find("Couldn't"), std::string::npos) << game.Out();
    struct stat screenshot;
    ASSERT_EQ(stat(game.File("screenshot.bmp").c_str(), &screenshot), 0);
    EXPECT_TRUE(S_ISDIR(screenshot.st_mode));
}

TEST(BadFilesTest, FontDefinitionAsBmFontWritesItEndsTheGameBeforeTheFirstFrame) {
    GameProcess game;
    game.CopyAssets("sprites");
    game.LinkAssets("sfx");
    ASSERT_TRUE(WriteFileBytes(game.File("sprites/font.fnt"),
                               "info face=x\ncommon lineHeight=16 base=12 scaleW=256 scaleH=256 "
                               "pages=1\npage id=0 file=\"font.png\"\nchars count=1\n"));
    ASSERT_TRUE(game.Start());
    EXPECT_EQ(game.WaitForExit(), 1);
    ExpectLines(game.Err(), {"FAIL) Line \"page id=0 file=\"font.png\"\" does not contain enough "
                             "tokens to be a character ID\n"});
    // The music starts after the font, at the end of start-up.
    EXPECT_EQ(game.Out().find("Pass) Playing track 0"), std::string::npos) << game.Out();
}
