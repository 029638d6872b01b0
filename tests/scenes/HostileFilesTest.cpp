// A damaged install: missing, truncated and garbage asset files, odd score files and a read-only
// assets/ folder. The game must start, play and quit without crashing, write nothing outside
// assets/, and keep the high score it holds in memory.
#include "actors/Player.h"
#include "assets/AssetStore.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "scenes/ScoreFile.h"
#include "support/SceneDriver.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct HostileFilesTest : SceneDriver {
    void SetUp() override {
        SceneDriver::SetUp();
        // The links made for this test process, replaced by real files we are free to damage.
        for (const auto& entry :
             fs::recursive_directory_iterator("assets", fs::directory_options::follow_directory_symlink)) {
            if (entry.is_regular_file()) originals.push_back(entry.path().string());
        }
        std::sort(originals.begin(), originals.end());
        materialise();
    }
    // Copies every linked file into a real tree, so single files can be replaced.
    void materialise() {
        const fs::path real = fs::canonical("assets/sprite/..");
        fs::remove_all("assets");
        fs::copy(real, "assets", fs::copy_options::recursive);
        fs::remove("assets/score.dat");
    }
    std::string readAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    void overwrite(const std::string& path, const std::string& bytes) {
        fs::remove(path);
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string randomBytes(size_t n) {
        std::string bytes(n, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng() & 0xff);
        return bytes;
    }
    // Title, start, a few seconds of play with a cast and a wave, back, quit.
    void playSession() {
        game.getAssetStore()->clean(); // forget whatever was loaded from the good files
        game.changeScene(new SceneTitle);
        frames(5);
        clickAt({440.0f, 560.0f});
        auto* main = dynamic_cast<SceneMain*>(scene());
        ASSERT_NE(main, nullptr);
        keys[SDL_SCANCODE_D] = true;
        frames(150);
        keys[SDL_SCANCODE_D] = false;
        clickAt({900.0f, 300.0f});
        frames(150);
        game.addScore(10);
        clickAt({1230.0f, 690.0f});
        ASSERT_NE(dynamic_cast<SceneTitle*>(scene()), nullptr);
        frames(5);
        clickAt({840.0f, 560.0f});
        EXPECT_FALSE(game.getIsRunning());
        game.setRunning(true);
    }
    void expectNothingWrittenOutsideAssets() {
        for (const auto& entry : fs::directory_iterator("."))
            EXPECT_EQ(entry.path().filename(), "assets");
        if (!fs::is_directory("assets")) return;
        for (const auto& entry : fs::directory_iterator("assets"))
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }

    std::vector<std::string> originals;
    std::mt19937 rng{1234};
};

TEST_F(HostileFilesTest, NoAssetsFolderAtAll) {
    fs::remove_all("assets");
    playSession();
    EXPECT_EQ(game.getHighScore(), 0); // nothing could be saved, so the title read nothing back
    for (const auto& entry : fs::directory_iterator("."))
        ADD_FAILURE() << "wrote " << entry.path();
}

TEST_F(HostileFilesTest, EveryFileTruncatedToHalf) {
    for (const std::string& path : originals) {
        const std::string bytes = readAll(path);
        overwrite(path, bytes.substr(0, bytes.size() / 2));
    }
    playSession();
    expectNothingWrittenOutsideAssets();
    EXPECT_EQ(readScoreFile("assets/score.dat"), 10);
}

TEST_F(HostileFilesTest, EveryFileReplacedByRandomBytes) {
    for (const std::string& path : originals)
        overwrite(path, randomBytes(readAll(path).size()));
    playSession();
    expectNothingWrittenOutsideAssets();
}

TEST_F(HostileFilesTest, EachFileOnItsOwnReplacedByRandomBytes) {
    int tried = 0;
    for (const std::string& path : originals) {
        if (path.find("credits") != std::string::npos) continue; // any bytes are valid text
        const std::string good = readAll(path);
        overwrite(path, randomBytes(std::min<size_t>(good.size(), 4096)));
        SCOPED_TRACE(path);
        playSession();
        overwrite(path, good);
        ++tried;
        if (HasFatalFailure()) return;
    }
    expectNothingWrittenOutsideAssets();
    std::printf("hostile files: %d files replaced one at a time\n", tried);
    EXPECT_GE(tried, 40);
}

TEST_F(HostileFilesTest, ScoreFilesOfZeroToEightBytes) {
    const std::string pattern("\x11\x22\x33\x44\x55\x66\x77\x08", 8);
    const std::int32_t expected[] = {0,          0x11,       0x2211,     0x332211,  0x44332211,
                                     0x44332211, 0x44332211, 0x44332211, 0x44332211};
    for (int n = 0; n <= 8; ++n) {
        overwrite("assets/score.dat", pattern.substr(0, static_cast<size_t>(n)));
        game.changeScene(new SceneTitle);
        EXPECT_EQ(game.getHighScore(), expected[n]) << n << " bytes";
        game.setScore(20);
        SceneMain main_writer; // the main scene writes; the value must survive the round trip
        main_writer.saveData("assets/score.dat");
        EXPECT_EQ(readAll("assets/score.dat").size(), 4u);
        EXPECT_EQ(readScoreFile("assets/score.dat"), std::max(expected[n], 20)) << n << " bytes";
        game.setScore(0);
    }
}

TEST_F(HostileFilesTest, ScoreFileThatIsAFolder) {
    fs::create_directory("assets/score.dat");
    game.changeScene(new SceneTitle);
    EXPECT_EQ(game.getHighScore(), 0);
    auto* main = new SceneMain;
    game.changeScene(main);
    game.addScore(40);
    main->getPlayer()->takeDamage(1000.0f);
    frames(3); // dead: saving every frame, and failing every frame
    EXPECT_EQ(game.getHighScore(), 40);
    EXPECT_TRUE(fs::is_directory("assets/score.dat"));
    expectNothingWrittenOutsideAssets();
}

TEST_F(HostileFilesTest, ReadOnlyAssetsFolder) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere; CTest runs this test again as nobody";
    writeScoreFile("assets/score.dat", 15);
    fs::permissions("assets", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    playSession();
    fs::permissions("assets", fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(readScoreFile("assets/score.dat"), 15); // the save failed and the old score is whole
    EXPECT_EQ(game.getHighScore(), 15);
    expectNothingWrittenOutsideAssets();
}

} // namespace
