#include "QuadBatch.h"

#ifdef __EMSCRIPTEN__

#include <SDL_opengl.h>
#include <emscripten.h>

#include <cstring>

namespace {
const int kCornersPerQuad = 4;
const int kColourComponents = 4;
// Well within the emulation's temporary buffers (2 MB of vertices, and
// 16-bit indices for its quads).
const int kMaxQuads = 4096;

// The queue is the browser build's one drawing stream, shared by the sprite
// store and the font, as the OpenGL state it stands in for is.
QuadCorner queued[kMaxQuads * kCornersPerQuad];
int queuedQuads = 0;
uint32_t queuedTexture = 0;
float queuedColour[kColourComponents] = {};

// The game sets its colours with glColor4f itself; the emulation keeps the
// current one in JavaScript.
// clang-format off
EM_JS(void, ReadCurrentColour, (float* rgba), {
    HEAPF32.set(GLImmediate.clientColor, rgba >> 2);
});
// clang-format on

bool SameColour(const float* a, const float* b) {
    return memcmp(a, b, sizeof(float) * kColourComponents) == 0;
}
}  // namespace

void BatchQuad(uint32_t texture, const QuadCorner corners[4]) {
    float colour[kColourComponents];
    ReadCurrentColour(colour);
    if (queuedQuads > 0 && (texture != queuedTexture || !SameColour(colour, queuedColour) ||
                            queuedQuads == kMaxQuads)) {
        FlushQuads();
    }
    queuedTexture = texture;
    memcpy(queuedColour, colour, sizeof(queuedColour));
    memcpy(&queued[queuedQuads * kCornersPerQuad], corners, sizeof(QuadCorner) * kCornersPerQuad);
    ++queuedQuads;
}

void FlushQuads() {
    if (queuedQuads == 0) {
        return;
    }
    float current[kColourComponents];
    ReadCurrentColour(current);
    glColor4f(queuedColour[0], queuedColour[1], queuedColour[2], queuedColour[3]);
    glBindTexture(GL_TEXTURE_2D, queuedTexture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // Interleaved, the emulation's fast path: one upload for the whole queue.
    glVertexPointer(2, GL_FLOAT, sizeof(QuadCorner), &queued[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadCorner), &queued[0].s);
    glDrawArrays(GL_QUADS, 0, queuedQuads * kCornersPerQuad);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glColor4f(current[0], current[1], current[2], current[3]);
    queuedQuads = 0;
}

#endif
