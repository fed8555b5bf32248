// Captures what the code under test prints on standard output and standard
// error, at the file-descriptor level, so C stdio and iostreams both count.
#ifndef ZIBO_TESTS_OUTPUT_CAPTURE_H
#define ZIBO_TESTS_OUTPUT_CAPTURE_H

#include <string>

class OutputCapture {
public:
    OutputCapture();  // starts capturing
    ~OutputCapture() { Stop(); }
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    // Restores the streams; the texts stay readable afterwards.
    void Stop();
    const std::string& Out() { return Text(0); }
    const std::string& Err() { return Text(1); }

private:
    const std::string& Text(int stream);

    // Index 0 is standard output, 1 standard error.
    int saved[2];
    int files[2];
    std::string texts[2];
    bool active = true;
};

#endif
