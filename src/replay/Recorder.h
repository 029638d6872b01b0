#pragma once
#include "replay/Replay.h"

#include <functional>

// Writes down a game as it is played (or played again, to compare): each frame's inputs, a state hash
// every second of game time, and the end.
class Recorder {
public:
    void begin(std::uint32_t seed, bool slow_toggles, int game_speed = Replay::FULL_SPEED);
    bool isRecording() const { return is_recording_; }
    // The frame's input, as the frame's update took it.
    void frame(const FrameInput& input);
    // After the frame's update, which moved the world by game_dt: hash() is asked each whole second.
    void afterUpdate(float game_dt, const std::function<std::uint64_t()>& hash);
    // Stops and hands over the game, which stays as the last one.
    const Replay& finish(std::int32_t score, std::uint64_t hash);
    const Replay& getLast() const { return replay_; }
    // Which game this is, of those begun in this process: a replay that grew is told from a new one.
    std::uint32_t getGameNumber() const { return game_number_; }

private:
    Replay replay_;
    std::uint32_t game_number_ = 0;
    bool is_recording_ = false;
    double game_time_ = 0.0;
    double next_check_ = 1.0;
};
