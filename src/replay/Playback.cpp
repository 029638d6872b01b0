#include "replay/Playback.h"

void Playback::advance() {
    if (!current()) return;
    if (++frame_ < replay_.runs[run_].count) return;
    ++run_;
    frame_ = 0;
}
