#pragma once
#include <string>
#include <vector>

// Interleaved stereo samples at 44.1 kHz, nominally within -1..1.
struct Pcm {
    static constexpr int kRate = 44100;
    std::vector<float> samples;

    explicit Pcm(float seconds) : samples(static_cast<size_t>(seconds * kRate) * 2, 0.0f) {}
    size_t frames() const { return samples.size() / 2; }
    // Adds to one frame; with wrap, past the end continues at the start, so a loop has no seam.
    void add(size_t frame, float left, float right, bool wrap = false);
    // Scales to the given peak and rounds off anything hotter than that with a soft knee.
    void normalise(float peak);
};

bool writeWav(const std::string& path, const Pcm& pcm);
bool writeMp3(const std::string& path, const Pcm& pcm);
bool writeOgg(const std::string& path, const Pcm& pcm, const char* title);
