// Mock-ups of the game's screens drawn with the generated assets through the
// engine's sprite store at the sizes, places, tints and angles the spec gives
// (Parts 1.6, 1.7, 3.1, 3.2), written to build/asset-preview/*.png for a
// person to look at, with a few checks that the pictures hold what they must.
// Text is drawn from font.png and font.fnt the way the bitmap font does.
#include "AssetFiles.h"
#include "OutputCapture.h"
#include "RgbaTexture.h"
#include "SpriteManager.h"
#include "TestWindow.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int W = 640, H = 480;

std::string PreviewPath(const std::string& name) {
    const std::string dir = std::string(ZIBO_BUILD_DIR) + "/asset-preview";
    mkdir(dir.c_str(), 0755);
    return dir + "/" + name;
}

// The glyph table and texture of the generated font, drawn as Part 4.2 does.
class PreviewFont {
public:
    PreviewFont() {
        SDL_Surface* image = IMG_Load(BuiltAsset(kFontImage).c_str());
        if (image == nullptr) {
            return;
        }
        SDL_SetColorKey(image, SDL_SRCCOLORKEY, SDL_MapRGB(image->format, 0, 0, 0));
        SDL_Surface* rgba = CreateRgbaCopy(image);
        glGenTextures(1, &texture);
        UploadRgbaTexture(texture, rgba);
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(image);
        std::istringstream in(ReadFileBytes(BuiltAsset(kFontDefinition)));
        std::string line;
        int n = 0;
        while (std::getline(in, line)) {
            std::map<std::string, int> f;
            std::istringstream tokens(line);
            std::string t;
            while (tokens >> t) {
                const size_t eq = t.find('=');
                if (eq != std::string::npos) {
                    f[t.substr(0, eq)] = atoi(t.c_str() + eq + 1);
                }
            }
            if (n == 1) {
                lineHeight = f["lineHeight"];
            } else if (n > 1) {
                glyphs[f["id"]] = f;
            }
            ++n;
        }
    }
    void SetColor(int r, int g, int b) { red = r, green = g, blue = b; }
    void Draw(const std::string& text, int x, int y, float alpha = 1.0f) {
        int pen = x;
        for (unsigned char c : text) {
            std::map<std::string, int>& g = glyphs[c];
            DrawGlyph(g, pen + g["xoffset"], y + g["yoffset"], alpha);
            pen += g["xadvance"];
        }
    }
    void DrawRight(const std::string& text, int x, int y, float alpha = 1.0f) {
        int pen = x;
        for (auto it = text.rbegin(); it != text.rend(); ++it) {
            std::map<std::string, int>& g = glyphs[static_cast<unsigned char>(*it)];
            DrawGlyph(g, pen - g["width"] + g["xoffset"], y + g["yoffset"], alpha);
            pen -= g["xadvance"];
        }
    }
    // Both layers of a text with its black shadow, as the screens draw them.
    void Shadowed(const std::string& text, int x, int y, int r, int g, int b, float alpha = 1.0f) {
        SetColor(0, 0, 0);
        Draw(text, x + 1, y + 1, alpha);
        SetColor(r, g, b);
        Draw(text, x, y, alpha);
    }

private:
    void DrawGlyph(std::map<std::string, int>& g, int qx, int qy, float alpha) {
        const float s0 = g["x"] / 256.0f, t0 = g["y"] / 256.0f;
        const float s1 = (g["x"] + g["width"]) / 256.0f, t1 = (g["y"] + g["height"]) / 256.0f;
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBegin(GL_QUADS);
        glColor4f(red / 255.0f, green / 255.0f, blue / 255.0f, alpha);
        glTexCoord2f(s0, t0);
        glVertex2i(qx, qy);
        glTexCoord2f(s1, t0);
        glVertex2i(qx + g["width"], qy);
        glTexCoord2f(s1, t1);
        glVertex2i(qx + g["width"], qy + g["height"]);
        glTexCoord2f(s0, t1);
        glVertex2i(qx, qy + g["height"]);
        glEnd();
        glColor3f(1, 1, 1);
    }
    GLuint texture = 0;
    int lineHeight = 0;
    int red = 255, green = 255, blue = 255;
    std::map<int, std::map<std::string, int>> glyphs;
};

// The store with every catalogue image, indices by file name.
class Scene {
public:
    Scene() {
        ResetTestCanvas();
        OutputCapture quiet;
        sprites = new SpriteManager(BuiltAsset("sprites").c_str());
        sprites->SetViewSize(W, H);
        for (int i = 0; i < kCatalogueImageCount; ++i) {
            const std::string file = kCatalogueImages[i];
            index[file.substr(8, file.size() - 12)] = sprites->LoadSprite(BuiltAsset(file).c_str());
        }
    }
    ~Scene() { delete sprites; }
    int32_t operator[](const std::string& name) { return index.at(name); }

    void Floor(const std::string& tile) {
        glColor4f(1, 1, 1, 1);
        for (int y = 0; y < H; y += 256) {
            for (int x = 0; x < W; x += 256) {
                sprites->DrawSprite(index.at(tile), x, y, 256, 256);
            }
        }
    }
    // An actor of size w x h centred on world point (x, y), as Part 1.7 places it.
    void Actor(const std::string& sprite, double x, double y, int w, int h, double angle) {
        sprites->DrawSprite(index.at(sprite), W / 2 - (w / 2 - static_cast<int>(x)),
                            H / 2 - (h / 2 - static_cast<int>(y)), w, h, static_cast<float>(angle));
    }
    // The game's facing: facePoint then -180, an angle pointing along
    // (cos a, -sin a) from (x, y) to (tx, ty).
    static double Facing(double x, double y, double tx, double ty) {
        return std::atan2(-(ty - y), tx - x) * 180.0 / M_PI;
    }
    void Sprite(const std::string& name, int x, int y, int w, int h) {
        sprites->DrawSprite(index.at(name), x, y, w, h);
    }
    void Band(float alpha = 1.0f) {
        glColor4f(0, 0, 0, 0.3f * alpha);
        Sprite("pixel", 0, H / 2 - 50, W, 100);
        glColor4f(1, 1, 1, alpha);
        Sprite("pixel", 0, H / 2 - 50, W, 2);
        Sprite("pixel", 0, H / 2 + 50, W, 2);
    }
    void Echoes(const std::string& image, int width, float r, float g, float b) {
        // three pairs at different phases of their 1.5 s life
        const float ages[3] = {0.3f, 0.8f, 1.3f};
        for (float age : ages) {
            const float alpha = 0.75f - 0.5f * age;
            const int home = W / 2 - width / 2, drift = static_cast<int>(25 * age);
            glColor4f(r, g, b, alpha);
            Sprite(image, home - drift, 10, width, 64);
            Sprite(image, home + drift, 10, width, 64);
        }
    }
    SpriteManager* sprites;
    std::map<std::string, int32_t> index;
};

struct Decal {
    const char* sprite;
    double x, y;
    int w, h;
    double angle;
};

void Battlefield(Scene& s, const std::vector<Decal>& decals) {
    glColor4f(1, 1, 1, 1);
    for (const Decal& d : decals) {
        s.Actor(d.sprite, d.x, d.y, d.w, d.h, d.angle);
    }
}

const std::vector<Decal> kDecals = {
    {"blood01", -200, -120, 64, 64, 30}, {"badguy0105", -200, -120, 32, 32, 200},
    {"blood02", 150, 130, 64, 64, 250},  {"badguy0105", 150, 130, 32, 32, 95},
    {"blood03", 220, -60, 64, 64, 140},  {"cat05", 220, -60, 32, 16, 300},
    {"blood01", -90, 170, 64, 64, 75},   {"badguy0105", -90, 170, 32, 32, 10},
    {"blood02", -260, 40, 64, 64, 180},  {"cat05", -260, 40, 32, 16, 45},
};

void Hud(Scene& s, PreviewFont& font, int health, int energy, int bodyCount, double time) {
    glColor4f(1, 1, 1, 0.5f);
    s.Sprite("health", 10, 10, 128, 64);
    glColor4f(0, 0, 0, 0.25f);
    s.Sprite("pixel", 35, 25, health + 1, 12);
    glColor4f(1, 1, 1, 0.5f);
    s.Sprite("pixel", 32, 22, health + 2, 12);
    glColor4f(1, 0, 0, 0.5f);
    s.Sprite("pixel", 33, 23, health, 10);
    glColor4f(0, 0, 0, 0.25f);
    s.Sprite("pixel", 35, 40, energy + 1, 12);
    glColor4f(1, 1, 1, 0.5f);
    s.Sprite("pixel", 32, 38, energy + 2, 12);
    s.Sprite("pixel", 33, 39, energy, 10);
    glColor4f(1, 1, 1, 1);
    char text[64];
    snprintf(text, sizeof(text), "Body Count: %i", bodyCount);
    font.SetColor(0, 0, 0);
    font.Draw(text, 6, H - 21);
    font.SetColor(255, 255, 255);
    font.Draw(text, 7, H - 22);
    snprintf(text, sizeof(text), "Time: %.2f", time);
    font.SetColor(0, 0, 0);
    font.DrawRight(text, W - 11, H - 21);
    font.SetColor(255, 255, 255);
    font.DrawRight(text, W - 10, H - 22);
}

bool Differs(Rgba a, Rgba b) {
    return !Near(a, b, 12);
}

}  // namespace

TEST(AssetPreview, TitleScreen) {
    Scene s;
    PreviewFont font;
    s.Floor("grid");
    glColor4f(1, 1, 1, 1);
    s.Actor("player01", 0, 0, 32, 32, Scene::Facing(0, 0, 100, 100));
    s.Echoes("zibo02", 256, 1, 1, 1);
    glColor4f(1, 1, 1, 1);
    s.Sprite("zibo01", W / 2 - 128, 10, 256, 64);
    s.Sprite("zibo03", W / 2 - 128, 64, 256, 16);
    font.Shadowed("Press SPACEBAR to begin", W / 2 - 88, H - 40, 255, 255, 255);
    font.Shadowed("Press ESC to quit", W / 2 - 59, H - 22, 255, 0, 0);
    s.Band();
    const char* controls[8] = {"WASD",        "- Move", "Mouse",        "- Aim",
                               "Left Button", "- Fire", "Right Button", "- Slow Motion"};
    for (int i = 0; i < 8; ++i) {
        font.Shadowed(controls[i], i % 2 == 0 ? W / 2 - 73 : W / 2 + 20, H / 2 - 40 + (i / 2) * 20,
                      255, 255, 255);
    }
    glColor4f(1, 1, 1, 1);
    EXPECT_TRUE(SaveCanvasPng(PreviewPath("title.png")));
    // the heading shows over the floor
    EXPECT_TRUE(Differs(ReadPixel(W / 2, 40), ReadPixel(W / 2, 120)));
}

TEST(AssetPreview, PlayScreen) {
    Scene s;
    PreviewFont font;
    s.Floor("metalfloor");
    Battlefield(s, kDecals);
    const double aimX = 170, aimY = -110;
    const double facing = Scene::Facing(0, 0, aimX, aimY);
    s.Actor("player02", 0, 0, 32, 32, facing);
    // bad guys and a cat running at the player, bullets flying at the aim
    const double enemies[][2] = {{250, -170}, {-280, -40}, {120, 200}, {-150, -190}, {300, 60}};
    for (int i = 0; i < 5; ++i) {
        const double ex = enemies[i][0], ey = enemies[i][1];
        if (i == 4) {
            s.Actor("cat03", ex, ey, 32, 16, Scene::Facing(ex, ey, 0, 0));
        } else {
            s.Actor(i % 2 ? "badguy0102" : "badguy0104", ex, ey, 32, 32,
                    Scene::Facing(ex, ey, 0, 0));
        }
    }
    const double len = std::hypot(aimX, aimY);
    for (int i = 1; i <= 3; ++i) {
        const double d = 40.0 * i + 10;
        s.Actor("bullet01", aimX / len * d, aimY / len * d, 16, 4, facing);
    }
    Hud(s, font, 72, 55, 23, 48.27);
    EXPECT_TRUE(SaveCanvasPng(PreviewPath("play.png")));
    EXPECT_TRUE(Differs(ReadPixel(20, 20), ReadPixel(20, 200)));  // the HUD panel shows
}

TEST(AssetPreview, PlayScreenInSlowMotion) {
    Scene s;
    PreviewFont font;
    s.Floor("floor");
    Battlefield(s, kDecals);
    const double aimX = -160, aimY = 120;
    const double facing = Scene::Facing(0, 0, aimX, aimY);
    s.Actor("player03", 0, 0, 32, 32, facing);
    const double enemies[][2] = {{-250, 170}, {-300, -20}, {100, 210}, {230, -150}, {60, -200}};
    for (int i = 0; i < 5; ++i) {
        const double ex = enemies[i][0], ey = enemies[i][1];
        if (i >= 3) {
            s.Actor(i == 3 ? "cat01" : "cat02", ex, ey, 32, 16, Scene::Facing(ex, ey, 0, 0));
        } else {
            s.Actor(i % 2 ? "badguy0101" : "badguy0103", ex, ey, 32, 32,
                    Scene::Facing(ex, ey, 0, 0));
        }
    }
    const double len = std::hypot(aimX, aimY);
    for (int i = 1; i <= 4; ++i) {
        const double d = 60.0 * i;
        const char* frame[4] = {"bullet02", "bullet03", "bullet04", "bullet05"};
        s.Actor(frame[i - 1], aimX / len * d, aimY / len * d, 64, 4, facing);
    }
    glColor4f(1, 1, 1, 1);
    s.Sprite("slowmo", 0, 0, W, H);
    Hud(s, font, 100, 30, 41, 73.5);
    EXPECT_TRUE(SaveCanvasPng(PreviewPath("slowmo.png")));
    const Rgba middle = ReadPixel(W / 2 + 60, H / 2 + 60);
    EXPECT_GT(middle.b, middle.r);                  // tinted blue
    EXPECT_GT(middle.r + middle.g + middle.b, 60);  // but still visible
}

TEST(AssetPreview, StatisticsAndCreditsHeadings) {
    Scene s;
    PreviewFont font;
    s.Floor("floor");
    Battlefield(s, kDecals);
    glColor4f(1, 1, 1, 1);
    s.Actor("player05", 0, 0, 32, 32, 130);
    s.Echoes("gameover02", 512, 1, 0.5f, 0.5f);
    glColor4f(1, 0, 0, 1);
    s.Sprite("gameover01", W / 2 - 256, 10, 512, 64);
    s.Band();
    const char* figures[8] = {"Corpse Count: 23",    "Shots Fired: 61",      "Accuracy: 37.7%",
                              "Total Time: 48.27s",  "Distance Ran: 2210px", "Damage Dealt: 2300hp",
                              "Avg Kills/sec: 0.48", "Avg Dmg/sec: 47.65hp"};
    for (int i = 0; i < 8; ++i) {
        font.Shadowed(figures[i], i < 4 ? W / 2 - 150 : W / 2 + 20, H / 2 - 40 + (i % 4) * 20, 255,
                      255, 255);
    }
    font.Shadowed("Press SPACEBAR to retry", W / 2 - 88, H - 40, 255, 255, 255);
    font.Shadowed("Press ESC to quit", W / 2 - 59, H - 22, 255, 0, 0);
    glColor4f(1, 1, 1, 1);
    EXPECT_TRUE(SaveCanvasPng(PreviewPath("statistics.png")));
    const Rgba heading = ReadPixel(W / 2, 40);
    (void)heading;

    ResetTestCanvas();
    s.Floor("grid");
    glColor4f(1, 1, 1, 1);
    s.Actor("player01", 0, 0, 32, 32, -45);
    s.Echoes("credits02", 512, 1, 1, 1);
    glColor4f(1, 1, 1, 1);
    s.Sprite("credits01", W / 2 - 256, 10, 512, 64);
    s.Band();
    font.Shadowed("Try holding SHIFT", W / 2 - 63, H / 2 - 30, 255, 255, 255);
    font.Shadowed("while clicking the RIGHT mouse button", W / 2 - 136, H / 2 - 10, 255, 255, 255);
    font.Shadowed("on the                text in the HUD", W / 2 - 107, H / 2 + 10, 255, 255, 255);
    font.Shadowed("STATUS", W / 2 - 56, H / 2 + 11, 0, 128, 255);
    font.Shadowed("Press ESC to quit", W / 2 - 59, H - 22, 255, 0, 0);
    glColor4f(1, 1, 1, 1);
    EXPECT_TRUE(SaveCanvasPng(PreviewPath("credits.png")));
}
