// The browser's drawing of textured quads, gathered into one draw per texture
// and colour. Its OpenGL emulation turns every glBegin/glEnd pair into a draw
// of its own, with its buffers rebuilt in JavaScript and handed to WebGL: a
// late round's thousands of sprites cost several times the desktop's frame.
#ifndef CINDERMILL_QUAD_BATCH_H
#define CINDERMILL_QUAD_BATCH_H

#ifdef __EMSCRIPTEN__

#include <cstdint>

// A corner in window pixels and its texture coordinate.
struct QuadCorner {
    float x;
    float y;
    float s;
    float t;
};

// Queues a quad, four corners in drawing order, in the current colour and the
// usual alpha blending. A quad with another texture or colour than the queued
// ones draws those first.
void BatchQuad(uint32_t texture, const QuadCorner corners[4]);

// Draws the queued quads. Whatever reads or shows the picture calls it first.
void FlushQuads();

#endif

#endif
