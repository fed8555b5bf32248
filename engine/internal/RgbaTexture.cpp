#include "RgbaTexture.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_opengl.h>

#ifdef __EMSCRIPTEN__

// The browser's SDL surfaces live in canvases, whose premultiplied alpha
// would change every half-clear pixel: the file is decoded by the stb_image
// that the build links in, straight into bytes.
extern "C" unsigned char* stbi_load(const char* path, int* width, int* height, int* components,
                                    int wantedComponents);
extern "C" void stbi_image_free(void* pixels);

namespace {
const int kRgbaComponents = 4;

void ClearBlack(unsigned char* pixels, int count) {
    for (unsigned char* pixel = pixels; pixel < pixels + count * kRgbaComponents;
         pixel += kRgbaComponents) {
        if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) {
            pixel[3] = 0;
        }
    }
}

unsigned char* Decode(const char* path, bool blackIsClear, int* width, int* height) {
    int components = 0;
    unsigned char* pixels = stbi_load(path, width, height, &components, kRgbaComponents);
    if (pixels != nullptr && blackIsClear) {
        ClearBlack(pixels, *width * *height);
    }
    return pixels;
}

void UploadOwnTexture(const unsigned char* pixels, int width, int height, uint32_t* textureName) {
    glGenTextures(1, textureName);
    glBindTexture(GL_TEXTURE_2D, *textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // WebGL samples an image whose sides are not powers of two only clamped;
    // the others wrap, as they do on the desktop.
    if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}
}  // namespace

ImageLoad LoadRgbaTexture(const char* path, bool blackIsClear, uint32_t* textureName) {
    int width = 0;
    int height = 0;
    unsigned char* pixels = Decode(path, blackIsClear, &width, &height);
    if (pixels == nullptr) {
        return ImageLoad::Missing;
    }
    UploadOwnTexture(pixels, width, height, textureName);
    stbi_image_free(pixels);
    return ImageLoad::Loaded;
}

ImageLoad LoadSpriteRegion(const char* path, SpriteAtlas* atlas, AtlasRegion* region) {
    int width = 0;
    int height = 0;
    unsigned char* pixels = Decode(path, false, &width, &height);
    if (pixels == nullptr) {
        return ImageLoad::Missing;
    }
    if (!atlas->Place(pixels, width, height, region)) {
        UploadOwnTexture(pixels, width, height, &region->texture);
        *region = {region->texture, 0, 0, 1, 1};
    }
    stbi_image_free(pixels);
    return ImageLoad::Loaded;
}

#else

#include <SDL_image.h>

namespace {
const Uint32 kRedMask = 0x000000FF;
const Uint32 kGreenMask = 0x0000FF00;
const Uint32 kBlueMask = 0x00FF0000;
const Uint32 kAlphaMask = 0xFF000000;
const int kRgbaComponents = 4;
}  // namespace

ImageLoad LoadRgbaTexture(const char* path, bool blackIsClear, uint32_t* textureName) {
    SDL_Surface* image = IMG_Load(path);
    if (image == nullptr) {
        return ImageLoad::Missing;
    }
    if (blackIsClear) {
        SDL_SetColorKey(image, SDL_SRCCOLORKEY, SDL_MapRGB(image->format, 0, 0, 0));
    }
    glGenTextures(1, textureName);
    SDL_Surface* rgba = CreateRgbaCopy(image);
    SDL_FreeSurface(image);
    if (rgba == nullptr) {
        return ImageLoad::NoMemory;
    }
    UploadRgbaTexture(*textureName, rgba);
    SDL_FreeSurface(rgba);
    return ImageLoad::Loaded;
}

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

#endif
