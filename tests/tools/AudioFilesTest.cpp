// The generator's ID3v1 writer against the engine's reader: every field comes
// back as written, and a text longer than its field is cut to the field
// without spilling into the next.
#include "AudioFiles.h"
#include "Id3v1Tag.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

Id3v1Tag ReadBack(const std::string& block) {
    Id3v1Tag tag{"unread", "unread", "unread", "unread", "unread", 0};
    EXPECT_TRUE(ParseId3v1Tag(reinterpret_cast<const uint8_t*>(block.data()), block.size(), tag));
    return tag;
}

TEST(Id3v1Block, EveryFieldReadsBackAsWritten) {
    const Id3v1Tag written{"Title", "Artist", "Album", "1999", "Comment", 36};
    const std::string block = MakeId3v1Block(written);
    ASSERT_EQ(block.size(), kId3v1TagSize);
    const Id3v1Tag read = ReadBack(block);
    EXPECT_EQ(read.title, "Title");
    EXPECT_EQ(read.artist, "Artist");
    EXPECT_EQ(read.album, "Album");
    EXPECT_EQ(read.year, "1999");
    EXPECT_EQ(read.comment, "Comment");
    EXPECT_EQ(read.genre, 36);
}

// Each too long text stands before an empty field, which would show a spill.
TEST(Id3v1Block, LongTextsAreCutToTheirFields) {
    const std::string longText = "0123456789abcdefghijklmnopqrstuvwxyz";  // 36 characters
    const std::string cut = longText.substr(0, 30);

    const Id3v1Tag oddFieldsLong = ReadBack(MakeId3v1Block({longText, "", longText, "", "", 7}));
    EXPECT_EQ(oddFieldsLong.title, cut);
    EXPECT_EQ(oddFieldsLong.artist, "");
    EXPECT_EQ(oddFieldsLong.album, cut);
    EXPECT_EQ(oddFieldsLong.year, "");

    const Id3v1Tag evenFieldsLong = ReadBack(MakeId3v1Block({"", longText, "", "20245", "", 7}));
    EXPECT_EQ(evenFieldsLong.artist, cut);
    EXPECT_EQ(evenFieldsLong.album, "");
    EXPECT_EQ(evenFieldsLong.year, "2024");
    EXPECT_EQ(evenFieldsLong.comment, "");

    const Id3v1Tag lastFieldLong = ReadBack(MakeId3v1Block({"", "", "", "", longText, 7}));
    EXPECT_EQ(lastFieldLong.comment, cut);
    EXPECT_EQ(lastFieldLong.genre, 7);
}

}  // namespace
