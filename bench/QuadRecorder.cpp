#include "QuadRecorder.h"

#include <SDL_opengl.h>

extern "C" {
void __real_glBindTexture(GLenum target, GLuint texture);
void __real_glBlendFunc(GLenum source, GLenum destination);
void __real_glBegin(GLenum mode);
void __real_glEnd();
void __real_glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void __real_glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void __real_glTexCoord2f(GLfloat s, GLfloat t);
void __real_glVertex2f(GLfloat x, GLfloat y);
void __real_glVertex2i(GLint x, GLint y);
}

namespace {
struct RecorderState {
    bool recording = false;
    GLuint texture = 0;
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    GLenum mode = 0;
    float colour[4] = {1, 1, 1, 1};
    float texCoord[2] = {0, 0};
    // Projection times model-view, column-major, taken at glBegin.
    float transform[16] = {};
    float viewportWidth = 0;
    float viewportHeight = 0;
    std::vector<QuadCorner> corners;
    std::vector<Quad> quads;
    int unexpected = 0;
};

RecorderState state;

void Multiply(const float* a, const float* b, float* product) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
}

void TakeTransform() {
    float projection[16];
    float modelView[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetIntegerv(GL_VIEWPORT, viewport);
    Multiply(projection, modelView, state.transform);
    state.viewportWidth = static_cast<float>(viewport[2]);
    state.viewportHeight = static_cast<float>(viewport[3]);
}

void AddCorner(float x, float y) {
    const float* m = state.transform;
    const float clipX = m[0] * x + m[4] * y + m[12];
    const float clipY = m[1] * x + m[5] * y + m[13];
    const float clipW = m[3] * x + m[7] * y + m[15];
    QuadCorner corner;
    corner.s = state.texCoord[0];
    corner.t = state.texCoord[1];
    // Back from normalised device coordinates into the game's window
    // coordinates, y down.
    corner.x = (clipX / clipW + 1.0f) * 0.5f * state.viewportWidth;
    corner.y = (1.0f - clipY / clipW) * 0.5f * state.viewportHeight;
    corner.red = state.colour[0];
    corner.green = state.colour[1];
    corner.blue = state.colour[2];
    corner.alpha = state.colour[3];
    state.corners.push_back(corner);
}

bool EngineBlending() {
    return state.blendSource == GL_SRC_ALPHA && state.blendDestination == GL_ONE_MINUS_SRC_ALPHA;
}
}  // namespace

void StartQuadRecording() {
    state.quads.clear();
    state.unexpected = 0;
    state.recording = true;
}

std::vector<Quad> StopQuadRecording() {
    state.recording = false;
    return state.quads;
}

int UnexpectedPrimitiveCount() {
    return state.unexpected;
}

extern "C" {
void __wrap_glBindTexture(GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D) {
        state.texture = texture;
    }
    __real_glBindTexture(target, texture);
}

void __wrap_glBlendFunc(GLenum source, GLenum destination) {
    state.blendSource = source;
    state.blendDestination = destination;
    __real_glBlendFunc(source, destination);
}

void __wrap_glBegin(GLenum mode) {
    state.mode = mode;
    state.corners.clear();
    if (state.recording) {
        TakeTransform();
    }
    __real_glBegin(mode);
}

void __wrap_glEnd() {
    __real_glEnd();
    if (!state.recording) {
        return;
    }
    if (state.mode != GL_QUADS || state.corners.size() % 4 != 0 || !EngineBlending()) {
        ++state.unexpected;
        return;
    }
    for (size_t i = 0; i < state.corners.size(); i += 4) {
        Quad quad;
        quad.texture = state.texture;
        for (int k = 0; k < 4; ++k) {
            quad.corners[k] = state.corners[i + k];
        }
        state.quads.push_back(quad);
    }
}

void __wrap_glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = alpha;
    __real_glColor4f(red, green, blue, alpha);
}

void __wrap_glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    state.colour[0] = red;
    state.colour[1] = green;
    state.colour[2] = blue;
    state.colour[3] = 1.0f;
    __real_glColor3f(red, green, blue);
}

void __wrap_glTexCoord2f(GLfloat s, GLfloat t) {
    state.texCoord[0] = s;
    state.texCoord[1] = t;
    __real_glTexCoord2f(s, t);
}

void __wrap_glVertex2f(GLfloat x, GLfloat y) {
    if (state.recording) {
        AddCorner(x, y);
    }
    __real_glVertex2f(x, y);
}

void __wrap_glVertex2i(GLint x, GLint y) {
    if (state.recording) {
        AddCorner(static_cast<float>(x), static_cast<float>(y));
    }
    __real_glVertex2i(x, y);
}
}
