#pragma once
#include "core/SdlHandles.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

// Loads each image, sound, music track and font on first request and shares the handle until clean.
class AssetStore {
public:
    // The mixer may be null (no audio device): sounds and music then fail to load and play nothing.
    AssetStore(SDL_Renderer* renderer, MIX_Mixer* mixer) : renderer_(renderer), mixer_(mixer) {}

    SDL_Texture* getImage(const std::string& file_path);
    // One region of an image (an animation frame, or the whole picture) in a texture of its own,
    // enlarged by a whole factor, every pixel repeated: drawing it 1:1 looks the same as drawing the
    // region scaled up with nearest sampling, and the software renderer blends unscaled pictures many
    // times faster. A texture per frame, not per sheet: its run-length blit walks every run to the
    // left of the part drawn. Made on first request; null for textures not loaded here.
    SDL_Texture* getScaledRegion(SDL_Texture* texture, const SDL_Rect& region, int factor);
    // The image with something drawn over a copy of its pixels (RGBA32), such as a button's words: made
    // once per key and kept like a loaded image.
    SDL_Texture* getDrawnOver(const std::string& file_path, const std::string& key,
                              const std::function<void(SDL_Surface*)>& draw);
    MIX_Audio* getSound(const std::string& file_path);
    MIX_Audio* getMusic(const std::string& file_path);
    TTF_Font* getFont(const std::string& file_path, int font_size);
    // Frees everything; must run before the renderer and the mixer go.
    void clean();

    // Images asked for and not found: the game's sizes and hit areas come from its pictures, so a
    // game played without one is not the game that was recorded.
    int getFailedImages() const { return failed_images_; }
    bool empty() const {
        return textures_.empty() && sounds_.empty() && music_.empty() && fonts_.empty() && scaled_.empty();
    }

private:
    void loadImage(const std::string& file_path);
    void loadSound(const std::string& file_path);
    void loadMusic(const std::string& file_path);
    void loadFont(const std::string& file_path, int font_size);

    SDL_Renderer* renderer_ = nullptr; // owned by the Game
    MIX_Mixer* mixer_ = nullptr;       // owned by the Game
    std::unordered_map<std::string, TexturePtr> textures_;
    std::unordered_map<SDL_Texture*, SurfacePtr> pixels_; // the loaded pictures, kept to enlarge them
    struct RegionKey {
        SDL_Texture* texture;
        int x, y, w, h, factor;
        bool operator==(const RegionKey&) const = default;
    };
    struct RegionHash {
        std::size_t operator()(const RegionKey& k) const;
    };
    std::unordered_map<RegionKey, TexturePtr, RegionHash> scaled_;
    std::unordered_map<std::string, AudioPtr> sounds_; // fully decoded: short and played often
    std::unordered_map<std::string, AudioPtr> music_;  // streamed from the file
    std::unordered_map<std::string, FontPtr> fonts_;   // keyed by path and size, e.g. "a.ttf16"
    int failed_images_ = 0;
};
