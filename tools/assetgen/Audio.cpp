// Sound effects synthesised from oscillators and noise, and two music loops composed note by note.
#include "Audio.h"

#include "Canvas.h"
#include "Pcm.h"

#include <cmath>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kRate = static_cast<float>(Pcm::kRate);

float hzOf(float midi) {
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}
float sine(double phase) {
    return static_cast<float>(std::sin(2.0 * M_PI * phase));
}
float pulse(double phase, float duty) {
    return phase - std::floor(phase) < duty ? 1.0f : -1.0f;
}
float saw(double phase) {
    return static_cast<float>(2.0 * (phase - std::floor(phase)) - 1.0);
}
float triangle(double phase) {
    return 1.0f - 4.0f * std::abs(static_cast<float>(phase - std::floor(phase)) - 0.5f);
}

// Linear attack, then hold, then linear release inside the note's length.
float adsr(float t, float length, float attack, float release) {
    if (t < attack) return t / attack;
    if (t > length - release) return std::max(0.0f, (length - t) / release);
    return 1.0f;
}

enum class Instrument { BASS, ARP, LEAD, BELL, PAD, THEREMIN, DRONE, KICK, SNARE, HAT };

struct Note {
    float beat;  // start, in beats from the top of the loop
    float beats; // length
    float midi;  // pitch (ignored by drums)
    float gain;
    float pan; // -1 left .. 1 right
    Instrument instrument;
};

// Renders one note; past the end of the loop it wraps to the start, so the seam is inaudible.
void render(Pcm& pcm, const Note& n, float seconds_per_beat, Rng& rng) {
    const float start = n.beat * seconds_per_beat;
    float length = n.beats * seconds_per_beat;
    float tail = 0.0f;
    switch (n.instrument) {
    case Instrument::BELL:
        tail = 1.6f;
        break;
    case Instrument::PAD:
        tail = 1.0f;
        break;
    case Instrument::DRONE:
        tail = 1.5f;
        break;
    case Instrument::KICK:
        length = 0.35f;
        break;
    case Instrument::SNARE:
        length = 0.22f;
        break;
    case Instrument::HAT:
        length = 0.06f;
        break;
    default:
        tail = 0.05f;
        break;
    }
    const float hz = hzOf(n.midi);
    const auto first = static_cast<size_t>(start * kRate);
    const auto count = static_cast<size_t>((length + tail) * kRate);
    const float left = std::sqrt(0.5f * (1.0f - n.pan));
    const float right = std::sqrt(0.5f * (1.0f + n.pan));
    float low = 0.0f;
    float last_noise = 0.0f;
    double phase = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / kRate;
        float s = 0.0f;
        switch (n.instrument) {
        case Instrument::BASS: {
            phase += hz / kRate;
            low += 0.08f * (saw(phase) - low);
            s = low * adsr(t, length, 0.005f, 0.06f);
            break;
        }
        case Instrument::ARP:
            phase += hz / kRate;
            s = pulse(phase, 0.25f) * std::exp(-t / 0.11f) * adsr(t, length + tail, 0.002f, 0.02f);
            break;
        case Instrument::LEAD: {
            const float vibrato = t > 0.15f ? 1.0f + 0.012f * std::sin(2.0f * kPi * 5.5f * t) : 1.0f;
            phase += hz * vibrato / kRate;
            low += 0.15f * (pulse(phase, 0.5f) - low);
            s = low * adsr(t, length, 0.02f, 0.08f);
            break;
        }
        case Instrument::BELL:
            phase += hz / kRate;
            s = (sine(phase) + 0.35f * sine(phase * 2.01) * std::exp(-t / 0.2f) +
                 0.2f * sine(phase * 3.0) * std::exp(-t / 0.1f)) *
                std::exp(-t / 0.55f) * std::min(1.0f, t / 0.003f);
            break;
        case Instrument::PAD: {
            phase += hz / kRate;
            const float voices = saw(phase) + saw(phase * 1.004) + saw(phase * 0.996);
            low += 0.03f * (voices / 3.0f - low);
            s = low * adsr(t, length + tail, 0.6f, 1.0f);
            break;
        }
        case Instrument::THEREMIN: {
            const float vibrato = 1.0f + 0.015f * std::sin(2.0f * kPi * 6.0f * t);
            phase += hz * vibrato / kRate;
            s = (sine(phase) + 0.15f * triangle(phase * 2.0)) * adsr(t, length, 0.12f, 0.2f);
            break;
        }
        case Instrument::DRONE:
            phase += hz / kRate;
            s = (sine(phase) + 0.3f * sine(phase * 2.0) + 0.1f * saw(phase)) *
                adsr(t, length + tail, 1.2f, 1.5f);
            break;
        case Instrument::KICK:
            phase += (45.0f + 110.0f * std::exp(-t / 0.035f)) / kRate;
            s = sine(phase) * std::exp(-t / 0.16f);
            break;
        case Instrument::SNARE: {
            const float noise = rng.uniform(-1.0f, 1.0f);
            phase += 190.0f / kRate;
            s = (0.7f * (noise - 0.5f * last_noise) * std::exp(-t / 0.06f) +
                 0.4f * sine(phase) * std::exp(-t / 0.04f));
            last_noise = noise;
            break;
        }
        case Instrument::HAT: {
            const float noise = rng.uniform(-1.0f, 1.0f);
            s = (noise - last_noise) * 0.5f * std::exp(-t / 0.015f);
            last_noise = noise;
            break;
        }
        }
        pcm.add(first + i, s * n.gain * left, s * n.gain * right, true);
    }
}

// A stereo echo that runs round the loop, so echoes of the last bar land in the first.
void loopEcho(Pcm& pcm, float delay_seconds, float feedback, float wet) {
    const size_t delay = static_cast<size_t>(delay_seconds * kRate);
    const size_t frames = pcm.frames();
    std::vector<float> echo(pcm.samples.size(), 0.0f);
    for (int pass = 0; pass < 3; ++pass) { // enough passes for the feedback to settle
        for (size_t i = 0; i < frames; ++i) {
            const size_t from = (i + frames - delay) % frames;
            // Ping-pong: each repeat crosses to the other side.
            echo[i * 2] = pcm.samples[from * 2 + 1] + feedback * echo[from * 2 + 1];
            echo[i * 2 + 1] = pcm.samples[from * 2] + feedback * echo[from * 2];
        }
    }
    for (size_t i = 0; i < pcm.samples.size(); ++i)
        pcm.samples[i] += wet * echo[i];
}

struct Chord {
    float root;     // bass note
    float tones[3]; // triad, around middle C
};

Pcm inGameLoop() {
    constexpr float kBeat = 0.5f; // 120 beats per minute
    constexpr int kBars = 16;
    const Chord chords[4] = {{38, {62, 65, 69}}, {34, {58, 62, 65}}, {36, {60, 64, 67}}, {33, {57, 61, 64}}};
    std::vector<Note> notes;
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = chords[bar % 4];
        const float b0 = static_cast<float>(bar * 4);
        for (int e = 0; e < 8; ++e) { // octave-bouncing bass in eighths
            notes.push_back(
                {b0 + e * 0.5f, 0.45f, c.root + (e % 2 ? 12.0f : 0.0f), 0.5f, 0.0f, Instrument::BASS});
            notes.push_back({b0 + e * 0.5f, 0.1f, 0, e % 2 ? 0.16f : 0.08f, 0.35f, Instrument::HAT});
        }
        if (bar >= 4) {
            for (int s = 0; s < 16; ++s) { // sixteenth-note arpeggio over the chord
                const int order[4] = {0, 1, 2, 1};
                notes.push_back({b0 + s * 0.25f, 0.25f, c.tones[order[s % 4]] + 12.0f, 0.12f,
                                 s % 2 ? 0.4f : -0.4f, Instrument::ARP});
            }
            notes.push_back({b0, 1, 0, 0.9f, 0, Instrument::KICK});
            notes.push_back({b0 + 2, 1, 0, 0.9f, 0, Instrument::KICK});
            if (bar % 4 == 3) notes.push_back({b0 + 3.5f, 1, 0, 0.7f, 0, Instrument::KICK});
        }
        if (bar >= 2) {
            notes.push_back({b0 + 1, 1, 0, 0.45f, -0.1f, Instrument::SNARE});
            notes.push_back({b0 + 3, 1, 0, 0.45f, -0.1f, Instrument::SNARE});
        }
    }
    // The tune: two four-bar phrases over the progression, answered the second time.
    const float tune[][2] = {{69, 1},    {65, 0.5f}, {62, 0.5f}, {64, 1},   {65, 1},   {74, 1.5f}, {72, 0.5f},
                             {70, 1},    {69, 1},    {67, 1},    {69, .5f}, {70, .5f}, {72, 1},    {64, 1},
                             {73, 2},    {69, 2},    {69, 1},    {65, .5f}, {62, .5f}, {64, 1},    {65, 1},
                             {74, 1.5f}, {72, .5f},  {70, 1},    {69, 1},   {67, 1},   {69, .5f},  {70, .5f},
                             {72, 1},    {64, 1},    {76, 1},    {73, 1},   {69, 2}};
    float beat = 32.0f;
    for (const auto& [midi, beats] : tune) {
        notes.push_back({beat, beats * 0.95f, midi, 0.16f, 0.1f, Instrument::LEAD});
        beat += beats;
    }
    Pcm pcm(kBars * 4 * kBeat);
    Rng rng(120);
    for (const Note& n : notes)
        render(pcm, n, kBeat, rng);
    loopEcho(pcm, kBeat * 0.75f, 0.25f, 0.15f);
    pcm.normalise(0.8f);
    return pcm;
}

Pcm titleLoop() {
    constexpr float kBeat = 0.75f; // 80 beats per minute
    constexpr int kBars = 12;
    const Chord chords[4] = {{45, {57, 60, 64}}, {41, {53, 57, 60}}, {38, {50, 53, 57}}, {40, {52, 56, 59}}};
    std::vector<Note> notes;
    for (int bar = 0; bar < kBars; ++bar) {
        const Chord& c = chords[bar % 4];
        const float b0 = static_cast<float>(bar * 4);
        notes.push_back({b0, 4.2f, 33, 0.18f, 0.0f, Instrument::DRONE});
        for (int i = 0; i < 3; ++i)
            notes.push_back({b0, 4.0f, c.tones[i], 0.07f, (i - 1) * 0.5f, Instrument::PAD});
        notes.push_back({b0, 3.8f, c.root, 0.25f, 0.0f, Instrument::BASS});
        const int order[8] = {0, 1, 2, 1, 0, 2, 1, 2};
        for (int e = 0; e < 8; ++e) { // a music box turning over the chord
            notes.push_back({b0 + e * 0.5f, 0.5f, c.tones[order[e]] + 24.0f, 0.11f, e % 2 ? 0.5f : -0.5f,
                             Instrument::BELL});
        }
    }
    const float melody[][2] = {{76, 2}, {81, 2}, {77, 3}, {76, 1}, {74, 2}, {77, 2}, {76, 2}, {68, 2},
                               {81, 2}, {84, 2}, {81, 3}, {79, 1}, {77, 2}, {74, 2}, {76, 4}};
    float beat = 16.0f;
    for (const auto& [midi, beats] : melody) {
        notes.push_back({beat, beats, midi, 0.14f, -0.15f, Instrument::THEREMIN});
        beat += beats;
    }
    Pcm pcm(kBars * 4 * kBeat);
    Rng rng(80);
    for (const Note& n : notes)
        render(pcm, n, kBeat, rng);
    loopEcho(pcm, kBeat * 0.5f, 0.4f, 0.3f);
    pcm.normalise(0.8f);
    return pcm;
}

// Effects are mono, written to both channels.
Pcm effect(float seconds, float peak, float (*voice)(float t, Rng& rng), std::uint64_t seed) {
    Pcm pcm(seconds);
    Rng rng(seed);
    for (size_t i = 0; i < pcm.frames(); ++i) {
        const float s = voice(static_cast<float>(i) / kRate, rng);
        pcm.add(i, s, s);
    }
    pcm.normalise(peak);
    return pcm;
}

// Phase of a tone whose frequency changes over time: the integral of f, sampled at t.
struct Sweep {
    double phase = 0.0;
    float last_t = 0.0f;
    double at(float t, float hz) {
        phase += hz * (t - last_t);
        last_t = t;
        return phase;
    }
};

float hoverBlip(float t, Rng&) {
    return (sine(1320.0 * t) + 0.3f * sine(2640.0 * t)) * std::exp(-t / 0.014f) * std::min(1.0f, t / 0.002f);
}

float pressClick(float t, Rng& rng) {
    static Sweep sweep;
    if (t == 0.0f) sweep = {};
    const float hz = 520.0f - 240.0f * std::min(1.0f, t / 0.06f);
    const float click = t < 0.004f ? rng.uniform(-1.0f, 1.0f) : 0.0f;
    return 0.6f * pulse(sweep.at(t, hz), 0.5f) * std::exp(-t / 0.03f) + click;
}

float hitThump(float t, Rng& rng) {
    static Sweep sweep;
    static float low = 0.0f;
    if (t == 0.0f) {
        sweep = {};
        low = 0.0f;
    }
    low += 0.2f * (rng.uniform(-1.0f, 1.0f) - low);
    const float body = sine(sweep.at(t, 50.0f + 100.0f * std::exp(-t / 0.05f)));
    return std::tanh(2.5f * (1.4f * low * std::exp(-t / 0.05f) + body * std::exp(-t / 0.1f)));
}

float wail(float t, Rng& rng) {
    static Sweep a;
    static Sweep b;
    if (t == 0.0f) a = b = {};
    // Rises to a high cry, wavers, and sinks away.
    float hz = t < 0.3f ? 500.0f + 600.0f * (t / 0.3f) : 1100.0f - 650.0f * std::max(0.0f, (t - 0.9f) / 1.3f);
    hz *= 1.0f + 0.035f * std::sin(2.0f * kPi * 6.0f * t);
    const double pa = a.at(t, hz);
    const double pb = b.at(t, hz * 1.008f);
    const float voice = sine(pa) + 0.45f * sine(2.0 * pa) + 0.2f * sine(3.0 * pa) + 0.6f * sine(pb);
    const float breath = 0.08f * rng.uniform(-1.0f, 1.0f);
    return (voice + breath) * adsr(t, 2.2f, 0.08f, 0.7f);
}

float ghostWoo(float t, Rng&) {
    static Sweep a;
    static Sweep b;
    if (t == 0.0f) a = b = {};
    // "Woo-OO-oo": up, higher, and down again, wobbling.
    const float contour = t < 0.5f ? 300.0f + 320.0f * std::sin(kPi * 0.5f * t / 0.5f)
                                   : 620.0f - 260.0f * std::min(1.0f, (t - 0.5f) / 0.7f);
    const float hz = contour * (1.0f + 0.06f * std::sin(2.0f * kPi * 7.0f * t));
    return (sine(a.at(t, hz)) + 0.5f * triangle(b.at(t, hz * 1.5f))) * adsr(t, 1.25f, 0.1f, 0.35f);
}

} // namespace

bool makeSounds(const std::string& root) {
    const std::string dir = root + "/sound/";
    return writeWav(dir + "UI_button12.wav", effect(0.08f, 0.5f, hoverBlip, 12)) &&
           writeWav(dir + "UI_button08.wav", effect(0.14f, 0.6f, pressClick, 8)) &&
           writeMp3(dir + "hit-flesh-02-266309.mp3", effect(0.4f, 0.85f, hitThump, 266309)) &&
           writeMp3(dir + "female-scream-02-89290.mp3", effect(2.2f, 0.7f, wail, 89290)) &&
           writeMp3(dir + "silly-ghost-sound-242342.mp3", effect(1.3f, 0.7f, ghostWoo, 242342));
}

bool makeMusic(const std::string& root) {
    const std::string dir = root + "/bgm/";
    return writeOgg(dir + "OhMyGhost.ogg", inGameLoop(), "Oh My Ghost") &&
           writeMp3(dir + "Spooky music.mp3", titleLoop());
}
