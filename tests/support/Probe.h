#pragma once
#include "object/ObjectScreen.h"
#include "object/ObjectWorld.h"
#include "object/Scene.h"

#include <SDL3/SDL.h>

#include <memory>
#include <string>
#include <vector>

// What happened to a probe, kept outside it so that it can be read after the probe is deleted.
struct ProbeLog {
    int events = 0;
    int updates = 0;
    int renders = 0;
    int cleans = 0;
    int inits = 0;
    bool deleted = false;
    float last_dt = -1.0f;
};

// A test object of any routing type that records what its owner does to it.
template <typename Base> class ProbeOf : public Base {
public:
    explicit ProbeOf(std::shared_ptr<ProbeLog> log, ObjectType type = ObjectType::NONE, bool consume = false)
        : log_(std::move(log)), type_to_set_(type), consume_(consume) {}
    ~ProbeOf() override { log_->deleted = true; }
    void init() override {
        Base::init();
        this->type_ = type_to_set_;
        ++log_->inits;
    }
    bool handleEvents(SDL_Event& event) override {
        ++log_->events;
        return Base::handleEvents(event) || consume_;
    }
    void update(float dt) override {
        ++log_->updates;
        log_->last_dt = dt;
        Base::update(dt);
    }
    void render() override {
        ++log_->renders;
        Base::render();
    }
    void clean() override {
        ++log_->cleans;
        Base::clean();
    }

private:
    std::shared_ptr<ProbeLog> log_;
    ObjectType type_to_set_;
    bool consume_;
};
using Probe = ProbeOf<Object>;
using ProbeScreen = ProbeOf<ObjectScreen>;
using ProbeWorld = ProbeOf<ObjectWorld>;
using ProbeScene = ProbeOf<Scene>;

// A world three screens wide and high, as in the game, for tests that need a current scene.
class WorldScene : public Scene {
public:
    void init() override { world_size_ = glm::vec2(3840.0f, 2160.0f); }
};

// Installs a fresh world scene as the Game's current scene and returns it.
WorldScene* installWorldScene();

// Collects SDL's log lines for as long as it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string>& lines() const { return lines_; }

private:
    static void collect(void* self, int category, SDL_LogPriority priority, const char* message);
    std::vector<std::string> lines_;
    SDL_LogOutputFunction previous_ = nullptr;
    void* previous_data_ = nullptr;
};
