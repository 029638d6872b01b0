#include "ui/TitleBoard.h"

#include "components/TextLabel.h"
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
constexpr int kWrap = 260;
} // namespace

TitleBoard::TitleBoard(Scene& title, BoardLink& link) : game_(Game::getInstance()), link_(link) {
    const glm::vec2 screen = game_.getScreenSize();
    panel_ = HUDText::addHUDTextChild(&title, "", {screen.x - 175.0f, screen.y / 2.0f - 40.0f}, {250.0f, 300.0f},
                                      kFont, 16, kPanel, Anchor::CENTER);
    watch_ = HUDButton::addHUDButtonChild(&title, {screen.x - 175.0f, screen.y / 2.0f + 170.0f},
                                          "assets/UI/A_Daily1.png", "assets/UI/A_Daily2.png",
                                          "assets/UI/A_Daily3.png", 2.0f, Anchor::CENTER);
    // Long names and reasons wrap inside the panel rather than reach over the title.
    TTF_SetTextWrapWidth(panel_->getTextLabel()->getTtfText(), kWrap);
    watch_->setLabel(msg("button", "WATCH"));
    watch_->setActive(false);
    link_.client().refreshListing(link_.tag());
    update();
}

void TitleBoard::update() {
    link_.client().refreshListing(link_.tag()); // at most every 30 s
    if (watch_->isTrigger() && !fetching_) {
        link_.client().fetchReplay(shown_.best_earlier);
        fetching_ = true;
        watch_line_ = tr("board line", "Fetching yesterday's best...");
    }
    followWatch();
    shown_ = link_.client().listing();
    watch_->setActive(!shown_.best_earlier.empty());
    std::string text = listingText();
    if (text == text_) return;
    text_ = std::move(text);
    panel_->setText(text_);
    const glm::vec2 size = panel_->getTextLabel()->getSize() + glm::vec2(40.0f);
    panel_->setSize({std::max(250.0f, size.x), std::max(300.0f, size.y)});
}

std::string TitleBoard::listingText() const {
    std::string text = tr("board line", "Today's board");
    if (shown_.state == BoardClient::State::DONE || !shown_.top.empty()) {
        if (shown_.top.empty()) text += "\n\n" + std::string(tr("board line", "No runs yet: be the first"));
        for (const BoardClient::Line& line : shown_.top)
            text += "\n" + std::to_string(line.rank) + ". " + line.name + "  " + std::to_string(line.score);
        if (shown_.own) {
            text += "\n\n" + fill(tr("board line", "You: {rank} of {players}"),
                                  {{"rank", std::to_string(shown_.own->rank)},
                                   {"players", std::to_string(shown_.total)}});
        }
    }
    if (shown_.state == BoardClient::State::FAILED) text += "\n\n" + std::string(tr("board line", "The board cannot be reached"));
    if (shown_.state == BoardClient::State::ASKING) text += "\n\n" + std::string(tr("board line", "Asking the board..."));
    if (!watch_line_.empty()) text += "\n\n" + watch_line_;
    return text;
}

void TitleBoard::followWatch() {
    if (!fetching_) return;
    const BoardClient::Result fetched = link_.client().replay();
    if (fetched.state == BoardClient::State::ASKING) return;
    fetching_ = false;
    if (fetched.state == BoardClient::State::DONE) {
        std::variant<Replay, std::string> replay = decodeReplay(fetched.value);
        if (Replay* watched = std::get_if<Replay>(&replay)) {
            SDL_Log("Watching yesterday's best from the board: seed %u, %u frames", watched->seed, watched->frame_count);
            game_.watch(std::move(*watched));
            game_.safeChangeScene(new SceneMain);
            watch_line_.clear();
            return;
        }
        watch_line_ = fill(tr("board line", "Yesterday's best cannot be watched: {reason}"),
                           {{"reason", std::get<std::string>(replay)}});
        return;
    }
    watch_line_ = fill(tr("board line", "Yesterday's best cannot be watched: {reason}"), {{"reason", fetched.why}});
}
