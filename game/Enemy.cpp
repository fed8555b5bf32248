#include "Enemy.h"

#include "Angles.h"

#include <cmath>

Enemy::Enemy(SpriteManager* sprites)
    : Actor(sprites), health(0.0f), speed(0.0f), touchDamage(0.0f), target(nullptr), dead(false) {}

Enemy::~Enemy() {}

void Enemy::chase(float dt) {
    if (target == nullptr || dead) {
        return;
    }
    const float dx = target->getX() - x;
    const float dy = target->getY() - y;
    const float distance = std::sqrt(dx * dx + dy * dy);
    // Standing on the target's corner there is no direction to face or walk
    // in (and the step would divide by zero): keep the facing, stay put and
    // only walk on the spot.
    if (distance > 0.0f) {
        // angleTo gives the direction from the target towards the enemy; a
        // half turn back makes it face the target.
        facePoint(target->getX(), target->getY());
        addAngle(-kHalfTurnDegrees);
        // Not clamped to the distance: a step longer than that passes over the
        // target, and the enemy turns back the next frame.
        const float inverseDistance = 1.0f / distance;
        moveBy(inverseDistance * dx * speed * dt, inverseDistance * dy * speed * dt);
    }
    animate(dt);
}
