// The music player on the real mixer: which tracks load, the lines it prints,
// and the music that SDL's disk audio driver captures.
#include "AudioCapture.h"
#include "MusicPlayer.h"
#include "OutputCapture.h"
#include "SoundBank.h"
#include "TestWindow.h"
#include "Tones.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const double kThemeTone = 330.0;
const double kOtherTone = 550.0;
const float kMusicLevel = 0.25f;
const double kMusicAmplitude = kMusicLevel * 32767;
const size_t kBlockFrames = 2048;
const double kBlockSeconds = static_cast<double>(kBlockFrames) / kCaptureRate;
const double kHeard = 0.5 * kMusicAmplitude;

class MusicPlayerTest : public ::testing::Test {
protected:
    MusicPlayerTest() : audio(captureDir.File("out.raw")) {}

    void SetUp() override { ASSERT_TRUE(audio.IsOpen()); }

    // A tone track, with the given ID3v1 block (or none) appended.
    std::string AddTrack(const std::string& name, double frequency, double seconds,
                         const std::string& tag) {
        const std::string ogg = ToneOgg(frequency, seconds, kMusicLevel);
        EXPECT_FALSE(ogg.empty());
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteFileBytes(path, ogg + tag));
        return path;
    }
    // "Err.) Can't load path... reason" with whatever reason the mixer gives.
    void ExpectCantLoadLine(const std::string& line, const std::string& path) {
        const std::string start = "Err.) Can't load " + path + "... ";
        EXPECT_EQ(line.substr(0, start.size()), start) << line;
        EXPECT_GT(line.size(), start.size()) << "no reason given: " << line;
    }

    TempDir dir;
    TempDir captureDir;
    AudioCapture audio;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "unterminated line in: " << text;
    return lines;
}

double MaxOf(const std::vector<double>& levels) {
    double highest = 0.0;
    for (const double level : levels) {
        highest = std::max(highest, level);
    }
    return highest;
}

// Seconds between the start of the first and the end of the last block in
// which the tone is heard; 0 when it is never heard.
double HeardSpan(const std::vector<double>& levels) {
    size_t first = levels.size();
    size_t last = 0;
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] > kHeard) {
            first = std::min(first, i);
            last = i;
        }
    }
    return first < levels.size() ? (last - first + 1) * kBlockSeconds : 0.0;
}

TEST_F(MusicPlayerTest, NumberedTracksLoadUpToTheFirstGap) {
    AddTrack("0.ogg", kThemeTone, 0.2, MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOtherTone, 0.2, MakeId3v1Block({"Other", "Oru", "", "", "", 0}));
    AddTrack("3.ogg", kOtherTone, 0.2, MakeId3v1Block({"Unreached", "Oru", "", "", "", 0}));
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    capture.Stop();

    EXPECT_EQ(capture.Out(), "");
    const std::vector<std::string> lines = Lines(capture.Err());
    ASSERT_EQ(lines.size(), 2u) << capture.Err();
    ExpectCantLoadLine(lines[0], dir.File("2.ogg"));
    EXPECT_EQ(lines[1], "Err.) Music file " + dir.File("2.ogg") + " is missing");
    EXPECT_EQ(player.GetTrackCount(), 2);
}

TEST_F(MusicPlayerTest, WithoutTrackZeroThereIsNoMusic) {
    // Untagged, so reading it would print a line of its own.
    AddTrack("1.ogg", kThemeTone, 0.2, "");
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    player.PlayTrack(0, true);
    player.PlayTrack(1, false);
    ASSERT_TRUE(audio.Wait(0.2));
    capture.Stop();

    EXPECT_EQ(capture.Out(), "");
    const std::vector<std::string> lines = Lines(capture.Err());
    ASSERT_EQ(lines.size(), 5u) << capture.Err();
    ExpectCantLoadLine(lines[0], dir.File("0.ogg"));
    EXPECT_EQ(lines[1], "Err.) Music file " + dir.File("0.ogg") + " is missing");
    EXPECT_EQ(lines[2], "Err.) No music found, disabling");
    EXPECT_EQ(lines[3], "Err.) Music track 0 is out of range [0,-1]");
    EXPECT_EQ(lines[4], "Err.) Music track 1 is out of range [0,-1]");
    EXPECT_EQ(player.GetTrackCount(), 0);
    EXPECT_EQ(PeakLevel(audio.Finish()), 0);
}

TEST_F(MusicPlayerTest, LoadTrackAddsAcceptedFilesOnly) {
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    ASSERT_TRUE(WriteFileBytes(dir.File("noise.ogg"), "OggS but nothing else"));
    EXPECT_EQ(player.LoadTrack(dir.File("noise.ogg").c_str()), -1);
    EXPECT_EQ(player.LoadTrack(AddTrack("a.ogg", kThemeTone, 0.2, "").c_str()), 0);
    EXPECT_EQ(player.LoadTrack(AddTrack("b.ogg", kThemeTone, 0.2, "").c_str()), 0);
    capture.Stop();
    EXPECT_EQ(player.GetTrackCount(), 2);
    const std::vector<std::string> lines = Lines(capture.Err());
    ASSERT_EQ(lines.size(), 6u) << capture.Err();
    ExpectCantLoadLine(lines[3], dir.File("noise.ogg"));
    EXPECT_EQ(lines[4], "This file does not contain ID3v1 information");
    EXPECT_EQ(lines[5], "This file does not contain ID3v1 information");
}

// The numbered path has 400 characters of room, terminator included.
TEST_F(MusicPlayerTest, NumberedPathsBeyondTheBufferAreGaps) {
    const size_t kPathRoom = 399;
    const std::string suffix = "/0.ogg";
    for (size_t extra : {0, 1}) {
        // Two levels of directory: one name may not exceed 255 characters.
        const std::string middle = dir.File(std::string(200, 'm') + std::to_string(extra));
        ASSERT_EQ(mkdir(middle.c_str(), 0700), 0);
        const size_t nameLength = kPathRoom + extra - suffix.size() - middle.size() - 1;
        const std::string sub = middle + "/" + std::string(nameLength, 'd');
        ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
        const std::string ogg = sub + suffix;
        ASSERT_EQ(ogg.size(), kPathRoom + extra);
        ASSERT_TRUE(WriteFileBytes(ogg, ToneOgg(kThemeTone, 0.1, kMusicLevel)));

        OutputCapture capture;
        MusicPlayer player(sub.c_str());
        capture.Stop();
        const std::vector<std::string> lines = Lines(capture.Err());
        if (extra == 0) {
            EXPECT_EQ(player.GetTrackCount(), 1);
            ASSERT_EQ(lines.size(), 3u) << capture.Err();
            EXPECT_EQ(lines[0], "This file does not contain ID3v1 information");
            ExpectCantLoadLine(lines[1], sub + "/1.ogg");
            EXPECT_EQ(lines[2], "Err.) Music file " + sub + "/1.ogg is missing");
        } else {
            const std::string cut = ogg.substr(0, kPathRoom);
            EXPECT_EQ(player.GetTrackCount(), 0);
            ASSERT_EQ(lines.size(), 3u) << capture.Err();
            ExpectCantLoadLine(lines[0], cut);
            EXPECT_EQ(lines[1], "Err.) Music file " + cut + " is missing");
            EXPECT_EQ(lines[2], "Err.) No music found, disabling");
        }
    }
}

TEST_F(MusicPlayerTest, RepeatedTrackZeroLoopsAndOnlyItIsHeard) {
    const double kTrackSeconds = 0.25;
    AddTrack("0.ogg", kThemeTone, kTrackSeconds,
             MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOtherTone, kTrackSeconds, MakeId3v1Block({"Other", "Oru", "", "", "", 0}));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    quiet.Stop();
    OutputCapture capture;
    player.PlayTrack(0, true);
    ASSERT_TRUE(audio.Wait(4 * kTrackSeconds));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "Pass) Playing track 0 (Oru - Zibo Theme)\n");
    EXPECT_EQ(capture.Err(), "");
    const std::vector<double> theme = ToneLevels(output, kBlockFrames, kThemeTone);
    EXPECT_NEAR(MaxOf(theme), kMusicAmplitude, 0.1 * kMusicAmplitude);
    EXPECT_GT(HeardSpan(theme), 3 * kTrackSeconds);
    EXPECT_EQ(HeardSpan(ToneLevels(output, kBlockFrames, kOtherTone)), 0.0);
}

TEST_F(MusicPlayerTest, TrackWithoutRepeatPlaysOnce) {
    const double kTrackSeconds = 0.25;
    AddTrack("0.ogg", kThemeTone, kTrackSeconds,
             MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOtherTone, kTrackSeconds, MakeId3v1Block({"Other", "Band", "", "", "", 0}));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    quiet.Stop();
    OutputCapture capture;
    player.PlayTrack(1, false);
    ASSERT_TRUE(audio.Wait(4 * kTrackSeconds));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "Pass) Playing track 1 (Band - Other)\n");
    const std::vector<double> other = ToneLevels(output, kBlockFrames, kOtherTone);
    EXPECT_GT(HeardSpan(other), kTrackSeconds - 2 * kBlockSeconds);
    EXPECT_LT(HeardSpan(other), kTrackSeconds + 2 * kBlockSeconds);
    EXPECT_EQ(HeardSpan(ToneLevels(output, kBlockFrames, kThemeTone)), 0.0);
}

TEST_F(MusicPlayerTest, OutOfRangeTracksLeaveTheMusicPlaying) {
    AddTrack("0.ogg", kThemeTone, 0.25, MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOtherTone, 0.25, MakeId3v1Block({"Other", "Oru", "", "", "", 0}));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    quiet.Stop();
    OutputCapture capture;
    player.PlayTrack(0, true);
    ASSERT_TRUE(audio.Wait(0.2));
    player.PlayTrack(-1, true);
    player.PlayTrack(2, false);
    ASSERT_TRUE(audio.Wait(0.6));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "Pass) Playing track 0 (Oru - Zibo Theme)\n");
    EXPECT_EQ(capture.Err(),
              "Err.) Music track -1 is out of range [0,1]\n"
              "Err.) Music track 2 is out of range [0,1]\n");
    // Heard from the start to well after the bad calls, 0.2 seconds in.
    EXPECT_GT(HeardSpan(ToneLevels(output, kBlockFrames, kThemeTone)), 0.6);
}

TEST_F(MusicPlayerTest, UntaggedTrackPlaysWithAShorterLine) {
    AddTrack("0.ogg", kThemeTone, 0.25, "");
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    player.PlayTrack(0, true);
    ASSERT_TRUE(audio.Wait(0.3));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "Pass) Playing track 0\n");
    const std::vector<std::string> lines = Lines(capture.Err());
    ASSERT_EQ(lines.size(), 3u) << capture.Err();
    EXPECT_EQ(lines[0], "This file does not contain ID3v1 information");
    EXPECT_GT(MaxOf(ToneLevels(output, kBlockFrames, kThemeTone)), kHeard);
}

TEST_F(MusicPlayerTest, TagTextsReachTheLogAsStored) {
    const std::string fullTitle = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    AddTrack("0.ogg", kThemeTone, 0.1, MakeId3v1Block({"Abc", "Band   ", "", "", "", 0}));
    AddTrack("1.ogg", kThemeTone, 0.1, MakeId3v1Block({fullTitle, "Oru", "", "", "", 0}));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    quiet.Stop();
    OutputCapture capture;
    player.PlayTrack(0, false);
    player.PlayTrack(1, false);
    capture.Stop();
    EXPECT_EQ(capture.Out(),
              "Pass) Playing track 0 (Band    - Abc)\n"
              "Pass) Playing track 1 (Oru - " +
                  fullTitle + ")\n");
}

// Starting a track turns the effects on channel 0 down to 100 of 128.
TEST_F(MusicPlayerTest, StartingATrackQuietensChannelZero) {
    const double kLowTone = 440.0;
    const double kHighTone = 1000.0;
    const int kToneAmplitude = 4000;
    AddTrack("0.ogg", kThemeTone, 1.0, "");
    ASSERT_TRUE(WriteToneWav(dir.File("0.wav"), kLowTone, 1.0, kToneAmplitude / 32767.0));
    ASSERT_TRUE(WriteToneWav(dir.File("1.wav"), kHighTone, 1.0, kToneAmplitude / 32767.0));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    SoundBank bank(dir.Path().c_str());
    ASSERT_EQ(bank.GetSampleCount(), 2);
    player.PlayTrack(0, false);
    bank.PlaySample(0, true);
    bank.PlaySample(1);  // first free channel: 1
    ASSERT_TRUE(audio.Wait(0.3));
    quiet.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_NEAR(MaxOf(ToneLevels(output, kBlockFrames, kLowTone)), kToneAmplitude * 100.0 / 128,
                0.02 * kToneAmplitude);
    EXPECT_NEAR(MaxOf(ToneLevels(output, kBlockFrames, kHighTone)), kToneAmplitude,
                0.02 * kToneAmplitude);
}

// A closed audio device is one way to make the mixer refuse a track.
TEST_F(MusicPlayerTest, RefusedTrackIsLoggedAndChangesNothing) {
    AddTrack("0.ogg", kThemeTone, 0.25, MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOtherTone, 0.25, MakeId3v1Block({"Other", "Oru", "", "", "", 0}));
    OutputCapture quiet;
    MusicPlayer player(dir.Path().c_str());
    player.PlayTrack(0, true);
    quiet.Stop();
    audio.Finish();
    OutputCapture capture;
    player.PlayTrack(1, true);
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), "Err.) SDL_mixer error Audio device hasn't been opened\n");
}

}  // namespace
