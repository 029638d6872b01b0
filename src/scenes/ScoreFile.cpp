#include "scenes/ScoreFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

std::int32_t readScoreFile(const std::string& file_path) {
    std::uint32_t value = 0;
    std::ifstream file(file_path, std::ios::binary);
    if (!file) return 0;
    unsigned char bytes[4] = {0, 0, 0, 0};
    file.read(reinterpret_cast<char*>(bytes), 4);
    const auto got = static_cast<int>(file.gcount());
    for (int i = 0; i < got; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

bool writeScoreFile(const std::string& file_path, std::int32_t score) {
    const auto value = static_cast<std::uint32_t>(score);
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16),
                                    static_cast<unsigned char>(value >> 24)};
    const std::string temporary = file_path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) return false;
        file.write(reinterpret_cast<const char*>(bytes), 4);
        file.close();
        if (!file) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    // Truncating the real file and then writing could leave it empty after a crash at the wrong
    // moment; a rename replaces it in one step.
    std::error_code error;
    std::filesystem::rename(temporary, file_path, error);
    if (error) std::remove(temporary.c_str());
    return !error;
}
