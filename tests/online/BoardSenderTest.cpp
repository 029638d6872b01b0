#include "TestPaths.h"
#include "online/BoardClient.h"
#include "online/BoardLink.h"
#include "online/BoardSender.h"
#include "online/DeviceKey.h"
#include "online/Http.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::size_t filesIn(const std::string& folder) {
    std::error_code error;
    const auto files = std::filesystem::directory_iterator(folder, error);
    return error ? 0 : static_cast<std::size_t>(std::distance(files, std::filesystem::directory_iterator{}));
}

} // namespace

// What stays on disk between starts: the player's key is made once and kept (a new key would be a new
// player on the board), a damaged one is replaced; the same run queued twice is one file, and a run too
// large for any board is refused.
TEST(BoardSenderTest, KeyAndQueueOnDisk) {
    const TempDir dir;
    const std::string path = dir.file("board.key");
    const std::optional<std::string> key = DeviceKey::loadOrMake(path);
    ASSERT_TRUE(key && DeviceKey::isValid(*key));
    EXPECT_EQ(DeviceKey::loadOrMake(path), key);
    EXPECT_EQ(readText(path), *key + "\n");
    writeText(path, "not a key\n");
    const std::optional<std::string> fresh = DeviceKey::loadOrMake(path);
    ASSERT_TRUE(fresh && DeviceKey::isValid(*fresh));
    EXPECT_NE(fresh, key);

    RunQueue queue(dir.file("queue"));
    const std::string run = readText(std::string(MOONVALE_TEST_DATA) + "/daily-strikes.mvr");
    EXPECT_EQ(queue.add("2026-12-10", run), queue.add("2026-12-10", run));
    EXPECT_TRUE(queue.add("2026-12-10", std::string(300 * 1024, 'x')).empty());
    EXPECT_TRUE(queue.add("../../x", run).empty());
    ASSERT_EQ(queue.pending("2026-12-10").size(), 1u);
    EXPECT_EQ(RunQueue::read(queue.pending("2026-12-10").front()), run);
    EXPECT_TRUE(queue.pending("2026-12-11").empty()) << "its day has closed";
    EXPECT_EQ(filesIn(dir.file("queue")), 0u);
}

#ifdef MOONVALE_BOARD_SERVER

extern char** environ;

namespace {

constexpr const char* kDay = "2026-12-10";

// A socket listening on 127.0.0.1 at a port the system chose, which it never accepts from: the kernel
// completes a connection to it, and nobody answers.
int listenOnLoopback(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(fd, 4) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return -1;
    port = ntohs(address.sin_port);
    return fd;
}

int freePort() {
    int port = 0;
    close(listenOnLoopback(port));
    return port;
}

// The real moonvale-board on 127.0.0.1, its clock on the test day, verifying with this build's game.
class Board {
public:
    Board(const std::string& data, int port) : data_(data), port_(port) { start(); }
    ~Board() { stop(); }
    void start(const std::string& day = kDay) {
        const std::string port = std::to_string(port_);
        std::vector<std::string> args = {MOONVALE_BOARD_SERVER, "--data", data_, "--port", port,
                                         "--pretend-now", day + "T20:00:00Z", "--verifier",
                                         MOONVALE_GAME, "--verify-memory-mb", "0"};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ), 0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (get("/v1/health").status != 200) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the board did not start";
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(port_); }
    HttpResponse get(const std::string& path) const {
        HttpRequest request;
        request.url = address() + path;
        request.timeout_ms = 2000;
        return httpExchange(request);
    }

private:
    std::string data_;
    int port_;
    pid_t pid_ = 0;
};

BoardSender::Config configFor(const Board& board, const std::string& queue, const std::string& name) {
    BoardSender::Config config;
    config.address = board.address();
    config.key = *DeviceKey::make();
    config.name = name;
    config.queue_folder = queue;
    config.today = [] { return std::string(kDay); };
    config.first_wait = 0.2;
    config.poll_wait = 0.1;
    return config;
}

// The run's state once it is one of the wanted, or the last seen after 60 s.
BoardSender::Status awaitState(const BoardSender& sender, const std::string& ticket,
                               std::initializer_list<BoardSender::State> wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (true) {
        const BoardSender::Status status = sender.statusOf(ticket);
        if (std::find(wanted.begin(), wanted.end(), status.state) != wanted.end() ||
            std::chrono::steady_clock::now() > deadline)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

// Daily runs go to the real board and come back ranked; a run made while the board is down waits on disk
// and arrives once when it is back; a run the board refuses is dropped with its reason; a run of a closed
// day is never sent.
TEST(BoardSenderTest, RunsReachTheBoardOnceThroughAnOutage) {
    ASSERT_TRUE(httpAvailable()) << "libcurl is not installed";
    const TempDir dir;
    Board board(dir.file("board"), freePort());
    const std::string data = MOONVALE_TEST_DATA;

    const std::string first_queue = dir.file("first");
    RunQueue(first_queue).add("2026-12-09", readText(data + "/daily-web.mvr")); // yesterday's: dropped
    {
        BoardSender first(configFor(board, first_queue, ""));
        const std::string ticket = first.queue(kDay, readText(data + "/daily-strikes.mvr"));
        ASSERT_FALSE(ticket.empty());
        const BoardSender::Status status =
            awaitState(first, ticket, {BoardSender::State::VERIFIED, BoardSender::State::REJECTED});
        ASSERT_EQ(status.state, BoardSender::State::VERIFIED) << status.reason;
        EXPECT_GT(status.score, 0);
        EXPECT_EQ(status.rank, 1);
        EXPECT_EQ(status.of, 1);
    }
    EXPECT_EQ(filesIn(first_queue), 0u);

    board.stop();
    const std::string second_queue = dir.file("second");
    BoardSender second(configFor(board, second_queue, "Ёлка"));
    const std::string falls = second.queue(kDay, readText(data + "/daily-falls.mvr"));
    EXPECT_EQ(awaitState(second, falls, {BoardSender::State::OFFLINE}).state, BoardSender::State::OFFLINE);
    EXPECT_EQ(filesIn(second_queue), 1u) << "the run waits on disk";
    board.start();
    const BoardSender::Status arrived =
        awaitState(second, falls, {BoardSender::State::VERIFIED, BoardSender::State::REJECTED});
    ASSERT_EQ(arrived.state, BoardSender::State::VERIFIED) << arrived.reason;
    EXPECT_EQ(arrived.of, 2);
    EXPECT_EQ(filesIn(second_queue), 0u);
    const HttpResponse listing = board.get(std::string("/v1/boards/") + kDay);
    EXPECT_NE(listing.body.find("\"total\":2"), std::string::npos) << listing.body;
    EXPECT_NE(listing.body.find("Ёлка"), std::string::npos) << listing.body;

    // Not a daily run at all: refused for good, with the board's reason, and not kept.
    const std::string wrong = second.queue(kDay, readText(data + "/strikes.mvr"));
    const BoardSender::Status refused = awaitState(second, wrong, {BoardSender::State::REJECTED});
    ASSERT_EQ(refused.state, BoardSender::State::REJECTED);
    EXPECT_NE(refused.reason.find("seed"), std::string::npos) << refused.reason;
    EXPECT_EQ(filesIn(second_queue), 0u);
    EXPECT_EQ(second.statusOf(falls).rank, arrived.rank) << "each run keeps its own verdict";
}

// Waits for the board's answer to what was asked of the client, for at most 60 s.
template <typename Read> auto answered(Read read) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    auto answer = read();
    while (answer.state == BoardClient::State::ASKING && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        answer = read();
    }
    return answer;
}

// What the title and Options ask of the real board: names checked by its rules (Japanese and Russian
// taken, a mixed-script look-alike refused with why), today's listing with the player's own place, the
// day before's best fetched to be watched once that day has closed, and the player forgotten. A board
// that cannot be reached fails quietly.
TEST(BoardSenderTest, TheGameReadsTheBoardAndLeavesIt) {
    ASSERT_TRUE(httpAvailable()) << "libcurl is not installed";
    const TempDir dir;
    Board board(dir.file("board"), freePort());
    BoardClient client(board.address(), [] { return std::string(kDay); });
    const auto name = [&](const std::string& typed) {
        client.checkName(typed);
        return answered([&] { return client.nameCheck(); });
    };
    EXPECT_EQ(name("ゆうれい").value, "ゆうれい");
    EXPECT_EQ(name("Призрак").value, "Призрак");
    const BoardClient::Result refused = name("Pаypal"); // a Cyrillic a among Latin letters
    EXPECT_EQ(refused.state, BoardClient::State::FAILED);
    EXPECT_EQ(refused.status, 422);
    EXPECT_NE(refused.why.find("name refused"), std::string::npos) << refused.why;

    const BoardSender::Config config = configFor(board, dir.file("queue"), "ゆうれい");
    const std::string strikes = readText(std::string(MOONVALE_TEST_DATA) + "/daily-strikes.mvr");
    {
        BoardSender sender(config);
        const std::string ticket = sender.queue(kDay, strikes);
        ASSERT_EQ(awaitState(sender, ticket, {BoardSender::State::VERIFIED}).state, BoardSender::State::VERIFIED);
    }
    client.refreshListing(BoardLink::tagOf(config.key));
    const BoardClient::Listing today = answered([&] { return client.listing(); });
    ASSERT_EQ(today.state, BoardClient::State::DONE);
    ASSERT_EQ(today.top.size(), 1u);
    EXPECT_EQ(today.top[0].name, "ゆうれい");
    ASSERT_TRUE(today.own);
    EXPECT_EQ(today.own->rank, 1);
    EXPECT_EQ(today.total, 1);
    EXPECT_TRUE(today.best_earlier.empty());

    board.stop();
    board.start("2026-12-11");
    BoardClient tomorrow(board.address(), [] { return std::string("2026-12-11"); });
    tomorrow.refreshListing("");
    const BoardClient::Listing next = answered([&] { return tomorrow.listing(); });
    ASSERT_FALSE(next.best_earlier.empty()) << "yesterday's best can be watched";
    tomorrow.fetchReplay(next.best_earlier);
    EXPECT_EQ(answered([&] { return tomorrow.replay(); }).value, strikes);

    tomorrow.forget(config.key);
    EXPECT_EQ(answered([&] { return tomorrow.forgotten(); }).value, "1");
    tomorrow.refreshListing(""); // at once, not 30 s on: forgetting made the listing stale
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!tomorrow.listing().best_earlier.empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(tomorrow.listing().best_earlier.empty()) << "the forgotten player's run is off the board";

    BoardClient nowhere("http://127.0.0.1:" + std::to_string(freePort()), [] { return std::string(kDay); });
    nowhere.refreshListing("");
    EXPECT_EQ(answered([&] { return nowhere.listing(); }).state, BoardClient::State::FAILED);
}

// A board that takes the connection and never answers: the game does not wait for it. Queueing returns at
// once, and the game quits within about a second although the exchange would run for ten.
TEST(BoardSenderTest, AHangingBoardHoldsUpNeitherTheGameNorItsQuit) {
    ASSERT_TRUE(httpAvailable()) << "libcurl is not installed";
    int port = 0;
    const int listener = listenOnLoopback(port);
    ASSERT_GE(listener, 0);
    const TempDir dir;
    BoardSender::Config config;
    config.address = "http://127.0.0.1:" + std::to_string(port);
    config.key = *DeviceKey::make();
    config.queue_folder = dir.file("queue");
    config.today = [] { return std::string(kDay); };
    auto sender = std::make_unique<BoardSender>(config);
    const auto queued = std::chrono::steady_clock::now();
    const std::string ticket = sender->queue(kDay, readText(std::string(MOONVALE_TEST_DATA) + "/daily-strikes.mvr"));
    EXPECT_LT(std::chrono::steady_clock::now() - queued, std::chrono::milliseconds(500));
    ASSERT_EQ(awaitState(*sender, ticket, {BoardSender::State::SENDING}).state, BoardSender::State::SENDING);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // well into the exchange
    const auto quitting = std::chrono::steady_clock::now();
    sender.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - quitting, std::chrono::seconds(3));
    EXPECT_EQ(filesIn(dir.file("queue")), 1u) << "the run waits for the next start";
    close(listener);
}

#endif
