#pragma once
#include "object/Object.h"
#include "shell/Touch.h"

#include <glm/glm.hpp>

#include <string>
#include <vector>

class ObjectScreen;
struct FrameInput;
class ObjectWorld;

// A camera over a bounded world, with world, screen and plain children kept apart so that the screen
// overlay draws on top and keeps working while the world is paused.
class Scene : public Object {
public:
    ~Scene() override;

    bool handleEvents(SDL_Event& event) override;
    void update(float dt) override;
    void render() override;
    void clean() override;
    void addChild(Object* child) override;
    void removeChild(Object* child) override;
    long countOwned() const override;
    virtual void saveData(const std::string& /*file_path*/) {}
    virtual void loadData(const std::string& /*file_path*/) {}
    // Whether the cursor keys steer the cursor now (in play) rather than a menu's highlight.
    virtual bool takesKeyboardAim() const { return false; }
    // A replayed frame's input that the player gave among the frame's events (a strike).
    virtual void playFrame(const FrameInput& /*input*/) {}
    // Keeps the run in progress, if there is one, as it stands between two frames.
    virtual void keepRun() {}
    // What a finger does here: by default every scene is a menu that takes taps as clicks.
    virtual TouchMode touchMode() const { return TouchMode::MENU; }

    glm::vec2 worldToScreen(glm::vec2 world_position) const { return world_position - camera_position_; }
    glm::vec2 screenToWorld(glm::vec2 screen_position) const { return screen_position + camera_position_; }
    glm::vec2 getCameraPosition() const { return camera_position_; }
    // Clamped so that at most 30 px beyond each edge of the world can be seen.
    void setCameraPosition(glm::vec2 camera_position);
    glm::vec2 getWorldSize() const { return world_size_; }
    bool getIsPause() const { return is_pause_; }
    void pause();
    void resume();
    std::vector<ObjectWorld*>& getChildrenWorld() { return children_world_; }
    const std::vector<ObjectScreen*>& getChildrenScreen() const { return children_screen_; }
    const std::vector<Object*>& getChildren() const { return children_; }

protected:
    glm::vec2 camera_position_ = glm::vec2(0.0f);
    glm::vec2 world_size_ = glm::vec2(0.0f);
    std::vector<ObjectWorld*> children_world_;   // owned
    std::vector<ObjectScreen*> children_screen_; // owned
    bool is_pause_ = false;
};
