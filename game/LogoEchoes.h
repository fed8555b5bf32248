// The sliding, fading copies of a screen's heading image. Each screen keeps
// its own for the whole run; it starts on the screen's first frame and only
// moves while the screen is shown.
#ifndef ZIBO_LOGO_ECHOES_H
#define ZIBO_LOGO_ECHOES_H

#include <cstdint>

class SpriteManager;

struct EchoPair {
    float leftX;
    float rightX;
    float alpha;
    bool active;
};

// What differs between the screens' echoes.
struct EchoLook {
    int32_t sprite;
    int32_t width;
    int32_t height;
    float homeX;
    float red, green, blue;
};

class LogoEchoes {
public:
    static const int kPairCount = 3;

    LogoEchoes();

    // Puts every pair at the home x on the screen's first frame only.
    void startOnce(float homeX);
    // Draws the active pairs, then moves them by frame time t.
    void run(SpriteManager* sprites, const EchoLook& look, float fadeAlpha, float t);

private:
    void drawAndMove(EchoPair& pair, SpriteManager* sprites, const EchoLook& look, float fadeAlpha,
                     float t);

    EchoPair pairs[kPairCount];
    bool started;
};

#endif
