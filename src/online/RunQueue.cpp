#include "online/RunQueue.h"

#include "shell/Platform.h"

#include "replay/Daily.h"
#include "replay/Hex.h"
#include "shell/AtomicFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace {

// The board takes no larger body: a longer run could never be sent.
constexpr std::size_t kMaxRunBytes = std::size_t{256} * 1024;

// The file's name only: FNV-1a of the bytes, so the same run queued twice is one file.
std::string nameHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    std::array<unsigned char, 8> bytes_of_hash{};
    for (std::size_t i = 0; i < bytes_of_hash.size(); ++i)
        bytes_of_hash[i] = static_cast<unsigned char>(hash >> (56 - 8 * i));
    return toHex(bytes_of_hash);
}

} // namespace

std::string RunQueue::add(const std::string& date, const std::string& replay_bytes) {
    if (replay_bytes.size() > kMaxRunBytes || !isDay(date)) return {};
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    std::string name = date + "-" + nameHash(replay_bytes) + ".mvr";
    if (error || !writeFileAtomically(folder_ + "/" + name, replay_bytes)) return {};
    return name;
}

std::string RunQueue::ticketOf(const Entry& entry) {
    return std::filesystem::path(entry.path).filename().string();
}

std::vector<RunQueue::Entry> RunQueue::pending(const std::string& today) {
    std::vector<std::pair<std::filesystem::file_time_type, Entry>> found;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder_, error)) {
        const std::string name = file.path().filename().string();
        if (!name.ends_with(".mvr") || !file.is_regular_file(error)) continue;
        const std::string date = name.substr(0, 10);
        Entry entry{file.path().string(), date};
        if (!isDay(date) || date < today) {
            remove(entry);
            continue;
        }
        found.emplace_back(file.last_write_time(error), std::move(entry));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first != b.first ? a.first < b.first : a.second.path < b.second.path; });
    std::vector<Entry> entries;
    entries.reserve(found.size());
    for (auto& [when, entry] : found)
        entries.push_back(std::move(entry));
    return entries;
}

std::optional<std::string> RunQueue::read(const Entry& entry) {
    std::ifstream file(entry.path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes(kMaxRunBytes + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() > kMaxRunBytes) return std::nullopt;
    return bytes;
}

void RunQueue::remove(const Entry& entry) {
    std::error_code ignored;
    std::filesystem::remove(entry.path, ignored);
    forgetFile(entry.path);
}
