#pragma once
#include <SDL3/SDL.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

class AssetStore;
struct Texture;

// The window and the renderer the game draws with (SDL's pick, or its software renderer where OpenGL
// runs in software), the frame drawn 1:1 and scaled to the window as one, and the drawing every object
// asks for, in logical screen coordinates.
class Graphics {
public:
    // False when there is no window or renderer to play in.
    [[nodiscard]] bool open(const std::string& title, int width, int height);
    // What a frame's drawing goes between: a test may draw between them.
    void beginFrame();
    void endFrame();
    // Off, every picture is drawn straight at the window's scale: the benchmark's comparison.
    void setScaledFrame(bool scaled) { no_frame_target_ = !scaled; }
    // The store whose enlarged copies renderTexture draws; borrowed, null until the game has one.
    void setAssetStore(AssetStore* assets) { assets_ = assets; }
    // Keeps the window at the picture's shape (not in a browser, whose page shapes the canvas).
    void lockAspectRatio();

    void renderTexture(const Texture& texture, glm::vec2 position, glm::vec2 size, glm::vec2 mask);
    void renderHBar(glm::vec2 position, glm::vec2 size, float percent, SDL_FColor color);
    void drawGrid(glm::vec2 top_left, glm::vec2 bottom_right, float grid_width, SDL_FColor color);
    void drawBoundary(glm::vec2 top_left, glm::vec2 bottom_right, float boundary_width, SDL_FColor color);
    void drawPoints(const std::vector<glm::vec2>& points, glm::vec2 offset, SDL_FColor color);

    // After everything made with the renderer (the asset store, the text engine) is gone.
    void clean();
    SDL_Window* getWindow() const { return window_; }
    SDL_Renderer* getRenderer() const { return renderer_; }

private:
    // Swaps SDL's pick for its software renderer where OpenGL is only a software rasteriser (making
    // the window again); false when no renderer is left.
    bool chooseRenderer(const std::string& title, int width, int height, bool chosen_by_user);
    bool createSoftwareWindow(const std::string& title, int width, int height, const std::string& why);
    // Where the frame is drawn before it is scaled to the window; null to draw straight there.
    SDL_Texture* frameTarget();

    SDL_Window* window_ = nullptr;        // destroyed in clean, after the renderer
    SDL_Renderer* renderer_ = nullptr;    // destroyed in clean
    SDL_Texture* frame_target_ = nullptr; // made on the first frame at a scale but 1; destroyed in clean
    SDL_Texture* half_target_ = nullptr;  // the frame at half size, below scale 0.5; likewise
    AssetStore* assets_ = nullptr;        // the Game's
    std::vector<SDL_FPoint> points_;      // scratch for drawPoints, kept to avoid a per-frame allocation
    std::vector<SDL_FRect> rects_;        // scratch for bars, grid and boundary, likewise
    glm::vec2 screen_size_ = glm::vec2(0.0f);
    float frame_scale_ = 1.0f; // the window's pixels per frame pixel
    bool is_software_renderer_ = false;
    bool no_frame_target_ = false; // it could not be made: draw straight to the window
};
