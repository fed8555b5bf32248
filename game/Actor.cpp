#include "Actor.h"

#include "Angles.h"
#include "SpriteManager.h"
#include "Truncation.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
// Degree and radian factors built on pi taken as 3.141592654; angleTo's
// results (179.99999998 for a point straight to the right) carry its error.
const double kDegreesToRadians = 0.017453292522222223;
const long double kRadiansToDegrees = 57.29577950560105;
// angleTo lifts radians below this (not below 0) by a whole turn, and that
// turn is two pi in single precision: a point straight below the actor comes
// out at 450.00001 degrees, which callers take modulo 360.
const long double kAngleToLiftBelow = 2.0L;
const float kSinglePrecisionTwoPi = 6.2831855f;
// turnToward leaves the angle alone while the raw difference is inside this.
const double kTurnDeadZone = 3.0;
// Beyond this many degrees folding by steps takes long, and for huge angles
// subtracting 360 no longer changes the value at all. fmod is exact, so it
// lands on the value the steps reach wherever they do finish.
const double kStepwiseFoldLimit = kFullTurnDegrees * 1024.0;
// A view offset this large is off any screen; converting one beyond the int
// range would be undefined.
const float kFarthestDrawnOffset = 1.0e9f;
// The store takes angles as floats.
const double kLargestFloat = std::numeric_limits<float>::max();

double WrapHalfTurn(double difference) {
    if (difference > kHalfTurnDegrees) {
        difference -= kFullTurnDegrees;
    }
    if (difference < -kHalfTurnDegrees) {
        difference += kFullTurnDegrees;
    }
    return difference;
}

}  // namespace

Actor::Actor(SpriteManager* sprites)
    : baseFrame(0),
      frameTimer(0.0f),
      frameDuration(0.0f),
      frame(0),
      frameCount(0),
      x(0.0f),
      y(0.0f),
      width(0.0f),
      height(0.0f),
      angle(0.0),
      holdingFrame(false),
      heldFrame(0),
      sprites(sprites) {}

Actor::~Actor() {}

void Actor::draw(int viewX, int viewY) {
    if (sprites == nullptr) {
        fprintf(stderr, "Can't draw me without a valid SpriteManager\n");
        return;
    }
    const int32_t viewWidth = sprites->GetViewWidth();
    const int32_t viewHeight = sprites->GetViewHeight();
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    if (!TruncateBelow(viewX - x, kFarthestDrawnOffset, &offsetX) ||
        !TruncateBelow(viewY - y, kFarthestDrawnOffset, &offsetY)) {
        return;
    }
    const int32_t screenX = viewWidth / 2 - offsetX;
    const int32_t screenY = viewHeight / 2 - offsetY;
    if (screenX > viewWidth || screenX < -width || screenY > viewHeight || screenY < -height) {
        return;
    }
    // A size or an angle that the store cannot take has no picture to show.
    int32_t drawnWidth = 0;
    int32_t drawnHeight = 0;
    const double drawnAngle = getAngle();
    if (!TruncateBelow(width, kInt32Bound, &drawnWidth) ||
        !TruncateBelow(height, kInt32Bound, &drawnHeight) ||
        !(std::fabs(drawnAngle) <= kLargestFloat)) {
        return;
    }
    sprites->DrawSprite(currentSprite(), screenX, screenY, drawnWidth, drawnHeight,
                        static_cast<float>(drawnAngle));
}

void Actor::moveBy(float dx, float dy) {
    x += dx;
    y += dy;
}

void Actor::holdFrame(int sprite) {
    heldFrame = sprite;
    holdingFrame = true;
    frameTimer = 0.0f;
}

void Actor::resetAnimation() {
    holdingFrame = false;
    heldFrame = 0;
    frameTimer = 0.0f;
    frame = 0;
}

void Actor::turnToward(double step, double targetAngle) {
    const double rawDifference = targetAngle - normalizedAngle();
    // Tested before wrapping: a target just across the 0/360 seam (359 against
    // 0) lies outside the dead zone and is turned to.
    if (rawDifference > -kTurnDeadZone && rawDifference < kTurnDeadZone) {
        return;
    }
    if (WrapHalfTurn(rawDifference) <= 0.0) {
        angle -= step;
    } else {
        angle += step;
    }
}

void Actor::facePoint(float px, float py) {
    angle = angleTo(px, py);
}

double Actor::getAngle() const {
    return angle;
}

double Actor::angleTo(float px, float py) const {
    long double radians =
        std::atan2(static_cast<long double>(py - y), static_cast<long double>(x - px));
    if (radians < kAngleToLiftBelow) {
        radians += kSinglePrecisionTwoPi;
    }
    return static_cast<double>(radians * kRadiansToDegrees);
}

double Actor::angleBetween(double a, double b) const {
    return WrapHalfTurn(normalizeAngle(b) - normalizeAngle(a));
}

double Actor::normalizeAngle(double a) const {
    // No direction to fold an infinite or undefined angle into; 0 is facing right.
    if (!std::isfinite(a)) {
        return 0.0;
    }
    if (std::fabs(a) >= kStepwiseFoldLimit) {
        a = std::fmod(a, kFullTurnDegrees);
        if (a == 0.0) {
            a = 0.0;  // fmod keeps the sign of a zero remainder; the steps end on +0
        }
    }
    while (a >= kFullTurnDegrees) {
        a -= kFullTurnDegrees;
    }
    while (a < 0.0) {
        a += kFullTurnDegrees;
    }
    return a;
}

void Actor::setAngle(double a) {
    angle = a;
}

void Actor::addAngle(double delta) {
    angle += delta;
}

void Actor::setRect(float newX, float newY, float w, float h) {
    x = newX;
    y = newY;
    width = w;
    height = h;
}

void Actor::setWidth(float w) {
    if (w >= 0.0f) {
        width = w;
    }
}

float Actor::aheadX(float dist) const {
    return static_cast<float>(x + dist * std::sin(angle * kDegreesToRadians));
}

float Actor::aheadY(float dist) const {
    return static_cast<float>(y + dist * std::cos(angle * kDegreesToRadians));
}

double Actor::normalizedAngle() const {
    return normalizeAngle(getAngle());
}

void Actor::setAnimation(int first, int count, float duration) {
    if (duration >= 0.0f) {
        frameDuration = duration;
    }
    if (count >= 0) {
        frameCount = count;
    }
    // Without a store no index can be checked, so none is taken.
    const int32_t spriteCount = sprites != nullptr ? sprites->GetSpriteCount() : 0;
    if (first >= 0 && first < spriteCount) {
        baseFrame = first;
    }
}

void Actor::animate(float dt) {
    frameTimer += dt;
    if (frameTimer < frameDuration) {
        return;
    }
    // The excess is dropped: a long frame still moves the animation one step.
    frameTimer = 0.0f;
    if (holdingFrame) {
        // The held sprite gives way; the animation resumes where it stood.
        holdingFrame = false;
        heldFrame = 0;
        return;
    }
    frame += 1;
    if (frame >= frameCount) {
        frame = 0;
    }
}

int Actor::currentSprite() const {
    return holdingFrame ? heldFrame : baseFrame + frame;
}

bool Actor::overlaps(const Actor& other) const {
    return other.y <= y + height && other.y + other.height >= y && other.x <= x + width &&
           other.x + other.width >= x;
}
