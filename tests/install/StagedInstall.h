// A private installation of the built game, staged the way a packager stages
// one: "cmake --install" of the build tree under a prefix, with DESTDIR set to
// a fresh temporary directory. Every test gets its own, so it may damage it.
// Also the small shell helpers the install tests share.
#ifndef ZIBO_TESTS_INSTALL_STAGED_INSTALL_H
#define ZIBO_TESTS_INSTALL_STAGED_INSTALL_H

#include "TestWindow.h"

#include <string>
#include <vector>

// The prefix a plain "cmake --install" uses.
const char* const kDefaultPrefix = "/usr/local";

class StagedInstall {
public:
    explicit StagedInstall(const std::string& prefix = kDefaultPrefix);
    // True when the install command succeeded; Log() says why not.
    bool Ok() const { return ok; }
    const std::string& Log() const { return log; }
    // The installed prefix inside the staging directory.
    const std::string& Prefix() const { return prefixPath; }
    // A path below the installed prefix, e.g. Path("games/zibo").
    std::string Path(const std::string& relative) const { return prefixPath + "/" + relative; }
    std::string Launcher() const { return Path("games/zibo"); }

private:
    TempDir staging;
    std::string prefixPath;
    bool ok;
    std::string log;
};

// Runs a command with /bin/sh; its exit status, or -1 when it did not end
// normally. Standard output and error go to *output when given.
int RunCommand(const std::string& command, std::string* output = nullptr);
// The text as one single-quoted shell word.
std::string ShellQuote(const std::string& text);
// Every file and symbolic link below a directory, as sorted relative paths.
std::vector<std::string> ListFiles(const std::string& directory);
bool IsSymlink(const std::string& path);
bool IsDirectory(const std::string& path);
// The target a symbolic link holds, as written; empty when it is none.
std::string LinkTarget(const std::string& path);
// The canonical absolute path (all links resolved); empty when it is none.
std::string CanonicalPath(const std::string& path);

#endif
