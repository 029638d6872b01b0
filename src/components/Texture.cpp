#include "components/Texture.h"

#include "assets/AssetStore.h"
#include "core/Game.h"

Texture::Texture(const std::string& file_path) {
    texture = Game::getInstance().getAssetStore()->getImage(file_path);
    if (texture) SDL_GetTextureSize(texture, &src_rect.w, &src_rect.h);
}
