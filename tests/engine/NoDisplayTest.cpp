// The engine with no OpenGL context at all, as in a program that loads and
// draws before or without opening a window (the game itself ends when it gets
// none): loading and drawing must survive it. No test here opens the test
// window; each test runs in a process of its own.
#include "OutputCapture.h"
#include "PngWriter.h"
#include "SpriteManager.h"
#include "TestWindow.h"

#include <SDL_opengl.h>
#include <gtest/gtest.h>

namespace {

const Rgba kRed{255, 0, 0, 255};

TEST(NoDisplay, ThereIsNoContextInTheseTests) {
    EXPECT_EQ(glGetString(GL_VERSION), nullptr);
}

TEST(NoDisplay, ASpriteLoadsAndDrawsAsNothingWithoutAContext) {
    TempDir dir;
    ASSERT_TRUE(WriteSolidPng(dir.File("red.png"), 8, 8, kRed));
    SpriteManager* sprites;
    {
        OutputCapture numberedSetProbe;
        sprites = new SpriteManager(dir.Path().c_str());
    }
    sprites->SetViewSize(640, 480);
    OutputCapture capture;
    // The image itself is fine, so it gets its index; only its texture is
    // empty, and drawing it draws nothing.
    EXPECT_EQ(sprites->LoadSprite(dir.File("red.png").c_str()), 0);
    sprites->DrawSprite(0, 10, 10, 8, 8);
    delete sprites;
    EXPECT_EQ(capture.Err(), "");
}

}  // namespace
