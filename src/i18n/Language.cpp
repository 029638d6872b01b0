#include "i18n/Language.h"

#include <SDL3/SDL.h>

#include <array>

namespace {

// The font is cut down to the letters the catalogues use and these names (the build reads this file).
constexpr std::array<Language, 9> kLanguages = {{
    {"en", "English"},
    {"zh_CN", "简体中文"},
    {"ja", "日本語"},
    {"ko", "한국어"},
    {"de", "Deutsch"},
    {"fr", "Français"},
    {"es", "Español"},
    {"pt_BR", "Português (Brasil)"},
    {"ru", "Русский"},
}};

} // namespace

std::span<const Language> languages() {
    return kLanguages;
}

std::optional<std::size_t> languageIndex(std::string_view code) {
    for (std::size_t i = 0; i < kLanguages.size(); ++i) {
        if (kLanguages[i].code == code) return i;
    }
    return std::nullopt;
}

std::optional<std::string_view> languageForLocale(std::string_view language, std::string_view country) {
    // Traditional Chinese readers are better served by their next choice than by simplified characters.
    if (language == "zh") {
        if (country == "TW" || country == "HK" || country == "MO") return std::nullopt;
        return "zh_CN";
    }
    if (language == "pt") return "pt_BR";
    for (const Language& known : kLanguages) {
        if (known.code == language) return known.code;
    }
    return std::nullopt;
}

std::string_view systemLanguage() {
    int count = 0;
    SDL_Locale** locales = SDL_GetPreferredLocales(&count);
    std::string_view chosen = "en";
    for (int i = 0; locales && i < count; ++i) {
        const SDL_Locale* locale = locales[i];
        if (!locale->language) continue;
        const auto match = languageForLocale(locale->language, locale->country ? locale->country : "");
        if (match) {
            chosen = *match;
            break;
        }
    }
    SDL_free(locales);
    return chosen;
}
