// Shared texture pages for the browser's small sprites. A round alternates
// blood and corpse images thousands of times a frame; on one page they draw
// as one batch instead of one draw per switch.
#ifndef CINDERMILL_SPRITE_ATLAS_H
#define CINDERMILL_SPRITE_ATLAS_H

#ifdef __EMSCRIPTEN__

#include <cstdint>
#include <vector>

// Where an image lies: its texture and the texture coordinates of its corners.
struct AtlasRegion {
    uint32_t texture;
    float s0;
    float t0;
    float s1;
    float t1;
};

// WebGL 1 wraps and repeats only textures whose sides are powers of two.
bool IsPowerOfTwo(int value);

class SpriteAtlas {
public:
    SpriteAtlas();
    SpriteAtlas(const SpriteAtlas&) = delete;
    SpriteAtlas& operator=(const SpriteAtlas&) = delete;

    // Copies an RGBA image onto a page and says where. False for an image
    // that the pages do not take (too big, or a side not a power of two),
    // which then keeps a texture of its own.
    bool Place(const unsigned char* rgba, int width, int height, AtlasRegion* region);

private:
    void StartPage();

    // The pages' OpenGL names; they live on until the context ends, as the
    // sprite store's own textures do.
    std::vector<uint32_t> pages;
    // Images go left to right along a shelf as tall as its tallest image.
    int shelfX;
    int shelfY;
    int shelfHeight;
};

#endif

#endif
