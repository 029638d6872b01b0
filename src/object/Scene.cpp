#include "object/Scene.h"

#include "core/Game.h"
#include "object/ObjectWorld.h"

#include <algorithm>

// The base destructor deletes what is left in the plain list; the other two lists are ours.
Scene::~Scene() {
    cleanList(children_world_);
    cleanList(children_screen_);
    deleteList(children_world_);
    deleteList(children_screen_);
}

bool Scene::handleEvents(SDL_Event& event) {
    if (offerEvent(children_screen_, event)) return true;
    if (is_pause_) return false;
    if (Object::handleEvents(event)) return true;
    return offerEvent(children_world_, event);
}

void Scene::update(float dt) {
    if (!is_pause_) {
        Object::update(dt);
        updateList(children_world_, dt);
    }
    updateList(children_screen_, dt);
}

void Scene::render() {
    Object::render();
    renderList(children_world_);
    renderList(children_screen_);
}

void Scene::clean() {
    cleanList(children_);
    cleanList(children_world_);
    cleanList(children_screen_);
    cleanList(object_to_add_);
    deleteList(children_);
    deleteList(children_world_);
    deleteList(children_screen_);
    deleteList(object_to_add_);
}

long Scene::countOwned() const {
    long count = Object::countOwned();
    for (const Object* child : children_world_)
        count += child->countOwned();
    for (const Object* child : children_screen_)
        count += child->countOwned();
    return count;
}

void Scene::addChild(Object* child) {
    switch (child->getType()) {
    case ObjectType::OBJECT_SCREEN:
        children_screen_.push_back(static_cast<ObjectScreen*>(child));
        break;
    case ObjectType::OBJECT_WORLD:
    case ObjectType::ENEMY:
        children_world_.push_back(static_cast<ObjectWorld*>(child));
        break;
    default:
        Object::addChild(child);
        break;
    }
}

void Scene::removeChild(Object* child) {
    switch (child->getType()) {
    case ObjectType::OBJECT_SCREEN:
        eraseAll(children_screen_, child);
        break;
    case ObjectType::OBJECT_WORLD:
    case ObjectType::ENEMY:
        eraseAll(children_world_, child);
        break;
    default:
        Object::removeChild(child);
        break;
    }
}

void Scene::setCameraPosition(glm::vec2 camera_position) {
    const glm::vec2 upper = world_size_ - game_.getScreenSize() + glm::vec2(30.0f);
    // Lower bound first, upper last: in a world smaller than the screen the upper bound wins.
    camera_position_ = glm::min(glm::max(camera_position, glm::vec2(-30.0f)), upper);
}

void Scene::pause() {
    is_pause_ = true;
    game_.pauseSound();
    game_.pauseMusic();
}

void Scene::resume() {
    is_pause_ = false;
    game_.resumeSound();
    game_.resumeMusic();
}
