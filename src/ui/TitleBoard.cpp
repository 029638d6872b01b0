#include "ui/TitleBoard.h"

#include "components/TextLabel.h"
#include "assets/AssetStore.h"
#include "core/Game.h"
#include "i18n/Translation.h"
#include "object/Scene.h"
#include "online/BoardLink.h"
#include "replay/Replay.h"
#include "scenes/SceneMain.h"
#include "ui/HUDButton.h"
#include "ui/HUDText.h"

#include <algorithm>
#include <variant>

namespace {
constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";
constexpr const char* kPanel = "assets/UI/Textfield_01.png";
// The room right of the title's name, for the normal text and the large: large words take the width of
// the screen's edge and leave room in height for the five best only.
struct Layout {
    int wrap;
    glm::vec2 least_size;
    std::size_t lines;
};
constexpr Layout kNormal = {220, {260.0f, 300.0f}, 10};
constexpr Layout kLarge = {236, {276.0f, 300.0f}, 5};

const Layout& layout(bool large) {
    return large ? kLarge : kNormal;
}
} // namespace

TitleBoard::TitleBoard(Scene& title, BoardLink& link) : game_(Game::getInstance()), link_(link) {
    const glm::vec2 screen = game_.getScreenSize();
    panel_ = HUDText::addHUDTextChild(&title, "", {screen.x - 175.0f, screen.y / 2.0f - 40.0f}, {260.0f, 300.0f},
                                      kFont, 16, kPanel, Anchor::CENTER);
    watch_ = HUDButton::addHUDButtonChild(&title, {screen.x - 175.0f, screen.y / 2.0f + 170.0f},
                                          "assets/UI/A_Daily1.png", "assets/UI/A_Daily2.png",
                                          "assets/UI/A_Daily3.png", 2.0f, Anchor::CENTER);
    watch_->setLabel(msg("button", "WATCH"));
    watch_->setActive(false);
    shown_at_ = SDL_GetTicks();
    if (link_.sender()) verified_seen_ = link_.sender()->verifiedCount();
    link_.client().refreshListing(link_.tag(), true);
    if (const auto run = link_.takeWatchRequest()) {
        link_.client().fetchReplayAt(run->first, run->second);
        fetching_ = true;
        setWatchLine(tr("board line", "Fetching the run to watch..."));
    }
    update();
}

void TitleBoard::update() {
    // At most every 30 s, and at once when one of the player's runs was just verified.
    const int verified = link_.sender() ? link_.sender()->verifiedCount() : verified_seen_;
    link_.client().refreshListing(link_.tag(), verified != verified_seen_);
    verified_seen_ = verified;
    if (watch_->isTrigger() && !fetching_) {
        link_.client().fetchReplay(shown_.best_earlier);
        fetching_ = true;
        setWatchLine(tr("board line", "Fetching the run to watch..."));
    }
    followWatch();
    const std::uint64_t version = link_.client().listingVersion();
    // Made again only when something it shows changed: the listing, the watching line, the language, the
    // text size.
    const bool language = words_language_.changed();
    const bool large = game_.isTextLarge();
    if (version == shown_version_ && !watch_line_changed_ && !language && large == large_) return;
    large_ = large;
    // Reasons wrap inside the panel rather than reach over the title.
    panel_->getTextLabel()->followTextSize();
    TTF_SetTextWrapWidth(panel_->getTextLabel()->getTtfText(), layout(large_).wrap);
    shown_version_ = version;
    watch_line_changed_ = false;
    shown_ = link_.client().listing();
    if (!listing_logged_ && shown_.state != BoardClient::State::ASKING && shown_.state != BoardClient::State::NONE) {
        listing_logged_ = true;
        SDL_Log("Board: today's listing %s %llu ms after the title showed: %d players",
                shown_.state == BoardClient::State::DONE ? "shown" : "could not be had",
                static_cast<unsigned long long>(SDL_GetTicks() - shown_at_), shown_.total);
    }
    if (shown_.own && shown_.own->rank != own_rank_logged_) {
        own_rank_logged_ = shown_.own->rank;
        SDL_Log("Board: the title shows the player %d of %d today", shown_.own->rank, shown_.total);
    }
    watch_->setActive(!shown_.best_earlier.empty());
    text_ = listingText();
    panel_->setText(text_);
    const glm::vec2 fitted = panel_->getTextLabel()->getSize() + glm::vec2(40.0f);
    panel_->setSize(glm::max(layout(large_).least_size, fitted));
}

// A name as the game's font can draw it: a letter it lacks (the font holds the letters of the game's own
// languages) is a box.
std::string TitleBoard::drawable(const std::string& name) const {
    TTF_Font* font = game_.getAssetStore()->getFont(kFont, 16);
    std::string shown;
    const char* cursor = name.c_str();
    std::size_t left = name.size();
    while (left > 0) {
        const char* start = cursor;
        const Uint32 letter = SDL_StepUTF8(&cursor, &left);
        if (letter == 0) break;
        const bool has = letter != SDL_INVALID_UNICODE_CODEPOINT && (!font || TTF_FontHasGlyph(font, letter));
        shown.append(has ? std::string(start, cursor) : std::string("\u25A1"));
    }
    return shown;
}

// A run of the best on a line of its own.
std::string TitleBoard::entry(const BoardClient::Line& line) const {
    return oneLine(game_.getAssetStore()->getFont(kFont, game_.textSize(16)), layout(large_).wrap,
                   std::to_string(line.rank) + ". ", drawable(line.name), "  " + std::to_string(line.score));
}

std::string TitleBoard::oneLine(TTF_Font* font, int wrap, const std::string& head, const std::string& name,
                                const std::string& tail) {
    // A panel's wrapping counts a line's end as a letter.
    const auto fits = [&](const std::string& words) {
        int width = 0;
        return !font || (TTF_GetStringSize(font, (head + words + tail + " ").c_str(), 0, &width, nullptr) &&
                         width <= wrap);
    };
    if (fits(name)) return head + name + tail;
    std::string cut;
    const char* cursor = name.c_str();
    std::size_t left = name.size();
    while (left > 0) {
        const char* start = cursor;
        SDL_StepUTF8(&cursor, &left);
        if (!fits(cut + std::string(start, cursor) + "\u2026")) break;
        cut.append(start, cursor);
    }
    return head + cut + "\u2026" + tail;
}

std::string TitleBoard::listingText() const {
    std::string text = tr("board line", "Today's board");
    // Each line after a blank one.
    const auto paragraph = [&text](const std::string& line) { text.append("\n\n").append(line); };
    if (shown_.state == BoardClient::State::DONE || !shown_.top.empty()) {
        if (shown_.top.empty()) paragraph(tr("board line", "No runs yet: be the first"));
        const std::size_t shown = std::min(shown_.top.size(), layout(large_).lines);
        for (std::size_t i = 0; i < shown; ++i)
            text.append("\n").append(entry(shown_.top[i]));
        if (shown_.own) {
            paragraph(fill(tr("board line", "You: {rank} of {players}"),
                           {{"rank", std::to_string(shown_.own->rank)}, {"players", std::to_string(shown_.total)}}));
        }
    }
    if (shown_.state == BoardClient::State::FAILED) paragraph(tr("board line", "The board cannot be reached"));
    if (shown_.state == BoardClient::State::ASKING) paragraph(tr("board line", "Asking the board..."));
    if (!watch_line_.empty()) paragraph(watch_line_);
    return text;
}

void TitleBoard::setWatchLine(std::string line) {
    watch_line_ = std::move(line);
    watch_line_changed_ = true;
}

void TitleBoard::followWatch() {
    if (!fetching_) return;
    BoardClient::Result fetched = link_.client().replay();
    if (fetched.state == BoardClient::State::ASKING) return;
    fetching_ = false;
    if (fetched.state == BoardClient::State::DONE) {
        std::variant<Replay, std::string> replay = decodeReplay(fetched.value);
        if (Replay* watched = std::get_if<Replay>(&replay)) {
            SDL_Log("Watching a run from the board: seed %u, %u frames", watched->seed, watched->frame_count);
            game_.watch(std::move(*watched));
            game_.safeChangeScene(new SceneMain);
            setWatchLine({});
            return;
        }
        fetched.why = std::get<std::string>(replay);
    }
    setWatchLine(fill(tr("board line", "The run cannot be watched: {reason}"), {{"reason", fetched.why}}));
}
