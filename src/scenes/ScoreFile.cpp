#include "scenes/ScoreFile.h"

#include "replay/Replay.h"
#include "shell/AtomicFile.h"

#include <fstream>
#include <string_view>

std::int32_t readScoreFile(const std::string& file_path) {
    std::ifstream file(file_path, std::ios::binary);
    if (!file) return 0;
    char bytes[4] = {0, 0, 0, 0};
    file.read(bytes, 4);
    return parseScore(std::string_view(bytes, static_cast<std::size_t>(file.gcount())));
}

std::int32_t parseScore(std::string_view bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return static_cast<std::int32_t>(value);
}

bool writeScoreFile(const std::string& file_path, std::int32_t score) {
    const auto value = static_cast<std::uint32_t>(score);
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 24)};
    return writeFileAtomically(file_path, std::string_view(reinterpret_cast<const char*>(bytes), 4));
}

std::string highScoreFile(int game_speed) {
    if (game_speed == Replay::FULL_SPEED) return "assets/score.dat";
    return "assets/score-speed" + std::to_string(game_speed) + ".dat";
}

std::string bestReplayFile(int game_speed) {
    if (game_speed == Replay::FULL_SPEED) return "assets/best.mvr";
    return "assets/best-speed" + std::to_string(game_speed) + ".mvr";
}
