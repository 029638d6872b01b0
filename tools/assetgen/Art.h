#pragma once
#include <string>

// Each writes its part of the asset tree under root (which holds sprite/, effect/ and UI/).
bool makeSprites(const std::string& root);
bool makeEffects(const std::string& root);
bool makeUi(const std::string& root);
// The desktop icon, the player's ghost, as SIZExSIZE/apps/moonvale.png for 64, 128 and 256 px.
bool makeIcons(const std::string& hicolor_dir);
