// Writes Moonvale's whole assets/ tree: pictures drawn, sounds synthesised and music composed here,
// the font copied from Debian's GNU Unifont package. Every random choice is seeded: same commit,
// same files.
#include "Art.h"
#include "Audio.h"
#include "ui/Credits.h"

#include <SDL3/SDL.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool copyFont(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error) SDL_Log("assetgen: cannot copy the font %s: %s", from.c_str(), error.message().c_str());
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        SDL_Log("usage: %s OUTPUT_ASSETS_DIR UNIFONT_FILE [HICOLOR_ICON_DIR]", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const std::string font_source = argv[2];
    for (const char* sub : {"sprite", "effect", "UI", "sound", "bgm", "font"}) {
        std::filesystem::create_directories(root + "/" + sub);
    }
    const std::string font = root + "/font/VonwaonBitmap-16px.ttf";
    bool ok = copyFont(font_source, font);
    ok = ok && makeSprites(root) && makeEffects(root) && makeUi(root) && makeSounds(root) && makeMusic(root);
    if (argc == 4) ok = ok && makeIcons(argv[3]);
    std::ofstream(root + "/credits.txt") << kCredits.id;
    SDL_Quit();
    if (!ok) SDL_Log("assetgen: failed: %s", SDL_GetError());
    return ok ? 0 : 1;
}
