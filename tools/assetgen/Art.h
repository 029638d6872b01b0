#pragma once
#include <string>

// Each writes its part of the asset tree under root (which holds sprite/, effect/ and UI/).
bool makeSprites(const std::string& root);
bool makeEffects(const std::string& root);
bool makeUi(const std::string& root, const std::string& font_path);
// The desktop icon: the player's ghost, 64 x 64.
bool makeIcon(const std::string& path);
