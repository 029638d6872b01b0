#pragma once
#include "online/BoardClient.h"
#include "online/BoardSender.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

// The game's side of its board: where it is, the reads (always, once an address is set), and the sending
// of daily runs with the player's key, only once the player agreed.
class BoardLink {
public:
    // The command line's address, else the settings'; nothing when there is none or this system cannot
    // reach a board (on Linux: no libcurl). Sends when the settings say the player agreed. Says which in
    // the log.
    static std::unique_ptr<BoardLink> open(const std::string& settings_address, bool send, const std::string& name,
                                           const std::string& command_line_address);

    BoardLink(std::string address, const std::string& folder);
    const std::string& address() const { return address_; }
    BoardClient& client() { return client_; }
    BoardSender* sender() const { return sender_.get(); }
    // The player's public tag on the board, once they send there: the first 8 hex digits of their key's hash.
    const std::string& tag() const { return tag_; }
    // Sends from now on under that name (empty: the board makes one), with the key kept here (made the
    // first time); false when no key can be made or kept.
    bool startSending(const std::string& name);
    void stopSending();
    // The key the board knows this player by, made now if there is none; nothing when none can be kept.
    std::optional<std::string> key() const;
    // A key's public tag: the first 8 hex digits of its hash, as the board shows it.
    static std::string tagOf(const std::string& key);
    // After the board forgot the player: a new key, as a new player, the sending (if on) with it.
    bool renewKey();

    // A run to watch as the title shows (--watch, the page's ?watch=): taken once.
    void requestWatch(std::string date, int rank) { watch_ = {std::move(date), rank}; }
    std::optional<std::pair<std::string, int>> takeWatchRequest() { return std::exchange(watch_, std::nullopt); }

    // A daily run that ended before the player was asked about the board: sent only if they agree.
    void holdUnasked(std::string date, std::string bytes);
    bool hasUnasked() const { return !unasked_bytes_.empty(); }
    // Queues the run held, when the player now sends; gives its ticket (empty when not sent).
    std::string releaseUnasked();

private:
    std::string address_;
    std::optional<std::pair<std::string, int>> watch_;
    std::string unasked_date_;
    std::string unasked_bytes_;
    std::string key_path_;
    std::string queue_folder_;
    std::string name_;
    std::string tag_;
    BoardClient client_;
    std::unique_ptr<BoardSender> sender_;
};
