#include "i18n/Translation.h"

#include "i18n/Catalogue.h"
#include "i18n/Language.h"

#include <SDL3/SDL.h>

#include <optional>

namespace {

struct InUse {
    std::optional<Catalogue> catalogue;
    std::string code = "en";
    unsigned generation = 0;
};

InUse& inUse() {
    static InUse state;
    return state;
}

std::optional<Catalogue> loadCatalogue(const std::string& path) {
    std::size_t size = 0;
    void* data = SDL_LoadFile(path.c_str(), &size);
    if (!data) return std::nullopt;
    std::optional<Catalogue> catalogue = Catalogue::parse({static_cast<const char*>(data), size});
    SDL_free(data);
    return catalogue;
}

} // namespace

const char* tr(const char* context, const char* id) {
    const std::optional<Catalogue>& catalogue = inUse().catalogue;
    if (!catalogue) return id;
    const std::string* text = catalogue->find(context, id);
    return text ? text->c_str() : id;
}

std::string fill(std::string_view pattern,
                 std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    std::string out;
    while (!pattern.empty()) {
        const auto open = pattern.find('{');
        const auto close = pattern.find('}', open);
        if (open == std::string_view::npos || close == std::string_view::npos) break;
        out.append(pattern.substr(0, open));
        const std::string_view name = pattern.substr(open + 1, close - open - 1);
        bool known = false;
        for (const auto& [key, value] : values) {
            if (key != name) continue;
            out.append(value);
            known = true;
            break;
        }
        if (!known) out.append(pattern.substr(open, close - open + 1)); // shown as is: a mistake, but visible
        pattern.remove_prefix(close + 1);
    }
    return out.append(pattern);
}

bool useLanguage(std::string_view code) {
    InUse& state = inUse();
    if (code == state.code) return true;
    std::optional<Catalogue> catalogue;
    bool ok = languageIndex(code).has_value();
    if (ok && code != "en") {
        const std::string path = "assets/locale/" + std::string(code) + ".mo";
        catalogue = loadCatalogue(path);
        if (!catalogue)
            SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, "Cannot read the catalogue %s: English instead",
                         path.c_str());
        ok = catalogue.has_value();
    }
    state.catalogue = std::move(catalogue);
    state.code = ok ? std::string(code) : "en";
    ++state.generation;
    return ok;
}

std::string_view languageInUse() {
    return inUse().code;
}

unsigned languageGeneration() {
    return inUse().generation;
}

bool LanguageWatch::changed() {
    if (seen_ == languageGeneration()) return false;
    seen_ = languageGeneration();
    return true;
}
