#include "Board.h"
#include "BoardPaths.h"
#include "RunChecks.h"
#include "replay/Replay.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <thread>

using nlohmann::json;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string recorded(const std::string& name) {
    return readFile(std::string(MOONVALE_TEST_DATA) + "/" + name);
}

const std::string kKeyA(64, 'a');
const std::string kKeyB(64, 'b');

// The board's requests handled as the server hands them over, on a real database and with the real
// game as the verifier, on both databases. The clock stands at 20:00 UTC of the test day.
struct BoardTest : ::testing::TestWithParam<std::string> {
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("board-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        std::unique_ptr<Database> database;
        if (GetParam() == "postgres") {
            const char* conninfo = std::getenv("MOONVALE_TEST_POSTGRES");
            if (!conninfo) GTEST_SKIP() << "no PostgreSQL cluster for this run (MOONVALE_TEST_POSTGRES)";
            database = openPostgres(conninfo);
            auto fresh = database->connect();
            fresh->query("DROP TABLE IF EXISTS runs, board", {});
        } else {
            database = openSqlite((folder / "board.sqlite").string());
        }
        store = std::make_unique<Store>(std::move(database));
        store->createTables();
        BoardSettings settings;
        settings.verifier = MOONVALE_GAME;
        settings.scratch = folder.string();
        settings.limits.memory_mb = MOONVALE_VERIFY_MEMORY_MB;
        settings.now = [this] { return now; };
        board = std::make_unique<Board>(*store, settings);
        board->start();
    }
    void TearDown() override {
        board.reset();
        store.reset();
        std::filesystem::remove_all(folder);
    }
    Response post(const std::string& bytes, const std::string& key, const std::string& name = "",
                  const std::string& type = "application/octet-stream") {
        Request request{"POST", "/v1/runs", {}, type, "Bearer " + key, "127.0.0.1", bytes};
        if (!name.empty()) request.query["name"] = name;
        return board->handle(request);
    }
    json get(const std::string& address, int status = 200) {
        const std::string path = address.substr(0, address.find('?'));
        std::map<std::string, std::string> query;
        for (std::string rest = address.find('?') == std::string::npos ? "" : address.substr(address.find('?') + 1);
             !rest.empty();) {
            const std::string pair = rest.substr(0, rest.find('&'));
            query[pair.substr(0, pair.find('='))] = pair.substr(pair.find('=') + 1);
            rest = rest.find('&') == std::string::npos ? "" : rest.substr(rest.find('&') + 1);
        }
        const Response response = board->handle({"GET", path, query, "", "", "127.0.0.1", ""});
        EXPECT_EQ(response.status, status) << path << ": " << response.body;
        return response.content_type == "application/json" ? json::parse(response.body) : json(response.body);
    }
    // The run as it stands once the verifier is done with it.
    json settled(const std::string& id) {
        for (int i = 0; i < 600; ++i) {
            const json run = get("/v1/runs/" + id);
            if (run["status"] == "verified" || run["status"] == "rejected") return run;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << id << " was not verified within 30 s";
        return {};
    }
    static std::string idOf(const Response& response) { return json::parse(response.body)["id"]; }
    static std::string withFrame(const std::string& bytes, float dt, bool paused, std::uint32_t count = 1) {
        Replay replay = std::get<Replay>(decodeReplay(bytes));
        FrameInput frame;
        frame.dt = dt;
        frame.paused = paused;
        replay.runs.insert(replay.runs.begin(), ReplayRun{count, frame});
        replay.frame_count += count;
        return encodeReplay(replay);
    }

    std::filesystem::path folder;
    std::unique_ptr<Store> store;
    std::unique_ptr<Board> board;
    std::time_t now = 1796932800; // 2026-12-10T20:00:00Z
};

TEST_P(BoardTest, RanksTodaysRunsByTheScoreTheirReplaysGiveAndSharesThemOnceTheDayIsOver) {
    const std::string strikes = recorded("daily-strikes.mvr");
    const Response sent = post(strikes, kKeyA, "Zoë");
    ASSERT_EQ(sent.status, 202) << sent.body;
    const std::string id = idOf(sent);
    EXPECT_EQ(post(strikes, kKeyA, "Zoë").status, 200); // the same bytes again: the same run
    EXPECT_EQ(idOf(post(strikes, kKeyA, "Zoë")), id);
    const json run = settled(id);
    EXPECT_EQ(run["status"], "verified") << run.dump();
    EXPECT_EQ(run["score"], std::get<Replay>(decodeReplay(strikes)).final_score);
    // Not better than the day's best: nothing to verify.
    const Response lower = post(recorded("daily-falls.mvr"), kKeyA);
    EXPECT_EQ(lower.status, 422);
    EXPECT_NE(lower.body.find("no better than your best today"), std::string::npos) << lower.body;
    const Response falls = post(recorded("daily-falls.mvr"), kKeyB);
    ASSERT_EQ(falls.status, 202) << falls.body;
    EXPECT_EQ(settled(idOf(falls))["status"], "verified");

    const json top = get("/v1/boards/2026-12-10?limit=10");
    ASSERT_EQ(top["runs"].size(), 2u);
    EXPECT_EQ(top["runs"][0]["name"], "Zoë");
    EXPECT_EQ(top["runs"][0]["rank"], 1);
    EXPECT_EQ(top["runs"][1]["name"], "Ghost-" + top["runs"][1]["tag"].get<std::string>().substr(0, 4));
    const json around = get("/v1/boards/2026-12-10/around/" + top["runs"][1]["tag"].get<std::string>() + "?n=1");
    EXPECT_EQ(around["rank"], 2);
    EXPECT_EQ(around["runs"].size(), 2u);
    EXPECT_EQ(settled(id)["rank"], 1);

    get("/v1/runs/" + id + "/replay", 403);
    now += 86400;
    EXPECT_EQ(get("/v1/runs/" + id + "/replay").get<std::string>(), strikes);

    EXPECT_EQ(board->handle({"DELETE", "/v1/players/me", {}, "", "Bearer " + kKeyA, "127.0.0.1", ""}).status, 200);
    EXPECT_EQ(get("/v1/boards/2026-12-10")["total"], 1);
    get("/v1/runs/" + id, 404);
}

TEST_P(BoardTest, RefusesWhatCannotBeAnHonestRunOfTodayWithAReason) {
    const std::string falls = recorded("daily-falls.mvr");
    std::string flipped = falls;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x10);
    Replay other_rules = std::get<Replay>(decodeReplay(falls));
    ++other_rules.simulation_version;
    Replay assisted = std::get<Replay>(decodeReplay(falls));
    assisted.game_speed = 70;
    const struct {
        std::string bytes;
        int status;
        const char* says;
    } cases[] = {
        {flipped, 422, "not a replay"},
        {recorded("strikes.mvr"), 422, "not today's daily run"},
        {encodeReplay(other_rules), 422, "simulation version"},
        {encodeReplay(assisted), 422, "an assisted game, at 70 % speed"},
        {withFrame(falls, std::numeric_limits<float>::quiet_NaN(), false), 422, "not a time"},
        {withFrame(falls, -0.01f, true), 422, "not a time"},
        {withFrame(falls, 2.0f, false), 422, "longer than a second"},
        {withFrame(falls, 1.0f, true, 21 * 3600), 422, "longer than today has lasted"},
        {std::string(300 * 1024, 'x'), 413, "at most 256 KB"},
    };
    const std::string keys = "0123456789abcdef";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        // A key each: the player's rate limit is not what answers.
        const Response response = post(cases[i].bytes, std::string(64, keys[i]));
        EXPECT_EQ(response.status, cases[i].status) << cases[i].says << ": " << response.body;
        EXPECT_NE(response.body.find(cases[i].says), std::string::npos) << response.body;
    }
    EXPECT_EQ(post(falls, kKeyA, "", "application/x-www-form-urlencoded").status, 415);
    EXPECT_EQ(post(falls, "not-a-key").status, 400);
    EXPECT_EQ(post(falls, kKeyA, "Pаypal").status, 422);

    // A copied run: the same bytes, or the same end in other bytes, under another player.
    const Response first = post(falls, kKeyA);
    ASSERT_EQ(first.status, 202) << first.body;
    EXPECT_EQ(settled(idOf(first))["status"], "verified");
    EXPECT_EQ(post(falls, kKeyB).status, 422);
    Replay copy = std::get<Replay>(decodeReplay(falls));
    copy.game_version = "copied";
    const Response same_end = post(encodeReplay(copy), kKeyB);
    EXPECT_EQ(same_end.status, 422);
    EXPECT_NE(same_end.body.find("under another player"), std::string::npos) << same_end.body;
}

TEST_P(BoardTest, ABurstFromOnePlayerMeetsTooManyWithRetryAfter) {
    int refused = 0;
    Response last;
    for (int i = 0; i < 10 && last.status != 429; ++i) {
        last = post("garbage " + std::to_string(i), kKeyA);
        refused += last.status == 422;
    }
    EXPECT_EQ(last.status, 429);
    EXPECT_GT(last.retry_after, 0);
    EXPECT_EQ(refused, 5); // the burst, each refused for what it is
}

INSTANTIATE_TEST_SUITE_P(Databases, BoardTest, ::testing::Values("sqlite", "postgres"));

} // namespace
