// The fill-rate floor of this renderer: the same textured quads as a game
// frame (same textures, sizes, colours and blending), drawn with raw
// immediate-mode OpenGL as one glBegin/glEnd batch per texture, with no
// matrix work and no per-quad state changes.
#ifndef ZIBO_BENCH_REFERENCE_RENDERER_H
#define ZIBO_BENCH_REFERENCE_RENDERER_H

#include "QuadList.h"

#include <cstdint>
#include <vector>

class ReferenceRenderer {
public:
    explicit ReferenceRenderer(const QuadList& list);
    // Clears, draws every batch and presents, like one frame of the game.
    void drawFrame() const;
    size_t batchCount() const { return batches.size(); }

private:
    struct Batch {
        uint32_t texture;
        std::vector<QuadCorner> corners;
    };
    std::vector<Batch> batches;
};

#endif
