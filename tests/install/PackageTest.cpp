// The Debian package that "cpack -G DEB" makes of the installed tree, built
// once for all these tests (twice, for the comparison) by the PackageBuild
// fixture: its name and control fields, its file list, dependencies that
// dpkg-shlibdeps computed and that install here, a clean lintian report,
// valid AppStream metadata, the same bytes from two builds, and a launcher
// that runs the game when the package's tree is unpacked.
#include "AssetFiles.h"
#include "GameProcess.h"
#include "IconArt.h"
#include "StagedInstall.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        lines.push_back(line);
    }
    return lines;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\n");
    const size_t last = text.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        parts.push_back(Trim(part));
    }
    return parts;
}

std::string CommandOutput(const std::string& command) {
    std::string output;
    RunCommand(command, &output);
    return Trim(output);
}

std::string Field(const std::string& deb, const std::string& name) {
    return CommandOutput("dpkg-deb --field " + ShellQuote(deb) + " " + name);
}

// Depends: groups of alternatives, each reduced to package names.
std::vector<std::vector<std::string>> DependencyGroups(const std::string& depends) {
    std::vector<std::vector<std::string>> groups;
    for (const std::string& group : Split(depends, ',')) {
        std::vector<std::string> names;
        for (const std::string& alternative : Split(group, '|')) {
            names.push_back(alternative.substr(0, alternative.find_first_of(" (")));
        }
        groups.push_back(names);
    }
    return groups;
}

// The packages owning a library file, under either of its merged-/usr names,
// with the names they provide.
std::set<std::string> Owners(const std::string& library) {
    std::vector<std::string> candidates = {library};
    if (library.compare(0, 5, "/lib/") == 0) {
        candidates.push_back("/usr" + library);
    } else if (library.compare(0, 9, "/usr/lib/") == 0) {
        candidates.push_back(library.substr(4));
    }
    std::set<std::string> owners;
    for (const std::string& path : candidates) {
        std::string found;
        if (RunCommand("dpkg-query -S " + ShellQuote(path), &found) != 0) {
            continue;
        }
        for (const std::string& line : Lines(found)) {
            const std::string packages = line.substr(0, line.find(": "));
            for (const std::string& owner : Split(packages, ',')) {
                const std::string name = owner.substr(0, owner.find(':'));
                owners.insert(name);
                const std::string provides =
                    CommandOutput("dpkg-query -W -f='${Provides}' " + ShellQuote(owner));
                for (const std::vector<std::string>& provided : DependencyGroups(provides)) {
                    owners.insert(provided.front());
                }
            }
        }
    }
    return owners;
}

// The libraries a program names (NEEDED), each with the file the dynamic
// linker picks for it.
std::map<std::string, std::string> NeededLibraries(const std::string& program) {
    std::map<std::string, std::string> libraries;
    for (const std::string& line : Lines(CommandOutput("readelf -d " + ShellQuote(program)))) {
        const size_t open = line.find("(NEEDED)");
        const size_t start = line.find('[');
        if (open != std::string::npos && start != std::string::npos) {
            libraries[line.substr(start + 1, line.find(']') - start - 1)] = "";
        }
    }
    for (const std::string& line : Lines(CommandOutput("ldd " + ShellQuote(program)))) {
        const std::vector<std::string> words = Split(Trim(line), ' ');
        if (words.size() >= 3 && words[1] == "=>" && libraries.count(words[0]) != 0) {
            libraries[words[0]] = words[2];
        }
    }
    return libraries;
}

// The package's regular files (path -> mode and owner), from --contents.
std::map<std::string, std::string> PackageFiles(const std::string& deb) {
    std::map<std::string, std::string> files;
    for (const std::string& line : Lines(CommandOutput("dpkg-deb --contents " + ShellQuote(deb)))) {
        std::istringstream words(line);
        std::string mode, owner, size, date, time, path;
        words >> mode >> owner >> size >> date >> time >> path;
        if (!mode.empty() && mode[0] != 'd') {
            files[path] = mode + " " + owner;
        }
    }
    return files;
}

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        architecture = CommandOutput("dpkg --print-architecture");
        name = std::string("zibo_") + ZIBO_VERSION + "_" + architecture + ".deb";
        deb = std::string(ZIBO_PACKAGE_OUTPUT) + "/first/" + name;
        ASSERT_FALSE(ReadFileBytes(deb).empty()) << "no " << deb << ": see the PackageBuild test";
    }

    std::string architecture;
    std::string name;
    std::string deb;
};

}  // namespace

TEST_F(PackageTest, IsNamedForThisMachineAndHoldsTheInstalledTreeUnderUsr) {
    EXPECT_EQ(Field(deb, "Package"), "zibo");
    EXPECT_EQ(Field(deb, "Version"), ZIBO_VERSION);
    EXPECT_EQ(Field(deb, "Architecture"), architecture);
    EXPECT_EQ(Field(deb, "Section"), "games");
    EXPECT_NE(Field(deb, "Maintainer"), "");
    // Debian's long description lines stay under 80 columns.
    for (const std::string& line : Lines(Field(deb, "Description"))) {
        EXPECT_LT(line.size(), 80u) << line;
    }

    const std::string program = "-rwxr-xr-x root/root";
    const std::string data = "-rw-r--r-- root/root";
    std::map<std::string, std::string> expected = {
        {"./usr/games/zibo", program},
        {std::string("./usr/") + ZIBO_INSTALL_LIBEXECDIR + "/zibo/zibo", program},
        {"./usr/share/applications/zibo.desktop", data},
        {"./usr/share/metainfo/org.example.zibo.metainfo.xml", data},
        {"./usr/share/man/man6/zibo.6.gz", data},
        {"./usr/share/doc/zibo/changelog.gz", data},
        {"./usr/share/doc/zibo/copyright", data},
    };
    for (const std::string& file : AllCatalogueFiles()) {
        expected["./usr/share/zibo/" + file] = data;
    }
    for (int i = 0; i < kIconSizeCount; ++i) {
        const std::string s = std::to_string(kIconSizes[i]);
        expected["./usr/share/icons/hicolor/" + s + "x" + s + "/apps/zibo.png"] = data;
    }
    EXPECT_EQ(PackageFiles(deb), expected);
}

TEST_F(PackageTest, DependsOnEveryLibraryTheGameLinksAgainstAndInstallsHere) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a sanitizer build links the sanitizer runtimes, which no package provides";
#endif
    const std::string depends = Field(deb, "Depends");
    const std::vector<std::vector<std::string>> groups = DependencyGroups(depends);
    const std::map<std::string, std::string> libraries =
        NeededLibraries(std::string(ZIBO_BUILD_DIR) + "/zibo");
    for (const char* soname :
         {"libSDL-1.2.so.0", "libSDL_image-1.2.so.0", "libSDL_mixer-1.2.so.0", "libGLU.so.1"}) {
        EXPECT_EQ(libraries.count(soname), 1u) << soname;
    }
    for (const auto& library : libraries) {
        const std::set<std::string> owners = Owners(library.second);
        const bool declared = std::any_of(groups.begin(), groups.end(), [&](const auto& group) {
            return std::any_of(group.begin(), group.end(),
                               [&](const std::string& name) { return owners.count(name) != 0; });
        });
        EXPECT_TRUE(declared) << library.first << " (" << library.second << ") comes from "
                              << (owners.empty() ? "no package" : *owners.begin())
                              << ", which the package does not depend on: " << depends;
    }
    // What no linker sees, kept by hand: the GL library SDL opens at run
    // time, and the launcher's screen-size tool.
    for (const char* runtime : {"libgl1", "x11-utils"}) {
        EXPECT_TRUE(std::any_of(groups.begin(), groups.end(),
                                [&](const auto& group) { return group.front() == runtime; }))
            << runtime << " missing from " << depends;
    }
    // Everything it needs is already here, as after the set-up script on a
    // fresh machine: installing it would add no other package.
    std::string plan;
    ASSERT_EQ(RunCommand("apt-get install --simulate --quiet " + ShellQuote(deb), &plan), 0)
        << plan;
    for (const std::string& line : Lines(plan)) {
        if (line.compare(0, 5, "Inst ") == 0) {
            EXPECT_EQ(line.compare(0, 10, "Inst zibo "), 0) << line;
        }
    }
}

TEST_F(PackageTest, LintianReportsNoErrorAndNoWarning) {
    // Tags come on standard output; standard error carries lintian's own
    // remarks, such as its warning about being run as root.
    std::string tags;
    const int status = RunCommand("(lintian " + ShellQuote(deb) + " 2>/dev/null)", &tags);
    EXPECT_EQ(tags, "");
    EXPECT_EQ(status, 0);
}

TEST_F(PackageTest, AppStreamMetadataIsValid) {
    const TempDir root;
    ASSERT_EQ(RunCommand("dpkg-deb -x " + ShellQuote(deb) + " " + ShellQuote(root.Path())), 0);
    std::string report;
    EXPECT_EQ(
        RunCommand("appstreamcli validate --no-net --no-color " +
                       ShellQuote(root.File("usr/share/metainfo/org.example.zibo.metainfo.xml")),
                   &report),
        0)
        << report;
}

TEST_F(PackageTest, TwoBuildsGiveTheSameBytes) {
    const std::string second = std::string(ZIBO_PACKAGE_OUTPUT) + "/second/" + name;
    const std::string bytes = ReadFileBytes(second);
    ASSERT_FALSE(bytes.empty()) << "no " << second;
    EXPECT_TRUE(bytes == ReadFileBytes(deb))
        << "cmp: " << CommandOutput("cmp " + ShellQuote(deb) + " " + ShellQuote(second));
}

TEST_F(PackageTest, UnpackedTreeRunsTheGameFromAnyDirectory) {
    const TempDir root, home, elsewhere;
    ASSERT_EQ(RunCommand("dpkg-deb -x " + ShellQuote(deb) + " " + ShellQuote(root.Path())), 0);

    GameProcess game;
    ASSERT_TRUE(game.StartProgram(root.File("usr/games/zibo"), elsewhere.Path(),
                                  {"HOME=" + home.Path(), "XDG_DATA_HOME"}));
    ASSERT_TRUE(game.WaitForWindow()) << game.Err();
    EXPECT_EQ(game.WaitForCaption(), kGameCaption);
    game.CloseWindow();
    EXPECT_EQ(game.WaitForExit(), 0) << game.Err();
    EXPECT_EQ(LinkTarget(home.Path() + "/.local/share/zibo/sprites"),
              CanonicalPath(root.File("usr/share/zibo/sprites")));
}
