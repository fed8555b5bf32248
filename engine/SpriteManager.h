// Cindermill sprite store: image files become OpenGL textures handed out as
// small integer indices, drawn stretched over any rectangle and rotated.
#ifndef CINDERMILL_SPRITE_MANAGER_H
#define CINDERMILL_SPRITE_MANAGER_H

#include <cstdint>
#include <vector>

class SpriteAtlas;

class SpriteManager {
public:
    // Position that DrawSprite replaces with the view's centre.
    static const int32_t kCentreSentinel = -1337;

    // Loads "directory/0.png", "directory/1.png", ... up to the first gap.
    explicit SpriteManager(const char* directory);
    ~SpriteManager();
    SpriteManager(const SpriteManager&) = delete;
    SpriteManager& operator=(const SpriteManager&) = delete;

    // The new sprite index, or -1 when the image cannot be loaded.
    int32_t LoadSprite(const char* path);
    // (x, y) is the rectangle's top-left corner in window pixels; a positive
    // angle turns the image counter-clockwise about the rectangle's centre.
    void DrawSprite(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height,
                    float angle);
    void DrawSprite(int32_t index, int32_t x, int32_t y, int32_t width, int32_t height);
    // The stored texture name, or null (with a message) for a bad index.
    const uint32_t* GetTexture(int32_t index) const;
    int32_t GetSpriteCount() const { return static_cast<int32_t>(textures.size()); }
    void SetViewSize(int32_t width, int32_t height);
    int32_t GetViewWidth() const { return viewWidth; }
    int32_t GetViewHeight() const { return viewHeight; }
    // Forgets every sprite; the OpenGL textures live on until the context ends.
    void Clear();

private:
    // Waits for the renderer now and then when it is Mesa's software one; see
    // the source for why.
    void BoundRendererBacklog(uint32_t texture);
#ifdef __EMSCRIPTEN__
    // Queues the sprite's quad, turned about its centre on the processor.
    void BatchSprite(int32_t index, int32_t x, int32_t y, float halfWidth, float halfHeight,
                     float angle);
#endif

    int32_t viewWidth;
    int32_t viewHeight;
    std::vector<uint32_t*> textures;
    bool softwareRenderer;
    uint32_t lastDrawnTexture;
    int32_t switchesSinceWait;
#ifdef __EMSCRIPTEN__
    // Where each sprite lies within its texture, and the browser's shared
    // pages that the small ones lie on.
    struct Region {
        float s0;
        float t0;
        float s1;
        float t1;
    };
    std::vector<Region> regions;
    SpriteAtlas* atlas;
#endif
};

#endif
