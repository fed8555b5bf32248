// A pad beside the keyboard and mouse, through a real Game and SDL 2's
// virtual game controller: the sticks walk and aim as the keys and the
// pointer do, the triggers and shoulders fire and hold slow motion through
// the mouse buttons' rules, A, B, Start and Back do the screens' keys, and
// pads are sought on the screens between rounds only.
#include "GameHarness.h"

#include "GamePad.h"
#include "VirtualPad.h"

namespace {

// Right, then on round counter-clockwise on the screen (y down).
const int kDirections[8][2] = {{1, 0},  {1, -1}, {0, -1}, {-1, -1},
                               {-1, 0}, {-1, 1}, {0, 1},  {1, 1}};
const float kDiagonal = 0.7071f;  // each axis of a stick pushed fully aslant

class GamePadTest : public GameTest {
protected:
    void SetUp() override {
        // SDL reads pads only for a window with the input focus, which this
        // one, among the other tests' windows, need not have.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        pad.reset(new VirtualPad());
        GameTest::SetUp();
        ASSERT_TRUE(pad->Attached());
        Frame(1000);  // the title screen looks for pads once a second
        ASSERT_TRUE(GamePadOpen());
    }
    void TearDown() override {
        GameTest::TearDown();
        pad.reset();
    }
    // Everything let go, and one frame to read it.
    void LetGo(VirtualPad& which) {
        which.Stick(PadAxis::LeftX, 0, 0);
        which.Stick(PadAxis::RightX, 0, 0);
        which.Move(PadAxis::LeftTrigger, 0);
        which.Move(PadAxis::RightTrigger, 0);
        for (int button = 0; button <= static_cast<int>(PadButton::DpadRight); ++button) {
            which.Press(static_cast<PadButton>(button), false);
        }
        GameDriver::releaseAllKeys();
        Frame(0);
    }
    // From the centre, 100 ms of walking held by hold(): where the player
    // got to and the distance counted.
    std::vector<float> Walk(const std::function<void()>& hold) {
        game->player->setRect(0, 0, 32, 32);
        game->distanceRan = 0;
        hold();
        Frame(100);
        LetGo(*pad);
        return {game->player->getX(), game->player->getY(), game->distanceRan};
    }
    int Shots() const { return game->shotsFired; }
    std::unique_ptr<VirtualPad> pad;
};

TEST_F(GamePadTest, TheLeftStickAndTheDpadWalkAsTheKeysDoAndNotInsideTheDeadZone) {
    BeginRound();
    for (const auto& d : kDirections) {
        const auto keys = [&] {
            Hold({d[0] > 0   ? SDLK_d
                  : d[0] < 0 ? SDLK_a
                             : SDLK_UNKNOWN,
                  d[1] > 0   ? SDLK_s
                  : d[1] < 0 ? SDLK_w
                             : SDLK_UNKNOWN});
        };
        const float scale = d[0] != 0 && d[1] != 0 ? kDiagonal : 1.0f;
        const auto stick = [&] { pad->Stick(PadAxis::LeftX, d[0] * scale, d[1] * scale); };
        const auto dpad = [&] {
            pad->Press(d[0] > 0 ? PadButton::DpadRight : PadButton::DpadLeft, d[0] != 0);
            pad->Press(d[1] > 0 ? PadButton::DpadDown : PadButton::DpadUp, d[1] != 0);
        };
        const std::vector<float> byKeys = Walk(keys);
        EXPECT_EQ(Walk(stick), byKeys) << d[0] << ", " << d[1];
        EXPECT_EQ(Walk(dpad), byKeys) << d[0] << ", " << d[1];
        EXPECT_NE(byKeys[2], 0.0f);
    }
    const std::vector<float> still = {0, 0, 0};
    EXPECT_EQ(Walk([&] { pad->Stick(PadAxis::LeftX, 0.39f, -0.39f); }), still);
    EXPECT_EQ(Walk([&] { pad->Stick(PadAxis::LeftX, 0.41f, 0.39f); }),
              Walk([&] { Hold({SDLK_d}); }));
}

TEST_F(GamePadTest, TheRightStickAimsAsThePointerStandingAlongItAndTheMouseTakesItBack) {
    BeginRound();
    game->player->setRect(50, -30, 32, 32);
    for (const auto& d : kDirections) {
        const float scale = d[0] != 0 && d[1] != 0 ? kDiagonal : 1.0f;
        pad->Stick(PadAxis::RightX, d[0] * scale, d[1] * scale);
        Frame(10);
        // 100 pixels from the player, as a pointer there would aim.
        const double expected = std::atan2(-d[1], d[0]) * 180.0 / M_PI;
        EXPECT_NEAR(std::remainder(game->player->getAngle() - expected, 360.0), 0.0, 0.6)
            << d[0] << ", " << d[1];
        EXPECT_NEAR(std::hypot(game->aimX - 50, game->aimY + 30), 100.0, 0.75)
            << game->aimX << ", " << game->aimY;
    }
    // Back inside the dead zone the aim stays where the stick left it.
    pad->Stick(PadAxis::RightX, 0.3f, -0.35f);
    Frame(10);
    EXPECT_TRUE(Values(game->aimX, 121, game->aimY, 41));
    GameDriver::pushMotion(100, 400);
    Frame(10);
    EXPECT_TRUE(Values(game->aimX, -220, game->aimY, 160));
}

TEST_F(GamePadTest, EachPressOfATriggerOrShoulderFiresOnceAndTheLeftOnesHoldSlowMotion) {
    BeginRound();
    pad->Move(PadAxis::RightTrigger, 0.45f);
    Frame(10);
    EXPECT_EQ(Shots(), 0);  // short of the threshold
    pad->Move(PadAxis::RightTrigger, 0.55f);
    Frame(10);
    Frame(10);
    EXPECT_EQ(Shots(), 1);  // held, it fires no more
    pad->Move(PadAxis::RightTrigger, 0.0f);
    Frame(10);
    pad->Move(PadAxis::RightTrigger, 1.0f);
    pad->Press(PadButton::RightShoulder);
    Frame(10);
    Frame(10);
    ASSERT_EQ(Shots(), 3);
    const Bullet& shot = game->bullets.back();
    EXPECT_TRUE(Values(shot.damage, 100, shot.speed, 400));

    pad->Move(PadAxis::LeftTrigger, 1.0f);
    Frame(100);
    EXPECT_TRUE(Values(game->slowMo, 1, game->frameTime, 0.025));
    game->slowMoEnergy = 0.0f;
    Frame(10);
    pad->Press(PadButton::LeftShoulder);  // pressed again while locked: still locked
    Frame(10);
    EXPECT_TRUE(Values(game->slowMo, 0, game->slowMoLocked, 1));
    pad->Move(PadAxis::LeftTrigger, 0.0f);
    Frame(10);
    EXPECT_TRUE(Values(game->slowMoLocked, 1));  // the shoulder is still held
    pad->Press(PadButton::LeftShoulder, false);
    Frame(1000);
    pad->Press(PadButton::LeftShoulder);
    Frame(10);
    EXPECT_TRUE(Values(game->slowMo, 1, game->slowMoLocked, 0));
}

// A pad's B held ends a round as ESC does; A and Start begin and retry as
// SPACE does, and B decides when both are held; in the credits B quits. A
// second pad is left alone.
TEST_F(GamePadTest, ABeginsAndRetriesBGoesBackAndASecondPadIsIgnored) {
    VirtualPad second;
    Frame(1000);
    second.Press(PadButton::A);
    Frame(10);
    EXPECT_EQ(game->state, TitleScreen);
    pad->Press(PadButton::A);
    Frame(10);
    EXPECT_EQ(game->state, TitleToPlay);
    LetGo(*pad);
    Frame(2000);
    pad->Press(PadButton::B);
    Frame(10);
    EXPECT_EQ(game->state, PlayToStatistics);
    LetGo(*pad);
    Frame(2000);
    pad->Press(PadButton::Start);
    Frame(10);
    EXPECT_EQ(game->state, StatisticsToPlay);
    pad->Press(PadButton::Back);
    Frame(10);
    EXPECT_EQ(game->state, StatisticsToCredits);
    Frame(2000);
    EXPECT_EQ(game->state, Credits);
    LetGo(*pad);
    EXPECT_FALSE(Frame(10));
    pad->Press(PadButton::B);
    EXPECT_TRUE(Frame(10));
}

// Start pauses a round and a press of any button lets it go on, firing
// nothing; a stick pushed is no button, and the slow-motion trigger let go
// meanwhile is let go. The clock stood still.
TEST_F(GamePadTest, StartPausesAndAnyButtonGoesOnWithoutActing) {
    BeginRound();
    pad->Move(PadAxis::LeftTrigger, 1.0f);
    Frame(500);
    pad->Press(PadButton::Start);
    Frame(10);
    LetGo(*pad);
    pad->Stick(PadAxis::LeftX, 1, 0);
    Frame(5000);
    EXPECT_TRUE(game->paused);
    pad->Move(PadAxis::RightTrigger, 1.0f);
    Frame(10);
    EXPECT_TRUE(Values(game->paused, 0, game->slowMo, 0));
    Frame(10);
    EXPECT_TRUE(Values(Shots(), 0, game->roundTime, 0.52));
}

// No search during a round, which must never stutter: a pad plugged in then
// is found within a second of the statistics screen.
TEST_F(GamePadTest, APadPluggedInIsFoundBetweenRoundsWithinASecond) {
    pad->PullOut();
    BeginRound();
    pad.reset(new VirtualPad());
    pad->Press(PadButton::B);
    Frame(3000);
    EXPECT_EQ(game->state, Playing);
    Tap(SDLK_ESCAPE, 10);
    Frame(2000);
    ASSERT_EQ(game->state, Statistics);
    Frame(1000);
    EXPECT_EQ(game->state, StatisticsToCredits);
}

}  // namespace
