// The fuzz targets in the test suite, without libFuzzer: every seed of the
// target's corpus goes through LLVMFuzzerTestOneInput once. A target traps
// on what it finds wrong, and the sanitizer build adds its own checks, so a
// seed that fails ends the program abnormally.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        seeds.push_back(entry.path());
    }
    std::sort(seeds.begin(), seeds.end());
    for (const auto& seed : seeds) {
        std::ifstream file(seed, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        fprintf(stderr, "seed %s (%zu bytes)\n", seed.filename().c_str(), bytes.size());
        // In a buffer of its exact size: the sanitizer build sees a read past it.
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    // An empty or missing corpus tests nothing.
    return seeds.empty() ? 1 : 0;
}
