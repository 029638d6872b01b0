#pragma once
#include <string>

// Synthesises the sound effects and composes the two music loops under root (sound/ and bgm/).
bool makeSounds(const std::string& root);
bool makeMusic(const std::string& root);
