#include "OutputCapture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

OutputCapture::OutputCapture() {
    fflush(nullptr);
    for (int i = 0; i < 2; ++i) {
        char name[] = "/tmp/zibo-capture-XXXXXX";
        files[i] = mkstemp(name);
        unlink(name);
        saved[i] = dup(STDOUT_FILENO + i);
        dup2(files[i], STDOUT_FILENO + i);
    }
}

void OutputCapture::Stop() {
    if (!active) {
        return;
    }
    active = false;
    fflush(nullptr);
    for (int i = 0; i < 2; ++i) {
        dup2(saved[i], STDOUT_FILENO + i);
        close(saved[i]);
        lseek(files[i], 0, SEEK_SET);
        char buffer[4096];
        for (ssize_t n; (n = read(files[i], buffer, sizeof(buffer))) > 0;) {
            texts[i].append(buffer, static_cast<size_t>(n));
        }
        close(files[i]);
    }
}

const std::string& OutputCapture::Text(int stream) {
    Stop();
    return texts[stream];
}
