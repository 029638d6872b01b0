#include "ui/TitleBoard.h"

#include "assets/AssetStore.h"
#include "core/Game.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Each run of the best on a line of its own in the title's panel, at either text size, however long its
// name: a run wrapped in two would push the panel over the title. SDL_ttf's wrapping counts a line's end
// as a letter, which a plain measure misses.
TEST(TitleBoardTest, EachRunOfTheBestTakesOneLine) {
    for (const auto& [size, wrap] : {std::pair{16, 220}, std::pair{24, 236}}) {
        TTF_Font* font = Game::getInstance().getAssetStore()->getFont("assets/font/VonwaonBitmap-16px.ttf", size);
        ASSERT_NE(font, nullptr);
        std::string panel = "Today's board";
        for (const char* name : {"Moon", "AVeryLongNameHer", "幽幽幽幽幽幽幽幽幽幽幽幽幽幽幽幽"})
            panel += "\n" + TitleBoard::oneLine(font, wrap, "10. ", name, "  123456");
        int height = 0;
        ASSERT_TRUE(TTF_GetStringSizeWrapped(font, panel.c_str(), 0, wrap, nullptr, &height));
        EXPECT_EQ(height, 4 * TTF_GetFontLineSkip(font)) << panel;
        EXPECT_NE(panel.find("\n10. Moon  123456"), std::string::npos) << "a name that fits is kept whole";
    }
}

} // namespace
