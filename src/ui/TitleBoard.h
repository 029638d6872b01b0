#pragma once
#include "i18n/Translation.h"
#include "online/BoardClient.h"

#include <SDL3_ttf/SDL_ttf.h>

#include <cstdint>
#include <string>

class BoardLink;
class Game;
class HUDButton;
class HUDText;
class Scene;

// Today's board on the title, right of its name: the ten best (five in large text), the player's own
// place, and the day before's best to watch. Asked of the board as the title shows and every 30 s after;
// a quiet line says so when the board cannot be reached. Its panel and button are children of the title.
class TitleBoard {
public:
    TitleBoard(Scene& title, BoardLink& link);
    // Follows the board's answers; starts watching once the replay asked for has come.
    void update();
    HUDButton* getWatchButton() const { return watch_; }
    const std::string& getText() const { return text_; }
    // head, name and tail on one line of a panel that wraps at wrap: a name too long for it is cut short.
    static std::string oneLine(TTF_Font* font, int wrap, const std::string& head, const std::string& name,
                               const std::string& tail);

private:
    std::string listingText() const;
    std::string drawable(const std::string& name) const;
    std::string entry(const BoardClient::Line& line) const;
    void followWatch();
    void setWatchLine(std::string line);

    Game& game_;
    BoardLink& link_;
    HUDText* panel_ = nullptr; // children of the title
    HUDButton* watch_ = nullptr;
    BoardClient::Listing shown_;
    bool fetching_ = false;
    std::string watch_line_; // why the replay could not be watched, or that it is coming
    bool watch_line_changed_ = false;
    LanguageWatch words_language_;
    bool large_ = false; // the text size the panel is made for
    std::uint64_t shown_version_ = UINT64_MAX; // the client's listing version the panel shows
    std::string text_;
    int verified_seen_ = 0;        // the sender's count of verified runs when the listing was asked
    std::uint64_t shown_at_ = 0;   // when the title showed, to log how long the listing took
    bool listing_logged_ = false;
    int own_rank_logged_ = 0;
};
