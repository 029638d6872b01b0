#include "scenes/ScoreFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(ScoreFileTest, FourLittleEndianBytesBothWays) {
    TempDir dir;
    const std::string path = dir.file("score.dat");
    ASSERT_TRUE(writeScoreFile(path, 1234));
    EXPECT_EQ(bytesOf(path), std::string("\xD2\x04\x00\x00", 4));
    EXPECT_EQ(readScoreFile(path), 1234);
    writeScoreFile(path, -1);
    EXPECT_EQ(bytesOf(path), std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(readScoreFile(path), -1);
    writeScoreFile(path, 50);
    EXPECT_EQ(bytesOf(path), std::string("\x32\x00\x00\x00", 4));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(ScoreFileTest, MissingShortAndLongFiles) {
    TempDir dir;
    EXPECT_EQ(readScoreFile(dir.file("none.dat")), 0);
    writeText(dir.file("short.dat"), std::string("\x34\x12", 2));
    EXPECT_EQ(readScoreFile(dir.file("short.dat")), 0x1234);
    writeText(dir.file("long.dat"), std::string("\x01\x00\x00\x00\xFF\xFF", 6));
    EXPECT_EQ(readScoreFile(dir.file("long.dat")), 1);
    writeText(dir.file("empty.dat"), "");
    EXPECT_EQ(readScoreFile(dir.file("empty.dat")), 0);
}

TEST(ScoreFileTest, FailedSaveLeavesTheOldScoreWhole) {
    TempDir dir;
    const std::string path = dir.file("score.dat");
    writeScoreFile(path, 777);
    // A directory where the temporary file would go: the new score cannot be written.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(writeScoreFile(path, 999));
    EXPECT_EQ(readScoreFile(path), 777);
    EXPECT_FALSE(writeScoreFile(dir.file("no/such/folder/score.dat"), 5));
}

TEST(ScoreFileTest, SaveReplacesTheFileInOneStep) {
    TempDir dir;
    const std::string path = dir.file("score.dat");
    writeScoreFile(path, 1);
    // Anyone holding the old file keeps the old bytes: it was replaced, never truncated in place.
    std::ifstream reader(path, std::ios::binary);
    ASSERT_TRUE(writeScoreFile(path, 2));
    char first = 0;
    reader.read(&first, 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(readScoreFile(path), 2);
}

} // namespace
