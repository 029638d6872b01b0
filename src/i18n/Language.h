#pragma once
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// A language the game is translated into: its code (settings.ini's language=, the catalogue's file
// name) and its name as its own speakers write it, which is how the Options screen lists it.
struct Language {
    std::string_view code;
    std::string_view name;
};

// English first: the messages themselves, and where everything else falls back.
std::span<const Language> languages();
std::optional<std::size_t> languageIndex(std::string_view code);
// The first of the system's preferred languages the game has ("de-AT" and "de_DE" are "de"), else "en".
// SDL gives them from LANG and LANGUAGE on Linux, the browser's navigator.languages, Windows' display
// language.
std::string_view systemLanguage();
// One preferred locale's language and country (country may be empty), as SDL gives them.
std::optional<std::string_view> languageForLocale(std::string_view language, std::string_view country);
