// The actors by themselves: the animation clock as the sprite it shows, the
// angle arithmetic with the program's own pi, the inclusive box test, where a
// draw lands on the screen, a bullet's flight and an enemy's chase.
#include "GameHarness.h"

namespace {

// Actors on the game's sprite store and window, drawn straight into the
// picture being made.
using ActorTest = GameTest;

TEST_F(ActorTest, AnimationStepsHeldSpritesAndOnlyValidArguments) {
    Actor actor(game->sprites);
    actor.setAnimation(1, 4, 0.15f);
    // Seconds passed, and the sprite then shown: one step however long the
    // call, the clock starting again from 0 after each step, exactly the
    // duration stepping, past the last frame back to the first; a held sprite
    // (-1 holds 9) restarts the clock and shows until the next step, which
    // leaves the frame where it was.
    const float steps[][2] = {{0.5f, 2}, {0.1f, 2}, {0.05f, 3}, {0.1f, 3}, {0.1f, 4}, {0.1f, 4},
                              {0.1f, 1}, {0.1f, 1}, {-1, 9},    {0.1f, 9}, {0.1f, 1}, {0.15f, 2}};
    for (const auto& step : steps) {
        if (step[0] < 0) {
            actor.holdFrame(9);
        } else {
            actor.animate(step[0]);
        }
        EXPECT_EQ(actor.currentSprite(), step[1]) << "after " << step[0];
    }
    actor.holdFrame(9);
    actor.animate(0.1f);
    actor.resetAnimation();
    actor.animate(0.1f);  // the clock was reset too
    EXPECT_EQ(actor.currentSprite(), 1);
    actor.setAnimation(-1, -1, -1.0f);
    actor.animate(0.04f);
    EXPECT_EQ(actor.currentSprite(), 1);  // still 0.15 s a frame
    actor.animate(0.02f);
    EXPECT_EQ(actor.currentSprite(), 2);  // still four frames from sprite 1
    actor.setAnimation(game->sprites->GetSpriteCount(), 2, 0.0f);  // no such sprite
    actor.animate(0.0f);
    EXPECT_EQ(actor.currentSprite(), 1);
}

TEST(ActorAngles, FoldingWrappingTurningAndTheProgramsPi) {
    Actor actor(nullptr);
    EXPECT_TRUE(Values(actor.normalizeAngle(720), 0, actor.normalizeAngle(-90), 270,
                       actor.normalizeAngle(360), 0, actor.normalizeAngle(-720.5), 359.5));
    EXPECT_TRUE(Values(actor.angleBetween(350, 10), 20, actor.angleBetween(10, 350), -20,
                       actor.angleBetween(0, 180), 180, actor.angleBetween(-90, 90), -180,
                       actor.angleBetween(730, -700), 10));
    // From, to, then: a dead zone of 3 degrees on the raw difference from the
    // folded angle, then a step towards the wrapped difference's side.
    const double turns[][3] = {{10, 12, 10},   {10, 13, 15},  {10, 7, 5},
                               {730, 12, 730}, {359, 0, 364}, {0, 180, 5}};
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
    EXPECT_TRUE(Values(actor.aheadX(10), 20, actor.aheadY(10), 20, actor.getX(), 10));
}

TEST(ActorBoxes, TouchingEdgesOverlap) {
    Actor a(nullptr);
    Actor b(nullptr);
    a.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    // x, y and size of the other box, and whether the two overlap.
    const float cases[][4] = {{32, 0, 32, 1}, {0, 32, 32, 1},    {-32, -32, 32, 1},
                              {8, 8, 4, 1},   {32.5f, 0, 32, 0}, {0, -32.5f, 32, 0}};
    for (const auto& c : cases) {
        b.setRect(c[0], c[1], c[2], c[2]);
        EXPECT_EQ(a.overlaps(b), c[3] != 0) << c[0] << ", " << c[1];
        EXPECT_EQ(b.overlaps(a), c[3] != 0) << c[0] << ", " << c[1];
    }
}

// The box's corner lands at the view centre less the offset cut towards zero;
// the current frame is drawn, turned by the angle.
TEST_F(ActorTest, DrawingWhereAndWhat) {
    Actor actor(game->sprites);
    const int32_t red = SolidSprite(kRed);
    SolidSprite(kGreen);
    actor.setAnimation(red, 2, 0.0f);
    for (float x : {1.5f, -1.5f}) {
        glClear(GL_COLOR_BUFFER_BIT);
        actor.setRect(x, 0.0f, 4.0f, 4.0f);
        actor.draw(0, 0);
        const int left = 320 + static_cast<int>(x);
        EXPECT_TRUE(Pixels(left, 241, kRed, left - 1, 241, kBlack));
    }
    glClear(GL_COLOR_BUFFER_BIT);
    actor.setRect(0.0f, 0.0f, 64.0f, 4.0f);  // upright about (352, 242)
    actor.animate(0.0f);
    actor.setAngle(90.0);
    actor.draw(0, 0);
    EXPECT_TRUE(Pixels(352, 212, kGreen, 352, 272, kGreen, 330, 242, kBlack));
    // Just off the view's left or top edge an actor is left out; a pixel
    // nearer it reaches the store, whose complaint about its dead frame shows.
    Actor dead(game->sprites);
    dead.holdFrame(9999);
    dead.setRect(0.0f, 0.0f, 10.0f, 20.0f);
    const int32_t views[][3] = {{330, 0, 1}, {331, 0, 0}, {0, 260, 1}, {0, 261, 0}};
    for (const auto& view : views) {
        OutputCapture log;
        dead.draw(view[0], view[1]);
        EXPECT_EQ(log.Err().empty(), view[2] == 0) << view[0] << ", " << view[1];
    }
    Actor storeless(nullptr);
    OutputCapture capture;
    storeless.draw(0, 0);
    capture.Stop();
    EXPECT_EQ(capture.Err(), "Can't draw me without a valid SpriteManager\n");
}

TEST_F(ActorTest, BulletFlightSpeedTimesDtAlongItsAngleAStreakInSlowMotion) {
    // Along (cos a, -sin a) with y downwards: at -30 degrees, right and down.
    Bullet flying(nullptr);
    flying.setRect(100.0f, 50.0f, 16.0f, 4.0f);
    flying.setAngle(-30.0);
    flying.speed = 400.0f;
    flying.update(0.01f, false);
    EXPECT_TRUE(Values(flying.getX(), 103.4641016, flying.getY(), 52, flying.getAngle(), -30));
    Bullet bullet(game->sprites);
    bullet.setAnimation(2, 5, 0.1f);
    bullet.setRect(0.0f, 0.0f, 16.0f, 4.0f);
    // 0.06 s of game time a call; out of slow motion the first frame shows,
    // still and 16 long, and its clock starts again.
    const int shown[][3] = {{1, 2, 64}, {1, 3, 64}, {1, 3, 64}, {1, 4, 64},
                            {1, 4, 64}, {0, 2, 16}, {1, 2, 64}};
    for (const auto& s : shown) {
        bullet.update(0.06f, s[0] != 0);
        EXPECT_TRUE(
            Values(bullet.currentSprite(), s[1], bullet.getWidth(), s[2], bullet.getHeight(), 4));
    }
}

TEST(EnemyChase, StepsAtItsTargetFacingItButNotWhenDeadOrWithoutOne) {
    Actor target(nullptr);
    Enemy enemy(nullptr);
    target.setRect(30.0f, 40.0f, 32.0f, 32.0f);  // 50 away on a 3-4-5 line
    enemy.setAnimation(0, 4, 0.05f);
    enemy.speed = 75.0f;
    enemy.target = &target;
    enemy.chase(0.1f);
    EXPECT_TRUE(Values(enemy.getX(), 4.5, enemy.getY(), 6, enemy.currentSprite(), 1));
    EXPECT_NEAR(std::remainder(enemy.getAngle(), 360), -53.1301, 1e-3);
    enemy.dead = true;
    enemy.chase(0.1f);
    enemy.dead = false;
    enemy.target = nullptr;
    enemy.chase(0.1f);
    EXPECT_TRUE(Values(enemy.getX(), 4.5, enemy.getY(), 6, enemy.currentSprite(), 1));
}

}  // namespace
