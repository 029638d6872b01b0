#pragma once
#include "shell/Bindings.h"

#include <string>

// The controls in words, from the player's own keys: one line for the title, a few for the card that
// opens the first game. pad: the pad's controls instead of the keyboard's and mouse's.
std::string controlsLine(const Bindings& bindings, bool slow_toggles, bool pad);
std::string controlsCard(const Bindings& bindings, bool slow_toggles, bool pad);
