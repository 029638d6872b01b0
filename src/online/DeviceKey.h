#pragma once
#include <optional>
#include <string>

// The player's key on the board: 32 bytes from the system's secure random source, written once as 64 hex
// digits beside the settings and sent as a bearer token. The board keeps only its hash; nothing else
// names the player.
class DeviceKey {
public:
    // The key kept at path, or a new one written there (through a temporary and a rename); nothing when
    // no key can be read or made and kept.
    static std::optional<std::string> loadOrMake(const std::string& path);
    // 64 hex digits from the secure source, or nothing when it fails.
    static std::optional<std::string> make();
    static bool isValid(const std::string& key);
};
