#include "i18n/Catalogue.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr char kContextEnd = '\x04'; // gettext's separator between a context and its message

std::uint32_t swapped(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xff00u) | ((v << 8) & 0xff0000u) | (v << 24);
}

// Bounds-checked reads of a file nobody has vouched for: a damaged install must not crash the game.
struct Reader {
    std::string_view bytes;
    bool swap = false;

    std::optional<std::uint32_t> word(std::size_t offset) const {
        if (offset > bytes.size() || bytes.size() - offset < 4) return std::nullopt;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
        return swap ? swapped(v) : v;
    }
    // Entry index of the table at table_offset: a length and an offset, the text NUL-terminated.
    std::optional<std::string_view> string(std::uint32_t table_offset, std::uint32_t index) const {
        const std::size_t entry = std::size_t{table_offset} + std::size_t{index} * 8;
        const auto length = word(entry);
        const auto offset = word(entry + 4);
        if (!length || !offset || *offset > bytes.size() || bytes.size() - *offset <= *length)
            return std::nullopt;
        if (bytes[std::size_t{*offset} + *length] != '\0') return std::nullopt;
        return bytes.substr(*offset, *length);
    }
};

} // namespace

std::optional<Catalogue> Catalogue::parse(std::string_view bytes) {
    Reader reader{bytes};
    const auto magic = reader.word(0);
    if (!magic || (*magic != kMagic && *magic != kMagicSwapped)) return std::nullopt;
    reader.swap = *magic == kMagicSwapped;
    const auto revision = reader.word(4);
    const auto count = reader.word(8);
    const auto ids = reader.word(12);
    const auto translations = reader.word(16);
    if (!revision || (*revision >> 16) != 0 || !count || !ids || !translations) return std::nullopt;
    if (*count > bytes.size() / 16) return std::nullopt; // two 8-byte entries each cannot fit
    Catalogue catalogue;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto id = reader.string(*ids, i);
        const auto text = reader.string(*translations, i);
        if (!id || !text) return std::nullopt;
        // Plural forms follow the singular after a NUL: the game has none, and takes the first.
        const std::string_view singular_id = id->substr(0, id->find('\0'));
        const std::string_view singular = text->substr(0, text->find('\0'));
        if (singular_id.empty() || singular.empty()) continue; // the header, or nothing to say
        catalogue.entries_.emplace(singular_id, singular);
    }
    return catalogue;
}

const std::string* Catalogue::find(std::string_view context, std::string_view id) const {
    std::string key;
    key.reserve(context.size() + 1 + id.size());
    key.append(context).push_back(kContextEnd);
    key.append(id);
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}
