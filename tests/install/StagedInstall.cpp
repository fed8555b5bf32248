#include "StagedInstall.h"

#include <limits.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

StagedInstall::StagedInstall(const std::string& prefix)
    : prefixPath(staging.Path() + prefix), ok(false) {
    const std::string command = "DESTDIR=" + ShellQuote(staging.Path()) + " " +
                                ShellQuote(ZIBO_CMAKE_COMMAND) + " --install " +
                                ShellQuote(ZIBO_BUILD_DIR) + " --prefix " + ShellQuote(prefix);
    ok = RunCommand(command, &log) == 0;
}

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::string text;
    char buffer[4096];
    size_t count = 0;
    while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        text.append(buffer, count);
    }
    const int status = pclose(pipe);
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::vector<std::string> ListFiles(const std::string& directory) {
    std::string listing;
    RunCommand("cd " + ShellQuote(directory) + " && find . ! -type d -printf '%P\\n'", &listing);
    std::vector<std::string> files;
    std::istringstream in(listing);
    std::string line;
    while (std::getline(in, line)) {
        files.push_back(line);
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool IsSymlink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof(target) - 1);
    return length < 0 ? std::string() : std::string(target, length);
}

std::string CanonicalPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return std::string();
    }
    std::string result = resolved;
    free(resolved);
    return result;
}
