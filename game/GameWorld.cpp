// The world layer under every screen: the floor, the decals and the player.
#include "Game.h"

#include "GameState.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

#include <cstdlib>

namespace {
const int32_t kFloorTileSize = 256;
const int kFloorTileCount = 3;
}  // namespace

void Game::chooseFloor() {
    floorChoice = rand() % kFloorTileCount;
}

void Game::drawWorld() {
    drawFloor();
    // The battlefield fades out with the statistics screen into a new round.
    if (state == StatisticsToPlay) {
        glColor4f(1, 1, 1, fadeAlpha);
    }
    for (Actor& decal : decals) {
        drawInWorld(decal);
    }
    drawInWorld(*player);
}

void Game::drawFloor() {
    // Drawn in the colour the previous frame left, which is opaque white.
    for (int32_t y = 0; y < screenHeight; y += kFloorTileSize) {
        for (int32_t x = 0; x < screenWidth; x += kFloorTileSize) {
            sprites->DrawSprite(floorSprites[floorChoice], x, y, kFloorTileSize, kFloorTileSize);
        }
    }
}

void Game::drawInWorld(Actor& actor) {
    // Half the actor's size in the view centre puts the sprite's middle, not
    // its corner, on the actor's (x, y).
    const int viewX = static_cast<int>(actor.getWidth()) / 2 + static_cast<int>(camera->getX());
    const int viewY = static_cast<int>(actor.getHeight()) / 2 + static_cast<int>(camera->getY());
    actor.draw(viewX, viewY);
}
