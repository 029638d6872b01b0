#include "online/BoardSetup.h"

#include "online/DeviceKey.h"
#include "online/Http.h"
#include "replay/Daily.h"
#include "shell/Settings.h"

#include <SDL3/SDL.h>

namespace {
constexpr const char* kKeyFile = "assets/board.key";
constexpr const char* kQueueFolder = "assets/board-queue";
} // namespace

std::unique_ptr<BoardSender> startBoard(const Settings& settings, const std::string& command_line_address) {
    const std::string& address = command_line_address.empty() ? settings.board_url : command_line_address;
    if (address.empty()) return nullptr;
    if (!settings.board_send) {
        SDL_Log("Board %s: daily runs are not sent, as the player has not agreed", address.c_str());
        return nullptr;
    }
    if (!httpAvailable()) {
        SDL_Log("Board %s: this system cannot reach it (on Linux the board needs libcurl)", address.c_str());
        return nullptr;
    }
    const std::optional<std::string> key = DeviceKey::loadOrMake(kKeyFile);
    if (!key) {
        SDL_Log("Board %s: no device key could be made or kept in %s", address.c_str(), kKeyFile);
        return nullptr;
    }
    SDL_Log("Board %s: daily runs that beat the day's best are sent", address.c_str());
    BoardSender::Config config;
    config.address = address;
    config.key = *key;
    config.name = settings.board_name;
    config.queue_folder = kQueueFolder;
    config.today = todayInUtc;
    return std::make_unique<BoardSender>(std::move(config));
}
