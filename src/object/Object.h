#pragma once
#include "object/ObjectType.h"

#include <SDL3/SDL.h>

#include <vector>

class Game;

// Root of everything that lives in a scene: owns its children and forwards the per-frame work to them.
class Object {
public:
    Object();
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    virtual void init() {}
    virtual bool handleEvents(SDL_Event& event);
    virtual void update(float dt);
    virtual void render();
    virtual void clean();
    virtual void addChild(Object* child);
    virtual void removeChild(Object* child);

    // Objects alive in the process: a leak shows as a count that does not come back down.
    static long getLiveCount() { return live_count_; }
    // This object and everything it owns, attached, queued or held back; compared with the live count
    // it tells a leak or a double delete the moment it happens.
    virtual long countOwned() const;

    // Queues a child; it is attached at the start of this object's next update, outside any walk.
    void safeAddChild(Object* child) { object_to_add_.push_back(child); }

    ObjectType getType() const { return type_; }
    void setType(ObjectType type) { type_ = type; }
    bool getIsActive() const { return is_active_; }
    void setActive(bool active) { is_active_ = active; }
    bool getNeedRemove() const { return need_remove_; }
    void setNeedRemove(bool need_remove) { need_remove_ = need_remove; }

protected:
    // Erases, cleans and deletes flagged children and updates the active rest, in order. Erasing keeps
    // the list valid for children that read it during their own update.
    template <typename T> static void updateList(std::vector<T*>& list, float dt) {
        for (auto it = list.begin(); it != list.end();) {
            T* child = *it;
            if (child->getNeedRemove()) {
                it = list.erase(it);
                child->clean();
                delete child;
                continue;
            }
            if (child->getIsActive()) child->update(dt);
            ++it;
        }
    }
    template <typename T> static bool offerEvent(const std::vector<T*>& list, SDL_Event& event) {
        for (T* child : list) {
            if (child->getIsActive() && child->handleEvents(event)) return true;
        }
        return false;
    }
    template <typename T> static void renderList(const std::vector<T*>& list) {
        for (T* child : list) {
            if (child->getIsActive()) child->render();
        }
    }
    template <typename T> static void cleanList(const std::vector<T*>& list) {
        for (T* child : list)
            child->clean();
    }
    // Deleting only after every sibling was cleaned means no clean can meet a deleted sibling.
    template <typename T> static void deleteList(std::vector<T*>& list) {
        for (T* child : list)
            delete child;
        list.clear();
    }
    template <typename T> static void eraseAll(std::vector<T*>& list, const Object* child) {
        std::erase(list, child);
    }
    void attachQueued();

    static inline long live_count_ = 0; // the game is single-threaded

    ObjectType type_ = ObjectType::NONE;
    Game& game_;
    std::vector<Object*> object_to_add_; // owned: queued, not yet attached
    std::vector<Object*> children_;      // owned
    bool is_active_ = true;
    bool need_remove_ = false;
};
