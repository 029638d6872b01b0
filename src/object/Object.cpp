#include "object/Object.h"

#include "core/Game.h"

Object::Object() : game_(Game::getInstance()) {
    ++live_count_;
}

// Anything still held was never cleaned by an owner (a pending scene that never became current, say).
Object::~Object() {
    cleanList(object_to_add_);
    cleanList(children_);
    deleteList(object_to_add_);
    deleteList(children_);
    --live_count_;
}

bool Object::handleEvents(SDL_Event& event) {
    return offerEvent(children_, event);
}

void Object::update(float dt) {
    attachQueued();
    updateList(children_, dt);
}

void Object::render() {
    renderList(children_);
}

void Object::clean() {
    // Queued children were never attached but are ours all the same: without this they would leak
    // whenever a scene is left with, say, a spell still waiting to join it.
    cleanList(children_);
    cleanList(object_to_add_);
    deleteList(children_);
    deleteList(object_to_add_);
}

long Object::countOwned() const {
    long count = 1;
    for (const Object* child : children_)
        count += child->countOwned();
    for (const Object* child : object_to_add_)
        count += child->countOwned();
    return count;
}

void Object::addChild(Object* child) {
    children_.push_back(child);
}

void Object::removeChild(Object* child) {
    eraseAll(children_, child);
}

void Object::attachQueued() {
    // By index: an addChild that queues more extends the list we are reading.
    for (size_t i = 0; i < object_to_add_.size(); ++i) // NOLINT(modernize-loop-convert): see above
        addChild(object_to_add_[i]);
    object_to_add_.clear();
}
