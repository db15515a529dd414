// Owners of SDL's objects (and its font and mixer libraries'): each is freed
// by its library's own function when its owner goes.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include "platform/UniqueHandle.h"

namespace vw::desktop {

using WindowPtr = UniquePtr<SDL_Window, SDL_DestroyWindow>;
using RendererPtr = UniquePtr<SDL_Renderer, SDL_DestroyRenderer>;
using TexturePtr = UniquePtr<SDL_Texture, SDL_DestroyTexture>;
using SurfacePtr = UniquePtr<SDL_Surface, SDL_FreeSurface>;
using FontPtr = UniquePtr<TTF_Font, TTF_CloseFont>;
using ChunkPtr = UniquePtr<Mix_Chunk, Mix_FreeChunk>;
using MusicPtr = UniquePtr<Mix_Music, Mix_FreeMusic>;

}  // namespace vw::desktop
