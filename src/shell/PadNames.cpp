#include "shell/PadNames.h"

#include "i18n/Translation.h"

#include <array>

namespace {

constexpr std::array kFaceButtons = {SDL_GAMEPAD_BUTTON_SOUTH, SDL_GAMEPAD_BUTTON_EAST,
                                     SDL_GAMEPAD_BUTTON_WEST, SDL_GAMEPAD_BUTTON_NORTH};

SDL_GamepadButton labelled(SDL_GamepadType type, SDL_GamepadButtonLabel first, SDL_GamepadButtonLabel second,
                           SDL_GamepadButton otherwise) {
    for (const SDL_GamepadButtonLabel label : {first, second}) {
        for (const SDL_GamepadButton button : kFaceButtons) {
            if (SDL_GetGamepadButtonLabelForType(type, button) == label) return button;
        }
    }
    return otherwise;
}

std::string labelWord(SDL_GamepadType type, SDL_GamepadButton button, Message otherwise) {
    switch (SDL_GetGamepadButtonLabelForType(type, button)) {
    case SDL_GAMEPAD_BUTTON_LABEL_A:
        return "A";
    case SDL_GAMEPAD_BUTTON_LABEL_B:
        return "B";
    case SDL_GAMEPAD_BUTTON_LABEL_X:
        return "X";
    case SDL_GAMEPAD_BUTTON_LABEL_Y:
        return "Y";
    case SDL_GAMEPAD_BUTTON_LABEL_CROSS:
        return tr("controls", "Cross");
    case SDL_GAMEPAD_BUTTON_LABEL_CIRCLE:
        return tr("controls", "Circle");
    case SDL_GAMEPAD_BUTTON_LABEL_SQUARE:
        return tr("controls", "Square");
    case SDL_GAMEPAD_BUTTON_LABEL_TRIANGLE:
        return tr("controls", "Triangle");
    default:
        return tr(otherwise);
    }
}

} // namespace

SDL_GamepadButton confirmButton(SDL_GamepadType type) {
    return labelled(type, SDL_GAMEPAD_BUTTON_LABEL_A, SDL_GAMEPAD_BUTTON_LABEL_CROSS,
                    SDL_GAMEPAD_BUTTON_SOUTH);
}

SDL_GamepadButton backButton(SDL_GamepadType type) {
    return labelled(type, SDL_GAMEPAD_BUTTON_LABEL_B, SDL_GAMEPAD_BUTTON_LABEL_CIRCLE,
                    SDL_GAMEPAD_BUTTON_EAST);
}

PadNames padNames(SDL_GamepadType type) {
    // Start, Options, R2 and the like are printed on the pads: they stay as printed.
    const char* pause = "Start";
    const char* strike_trigger = tr("controls", "right trigger");
    const char* slow_trigger = tr("controls", "left trigger");
    switch (type) {
    case SDL_GAMEPAD_TYPE_XBOXONE:
        pause = tr("controls", "Menu");
        break;
    case SDL_GAMEPAD_TYPE_PS4:
    case SDL_GAMEPAD_TYPE_PS5:
        pause = "Options";
        [[fallthrough]];
    case SDL_GAMEPAD_TYPE_PS3:
        strike_trigger = "R2";
        slow_trigger = "L2";
        break;
    case SDL_GAMEPAD_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_GAMEPAD_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_GAMEPAD_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_GAMEPAD_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        pause = "+";
        strike_trigger = "ZR";
        slow_trigger = "ZL";
        break;
    case SDL_GAMEPAD_TYPE_GAMECUBE:
        strike_trigger = "R";
        slow_trigger = "L";
        break;
    default:
        break;
    }
    return {labelWord(type, confirmButton(type), msg("controls", "south button")),
            labelWord(type, backButton(type), msg("controls", "east button")), pause, strike_trigger,
            slow_trigger};
}
