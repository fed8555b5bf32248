// The music player on the real mixer: which tracks load, the lines it prints
// on which stream, and the music that SDL's disk audio driver captures; and
// its ID3v1 tag reader on files of every awkward shape. The generator's tag
// writer is checked against the reader elsewhere; here the block is laid out
// by hand where its layout is the point.
#include "AudioCapture.h"
#include "MusicPlayer.h"
#include "OutputCapture.h"
#include "SoundBank.h"
#include "TestWindow.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <memory>

namespace {

const double kTheme = 330.0;
const double kOther = 550.0;
const double kLevel = 0.25;
const double kAmplitude = kLevel * 32767;
const double kTrackSeconds = 0.25;
const double kBlockSeconds = 2048.0 / 44100;

class MusicPlayerTest : public ::testing::Test {
protected:
    // A tone track with the given ID3v1 block, or none, appended.
    void AddTrack(const std::string& name, double frequency, const std::string& tag) {
        const std::string ogg = ToneOgg(frequency, kTrackSeconds, kLevel);
        ASSERT_TRUE(!ogg.empty() && WriteFileBytes(dir.File(name), ogg + tag));
    }

    TempDir dir;
    AudioCapture audio;
};

// The mixer's reason for a failed load varies; it reads as "?" here.
std::string Reasonless(std::string text) {
    for (size_t at = 0; (at = text.find("... ", at)) != std::string::npos; at += 5) {
        text.replace(at + 4, text.find('\n', at) - at - 4, "?");
    }
    return text;
}

// Seconds of the capture in which the tone is heard.
double HeardSeconds(const std::vector<int16_t>& samples, double frequency) {
    const std::vector<double> levels = ToneLevels(samples, frequency);
    return kBlockSeconds *
           std::count_if(levels.begin(), levels.end(), [](double l) { return l > kAmplitude / 2; });
}

// Starting a track also turns the effects on channel 0 down to 100 of 128.
TEST_F(MusicPlayerTest, TracksUpToTheFirstGapPlayOnceOrForEverAndQuietenChannelZero) {
    AddTrack("0.ogg", kTheme, MakeId3v1Block({"Zibo Theme", "Oru", "", "", "", 0}));
    AddTrack("1.ogg", kOther, MakeId3v1Block({"Other", "Band", "", "", "", 0}));
    AddTrack("3.ogg", kOther, "");
    ASSERT_TRUE(WriteToneWav(dir.File("0.wav"), 1000, 1.0, 0.1));
    ASSERT_TRUE(WriteToneWav(dir.File("1.wav"), 1500, 1.0, 0.1));
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    SoundBank bank(dir.Path().c_str());
    player.PlayTrack(1, false);
    ASSERT_TRUE(audio.Wait(4 * kTrackSeconds));
    player.PlayTrack(0, true);
    bank.PlaySample(0, true);
    bank.PlaySample(1);
    ASSERT_TRUE(audio.Wait(0.2));
    player.PlayTrack(-1, true);  // out of range: the music plays on
    player.PlayTrack(2, false);
    ASSERT_TRUE(audio.Wait(4 * kTrackSeconds));
    capture.Stop();
    EXPECT_EQ(capture.Out(),
              "Pass) Playing track 1 (Band - Other)\nPass) Playing track 0 (Oru - Zibo Theme)\n");
    EXPECT_EQ(Reasonless(capture.Err()), "Err.) Can't load " + dir.File("2.ogg") +
                                             "... ?\nErr.) Music file " + dir.File("2.ogg") +
                                             " is missing\n" + dir.File("2.wav") +
                                             " is missing\nErr.) Music track -1 is out of range "
                                             "[0,1]\nErr.) Music track 2 is out of range [0,1]\n");
    const std::vector<int16_t> samples = audio.Samples();
    EXPECT_NEAR(Loudest(ToneLevels(samples, kTheme)), kAmplitude, 0.1 * kAmplitude);
    EXPECT_NEAR(HeardSeconds(samples, kOther), kTrackSeconds, 2 * kBlockSeconds);
    EXPECT_GT(HeardSeconds(samples, kTheme), 3 * kTrackSeconds + 0.2);
    EXPECT_NEAR(Loudest(ToneLevels(samples, 1000)), 3277 * 100.0 / 128, 60);
    EXPECT_NEAR(Loudest(ToneLevels(samples, 1500)), 3277, 60);
}

TEST_F(MusicPlayerTest, WithoutTrackZeroThereIsNoMusicAndEveryFailureIsLogged) {
    AddTrack("1.ogg", kTheme, "");
    ASSERT_TRUE(WriteFileBytes(dir.File("noise.ogg"), "OggS but nothing else"));
    OutputCapture capture;
    MusicPlayer player(dir.Path().c_str());
    player.PlayTrack(0, true);
    EXPECT_EQ(player.LoadTrack(dir.File("noise.ogg").c_str()), -1);
    EXPECT_EQ(player.LoadTrack(dir.File("1.ogg").c_str()), 0);
    player.PlayTrack(0, false);  // untagged: a shorter line
    MusicPlayer tooLong(std::string(450, 'd').c_str());
    Mix_CloseAudio();  // one way to make the mixer refuse a track
    player.PlayTrack(0, true);
    capture.Stop();
    EXPECT_EQ(capture.Out(), "Pass) Playing track 0\n");
    const std::string cut(399, 'd');  // the path cut to its buffer
    EXPECT_EQ(
        Reasonless(capture.Err()),
        "Err.) Can't load " + dir.File("0.ogg") + "... ?\nErr.) Music file " + dir.File("0.ogg") +
            " is missing\nErr.) No music found, disabling\nErr.) Music track 0 is out of "
            "range [0,-1]\nErr.) Can't load " +
            dir.File("noise.ogg") +
            "... ?\nThis file does not contain ID3v1 information\nErr.) Can't load " + cut +
            "... ?\nErr.) Music file " + cut + " is missing\nErr.) No music found, disabling\n" +
            "Err.) SDL_mixer error Audio device hasn't been opened\n");
}

class Id3v1TagTest : public ::testing::Test {
protected:
    // The tag of a file holding bytes; what the reader printed lands in err.
    std::unique_ptr<Id3v1Tag> Read(const std::string& bytes) {
        EXPECT_TRUE(WriteFileBytes(dir.File("a.ogg"), bytes));
        return ReadPath(dir.File("a.ogg"));
    }
    std::unique_ptr<Id3v1Tag> ReadPath(const std::string& path) {
        OutputCapture capture;
        std::unique_ptr<Id3v1Tag> tag(ReadId3v1Tag(path.c_str()));
        err = capture.Out() + "|" + capture.Err();  // every line belongs on standard error
        return tag;
    }

    TempDir dir;
    std::string err;
};

TEST_F(Id3v1TagTest, FieldsFillTheirWidthsOrEndAtTheirFirstZeroByteAndKeepTheirBlanks) {
    const std::string block = "TAG" + std::string(30, 't') + std::string(30, 'a') +
                              std::string(30, 'l') + "1999" + std::string(30, 'c') + "\x11";
    auto tag = Read(std::string(300, 'x') + block);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(err, "|");
    EXPECT_EQ(tag->title + tag->artist + tag->album + tag->year + tag->comment,
              block.substr(3, 124));

    std::string zeros = MakeId3v1Block({"", "Band   ", " lead", "", "", 0});
    zeros.replace(3, 7, std::string("Ab\0junk", 7));
    tag = Read(zeros);  // exactly the block: a file of 128 bytes holds a tag
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->title + "|" + tag->artist + "|" + tag->album + "|" + tag->year,
              "Ab|Band   | lead|");
}

TEST_F(Id3v1TagTest, OnlyTheLast128BytesOfALongEnoughFileAreATag) {
    const std::string block = MakeId3v1Block({"Title", "Artist", "", "", "", 0});
    for (const std::string& bytes : {block + "x", block.substr(0, 127), std::string("TAG"),
                                     std::string(500, 'x') + "tag" + block.substr(3)}) {
        EXPECT_EQ(Read(bytes), nullptr) << bytes.size() << " bytes";
        EXPECT_EQ(err, "|This file does not contain ID3v1 information\n");
    }
    EXPECT_EQ(ReadPath(dir.File("absent.ogg")), nullptr);
    EXPECT_EQ(err, "|Can't open " + dir.File("absent.ogg") + "\n");
}

}  // namespace
