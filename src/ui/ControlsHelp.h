#pragma once
#include "shell/Bindings.h"
#include "shell/PadNames.h"

#include <string>

// The controls in words, from the player's own keys: one line for the title, a few for the card that
// opens the first game, and the Options screen's hint. pad: the pad's controls in its own words instead
// of the keyboard's and mouse's (null).
std::string controlsLine(const Bindings& bindings, bool slow_toggles, const PadNames* pad);
std::string controlsCard(const Bindings& bindings, bool slow_toggles, const PadNames* pad);
std::string optionsHint(const PadNames* pad);
// The same for the touch controls, which have no keys to name.
std::string touchControlsLine(bool slow_toggles);
// A controls line broken in two at the gap between its parts nearest its middle: large text's.
std::string inTwoLines(const std::string& line);
std::string touchControlsCard(bool slow_toggles);
