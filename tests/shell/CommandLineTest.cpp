#include "shell/CommandLine.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kRenderers = {"opengl", "software"};

LaunchOptions parse(std::vector<std::string> arguments) {
    return parseCommandLine(arguments, kRenderers);
}

TEST(CommandLineTest, OptionsAndTheirErrors) {
    EXPECT_TRUE(parse({}).error.empty());
    EXPECT_FALSE(parse({}).fullscreen.has_value());
    EXPECT_EQ(parse({"--fullscreen", "--windowed"}).fullscreen, false); // the last one counts
    EXPECT_TRUE(parse({"--mute"}).mute);
    EXPECT_EQ(parse({"--renderer", "software"}).renderer, "software");
    EXPECT_EQ(parse({"--renderer=opengl"}).renderer, "opengl");
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"--version"}).version);

    EXPECT_FALSE(parse({"--renderer"}).error.empty());             // no name
    EXPECT_FALSE(parse({"--renderer", "direct3d"}).error.empty()); // not offered here
    EXPECT_FALSE(parse({"--fulscreen"}).error.empty());
    EXPECT_FALSE(parse({"extra"}).error.empty());
    // An error stops the parse: a later --help does not turn a mistake into success.
    EXPECT_FALSE(parse({"--nope", "--help"}).help);
}

// A board's address reaches the network: only a plain http(s) address of a host passes, tidied.
TEST(CommandLineTest, BoardAddressesAndWhatIsRefused) {
    EXPECT_EQ(parse({"--board", "http://127.0.0.1:8080/"}).board, "http://127.0.0.1:8080");
    EXPECT_EQ(parse({"--board=HTTPS://LocalHost/moonvale//"}).board, "https://localhost/moonvale");
    EXPECT_EQ(parse({"--board", "http://[::1]:9000"}).board, "http://[::1]:9000");
    for (const char* bad : {"ftp://127.0.0.1", "http://", "http://127.0.0.1@127.0.0.1", "http://127.0.0.1:0",
                            "http://127.0.0.1:99999", "http://127.0.0.1:", "http://127.0.0.1/a?b=1",
                            "http://127.0.0.1/%2e%2e", "http://127.0.0.1/../x", "http://127.0.0.1 /x",
                            "http://-localhost", "127.0.0.1:8080"}) {
        EXPECT_FALSE(parse({"--board", bad}).error.empty()) << bad;
    }
    const LaunchOptions watch = parse({"--watch", "2026-12-09/3"});
    EXPECT_EQ(watch.watch_date, "2026-12-09");
    EXPECT_EQ(watch.watch_rank, 3);
    for (const char* bad : {"2026-12-09", "2026-12-09/", "2026-12-09/0", "2026-12-09/1x", "2026-12-9/1", "../1",
                            "2026-12-09/-1", "2026-12-09/100001"})
        EXPECT_FALSE(parse({"--watch", bad}).error.empty()) << bad;
}

TEST(CommandLineTest, UsageNamesEveryOptionAndTheRenderers) {
    const std::string usage = usageText("moonvale", kRenderers);
    for (const char* word :
         {"--fullscreen", "--windowed", "--mute", "--renderer", "--help", "--version", "--board", "--watch",
          "opengl, software"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

} // namespace
