// Captures what the code under test prints on standard output and standard
// error, at the file-descriptor level, so C stdio and iostreams both count.
#ifndef ZIBO_TESTS_OUTPUT_CAPTURE_H
#define ZIBO_TESTS_OUTPUT_CAPTURE_H

#include <string>

class OutputCapture {
public:
    OutputCapture();   // starts capturing
    ~OutputCapture();  // restores the streams if Stop was not called
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    // Restores the streams; the texts stay readable afterwards.
    void Stop();
    const std::string& Out();
    const std::string& Err();

private:
    struct Redirect {
        int fd;
        int saved;
        int file;
        std::string text;
    };
    void Begin(Redirect& r, int fd);
    void End(Redirect& r);

    Redirect out;
    Redirect err;
    bool active;
};

#endif
