#pragma once
#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>

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

} // namespace board_answer
