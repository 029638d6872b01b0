#pragma once
#include <optional>
#include <string>
#include <string_view>

// A board's address as a player gives it (settings.ini's board_url, --board): http or https, a host, an
// optional port and path, nothing else. The board's API lives under it, at /v1/.
// Gives the address without a trailing slash ("http://127.0.0.1:8080"), or nothing and why not.
std::optional<std::string> parseBoardAddress(std::string_view text, std::string& why);
