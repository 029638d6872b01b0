#include "scenes/SceneTitle.h"

#include "core/Game.h"

void SceneTitle::init() { world_size_ = game_.getScreenSize(); }
