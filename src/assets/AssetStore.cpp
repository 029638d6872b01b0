#include "assets/AssetStore.h"

#include <SDL3_image/SDL_image.h>

namespace {

void logPath(const char* message, const std::string& file_path) {
    SDL_LogError(SDL_LOG_CATEGORY_APPLICATION, message, file_path.c_str());
}

// Looks the key up, loads on a miss, and logs when the asset still is not there.
template <typename Map, typename Load>
auto getOrLoad(Map& map, const std::string& key, const std::string& file_path, const char* failure,
               Load load) {
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
    return getOrLoad(textures_, file_path, file_path, "Failed to get image: %s",
                     [&] { loadImage(file_path); });
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
    SurfacePtr surface(IMG_Load(file_path.c_str()));
    TexturePtr texture(surface ? SDL_CreateTextureFromSurface(renderer_, surface.get()) : nullptr);
    if (!texture) {
        ++failed_images_;
        return logPath("Failed to load image: %s", file_path);
    }
    pixels_.emplace(texture.get(), std::move(surface));
    textures_.emplace(file_path, std::move(texture));
}

SDL_Texture* AssetStore::getDrawnOver(const std::string& file_path, const std::string& key,
                                      const std::function<void(SDL_Surface*)>& draw) {
    const std::string name = file_path + '\n' + key;
    if (const auto it = textures_.find(name); it != textures_.end()) return it->second.get();
    const auto base = pixels_.find(getImage(file_path));
    if (base == pixels_.end()) return nullptr;
    SurfacePtr copy(SDL_ConvertSurface(base->second.get(), SDL_PIXELFORMAT_RGBA32));
    if (!copy) return nullptr;
    draw(copy.get());
    TexturePtr texture(SDL_CreateTextureFromSurface(renderer_, copy.get()));
    if (!texture) return nullptr;
    SDL_Texture* result = texture.get();
    pixels_.emplace(result, std::move(copy));
    textures_.emplace(name, std::move(texture));
    return result;
}

std::size_t AssetStore::RegionHash::operator()(const RegionKey& k) const {
    std::size_t h = std::hash<const void*>()(k.texture);
    for (const int v : {k.x, k.y, k.w, k.h, k.factor})
        h = h * 1000003u ^ static_cast<std::size_t>(v);
    return h;
}

SDL_Texture* AssetStore::getScaledRegion(SDL_Texture* texture, const SDL_Rect& region, int factor) {
    const RegionKey key{texture, region.x, region.y, region.w, region.h, factor};
    if (const auto it = scaled_.find(key); it != scaled_.end()) return it->second.get();
    const auto source = pixels_.find(texture);
    if (source == pixels_.end() || factor < 1 || factor > 15) return nullptr;
    SDL_Surface* sheet = source->second.get();
    SDL_Rect clipped;
    const SDL_Rect bounds = {0, 0, sheet->w, sheet->h};
    TexturePtr scaled;
    if (SDL_GetRectIntersection(&region, &bounds, &clipped) && SDL_RectsEqual(&clipped, &region)) {
        SurfacePtr part(SDL_CreateSurface(region.w, region.h, sheet->format));
        // A plain copy: the region's pixels exactly, alpha included, not blended onto anything.
        if (part && SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_NONE) &&
            SDL_BlitSurface(sheet, &region, part.get(), nullptr)) {
            SurfacePtr large(
                SDL_ScaleSurface(part.get(), region.w * factor, region.h * factor, SDL_SCALEMODE_NEAREST));
            scaled.reset(large ? SDL_CreateTextureFromSurface(renderer_, large.get()) : nullptr);
        }
        SDL_SetSurfaceBlendMode(sheet, SDL_BLENDMODE_BLEND);
    }
    if (scaled) SDL_SetTextureScaleMode(scaled.get(), SDL_SCALEMODE_NEAREST);
    SDL_Texture* result = scaled.get();
    scaled_.emplace(key, std::move(scaled)); // a failure is remembered too, as null
    return result;
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
    scaled_.clear();
    pixels_.clear();
    textures_.clear();
    sounds_.clear();
    music_.clear();
    fonts_.clear();
}
