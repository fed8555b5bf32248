// The generated assets where the build put them, the catalogue's files as the
// game's asset manifest lists them, and images read back as the game reads
// them.
#ifndef ZIBO_TESTS_TOOLS_ASSET_FILES_H
#define ZIBO_TESTS_TOOLS_ASSET_FILES_H

#include "TestWindow.h"

#include <string>
#include <vector>

inline std::string BuiltAsset(const std::string& relative) {
    return std::string(ZIBO_BUILD_DIR) + "/" + relative;
}

#define ZIBO_FONT(image, definition)      \
    const char* const kFontImage = image; \
    const char* const kFontDefinition = definition;
#define ZIBO_MUSIC(file, track, artist, title) \
    const char* const kMusicTrack = file;      \
    const char* const kMusicArtist = artist;   \
    const char* const kMusicTitle = title;
#include "AssetManifest.def"

// The manifest's images with the size the game draws them at, in load order.
struct CatalogueImage {
    const char* file;
    int width, height;
    bool opaque;
};
const CatalogueImage kCatalogueImages[] = {
#define ZIBO_IMAGE(file, width, height, field, art) {file, width, height, false},
#define ZIBO_OPAQUE_IMAGE(file, width, height, field, art) {file, width, height, true},
#include "AssetManifest.def"
};
const char* const kCatalogueSamples[] = {
#define ZIBO_SAMPLE(file, field, sound) file,
#include "AssetManifest.def"
};

// An image loaded with IMG_Load and converted to RGBA bytes the way the
// sprite store converts it; empty when it cannot be loaded.
Picture LoadImageRgba(const std::string& path);

#endif
