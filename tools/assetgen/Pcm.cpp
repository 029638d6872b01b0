#include "Pcm.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <lame/lame.h>
#include <vorbis/vorbisenc.h>

void Pcm::add(size_t frame, float left, float right, bool wrap) {
    if (frame >= frames()) {
        if (!wrap) return;
        frame %= frames();
    }
    samples[frame * 2] += left;
    samples[frame * 2 + 1] += right;
}

void Pcm::normalise(float peak) {
    float max = 0.0f;
    for (float s : samples)
        max = std::max(max, std::abs(s));
    if (max <= 0.0f) return;
    for (float& s : samples)
        s = std::tanh(s / max * 1.2f) / std::tanh(1.2f) * peak;
}

namespace {
template <typename T> void put(std::ofstream& out, T value) {
    out.write(reinterpret_cast<const char*>(&value), sizeof(value));
}
std::int16_t toShort(float s) {
    return static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
}
} // namespace

bool writeWav(const std::string& path, const Pcm& pcm) {
    std::ofstream out(path, std::ios::binary);
    const auto bytes = static_cast<std::uint32_t>(pcm.samples.size() * 2);
    out.write("RIFF", 4);
    put<std::uint32_t>(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put<std::uint32_t>(out, 16);
    put<std::uint16_t>(out, 1);
    put<std::uint16_t>(out, 2);
    put<std::uint32_t>(out, Pcm::kRate);
    put<std::uint32_t>(out, Pcm::kRate * 4);
    put<std::uint16_t>(out, 4);
    put<std::uint16_t>(out, 16);
    out.write("data", 4);
    put<std::uint32_t>(out, bytes);
    for (float s : pcm.samples)
        put<std::int16_t>(out, toShort(s));
    return static_cast<bool>(out);
}

bool writeMp3(const std::string& path, const Pcm& pcm) {
    FILE* file = std::fopen(path.c_str(), "w+b");
    if (!file) return false;
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, Pcm::kRate);
    lame_set_num_channels(lame, 2);
    lame_set_VBR(lame, vbr_default);
    lame_set_VBR_quality(lame, 3.0f);
    lame_set_bWriteVbrTag(lame, 1); // the LAME tag tells decoders the padding, for gapless loops
    bool ok = lame_init_params(lame) >= 0;
    std::vector<unsigned char> buffer(1 << 20);
    constexpr size_t kChunk = 8192;
    for (size_t start = 0; ok && start < pcm.frames(); start += kChunk) {
        const size_t n = std::min(kChunk, pcm.frames() - start);
        const int written = lame_encode_buffer_interleaved_ieee_float(lame, pcm.samples.data() + start * 2,
                                                                      static_cast<int>(n), buffer.data(),
                                                                      static_cast<int>(buffer.size()));
        ok = written >= 0 && std::fwrite(buffer.data(), 1, static_cast<size_t>(written), file) ==
                                 static_cast<size_t>(written);
    }
    if (ok) {
        const int written = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
        ok = written >= 0 && std::fwrite(buffer.data(), 1, static_cast<size_t>(written), file) ==
                                 static_cast<size_t>(written);
    }
    if (ok) lame_mp3_tags_fid(lame, file);
    lame_close(lame);
    return std::fclose(file) == 0 && ok;
}

bool writeOgg(const std::string& path, const Pcm& pcm, const char* title) {
    std::ofstream out(path, std::ios::binary);
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, Pcm::kRate, 0.5f) != 0) return false;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title);
    vorbis_comment_add_tag(&comment, "ARTIST", "Moonvale asset generator");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x4d6f6f6e); // a fixed serial keeps the file the same from run to run
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    auto writePage = [&] {
        out.write(reinterpret_cast<const char*>(page.header), page.header_len);
        out.write(reinterpret_cast<const char*>(page.body), page.body_len);
    };
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();
    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage();
            }
        }
    };
    constexpr size_t kChunk = 4096;
    for (size_t start = 0; start < pcm.frames(); start += kChunk) {
        const size_t n = std::min(kChunk, pcm.frames() - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            buffer[0][i] = pcm.samples[(start + i) * 2];
            buffer[1][i] = pcm.samples[(start + i) * 2 + 1];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        writePage();
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return static_cast<bool>(out);
}
