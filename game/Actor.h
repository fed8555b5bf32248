// Everything placed in the world: an axis-aligned box in world pixels with a
// facing angle and a sprite animation, drawn through the sprite store.
// Actors are small values; the game's lists copy them on insertion.
#ifndef ZIBO_ACTOR_H
#define ZIBO_ACTOR_H

#include <cstdint>

class SpriteManager;

class Actor {
public:
    // The store is not owned and must outlive the actor and all its copies.
    explicit Actor(SpriteManager* sprites);
    Actor(const Actor&) = default;
    Actor& operator=(const Actor&) = default;

    // The order of these virtual operations is part of the class's contract.
    virtual ~Actor();
    // Draws the current sprite so that world point (viewX, viewY) is at the
    // middle of the screen.
    virtual void draw(int viewX, int viewY);
    virtual void moveBy(float dx, float dy);
    // Shows one sprite instead of the animation until the clock next steps.
    virtual void holdFrame(int sprite);
    virtual void resetAnimation();
    // Turns by step degrees towards targetAngle, unless already within a few
    // degrees of it.
    virtual void turnToward(double step, double targetAngle);
    // Sets the angle to angleTo(px, py): the direction from the point towards
    // the actor. Add -180 to face the point.
    virtual void facePoint(float px, float py);
    virtual double getAngle() const;
    // Degrees, between about 114.59 and 474.59; callers treat it modulo 360.
    virtual double angleTo(float px, float py) const;
    // The difference b - a wrapped into [-180, 180].
    virtual double angleBetween(double a, double b) const;
    // a folded into [0, 360); a non-finite angle gives 0.
    virtual double normalizeAngle(double a) const;
    virtual void setAngle(double a);
    virtual void addAngle(double delta);

    void setRect(float newX, float newY, float w, float h);
    void setX(float newX) { x = newX; }
    void setY(float newY) { y = newY; }
    float getX() const { return x; }
    float getY() const { return y; }
    float getWidth() const { return width; }
    float getHeight() const { return height; }
    // A negative width is ignored.
    void setWidth(float w);
    // The point dist pixels ahead, with sine on x and cosine on y: a caller
    // that moves along its angle adds 90 degrees first. The actor stays put.
    float aheadX(float dist) const;
    float aheadY(float dist) const;
    double normalizedAngle() const;

    // Applies each argument only when it is valid; frame, timer and hold stay.
    void setAnimation(int first, int count, float duration);
    // Takes at most one animation step per call.
    void animate(float dt);
    int currentSprite() const;
    // Inclusive box test: touching edges overlap.
    bool overlaps(const Actor& other) const;

    int32_t getBaseFrame() const { return baseFrame; }
    int32_t getFrameCount() const { return frameCount; }

protected:
    int32_t baseFrame;
    float frameTimer;
    float frameDuration;
    int32_t frame;
    int32_t frameCount;
    float x;
    float y;
    float width;
    float height;
    double angle;
    bool holdingFrame;
    int32_t heldFrame;
    SpriteManager* sprites;
};

#endif
