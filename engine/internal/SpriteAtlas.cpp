#include "SpriteAtlas.h"

#ifdef __EMSCRIPTEN__

#include <SDL_opengl.h>

namespace {
const int kPageSize = 512;
const int kLargestPlacedSide = 128;
const int kRgbaComponents = 4;
// A sprite's own texture wraps (its sides are powers of two), and linear
// filtering at its edges reads the opposite edge's texels. A frame of one
// texel copied from the opposite edges reads the same on a shared page.
const int kFrame = 1;

int Wrapped(int framedIndex, int size) {
    return (framedIndex - kFrame + size) % size;
}

std::vector<unsigned char> Framed(const unsigned char* rgba, int width, int height) {
    const int framedWidth = width + 2 * kFrame;
    const int framedHeight = height + 2 * kFrame;
    std::vector<unsigned char> framed(framedWidth * framedHeight * kRgbaComponents);
    for (int y = 0; y < framedHeight; ++y) {
        const unsigned char* row = rgba + Wrapped(y, height) * width * kRgbaComponents;
        for (int x = 0; x < framedWidth; ++x) {
            const unsigned char* texel = row + Wrapped(x, width) * kRgbaComponents;
            unsigned char* out = &framed[(y * framedWidth + x) * kRgbaComponents];
            for (int c = 0; c < kRgbaComponents; ++c) {
                out[c] = texel[c];
            }
        }
    }
    return framed;
}
}  // namespace

bool IsPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

SpriteAtlas::SpriteAtlas() : shelfX(0), shelfY(0), shelfHeight(0) {}

bool SpriteAtlas::Place(const unsigned char* rgba, int width, int height, AtlasRegion* region) {
    if (width > kLargestPlacedSide || height > kLargestPlacedSide || !IsPowerOfTwo(width) ||
        !IsPowerOfTwo(height)) {
        return false;
    }
    const int framedWidth = width + 2 * kFrame;
    const int framedHeight = height + 2 * kFrame;
    if (shelfX + framedWidth > kPageSize) {
        shelfX = 0;
        shelfY += shelfHeight;
        shelfHeight = 0;
    }
    if (pages.empty() || shelfY + framedHeight > kPageSize) {
        StartPage();
    }
    const std::vector<unsigned char> framed = Framed(rgba, width, height);
    glBindTexture(GL_TEXTURE_2D, pages.back());
    glTexSubImage2D(GL_TEXTURE_2D, 0, shelfX, shelfY, framedWidth, framedHeight, GL_RGBA,
                    GL_UNSIGNED_BYTE, framed.data());
    const float page = static_cast<float>(kPageSize);
    region->texture = pages.back();
    region->s0 = (shelfX + kFrame) / page;
    region->t0 = (shelfY + kFrame) / page;
    region->s1 = (shelfX + kFrame + width) / page;
    region->t1 = (shelfY + kFrame + height) / page;
    shelfX += framedWidth;
    if (framedHeight > shelfHeight) {
        shelfHeight = framedHeight;
    }
    return true;
}

void SpriteAtlas::StartPage() {
    uint32_t name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kPageSize, kPageSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 nullptr);
    pages.push_back(name);
    shelfX = 0;
    shelfY = 0;
    shelfHeight = 0;
}

#endif
