#include "core/Game.h"

int main(int /*argc*/, char* /*argv*/[]) {
    Game& game = Game::getInstance();
    if (!game.init("Moonvale", 1280, 720)) {
        game.clean();
        return 1;
    }
    game.run();
    game.clean();
    return 0;
}
