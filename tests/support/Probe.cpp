#include "support/Probe.h"

#include "core/Game.h"

WorldScene* installWorldScene() {
    auto* scene = new WorldScene;
    Game::getInstance().changeScene(scene);
    return scene;
}

LogCapture::LogCapture() {
    SDL_GetLogOutputFunction(&previous_, &previous_data_);
    SDL_SetLogOutputFunction(&LogCapture::collect, this);
}

LogCapture::~LogCapture() {
    SDL_SetLogOutputFunction(previous_, previous_data_);
}

void LogCapture::collect(void* self, int /*category*/, SDL_LogPriority /*priority*/, const char* message) {
    static_cast<LogCapture*>(self)->lines_.emplace_back(message);
}
