// Files the desktop backend hands to SDL's loaders, opened so that they are
// closed in any program this one starts (xdg-open and the browser it starts
// must not hold our fonts, pictures and sounds open for their lifetime).
#pragma once

#include <SDL.h>

#include <cstdio>
#include <string>

namespace vw::desktop {

// `path` opened for reading, close-on-exec; null when it cannot be opened.
// The loader that takes it closes it (pass freesrc = 1).
inline SDL_RWops* readOnlyFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rbe");  // "e": O_CLOEXEC
    if (!f) return nullptr;
    SDL_RWops* rw = SDL_RWFromFP(f, SDL_TRUE);
    if (!rw) std::fclose(f);
    return rw;
}

}  // namespace vw::desktop
