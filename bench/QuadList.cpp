#include "QuadList.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {
const char* const kSceneKey = "scene";
const char* const kDigestKey = "digest";
}  // namespace

bool SaveQuadList(const QuadList& list, const std::string& path) {
    FILE* file = fopen(path.c_str(), "w");
    if (file == nullptr) {
        fprintf(stderr, "bench: cannot write %s\n", path.c_str());
        return false;
    }
    fprintf(file, "%s %s\n%s %s\n", kSceneKey, list.scene.c_str(), kDigestKey, list.digest.c_str());
    for (const Quad& quad : list.quads) {
        fprintf(file, "%u", quad.texture);
        for (const QuadCorner& c : quad.corners) {
            // Nine digits give every float back exactly.
            fprintf(file, " %.9g %.9g %.9g %.9g %.9g %.9g %.9g %.9g", c.s, c.t, c.x, c.y, c.red,
                    c.green, c.blue, c.alpha);
        }
        fprintf(file, "\n");
    }
    const bool written = ferror(file) == 0;
    return fclose(file) == 0 && written;
}

bool LoadQuadList(const std::string& path, QuadList* list) {
    std::ifstream file(path);
    if (!file) {
        fprintf(stderr, "bench: cannot read %s (run the recorder first)\n", path.c_str());
        return false;
    }
    std::string key;
    std::string line;
    if (!(file >> key) || key != kSceneKey || !(file >> list->scene) || !(file >> key) ||
        key != kDigestKey || !std::getline(file, line)) {
        fprintf(stderr, "bench: %s has no scene header\n", path.c_str());
        return false;
    }
    list->digest = line.substr(line.find_first_not_of(' '));
    list->quads.clear();
    while (std::getline(file, line)) {
        if (line.empty()) {
            continue;
        }
        std::istringstream fields(line);
        Quad quad;
        fields >> quad.texture;
        for (QuadCorner& c : quad.corners) {
            fields >> c.s >> c.t >> c.x >> c.y >> c.red >> c.green >> c.blue >> c.alpha;
        }
        if (!fields) {
            fprintf(stderr, "bench: %s: malformed quad line\n", path.c_str());
            return false;
        }
        list->quads.push_back(quad);
    }
    return true;
}
