// The sound bank on the real mixer: loading messages, and what a play puts
// into the output that SDL's disk audio driver captures.
#include "AudioCapture.h"
#include "OutputCapture.h"
#include "SoundBank.h"
#include "TestWindow.h"

#include <climits>

namespace {

const double kLow = 440.0;
const double kHigh = 1000.0;
const double kLevel = 0.1;  // nine of them at once must not clip
const double kAmplitude = kLevel * 32767;

class SoundBankTest : public ::testing::Test {
protected:
    // A bank over an empty directory holding a low tone, 0, and a high one, 1.
    void SetUp() override {
        ASSERT_TRUE(WriteToneWav(dir.File("low.wav"), kLow, 2.0, kLevel));
        ASSERT_TRUE(WriteToneWav(dir.File("high.wav"), kHigh, 2.0, kLevel));
        quiet.Stop();
        ASSERT_EQ(bank.LoadSample(dir.File("low.wav").c_str()), 0);
        ASSERT_EQ(bank.LoadSample(dir.File("high.wav").c_str()), 1);
    }

    OutputCapture quiet;  // the bank's line, and the disk driver's warnings
    TempDir dir;
    SoundBank bank{dir.Path().c_str()};
    AudioCapture audio;
};

TEST_F(SoundBankTest, NumberedSamplesStopAtTheFirstGapAndBadIndicesPrintTheirLine) {
    for (const char* name : {"0.wav", "1.wav", "3.wav"}) {
        ASSERT_TRUE(WriteToneWav(dir.File(name), kLow, 0.05, kLevel));
    }
    ASSERT_TRUE(WriteFileBytes(dir.File("noise.wav"), "RIFF but no wave"));
    OutputCapture capture;
    SoundBank numbered(dir.Path().c_str());
    EXPECT_EQ(numbered.LoadSample(dir.File("noise.wav").c_str()), -1);
    EXPECT_EQ(numbered.LoadSample(dir.File("3.wav").c_str()), 2);  // a failure used no index
    SoundBank(std::string(250, 'd').c_str()).PlaySample(0);
    for (int index : {-1, 2, INT_MIN, INT_MAX}) {
        bank.PlaySample(index, index < 0);
    }
    capture.Stop();
    EXPECT_EQ(capture.Out(),
              "Sample 0 is out of bounds\nSample -1 is out of bounds\nSample 2 is out of bounds\n"
              "Sample -2147483648 is out of bounds\nSample 2147483647 is out of bounds\n");
    EXPECT_EQ(capture.Err(), dir.File("2.wav") + " is missing\n" + std::string(199, 'd') +
                                 " is missing\n");  // the path cut to its buffer
}

// A sample plays once, to its end and no further: twenty seconds of tone are
// twenty seconds of blocks (46 ms each) in the output, give or take the two
// it shares with silence. The capture runs some twenty times faster than real
// time, so a time limit on the channel shorter than a second would cut it.
TEST_F(SoundBankTest, APlayedSampleSoundsToItsEndOnce) {
    ASSERT_TRUE(WriteToneWav(dir.File("long.wav"), kLow, 20.0, kLevel));
    const int32_t index = bank.LoadSample(dir.File("long.wav").c_str());
    bank.PlaySample(index);
    ASSERT_TRUE(audio.Wait(22.0));
    int heard = 0;
    for (double level : ToneLevels(audio.Samples(), kLow)) {
        heard += level > kAmplitude / 2;
    }
    EXPECT_NEAR(heard, 20.0 * kAudioFrequency / 2048, 2);
}

// Eight mixing channels: the ninth of nine overlapping plays finds none free.
TEST_F(SoundBankTest, NinthOverlappingPlayIsRefusedAndNotHeard) {
    OutputCapture capture;
    for (int i = 0; i < 8; ++i) {
        bank.PlaySample(0);
    }
    bank.PlaySample(1);
    ASSERT_TRUE(audio.Wait(0.3));
    capture.Stop();
    EXPECT_EQ(capture.Out() + "|" + capture.Err(),  // nothing on standard output
              "|Couldn't play sample 1: No free channels available\n");
    EXPECT_GT(Loudest(ToneLevels(audio.Samples(), kLow)), 4 * kAmplitude);
    EXPECT_LT(Loudest(ToneLevels(audio.Samples(), kHigh)), 0.05 * kAmplitude);
}

// A play on channel 0 cuts off what plays there: the low tone starts first,
// the high one a quarter of a second later, and at most the block in which the
// cut falls holds both.
TEST_F(SoundBankTest, PlaysOnChannelZeroCutEachOther) {
    bank.PlaySample(0, true);
    ASSERT_TRUE(audio.Wait(0.25));
    bank.PlaySample(1, true);
    ASSERT_TRUE(audio.Wait(0.5));
    const std::vector<int16_t> samples = audio.Samples();
    const std::vector<double> low = ToneLevels(samples, kLow);
    const std::vector<double> high = ToneLevels(samples, kHigh);
    int lowHeard = 0, bothHeard = 0;
    for (size_t i = 0; i < low.size(); ++i) {
        lowHeard += low[i] > kAmplitude / 2;
        bothHeard += low[i] > kAmplitude / 20 && high[i] > kAmplitude / 20;
    }
    EXPECT_GT(lowHeard, 2);
    EXPECT_LE(bothHeard, 1);
    EXPECT_GT(Loudest(high), 0.9 * kAmplitude);
}

}  // namespace
