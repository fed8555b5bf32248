// Turning an image file into an RGBA OpenGL texture, shared by the sprite
// store and the bitmap font.
#ifndef CINDERMILL_RGBA_TEXTURE_H
#define CINDERMILL_RGBA_TEXTURE_H

#include <cstdint>

struct SDL_Surface;

enum class ImageLoad { Loaded, Missing, NoMemory };

// Reads the image file into a new texture, whose name it stores, with linear
// filters; with blackIsClear, pure black pixels come out transparent black.
// Missing: the file does not load, and no texture name is taken. NoMemory: no
// surface for the conversion.
ImageLoad LoadRgbaTexture(const char* path, bool blackIsClear, uint32_t* textureName);

#ifdef __EMSCRIPTEN__
#include "SpriteAtlas.h"

// A sprite's image, on a page of the atlas where it fits there, else in a
// texture of its own (the whole of it, from (0, 0) to (1, 1)).
ImageLoad LoadSpriteRegion(const char* path, SpriteAtlas* atlas, AtlasRegion* region);
#else
// A new zeroed software surface of the image's size, 32 bits per pixel in the
// byte order red, green, blue, alpha, with the image blitted onto it. The
// image's own blending is switched off first, so pixels are copied, not mixed;
// colour-keyed pixels are skipped and stay transparent black. Null when the
// surface cannot be created.
SDL_Surface* CreateRgbaCopy(SDL_Surface* image);

// Binds the texture name, sets linear filters and builds its mipmaps from the
// RGBA surface. The surface's top row becomes t = 0. The texture stays bound.
// Without a current OpenGL context (no window) it does nothing.
void UploadRgbaTexture(uint32_t textureName, SDL_Surface* rgba);
#endif

#endif
