// The ID3v1 tag reader on files of every awkward shape: fields cut at the
// first zero byte or filling their width, blanks kept, short and odd files.
#include "AudioFiles.h"
#include "Id3v1Tag.h"
#include "OutputCapture.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string kNoTagLine = "This file does not contain ID3v1 information\n";
const std::string kFullWidth = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters

class Id3v1TagTest : public ::testing::Test {
protected:
    // Reads the tag of a file holding bytes; the lines it printed land in err.
    std::unique_ptr<Id3v1Tag> Read(const std::string& bytes) {
        const std::string path = dir.File("track.ogg");
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return ReadPath(path);
    }
    std::unique_ptr<Id3v1Tag> ReadPath(const std::string& path) {
        OutputCapture capture;
        std::unique_ptr<Id3v1Tag> tag(ReadId3v1Tag(path.c_str()));
        capture.Stop();
        EXPECT_EQ(capture.Out(), "");
        err = capture.Err();
        return tag;
    }

    TempDir dir;
    std::string err;
};

TEST_F(Id3v1TagTest, FieldsAreReadInFileOrder) {
    const std::string audio(1000, 'x');
    const auto tag =
        Read(audio + MakeId3v1Block({"Title", "Artist", "Album", "1999", "Comment", 17}));
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(err, "");
    EXPECT_EQ(tag->title, "Title");
    EXPECT_EQ(tag->artist, "Artist");
    EXPECT_EQ(tag->album, "Album");
    EXPECT_EQ(tag->year, "1999");
    EXPECT_EQ(tag->comment, "Comment");
    EXPECT_EQ(tag->genre, 17);
}

// Without a zero byte a field is its whole width, and never runs on into the
// next one.
TEST_F(Id3v1TagTest, FieldsWithoutZeroByteFillTheirWidth) {
    const std::string block =
        MakeId3v1Block({kFullWidth, "abcdefghijklmnopqrstuvwxyz!?#$", kFullWidth, "2024",
                        "abcdefghijklmnopqrstuvwxyz!?#$", 255});
    const auto tag = Read(std::string(300, 'x') + block);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->title, kFullWidth);
    EXPECT_EQ(tag->artist, "abcdefghijklmnopqrstuvwxyz!?#$");
    EXPECT_EQ(tag->album, kFullWidth);
    EXPECT_EQ(tag->year, "2024");
    EXPECT_EQ(tag->comment, "abcdefghijklmnopqrstuvwxyz!?#$");
    EXPECT_EQ(tag->genre, 255);
}

TEST_F(Id3v1TagTest, FieldsEndAtTheFirstZeroByteAndKeepTheirBlanks) {
    std::string block = MakeId3v1Block({"Abc", "Band   ", " lead", "", "", 0});
    // Bytes after the first zero of a field are not part of it.
    const std::string titleWithTail = std::string("Ab\0junk", 7);
    block.replace(3, titleWithTail.size(), titleWithTail);
    const auto tag = Read(std::string(200, 'x') + block);
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->title, "Ab");
    EXPECT_EQ(tag->artist, "Band   ");
    EXPECT_EQ(tag->album, " lead");
    EXPECT_EQ(tag->year, "");
    EXPECT_EQ(tag->genre, 0);
}

TEST_F(Id3v1TagTest, TagIsOnlyLookedForInTheLast128Bytes) {
    EXPECT_EQ(Read(MakeId3v1Block({"Early", "Tag", "", "", "", 0}) + std::string(200, 'x')),
              nullptr);
    EXPECT_EQ(err, kNoTagLine);
    EXPECT_EQ(Read(std::string(500, 'x') + "TAG" + std::string(124, 'y')), nullptr);
    EXPECT_EQ(err, kNoTagLine);
    EXPECT_EQ(Read(std::string(500, 'x') + "tag" + std::string(125, 'y')), nullptr);
    EXPECT_EQ(err, kNoTagLine);
}

// A file no longer than the block: exactly 128 bytes is a tag, anything
// shorter is none, even when it starts with "TAG".
TEST_F(Id3v1TagTest, ShortFilesHoldNoTag) {
    const std::string block = MakeId3v1Block({"Whole", "File", "", "", "", 0});
    const auto whole = Read(block);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->title, "Whole");
    EXPECT_EQ(err, "");
    for (size_t size : {127, 100, 3, 0}) {
        EXPECT_EQ(Read(block.substr(0, size)), nullptr) << size << " bytes";
        EXPECT_EQ(err, kNoTagLine) << size << " bytes";
    }
}

TEST_F(Id3v1TagTest, UnopenableAndUnreadableFiles) {
    const std::string missing = dir.File("absent.ogg");
    EXPECT_EQ(ReadPath(missing), nullptr);
    EXPECT_EQ(err, "Can't open " + missing + "\n");
    // A directory opens but cannot be read.
    EXPECT_EQ(ReadPath(dir.Path()), nullptr);
    EXPECT_EQ(err, kNoTagLine);
}

TEST(Id3v1TagParse, UsesTheLastBlockOfTheBuffer) {
    const std::string bytes = std::string(7, 'x') + MakeId3v1Block({"T", "A", "", "", "", 9});
    Id3v1Tag tag;
    tag.genre = 0;
    ASSERT_TRUE(ParseId3v1Tag(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tag));
    EXPECT_EQ(tag.title, "T");
    EXPECT_EQ(tag.artist, "A");
    EXPECT_EQ(tag.genre, 9);
    // One byte short of a block: no tag, and the tag is left as it was.
    Id3v1Tag untouched{"keep", "keep", "keep", "keep", "keep", 1};
    EXPECT_FALSE(ParseId3v1Tag(reinterpret_cast<const uint8_t*>(bytes.data()) + 8,
                               kId3v1TagSize - 1, untouched));
    EXPECT_EQ(untouched.title, "keep");
    EXPECT_EQ(untouched.genre, 1);
    EXPECT_FALSE(ParseId3v1Tag(nullptr, 0, untouched));
}

}  // namespace
