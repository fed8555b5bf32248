// A bullet's frame of flight: the distance and direction it covers, and its
// still 16-pixel shape against the animated 64-pixel streak of slow motion.
#include "Bullet.h"
#include "SolidSpriteStore.h"

#include <gtest/gtest.h>

namespace {

TEST(BulletFlight, MovesSpeedTimesDtAlongItsAngle) {
    struct Case {
        double angle;
        float dx;
        float dy;
    };
    // Angle 0 is to the right and 90 is up; y grows downwards.
    const Case cases[] = {{0, 4, 0}, {90, 0, -4}, {180, -4, 0}, {270, 0, 4}, {-30, 3.4641016f, 2}};
    for (const Case& c : cases) {
        Bullet bullet(nullptr);
        bullet.setRect(100.0f, 50.0f, 16.0f, 4.0f);
        bullet.setAngle(c.angle);
        bullet.speed = 400.0f;
        bullet.update(0.01f, false);
        EXPECT_NEAR(bullet.getX(), 100.0f + c.dx, 1e-5) << "angle " << c.angle;
        EXPECT_NEAR(bullet.getY(), 50.0f + c.dy, 1e-5) << "angle " << c.angle;
        EXPECT_NEAR(bullet.getAngle(), c.angle, 1e-12) << "angle " << c.angle;
    }
}

TEST(BulletFlight, SlowMotionStretchesAndAnimatesOtherwiseFirstFrameStill) {
    SolidSpriteStore sprites({kRed, kRed, kRed, kRed, kRed, kRed, kRed});
    Bullet bullet(sprites.get());
    bullet.setAnimation(2, 5, 0.1f);
    bullet.setRect(0.0f, 0.0f, 16.0f, 4.0f);

    bullet.update(0.06f, true);
    EXPECT_EQ(bullet.getWidth(), 64.0f);
    EXPECT_EQ(bullet.currentSprite(), 2);
    bullet.update(0.06f, true);  // 0.12 s of game time: the next frame
    EXPECT_EQ(bullet.currentSprite(), 3);
    bullet.update(0.06f, true);
    bullet.update(0.06f, true);
    EXPECT_EQ(bullet.currentSprite(), 4);
    EXPECT_EQ(bullet.getHeight(), 4.0f);

    bullet.update(0.5f, false);
    EXPECT_EQ(bullet.getWidth(), 16.0f);
    EXPECT_EQ(bullet.currentSprite(), 2);
    EXPECT_EQ(bullet.getFrameTimer(), 0.0f);
    EXPECT_EQ(bullet.getHeight(), 4.0f);
}

}  // namespace
