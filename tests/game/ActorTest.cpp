// The actors by themselves: the animation clock as the sprite it shows, the
// angle arithmetic with the program's own pi, the inclusive box test, where a
// draw lands on the screen, a bullet's flight and an enemy's chase.
#include "GameHarness.h"

#include <cmath>
#include <limits>

namespace {

// A sprite store of solid colour 8 x 8 images, one per index, on the test
// window with the game's 640 x 480 view.
class SolidSprites {
public:
    explicit SolidSprites(const std::vector<Rgba>& colours) {
        ResetTestCanvas();
        for (size_t n = 0; n < colours.size(); ++n) {
            EXPECT_TRUE(WriteSolidPng(dir.File(std::to_string(n) + ".png"), 8, 8, colours[n]));
        }
        OutputCapture quiet;
        store.reset(new SpriteManager(dir.Path().c_str()));
        store->SetViewSize(kTestWindowWidth, kTestWindowHeight);
    }
    SpriteManager* get() const { return store.get(); }

private:
    TempDir dir;
    std::unique_ptr<SpriteManager> store;
};

TEST(ActorAnimation, OneStepPerCallTheExcessDroppedAndTheLastFrameWraps) {
    SolidSprites sprites(std::vector<Rgba>(6, kRed));
    Actor actor(sprites.get());
    actor.setAnimation(1, 4, 0.15f);
    // Seconds passed and the sprite then shown: one step however long the
    // call, the clock starting again from 0 after each, exactly the duration
    // stepping, and past the last frame back to the first.
    const float steps[][2] = {{0.5f, 2}, {0.1f, 2}, {0.05f, 3}, {0.1f, 3},
                              {0.1f, 4}, {0.1f, 4}, {0.1f, 1}};
    for (const auto& step : steps) {
        actor.animate(step[0]);
        EXPECT_EQ(actor.currentSprite(), step[1]) << "after " << step[0];
    }
    for (int count : {0, 1}) {
        actor.setAnimation(0, count, 0.0f);
        actor.animate(0.0f);  // a zero duration steps on every call
        actor.animate(0.0f);
        EXPECT_EQ(actor.currentSprite(), 0) << count << " frames";
    }
}

TEST(ActorAnimation, AHeldSpriteShowsUntilTheNextStepWhichLeavesTheFrame) {
    SolidSprites sprites(std::vector<Rgba>(4, kRed));
    Actor actor(sprites.get());
    actor.setAnimation(0, 4, 0.15f);
    actor.animate(0.2f);
    actor.animate(0.1f);
    actor.holdFrame(9);  // also starts the clock again
    actor.animate(0.1f);
    EXPECT_EQ(actor.currentSprite(), 9);
    actor.animate(0.1f);
    EXPECT_EQ(actor.currentSprite(), 1);
    actor.holdFrame(9);
    actor.animate(0.1f);
    actor.resetAnimation();
    EXPECT_EQ(actor.currentSprite(), 0);
    actor.animate(0.1f);  // the clock was reset too
    EXPECT_EQ(actor.currentSprite(), 0);
}

TEST(ActorAnimation, SetAnimationAppliesOnlyTheValidArgumentsAndKeepsTheClock) {
    SolidSprites sprites(std::vector<Rgba>(3, kRed));
    Actor actor(sprites.get());
    actor.setAnimation(1, 2, 0.5f);
    actor.animate(0.5f);
    actor.setAnimation(-1, -1, -1.0f);
    actor.animate(0.25f);
    EXPECT_EQ(actor.currentSprite(), 2);  // duration 0.5 kept
    actor.animate(0.25f);
    actor.animate(0.5f);
    EXPECT_EQ(actor.currentSprite(), 2);  // two frames from sprite 1 kept
    actor.setAnimation(3, 4, 0.2f);       // no sprite 3 in a store of three
    actor.animate(0.2f);
    EXPECT_EQ(actor.currentSprite(), 3);
    actor.setAnimation(2, 0, 0.0f);
    EXPECT_EQ(actor.currentSprite(), 4);  // the frame stays where it stood
}

TEST(ActorAngles, FoldingWrappingTurningAndTheProgramsPi) {
    Actor actor(nullptr);
    const double inf = std::numeric_limits<double>::infinity();
    ExpectValues(actor.normalizeAngle(720), 0, actor.normalizeAngle(-90), 270,
                 actor.normalizeAngle(360), 0, actor.normalizeAngle(359.75), 359.75,
                 actor.normalizeAngle(1e12 + 0.5), 280.5, actor.normalizeAngle(inf), 0,
                 actor.angleBetween(350, 10), 20, actor.angleBetween(10, 350), -20,
                 actor.angleBetween(0, 180), 180, actor.angleBetween(-90, 90), -180,
                 actor.angleBetween(730, -700), 10);
    // From, to, then: a dead zone of 3 degrees on the raw difference from the
    // folded angle, then a step towards the wrapped difference's side.
    const double turns[][3] = {{10, 12, 10}, {10, 8, 10},    {10, 13, 15},
                               {10, 7, 5},   {730, 12, 730}, {359, 0, 364},
                               {0, 358, -5}, {0, 180, 5},    {0, 181, -5}};
    for (const auto& t : turns) {
        actor.setAngle(t[0]);
        actor.turnToward(5.0, t[1]);
        EXPECT_EQ(actor.getAngle(), t[2]) << "from " << t[0] << " to " << t[1];
    }
    // 180 less the error of the factor built on 3.141592654; below 2 radians
    // (not 0) a single-precision two pi is added.
    actor.setRect(10.0f, 20.0f, 32.0f, 32.0f);
    EXPECT_NEAR(actor.angleTo(50.0f, 20.0f), 179.99999997649688, 1e-9);  // right
    EXPECT_NEAR(actor.angleTo(10.0f, 60.0f), 450.00000995915486, 1e-9);  // below
    EXPECT_NEAR(actor.angleTo(static_cast<float>(10 - 40 / std::tan(2.0001)), 60), 114.5973, 1e-3);
    EXPECT_NEAR(actor.angleTo(static_cast<float>(10 - 40 / std::tan(1.9999)), 60), 474.5858, 1e-3);
    // The point ahead puts the sine on x and the cosine on y; the actor stays.
    actor.setAngle(90.0);
    ExpectValues(actor.aheadX(10), 20, actor.aheadY(10), 20, actor.getX(), 10);
}

TEST(ActorBoxes, TouchingEdgesOverlap) {
    Actor a(nullptr);
    Actor b(nullptr);
    a.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    const float cases[][4] = {{32, 0, 32, 1},     {-32, 0, 32, 1},    {0, 32, 32, 1},
                              {0, -32, 32, 1},    {32, 32, 32, 1},    {8, 8, 4, 1},
                              {32.5f, 0, 32, 0},  {-32.5f, 0, 32, 0}, {0, 32.5f, 32, 0},
                              {0, -32.5f, 32, 0}, {32.5f, 32, 32, 0}};
    for (const auto& c : cases) {
        b.setRect(c[0], c[1], c[2], c[2]);
        EXPECT_EQ(a.overlaps(b), c[3] != 0) << c[0] << ", " << c[1];
        EXPECT_EQ(b.overlaps(a), c[3] != 0) << c[0] << ", " << c[1];
    }
    a.setWidth(-1.0f);  // ignored
    EXPECT_EQ(a.getWidth(), 32.0f);
}

TEST(ActorDrawing, TheBoxsCornerLandsAtTheViewCentreCutTowardsZero) {
    SolidSprites sprites({kRed, kGreen});
    Actor actor(sprites.get());
    actor.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    actor.draw(16, 16);  // the game's view offset for a 32 x 32 actor
    ExpectPixels({{304, 224, kRed}, {335, 255, kRed}, {303, 224, kBlack}, {336, 255, kBlack}});
    for (float x : {1.5f, -1.5f}) {
        ResetTestCanvas();
        actor.setRect(x, 0.0f, 4.0f, 4.0f);
        actor.draw(0, 0);
        ExpectPixels(
            {{320 + static_cast<int>(x), 241, kRed}, {319 + static_cast<int>(x), 241, kBlack}});
    }
    // The current frame, turned by the angle: 64 x 4 upright about (352, 242).
    ResetTestCanvas();
    actor.setRect(0.0f, 0.0f, 64.0f, 4.0f);
    actor.setAnimation(0, 2, 0.0f);
    actor.animate(0.0f);
    actor.setAngle(90.0);
    actor.draw(0, 0);
    ExpectPixels({{352, 212, kGreen}, {352, 272, kGreen}, {330, 242, kBlack}});

    Actor storeless(nullptr);
    OutputCapture capture;
    storeless.draw(0, 0);
    capture.Stop();
    EXPECT_EQ(capture.Err(), "Can't draw me without a valid SpriteManager\n");
}

// A box is drawn while any of it lies in the view, turned or not; one wholly
// off it, or too far off to place, never reaches the store, which would
// complain about the sprite it holds.
TEST(ActorDrawing, BoxesOffTheViewAreCulled) {
    SolidSprites sprites({kRed});
    Actor actor(sprites.get());
    actor.setAngle(90.0);
    const float edges[][6] = {{0, -244, 64, 4, 352, 10},   // at the top
                              {-324, 0, 4, 64, 10, 272},   // at the left
                              {319, 0, 4, 64, 630, 272}};  // in the last column
    for (const auto& e : edges) {
        ResetTestCanvas();
        actor.setRect(e[0], e[1], e[2], e[3]);
        actor.draw(0, 0);
        EXPECT_TRUE(PixelIs(static_cast<int>(e[4]), static_cast<int>(e[5]), kRed));
    }
    actor.holdFrame(7);
    const float outside[][2] = {{-325, 0}, {0, -245}, {3.0e9f, 0}, {std::nanf(""), 0}};
    for (const auto& p : outside) {
        actor.setRect(p[0], p[1], 4.0f, 4.0f);
        OutputCapture culled;
        actor.draw(0, 0);
        culled.Stop();
        EXPECT_EQ(culled.Err(), "") << p[0] << ", " << p[1];
    }
}

TEST(BulletFlight, SpeedTimesDtAlongItsAngleAStreakInSlowMotion) {
    const double moves[][3] = {
        {0, 4, 0}, {90, 0, -4}, {180, -4, 0}, {270, 0, 4}, {-30, 3.4641016, 2}};
    for (const auto& m : moves) {
        Bullet bullet(nullptr);
        bullet.setRect(100.0f, 50.0f, 16.0f, 4.0f);
        bullet.setAngle(m[0]);
        bullet.speed = 400.0f;
        bullet.update(0.01f, false);
        ExpectValues(bullet.getX(), 100 + m[1], bullet.getY(), 50 + m[2], bullet.getAngle(), m[0]);
    }
    SolidSprites sprites(std::vector<Rgba>(7, kRed));
    Bullet bullet(sprites.get());
    bullet.setAnimation(2, 5, 0.1f);
    bullet.setRect(0.0f, 0.0f, 16.0f, 4.0f);
    for (int sprite : {2, 3, 3, 4, 4}) {  // 0.06 s of game time a call
        bullet.update(0.06f, true);
        ExpectValues(bullet.currentSprite(), sprite, bullet.getWidth(), 64);
    }
    bullet.update(0.06f, false);  // still, at its first frame, its clock reset
    ExpectValues(bullet.currentSprite(), 2, bullet.getWidth(), 16);
    bullet.update(0.06f, true);
    ExpectValues(bullet.currentSprite(), 2, bullet.getHeight(), 4);
}

class EnemyChase : public ::testing::Test {
protected:
    EnemyChase() : target(nullptr), enemy(nullptr) {
        target.setRect(30.0f, 0.0f, 32.0f, 32.0f);
        enemy.setRect(0.0f, 0.0f, 32.0f, 32.0f);
        enemy.setAnimation(0, 4, 0.05f);
        enemy.speed = 75.0f;
        enemy.target = &target;
    }
    double Facing() const { return std::remainder(enemy.getAngle(), 360.0); }
    Actor target;
    Enemy enemy;
};

TEST_F(EnemyChase, StepsTowardsItsTargetFacingItAndPassesOverIt) {
    enemy.chase(0.1f);
    ExpectValues(enemy.getX(), 7.5, enemy.getY(), 0, Facing(), 0, enemy.currentSprite(), 1);
    target.setRect(37.5f, 40.0f, 32.0f, 32.0f);  // 50 away on a 3-4-5 line
    enemy.chase(0.1f);
    ExpectValues(enemy.getX(), 12, enemy.getY(), 6);
    EXPECT_NEAR(Facing(), -53.1301, 1e-3);
    target.setRect(15.0f, 6.0f, 32.0f, 32.0f);  // closer than a step
    enemy.chase(0.1f);
    enemy.chase(0.1f);
    EXPECT_FLOAT_EQ(enemy.getX(), 12.0f);
    EXPECT_NEAR(enemy.normalizedAngle(), 180.0, 1e-4);  // turned back
}

TEST_F(EnemyChase, StandsStillOnItsTargetWhenDeadOrWithoutOne) {
    target.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    enemy.setAngle(33.0);
    enemy.chase(0.1f);  // on the target: no direction, but the walk goes on
    ExpectValues(enemy.getX(), 0, enemy.getAngle(), 33, enemy.currentSprite(), 1);
    target.setRect(30.0f, 0.0f, 32.0f, 32.0f);
    enemy.dead = true;
    enemy.chase(0.1f);
    enemy.dead = false;
    enemy.target = nullptr;
    enemy.chase(0.1f);
    ExpectValues(enemy.getX(), 0, enemy.getAngle(), 33, enemy.currentSprite(), 1);
}

}  // namespace
