// Start-up: the objects that live for the whole run, and the asset catalogue
// loaded in the manifest's order, which gives every sprite set consecutive
// indices.
#include "Game.h"

#include "GamePad.h"
#include "GameState.h"
#include "MusicPlayer.h"
#include "OruBitmapFont.h"
#include "SoundBank.h"
#include "SpriteManager.h"
#include "Video.h"

#include <cstdlib>
#include <ctime>

namespace {
const char* const kSpriteDirectory = "sprites";
const char* const kSoundDirectory = "sfx";
const int32_t kPlayerFrames = 4;
const float kPlayerFrameSeconds = 0.15f;
}  // namespace

void Game::startUp(int32_t width, int32_t height) {
    srand(static_cast<unsigned>(time(nullptr)));
    screenWidth = width;
    screenHeight = height;
    chooseFloor();
    quit = false;
    catMode = false;
    state = TitleScreen;
    sprites = new SpriteManager(kSpriteDirectory);
    sprites->SetViewSize(width, height);
    music = new MusicPlayer(kSoundDirectory);
    sounds = new SoundBank(kSoundDirectory);
    loadSprites();
    loadSounds();
    camera = new Actor(sprites);
    camera->setX(0.0f);
    camera->setY(0.0f);
    player = new Actor(sprites);
    player->setAnimation(playerSprite, kPlayerFrames, kPlayerFrameSeconds);
    placePlayerAtCentre();
    fadeAlpha = 1.0f;
    loadFont();
    playTheme();
    OpenGamePad();
    lastPadScan = GetTicks();
}

void Game::loadSprites() {
    int32_t unkept;
#define ZIBO_IMAGE(file, width, height, field, art) field = sprites->LoadSprite(file);
#include "AssetManifest.def"
    (void)unkept;
}

void Game::loadSounds() {
#define ZIBO_SAMPLE(file, field, sound) field = sounds->LoadSample(file);
#include "AssetManifest.def"
}

void Game::loadFont() {
#define ZIBO_FONT(image, definition) font = new OruBitmapFont(image, definition);
#include "AssetManifest.def"
}

void Game::playTheme() {
#define ZIBO_MUSIC(file, track, artist, title) music->PlayTrack(track, true);
#include "AssetManifest.def"
}
