#include "OutputCapture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

OutputCapture::OutputCapture() : active(true) {
    fflush(stdout);
    fflush(stderr);
    Begin(out, STDOUT_FILENO);
    Begin(err, STDERR_FILENO);
}

OutputCapture::~OutputCapture() {
    Stop();
}

void OutputCapture::Begin(Redirect& r, int fd) {
    char name[] = "/tmp/zibo-capture-XXXXXX";
    r.fd = fd;
    r.file = mkstemp(name);
    unlink(name);
    r.saved = dup(fd);
    dup2(r.file, fd);
}

void OutputCapture::End(Redirect& r) {
    dup2(r.saved, r.fd);
    close(r.saved);
    lseek(r.file, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = read(r.file, buffer, sizeof(buffer))) > 0) {
        r.text.append(buffer, static_cast<size_t>(n));
    }
    close(r.file);
}

void OutputCapture::Stop() {
    if (!active) {
        return;
    }
    fflush(stdout);
    fflush(stderr);
    End(out);
    End(err);
    active = false;
}

const std::string& OutputCapture::Out() {
    Stop();
    return out.text;
}

const std::string& OutputCapture::Err() {
    Stop();
    return err.text;
}
