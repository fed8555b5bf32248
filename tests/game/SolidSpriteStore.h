// A real sprite store for the actor tests: one solid-colour 8 x 8 image per
// sprite index, on the shared test window with the game's 640 x 480 view.
#ifndef ZIBO_TESTS_SOLID_SPRITE_STORE_H
#define ZIBO_TESTS_SOLID_SPRITE_STORE_H

#include "OutputCapture.h"
#include "PngWriter.h"
#include "SpriteManager.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class SolidSpriteStore {
public:
    explicit SolidSpriteStore(const std::vector<Rgba>& colours) {
        ResetTestCanvas();
        for (size_t n = 0; n < colours.size(); ++n) {
            EXPECT_TRUE(WriteSolidPng(dir.File(std::to_string(n) + ".png"), 8, 8, colours[n]));
        }
        OutputCapture quiet;
        store = new SpriteManager(dir.Path().c_str());
        store->SetViewSize(kTestWindowWidth, kTestWindowHeight);
    }
    ~SolidSpriteStore() { delete store; }
    SolidSpriteStore(const SolidSpriteStore&) = delete;
    SolidSpriteStore& operator=(const SolidSpriteStore&) = delete;

    SpriteManager* get() const { return store; }

private:
    TempDir dir;
    SpriteManager* store = nullptr;
};

inline void ExpectPixel(int x, int y, Rgba expected) {
    EXPECT_TRUE(PixelIs(x, y, expected));
}

#endif
