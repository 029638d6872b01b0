#include "online/BoardAnswer.h"

#include "replay/Hex.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace board_answer {

using nlohmann::json;

std::optional<json> objectOf(const std::string& body) {
    json value = json::parse(body, nullptr, false);
    if (value.is_discarded() || !value.is_object()) return std::nullopt;
    return value;
}

std::string text(const json& object, const char* field, std::size_t max_letters) {
    const auto found = object.find(field);
    if (found == object.end() || !found->is_string()) return {};
    std::string line;
    std::size_t letters = 0;
    for (const char c : found->get_ref<const std::string&>()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool starts_letter = (byte & 0xC0) != 0x80;
        if (starts_letter && ++letters > max_letters) return line + "...";
        line += byte < 0x20 || byte == 0x7F ? ' ' : c;
    }
    return line;
}

int number(const json& object, const char* field) {
    const auto found = object.find(field);
    if (found == object.end() || !found->is_number_integer()) return 0;
    return static_cast<int>(std::clamp<std::int64_t>(found->get<std::int64_t>(), 0, 1'000'000'000));
}

std::string percentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::optional<std::vector<Line>> listingOf(const std::string& body) {
    const std::optional<json> answer = objectOf(body);
    if (!answer) return std::nullopt;
    const auto runs = answer->find("runs");
    if (runs == answer->end() || !runs->is_array()) return std::nullopt;
    std::vector<Line> lines;
    for (const json& row : *runs) {
        if (lines.size() == 10) break;
        if (!row.is_object()) continue;
        Line line;
        line.rank = number(row, "rank");
        line.name = text(row, "name", 16);
        line.tag = text(row, "tag");
        line.score = number(row, "score");
        line.id = text(row, "id");
        if (line.rank < 1 || line.name.empty() || !isHex(line.tag, 8)) continue;
        if (!isHex(line.id, 32)) line.id.clear();
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace board_answer
