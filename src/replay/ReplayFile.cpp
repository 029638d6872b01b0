#include "replay/Replay.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'M', 'V', 'R', 'P'};
// A five-minute game is about 18 000 frames; anything far past a day of play is a damaged count.
constexpr std::uint32_t kMostFrames = 60u * 60u * 60u * 24u;

enum FrameBits : std::uint8_t {
    UP = 1,
    DOWN = 2,
    LEFT = 4,
    RIGHT = 8,
    SLOW = 16,
    PAUSED = 32,
    TILT = 64,
    STRIKE = 128,
};

} // namespace

std::uint32_t replayChecksum(std::string_view bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes)
        crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

namespace {

class Writer {
public:
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) { little(v, 2); }
    void u32(std::uint32_t v) { little(v, 4); }
    void u64(std::uint64_t v) { little(v, 8); }
    void f32(float v) { u32(std::bit_cast<std::uint32_t>(v)); }
    // How many times the next frame repeats: 7 bits per byte, low first.
    void count(std::uint32_t v) {
        while (v >= 0x80u) {
            u8(static_cast<std::uint8_t>(v | 0x80u));
            v >>= 7;
        }
        u8(static_cast<std::uint8_t>(v));
    }
    void text(const std::string& s) {
        const std::size_t size = s.size() < 255 ? s.size() : 255;
        u8(static_cast<std::uint8_t>(size));
        out_.append(s, 0, size);
    }
    std::string& bytes() { return out_; }

private:
    void little(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i)
            u8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::string out_;
};

class Reader {
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool ok() const { return ok_; }
    std::uint8_t u8() {
        if (at_ >= in_.size()) {
            ok_ = false;
            return 0;
        }
        return static_cast<std::uint8_t>(in_[at_++]);
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(little(4)); }
    std::uint64_t u64() { return little(8); }
    float f32() { return std::bit_cast<float>(u32()); }
    std::uint32_t count() {
        std::uint32_t v = 0;
        for (int shift = 0; shift < 35 && ok_; shift += 7) {
            const std::uint8_t byte = u8();
            v |= static_cast<std::uint32_t>(byte & 0x7Fu) << shift;
            if (!(byte & 0x80u)) return v;
        }
        ok_ = false;
        return 0;
    }
    std::string text() {
        const std::uint8_t size = u8();
        if (!ok_ || in_.size() - at_ < size) {
            ok_ = false;
            return {};
        }
        std::string s(in_.substr(at_, size));
        at_ += size;
        return s;
    }
    std::size_t left() const { return in_.size() - at_; }

private:
    std::uint64_t little(int size) {
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i)
            v |= static_cast<std::uint64_t>(u8()) << (8 * i);
        return v;
    }
    std::string_view in_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// A frame's length as the change in its bits from the run before: nothing on a desktop, whose frames
// are all 1/60 s, and three bytes for a browser's, which differ by a fraction of a millisecond.
void writeFrame(Writer& w, const FrameInput& f, std::uint32_t& dt_bits) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(f.dt);
    const auto change = static_cast<std::int32_t>(bits - dt_bits);
    w.count((static_cast<std::uint32_t>(change) << 1) ^ static_cast<std::uint32_t>(change >> 31));
    dt_bits = bits;
    const bool tilted = f.tilt != glm::vec2(0.0f);
    w.u8(static_cast<std::uint8_t>((f.up ? UP : 0) | (f.down ? DOWN : 0) | (f.left ? LEFT : 0) |
                                   (f.right ? RIGHT : 0) | (f.slow ? SLOW : 0) | (f.paused ? PAUSED : 0) |
                                   (tilted ? TILT : 0) | (f.strike ? STRIKE : 0)));
    if (tilted) {
        w.f32(f.tilt.x);
        w.f32(f.tilt.y);
    }
    if (f.strike) {
        w.f32(f.aim.x);
        w.f32(f.aim.y);
    }
}

FrameInput readFrame(Reader& r, std::uint32_t& dt_bits) {
    FrameInput f;
    const std::uint32_t zigzag = r.count();
    dt_bits += (zigzag >> 1) ^ (0u - (zigzag & 1u));
    f.dt = std::bit_cast<float>(dt_bits);
    const std::uint8_t bits = r.u8();
    f.up = bits & UP;
    f.down = bits & DOWN;
    f.left = bits & LEFT;
    f.right = bits & RIGHT;
    f.slow = bits & SLOW;
    f.paused = bits & PAUSED;
    f.strike = bits & STRIKE;
    if (bits & TILT) f.tilt = {r.f32(), r.f32()};
    if (f.strike) f.aim = {r.f32(), r.f32()};
    return f;
}

} // namespace

void Replay::append(const FrameInput& frame) {
    if (!runs.empty() && runs.back().frame == frame) {
        ++runs.back().count;
    } else {
        runs.push_back({1, frame});
    }
    ++frame_count;
}

float atGameSpeed(float dt, int percent) {
    if (percent == Replay::FULL_SPEED) return dt;
    return static_cast<float>(static_cast<double>(dt) * percent / Replay::FULL_SPEED);
}

std::string encodeReplay(const Replay& replay) {
    Writer w;
    for (const char c : kMagic)
        w.u8(static_cast<std::uint8_t>(c));
    w.u16(replay.isAssisted() ? Replay::ASSISTED_FORMAT_VERSION : Replay::FORMAT_VERSION);
    w.u16(replay.simulation_version);
    w.text(replay.game_version);
    w.text(replay.platform);
    w.u32(replay.seed);
    w.u8(replay.slow_toggles ? 1 : 0);
    if (replay.isAssisted()) w.u8(static_cast<std::uint8_t>(replay.game_speed));
    w.u32(replay.frame_count);
    // Runs of equal frames: a desktop's frames are mostly the same 1/60 s with the same keys held.
    std::uint32_t dt_bits = 0;
    for (const ReplayRun& run : replay.runs) {
        w.count(run.count);
        writeFrame(w, run.frame, dt_bits);
    }
    w.u32(static_cast<std::uint32_t>(replay.checks.size()));
    for (const ReplayCheck& check : replay.checks) {
        w.u32(check.frame);
        w.u64(check.hash);
    }
    w.u32(static_cast<std::uint32_t>(replay.final_score));
    w.u64(replay.final_hash);
    w.u32(replayChecksum(w.bytes()));
    return std::move(w.bytes());
}

std::variant<Replay, std::string> decodeReplay(std::string_view bytes) {
    if (bytes.size() < 4 || std::memcmp(bytes.data(), kMagic, 4) != 0)
        return std::string("not a Moonvale replay");
    if (bytes.size() < 12) return std::string("the file is cut short");
    const std::string_view body = bytes.substr(0, bytes.size() - 4);
    Reader tail(bytes.substr(bytes.size() - 4));
    Reader r(body);
    r.u32(); // the magic
    const std::uint16_t format = r.u16();
    if (format != Replay::FORMAT_VERSION && format != Replay::ASSISTED_FORMAT_VERSION)
        return "replay format " + std::to_string(format) + ", this game reads formats " +
               std::to_string(Replay::FORMAT_VERSION) + " and " + std::to_string(Replay::ASSISTED_FORMAT_VERSION);
    if (tail.u32() != replayChecksum(body))
        return std::string("the checksum does not match: the file is damaged");
    Replay replay;
    replay.simulation_version = r.u16();
    if (replay.simulation_version != Replay::SIMULATION_VERSION)
        return "recorded by simulation version " + std::to_string(replay.simulation_version) +
               ", and this game runs version " + std::to_string(Replay::SIMULATION_VERSION) +
               ": its rules have changed since, so it cannot be played again here";
    replay.game_version = r.text();
    replay.platform = r.text();
    replay.seed = r.u32();
    replay.slow_toggles = r.u8() != 0;
    if (format == Replay::ASSISTED_FORMAT_VERSION) {
        replay.game_speed = r.u8();
        // Full speed is written as format 1, so that a file reads back to the same bytes.
        if (r.ok() && (!isGameSpeed(replay.game_speed) || !replay.isAssisted()))
            return "an assisted game at " + std::to_string(replay.game_speed) +
                   " % speed, not one of the game's assisted speeds (50 to 90 %)";
    }
    const std::uint32_t frames = r.u32();
    if (!r.ok()) return std::string("the file is cut short");
    if (frames > kMostFrames) return "a count of " + std::to_string(frames) + " frames, more than any game";
    std::uint32_t dt_bits = 0;
    while (replay.frame_count < frames) {
        const std::uint32_t repeat = r.count();
        const FrameInput frame = readFrame(r, dt_bits);
        if (!r.ok()) return std::string("the file is cut short");
        if (repeat == 0 || repeat > frames - replay.frame_count)
            return std::string("a run of frames past the frame count");
        // As written: runs of equal frames come merged, so a file reads back to the same bytes.
        if (!replay.runs.empty() && replay.runs.back().frame == frame)
            return std::string("two runs of the same frame in a row");
        replay.runs.push_back({repeat, frame});
        replay.frame_count += repeat;
    }
    const std::uint32_t checks = r.u32();
    // Each check takes 12 bytes: a count the rest of the file cannot hold is damage, not a reason to
    // allocate.
    if (!r.ok() || checks > r.left() / 12) return std::string("the file is cut short");
    for (std::uint32_t i = 0; i < checks; ++i) {
        ReplayCheck check;
        check.frame = r.u32();
        check.hash = r.u64();
        replay.checks.push_back(check);
    }
    replay.final_score = static_cast<std::int32_t>(r.u32());
    replay.final_hash = r.u64();
    if (!r.ok()) return std::string("the file is cut short");
    if (r.left() != 0) return std::string("bytes after the end of the replay");
    return replay;
}
