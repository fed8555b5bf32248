#include "RgbaTexture.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_opengl.h>

namespace {
const Uint32 kRedMask = 0x000000FF;
const Uint32 kGreenMask = 0x0000FF00;
const Uint32 kBlueMask = 0x00FF0000;
const Uint32 kAlphaMask = 0xFF000000;
const int kRgbaComponents = 4;
}  // namespace

SDL_Surface* CreateRgbaCopy(SDL_Surface* image) {
    SDL_SetAlpha(image, 0, 255);
    SDL_Surface* rgba = SDL_CreateRGBSurface(0, image->w, image->h, 32, kRedMask, kGreenMask,
                                             kBlueMask, kAlphaMask);
    if (rgba == nullptr) {
        return nullptr;
    }
    SDL_UpperBlit(image, nullptr, rgba, nullptr);
    return rgba;
}

void UploadRgbaTexture(uint32_t textureName, SDL_Surface* rgba) {
    // With no window there is no GL context: GLU would then parse the null
    // version string the driver gives and crash. The texture stays empty.
    if (glGetString(GL_VERSION) == nullptr) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    SDL_LockSurface(rgba);
    gluBuild2DMipmaps(GL_TEXTURE_2D, kRgbaComponents, rgba->w, rgba->h, GL_RGBA, GL_UNSIGNED_BYTE,
                      rgba->pixels);
    SDL_UnlockSurface(rgba);
}
