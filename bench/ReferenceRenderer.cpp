#include "ReferenceRenderer.h"

#include "Video.h"

#include <SDL_opengl.h>

ReferenceRenderer::ReferenceRenderer(const QuadList& list) {
    // Batches in the order in which their textures first appear; within a
    // batch the quads keep their order.
    for (const Quad& quad : list.quads) {
        Batch* batch = nullptr;
        for (Batch& candidate : batches) {
            if (candidate.texture == quad.texture) {
                batch = &candidate;
                break;
            }
        }
        if (batch == nullptr) {
            batches.push_back(Batch{quad.texture, {}});
            batch = &batches.back();
        }
        batch->corners.insert(batch->corners.end(), quad.corners, quad.corners + 4);
    }
}

void ReferenceRenderer::drawFrame() const {
    ClearScreen();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const Batch& batch : batches) {
        glBindTexture(GL_TEXTURE_2D, batch.texture);
        glBegin(GL_QUADS);
        for (const QuadCorner& c : batch.corners) {
            glColor4f(c.red, c.green, c.blue, c.alpha);
            glTexCoord2f(c.s, c.t);
            glVertex2f(c.x, c.y);
        }
        glEnd();
    }
    // The game's next frame starts its floor in the colour it finds.
    glColor4f(1, 1, 1, 1);
    SwapBuffers();
    Delay(0);
}
