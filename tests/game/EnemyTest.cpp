// An enemy's frame of chase: the step towards its target, its facing, its
// walk animation, and the cases in which it must stand still.
#include "Enemy.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kProgramPi = 3.141592654;

// The facing folded into (-180, 180], for comparisons near 0.
double Facing(const Enemy& enemy) {
    return std::remainder(enemy.getAngle(), 360.0);
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
    Actor target;
    Enemy enemy;
};

TEST_F(EnemyChase, StepsSpeedTimesDtTowardsItsTargetFacingIt) {
    enemy.chase(0.1f);
    EXPECT_FLOAT_EQ(enemy.getX(), 7.5f);
    EXPECT_EQ(enemy.getY(), 0.0f);
    EXPECT_NEAR(Facing(enemy), 0.0, 1e-6);
    EXPECT_EQ(enemy.getFrame(), 1);

    target.setRect(7.5f + 30.0f, 40.0f, 32.0f, 32.0f);  // 50 away on a 3-4-5 line
    enemy.chase(0.1f);
    EXPECT_FLOAT_EQ(enemy.getX(), 7.5f + 4.5f);
    EXPECT_FLOAT_EQ(enemy.getY(), 6.0f);
    const double radians = enemy.getAngle() * kProgramPi / 180.0;
    EXPECT_NEAR(std::cos(radians), 0.6, 1e-6);
    EXPECT_NEAR(-std::sin(radians), 0.8, 1e-6);
}

TEST_F(EnemyChase, StepIsNotClampedSoItPassesOverAndTurnsBack) {
    target.setX(5.0f);
    enemy.chase(0.1f);
    EXPECT_FLOAT_EQ(enemy.getX(), 7.5f);
    EXPECT_NEAR(Facing(enemy), 0.0, 1e-6);
    enemy.chase(0.1f);
    EXPECT_NEAR(enemy.getX(), 0.0f, 1e-6);
    // Facing left goes through angleTo's single-precision two pi: 1e-5 off.
    EXPECT_NEAR(enemy.normalizedAngle(), 180.00000997, 1e-7);
}

TEST_F(EnemyChase, OnItsTargetItStaysPutFacingAsBeforeAndWalksOnTheSpot) {
    target.setRect(0.0f, 0.0f, 32.0f, 32.0f);
    enemy.setAngle(33.0);
    enemy.chase(0.1f);
    EXPECT_EQ(enemy.getX(), 0.0f);
    EXPECT_EQ(enemy.getY(), 0.0f);
    EXPECT_EQ(enemy.getAngle(), 33.0);
    EXPECT_EQ(enemy.getFrame(), 1);

    // So close that the squared distance underflows to 0.
    target.setRect(1.0e-30f, 0.0f, 32.0f, 32.0f);
    enemy.chase(0.1f);
    EXPECT_TRUE(std::isfinite(enemy.getX()));
    EXPECT_EQ(enemy.getX(), 0.0f);
}

TEST_F(EnemyChase, DeadOrTargetlessEnemiesAreUntouched) {
    enemy.setAngle(33.0);
    enemy.animate(0.03f);
    enemy.dead = true;
    enemy.chase(0.1f);
    enemy.dead = false;
    enemy.target = nullptr;
    enemy.chase(0.1f);
    EXPECT_EQ(enemy.getX(), 0.0f);
    EXPECT_EQ(enemy.getY(), 0.0f);
    EXPECT_EQ(enemy.getAngle(), 33.0);
    EXPECT_EQ(enemy.getFrame(), 0);
    EXPECT_EQ(enemy.getFrameTimer(), 0.03f);
}

}  // namespace
