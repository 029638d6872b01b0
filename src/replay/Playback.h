#pragma once
#include "replay/Replay.h"

#include <cstddef>
#include <cstdint>
#include <utility>

// A replay being played back: the source of every frame's input in its place of the player's devices.
class Playback {
public:
    explicit Playback(Replay replay) : replay_(std::move(replay)) {}

    const Replay& getReplay() const { return replay_; }
    // The frame to play now; null once played to its end.
    const FrameInput* current() const {
        return run_ < replay_.runs.size() ? &replay_.runs[run_].frame : nullptr;
    }
    // After the frame has played.
    void advance();
    // From its first frame again, to watch it once more.
    void restart() {
        run_ = 0;
        frame_ = 0;
    }

private:
    Replay replay_;
    std::size_t run_ = 0;     // the run of equal frames being played
    std::uint32_t frame_ = 0; // and the frame within it
};
