// The textured quads of one frame, in window coordinates (origin top-left,
// y down) with their texture, texture coordinates and colours, as the
// recorder caught them on their way into OpenGL. Stored as text, one quad a
// line, under a header naming the scene and the digest of the game state
// that drew them.
#ifndef ZIBO_BENCH_QUAD_LIST_H
#define ZIBO_BENCH_QUAD_LIST_H

#include <cstdint>
#include <string>
#include <vector>

struct QuadCorner {
    float s, t;
    float x, y;
    float red, green, blue, alpha;
};

struct Quad {
    uint32_t texture;
    QuadCorner corners[4];
};

struct QuadList {
    std::string scene;
    std::string digest;
    std::vector<Quad> quads;
};

bool SaveQuadList(const QuadList& list, const std::string& path);
// False, with a message, when the file is missing or malformed.
bool LoadQuadList(const std::string& path, QuadList* list);

#endif
