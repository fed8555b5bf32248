// The installed launcher started from an unrelated directory, with HOME in a
// temporary folder: the game runs in the player's own folder, which links to
// the installed assets and receives the screenshots; the game's exit status
// comes back; the player's files are left alone; a broken installation is
// named plainly; without a display the game's own complaint is the only one.
#include "AssetFiles.h"
#include "GameProcess.h"
#include "StagedInstall.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

// An uncompressed 24-bit BMP of the 640 x 480 window: headers and pixels.
const size_t kScreenshotBytes = 54 + 640 * 480 * 3;

// Where a player's game lives with only HOME set.
std::string DefaultGameFolder(const TempDir& home) {
    return home.Path() + "/.local/share/zibo";
}

// HOME in a temporary folder and no XDG_DATA_HOME, as for a fresh account.
std::vector<std::string> FreshAccount(const TempDir& home) {
    return {"HOME=" + home.Path(), "XDG_DATA_HOME"};
}

ino_t Inode(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

// The game's complaints about files it could not load.
std::string MissingAssetLines(const std::string& err) {
    std::string lines;
    for (const std::string& file : AllCatalogueFiles()) {
        if (err.find(file + " is missing") != std::string::npos ||
            err.find("sprite " + file) != std::string::npos) {
            lines += file + "\n";
        }
    }
    return lines;
}

// Runs the game through the launcher until its window shows, then closes the
// window; the exit status.
int RunAndClose(GameProcess& game, const std::string& launcher,
                const std::string& workingDirectory, const std::vector<std::string>& environment) {
    if (!game.StartProgram(launcher, workingDirectory, environment) || !game.WaitForWindow()) {
        return -3;
    }
    game.CloseWindow();
    return game.WaitForExit();
}

std::string Screenshots(const std::string& directory) {
    std::string found;
    RunCommand("find " + ShellQuote(directory) + " -name screenshot.bmp", &found);
    return found;
}

}  // namespace

TEST(LauncherTest, RunsTheGameInThePlayersFolderFromAnyDirectoryAndReusesIt) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const TempDir home, elsewhere;
    const std::string folder = DefaultGameFolder(home);
    const std::string assets = CanonicalPath(install.Path("share/zibo"));

    {
        GameProcess game;
        ASSERT_TRUE(game.StartProgram(install.Launcher(), elsewhere.Path(), FreshAccount(home)));
        ASSERT_TRUE(game.WaitForWindow()) << game.Err();
        EXPECT_EQ(game.WaitForCaption(), kGameCaption);
        const std::string screenshot = folder + "/screenshot.bmp";
        EXPECT_TRUE(game.HoldKeyUntil(
            "F12", [&] { return ReadFileBytes(screenshot).size() == kScreenshotBytes; }))
            << "no screenshot in " << folder;
        game.CloseWindow();
        EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
        EXPECT_EQ(MissingAssetLines(game.Err()), "");
        EXPECT_EQ(ReadFileBytes(screenshot).compare(0, 2, "BM"), 0);
    }
    // The player's folder holds the two links and the screenshot; nothing
    // landed where the launcher was started, in the installation or
    // elsewhere in the home folder.
    EXPECT_EQ(ListFiles(folder), (std::vector<std::string>{"screenshot.bmp", "sfx", "sprites"}));
    EXPECT_EQ(LinkTarget(folder + "/sprites"), assets + "/sprites");
    EXPECT_EQ(LinkTarget(folder + "/sfx"), assets + "/sfx");
    EXPECT_EQ(ListFiles(elsewhere.Path()), std::vector<std::string>{});
    EXPECT_EQ(Screenshots(install.Prefix()), "");
    EXPECT_EQ(Screenshots(home.Path()), folder + "/screenshot.bmp\n");

    // A second run uses the same folder as it is: the links are not made
    // again and the player's files stay.
    const ino_t spritesLink = Inode(folder + "/sprites");
    ASSERT_TRUE(WriteFileBytes(folder + "/notes.txt", "best round: 41 kills\n"));
    {
        GameProcess game;
        EXPECT_EQ(RunAndClose(game, install.Launcher(), elsewhere.Path(), FreshAccount(home)), 0)
            << game.Err();
        EXPECT_EQ(game.Err().find("zibo:"), std::string::npos) << game.Err();
        EXPECT_EQ(MissingAssetLines(game.Err()), "");
    }
    EXPECT_EQ(Inode(folder + "/sprites"), spritesLink);
    EXPECT_EQ(ReadFileBytes(folder + "/notes.txt"), "best round: 41 kills\n");
    EXPECT_EQ(ReadFileBytes(folder + "/screenshot.bmp").size(), kScreenshotBytes);
}

TEST(LauncherTest, FollowsXdgDataHomeAndKeepsThePlayersOwnFolders) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const TempDir home, data;
    const std::string folder = data.Path() + "/zibo";
    const std::string assets = CanonicalPath(install.Path("share/zibo"));
    // The player's own sprites folder, and a link left by an installation
    // that has since been removed.
    ASSERT_EQ(RunCommand("mkdir -p " + ShellQuote(folder) + " && cp -r " +
                         ShellQuote(assets + "/sprites") + " " + ShellQuote(folder) +
                         " && echo mine > " + ShellQuote(folder + "/sprites/mine.txt") +
                         " && ln -s /nonexistent/share/zibo/sfx " + ShellQuote(folder + "/sfx")),
              0);

    GameProcess game;
    EXPECT_EQ(RunAndClose(game, install.Launcher(), home.Path(),
                          {"HOME=" + home.Path(), "XDG_DATA_HOME=" + data.Path()}),
              0)
        << game.Err();
    EXPECT_NE(game.Err().find("zibo: using your own " + folder + "/sprites instead of " + assets +
                              "/sprites.\n"),
              std::string::npos)
        << game.Err();
    EXPECT_EQ(MissingAssetLines(game.Err()), "");
    EXPECT_TRUE(IsDirectory(folder + "/sprites"));
    EXPECT_EQ(ReadFileBytes(folder + "/sprites/mine.txt"), "mine\n");
    EXPECT_EQ(LinkTarget(folder + "/sfx"), assets + "/sfx");
    EXPECT_FALSE(IsDirectory(DefaultGameFolder(home)));
}

TEST(LauncherTest, IgnoresARelativeXdgDataHome) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const TempDir home, elsewhere;
    GameProcess game;
    EXPECT_EQ(RunAndClose(game, install.Launcher(), elsewhere.Path(),
                          {"HOME=" + home.Path(), "XDG_DATA_HOME=relative/data"}),
              0)
        << game.Err();
    EXPECT_TRUE(IsSymlink(DefaultGameFolder(home) + "/sprites"));
    EXPECT_EQ(ListFiles(elsewhere.Path()), std::vector<std::string>{});
}

TEST(LauncherTest, PassesOnTheGamesExitStatusAndMessages) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    // A malformed font definition is one of the game's fatal failures.
    ASSERT_TRUE(WriteFileBytes(install.Path("share/zibo/sprites/font.fnt"),
                               "info face=x\ncommon lineHeight=16\n"));
    const TempDir home, elsewhere;
    GameProcess game;
    ASSERT_TRUE(game.StartProgram(install.Launcher(), elsewhere.Path(), FreshAccount(home)));
    EXPECT_EQ(game.WaitForExit(), 1);
    EXPECT_NE(game.Err().find("FAIL) Line \"common lineHeight=16\" does not contain enough "
                              "tokens to be a commons definition\n"),
              std::string::npos)
        << game.Err();
}

TEST(LauncherTest, NamesWhatIsMissingAndTouchesNothing) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const std::string assets = CanonicalPath(install.Path("share/zibo"));
    const std::string program = CanonicalPath(install.Path(ZIBO_INSTALL_LIBEXECDIR "/zibo/zibo"));
    const TempDir home, elsewhere;

    ASSERT_EQ(RunCommand("rm -r " + ShellQuote(assets + "/sfx")), 0);
    {
        GameProcess launcher;
        ASSERT_TRUE(launcher.StartProgram(install.Launcher(), elsewhere.Path(), FreshAccount(home)));
        EXPECT_EQ(launcher.WaitForExit(), 1);
        EXPECT_EQ(launcher.Err(), "zibo: the game's sfx folder is missing: " + assets +
                                      "/sfx is not installed; reinstall ZIBO.\n");
        EXPECT_EQ(launcher.Out(), "");
    }
    ASSERT_EQ(RunCommand("rm " + ShellQuote(program)), 0);
    {
        GameProcess launcher;
        ASSERT_TRUE(launcher.StartProgram(install.Launcher(), elsewhere.Path(), FreshAccount(home)));
        EXPECT_EQ(launcher.WaitForExit(), 1);
        EXPECT_EQ(launcher.Err(), "zibo: the game program is missing: " + program +
                                      " is not installed; reinstall ZIBO.\n");
    }
    // Nothing was made for a game that could not start.
    EXPECT_EQ(ListFiles(home.Path()), std::vector<std::string>{});
    EXPECT_FALSE(IsDirectory(home.Path() + "/.local"));
    EXPECT_EQ(ListFiles(elsewhere.Path()), std::vector<std::string>{});
}

TEST(LauncherTest, NeedsAHomeOrADataFolder) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const TempDir elsewhere;
    GameProcess launcher;
    ASSERT_TRUE(launcher.StartProgram(install.Launcher(), elsewhere.Path(), {"HOME", "XDG_DATA_HOME"}));
    EXPECT_EQ(launcher.WaitForExit(), 1);
    EXPECT_EQ(launcher.Err(), "zibo: HOME is not set, so there is no folder to run the game in.\n");
}

TEST(LauncherTest, WithoutADisplayOnlyTheGameSaysSo) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const TempDir home, elsewhere;
    GameProcess launcher;
    ASSERT_TRUE(
        launcher.StartProgram(install.Launcher(), elsewhere.Path(),
                              {"HOME=" + home.Path(), "XDG_DATA_HOME", "DISPLAY", "WAYLAND_DISPLAY",
                               "SDL_VIDEODRIVER", "SDL12COMPAT_WINDOW_SCALING"}));
    EXPECT_EQ(launcher.WaitForExit(), 1);
    // With no screen to measure the launcher leaves the scale alone, quietly.
    const std::string err = launcher.Err();
    EXPECT_NE(err.find("FAIL) Can't open the game window: "), std::string::npos) << err;
    EXPECT_EQ(err.find("zibo:"), std::string::npos) << err;
    EXPECT_EQ(err.find("xdpyinfo"), std::string::npos) << err;
}
