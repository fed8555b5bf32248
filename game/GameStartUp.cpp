// Start-up: the asset catalogue, loaded in an order that gives every sprite
// set consecutive indices, and the objects that live for the whole run.
#include "Game.h"

#include "GameState.h"
#include "MusicPlayer.h"
#include "OruBitmapFont.h"
#include "SoundBank.h"
#include "SpriteManager.h"

#include <cstdlib>
#include <ctime>

namespace {
const char* const kSpriteDirectory = "sprites";
const char* const kSoundDirectory = "sfx";
const char* const kFontImage = "sprites/font.png";
const char* const kFontDefinition = "sprites/font.fnt";
const int32_t kPlayerFrames = 4;
const float kPlayerFrameSeconds = 0.15f;
const int32_t kThemeTrack = 0;
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
    font = new OruBitmapFont(kFontImage, kFontDefinition);
    music->PlayTrack(kThemeTrack, true);
}

void Game::loadSprites() {
    // Within a set only the first index is kept: the others follow it.
    playerSprite = sprites->LoadSprite("sprites/player01.png");
    sprites->LoadSprite("sprites/player02.png");
    sprites->LoadSprite("sprites/player03.png");
    sprites->LoadSprite("sprites/player04.png");
    playerDeadSprite = sprites->LoadSprite("sprites/player05.png");
    badGuySprite = sprites->LoadSprite("sprites/badguy0101.png");
    sprites->LoadSprite("sprites/badguy0102.png");
    sprites->LoadSprite("sprites/badguy0103.png");
    sprites->LoadSprite("sprites/badguy0104.png");
    sprites->LoadSprite("sprites/badguy0105.png");
    catSprite = sprites->LoadSprite("sprites/cat01.png");
    sprites->LoadSprite("sprites/cat02.png");
    sprites->LoadSprite("sprites/cat03.png");
    sprites->LoadSprite("sprites/cat04.png");
    sprites->LoadSprite("sprites/cat05.png");
    bulletSprite = sprites->LoadSprite("sprites/bullet01.png");
    sprites->LoadSprite("sprites/bullet02.png");
    sprites->LoadSprite("sprites/bullet03.png");
    sprites->LoadSprite("sprites/bullet04.png");
    sprites->LoadSprite("sprites/bullet05.png");
    bloodSprite = sprites->LoadSprite("sprites/blood01.png");
    sprites->LoadSprite("sprites/blood02.png");
    sprites->LoadSprite("sprites/blood03.png");
    floorSprites[0] = sprites->LoadSprite("sprites/grid.png");
    floorSprites[1] = sprites->LoadSprite("sprites/metalfloor.png");
    floorSprites[2] = sprites->LoadSprite("sprites/floor.png");
    sprites->LoadSprite("sprites/Cindermill.png");  // the engine's splash, never drawn
    slowMoOverlaySprite = sprites->LoadSprite("sprites/slowmo.png");
    hudSprite = sprites->LoadSprite("sprites/health.png");
    pixelSprite = sprites->LoadSprite("sprites/pixel.png");
    titleSprites[0] = sprites->LoadSprite("sprites/zibo01.png");
    titleSprites[1] = sprites->LoadSprite("sprites/zibo02.png");
    titleSprites[2] = sprites->LoadSprite("sprites/zibo03.png");
    gameOverSprites[0] = sprites->LoadSprite("sprites/gameover01.png");
    gameOverSprites[1] = sprites->LoadSprite("sprites/gameover02.png");
    creditsSprites[0] = sprites->LoadSprite("sprites/credits01.png");
    creditsSprites[1] = sprites->LoadSprite("sprites/credits02.png");
}

void Game::loadSounds() {
    manSounds[0] = sounds->LoadSample("sfx/man0.wav");
    manSounds[1] = sounds->LoadSample("sfx/man1.wav");
    manSounds[2] = sounds->LoadSample("sfx/man2.wav");
    manSlowSounds[0] = sounds->LoadSample("sfx/man0_slow.wav");
    manSlowSounds[1] = sounds->LoadSample("sfx/man1_slow.wav");
    manSlowSounds[2] = sounds->LoadSample("sfx/man2_slow.wav");
    shotSounds[0] = sounds->LoadSample("sfx/shot0.wav");
    shotSounds[1] = sounds->LoadSample("sfx/shot1.wav");
    shotSlowSounds[0] = sounds->LoadSample("sfx/shot0_slow.wav");
    shotSlowSounds[1] = sounds->LoadSample("sfx/shot1_slow.wav");
    catSound = sounds->LoadSample("sfx/cat0.wav");
    catSlowSound = sounds->LoadSample("sfx/cat0_slow.wav");
}
