#pragma once
#include <optional>
#include <string>
#include <vector>

// Daily runs waiting for the board, one file each in a folder beside the settings (DATE-HASH.mvr), so
// that a run made offline, or left unsent when the game closed, goes when it can. A run whose day has
// closed is dropped: the board takes only the day's own runs.
class RunQueue {
public:
    struct Entry {
        std::string path;
        std::string date;
    };

    explicit RunQueue(std::string folder) : folder_(std::move(folder)) {}

    // The run's file name, its ticket; empty when it cannot be kept (the folder cannot be made or written).
    std::string add(const std::string& date, const std::string& replay_bytes);
    static std::string ticketOf(const Entry& entry);
    // Today's runs, oldest first; runs of closed days are removed on the way.
    std::vector<Entry> pending(const std::string& today);
    // The run's bytes; nothing when its file is gone or unreadable.
    static std::optional<std::string> read(const Entry& entry);
    static void remove(const Entry& entry);

private:
    std::string folder_;
};
