#include "shell/LogFile.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// A flood of lines stops at the cap with one line saying so; the next run starts a fresh file.
TEST(LogFileTest, AFloodStopsAtTheCapAndTheNextRunStartsAfresh) {
    const TempDir dir;
    const std::string path = dir.file("moonvale.log");
    {
        LogFile log;
        ASSERT_TRUE(log.open(path));
        const std::string line(200, 'x');
        for (int i = 0; i < 8000; ++i) // 1.6 MB
            SDL_Log("%d %s", i, line.c_str());
    }
    const std::string flooded = readText(path);
    EXPECT_LE(flooded.size(), static_cast<std::size_t>(LogFile::MAX_BYTES));
    EXPECT_GT(flooded.size(), static_cast<std::size_t>(LogFile::MAX_BYTES) - 1024);
    EXPECT_NE(flooded.find(" APP INFO: 0 xxx"), std::string::npos);
    EXPECT_EQ(flooded.find("The log is full"), flooded.rfind("The log is full"));
    EXPECT_NE(flooded.find("further lines are dropped\n"), std::string::npos);
    SDL_Log("after the file closed: standard error only");
    EXPECT_EQ(readText(path), flooded);
}

} // namespace
