// Media files made by the tests: WAV tones and AVI videos, written byte by byte.
#include "TestMedia.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

const double kPi = 3.14159265358979323846;

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// The 16-bit (or unsigned 8-bit) samples of frames [first, first + count) of a sine tone, the same
// on every channel.
void PutToneSamples(std::vector<std::uint8_t>& out, std::uint32_t first, std::uint32_t count, double hz,
                    double amplitude, int sampleRate, int channels, int bits = 16)
{
    for (std::uint32_t i = first; i < first + count; ++i) {
        const double value = amplitude * std::sin(2 * kPi * hz * i / sampleRate);
        const auto sample = static_cast<std::int16_t>(std::lround(value * 32767));
        const auto byte = static_cast<std::uint8_t>(128 + std::lround(value * 127));
        for (int c = 0; c < channels; ++c) {
            if (bits == 8)
                out.push_back(byte);
            else
                Put16(out, static_cast<std::uint16_t>(sample));
        }
    }
}

// The 16-byte PCM format block of a WAV file or an AVI sound stream.
void PutPcmFormat(std::vector<std::uint8_t>& out, int sampleRate, int channels, int bits = 16)
{
    Put16(out, 1);  // WAVE_FORMAT_PCM
    Put16(out, static_cast<unsigned>(channels));
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate * channels * bits / 8));
    Put16(out, static_cast<unsigned>(channels * bits / 8));
    Put16(out, static_cast<unsigned>(bits));
}

// A chunk's tag and a size field to be filled in by CloseChunk; returns the field's offset.
std::size_t OpenChunk(std::vector<std::uint8_t>& out, const char* tag)
{
    PutTag(out, tag);
    Put32(out, 0);
    return out.size() - 4;
}

std::size_t OpenList(std::vector<std::uint8_t>& out, const char* listTag, const char* type)
{
    const std::size_t at = OpenChunk(out, listTag);
    PutTag(out, type);
    return at;
}

// Writes the size of the chunk whose size field is at sizeAt (the size counts what follows the
// field, without padding), then pads the chunk to an even length as RIFF requires.
void CloseChunk(std::vector<std::uint8_t>& out, std::size_t sizeAt)
{
    const std::uint32_t size = static_cast<std::uint32_t>(out.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i)
        out[sizeAt + i] = static_cast<std::uint8_t>(size >> (8 * i));
    if (out.size() % 2)
        out.push_back(0);
}

struct Rgb {
    std::uint8_t r, g, b;
};

// Red, green, blue, yellow, cyan, magenta, orange and black: no two alike in any channel pattern.
const Rgb kBarColours[8] = {{230, 20, 20},  {20, 200, 40},  {30, 40, 230}, {240, 230, 30},
                            {30, 220, 230}, {220, 40, 210}, {250, 140, 0}, {0, 0, 0}};

Rgb PixelOf(VideoPicture picture, int frame, int frames, int x, int width)
{
    if (picture == VideoPicture::ColourHalves) {
        if (x >= width / 2)
            return {255, 255, 255};
        return {static_cast<std::uint8_t>(40 + 200 * frame / frames),
                static_cast<std::uint8_t>(200 - 150 * frame / frames), 30};
    }
    const int barWidth = std::max(1, width / 8);
    const int step = std::max(1, width / 16);
    const int shifted = x + frame * step;
    return kBarColours[(shifted / barWidth) % 8];
}

// The first sound frame that belongs beside video frame f: the sound is cut into pieces that
// add up exactly to the video's length, also where the rate is no multiple of fps.
std::uint32_t SoundFrameAt(int f, int fps)
{
    return static_cast<std::uint32_t>(static_cast<long long>(kVideoSoundRate) * f / fps);
}

}  // namespace

std::vector<std::uint8_t> MakeToneWave(int milliseconds, double hz, double amplitude, int sampleRate,
                                       int channels, int bits)
{
    const auto frames = static_cast<std::uint32_t>(static_cast<long long>(sampleRate) * milliseconds / 1000);
    const std::uint32_t dataBytes = frames * static_cast<std::uint32_t>(channels * bits / 8);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes + dataBytes % 2);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    PutPcmFormat(out, sampleRate, channels, bits);
    PutTag(out, "data");
    Put32(out, dataBytes);
    PutToneSamples(out, 0, frames, hz, amplitude, sampleRate, channels, bits);
    if (out.size() % 2)
        out.push_back(0);  // RIFF pads a chunk of odd length
    return out;
}

std::vector<std::uint8_t> MakeVideoAvi(int frames, int width, int height, int fps, bool withSound,
                                       VideoPicture picture)
{
    frames = std::max(frames, 1);
    width = std::max(width, 1);
    height = std::max(height, 1);
    fps = std::max(fps, 1);
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t frameBytes = stride * static_cast<std::uint32_t>(height);
    const std::uint32_t blockAlign = kVideoSoundChannels * 2;
    const std::uint32_t soundFrames = SoundFrameAt(frames, fps);
    std::uint32_t largestSoundChunk = 0;
    for (int f = 0; f < frames; ++f) {
        const std::uint32_t bytes = (SoundFrameAt(f + 1, fps) - SoundFrameAt(f, fps)) * blockAlign;
        largestSoundChunk = std::max(largestSoundChunk, bytes);
    }
    const std::uint32_t streams = withSound ? 2 : 1;

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(frames) * (frameBytes + largestSoundChunk + 48) + 1024);
    const std::size_t riff = OpenList(out, "RIFF", "AVI ");
    const std::size_t hdrl = OpenList(out, "LIST", "hdrl");
    const std::size_t avih = OpenChunk(out, "avih");
    Put32(out, static_cast<std::uint32_t>(1000000 / fps));  // microseconds per frame
    Put32(out, frameBytes * fps + (withSound ? kVideoSoundRate * blockAlign : 0));
    Put32(out, 0);                                          // padding granularity
    Put32(out, 0x10);                                       // AVIF_HASINDEX
    Put32(out, static_cast<std::uint32_t>(frames));
    Put32(out, 0);                                          // initial frames
    Put32(out, streams);
    Put32(out, frameBytes);                                 // suggested buffer size
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    CloseChunk(out, avih);

    const std::size_t videoList = OpenList(out, "LIST", "strl");
    const std::size_t videoHeader = OpenChunk(out, "strh");
    PutTag(out, "vids");
    PutTag(out, "DIB ");
    Put32(out, 0);  // flags
    Put32(out, 0);  // priority and language
    Put32(out, 0);  // initial frames
    Put32(out, 1);  // scale
    Put32(out, static_cast<std::uint32_t>(fps));  // rate: frames per second
    Put32(out, 0);  // start
    Put32(out, static_cast<std::uint32_t>(frames));
    Put32(out, frameBytes);
    Put32(out, 0xFFFFFFFF);  // quality: default
    Put32(out, 0);           // sample size: varies
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    CloseChunk(out, videoHeader);
    const std::size_t videoFormat = OpenChunk(out, "strf");  // BITMAPINFOHEADER
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, frameBytes);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    CloseChunk(out, videoFormat);
    CloseChunk(out, videoList);

    if (withSound) {
        const std::size_t soundList = OpenList(out, "LIST", "strl");
        const std::size_t soundHeader = OpenChunk(out, "strh");
        PutTag(out, "auds");
        Put32(out, 0);  // no handler
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, blockAlign);                   // scale
        Put32(out, kVideoSoundRate * blockAlign); // rate: one unit per sample frame
        Put32(out, 0);
        Put32(out, soundFrames);
        Put32(out, largestSoundChunk);
        Put32(out, 0xFFFFFFFF);
        Put32(out, blockAlign);  // sample size
        for (int i = 0; i < 4; ++i)
            Put16(out, 0);
        CloseChunk(out, soundHeader);
        const std::size_t soundFormat = OpenChunk(out, "strf");
        PutPcmFormat(out, kVideoSoundRate, kVideoSoundChannels);
        CloseChunk(out, soundFormat);
        CloseChunk(out, soundList);
    }
    CloseChunk(out, hdrl);

    struct IndexEntry {
        const char* id;
        std::uint32_t offset;
        std::uint32_t size;
    };
    std::vector<IndexEntry> index;
    const std::size_t movi = OpenList(out, "LIST", "movi");
    const std::size_t moviTag = movi + 4;  // index offsets count from the 'movi' tag
    for (int f = 0; f < frames; ++f) {
        const std::size_t video = OpenChunk(out, "00db");
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Rgb pixel = PixelOf(picture, f, frames, x, width);
                out.push_back(pixel.b);
                out.push_back(pixel.g);
                out.push_back(pixel.r);
            }
            out.insert(out.end(), stride - static_cast<std::uint32_t>(width) * 3, 0);
        }
        CloseChunk(out, video);
        index.push_back({"00db", static_cast<std::uint32_t>(video - 4 - moviTag), frameBytes});
        if (withSound) {
            const std::size_t sound = OpenChunk(out, "01wb");
            const std::uint32_t first = SoundFrameAt(f, fps);
            const std::uint32_t count = SoundFrameAt(f + 1, fps) - first;
            PutToneSamples(out, first, count, kVideoToneHz, kVideoToneAmplitude, kVideoSoundRate,
                           kVideoSoundChannels);
            CloseChunk(out, sound);
            index.push_back({"01wb", static_cast<std::uint32_t>(sound - 4 - moviTag), count * blockAlign});
        }
    }
    CloseChunk(out, movi);
    const std::size_t idx1 = OpenChunk(out, "idx1");
    for (const IndexEntry& entry : index) {
        PutTag(out, entry.id);
        Put32(out, 0x10);  // AVIIF_KEYFRAME
        Put32(out, entry.offset);
        Put32(out, entry.size);
    }
    CloseChunk(out, idx1);
    CloseChunk(out, riff);
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
