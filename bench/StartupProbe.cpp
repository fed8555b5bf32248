// zibo-startup-probe SHIM REPEATS DIR PROGRAM [DIR PROGRAM ...]: starts each
// program in its directory REPEATS times, in turns, with the first-frame
// shim preloaded, and prints for each a line: the program, the median time
// from just before fork to the return of its first buffer swap in
// milliseconds, the median peak resident memory at that point in megabytes,
// then every run's time. One untimed start of each comes first, so that
// every timed one finds the files in the page cache.
#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string directory;
    std::string path;
    std::vector<double> runsMs;
    std::vector<double> peakMegabytes;
};

struct FirstFrame {
    double milliseconds;
    double peakMegabytes;
};

double Seconds(const timespec& t) {
    return t.tv_sec + t.tv_nsec * 1e-9;
}

// Time to the first presented frame and memory then; a negative time when
// the program presented none.
FirstFrame TimeFirstFrame(const std::string& shim, const Program& program) {
    const FirstFrame none = {-1, -1};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return none;
    }
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) {
        return none;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string descriptor = std::to_string(pipeEnds[1]);
        setenv("ZIBO_BENCH_REPORT_FD", descriptor.c_str(), 1);
        setenv("LD_PRELOAD", shim.c_str(), 1);
        if (chdir(program.directory.c_str()) != 0) {
            _exit(126);
        }
        // The game's log lines are not part of the measurement.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char report[64] = {};
    size_t length = 0;
    ssize_t got;
    while (length < sizeof(report) - 1 &&
           (got = read(pipeEnds[0], report + length, sizeof(report) - 1 - length)) > 0) {
        length += static_cast<size_t>(got);
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long seconds = 0;
    long nanoseconds = 0;
    long kilobytes = 0;
    if (sscanf(report, "%lld %ld %ld", &seconds, &nanoseconds, &kilobytes) != 3) {
        return none;
    }
    const double frame = static_cast<double>(seconds) + nanoseconds * 1e-9;
    return FirstFrame{(frame - Seconds(start)) * 1000.0, kilobytes / 1024.0};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 3) % 2 != 0) {
        fprintf(stderr, "usage: zibo-startup-probe SHIM REPEATS DIR PROGRAM [DIR PROGRAM ...]\n");
        return 2;
    }
    const std::string shim = argv[1];
    const int repeats = atoi(argv[2]);
    std::vector<Program> programs;
    for (int i = 3; i + 1 < argc; i += 2) {
        programs.push_back(Program{argv[i], argv[i + 1], {}, {}});
    }
    for (Program& program : programs) {
        if (TimeFirstFrame(shim, program).milliseconds < 0) {
            fprintf(stderr, "startup: %s never presented a frame\n", program.path.c_str());
            return 1;
        }
    }
    for (int run = 0; run < repeats; ++run) {
        for (Program& program : programs) {
            const FirstFrame first = TimeFirstFrame(shim, program);
            if (first.milliseconds < 0) {
                fprintf(stderr, "startup: %s never presented a frame\n", program.path.c_str());
                return 1;
            }
            program.runsMs.push_back(first.milliseconds);
            program.peakMegabytes.push_back(first.peakMegabytes);
        }
    }
    for (const Program& program : programs) {
        printf("%s\t%.1f\t%.1f", program.path.c_str(), Median(program.runsMs),
               Median(program.peakMegabytes));
        for (const double ms : program.runsMs) {
            printf("\t%.1f", ms);
        }
        printf("\n");
    }
    return 0;
}
