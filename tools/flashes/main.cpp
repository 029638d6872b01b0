// Measures the game's flashes by WCAG 2.3.1's general and red flash rules: plays a strike at every
// cool-down, at the fastest a player can, with the ghost standing in the first waves (their summoning,
// the strikes and the enemies' deaths), drawing every frame headless, and reports the most flashes any
// field of view saw in one second: for the whole picture on a desktop's screen, and on a phone's, as the
// game draws by default (or with "Reduce flashes": --reduce-flashes). Exits 1 when any passes three.
#include "FlashMeter.h"

#include "core/Game.h"
#include "scenes/SceneMain.h"
#include "shell/Platform.h"
#include "shell/Preferences.h"

#include <SDL3/SDL.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 60 * 10;

// Ten seconds of a player holding the strike at the middle of the screen, where the ghost stands.
Replay strikesAtEveryCoolDown() {
    Replay replay;
    replay.seed = 20261210;
    for (int i = 0; i < kFrames; ++i) {
        FrameInput frame;
        frame.dt = 1.0f / 60.0f;
        frame.strike = true;
        frame.aim = {640.0f, 360.0f};
        replay.append(frame);
    }
    return replay;
}

} // namespace

struct Screen {
    const char* name;
    FlashMeter meter;
};

// Plays the strikes, measuring each frame on every screen; false when a frame cannot be read.
bool measure(Game& game, std::vector<Screen>& screens, int& strikes) {
    game.playBack(strikesAtEveryCoolDown());
    game.changeScene(new SceneMain);
    SDL_Renderer* renderer = game.getRenderer();
    strikes = 0;
    game.setSoundListener([&strikes](const std::string& sound) {
        strikes += sound == "assets/sound/silly-ghost-sound-242342.mp3" ? 1 : 0;
    });
    bool read_all = true;
    while (read_all && !game.isPlaybackOver()) {
        game.handleEvents();
        game.update(0.0f);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        game.getCurrentScene()->render();
        // The software renderer's own pixels, blue first in memory, as they are; any other kind converted.
        SDL_Surface* read = SDL_RenderReadPixels(renderer, nullptr);
        const bool bgr = read && (read->format == SDL_PIXELFORMAT_XRGB8888 || read->format == SDL_PIXELFORMAT_ARGB8888);
        SDL_Surface* frame = bgr || !read ? read : SDL_ConvertSurface(read, SDL_PIXELFORMAT_RGBA32);
        read_all = frame && frame->pitch == 4 * frame->w;
        if (read_all) {
            for (Screen& screen : screens)
                screen.meter.add(static_cast<const std::uint8_t*>(frame->pixels), bgr);
        }
        if (frame != read) SDL_DestroySurface(frame);
        SDL_DestroySurface(read);
    }
    game.setSoundListener(nullptr);
    game.changeScene(nullptr);
    game.stopPlayback();
    game.setScore(0);
    return read_all;
}

int main(int argc, char** argv) {
    // As the game draws by default, or with --reduce-flashes as with the option on.
    const bool reduced = argc == 2 && std::string(argv[1]) == "--reduce-flashes";
    if (argc > 2 || (argc == 2 && !reduced)) {
        (void)std::fprintf(stderr, "usage: flashes [--reduce-flashes]\n");
        return 2;
    }
    if (!enterGameFolder()) return 2;
    Game& game = Game::getInstance();
    if (!game.initHeadless()) return 2;
    // A 10 degree field: on a desktop's screen, about a third of its width and height (WCAG's 341 x 256 of
    // 1024 x 768); on a phone held at 30 cm, its 844 x 390 showing the picture at 0.54, about 300 CSS
    // pixels square, 550 of the picture's.
    game.getPreferences()->setReduceFlashes(reduced, false);
    std::vector<Screen> screens = {{reduced ? "a desktop's screen, Reduce flashes on (fields of 426 x 240)"
                        : "a desktop's screen, the picture filling it (fields of 426 x 240)",
                FlashMeter(1280, 720, 426, 240)},
               {reduced ? "a phone's 844 x 390, Reduce flashes on (fields of 550 x 550)"
                        : "a phone's 844 x 390 at arm's length (fields of 550 x 550)",
                FlashMeter(1280, 720, 550, 550)}};
    int strikes = 0;
    const bool read_all = measure(game, screens, strikes);
    game.clean();
    if (!read_all) return 2;
    std::printf("Flashes by WCAG 2.3.1 in %d frames (%d s) of a strike at every cool-down (%d strikes), the ghost "
                "standing in the first waves\n\n",
                kFrames, kFrames / 60, strikes);
    std::printf("| shown on | general rule: most flashes in a second | largest share of a field changing at once | "
                "red rule: most flashes | largest share |\n|---|---:|---:|---:|---:|\n");
    bool within = true;
    for (const Screen& screen : screens) {
        const FlashMeter::Most& general = screen.meter.general();
        const FlashMeter::Most& red = screen.meter.red();
        std::printf("| %s | %d (to %.2f s, the field at %d, %d) | %.1f %% | %d | %.1f %% |\n", screen.name,
                    general.flashes, general.frame / 60.0, 2 * general.x, 2 * general.y,
                    100.0 * screen.meter.largestGeneralChange(), red.flashes, 100.0 * screen.meter.largestRedChange());
        within = within && general.flashes <= 3 && red.flashes <= 3;
    }
    std::printf("\n%s\n", within ? "within three flashes a second" : "MORE THAN THREE FLASHES A SECOND");
    return within ? 0 : 1;
}
