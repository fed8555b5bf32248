// The files the generator makes, named as the game loads them at start-up,
// relative to the directory that holds "sprites" and "sfx". The
// generator and its tests share this list.
#ifndef ZIBO_TOOLS_ASSET_CATALOGUE_H
#define ZIBO_TOOLS_ASSET_CATALOGUE_H

// The 37 named images, in the game's load order.
static const char* const kCatalogueImages[] = {
    "sprites/player01.png",   "sprites/player02.png",   "sprites/player03.png",
    "sprites/player04.png",   "sprites/player05.png",   "sprites/badguy0101.png",
    "sprites/badguy0102.png", "sprites/badguy0103.png", "sprites/badguy0104.png",
    "sprites/badguy0105.png", "sprites/cat01.png",      "sprites/cat02.png",
    "sprites/cat03.png",      "sprites/cat04.png",      "sprites/cat05.png",
    "sprites/bullet01.png",   "sprites/bullet02.png",   "sprites/bullet03.png",
    "sprites/bullet04.png",   "sprites/bullet05.png",   "sprites/blood01.png",
    "sprites/blood02.png",    "sprites/blood03.png",    "sprites/grid.png",
    "sprites/metalfloor.png", "sprites/floor.png",      "sprites/Cindermill.png",
    "sprites/slowmo.png",     "sprites/health.png",     "sprites/pixel.png",
    "sprites/zibo01.png",     "sprites/zibo02.png",     "sprites/zibo03.png",
    "sprites/gameover01.png", "sprites/gameover02.png", "sprites/credits01.png",
    "sprites/credits02.png",
};
static const int kCatalogueImageCount = sizeof(kCatalogueImages) / sizeof(kCatalogueImages[0]);

static const char* const kFontImage = "sprites/font.png";
static const char* const kFontDefinition = "sprites/font.fnt";

// The 12 named samples, in the game's load order.
static const char* const kCatalogueSamples[] = {
    "sfx/man0.wav",       "sfx/man1.wav",       "sfx/man2.wav",  "sfx/man0_slow.wav",
    "sfx/man1_slow.wav",  "sfx/man2_slow.wav",  "sfx/shot0.wav", "sfx/shot1.wav",
    "sfx/shot0_slow.wav", "sfx/shot1_slow.wav", "sfx/cat0.wav",  "sfx/cat0_slow.wav",
};
static const int kCatalogueSampleCount = sizeof(kCatalogueSamples) / sizeof(kCatalogueSamples[0]);

// Music track 0, looped for the whole run.
static const char* const kMusicTrack = "sfx/0.ogg";

// The ID3v1 title and artist of the music track.
static const char* const kMusicTitle = "Zibonauts Theme";
static const char* const kMusicArtist = "The Zibonauts";

// Slowed samples play at a quarter of the speed and pitch.
static const int kSlowFactor = 4;

#endif
