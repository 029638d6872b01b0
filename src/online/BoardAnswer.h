#pragma once
#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Reading what a board answers, which may be anything: every field is checked before it is used.
namespace board_answer {

// The answer as an object; nothing when it is not one.
std::optional<nlohmann::json> objectOf(const std::string& body);
// A string field, fit to be drawn on one line: no control characters, at most max_letters letters (UTF-8,
// never cut inside one), and an ellipsis where it was cut.
std::string text(const nlohmann::json& object, const char* field, std::size_t max_letters = 64);
// A whole number from 0 to a billion; 0 when the field is missing or is not one.
int number(const nlohmann::json& object, const char* field);
// For a query's value: everything but letters, digits and -_.~ as %XX.
std::string percentEncoded(const std::string& text);

// One line of a board's listing, as checked: a rank from 1, a name of at most 16 letters, an 8-digit tag,
// and the run's id (32 hex digits) or none.
struct Line {
    int rank = 0;
    std::string name;
    std::string tag;
    int score = 0;
    std::string id;
    bool operator==(const Line&) const = default;
};
// A listing's lines ("runs"), best first, at most ten, lines that fail the checks left out; nothing
// when the answer is not a listing.
std::optional<std::vector<Line>> listingOf(const std::string& body);

} // namespace board_answer
