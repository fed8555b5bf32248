// Turning a loaded image into a mipmapped RGBA OpenGL texture, shared by the
// sprite store and the bitmap font.
#ifndef CINDERMILL_RGBA_TEXTURE_H
#define CINDERMILL_RGBA_TEXTURE_H

#include <cstdint>

struct SDL_Surface;

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
