// The actor by itself: its animation clock, its angle arithmetic with the
// program's own pi, the inclusive box test, and where a draw lands on the
// screen, read back pixel by pixel.
#include "Actor.h"
#include "SolidSpriteStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ActorAnimation, TakesOneStepPerCallAndDropsTheExcess) {
    SolidSpriteStore sprites({kRed, kRed, kRed, kRed, kRed, kRed});
    Actor actor(sprites.get());
    actor.setAnimation(1, 4, 0.15f);
    actor.animate(0.5f);
    EXPECT_EQ(actor.getFrame(), 1);
    EXPECT_EQ(actor.getFrameTimer(), 0.0f);
    EXPECT_EQ(actor.currentSprite(), 2);
    actor.animate(0.1f);
    EXPECT_EQ(actor.getFrame(), 1);
    EXPECT_FLOAT_EQ(actor.getFrameTimer(), 0.1f);
    actor.animate(0.1f);  // 0.2 s: one step, the 0.05 s over is not carried
    EXPECT_EQ(actor.getFrame(), 2);
    EXPECT_EQ(actor.getFrameTimer(), 0.0f);

    actor.setAnimation(1, 4, 0.25f);
    actor.animate(0.125f);
    EXPECT_EQ(actor.getFrame(), 2);
    actor.animate(0.125f);  // exactly the duration steps
    EXPECT_EQ(actor.getFrame(), 3);
    actor.animate(0.25f);
    EXPECT_EQ(actor.getFrame(), 0);  // wrapped from the last frame
}

TEST(ActorAnimation, OneOrNoFramesStayAtFrameZero) {
    for (int count : {0, 1}) {
        Actor actor(nullptr);
        actor.setAnimation(0, count, 0.0f);
        for (int call = 0; call < 3; ++call) {
            actor.animate(0.0f);  // a zero duration steps on every call
            EXPECT_EQ(actor.getFrame(), 0) << count << " frames";
        }
    }
}

TEST(ActorAnimation, HeldSpriteShowsUntilTheNextStepAndLeavesTheFrame) {
    Actor actor(nullptr);
    actor.setAnimation(0, 4, 0.15f);
    actor.animate(0.2f);
    actor.animate(0.1f);
    actor.holdFrame(9);
    EXPECT_EQ(actor.currentSprite(), 9);
    EXPECT_EQ(actor.getFrameTimer(), 0.0f);
    actor.animate(0.1f);
    EXPECT_EQ(actor.currentSprite(), 9);
    actor.animate(0.1f);  // the step releases the hold instead of advancing
    EXPECT_FALSE(actor.isHoldingFrame());
    EXPECT_EQ(actor.getHeldFrame(), 0);
    EXPECT_EQ(actor.getFrame(), 1);
    EXPECT_EQ(actor.currentSprite(), 1);

    actor.holdFrame(9);
    actor.animate(0.05f);
    actor.resetAnimation();
    EXPECT_FALSE(actor.isHoldingFrame());
    EXPECT_EQ(actor.getFrame(), 0);
    EXPECT_EQ(actor.getFrameTimer(), 0.0f);
    EXPECT_EQ(actor.currentSprite(), 0);
}

TEST(ActorAnimation, SetAnimationAppliesOnlyTheValidArguments) {
    SolidSpriteStore sprites({kRed, kRed, kRed});
    Actor actor(sprites.get());
    actor.setAnimation(1, 2, 0.5f);
    actor.animate(0.5f);
    actor.animate(0.25f);

    actor.setAnimation(-1, -1, -1.0f);
    EXPECT_EQ(actor.getBaseFrame(), 1);
    EXPECT_EQ(actor.getFrameCount(), 2);
    EXPECT_EQ(actor.getFrameDuration(), 0.5f);

    actor.setAnimation(3, 4, 0.2f);  // 3 is the store's sprite count: no such sprite
    EXPECT_EQ(actor.getBaseFrame(), 1);
    EXPECT_EQ(actor.getFrameCount(), 4);
    EXPECT_EQ(actor.getFrameDuration(), 0.2f);

    actor.setAnimation(2, 0, 0.0f);
    EXPECT_EQ(actor.getBaseFrame(), 2);
    EXPECT_EQ(actor.getFrameCount(), 0);
    EXPECT_EQ(actor.getFrameDuration(), 0.0f);
    // The clock is left where it stood.
    EXPECT_EQ(actor.getFrame(), 1);
    EXPECT_EQ(actor.getFrameTimer(), 0.25f);

    Actor storeless(nullptr);
    storeless.setAnimation(0, 3, 0.1f);
    EXPECT_EQ(storeless.getFrameCount(), 3);
    storeless.setAnimation(5, 3, 0.1f);
    EXPECT_EQ(storeless.getBaseFrame(), 0);
}

TEST(ActorAngles, NormalizeAngleFoldsIntoOneTurn) {
    const Actor actor(nullptr);
    EXPECT_EQ(actor.normalizeAngle(720.0), 0.0);
    EXPECT_EQ(actor.normalizeAngle(-90.0), 270.0);
    EXPECT_EQ(actor.normalizeAngle(360.0), 0.0);
    EXPECT_EQ(actor.normalizeAngle(359.75), 359.75);
    EXPECT_EQ(actor.normalizeAngle(-720.0), 0.0);
    EXPECT_FALSE(std::signbit(actor.normalizeAngle(-360.0 * 4096)));
    // Either side of the point where folding switches from steps to a remainder.
    EXPECT_EQ(actor.normalizeAngle(360.0 * 1023 + 12.25), 12.25);
    EXPECT_EQ(actor.normalizeAngle(360.0 * 1024 + 12.25), 12.25);
    EXPECT_EQ(actor.normalizeAngle(-360.0 * 1024 - 12.25), 347.75);
}

TEST(ActorAngles, NormalizeAngleEndsOnHugeAndNonFiniteAngles) {
    const Actor actor(nullptr);
    EXPECT_EQ(actor.normalizeAngle(1.0e12 + 0.5), 280.5);
    EXPECT_EQ(actor.normalizeAngle(-1.0e12 - 0.5), 79.5);
    const double huge = actor.normalizeAngle(1.0e300);  // 360 less is the same double
    EXPECT_GE(huge, 0.0);
    EXPECT_LT(huge, 360.0);
    EXPECT_EQ(actor.normalizeAngle(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(actor.normalizeAngle(-std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(actor.normalizeAngle(std::numeric_limits<double>::quiet_NaN()), 0.0);

    Actor spun(nullptr);
    spun.setAngle(std::numeric_limits<double>::infinity());
    EXPECT_EQ(spun.normalizedAngle(), 0.0);
}

TEST(ActorAngles, AngleToCarriesTheProgramsPiAndSinglePrecisionTwoPi) {
    Actor actor(nullptr);
    actor.setRect(10.0f, 20.0f, 32.0f, 32.0f);
    // 180 less the error of the factor built on 3.141592654.
    EXPECT_NEAR(actor.angleTo(50.0f, 20.0f), 179.99999997649688, 1e-9);  // right
    EXPECT_LT(actor.angleTo(50.0f, 20.0f), 180.0);
    // Below 2 radians a single-precision two pi is added.
    EXPECT_NEAR(actor.angleTo(10.0f, 60.0f), 450.00000995915486, 1e-9);   // below
    EXPECT_NEAR(actor.angleTo(-30.0f, 20.0f), 360.00000997090642, 1e-9);  // left
    EXPECT_NEAR(actor.angleTo(10.0f, -20.0f), 270.00000998265798, 1e-9);  // above
    // The lift starts below 2 radians, not below 0.
    const float justAbove = static_cast<float>(10.0 - 40.0 / std::tan(2.0001));
    const float justBelow = static_cast<float>(10.0 - 40.0 / std::tan(1.9999));
    EXPECT_NEAR(actor.angleTo(justAbove, 60.0f), 114.5973, 1e-3);
    EXPECT_NEAR(actor.angleTo(justBelow, 60.0f), 474.5858, 1e-3);
}

TEST(ActorAngles, AngleBetweenWrapsIntoAHalfTurnEitherWay) {
    const Actor actor(nullptr);
    EXPECT_EQ(actor.angleBetween(350.0, 10.0), 20.0);
    EXPECT_EQ(actor.angleBetween(10.0, 350.0), -20.0);
    EXPECT_EQ(actor.angleBetween(0.0, 180.0), 180.0);
    EXPECT_EQ(actor.angleBetween(180.0, 0.0), -180.0);
    EXPECT_EQ(actor.angleBetween(-90.0, 90.0), -180.0);
    EXPECT_EQ(actor.angleBetween(730.0, -700.0), 10.0);
}

TEST(ActorAngles, TurnTowardHasADeadZoneOnTheRawDifference) {
    struct Case {
        double angle;
        double target;
        double expected;
    };
    const Case cases[] = {
        {10, 12, 10},     // 2 degrees: inside the dead zone
        {10, 8, 10},      //
        {10, 13, 15},     // 3 degrees: a full step
        {10, 7, 5},       //
        {730, 12, 730},   // compared with the normalized angle
        {359, 361, 359},  // raw difference 2
        {359, 0, 364},    // raw -359 lies outside, wraps to +1
        {0, 358, -5},     // raw 358 wraps to -2
        {0, 180, 5},      // exactly a half turn counts as positive
        {0, 181, -5},
    };
    for (const Case& c : cases) {
        Actor actor(nullptr);
        actor.setAngle(c.angle);
        actor.turnToward(5.0, c.target);
        EXPECT_EQ(actor.getAngle(), c.expected) << "from " << c.angle << " to " << c.target;
    }
}

TEST(ActorBoxes, BoundsAreInclusive) {
    Actor a(nullptr);
    Actor b(nullptr);
    a.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    const float touching[][2] = {{32, 0}, {-32, 0}, {0, 32}, {0, -32}, {32, 32}, {-32, -32}};
    for (const auto& p : touching) {
        b.setRect(p[0], p[1], 32.0f, 32.0f);
        EXPECT_TRUE(a.overlaps(b)) << p[0] << ", " << p[1];
        EXPECT_TRUE(b.overlaps(a)) << p[0] << ", " << p[1];
    }
    const float apart[][2] = {{32.5f, 0}, {-32.5f, 0}, {0, 32.5f}, {0, -32.5f}, {32.5f, 32}};
    for (const auto& p : apart) {
        b.setRect(p[0], p[1], 32.0f, 32.0f);
        EXPECT_FALSE(a.overlaps(b)) << p[0] << ", " << p[1];
        EXPECT_FALSE(b.overlaps(a)) << p[0] << ", " << p[1];
    }
    b.setRect(8.0f, 8.0f, 4.0f, 4.0f);  // inside
    EXPECT_TRUE(a.overlaps(b));
    EXPECT_TRUE(b.overlaps(a));
}

TEST(ActorBoxes, AheadPutsSineOnXAndCosineOnYWithoutMoving) {
    Actor actor(nullptr);
    actor.setRect(5.0f, 7.0f, 16.0f, 4.0f);
    EXPECT_FLOAT_EQ(actor.aheadX(10.0f), 5.0f);
    EXPECT_FLOAT_EQ(actor.aheadY(10.0f), 17.0f);
    actor.setAngle(90.0);
    EXPECT_FLOAT_EQ(actor.aheadX(10.0f), 15.0f);
    EXPECT_NEAR(actor.aheadY(10.0f), 7.0f, 1e-5);
    EXPECT_EQ(actor.getX(), 5.0f);
    EXPECT_EQ(actor.getY(), 7.0f);

    actor.setWidth(-1.0f);
    EXPECT_EQ(actor.getWidth(), 16.0f);
    actor.setWidth(0.0f);
    EXPECT_EQ(actor.getWidth(), 0.0f);
}

TEST(ActorDrawing, WithoutAStoreSaysSoAndDrawsNothing) {
    Actor actor(nullptr);
    actor.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    OutputCapture capture;
    actor.draw(0, 0);
    capture.Stop();
    EXPECT_EQ(capture.Err(), "Can't draw me without a valid SpriteManager\n");
    EXPECT_EQ(capture.Out(), "");
}

TEST(ActorDrawing, TopLeftCornerLandsAtTheViewCentre) {
    SolidSpriteStore sprites({kRed});
    Actor actor(sprites.get());
    actor.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    actor.draw(0, 0);
    ExpectPixel(320, 240, kRed);
    ExpectPixel(351, 271, kRed);
    ExpectPixel(319, 240, kBlack);
    ExpectPixel(320, 239, kBlack);
    ExpectPixel(352, 271, kBlack);

    // The game's view offset for a 32 x 32 actor centres it on its (x, y).
    ResetTestCanvas();
    actor.draw(16, 16);
    ExpectPixel(304, 224, kRed);
    ExpectPixel(335, 255, kRed);
    ExpectPixel(303, 224, kBlack);
    ExpectPixel(336, 255, kBlack);
}

TEST(ActorDrawing, FractionalOffsetsAreCutTowardsZero) {
    SolidSpriteStore sprites({kRed});
    Actor actor(sprites.get());
    actor.setRect(1.5f, 0.0f, 4.0f, 4.0f);
    actor.draw(0, 0);
    ExpectPixel(321, 241, kRed);
    ExpectPixel(320, 241, kBlack);

    ResetTestCanvas();
    actor.setX(-1.5f);
    actor.draw(0, 0);
    ExpectPixel(319, 241, kRed);
    ExpectPixel(318, 241, kBlack);
}

TEST(ActorDrawing, DrawsTheCurrentFrameTurnedByTheAngle) {
    SolidSpriteStore sprites({kRed, kGreen});
    Actor actor(sprites.get());
    actor.setRect(0.0f, 0.0f, 64.0f, 4.0f);
    actor.setAnimation(0, 2, 0.0f);
    actor.animate(0.0f);
    actor.setAngle(90.0);
    actor.draw(0, 0);
    // A 64 x 4 box at (320, 240) turned a quarter: 4 wide, 64 high about (352, 242).
    ExpectPixel(352, 212, kGreen);
    ExpectPixel(352, 272, kGreen);
    ExpectPixel(330, 242, kBlack);
}

// A 64 x 4 box turned upright covers rows y - 30 to y + 33 and a 4 x 64 one
// lying flat covers columns x - 30 to x + 33, so a box just off the view's
// edge still reaches into it when it is drawn.
TEST(ActorDrawing, CullsBoxesWhollyOffTheView) {
    SolidSpriteStore sprites({kRed});
    Actor upright(sprites.get());
    upright.setAngle(90.0);
    upright.setRect(0.0f, -244.0f, 64.0f, 4.0f);  // screen y -4: at the edge, drawn
    upright.draw(0, 0);
    ExpectPixel(352, 10, kRed);
    ResetTestCanvas();
    upright.setY(-245.0f);  // screen y -5: culled
    upright.draw(0, 0);
    ExpectPixel(352, 10, kBlack);

    ResetTestCanvas();
    Actor flat(sprites.get());
    flat.setAngle(90.0);
    flat.setRect(-324.0f, 0.0f, 4.0f, 64.0f);  // screen x -4: drawn
    flat.draw(0, 0);
    ExpectPixel(10, 272, kRed);
    ResetTestCanvas();
    flat.setX(-325.0f);
    flat.draw(0, 0);
    ExpectPixel(10, 272, kBlack);

    ResetTestCanvas();
    flat.setX(319.0f);  // screen x 639: drawn
    flat.draw(0, 0);
    ExpectPixel(630, 272, kRed);
    ResetTestCanvas();
    flat.setX(320.0f);
    flat.draw(0, 0);
    ExpectPixel(630, 272, kBlack);
}

TEST(ActorDrawing, CulledOrFarOffActorsNeverReachTheStore) {
    SolidSpriteStore sprites({kRed});
    Actor actor(sprites.get());
    actor.setRect(-324.0f, 0.0f, 4.0f, 4.0f);
    actor.holdFrame(7);  // a sprite the store does not hold, so a draw complains

    OutputCapture drawn;
    actor.draw(0, 0);
    drawn.Stop();
    EXPECT_EQ(drawn.Err(),
              "Requested sprite 7 is out of bounds\n"
              "FAIL) Requested dead sprite 7 to be drawn at (-4,240)\n");

    const float farOff[][2] = {{-325.0f, 0.0f},
                               {0.0f, -245.0f},
                               {3.0e9f, 0.0f},
                               {0.0f, -3.0e9f},
                               {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                               {std::numeric_limits<float>::infinity(), 0.0f}};
    for (const auto& p : farOff) {
        actor.setX(p[0]);
        actor.setY(p[1]);
        OutputCapture culled;
        actor.draw(0, 0);
        culled.Stop();
        EXPECT_EQ(culled.Err(), "") << p[0] << ", " << p[1];
    }
}

// The store takes whole-pixel int32 sizes and a float angle; an actor whose
// size or angle has no such form is not drawn at all.
TEST(ActorDrawing, SizesAndAnglesTheStoreCannotTakeAreNotDrawn) {
    SolidSpriteStore sprites({kRed});
    Actor actor(sprites.get());
    actor.holdFrame(7);  // a sprite the store does not hold, so a draw complains
    const auto reachesTheStore = [&actor](float w, float h, double angle) {
        actor.setRect(0.0f, 0.0f, w, h);
        actor.setAngle(angle);
        OutputCapture capture;
        actor.draw(0, 0);
        capture.Stop();
        return !capture.Err().empty();
    };
    EXPECT_TRUE(reachesTheStore(2.0e9f, 2.0e9f, 1.0e38));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const float badSizes[] = {nan, infinity, 3.0e9f};
    for (const float size : badSizes) {
        EXPECT_FALSE(reachesTheStore(size, 4.0f, 0.0)) << "width " << size;
        EXPECT_FALSE(reachesTheStore(4.0f, size, 0.0)) << "height " << size;
    }
    const double badAngles[] = {std::numeric_limits<double>::quiet_NaN(),
                                -std::numeric_limits<double>::infinity(), 1.0e39};
    for (const double angle : badAngles) {
        EXPECT_FALSE(reachesTheStore(4.0f, 4.0f, angle)) << "angle " << angle;
    }
}

}  // namespace
