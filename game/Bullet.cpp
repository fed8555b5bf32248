#include "Bullet.h"

#include "Angles.h"

namespace {
const float kSlowMotionWidth = 64.0f;
const float kNormalWidth = 16.0f;
}  // namespace

Bullet::Bullet(SpriteManager* sprites) : Actor(sprites), damage(0.0f), speed(0.0f) {}

Bullet::~Bullet() {}

void Bullet::update(float dt, bool slowMotion) {
    if (slowMotion) {
        animate(dt);
        setWidth(kSlowMotionWidth);
    } else {
        resetAnimation();  // outside slow motion the first frame shows, still
        setWidth(kNormalWidth);
    }
    const float distance = dt * speed;
    // aheadX/aheadY put the sine on x and the cosine on y; a quarter turn
    // first makes that the (cos a, -sin a) direction every actor moves along.
    addAngle(kQuarterTurnDegrees);
    setX(aheadX(distance));
    setY(aheadY(distance));
    addAngle(-kQuarterTurnDegrees);
}
