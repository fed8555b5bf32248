#include "SpriteManager.h"

#include "Angles.h"
#include "NumberedPath.h"
#include "RgbaTexture.h"

#ifdef __EMSCRIPTEN__
#include "QuadBatch.h"
#include "SpriteAtlas.h"

#include <cmath>
#endif

#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const int32_t kUnsetViewSize = 100000;
const size_t kPathBufferSize = 200;
const int kOutOfMemoryExitCode = 1;
// Mesa's software renderers (llvmpipe, and softpipe behind it) queue every
// draw of a frame and rasterise them only on a flush, and each texture
// switch stores a copy of the whole sampler state (some 50 KB) in that
// queue. A late round draws thousands of decals that alternate blood and
// corpse images: the queue grows by hundreds of megabytes a frame, all of it
// written and read again. Waiting for the renderer after this many switches
// keeps the queue to a few megabytes that stay in the cache; the drawing and
// its order are the same, so the picture is too.
const int32_t kTextureSwitchesPerWait = 32;
const char* const kSoftwareRenderers[] = {"llvmpipe", "softpipe"};

bool IsSoftwareRenderer() {
    const GLubyte* name = glGetString(GL_RENDERER);
    if (name == nullptr) {
        return false;
    }
    for (const char* renderer : kSoftwareRenderers) {
        if (strstr(reinterpret_cast<const char*>(name), renderer) != nullptr) {
            return true;
        }
    }
    return false;
}
}  // namespace

SpriteManager::SpriteManager(const char* directory)
    : softwareRenderer(IsSoftwareRenderer()), lastDrawnTexture(0), switchesSinceWait(0) {
#ifdef __EMSCRIPTEN__
    atlas = new SpriteAtlas();
#endif
    char path[kPathBufferSize];
    for (int32_t n = 0;; ++n) {
        if (!FormatNumberedPath(path, sizeof(path), directory, n, "png")) {
            fprintf(stderr, "Sorry, sprite %s is missing\n", path);
            printf("Loaded %i sprites\n", n);
            break;
        }
        if (LoadSprite(path) == -1) {
            printf("Loaded %i sprites\n", n);
            break;
        }
    }
    viewWidth = kUnsetViewSize;
    viewHeight = kUnsetViewSize;
}

SpriteManager::~SpriteManager() {
    Clear();
#ifdef __EMSCRIPTEN__
    delete atlas;
#endif
}

int32_t SpriteManager::LoadSprite(const char* path) {
    uint32_t* name = new uint32_t(0);
#ifdef __EMSCRIPTEN__
    AtlasRegion region = {};
    const ImageLoad loaded = LoadSpriteRegion(path, atlas, &region);
    *name = region.texture;
    if (loaded == ImageLoad::Loaded) {
        regions.push_back({region.s0, region.t0, region.s1, region.t1});
    }
#else
    const ImageLoad loaded = LoadRgbaTexture(path, false, name);
#endif
    if (loaded == ImageLoad::Missing) {
        delete name;
        fprintf(stderr, "Sorry, sprite %s is missing\n", path);
        return -1;
    }
    if (loaded == ImageLoad::NoMemory) {
        fprintf(stderr,
                "FAIL %s, %i) New surface couldn't be created for %s. Likely cause: out of RAM\n",
                "engine\\SpriteManager", __LINE__, path);
        exit(kOutOfMemoryExitCode);
    }
    textures.push_back(name);
    return GetSpriteCount() - 1;
}

void SpriteManager::DrawSprite(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height,
                               float angle) {
    if (x == kCentreSentinel && y == kCentreSentinel) {
        x = viewWidth / 2;
        y = viewHeight / 2;
    }
    if (x < -width || x >= viewWidth || y < -height || y >= viewHeight) {
        return;
    }
    // Integer halves: an odd size comes out one pixel smaller.
    const float halfWidth = static_cast<float>(width / 2);
    const float halfHeight = static_cast<float>(height / 2);

#ifdef __EMSCRIPTEN__
    BatchSprite(index, x, y, halfWidth, halfHeight, angle);
#else
    glPushMatrix();
    glTranslatef(x + halfWidth, y + halfHeight, 0);
    // The half turn, together with the corner order below, shows angle 0 upright.
    glRotatef(kHalfTurnDegrees - angle, 0, 0, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const uint32_t* name = GetTexture(index);
    if (name == nullptr) {
        fprintf(stderr, "FAIL) Requested dead sprite %i to be drawn at (%i,%i)\n", index, x, y);
        glPopMatrix();
        return;
    }
    BoundRendererBacklog(*name);
    glBindTexture(GL_TEXTURE_2D, *name);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(halfWidth, halfHeight);
    glTexCoord2f(1, 0);
    glVertex2f(-halfWidth, halfHeight);
    glTexCoord2f(1, 1);
    glVertex2f(-halfWidth, -halfHeight);
    glTexCoord2f(0, 1);
    glVertex2f(halfWidth, -halfHeight);
    glEnd();
    glPopMatrix();
#endif
}

void SpriteManager::DrawSprite(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height) {
    DrawSprite(index, x, y, width, height, 0.0f);
}

#ifdef __EMSCRIPTEN__
void SpriteManager::BatchSprite(int32_t index, int32_t x, int32_t y, float halfWidth,
                                float halfHeight, float angle) {
    const uint32_t* name = GetTexture(index);
    if (name == nullptr) {
        fprintf(stderr, "FAIL) Requested dead sprite %i to be drawn at (%i,%i)\n", index, x, y);
        return;
    }
    const Region& r = regions[index];
    const float centreX = x + halfWidth;
    const float centreY = y + halfHeight;
    // The desktop's half turn, as glRotatef would make it.
    const double radians = (kHalfTurnDegrees - angle) * kPi / kHalfTurnDegrees;
    const float c = static_cast<float>(cos(radians));
    const float s = static_cast<float>(sin(radians));
    // The corner order of the desktop's quad, and so its upright picture.
    const float local[4][2] = {{halfWidth, halfHeight},
                               {-halfWidth, halfHeight},
                               {-halfWidth, -halfHeight},
                               {halfWidth, -halfHeight}};
    const float texture[4][2] = {{r.s0, r.t0}, {r.s1, r.t0}, {r.s1, r.t1}, {r.s0, r.t1}};
    QuadCorner corners[4];
    for (int i = 0; i < 4; ++i) {
        corners[i] = {centreX + c * local[i][0] - s * local[i][1],
                      centreY + s * local[i][0] + c * local[i][1], texture[i][0], texture[i][1]};
    }
    BatchQuad(*name, corners);
}
#endif

void SpriteManager::BoundRendererBacklog(uint32_t texture) {
    if (!softwareRenderer || texture == lastDrawnTexture) {
        return;
    }
    lastDrawnTexture = texture;
    if (++switchesSinceWait < kTextureSwitchesPerWait) {
        return;
    }
    switchesSinceWait = 0;
    glFinish();
}

const uint32_t* SpriteManager::GetTexture(int32_t index) const {
    if (index < 0 || index >= GetSpriteCount()) {
        fprintf(stderr, "Requested sprite %i is out of bounds\n", index);
        return nullptr;
    }
    return textures[index];
}

void SpriteManager::SetViewSize(int32_t width, int32_t height) {
    viewWidth = width;
    viewHeight = height;
}

void SpriteManager::Clear() {
    for (uint32_t* name : textures) {
        delete name;
    }
    textures.clear();
    textures.shrink_to_fit();
#ifdef __EMSCRIPTEN__
    regions.clear();
#endif
}
