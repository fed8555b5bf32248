// What "cmake --install" puts where: the game off PATH, the launcher where
// games go, the assets as shared data, the desktop entry, the icons and the
// AppStream metadata in the places desktops and software centres look, the
// manual page and the documents, and nothing else.
#include "AssetFiles.h"
#include "IconArt.h"
#include "StagedInstall.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGameProgram = std::string(ZIBO_INSTALL_LIBEXECDIR) + "/zibo/zibo";
const char* const kLauncher = "games/zibo";
const char* const kDesktopEntry = "share/applications/zibo.desktop";

std::string IconPath(int size) {
    const std::string s = std::to_string(size);
    return "share/icons/hicolor/" + s + "x" + s + "/apps/zibo.png";
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IXOTH) != 0;
}

// The desktop entry's keys of its [Desktop Entry] group.
std::map<std::string, std::string> DesktopKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos && line[0] != '#') {
            keys[line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return keys;
}

int Luminance(const Rgba& p) {
    return (p.r * 3 + p.g * 6 + p.b) / 10;
}

}  // namespace

TEST(InstallTreeTest, PutsTheGameOffPathTheLauncherWithTheGamesAndTheAssetsUnderShare) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();

    std::vector<std::string> expected = {kLauncher,
                                         kGameProgram,
                                         kDesktopEntry,
                                         "share/metainfo/org.example.zibo.metainfo.xml",
                                         "share/man/man6/zibo.6.gz",
                                         "share/doc/zibo/changelog.gz",
                                         "share/doc/zibo/copyright"};
    for (const std::string& file : AllCatalogueFiles()) {
        expected.push_back("share/zibo/" + file);
    }
    for (int i = 0; i < kIconSizeCount; ++i) {
        expected.push_back(IconPath(kIconSizes[i]));
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ListFiles(install.Prefix()), expected);

    EXPECT_TRUE(IsExecutableFile(install.Launcher()));
    EXPECT_EQ(ReadFileBytes(install.Launcher()).compare(0, 10, "#!/bin/sh\n"), 0);
    EXPECT_TRUE(IsExecutableFile(install.Path(kGameProgram)));
    EXPECT_EQ(ReadFileBytes(install.Path(kGameProgram))
                  .compare(0, 4,
                           "\x7f"
                           "ELF"),
              0);
    for (const std::string& file : AllCatalogueFiles()) {
        EXPECT_TRUE(ReadFileBytes(install.Path("share/zibo/" + file)) ==
                    ReadFileBytes(BuiltAsset(file)))
            << file << " differs from the build's";
    }
}

TEST(InstallTreeTest, InstallsAValidDesktopEntryNamingTheLauncherAndTheIcon) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    const std::string entry = install.Path(kDesktopEntry);

    std::string complaints;
    EXPECT_EQ(RunCommand("desktop-file-validate " + ShellQuote(entry), &complaints), 0);
    EXPECT_EQ(complaints, "");

    std::map<std::string, std::string> keys = DesktopKeys(ReadFileBytes(entry));
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Name"], "ZIBO");
    EXPECT_EQ(keys["Terminal"], "false");
    EXPECT_NE(keys["Categories"].find("Game;"), std::string::npos);
    // The menu starts the launcher by name, so it must be the one on PATH.
    EXPECT_TRUE(IsExecutableFile(install.Path(std::string("games/") + keys["Exec"])));
    // The theme looks the icon up by name in every size folder.
    for (int i = 0; i < kIconSizeCount; ++i) {
        const std::string icon = IconPath(kIconSizes[i]);
        EXPECT_EQ(icon.substr(icon.rfind('/') + 1), keys["Icon"] + ".png");
    }
}

TEST(InstallTreeTest, IconsHaveTheirSizeATransparentSurroundAndAReadableLetter) {
    const StagedInstall install;
    ASSERT_TRUE(install.Ok()) << install.Log();
    for (int i = 0; i < kIconSizeCount; ++i) {
        const int size = kIconSizes[i];
        SCOPED_TRACE("icon " + std::to_string(size));
        const LoadedImage icon = LoadImageRgba(install.Path(IconPath(size)));
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.height, size);
        EXPECT_EQ(icon.At(0, 0).a, 0);
        EXPECT_EQ(icon.At(size - 1, size - 1).a, 0);
        EXPECT_EQ(icon.At(size / 2, size / 2).a, 255);
        // The Z: its top and bottom bars are bright across the middle column,
        // while beside its diagonal, halfway down, the badge stays dark.
        const int column = size / 2;
        const Rgba topBar = icon.At(column, size / 4);
        const Rgba bottomBar = icon.At(column, size - 1 - size / 4);
        const Rgba leftOfDiagonal = icon.At(size * 3 / 10, size / 2);
        const Rgba rightOfDiagonal = icon.At(size * 7 / 10, size / 2);
        EXPECT_GT(Luminance(topBar), 170);
        EXPECT_GT(Luminance(bottomBar), 90);
        EXPECT_LT(Luminance(leftOfDiagonal), 80);
        EXPECT_LT(Luminance(rightOfDiagonal), 80);
        EXPECT_EQ(leftOfDiagonal.a, 255);
    }
}
