// Checks that what colour tells a player stays apart for people with a colour-vision deficiency.
//   colours --shoot DIR   draws the game's screens headless (title, options, play, a wave being summoned,
//                         a hurt enemy, game over) into DIR, with the regions where each thing stands
//   colours --simulate VISION IN.png OUT.png   the picture as seen with protanopia, deuteranopia or
//                         tritanopia
//   colours DIR           reads those screenshots back and reports, for each pair that must stay apart,
//                         the CIEDE2000 difference as seen with normal vision, protanopia, deuteranopia
//                         and tritanopia; exits 1 when a pair comes closer than the threshold
#include "ColourVision.h"

#include "actors/Enemy.h"
#include "actors/Player.h"
#include "actors/WeaponThunder.h"
#include "components/Collider.h"
#include "components/Effect.h"
#include "components/Stats.h"
#include "core/Game.h"
#include "scenes/SceneMain.h"
#include "scenes/SceneTitle.h"
#include "shell/Platform.h"
#include "components/Sprite.h"
#include "ui/HUDButton.h"
#include "ui/OptionsMenu.h"

#include <SDL3/SDL.h>
#include <SDL3_image/SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Told apart at a glance: 10 is where colour-difference studies put "clearly different" (about 2 is
// barely), and everything here must be seen in the middle of play, small, moving.
constexpr double kThreshold = 10.0;
constexpr const char* kRegionsFile = "colours-regions.txt";

struct Region {
    std::string screen;
    std::string name;
    SDL_Rect box{};
};

struct Pair {
    const char* first;
    const char* second;
    const char* why;
};

// screen/name: what must stay apart, and what the player would lose if it did not.
constexpr Pair kPairs[] = {
    {"play/ghost", "play/background", "the player finds the ghost"},
    {"play/enemy", "play/background", "the enemies stand out"},
    {"play/ghost", "play/enemy", "friend from foe"},
    {"play/health", "play/mana", "the two bars"},
    {"play/health icon", "play/mana icon", "the two bars' potions"},
    {"play/cursor", "play/background", "where the strike will fall"},
    {"play/weapon", "hurt/weapon", "the strike ready or cooling down"},
    {"hurt/health", "hurt/health lost", "how much health is left"},
    {"hurt/mana", "hurt/mana spent", "how much mana is left"},
    {"hurt/enemy bar", "hurt/background", "a hurt enemy's health"},
    {"hurt/enemy", "play/enemy", "a hurt enemy from a whole one"},
    {"summon/circle", "summon/background", "where the next wave comes"},
    {"title/chosen button", "title/button", "the button the pointer or the pad is on (its frame)"},
    {"options/chosen row", "options/row", "the Options row being changed"},
    {"over/button", "over/background", "the way on after a game"},
};

std::string shotPath(const std::string& dir, const std::string& screen) {
    return dir + "/colours-" + screen + ".png";
}

bool saveShot(Game& game, const std::string& dir, const std::string& screen) {
    SDL_Renderer* renderer = game.getRenderer();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    game.getCurrentScene()->render();
    SDL_Surface* shot = SDL_RenderReadPixels(renderer, nullptr);
    const bool saved = shot && IMG_SavePNG(shot, shotPath(dir, screen).c_str());
    SDL_DestroySurface(shot);
    return saved;
}

SDL_Rect around(glm::vec2 centre, int w, int h) {
    return {static_cast<int>(centre.x) - w / 2, static_cast<int>(centre.y) - h / 2, w, h};
}

// The whole screen, whose commonest colour is its background; the strike's icon; an enemy's body, above
// its bar.
constexpr SDL_Rect kWholeScreen = {0, 0, 1280, 720};
const SDL_Rect kWeapon = around({980.0f, 30.0f}, 24, 24);
SDL_Rect body(glm::vec2 at) {
    return around(at - glm::vec2(0.0f, 6.0f), 20, 14);
}

void frames(Game& game, int count) {
    for (int i = 0; i < count; ++i) {
        game.handleEvents();
        game.update(1.0f / 60.0f); // a replay played back has its own
    }
}

// The enemy fully on screen farthest from the ghost (so that nothing overlaps it).
Enemy* loneEnemy(SceneMain* main) {
    Enemy* best = nullptr;
    float best_distance = 0.0f;
    const glm::vec2 ghost = main->getPlayer()->getPosition();
    for (ObjectWorld* object : main->getChildrenWorld()) {
        auto* enemy = dynamic_cast<Enemy*>(object);
        if (!enemy || !enemy->getIsActive()) continue;
        const glm::vec2 at = main->worldToScreen(enemy->getPosition());
        if (at.x < 60.0f || at.y < 80.0f || at.x > 1220.0f || at.y > 640.0f) continue;
        float nearest_other = 1e9f;
        for (ObjectWorld* other : main->getChildrenWorld()) {
            if (other != object) nearest_other = std::min(nearest_other, glm::distance(other->getPosition(), enemy->getPosition()));
        }
        const float distance = std::min(nearest_other, glm::distance(ghost, enemy->getPosition()));
        if (!best || distance > best_distance) {
            best = enemy;
            best_distance = distance;
        }
    }
    return best;
}

Replay standingStill(int count) {
    Replay replay;
    replay.seed = 20261210;
    for (int i = 0; i < count; ++i) {
        FrameInput frame;
        frame.dt = 1.0f / 60.0f;
        replay.append(frame);
    }
    return replay;
}

int shoot(const std::string& dir) {
    if (!enterGameFolder()) return 2;
    Game& game = Game::getInstance();
    if (!game.initHeadless()) return 2;
    std::vector<Region> regions;
    const auto add = [&regions](const char* screen, const char* name, SDL_Rect box) {
        regions.push_back({screen, name, box});
    };
    bool saved = true;
    // The title, the pointer on START; then Options, the pointer on its second row.
    auto* title = new SceneTitle;
    game.changeScene(title);
    SDL_WarpMouseInWindow(game.getWindow(), title->getButtonStart()->getCentre().x, title->getButtonStart()->getCentre().y);
    frames(game, 3);
    saved = saved && saveShot(game, dir, "title");
    // The chosen plate's frame is lit: its lower edge against a plain plate's.
    const auto frame = [](const HUDButton* button) {
        const glm::vec2 size = button->getSpriteNormal()->getSize();
        const glm::vec2 centre = button->getCentre();
        return SDL_Rect{static_cast<int>(centre.x - size.x / 2.0f + 8.0f), static_cast<int>(centre.y + size.y / 2.0f) - 2,
                        static_cast<int>(size.x) - 16, 2};
    };
    add("title", "chosen button", frame(title->getButtonStart()));
    add("title", "button", frame(title->getButtonDaily()));
    title->getOptions()->open();
    SDL_WarpMouseInWindow(game.getWindow(), 360.0f, 104.0f + 24.0f + 8.0f);
    frames(game, 3);
    saved = saved && saveShot(game, dir, "options");
    add("options", "chosen row", {300, 104 + 24 - 4, 30, 20});
    add("options", "row", {300, 104 + 3 * 24 - 4, 30, 20});
    title->getOptions()->close();

    // A game: standing still while the first wave is summoned and comes; a strike at a lone enemy; a
    // hurt ghost; then game over.
    game.playBack(standingStill(60 * 12));
    auto* main = new SceneMain;
    game.changeScene(main);
    SDL_WarpMouseInWindow(game.getWindow(), 900.0f, 250.0f);
    frames(game, 190);
    saved = saved && saveShot(game, dir, "summon");
    for (ObjectWorld* object : main->getChildrenWorld()) {
        if (dynamic_cast<Effect*>(object)) {
            add("summon", "circle", around(main->worldToScreen(object->getPosition()), 40, 40));
            break;
        }
    }
    add("summon", "background", kWholeScreen);
    frames(game, 80);
    Enemy* enemy = loneEnemy(main);
    if (!enemy) {
        (void)std::fprintf(stderr, "colours: no enemy on screen to measure\n");
        game.clean();
        return 2;
    }
    saved = saved && saveShot(game, dir, "play");
    const glm::vec2 ghost = main->worldToScreen(main->getPlayer()->getPosition());
    add("play", "ghost", around(ghost, 20, 20));
    add("play", "enemy", body(main->worldToScreen(enemy->getPosition())));
    add("play", "background", kWholeScreen);
    add("play", "health", {70, 27, 100, 6});
    add("play", "mana", {340, 27, 100, 6});
    add("play", "health icon", {31, 22, 16, 16});
    add("play", "mana icon", {301, 22, 16, 16});
    add("play", "cursor", around({900.0f, 250.0f}, 24, 24));
    add("play", "weapon", kWeapon);

    const glm::vec2 aim = main->worldToScreen(enemy->getPosition());
    main->getPlayer()->getWeapon()->strike(aim);
    main->getPlayer()->takeDamage(45.0f);
    frames(game, 6);
    saved = saved && saveShot(game, dir, "hurt");
    const glm::vec2 at = main->worldToScreen(enemy->getPosition());
    const glm::vec2 size = enemy->getCollider()->getSize();
    add("hurt", "enemy", body(at));
    add("hurt", "enemy bar", {static_cast<int>(at.x - size.x / 2.0f + 5.0f), static_cast<int>(at.y + size.y / 2.0f - 15.0f),
                              static_cast<int>(size.x / 2.0f), 10});
    add("hurt", "background", kWholeScreen);
    add("hurt", "health", {70, 27, 60, 6});
    add("hurt", "health lost", {220, 27, 60, 6});
    add("hurt", "mana", {340, 27, 60, 6});
    add("hurt", "mana spent", {520, 27, 40, 6});
    add("hurt", "weapon", kWeapon);

    // Past the hurt ghost's moment of invincibility, a fatal blow; the game-over screen comes three
    // seconds later.
    for (int wait = 0; wait < 120 && main->getPlayer()->getStats()->getInvincible(); ++wait)
        frames(game, 1);
    main->getPlayer()->takeDamage(1000.0f);
    for (int wait = 0; wait < 60 * 4 && !main->getIsPause(); ++wait)
        frames(game, 1);
    saved = saved && saveShot(game, dir, "over");
    add("over", "button", around(main->getButtonRestart()->getCentre(), 120, 40));
    add("over", "background", kWholeScreen);
    game.changeScene(nullptr);
    game.clean();

    std::ofstream out(dir + "/" + kRegionsFile);
    for (const Region& region : regions)
        out << region.screen << '\t' << region.name << '\t' << region.box.x << ' ' << region.box.y << ' '
            << region.box.w << ' ' << region.box.h << '\n';
    if (!saved || !out) {
        (void)std::fprintf(stderr, "colours: cannot write the screenshots into %s\n", dir.c_str());
        return 2;
    }
    return 0;
}

// The colour most of a region's pixels have, the screen's background (and what is nearly it) left out of a
// region smaller than the screen: a thin cursor or circle is its lines, not what shows through.
Rgb regionColour(SDL_Surface* shot, const SDL_Rect& box, const Rgb* background) {
    std::map<std::uint32_t, int> counts;
    for (int y = std::max(0, box.y); y < std::min(shot->h, box.y + box.h); ++y) {
        const auto* row = static_cast<const std::uint8_t*>(shot->pixels) + static_cast<std::ptrdiff_t>(y) * shot->pitch;
        for (int x = std::max(0, box.x); x < std::min(shot->w, box.x + box.w); ++x) {
            const std::uint8_t* p = row + std::ptrdiff_t{4} * x;
            constexpr int kNear = 24;
            if (background && std::abs(p[0] - background->r) <= kNear && std::abs(p[1] - background->g) <= kNear &&
                std::abs(p[2] - background->b) <= kNear)
                continue;
            ++counts[static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2]];
        }
    }
    std::uint32_t most = 0;
    int most_count = -1;
    for (const auto& [colour, count] : counts) {
        if (count > most_count) {
            most = colour;
            most_count = count;
        }
    }
    return {static_cast<std::uint8_t>(most >> 16), static_cast<std::uint8_t>(most >> 8), static_cast<std::uint8_t>(most)};
}

int check(const std::string& dir) {
    std::ifstream in(dir + "/" + kRegionsFile);
    if (!in) {
        (void)std::fprintf(stderr, "colours: no %s in %s (make it with --shoot)\n", kRegionsFile, dir.c_str());
        return 2;
    }
    std::vector<Region> regions;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Region region;
        std::getline(fields, region.screen, '\t');
        std::getline(fields, region.name, '\t');
        fields >> region.box.x >> region.box.y >> region.box.w >> region.box.h;
        if (fields) regions.push_back(region);
    }
    std::map<std::string, SDL_Surface*> shots;
    std::map<std::string, Rgb> colours;
    for (const Region& region : regions) {
        SDL_Surface*& shot = shots[region.screen];
        if (!shot) {
            SDL_Surface* loaded = IMG_Load(shotPath(dir, region.screen).c_str());
            shot = loaded ? SDL_ConvertSurface(loaded, SDL_PIXELFORMAT_RGBA32) : nullptr;
            SDL_DestroySurface(loaded);
            if (!shot) {
                (void)std::fprintf(stderr, "colours: cannot read %s\n", shotPath(dir, region.screen).c_str());
                return 2;
            }
        }
        const bool whole = region.box.w >= shot->w && region.box.h >= shot->h;
        const Rgb background = regionColour(shot, {0, 0, shot->w, shot->h}, nullptr);
        colours[region.screen + "/" + region.name] = regionColour(shot, region.box, whole ? nullptr : &background);
    }
    for (auto& [screen, shot] : shots)
        SDL_DestroySurface(shot);

    std::printf("CIEDE2000 difference of each pair as seen (Machado et al. 2009, full severity); at least %.0f "
                "passes\n\n| pair | colours | normal | protanopia | deuteranopia | tritanopia |\n|---|---|---:|---:|---:|---:|\n",
                kThreshold);
    bool apart = true;
    for (const Pair& pair : kPairs) {
        const auto first = colours.find(pair.first);
        const auto second = colours.find(pair.second);
        if (first == colours.end() || second == colours.end()) {
            std::printf("| %s / %s | not found | | | | |\n", pair.first, pair.second);
            apart = false;
            continue;
        }
        const Rgb a = first->second;
        const Rgb b = second->second;
        std::printf("| %s: %s / %s | #%02x%02x%02x / #%02x%02x%02x |", pair.why, pair.first, pair.second, a.r, a.g,
                    a.b, b.r, b.g, b.b);
        for (const Vision vision : kVisions) {
            const double difference = ciede2000(seenAs(a, vision), seenAs(b, vision));
            const bool close = difference < kThreshold;
            apart = apart && !close;
            std::printf(" %.1f%s |", difference, close ? " TOO CLOSE" : "");
        }
        std::printf("\n");
    }
    std::printf("\n%s\n", apart ? "every pair stays apart" : "SOME PAIR COMES TOO CLOSE");
    return apart ? 0 : 1;
}

int simulatePicture(const std::string& vision_name, const std::string& from, const std::string& to) {
    const auto vision = std::find_if(kVisions.begin(), kVisions.end(),
                                     [&vision_name](Vision v) { return vision_name == visionName(v); });
    SDL_Surface* loaded = IMG_Load(from.c_str());
    SDL_Surface* picture = loaded ? SDL_ConvertSurface(loaded, SDL_PIXELFORMAT_RGBA32) : nullptr;
    SDL_DestroySurface(loaded);
    if (vision == kVisions.end() || !picture) {
        (void)std::fprintf(stderr, "colours: %s\n", picture ? "no such vision" : SDL_GetError());
        SDL_DestroySurface(picture);
        return 2;
    }
    for (int y = 0; y < picture->h; ++y) {
        auto* row = static_cast<std::uint8_t*>(picture->pixels) + static_cast<std::ptrdiff_t>(y) * picture->pitch;
        for (int x = 0; x < picture->w; ++x) {
            std::uint8_t* p = row + std::ptrdiff_t{4} * x;
            const Rgb seen = simulate({p[0], p[1], p[2]}, *vision);
            p[0] = seen.r;
            p[1] = seen.g;
            p[2] = seen.b;
        }
    }
    const bool saved = IMG_SavePNG(picture, to.c_str());
    SDL_DestroySurface(picture);
    return saved ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    SDL_SetLogPriorities(SDL_LOG_PRIORITY_WARN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--shoot") return shoot(args[1]);
    if (args.size() == 4 && args[0] == "--simulate") return simulatePicture(args[1], args[2], args[3]);
    if (args.size() == 1 && args[0] != "--help") return check(args[0]);
    (void)std::fprintf(stderr, "usage: colours --shoot DIR | colours --simulate VISION IN.png OUT.png | colours DIR\n");
    return 2;
}
