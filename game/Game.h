// The one object that owns the engine objects, the camera and the player,
// the actor lists, every asset index, the round's counters and the screen
// state, and runs one whole frame at a time.
#ifndef ZIBO_GAME_H
#define ZIBO_GAME_H

#include "Actor.h"
#include "Bullet.h"
#include "Enemy.h"
#include "LogoEchoes.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

class SpriteManager;
class MusicPlayer;
class SoundBank;
class OruBitmapFont;
struct BarLayer;
struct Control;
struct HeadingLook;

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Loads every asset and sets up the title screen; runs once.
    void startUp(int32_t width, int32_t height);
    // One whole frame; returns true when the program is to end.
    bool runFrame();
    void resetRound();
    void shutDown();

    void playFrame();
    bool titleFrame();
    bool statisticsFrame();
    bool creditsFrame();
    void spawnEnemy();
    // The floor, the decals and the player: the bottom of every picture.
    void drawWorld();

    // The fields are public: the frame driver, the screens and the tests
    // all read and set them directly, as the game's plain data.
    SDL_Event event;
    std::vector<Enemy> enemies;
    std::vector<Bullet> bullets;
    std::vector<Actor> decals;
    SpriteManager* sprites;
    MusicPlayer* music;
    SoundBank* sounds;
    Actor* camera;
    Actor* player;
    OruBitmapFont* font;
    float health;
    float slowMoEnergy;
    float playerSpeed;
    float frameTime;
    float spawnInterval;
    float roundStartTime;
    float lastSpawnTime;
    float fadeAlpha;
    float roundTime;
    float distanceRan;
    float damageDealt;
    int32_t screenWidth;
    int32_t screenHeight;
    int32_t aimX;
    int32_t aimY;
    int32_t state;
    int32_t bodyCount;
    int32_t shotsFired;
    bool catMode;
    bool quit;
    bool slowMo;
    bool slowMoLocked;
    int32_t playerSprite;
    int32_t playerDeadSprite;
    int32_t badGuySprite;
    int32_t catSprite;
    int32_t bulletSprite;
    int32_t bloodSprite;
    int32_t floorSprites[3];
    int32_t floorChoice;
    int32_t slowMoOverlaySprite;
    int32_t hudSprite;
    int32_t pixelSprite;
    int32_t titleSprites[3];
    int32_t gameOverSprites[2];
    int32_t creditsSprites[2];
    int32_t manSounds[3];
    int32_t manSlowSounds[3];
    int32_t shotSounds[2];
    int32_t shotSlowSounds[2];
    int32_t catSound;
    int32_t catSlowSound;

    // Play stands still while the player looks away (the window loses its
    // focus or is minimised) or presses pause, and goes on at a press.
    bool paused;
    // The pad's signals (Controls.h) in this frame and in the one before.
    uint32_t padSignals;
    uint32_t padSignalsBefore;
    // Clock reading of the last search for a pad.
    uint32_t lastPadScan;

    // Screen state that lives for the whole run.
    LogoEchoes titleEchoes;
    LogoEchoes statisticsEchoes;
    LogoEchoes creditsEchoes;
    int32_t creditsPage;
    float pageTimer;
    bool pageRising;

private:
    // Walking speeds in pixels per second of game time: slow motion runs the
    // game at a quarter of its speed, so the player walks half as fast in
    // real time while the world around him is slowed four times.
    static constexpr float kWalkSpeed = 100.0f;
    static constexpr float kSlowMotionWalkSpeed = 200.0f;
    // A round starts with a full store of slow motion; refilling stops here.
    static constexpr float kFullSlowMoEnergy = 100.0f;

    // Frame driver (Game.cpp)
    void runState();
    void fadeOut();
    void enterRound();
    void enterState(int32_t next);
    void placePlayerAtCentre();

    // Start-up (GameStartUp.cpp)
    void loadSprites();
    void loadSounds();
    void loadFont();
    void playTheme();

    // World layer (GameWorld.cpp)
    void drawFloor();
    void chooseFloor();
    void drawInWorld(Actor& actor);

    // Play (GamePlay.cpp)
    void pollPlayEvents();
    void pressMouseButton(const SDL_MouseButtonEvent& press);
    void pressKey(const SDL_keysym& key);
    void pressRightButton(int x, int y);
    void startSlowMotion();
    void stopSlowMotion();
    void fire();
    void lockSlowMotionWhenDrained();
    bool walk();
    void spawnWhenDue();
    void updateSlowMotionEnergy();
    void facePlayer();
    void updateEnemies();
    void killPlayerWhenHealthGone();
    void updateBullets();
    bool hitEnemies(Bullet& bullet);
    void killEnemy(size_t index);
    void playDeathSound(const Enemy& enemy);
    void layBlood(float x, float y);
    float clockSeconds() const;

    // Keys, buttons and sticks (GameInput.cpp)
    bool held(const Control& control) const;
    bool padPressed(uint32_t signals) const;
    bool padReleased(uint32_t signals) const;
    void readPad();
    void playPad();
    void aimWithStick();
    void aimAtPointer(int x, int y);
    bool switchScreenOnKey(const SDL_Event& pressed);
    void scanForPadWhenDue();

    // Pause (GamePause.cpp)
    void pauseRound();
    void resumeRound();
    void pausedFrame();
    void drawStillRound();
    void drawPauseNotice();

    // HUD (GameHud.cpp)
    void drawHud();
    void drawBar(const BarLayer* layers, int32_t valueWidth);

    // Screens (GameScreens.cpp, TitleScreen.cpp, StatisticsScreen.cpp,
    // CreditsScreen.cpp)
    enum Prompt { BeginPrompt, RetryPrompt, QuitPrompt };
    void pollScreenEvents();
    void readScreenKeys(int32_t beginState, int32_t backState);
    // Returns the heading's x.
    int32_t drawHeading(LogoEchoes& echoes, const HeadingLook& look);
    void drawBand();
    void drawPrompt(Prompt prompt);
    void drawRoundFigures();
    void advancePageClock();
    void drawCreditsPage();
};

#endif
