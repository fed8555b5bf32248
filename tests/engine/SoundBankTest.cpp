// The sound bank on the real mixer: loading messages, and what a play puts
// into the output that SDL's disk audio driver captures.
#include "AudioCapture.h"
#include "OutputCapture.h"
#include "SoundBank.h"
#include "TestWindow.h"
#include "Tones.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace {

const double kLowTone = 440.0;
const double kHighTone = 1000.0;
const int kToneAmplitude = 4000;
// 46 ms blocks: fine enough to see a sample start and stop.
const size_t kBlockFrames = 2048;
// A tone counts as heard above this level and as absent below the other.
const double kHeard = 0.5 * kToneAmplitude;
const double kAbsent = 0.01 * kToneAmplitude;

class SoundBankTest : public ::testing::Test {
protected:
    SoundBankTest() : audio(captureDir.File("out.raw")) {}

    void SetUp() override { ASSERT_TRUE(audio.IsOpen()); }

    std::string AddTone(const std::string& name, double frequency, double seconds,
                        int amplitude = kToneAmplitude) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteToneWav(path, frequency, seconds, amplitude / 32767.0));
        return path;
    }
    // A bank over the (still empty) directory, its "is missing" line dropped.
    std::unique_ptr<SoundBank> OpenBank() {
        OutputCapture quiet;
        return std::make_unique<SoundBank>(dir.Path().c_str());
    }

    TempDir dir;
    TempDir captureDir;
    AudioCapture audio;
};

double MaxOf(const std::vector<double>& levels) {
    double highest = 0.0;
    for (const double level : levels) {
        highest = std::max(highest, level);
    }
    return highest;
}

TEST_F(SoundBankTest, NumberedSamplesStopAtTheFirstGap) {
    for (int n : {0, 1, 3}) {
        AddTone(std::to_string(n) + ".wav", kLowTone, 0.05);
    }
    OutputCapture capture;
    SoundBank bank(dir.Path().c_str());
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), dir.File("2.wav") + " is missing\n");
    EXPECT_EQ(bank.GetSampleCount(), 2);
}

TEST_F(SoundBankTest, FailedLoadsAreSilentAndUseNoIndex) {
    OutputCapture capture;
    SoundBank bank(dir.Path().c_str());
    EXPECT_EQ(bank.GetSampleCount(), 0);
    ASSERT_TRUE(WriteFileBytes(dir.File("noise.wav"), "RIFF this is no wave file at all"));
    EXPECT_EQ(bank.LoadSample(dir.File("absent.wav").c_str()), -1);
    EXPECT_EQ(bank.LoadSample(dir.File("noise.wav").c_str()), -1);
    EXPECT_EQ(bank.LoadSample(AddTone("shot.wav", kLowTone, 0.05).c_str()), 0);
    EXPECT_EQ(bank.LoadSample(dir.File("absent.wav").c_str()), -1);
    EXPECT_EQ(bank.LoadSample(AddTone("hit.wav", kHighTone, 0.05).c_str()), 1);
    capture.Stop();
    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), dir.File("0.wav") + " is missing\n");
    EXPECT_EQ(bank.GetSampleCount(), 2);
}

// The numbered path has 200 characters of room, terminator included: a
// directory whose "/0.wav" path needs exactly that still loads, one character
// more is a gap even though the file is there.
TEST_F(SoundBankTest, NumberedPathsBeyondTheBufferAreGaps) {
    const size_t kPathRoom = 199;
    const std::string suffix = "/0.wav";
    for (size_t extra : {0, 1}) {
        const size_t nameLength = kPathRoom + extra - suffix.size() - dir.Path().size() - 1;
        const std::string sub = dir.File(std::string(nameLength, 'd'));
        ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
        const std::string wav = sub + suffix;
        ASSERT_EQ(wav.size(), kPathRoom + extra);
        ASSERT_TRUE(WriteToneWav(wav, kLowTone, 0.05, kToneAmplitude / 32767.0));

        OutputCapture capture;
        SoundBank bank(sub.c_str());
        capture.Stop();
        if (extra == 0) {
            EXPECT_EQ(bank.GetSampleCount(), 1);
            EXPECT_EQ(capture.Err(), sub + "/1.wav is missing\n");
        } else {
            EXPECT_EQ(bank.GetSampleCount(), 0);
            EXPECT_EQ(capture.Err(), wav.substr(0, kPathRoom) + " is missing\n");
        }
    }
}

TEST_F(SoundBankTest, PlayedSampleIsHeardAtFullVolume) {
    const std::unique_ptr<SoundBank> bank = OpenBank();
    ASSERT_EQ(bank->LoadSample(AddTone("low.wav", kLowTone, 0.5).c_str()), 0);
    ASSERT_EQ(bank->LoadSample(AddTone("high.wav", kHighTone, 0.5).c_str()), 1);
    OutputCapture capture;
    bank->PlaySample(1);
    ASSERT_TRUE(audio.Wait(0.4));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), "");
    EXPECT_NEAR(MaxOf(ToneLevels(output, kBlockFrames, kHighTone)), kToneAmplitude,
                0.02 * kToneAmplitude);
    EXPECT_LT(MaxOf(ToneLevels(output, kBlockFrames, kLowTone)), kAbsent);
}

TEST_F(SoundBankTest, BadIndicesPrintTheirLineAndStaySilent) {
    const std::unique_ptr<SoundBank> bank = OpenBank();
    OutputCapture capture;
    bank->PlaySample(0);
    AddTone("low.wav", kLowTone, 0.5);
    AddTone("high.wav", kHighTone, 0.5);
    ASSERT_EQ(bank->LoadSample(dir.File("low.wav").c_str()), 0);
    ASSERT_EQ(bank->LoadSample(dir.File("high.wav").c_str()), 1);
    bank->PlaySample(-1);
    bank->PlaySample(2);
    bank->PlaySample(INT_MIN, true);
    bank->PlaySample(INT_MAX, true);
    ASSERT_TRUE(audio.Wait(0.2));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(),
              "Sample 0 is out of bounds\n"
              "Sample -1 is out of bounds\n"
              "Sample 2 is out of bounds\n"
              "Sample -2147483648 is out of bounds\n"
              "Sample 2147483647 is out of bounds\n");
    EXPECT_EQ(capture.Err(), "");
    EXPECT_FALSE(output.empty());
    EXPECT_EQ(PeakLevel(output), 0);
}

// Eight mixing channels: the ninth of nine overlapping plays finds none free.
TEST_F(SoundBankTest, NinthOverlappingPlayIsRefusedAndNotHeard) {
    const int kChannels = 8;
    const int kQuietAmplitude = 1000;  // eight at once must not clip
    const std::unique_ptr<SoundBank> bank = OpenBank();
    ASSERT_EQ(bank->LoadSample(AddTone("low.wav", kLowTone, 1.0, kQuietAmplitude).c_str()), 0);
    ASSERT_EQ(bank->LoadSample(AddTone("high.wav", kHighTone, 1.0, kQuietAmplitude).c_str()), 1);
    OutputCapture capture;
    for (int i = 0; i < kChannels; ++i) {
        bank->PlaySample(0);
    }
    bank->PlaySample(1);
    ASSERT_TRUE(audio.Wait(0.3));
    capture.Stop();
    const std::vector<int16_t> output = audio.Finish();

    EXPECT_EQ(capture.Out(), "");
    EXPECT_EQ(capture.Err(), "Couldn't play sample 1: No free channels available\n");
    EXPECT_GT(MaxOf(ToneLevels(output, kBlockFrames, kLowTone)), 0.5 * kQuietAmplitude);
    EXPECT_LT(MaxOf(ToneLevels(output, kBlockFrames, kHighTone)), 0.01 * kQuietAmplitude);
}

// Plays a long low tone, then a long high tone a little later, and returns
// the block levels of both tones.
struct TwoToneLevels {
    std::vector<double> low;
    std::vector<double> high;
};

TwoToneLevels PlayLowThenHigh(SoundBank& bank, AudioCapture& audio, bool onChannelZero) {
    bank.PlaySample(0, onChannelZero);
    EXPECT_TRUE(audio.Wait(0.25));
    bank.PlaySample(1, onChannelZero);
    EXPECT_TRUE(audio.Wait(0.3));
    const std::vector<int16_t> output = audio.Finish();
    return TwoToneLevels{ToneLevels(output, kBlockFrames, kLowTone),
                         ToneLevels(output, kBlockFrames, kHighTone)};
}

// Index of the first block in which the tone is heard, or levels.size().
size_t FirstHeard(const std::vector<double>& levels) {
    size_t i = 0;
    while (i < levels.size() && levels[i] < kHeard) {
        ++i;
    }
    return i;
}

TEST_F(SoundBankTest, PlaysOnChannelZeroCutEachOther) {
    const std::unique_ptr<SoundBank> bank = OpenBank();
    ASSERT_EQ(bank->LoadSample(AddTone("low.wav", kLowTone, 2.0).c_str()), 0);
    ASSERT_EQ(bank->LoadSample(AddTone("high.wav", kHighTone, 2.0).c_str()), 1);
    const TwoToneLevels levels = PlayLowThenHigh(*bank, audio, true);

    const size_t lowStart = FirstHeard(levels.low);
    const size_t highStart = FirstHeard(levels.high);
    ASSERT_LT(lowStart, highStart);
    ASSERT_LT(highStart + 2, levels.high.size());
    // The block in which the cut falls holds a little of both.
    for (size_t i = highStart + 1; i < levels.low.size(); ++i) {
        EXPECT_LT(levels.low[i], kAbsent) << "block " << i;
        EXPECT_GT(levels.high[i], kHeard) << "block " << i;
    }
}

TEST_F(SoundBankTest, PlaysOnFreeChannelsOverlap) {
    const std::unique_ptr<SoundBank> bank = OpenBank();
    ASSERT_EQ(bank->LoadSample(AddTone("low.wav", kLowTone, 2.0).c_str()), 0);
    ASSERT_EQ(bank->LoadSample(AddTone("high.wav", kHighTone, 2.0).c_str()), 1);
    const TwoToneLevels levels = PlayLowThenHigh(*bank, audio, false);

    const size_t lowStart = FirstHeard(levels.low);
    const size_t highStart = FirstHeard(levels.high);
    ASSERT_LT(lowStart, highStart);
    ASSERT_LT(highStart + 2, levels.high.size());
    for (size_t i = highStart + 1; i < levels.low.size(); ++i) {
        EXPECT_GT(levels.low[i], kHeard) << "block " << i;
        EXPECT_GT(levels.high[i], kHeard) << "block " << i;
    }
}

}  // namespace
