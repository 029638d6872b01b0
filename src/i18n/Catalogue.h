#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// One language's compiled gettext catalogue (a .mo file): the translation of each message, found by its
// context and its English text.
class Catalogue {
public:
    // Either byte order; nullopt for anything that is not a whole, well-formed catalogue.
    static std::optional<Catalogue> parse(std::string_view bytes);

    // Null where the catalogue has no translation, or an empty one (a translator's "not yet").
    const std::string* find(std::string_view context, std::string_view id) const;
    // Keyed by "context\x04id", gettext's own form.
    const std::unordered_map<std::string, std::string>& getEntries() const { return entries_; }

private:
    std::unordered_map<std::string, std::string> entries_; // "context\x04id" -> translation
};
