// Every message of every language in the room it is drawn in, measured with the game's own font: a
// translation that does not fit, drops a placeholder or needs a letter the font lacks fails here, named
// by its language and its English.
#include "TestPaths.h"
#include "assets/AssetStore.h"
#include "core/Game.h"
#include "i18n/Catalogue.h"
#include "i18n/Language.h"
#include "i18n/Translation.h"
#include "support/TestFiles.h"
#include "ui/ControlsHelp.h"

#include <SDL3_ttf/SDL_ttf.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace {

constexpr const char* kFont = "assets/font/VonwaonBitmap-16px.ttf";

// The room each context has, at its font size: a button's plate less a margin, the Options panel's
// columns, the screen inside its border; the card must also clear the buttons under it. Contexts whose
// messages are only parts of others ("key", "controls") are measured in what they make.
struct Room {
    int size, width, height;
    bool wraps = false; // drawn wrapped at its width
};
const std::map<std::string, Room> kRooms = {
    {"button", {16, 80, 0}},       {"small button", {16, 64, 0}},  {"options title", {32, 688, 0}},
    {"option", {16, 352, 0}},      {"option value", {16, 284, 0}}, {"options line", {16, 688, 0}},
    {"title line", {16, 1136, 0}}, {"card", {16, 1136, 216}},      {"scores", {24, 1136, 0}},
    {"score", {32, 224, 0}},       {"note", {24, 1136, 0}},        {"credits", {16, 1136, 620}},
    {"hud", {16, 400, 0}},         {"heading", {48, 1136, 0}},     {"panel line", {24, 1136, 0}},
    {"board title", {32, 760, 0}}, {"board question", {16, 720, 0}}, {"board about", {16, 720, 120, true}},
    {"board line", {16, 220, 0, true}}, {"title question", {32, 660, 0}},
};
// In large text the small words are drawn at 24 px; these contexts then have other room.
const std::map<std::string, Room> kLargeRooms = {
    {"option", {24, 552, 0}}, {"option value", {24, 564, 0}}, {"options line", {24, 1168, 0}},
    {"board line", {24, 236, 0, true}},
};
const std::set<std::string> kParts = {"key", "controls", "web page"};

std::set<std::string> placeholders(std::string_view text) {
    std::set<std::string> names;
    for (auto open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        const auto close = text.find('}', open);
        if (close != std::string_view::npos) names.emplace(text.substr(open, close - open + 1));
    }
    return names;
}

struct TranslationFitTest : ::testing::Test {
    void TearDown() override { useLanguage("en"); }

    TTF_Font* font(int size) { return Game::getInstance().getAssetStore()->getFont(kFont, size); }
    SDL_Point measure(const std::string& text, int size, int wrap = 0) {
        SDL_Point extent{0, 0};
        TTF_GetStringSizeWrapped(font(size), text.c_str(), 0, wrap, &extent.x, &extent.y);
        return extent;
    }
    // One failure per message that does not fit its room, or uses a letter the font lacks.
    bool large = false; // measuring large text
    void expectFits(const std::string& language, const std::string& context, const std::string& text) {
        Room room = kRooms.at(context);
        if (large && kLargeRooms.count(context)) room = kLargeRooms.at(context);
        // A button's words are drawn on its plate, which grows with it instead.
        if (large && room.size <= 16 && context != "button" && context != "small button") room.size = 24;
        const SDL_Point extent = measure(text, room.size, room.wraps ? room.width : 0);
        const std::string where = language + (large ? " (large text), " : ", ") + context + ": \"" + text + "\"";
        EXPECT_LE(extent.x, room.width) << where;
        EXPECT_LE(extent.y, room.height ? room.height : extent.y) << where;
        const char* cursor = text.c_str();
        std::size_t left = text.size();
        while (Uint32 letter = SDL_StepUTF8(&cursor, &left)) {
            EXPECT_TRUE(letter == '\n' || TTF_FontHasGlyph(font(16), letter))
                << language << ": no glyph for U+" << std::hex << letter << " in \"" << text << "\"";
        }
    }
};

TEST_F(TranslationFitTest, EveryMessageOfEveryLanguageFitsWhereItIsDrawn) {
    const std::optional<Catalogue> english = Catalogue::parse(readText(MOONVALE_MESSAGES));
    ASSERT_TRUE(english && english->getEntries().size() > 50) << MOONVALE_MESSAGES;

    const Bindings keys;
    const SDL_GamepadType pads[] = {SDL_GAMEPAD_TYPE_STANDARD, SDL_GAMEPAD_TYPE_XBOXONE, SDL_GAMEPAD_TYPE_PS5,
                                    SDL_GAMEPAD_TYPE_NINTENDO_SWITCH_PRO};
    for (const bool large_text : {false, true})
    for (const Language& language : languages()) {
        large = large_text;
        const std::string code(language.code);
        ASSERT_TRUE(useLanguage(code)) << code;
        // The widest of what fills each placeholder, in this language.
        std::map<std::string, std::string> widest = {
            {"{score}", "99999"}, {"{daily}", "99999"}, {"{volume}", "100"}};
        const auto offer = [&](const std::string& name, const std::string& value) {
            if (measure(value, 16).x > measure(widest[name], 16).x) widest[name] = value;
        };
        for (std::size_t i = 0; i < ACTION_COUNT; ++i) {
            const auto action = static_cast<Action>(i);
            offer("{action}", actionLabel(action));
            for (const char* name : {"{key}", "{other}"})
                offer(name, bindingLabel(keys.get(action)));
            expectFits(code, "option value", keys.describe(action));
        }
        // Keys a player may bind that have names of their own in some languages; in English, SDL's.
        for (const SDL_Scancode key : {SDL_SCANCODE_SPACE, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT, SDL_SCANCODE_ESCAPE,
                                       SDL_SCANCODE_RETURN, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_LCTRL,
                                       SDL_SCANCODE_RCTRL}) {
            Bindings bound;
            bound.bind(Action::SLOW, {key, 0});
            if (code == "en") {
                EXPECT_EQ(bindingLabel({key, 0}), SDL_GetScancodeName(key));
            }
            for (const char* name : {"{key}", "{other}"})
                offer(name, bindingLabel({key, 0}));
            expectFits(code, "option value", bound.describe(Action::SLOW));
        }
        for (const Binding click : {Binding{SDL_SCANCODE_UNKNOWN, SDL_BUTTON_LEFT},
                                    Binding{SDL_SCANCODE_UNKNOWN, SDL_BUTTON_RIGHT}})
            for (const char* name : {"{key}", "{other}"})
                offer(name, bindingLabel(click));
        for (const Language& other : languages())
            expectFits(code, "option value", "< " + std::string(other.name) + " >");
        for (const bool toggles : {false, true}) {
            const auto line = [this](const std::string& text) { return large ? inTwoLines(text) : text; };
            expectFits(code, "title line", line(controlsLine(keys, toggles, nullptr)));
            expectFits(code, "card", controlsCard(keys, toggles, nullptr));
            for (const SDL_GamepadType type : pads) {
                const PadNames names = padNames(type);
                offer("{confirm}", names.confirm);
                offer("{back}", names.back);
                expectFits(code, "title line", line(controlsLine(keys, toggles, &names)));
                expectFits(code, "card", controlsCard(keys, toggles, &names));
            }
        }

        for (const auto& [key, id] : english->getEntries()) {
            const std::string context = key.substr(0, key.find('\x04'));
            const std::string text = tr(context.c_str(), id.c_str());
            EXPECT_EQ(placeholders(text), placeholders(id)) << code << ": \"" << text << "\"";
            if (kParts.count(context)) continue;
            ASSERT_TRUE(kRooms.count(context))
                << "no room known for the context \"" << context << "\" of \"" << id << "\"";
            // The controls' line and card are measured whole, above.
            if ((context == "title line" || context == "card") && text.find('{') != std::string::npos)
                continue;
            std::string filled = text;
            for (const auto& [name, value] : widest) {
                for (auto at = filled.find(name); at != std::string::npos;
                     at = filled.find(name, at + value.size()))
                    filled.replace(at, name.size(), value);
            }
            // The title's line goes in two lines in large text.
            expectFits(code, context, large && context == "title line" ? inTwoLines(filled) : filled);
        }
    }
}

} // namespace
