#include "replay/Recorder.h"

#include <SDL3/SDL.h>

void Recorder::begin(std::uint32_t seed, bool slow_toggles, int game_speed) {
    replay_ = Replay{};
    replay_.game_version = MOONVALE_VERSION;
    replay_.platform = SDL_GetPlatform();
    replay_.seed = seed;
    replay_.slow_toggles = slow_toggles;
    replay_.game_speed = game_speed;
    is_recording_ = true;
    ++game_number_;
    game_time_ = 0.0;
    next_check_ = 1.0;
}

void Recorder::frame(const FrameInput& input) {
    if (is_recording_) replay_.append(input);
}

void Recorder::afterUpdate(float game_dt, const std::function<std::uint64_t()>& hash) {
    if (!is_recording_) return;
    game_time_ += static_cast<double>(game_dt);
    if (game_time_ < next_check_) return;
    while (next_check_ <= game_time_)
        next_check_ += 1.0;
    replay_.checks.push_back({replay_.frame_count, hash()});
}

const Replay& Recorder::finish(std::int32_t score, std::uint64_t hash) {
    is_recording_ = false;
    replay_.final_score = score;
    replay_.final_hash = hash;
    return replay_;
}
