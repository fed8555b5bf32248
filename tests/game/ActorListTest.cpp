// The game's actor lists are standard vectors of values: erasing while
// walking must visit every element once, and a killed enemy copied into the
// decals keeps drawing its dead sprite as a plain actor.
#include "Actor.h"
#include "Bullet.h"
#include "Enemy.h"
#include "SolidSpriteStore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Bullet> BulletsAt(const std::vector<float>& xs) {
    std::vector<Bullet> bullets;
    for (float x : xs) {
        Bullet bullet(nullptr);
        bullet.setRect(x, 0.0f, 16.0f, 4.0f);
        bullet.damage = x * 10.0f;
        bullets.push_back(bullet);
    }
    return bullets;
}

// The game's pattern: erase gives back the element that took the erased one's
// place, and the walk goes on from there.
std::vector<float> WalkErasing(std::vector<Bullet>& bullets, const std::vector<float>& doomed) {
    std::vector<float> visited;
    for (auto it = bullets.begin(); it != bullets.end();) {
        visited.push_back(it->getX());
        bool erase = false;
        for (float x : doomed) {
            erase = erase || it->getX() == x;
        }
        it = erase ? bullets.erase(it) : it + 1;
    }
    return visited;
}

std::vector<float> Xs(const std::vector<Bullet>& bullets) {
    std::vector<float> xs;
    for (const Bullet& b : bullets) {
        xs.push_back(b.getX());
        EXPECT_EQ(b.damage, b.getX() * 10.0f);  // the moved-up copies keep their own fields
    }
    return xs;
}

TEST(ActorLists, ErasingWhileWalkingVisitsEveryElementOnce) {
    std::vector<Bullet> bullets = BulletsAt({1, 2, 3, 4, 5});
    EXPECT_EQ(WalkErasing(bullets, {2}), (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Xs(bullets), (std::vector<float>{1, 3, 4, 5}));

    bullets = BulletsAt({1, 2, 3, 4, 5});
    EXPECT_EQ(WalkErasing(bullets, {2, 3, 5}), (std::vector<float>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Xs(bullets), (std::vector<float>{1, 4}));

    bullets = BulletsAt({7});
    EXPECT_EQ(WalkErasing(bullets, {7}), (std::vector<float>{7}));
    EXPECT_TRUE(bullets.empty());
}

TEST(ActorLists, CorpseInTheDecalsDrawsItsDeadSpriteAtTheEnemysBoxAndAngle) {
    SolidSpriteStore sprites({kGreen, kGreen, kGreen, kGreen, kRed});  // walk frames, then dead
    Actor player(sprites.get());
    std::vector<Enemy> enemies;
    std::vector<Actor> decals;
    Enemy cat(sprites.get());
    cat.setAnimation(0, 4, 0.15f);
    cat.setRect(0.0f, 0.0f, 32.0f, 16.0f);
    cat.target = &player;
    enemies.push_back(cat);

    Enemy& killed = enemies.front();
    killed.holdFrame(killed.getBaseFrame() + killed.getFrameCount());
    killed.dead = true;
    killed.setAngle(90.0);
    decals.push_back(killed);
    enemies.erase(enemies.begin());

    Actor& corpse = decals.back();
    EXPECT_EQ(corpse.getSprites(), sprites.get());
    EXPECT_EQ(corpse.currentSprite(), 4);
    corpse.draw(16, 8);  // the game's view offset for a 32 x 16 actor
    // The 32 x 16 box about (320, 240), turned a quarter: 16 wide, 32 high.
    ExpectPixel(320, 226, kRed);
    ExpectPixel(313, 253, kRed);
    ExpectPixel(306, 240, kBlack);
    ExpectPixel(333, 240, kBlack);
}

}  // namespace
