// A bad guy or a cat: it walks straight at its target every frame until it is
// killed.
#ifndef ZIBO_ENEMY_H
#define ZIBO_ENEMY_H

#include "Actor.h"

class SpriteManager;

class Enemy : public Actor {
public:
    // Every own field starts at zero, with no target; the spawner fills them in.
    explicit Enemy(SpriteManager* sprites);
    ~Enemy() override;

    // Faces the target, walks speed * dt pixels at it and animates the walk.
    // A dead enemy, or one without a target, does nothing at all.
    void chase(float dt);

    float health;
    float speed;
    float touchDamage;  // health per second taken from the target while touching it
    Actor* target;      // not owned
    bool dead;
};

#endif
