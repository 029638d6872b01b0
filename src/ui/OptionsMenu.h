#pragma once
#include "i18n/Translation.h"
#include "object/ObjectScreen.h"
#include "shell/Bindings.h"

#include <SDL3_ttf/SDL_ttf.h>

#include <array>
#include <optional>
#include <string>

class BoardQuestion;
class Preferences;

// The Options screen over the title or a paused game: volumes, mute, fullscreen, the keys, the language,
// the board (whether and under which name, and forgetting the player), and a page of its own for
// accessibility (how slow motion works, the game speed, softer flashes). Played with the mouse (hover,
// click; left or right of a volume's middle lowers or raises it), the keyboard or the pad (move, change,
// choose, back). While open it takes every input.
class OptionsMenu : public ObjectScreen {
public:
    enum Row {
        VOLUME,
        MUSIC,
        EFFECTS,
        MUTE,
        FULLSCREEN,
        ACCESSIBILITY, // opens its page
        KEYS,          // likewise
        LANGUAGE,
        BOARD,
        FORGET,
        RESET,
        BACK,
        MAIN_ROWS,
        // The accessibility page.
        SLOW_MODE = MAIN_ROWS,
        GAME_SPEED,
        REDUCE_FLASHES,
        TEXT_SIZE,
        ACCESSIBILITY_BACK,
        // The keys' page: an action's key each.
        FIRST_KEY,
        KEYS_BACK = FIRST_KEY + 11,
        ROWS
    };
    static_assert(KEYS_BACK - FIRST_KEY == static_cast<int>(ACTION_COUNT));
    enum class Page { MAIN, ACCESSIBILITY, KEYS };
    // Where the rows stand, for the normal text and the large.
    struct Layout {
        SDL_FRect panel;
        float top;
        float step;
        float label_x;
        float value_x;
        float value_middle; // a click left of it lowers a volume, right of it raises it
    };

    static OptionsMenu* addOptionsMenuChild(Object* parent);
    bool handleEvents(SDL_Event& event) override;
    void render() override;
    void clean() override;

    void open();
    void close();
    int getHighlighted() const { return highlighted_; }
    Page getPage() const { return page_; }
    std::optional<Action> getCapturing() const { return capturing_; }
    // The line under the rows: what just happened, or how to play the screen.
    const std::string& getMessage() const { return message_; }
    std::string getValueText(int row) const;

private:
    void handleMenuEvent(const SDL_Event& event);
    void handleCaptureEvent(const SDL_Event& event);
    void finishCapture(std::optional<Binding> binding);
    void change(int row, int direction);
    void choose(int row);
    void stepLanguage(int direction);
    void chooseBoard();
    void forgetPlayer();
    // Follows the board's answer to a forgetting asked for.
    void followForget();
    void highlight(int row);
    void showPage(Page page);
    // The rows of the page on screen: [firstRow, endRow).
    int firstRow() const;
    int endRow() const;
    void stepGameSpeed(int direction);
    std::optional<int> rowAt(glm::vec2 point) const;
    void setMessage(std::string message);
    Preferences& preferences() const;
    TTF_Text* text(const std::string& words) const;
    const Layout& layout() const;
    SDL_FRect panel() const;
    void setLabels();

    std::array<TTF_Text*, ROWS> labels_{}; // ours, destroyed in clean
    std::array<TTF_Text*, ROWS> values_{}; // likewise
    TTF_Text* title_ = nullptr;            // likewise
    TTF_Text* message_text_ = nullptr;     // likewise
    LanguageWatch labels_language_;
    int highlighted_ = 0;
    Page page_ = Page::MAIN;
    int drawn_size_ = 16; // of the rows' words
    std::optional<Action> capturing_;
    std::string message_;
    BoardQuestion* board_question_ = nullptr; // a child
    bool forget_armed_ = false; // the next choice of FORGET asks the board
    bool forgetting_ = false;
};
