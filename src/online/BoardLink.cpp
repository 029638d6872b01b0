#include "online/BoardLink.h"

#include "online/DeviceKey.h"
#include "online/Http.h"
#include "replay/Daily.h"
#include "replay/Sha256.h"

#include <SDL3/SDL.h>

#include <filesystem>

std::unique_ptr<BoardLink> BoardLink::open(const std::string& settings_address, bool send, const std::string& name,
                                           const std::string& command_line_address) {
    const std::string& address = command_line_address.empty() ? settings_address : command_line_address;
    if (address.empty()) return nullptr;
    if (!httpAvailable()) {
        SDL_Log("Board %s: this system cannot reach it (on Linux the board needs libcurl)", address.c_str());
        return nullptr;
    }
    auto link = std::make_unique<BoardLink>(address, "assets");
    if (!send) {
        SDL_Log("Board %s: daily runs are not sent, as the player has not agreed", address.c_str());
    } else if (link->startSending(name)) {
        SDL_Log("Board %s: daily runs that beat the day's best are sent", address.c_str());
    }
    return link;
}

BoardLink::BoardLink(std::string address, const std::string& folder)
    : address_(std::move(address)), key_path_(folder + "/board.key"), queue_folder_(folder + "/board-queue"),
      client_(address_, todayInUtc) {}

bool BoardLink::startSending(const std::string& name) {
    const std::optional<std::string> key = DeviceKey::loadOrMake(key_path_);
    if (!key) {
        SDL_Log("Board %s: no device key could be made or kept in %s", address_.c_str(), key_path_.c_str());
        return false;
    }
    name_ = name;
    tag_ = tagOf(*key);
    sender_.reset(); // one sender at a time on the queue
    BoardSender::Config config;
    config.address = address_;
    config.key = *key;
    config.name = name;
    config.queue_folder = queue_folder_;
    config.today = todayInUtc;
    sender_ = std::make_unique<BoardSender>(std::move(config));
    return true;
}

void BoardLink::stopSending() {
    sender_.reset();
    tag_.clear();
}

std::optional<std::string> BoardLink::key() const {
    return DeviceKey::loadOrMake(key_path_);
}

std::string BoardLink::tagOf(const std::string& key) {
    return sha256Hex(key).substr(0, 8);
}

bool BoardLink::renewKey() {
    std::error_code error;
    std::filesystem::remove(key_path_, error);
    if (!sender_) return true; // made when the player next agrees
    return startSending(name_);
}

void BoardLink::holdUnasked(std::string date, std::string bytes) {
    unasked_date_ = std::move(date);
    unasked_bytes_ = std::move(bytes);
}

std::string BoardLink::releaseUnasked() {
    std::string ticket = sender_ && !unasked_bytes_.empty() ? sender_->queue(unasked_date_, unasked_bytes_) : std::string();
    unasked_date_.clear();
    unasked_bytes_.clear();
    return ticket;
}
