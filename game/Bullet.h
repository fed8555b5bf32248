// A shot in flight: it moves along its angle at its own speed every frame and
// turns into a longer, animated streak while slow motion is on.
#ifndef ZIBO_BULLET_H
#define ZIBO_BULLET_H

#include "Actor.h"

class SpriteManager;

class Bullet : public Actor {
public:
    // Damage and speed start at 0; the shooter fills them in.
    explicit Bullet(SpriteManager* sprites);
    ~Bullet() override;

    // Moves speed * dt pixels along the angle; the angle ends as it began.
    void update(float dt, bool slowMotion);

    float damage;
    float speed;
};

#endif
