#include "assets/AssetStore.h"

#include <SDL3_image/SDL_image.h>

namespace {

void logPath(const char* message, const std::string& file_path) {
    SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, message, file_path.c_str());
}

// Looks the key up, loads on a miss, and logs when the asset still is not there.
template <typename Map, typename Load>
auto getOrLoad(Map& map, const std::string& key, const std::string& file_path, const char* failure, Load load) {
    auto it = map.find(key);
    if (it == map.end()) {
        load();
        it = map.find(key);
    }
    if (it == map.end()) {
        logPath(failure, file_path);
        return decltype(it->second.get()){nullptr};
    }
    return it->second.get();
}

} // namespace

SDL_Texture* AssetStore::getImage(const std::string& file_path) {
    return getOrLoad(textures_, file_path, file_path, "Failed to get image: %s", [&] { loadImage(file_path); });
}

MIX_Audio* AssetStore::getSound(const std::string& file_path) {
    return getOrLoad(sounds_, file_path, file_path, "Failed to get sound: %s", [&] { loadSound(file_path); });
}

MIX_Audio* AssetStore::getMusic(const std::string& file_path) {
    return getOrLoad(music_, file_path, file_path, "Failed to get music: %s", [&] { loadMusic(file_path); });
}

TTF_Font* AssetStore::getFont(const std::string& file_path, int font_size) {
    return getOrLoad(fonts_, file_path + std::to_string(font_size), file_path, "Failed to get font: %s",
                     [&] { loadFont(file_path, font_size); });
}

void AssetStore::loadImage(const std::string& file_path) {
    TexturePtr texture(IMG_LoadTexture(renderer_, file_path.c_str()));
    if (!texture) return logPath("Failed to load image: %s", file_path);
    textures_.emplace(file_path, std::move(texture));
}

void AssetStore::loadSound(const std::string& file_path) {
    AudioPtr audio(mixer_ ? MIX_LoadAudio(mixer_, file_path.c_str(), true) : nullptr);
    if (!audio) return logPath("Failed to load sound: %s", file_path);
    sounds_.emplace(file_path, std::move(audio));
}

void AssetStore::loadMusic(const std::string& file_path) {
    AudioPtr audio(mixer_ ? MIX_LoadAudio(mixer_, file_path.c_str(), false) : nullptr);
    if (!audio) return logPath("Failed to load music: %s", file_path);
    music_.emplace(file_path, std::move(audio));
}

void AssetStore::loadFont(const std::string& file_path, int font_size) {
    FontPtr font(TTF_OpenFont(file_path.c_str(), static_cast<float>(font_size)));
    if (!font) return logPath("Failed to load font: %s", file_path);
    fonts_.emplace(file_path + std::to_string(font_size), std::move(font));
}

void AssetStore::clean() {
    textures_.clear();
    sounds_.clear();
    music_.clear();
    fonts_.clear();
}
