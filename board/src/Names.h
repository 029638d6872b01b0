#pragma once
#include <string>
#include <string_view>

// A display name as the board shows it, or why it cannot be one.
struct NameCheck {
    std::string name; // normalised (NFKC), when accepted
    std::string why;  // empty when accepted
};

// The board's rules for a display name: valid UTF-8, NFKC-normalised, 2 to 16 characters of letters,
// digits, spaces (not at either end, never two together), '_' and '-', a combining mark only right
// after a letter, and letters of one writing system (Chinese and Japanese scripts count as one).
// Controls, bidirectional and invisible characters are refused by name.
[[nodiscard]] NameCheck checkName(std::string_view utf8);

// "Ghost-3f2a": the name a player has until they choose one, from their public tag.
[[nodiscard]] std::string generatedName(std::string_view tag);
