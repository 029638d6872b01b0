#pragma once
#include <SDL3/SDL.h>
#include <SDL3_mixer/SDL_mixer.h>
#include <SDL3_ttf/SDL_ttf.h>

#include <memory>

// Owning handles for SDL objects that have one owner and no fixed place in a shutdown sequence.
template <auto Destroy> struct SdlDeleter {
    template <typename T> void operator()(T* handle) const { Destroy(handle); }
};
using TexturePtr = std::unique_ptr<SDL_Texture, SdlDeleter<SDL_DestroyTexture>>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter<SDL_DestroySurface>>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlDeleter<SDL_DestroyRenderer>>;
using AudioPtr = std::unique_ptr<MIX_Audio, SdlDeleter<MIX_DestroyAudio>>;
using FontPtr = std::unique_ptr<TTF_Font, SdlDeleter<TTF_CloseFont>>;
using TextPtr = std::unique_ptr<TTF_Text, SdlDeleter<TTF_DestroyText>>;
